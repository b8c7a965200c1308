#include "jsonvalue_p.h"

#include <cmath>
#include <limits>

namespace {

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

int JsonValue::integerCount(TextFormat format)
{
    switch (format) {
    case TextFormat::Free: break;
    case TextFormat::DecimalInteger: return 1;
    case TextFormat::Size: return 2;
    case TextFormat::Rectangle: return 4;
    }
    return 0;
}

bool JsonValue::integersFromText(const QString &text, TextFormat format, QVector<int> *integers, QStringList *unread)
{
    const QStringList pieces = format == TextFormat::DecimalInteger ? QStringList{text} : splitIntegers(text);
    integers->clear();
    if (pieces.size() != integerCount(format))
        return false;
    for (const QString &piece : pieces) {
        int number = 0;
        if (!isDecimalInteger(piece, &number) && unread)
            unread->append(piece);
        integers->append(number);
    }
    return true;
}

bool jsonAccepts(JsonType type, const QJsonValue &value)
{
    switch (type) {
    case JsonType::Any: return true;
    case JsonType::String: return value.isString();
    case JsonType::Number: return value.isDouble() && isInt32(value.toDouble());
    case JsonType::Bool: return value.isBool();
    case JsonType::Object: return value.isObject();
    case JsonType::Array: return value.isArray();
    }
    return false;
}

JsonPath JsonPath::child(const QString &key) const
{
    JsonPath path = *this;
    path.keys.append(key);
    return path;
}

JsonPath JsonPath::element(int index) const
{
    JsonPath path = *this;
    path.elementSteps.append(path.keys.size());
    path.keys.append(QString::number(index));
    return path;
}

JsonPath JsonPath::parent() const
{
    JsonPath path = *this;
    if (!path.keys.isEmpty())
        path.keys.removeLast();
    path.elementSteps.removeAll(path.keys.size());
    return path;
}

QString JsonPath::pointerStep(QString key)
{
    return key.replace(QLatin1Char('~'), QLatin1String("~0")).replace(QLatin1Char('/'), QLatin1String("~1"));
}

QString JsonPath::pointer() const
{
    QString result;
    for (const QString &key : keys)
        result += QLatin1Char('/') + pointerStep(key);
    return result;
}

QString JsonPath::pattern() const
{
    JsonPath generic = *this;
    for (int step : elementSteps)
        generic.keys[step] = QStringLiteral("*");
    return generic.pointer();
}

JsonObserver::~JsonObserver() = default;

JsonGroup::JsonGroup(const QJsonObject &object, JsonObserver *observer, const JsonPath &path)
    : m_object(object)
    , m_observer(observer)
    , m_path(path)
{
}

template<typename Describe>
QJsonValue JsonGroup::observe(const QJsonValue &found, JsonType expected, Describe &&describe) const
{
    if (!m_observer)
        return found;
    JsonLookup lookup;
    lookup.expected = expected;
    lookup.found = found;
    describe(lookup);
    return m_observer->lookup(lookup);
}

template<typename Describe>
QJsonValue JsonGroup::take(const QString &key, JsonType expected, Describe &&describe) const
{
    return observe(m_object.value(key), expected, [&](JsonLookup &l) {
        l.path = m_path.child(key);
        describe(l);
    });
}

namespace {
const auto nothingMore = [](JsonLookup &) {};
} // namespace

bool JsonGroup::contains(const QString &key) const
{
    return !take(key, JsonType::Any, nothingMore).isUndefined();
}

QJsonValue JsonGroup::value(const QString &key) const
{
    return take(key, JsonType::Any, nothingMore);
}

QJsonObject JsonGroup::object() const
{
    return observe(m_object, JsonType::Object, [&](JsonLookup &l) {
               l.path = m_path;
               l.whole = true;
           })
        .toObject();
}

QString JsonGroup::string(const QString &key, const QString &fallback) const
{
    return JsonValue::toString(take(key, JsonType::String, [&](JsonLookup &l) { l.fallback = fallback; }), fallback);
}

int JsonGroup::number(const QString &key, int fallback) const
{
    return number(key, fallback, QMetaEnum());
}

int JsonGroup::number(const QString &key, int fallback, const QMetaEnum &enumeration) const
{
    return JsonValue::toNumber(take(key, JsonType::Number,
                                    [&](JsonLookup &l) {
                                        l.fallback = fallback;
                                        l.enumeration = enumeration;
                                    }),
                               fallback);
}

bool JsonGroup::boolean(const QString &key, bool fallback) const
{
    return JsonValue::toBool(take(key, JsonType::Bool, [&](JsonLookup &l) { l.fallback = fallback; }), fallback);
}

int JsonGroup::decimalString(const QString &key) const
{
    return JsonValue::toDecimalString(take(key, JsonType::String, [](JsonLookup &l) {
        l.fallback = 0;
        l.format = TextFormat::DecimalInteger;
        l.unparsed = QStringLiteral("0 is used");
    }));
}

QString JsonGroup::parsedText(const QString &key, TextFormat format, const QString &unparsed) const
{
    return JsonValue::toString(take(key, JsonType::String, [&](JsonLookup &l) {
        l.fallback = QString();
        l.format = format;
        l.unparsed = unparsed;
    }));
}

JsonGroup JsonGroup::group(const QString &key) const
{
    const QJsonValue value = take(key, JsonType::Object, nothingMore);
    return JsonGroup(value.toObject(), m_observer, m_observer ? m_path.child(key) : JsonPath());
}

QJsonArray JsonGroup::array(const QString &key) const
{
    return elements(key, JsonType::Any);
}

QJsonArray JsonGroup::elements(const QString &key, JsonType elementType) const
{
    return take(key, JsonType::Array, [&](JsonLookup &l) { l.elements = elementType; }).toArray();
}

QJsonValue JsonGroup::element(const QJsonArray &elements, int index, JsonType type, const QJsonValue &fallback,
                              const QString &key) const
{
    return observe(elements.at(index), type, [&](JsonLookup &l) {
        l.path = m_path.child(key).element(index);
        l.fallback = fallback;
    });
}

int JsonGroup::numberInRange(const QString &key, int low, int high, int outOfRange, int fallback, bool *replaced,
                             const QMetaEnum &enumeration) const
{
    const QJsonValue value = take(key, JsonType::Number, [&](JsonLookup &l) {
        l.fallback = fallback;
        l.enumeration = enumeration;
        l.ranged = true;
        l.low = low;
        l.high = high;
        l.outOfRange = outOfRange;
    });
    const int read = JsonValue::toNumber(value, fallback);
    const bool inRange = read >= low && read <= high;
    if (replaced)
        *replaced = !inRange;
    return inRange ? read : outOfRange;
}

QStringList JsonGroup::strings(const QString &key) const
{
    const QJsonArray list = elements(key, JsonType::String);
    QStringList result;
    result.reserve(list.size());
    for (int i = 0; i < list.size(); ++i)
        result.append(JsonValue::toString(element(list, i, JsonType::String, QString(), key)));
    return result;
}

QVector<JsonGroup> JsonGroup::groups(const QString &key) const
{
    const QJsonArray list = elements(key, JsonType::Object);
    QVector<JsonGroup> result;
    result.reserve(list.size());
    for (int i = 0; i < list.size(); ++i) {
        const QJsonValue value = element(list, i, JsonType::Object, QJsonValue::Undefined, key);
        result.append(JsonGroup(value.toObject(), m_observer, m_observer ? m_path.child(key).element(i) : JsonPath()));
    }
    return result;
}
