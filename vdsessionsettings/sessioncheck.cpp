#include "sessioncheck.h"

#include "private/jsonvalue_p.h"
#include "private/sessioncheck_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/sessiondocument_p.h"
#include "sessionfile/sessionkeys_p.h"

#include <QJsonDocument>
#include <QSet>

#include <algorithm>
#include <limits>

using Layout = VdSessionCheck::Layout;
using Kind = VdSessionCheck::FindingKind;

namespace {

// Long texts are cut, so that a finding stays one line.
constexpr int shownTextLength = 40;
// No key of the layouts is longer; a longer one is no typo of any of them.
constexpr int longestLikelyKey = 64;

QString unescapedKey(QString key)
{
    return key.replace(QLatin1String("~1"), QLatin1String("/")).replace(QLatin1String("~0"), QLatin1String("~"));
}

// A value as a message shows it; a secret by its type alone.
QString shown(const QJsonValue &value, bool secret)
{
    switch (value.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return secret ? QStringLiteral("a bool") : QLatin1String(value.toBool() ? "true" : "false");
    case QJsonValue::Double:
        return secret ? QStringLiteral("a number") : QStringLiteral("the number %1").arg(value.toDouble(), 0, 'g', 17);
    case QJsonValue::String: {
        if (secret)
            return QStringLiteral("a string");
        QString text = value.toString();
        if (text.size() > shownTextLength)
            text = text.left(shownTextLength) + QStringLiteral("...");
        return QStringLiteral("the string \"%1\"").arg(text);
    }
    case QJsonValue::Array: return QStringLiteral("an array");
    case QJsonValue::Object: return QStringLiteral("an object");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("nothing");
}

QString shownFallback(const JsonLookup &lookup, bool secret)
{
    const QJsonValue &fallback = lookup.fallback;
    if (lookup.expected == JsonType::Object || fallback.isUndefined())
        return QStringLiteral("an empty object");
    if (lookup.expected == JsonType::Array)
        return QStringLiteral("an empty array");
    if (fallback.isString() && (secret || fallback.toString().isEmpty()))
        return fallback.toString().isEmpty() ? QStringLiteral("an empty string") : QStringLiteral("the default");
    if (fallback.isString())
        return QStringLiteral("\"%1\"").arg(fallback.toString());
    if (fallback.isBool())
        return QLatin1String(fallback.toBool() ? "true" : "false");
    const int number = fallback.toInt();
    const char *name = lookup.enumeration.isValid() ? lookup.enumeration.valueToKey(number) : nullptr;
    return name ? QStringLiteral("%1 (%2)").arg(number).arg(QLatin1String(name)) : QString::number(number);
}

int editDistance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Keeps what the readers replace: values of another type, and numbers outside their range.
class Checker : public JsonObserver
{
public:
    explicit Checker(Layout layout)
        : m_layout(layout)
        , m_shapes(SessionKeys::describeReaders(layout))
    {
        for (const SessionKeys::Key &key : SessionKeys::keys(layout)) {
            m_known.insert(key.pattern);
            const int slash = key.pattern.lastIndexOf(QLatin1Char('/'));
            const QString name = unescapedKey(key.pattern.mid(slash + 1));
            if (name != QLatin1String("*"))
                m_siblings[key.pattern.left(slash)].append(name);
        }
    }

    QVector<VdSessionCheck::Finding> findings;

    QJsonValue lookup(const JsonLookup &lookup) override
    {
        if (lookup.found.isUndefined() || lookup.whole)
            return lookup.found;
        const SessionKeys::Key *key = SessionKeys::find(m_layout, lookup.path.pattern());
        const bool secret = key && (key->flags & SessionKeys::Secret);
        if (!jsonAccepts(lookup.expected, lookup.found)) {
            add(lookup.path.pointer(), Kind::Type,
                QStringLiteral("found %1 where %2 is read; %3 is used")
                    .arg(shown(lookup.found, secret), SessionKeys::typeName(lookup.expected), shownFallback(lookup, secret)));
        } else if (lookup.ranged) {
            const int number = JsonValue::toNumber(lookup.found);
            if (number < lookup.low || number > lookup.high) {
                JsonLookup used = lookup;
                used.fallback = lookup.outOfRange;
                add(lookup.path.pointer(), Kind::Range,
                    QStringLiteral("%1 is outside %2 to %3; %4 is used")
                        .arg(number).arg(lookup.low).arg(lookup.high).arg(shownFallback(used, secret)));
            }
        }
        return lookup.found;
    }

    // Every key of @p object that the layout does not know, and those of the objects and arrays
    // inside that the readers take apart.
    void findUnknown(const QJsonObject &object, const QString &pointer, const QString &pattern)
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            const QString key = JsonPath::pointerStep(it.key());
            if (!m_known.contains(pattern + QLatin1Char('/') + key)) {
                VdSessionCheck::Finding finding{pointer + QLatin1Char('/') + key, Kind::Unknown,
                                                QStringLiteral("no reader takes this key; it is ignored"),
                                                nearestKnown(pattern, it.key())};
                if (!finding.suggestion.isEmpty())
                    finding.message += QStringLiteral("; did you mean \"%1\"?").arg(finding.suggestion);
                findings.append(finding);
                continue;
            }
            descend(it.value(), pointer + QLatin1Char('/') + key, pattern + QLatin1Char('/') + key);
        }
    }

private:
    void descend(const QJsonValue &value, const QString &pointer, const QString &pattern)
    {
        const SessionKeys::Key *key = SessionKeys::find(m_layout, pattern);
        if ((key && (key->flags & SessionKeys::NotRead)) || m_shapes.value(pattern).whole)
            return;
        if (value.isObject()) {
            findUnknown(value.toObject(), pointer, pattern);
        } else if (value.isArray() && m_known.contains(pattern + QStringLiteral("/*"))) {
            const QJsonArray elements = value.toArray();
            for (int i = 0; i < elements.size(); ++i)
                descend(elements.at(i), pointer + QLatin1Char('/') + QString::number(i), pattern + QStringLiteral("/*"));
        }
    }

