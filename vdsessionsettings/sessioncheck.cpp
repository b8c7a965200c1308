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

constexpr int shownTextLength = 40;
// No key of the layouts is longer; a longer one is no typo of any of them.
constexpr int longestLikelyKey = 64;

QString unescapedKey(QString key)
{
    return key.replace(QLatin1String("~1"), QLatin1String("/")).replace(QLatin1String("~0"), QLatin1String("~"));
}

// Long texts are cut, so that a finding stays one line.
QString shortened(QString text)
{
    if (text.size() > shownTextLength)
        text = text.left(shownTextLength) + QStringLiteral("...");
    return text;
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
        return QStringLiteral("the string \"%1\"").arg(shortened(value.toString()));
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
            // Text to be parsed falls back on text that does not parse; the reader says what then.
            const QString instead = lookup.unparsed.isEmpty() ? shownFallback(lookup, secret) + QStringLiteral(" is used") : lookup.unparsed;
            add(lookup.path.pointer(), Kind::Type,
                QStringLiteral("found %1 where %2 is read; %3")
                    .arg(shown(lookup.found, secret), SessionKeys::typeName(lookup.expected, lookup.format), instead));
        } else if (lookup.expected == JsonType::Number) {
            checkNumber(lookup, secret);
        } else if (lookup.format != TextFormat::Free) {
            checkText(lookup, secret);
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
    // A number the reader replaces because of its range, or keeps although it names nothing. A
    // replaced number is no longer the one written, so its enumerator does not matter.
    void checkNumber(const JsonLookup &lookup, bool secret)
    {
        const int number = JsonValue::toNumber(lookup.found);
        if (lookup.ranged && (number < lookup.low || number > lookup.high)) {
            JsonLookup used = lookup;
            used.fallback = lookup.outOfRange;
            add(lookup.path.pointer(), Kind::Range,
                QStringLiteral("%1 is outside %2 to %3; %4 is used")
                    .arg(number).arg(lookup.low).arg(lookup.high).arg(shownFallback(used, secret)));
            return;
        }
        const QMetaEnum &enumeration = lookup.enumeration;
        if (!enumeration.isValid() || enumeration.isFlag() || enumeration.valueToKey(number) || secret)
            return;
        QStringList named;
        for (int i = 0; i < enumeration.keyCount(); ++i)
            named << QStringLiteral("%1 %2").arg(enumeration.value(i)).arg(QLatin1String(enumeration.key(i)));
        add(lookup.path.pointer(), Kind::Enumerator,
            QStringLiteral("%1 names none of the enumerators of %2 (%3); %1 is used as it is")
                .arg(number).arg(QLatin1String(enumeration.name()), named.join(QStringLiteral(", "))));
    }

    // Text the reader parses and cannot: a size or a rectangle of another number of pieces, which
    // the reader drops, or pieces that are no integers, which it reads as 0.
    void checkText(const JsonLookup &lookup, bool secret)
    {
        QVector<int> integers;
        QStringList unread;
        const bool pieced = JsonValue::integersFromText(lookup.found.toString(), lookup.format, &integers, &unread);
        if (pieced && unread.isEmpty())
            return;
        const QString text = shown(lookup.found, secret);
        QString message;
        if (!pieced || JsonValue::integerCount(lookup.format) == 1) {
            message = QStringLiteral("%1 is not %2; %3").arg(text, SessionKeys::formatName(lookup.format), lookup.unparsed);
        } else if (secret) {
            message = QStringLiteral("%1 has pieces that are not decimal integers of 32 bits; each counts as 0").arg(text);
        } else {
            QStringList pieces;
            for (const QString &piece : qAsConst(unread))
                pieces << QStringLiteral("\"%1\"").arg(shortened(piece));
            const QString last = pieces.takeLast();
            message = pieces.isEmpty()
                ? QStringLiteral("%1 in %2 is not a decimal integer of 32 bits; it counts as 0").arg(last, text)
                : QStringLiteral("%1 and %2 in %3 are not decimal integers of 32 bits; each counts as 0")
                      .arg(pieces.join(QStringLiteral(", ")), last, text);
        }
        add(lookup.path.pointer(), Kind::Format, message);
    }

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

// A JSON number's value, whatever its spelling: "1e3", "1000" and "1000.0" are one number.
// Value = 0.digits x 10^exponent, digits without leading or trailing zeros; zero has none.
struct DecimalValue
{
    bool negative = false;
    QByteArray digits;
    qint64 exponent = 0;

    explicit DecimalValue(const QByteArray &token)
    {
        const char *at = token.constData();
        const char *const end = at + token.size();
        negative = at < end && *at == '-';
        if (negative)
            ++at;
        qint64 point = 0; // digits before the decimal point
        bool fraction = false;
        for (; at < end && (isDigit(*at) || *at == '.'); ++at) {
            if (*at == '.') {
                fraction = true;
            } else if (!digits.isEmpty() || *at != '0') {
                digits.append(*at);
                point += fraction ? 0 : 1;
            } else if (fraction) {
                --point; // a leading zero after the point
            }
        }
        // Saturated: a document of at most 16 MiB cannot make up for an exponent this large.
        qint64 shift = 0;
        if (at < end && (*at == 'e' || *at == 'E')) {
            ++at;
            const bool down = at < end && *at == '-';
            if (at < end && (*at == '-' || *at == '+'))
                ++at;
            for (; at < end && isDigit(*at); ++at)
                shift = std::min<qint64>(shift * 10 + (*at - '0'), qint64(1) << 40);
            shift = down ? -shift : shift;
        }
        while (digits.endsWith('0'))
            digits.chop(1);
        exponent = digits.isEmpty() ? 0 : point + shift;
        negative = negative && !digits.isEmpty();
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool operator==(const DecimalValue &other) const
    {
        return negative == other.negative && exponent == other.exponent && digits == other.digits;
    }
};

// How saveToVdp() writes the number @p token back: the text Qt's own JSON writer gives for the
// value Qt's parser made of it. Qt 6 keeps integers of 64 bits, Qt 5 holds every number as a
// double; neither keeps a number beyond 64 bits, or more than 17 significant digits, exactly.
QByteArray writtenBack(const QByteArray &token)
{
    const QJsonDocument document = QJsonDocument::fromJson('[' + token + ']');
    const QByteArray json = QJsonDocument(document.array()).toJson(QJsonDocument::Compact);
    return json.mid(1, json.size() - 2);
}

// An integer of at most 15 digits is a double exactly, and both Qt versions write it as it is.
bool surelyKept(const QByteArray &token)
{
    const int digits = token.size() - (token.startsWith('-') ? 1 : 0);
    return digits <= 15
        && std::all_of(token.cbegin() + (token.size() - digits), token.cend(), [](char c) { return DecimalValue::isDigit(c); });
}

// One pass over a document's text, which is known to be valid JSON: where each wanted pointer
// first occurs, and every number that saveToVdp() would not write back as it stands, with its
// pointer. Iterative, so that no nesting exhausts the stack, and linear: a pointer is spelt out
// only for the objects on the way to a wanted one (known keys, a few levels deep) and for each
// number reported, and those reports stop once their pointers add up to the text's own length.
class DocumentScan
{
public:
    struct Number
    {
        qsizetype offset;
        QString pointer;
        QString pattern; // the pointer with "*" for every element
        QByteArray token;
        QByteArray written;
    };

    DocumentScan(const QByteArray &text, const QSet<QString> &wanted)
        : m_text(text)
        , m_at(text.constData())
        , m_end(text.constData() + text.size())
        , m_wanted(wanted)
        , m_budget(text.size())
    {
        // Only objects and arrays on the way to a wanted pointer are followed by name.
        for (const QString &pointer : wanted)
            for (int slash = pointer.indexOf(QLatin1Char('/'), 1); slash > 0; slash = pointer.indexOf(QLatin1Char('/'), slash + 1))
                m_onTheWay.insert(pointer.left(slash));
        run();
    }

    QHash<QString, qsizetype> positions; // wanted pointer -> offset of its value
    QVector<Number> inexact;

private:
    struct Level
    {
        bool object;
        bool followed;     // on the way to a wanted pointer; then pointer is this level's own
        QString pointer;
        qsizetype index = -1; // of the current member or element
        qsizetype keyStart = 0;
        qsizetype keyLength = 0;
        qsizetype length = 0; // of the pointer down to the current member or element, roughly
    };

    void run()
    {
        // Qt's parser takes a byte order mark before the document.
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_at += 3;
        skipBlanks();
        value(!m_onTheWay.isEmpty() || !m_wanted.isEmpty(), QString());
        while (!m_levels.isEmpty()) {
            const char *const before = m_at;
            skipBlanks();
            if (m_at >= m_end)
                return;
            Level &level = m_levels.last();
            if (*m_at == (level.object ? '}' : ']')) {
                ++m_at;
                m_levels.removeLast();
                continue;
            }
            if (*m_at == ',') {
                ++m_at;
                skipBlanks();
            }
            ++level.index;
            if (level.object) {
                if (m_at >= m_end || *m_at != '"')
                    return;
                level.keyStart = m_at - m_text.constData();
                skipString();
                level.keyLength = m_at - m_text.constData() - level.keyStart;
                skipBlanks();
                if (m_at < m_end && *m_at == ':')
                    ++m_at;
                skipBlanks();
            }
            const qsizetype stepLength = 1 + (level.object ? level.keyLength : QByteArray::number(level.index).size());
            level.length = (m_levels.size() > 1 ? m_levels.at(m_levels.size() - 2).length : 0) + stepLength;

            QString child;
            bool followed = false;
            if (level.followed) {
                child = level.pointer + QLatin1Char('/') + stepOf(level);
                if (m_wanted.contains(child) && !positions.contains(child))
                    positions.insert(child, m_at - m_text.constData());
                followed = m_onTheWay.contains(child);
            }
            value(followed, child);
            if (m_at == before)
                return; // not JSON after all; nothing more to learn
        }
    }

    void value(bool followed, const QString &pointer)
    {
        if (m_at >= m_end)
            return;
        if (*m_at == '{' || *m_at == '[') {
            m_levels.append({*m_at == '{', followed, followed ? pointer : QString()});
            ++m_at;
        } else if (*m_at == '"') {
            skipString();
        } else {
            const char *const start = m_at;
            while (m_at < m_end && !isStop(*m_at))
                ++m_at;
            if (*start == '-' || DecimalValue::isDigit(*start))
                number(QByteArray::fromRawData(start, m_at - start), start - m_text.constData());
        }
    }

    void number(const QByteArray &token, qsizetype offset)
    {
        if (m_budget <= 0 || surelyKept(token))
            return;
        auto known = m_written.constFind(token);
        if (known == m_written.constEnd())
            known = m_written.insert(QByteArray(token.constData(), token.size()), writtenBack(token));
        if (DecimalValue(token) == DecimalValue(known.value()))
            return;
        m_budget -= std::max<qsizetype>(m_levels.isEmpty() ? 0 : m_levels.last().length, 1);
        if (m_budget < 0)
            return;
        Number found{offset, QString(), QString(), QByteArray(token.constData(), token.size()), known.value()};
        for (const Level &level : qAsConst(m_levels)) {
            const QString step = stepOf(level);
            found.pointer += QLatin1Char('/') + step;
            found.pattern += QLatin1Char('/') + (level.object ? step : QStringLiteral("*"));
        }
        inexact.append(found);
    }

    QString stepOf(const Level &level) const
    {
        if (!level.object)
            return QString::number(level.index);
        const QByteArray quoted = m_text.mid(level.keyStart, level.keyLength);
        if (!quoted.contains('\\'))
            return JsonPath::pointerStep(QString::fromUtf8(quoted.mid(1, quoted.size() - 2)));
        return JsonPath::pointerStep(QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString());
    }

    static bool isStop(char c) { return c == ',' || c == '}' || c == ']' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    void skipBlanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }

    void skipString()
    {
        ++m_at;
        while (m_at < m_end && *m_at != '"')
            m_at += (*m_at == '\\' && m_end - m_at > 1) ? 2 : 1;
        if (m_at < m_end)
            ++m_at;
    }

    const QByteArray &m_text;
    const char *m_at;
    const char *const m_end;
    const QSet<QString> &m_wanted;
    QSet<QString> m_onTheWay;
    QVector<Level> m_levels;
    QHash<QByteArray, QByteArray> m_written; // by token, so that a repeated number asks Qt once
    qsizetype m_budget;
};

// What the save does to a number it cannot keep; a secret's by its type alone.
QString precisionMessage(const DocumentScan::Number &number, bool secret)
{
    if (secret)
        return QStringLiteral("saveToVdp() writes this number back changed");
    return QStringLiteral("saveToVdp() writes %1 back as %2").arg(shortened(QString::fromLatin1(number.token)), QString::fromLatin1(number.written));
}

// The check of a session file's @p content, and its top-level object in @p root when it is a
// session document at all.
VdSessionCheckPrivate *checkContent(const QByteArray &content, QJsonObject *root)
{
    auto *d = new VdSessionCheckPrivate;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (document.isNull()) {
        d->errorString = QStringLiteral("not a JSON document: %1 at offset %2").arg(error.errorString()).arg(error.offset);
        return d;
    }
    // The loader refuses an empty document too.
    if (document.isEmpty()) {
        d->errorString = QStringLiteral("an empty JSON document");
        return d;
    }

    // A document that is an array reads as an empty object, as loading reads it.
    *root = document.object();
    d->layout = hasLegacyLayout(*root) ? Layout::Legacy : Layout::Current;
    Checker checker(d->layout);
    // A record of its own, so that the program's settings stay as they are.
    VdSessionSettingsPrivate scratch;
    SessionKeys::readWithoutSideEffects(&scratch, JsonGroup(*root, &checker), d->layout);
    checker.findUnknown(*root, QString(), QString());

    // The readers see the numbers as Qt holds them, already rounded; the text tells what was written.
    QSet<QString> located;
    for (const VdSessionCheck::Finding &finding : qAsConst(checker.findings))
        located.insert(finding.path);
    const DocumentScan scan(content, located);
    QVector<QPair<qsizetype, VdSessionCheck::Finding>> placed;
    for (const VdSessionCheck::Finding &finding : qAsConst(checker.findings))
        placed.append({scan.positions.value(finding.path, std::numeric_limits<qsizetype>::max()), finding});
    QSet<QString> rounded;
    for (const DocumentScan::Number &number : scan.inexact) {
        if (rounded.contains(number.pointer))
            continue;
        rounded.insert(number.pointer);
        const SessionKeys::Key *key = SessionKeys::find(d->layout, number.pattern);
        const bool secret = key && (key->flags & SessionKeys::Secret);
        placed.append({number.offset, {number.pointer, Kind::Precision, precisionMessage(number, secret), QString()}});
    }
    // In the order of the text; at one place, a reader's finding before the number's.
    std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &finding : qAsConst(placed))
        d->findings.append(finding.second);
    return d;
}

} // namespace

VdSessionCheck VdSessionCheck::checkFile(const QString &path)
{
    return checkFile(path, nullptr);
}

VdSessionCheck VdSessionCheck::checkFile(const QString &path, QJsonObject *document)
{
    QByteArray content;
    QString errorString;
    QJsonObject root;
    VdSessionCheckPrivate *d = nullptr;
    if (readSessionFileContent(path, &content, &errorString)) {
        d = checkContent(content, &root);
    } else {
        d = new VdSessionCheckPrivate;
        d->errorString = errorString;
    }
    if (document)
        *document = root;
    return VdSessionCheck(d);
}

VdSessionCheck VdSessionCheck::checkDocument(const QByteArray &content)
{
    QJsonObject root;
    return VdSessionCheck(checkContent(content, &root));
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
    case FindingKind::Precision: return QStringLiteral("precision");
    case FindingKind::Enumerator: return QStringLiteral("enumerator");
    case FindingKind::Format: return QStringLiteral("format");
    case FindingKind::Unknown: break;
    }
    return QStringLiteral("unknown");
}
