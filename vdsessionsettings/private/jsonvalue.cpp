#include "jsonvalue_p.h"

#include <cmath>
#include <limits>

namespace {

const char *typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null: return "null";
    case QJsonValue::Bool: return "a bool";
    case QJsonValue::Double: return "a number";
    case QJsonValue::String: return "a string";
    case QJsonValue::Array: return "an array";
    case QJsonValue::Object: return "an object";
    case QJsonValue::Undefined: break;
    }
    return "missing";
}

bool isInt32(double number)
{
    return std::trunc(number) == number && number >= std::numeric_limits<int>::min()
        && number <= std::numeric_limits<int>::max();
}

bool isDecimalInteger(const QString &text, int *result)
{
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (result)
        *result = ok ? number : 0;
    return ok;
}

} // namespace

void ReadDiagnostics::wrongType(const QString &path, const char *expected, const QJsonValue &found)
{
    m_findings.append({path, QStringLiteral("expected %1, found %2").arg(QLatin1String(expected), QLatin1String(typeName(found)))});
}

void ReadDiagnostics::replaced(const QString &path, qint64 found, qint64 used)
{
    m_findings.append({path, QStringLiteral("%1 is out of range, %2 used").arg(found).arg(used)});
}

QString JsonValue::toString(const QJsonValue &value, const QString &fallback)
{
    return value.isString() ? value.toString() : fallback;
}

int JsonValue::toNumber(const QJsonValue &value, int fallback)
{
    return value.isDouble() && isInt32(value.toDouble()) ? static_cast<int>(value.toDouble()) : fallback;
}

bool JsonValue::toBool(const QJsonValue &value, bool fallback)
{
    return value.isBool() ? value.toBool() : fallback;
}

int JsonValue::toDecimalString(const QJsonValue &value)
{
    return value.isString() ? decimalOrZero(value.toString()) : 0;
}

int JsonValue::decimalOrZero(const QString &text)
{
    int number = 0;
    isDecimalInteger(text, &number);
    return number;
}

QStringList JsonValue::splitIntegers(const QString &text)
{
    return text.trimmed().split(QLatin1Char(','), Qt::KeepEmptyParts);
}

JsonGroup::JsonGroup(const QJsonObject &object, ReadDiagnostics *diagnostics, const QString &path)
    : m_object(object)
    , m_diagnostics(diagnostics)
    , m_path(path)
{
}

QString JsonGroup::pathOf(const QString &key) const
{
    return m_path.isEmpty() ? key : m_path + QLatin1Char('/') + key;
}

void JsonGroup::check(const QString &key, const char *expected, bool (*accepts)(const QJsonValue &)) const
{
    if (!m_diagnostics)
        return;
    const QJsonValue found = m_object.value(key);
    if (!found.isUndefined() && !accepts(found))
        m_diagnostics->wrongType(pathOf(key), expected, found);
}

QString JsonGroup::string(const QString &key, const QString &fallback) const
{
    check(key, "a string", [](const QJsonValue &v) { return v.isString(); });
    return JsonValue::toString(m_object.value(key), fallback);
}

int JsonGroup::number(const QString &key, int fallback) const
{
    check(key, "an integral number", [](const QJsonValue &v) { return v.isDouble() && isInt32(v.toDouble()); });
    return JsonValue::toNumber(m_object.value(key), fallback);
}

bool JsonGroup::boolean(const QString &key, bool fallback) const
{
    check(key, "true or false", [](const QJsonValue &v) { return v.isBool(); });
    return JsonValue::toBool(m_object.value(key), fallback);
}

int JsonGroup::decimalString(const QString &key) const
{
    check(key, "a decimal string", [](const QJsonValue &v) { return v.isString() && isDecimalInteger(v.toString(), nullptr); });
    return JsonValue::toDecimalString(m_object.value(key));
}

JsonGroup JsonGroup::group(const QString &key) const
{
    check(key, "an object", [](const QJsonValue &v) { return v.isObject(); });
    return JsonGroup(m_object.value(key).toObject(), m_diagnostics, m_diagnostics ? pathOf(key) : QString());
}

QJsonArray JsonGroup::array(const QString &key) const
{
    check(key, "an array", [](const QJsonValue &v) { return v.isArray(); });
    return m_object.value(key).toArray();
}

int JsonGroup::numberInRange(const QString &key, int low, int high, int outOfRange, int fallback,
                             bool *replaced) const
{
    const int read = number(key, fallback);
    const bool inRange = read >= low && read <= high;
    if (!inRange && m_diagnostics)
        m_diagnostics->replaced(pathOf(key), read, outOfRange);
    if (replaced)
        *replaced = !inRange;
    return inRange ? read : outOfRange;
}

QStringList JsonGroup::strings(const QString &key) const
{
    const QJsonArray elements = array(key);
    QStringList result;
    result.reserve(elements.size());
    for (int i = 0; i < elements.size(); ++i) {
        const QJsonValue element = elements.at(i);
        if (m_diagnostics && !element.isString())
            m_diagnostics->wrongType(pathOf(key) + QStringLiteral("[%1]").arg(i), "a string", element);
        result.append(JsonValue::toString(element));
    }
    return result;
}

QVector<JsonGroup> JsonGroup::groups(const QString &key) const
{
    const QJsonArray elements = array(key);
    QVector<JsonGroup> result;
    result.reserve(elements.size());
    for (int i = 0; i < elements.size(); ++i) {
        const QJsonValue element = elements.at(i);
        QString elementPath;
        if (m_diagnostics) {
            elementPath = pathOf(key) + QStringLiteral("[%1]").arg(i);
            if (!element.isObject())
                m_diagnostics->wrongType(elementPath, "an object", element);
        }
        result.append(JsonGroup(element.toObject(), m_diagnostics, elementPath));
    }
    return result;
}