    // The key of the same object that @p key most looks like a typo of, if any.
    QString nearestKnown(const QString &pattern, const QString &key) const
    {
        QString nearest;
        if (key.size() > longestLikelyKey)
            return nearest;
        int best = key.size() <= 4 ? 1 : 2;
        for (const QString &sibling : m_siblings.value(pattern)) {
            const int distance = editDistance(key.toLower(), sibling.toLower());
            if (distance < best || (distance == best && !nearest.isEmpty() && sibling < nearest)) {
                best = distance;
                nearest = sibling;
            }
        }
        return nearest;
    }

    void add(const QString &pointer, Kind kind, const QString &message)
    {
        if (m_reported.contains({pointer, int(kind)}))
            return;
        m_reported.insert({pointer, int(kind)});
        findings.append({pointer, kind, message, QString()});
    }

    Layout m_layout;
    const QHash<QString, SessionKeys::Shape> &m_shapes;
    QSet<QString> m_known;
    QHash<QString, QStringList> m_siblings; // the keys of each object, by the object's pattern
    QSet<QPair<QString, int>> m_reported;
};

// Where each wanted pointer first occurs in the text, counting members and elements in the
// order they are written. The text is known to be valid JSON.
class PointerOrder
{
public:
    PointerOrder(const QByteArray &text, const QSet<QString> &wanted)
        : m_at(text.constData())
        , m_end(text.constData() + text.size())
        , m_wanted(wanted)
    {
        value(QString());
    }

    QHash<QString, int> positions;

private:
    void skipBlanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }

    QString string()
    {
        const char *start = m_at++;
        bool escaped = false;
        while (m_at < m_end && *m_at != '"') {
            if (*m_at == '\\') {
                escaped = true;
                ++m_at;
            }
            ++m_at;
        }
        ++m_at;
        const QByteArray quoted(start, int(std::min(m_at, m_end) - start));
        if (!escaped)
            return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
        return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
    }

    void mark(const QString &pointer)
    {
        if (m_wanted.contains(pointer) && !positions.contains(pointer))
            positions.insert(pointer, positions.size());
    }

    void value(const QString &pointer)
    {
        skipBlanks();
        if (m_at >= m_end)
            return;
        if (*m_at == '{' || *m_at == '[') {
            const bool object = *m_at == '{';
            const char close = object ? '}' : ']';
            ++m_at;
            for (int index = 0;; ++index) {
                skipBlanks();
                if (m_at >= m_end || *m_at == close)
                    break;
                QString child = pointer + QLatin1Char('/');
                if (object) {
                    child += JsonPath::pointerStep(string());
                    skipBlanks();
                    ++m_at; // ':'
                } else {
                    child += QString::number(index);
                }
                mark(child);
                value(child);
                skipBlanks();
                if (m_at < m_end && *m_at == ',')
                    ++m_at;
            }
            ++m_at;
        } else if (*m_at == '"') {
            string();
        } else {
            while (m_at < m_end && *m_at != ',' && *m_at != '}' && *m_at != ']')
                ++m_at;
        }
    }

    const char *m_at;
    const char *m_end;
    const QSet<QString> &m_wanted;
};

