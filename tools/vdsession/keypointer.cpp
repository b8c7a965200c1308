#include "keypointer.h"

#include "commands.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <limits>

namespace {

// As deep as Qt's JSON parser nests, so that no file it reads holds a key a pointer cannot name,
// and no pointer leads the edits that follow it deeper than that.
constexpr int deepestPointer = 1024;

const QString legacyGroup = QStringLiteral("vdsession settings");

bool standsForElement(const QString &step)
{
    return step == QLatin1String("*") || isArrayIndex(step);
}

QString unknownKeyProblem(Layout layout, const KeyPointer &pointer, bool suggest)
{
    const QStringList &steps = pointer.steps();
    // A document of the key alone: an element's index or "*" becomes the first element of an
    // array, any other step an object's key. The top level is an object whatever the step.
    QStringList sampleSteps = steps;
    QJsonValue value = QJsonValue::Null;
    for (int i = steps.size() - 1; i >= 1; --i) {
        if (standsForElement(steps.at(i))) {
            sampleSteps[i] = QStringLiteral("0");
            value = QJsonArray{value};
        } else {
            value = QJsonObject{{steps.at(i), value}};
        }
    }
    QJsonObject root{{steps.first(), value}};
    if (layout == Layout::Legacy && !root.contains(legacyGroup))
        root.insert(legacyGroup, QJsonObject());

    const VdSessionCheck check = VdSessionCheck::checkDocument(QJsonDocument(root).toJson(QJsonDocument::Compact));
    const QString missing = QStringLiteral("no key %1 in the %2 layout").arg(pointer.text(), VdSessionCheck::layoutName(layout));
    // Nested deeper than a session file can be.
    if (check.layout() == Layout::Unreadable)
        return missing;
    // Only the legacy layout's own group makes a document of the key one of that layout.
    if (check.layout() != layout) {
        const QString legacyProblem = unknownKeyProblem(Layout::Legacy, pointer, suggest);
        return legacyProblem.isEmpty() ? QStringLiteral("%1 is a key of the legacy layout, not of the current one").arg(pointer.text())
                                       : legacyProblem;
    }

    // The findings on the way to the key, by how many steps down they are.
    const KeyPointer sample(sampleSteps);
    QHash<QString, int> depths;
    for (int depth = 1; depth <= steps.size(); ++depth)
        depths.insert(sample.first(depth).text(), depth);
    for (const VdSessionCheck::Finding &finding : check.findings()) {
        const int depth = depths.value(finding.path);
        if (depth == 0)
            continue;
        if (finding.kind == VdSessionCheck::FindingKind::Unknown) {
            if (!suggest || finding.suggestion.isEmpty())
                return missing;
            QStringList corrected = steps;
            corrected[depth - 1] = finding.suggestion;
            KeyPointer nearest(corrected);
            // The rest of the pointer may be wrong too; then only the part that was is told.
            if (!unknownKeyProblem(layout, nearest, false).isEmpty())
                nearest = nearest.first(depth);
            return missing + QStringLiteral(" (did you mean \"%1\"?)").arg(nearest.text());
        }
        // A key or element inside something that holds none of them.
        if (finding.kind == VdSessionCheck::FindingKind::Type && depth < steps.size()) {
            const KeyPointer outer = pointer.first(depth);
            const std::optional<QJsonObject> schema = keySchema(layout, outer);
            return schema ? missing + QStringLiteral(" (%1 takes %2)").arg(outer.text(), takenValues(*schema)) : missing;
        }
    }
    return QString();
}

} // namespace

KeyPointer KeyPointer::parse(const QString &text)
{
    if (!text.startsWith(QLatin1Char('/')))
        fail(QStringLiteral("a key is named by its JSON Pointer, which starts with \"/\": %1").arg(text));
    QStringList steps = text.mid(1).split(QLatin1Char('/'));
    if (steps.size() > deepestPointer)
        fail(QStringLiteral("a pointer of more than %1 steps names no key of a session file").arg(deepestPointer));
    for (QString &step : steps) {
        for (int at = step.indexOf(QLatin1Char('~')); at >= 0; at = step.indexOf(QLatin1Char('~'), at + 1)) {
            if (at + 1 == step.size() || (step.at(at + 1) != QLatin1Char('0') && step.at(at + 1) != QLatin1Char('1')))
                fail(QStringLiteral("%1: a \"~\" in a JSON Pointer is written \"~0\", and a \"/\" in a key \"~1\"").arg(text));
        }
        step.replace(QLatin1String("~1"), QLatin1String("/")).replace(QLatin1String("~0"), QLatin1String("~"));
    }
    return KeyPointer(steps);
}

QString KeyPointer::text() const
{
    QString text;
    for (QString step : m_steps)
        text += QLatin1Char('/') + step.replace(QLatin1Char('~'), QLatin1String("~0")).replace(QLatin1Char('/'), QLatin1String("~1"));
    return text;
}

bool KeyPointer::covers(const QString &path) const
{
    const QString own = text();
    return path == own || (path.startsWith(own) && path.at(own.size()) == QLatin1Char('/'));
}