void sortInDocumentOrder(QVector<VdSessionCheck::Finding> &findings, const QByteArray &content)
{
    if (findings.size() < 2)
        return;
    QSet<QString> wanted;
    for (const VdSessionCheck::Finding &finding : findings)
        wanted.insert(finding.path);
    const QHash<QString, int> positions = PointerOrder(content, wanted).positions;
    QVector<QPair<int, VdSessionCheck::Finding>> placed;
    placed.reserve(findings.size());
    for (const VdSessionCheck::Finding &finding : findings)
        placed.append({positions.value(finding.path, std::numeric_limits<int>::max()), finding});
    std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (int i = 0; i < placed.size(); ++i)
        findings[i] = placed.at(i).second;
}

} // namespace

VdSessionCheck VdSessionCheck::checkFile(const QString &path)
{
    QByteArray content;
    QString errorString;
    if (!readSessionFileContent(path, &content, &errorString)) {
        auto *d = new VdSessionCheckPrivate;
        d->errorString = errorString;
        return VdSessionCheck(d);
    }
    return checkDocument(content);
}

VdSessionCheck VdSessionCheck::checkDocument(const QByteArray &content)
{
    auto *d = new VdSessionCheckPrivate;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (document.isNull()) {
        d->errorString = QStringLiteral("not a JSON document: %1 at offset %2").arg(error.errorString()).arg(error.offset);
        return VdSessionCheck(d);
    }
    // The loader refuses an empty document too.
    if (document.isEmpty()) {
        d->errorString = QStringLiteral("an empty JSON document");
        return VdSessionCheck(d);
    }

    const QJsonObject root = document.object();
    d->layout = hasLegacyLayout(root) ? Layout::Legacy : Layout::Current;
    Checker checker(d->layout);
    // A record of its own, so that the program's settings stay as they are.
    VdSessionSettingsPrivate scratch;
    SessionKeys::readWithoutSideEffects(&scratch, JsonGroup(root, &checker), d->layout);
    checker.findUnknown(root, QString(), QString());
    d->findings = checker.findings;
    sortInDocumentOrder(d->findings, content);
    return VdSessionCheck(d);
}

VdSessionCheck::VdSessionCheck()
    : d(new VdSessionCheckPrivate)
{
}

VdSessionCheck::VdSessionCheck(VdSessionCheckPrivate *d)
    : d(d)
{
}

VdSessionCheck::VdSessionCheck(const VdSessionCheck &other) = default;
VdSessionCheck::VdSessionCheck(VdSessionCheck &&other) noexcept = default;
VdSessionCheck &VdSessionCheck::operator=(const VdSessionCheck &other) = default;
VdSessionCheck &VdSessionCheck::operator=(VdSessionCheck &&other) noexcept = default;
VdSessionCheck::~VdSessionCheck() = default;

VdSessionCheck::Layout VdSessionCheck::layout() const { return d->layout; }
QString VdSessionCheck::errorString() const { return d->errorString; }
QVector<VdSessionCheck::Finding> VdSessionCheck::findings() const { return d->findings; }

QString VdSessionCheck::layoutName(Layout layout)
{
    switch (layout) {
    case Layout::Current: return QStringLiteral("current");
    case Layout::Legacy: return QStringLiteral("legacy");
    case Layout::Unreadable: break;
    }
    return QStringLiteral("unreadable");
}

QString VdSessionCheck::kindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Type: return QStringLiteral("type");
    case FindingKind::Range: return QStringLiteral("range");
    case FindingKind::Unknown: break;
    }
    return QStringLiteral("unknown");
}