bool isArrayIndex(const QString &step)
{
    if (step.isEmpty() || (step.size() > 1 && step.startsWith(QLatin1Char('0'))))
        return false;
    return std::all_of(step.begin(), step.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

Layout layoutOf(const QJsonObject &root)
{
    return root.contains(legacyGroup) ? Layout::Legacy : Layout::Current;
}

QString unknownKeyProblem(Layout layout, const KeyPointer &pointer)
{
    return unknownKeyProblem(layout, pointer, true);
}

QJsonObject layoutSchema(Layout layout)
{
    static const QJsonArray layouts = VdSessionCheck::schema().value(QStringLiteral("oneOf")).toArray();
    return layouts.at(layout == Layout::Legacy ? 1 : 0).toObject();
}

std::optional<QJsonObject> keySchema(Layout layout, const KeyPointer &pointer)
{
    QJsonObject node = layoutSchema(layout);
    for (const QString &step : pointer.steps()) {
        const QJsonObject properties = node.value(QStringLiteral("properties")).toObject();
        if (properties.contains(step))
            node = properties.value(step).toObject();
        else if (standsForElement(step) && node.contains(QStringLiteral("items")))
            node = node.value(QStringLiteral("items")).toObject();
        else
            return std::nullopt;
    }
    return node;
}

QString enumeratorList(const QJsonObject &schema)
{
    QStringList named;
    for (const QJsonValue &choice : schema.value(QStringLiteral("anyOf")).toArray()) {
        const QJsonObject option = choice.toObject();
        if (option.contains(QStringLiteral("const")))
            named.append(jsonText(option.value(QStringLiteral("const"))) + QLatin1Char(' ') + option.value(QStringLiteral("title")).toString());
    }
    return named.join(QStringLiteral(", "));
}

QString takenValues(const QJsonObject &schema)
{
    const QJsonValue type = schema.value(QStringLiteral("type"));
    const QJsonArray types = type.isArray() ? type.toArray() : QJsonArray{type};
    QStringList kinds;
    for (const QJsonValue &entry : types) {
        const QString name = entry.toString();
        if (name == QLatin1String("integer")) {
            const double low = schema.value(QStringLiteral("minimum")).toDouble(std::numeric_limits<int>::min());
            const double high = schema.value(QStringLiteral("maximum")).toDouble(std::numeric_limits<int>::max());
            if (low > std::numeric_limits<int>::min() || high < std::numeric_limits<int>::max())
                kinds << QStringLiteral("an integer from %1 to %2").arg(low, 0, 'f', 0).arg(high, 0, 'f', 0);
            else
                kinds << QStringLiteral("an integer");
        } else if (name == QLatin1String("string")) {
            const QString pattern = schema.value(QStringLiteral("pattern")).toString();
            kinds << (pattern.isEmpty() ? QStringLiteral("a string") : QStringLiteral("a string matching %1").arg(pattern));
        } else if (name == QLatin1String("boolean")) {
            kinds << QStringLiteral("true or false");
        } else if (name == QLatin1String("object")) {
            kinds << QStringLiteral("an object");
        } else if (name == QLatin1String("array")) {
            kinds << QStringLiteral("an array");
        }
    }
    QString text = kinds.isEmpty() ? QStringLiteral("any value") : kinds.join(QStringLiteral(" or "));
    const QString enumerators = enumeratorList(schema);
    if (!enumerators.isEmpty())
        text += QStringLiteral(" (%1)").arg(enumerators);
    return text;
}

QString jsonText(const QJsonValue &value)
{
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

bool holdsSecret(const QJsonValue &value, const QJsonObject &schema)
{
    if (schema.value(QStringLiteral("writeOnly")).toBool())
        return true;
    if (value.isObject()) {
        const QJsonObject properties = schema.value(QStringLiteral("properties")).toObject();
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (properties.contains(it.key()) && holdsSecret(it.value(), properties.value(it.key()).toObject()))
                return true;
        }
    } else if (value.isArray() && schema.contains(QStringLiteral("items"))) {
        const QJsonObject items = schema.value(QStringLiteral("items")).toObject();
        for (const QJsonValue &element : value.toArray()) {
            if (holdsSecret(element, items))
                return true;
        }
    }
    return false;
}

QJsonValue maskSecrets(const QJsonValue &value, const QJsonObject &schema)
{
    if (schema.value(QStringLiteral("writeOnly")).toBool())
        return QStringLiteral("***");
    if (value.isObject()) {
        const QJsonObject properties = schema.value(QStringLiteral("properties")).toObject();
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (properties.contains(it.key()))
                it.value() = maskSecrets(it.value(), properties.value(it.key()).toObject());
        }
        return object;
    }
    if (value.isArray() && schema.contains(QStringLiteral("items"))) {
        const QJsonObject items = schema.value(QStringLiteral("items")).toObject();
        QJsonArray elements = value.toArray();
        for (int i = 0; i < elements.size(); ++i)
            elements[i] = maskSecrets(elements.at(i), items);
        return elements;
    }
    return value;
}

std::optional<QJsonValue> valueAt(const QJsonObject &root, const KeyPointer &pointer)
{
    QJsonValue current = root;
    for (const QString &step : pointer.steps()) {
        if (current.isObject() && current.toObject().contains(step)) {
            current = current.toObject().value(step);
        } else if (current.isArray() && isArrayIndex(step)) {
            bool small = false;
            const int index = step.toInt(&small);
            if (!small || index >= current.toArray().size())
                return std::nullopt;
            current = current.toArray().at(index);
        } else {
            return std::nullopt;
        }
    }
    return current;
}
