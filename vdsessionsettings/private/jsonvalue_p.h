#ifndef VDSESSIONSETTINGS_JSONVALUE_P_H
#define VDSESSIONSETTINGS_JSONVALUE_P_H

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMetaEnum>
#include <QString>
#include <QStringList>
#include <QVector>

// The conversions every reader of the library uses for the values of session documents and
// launch links. A value of another type than the one asked for gives the fallback.

// Text that a reader parses rather than takes as it is. The pieces of a size or a rectangle are
// the decimal integers between its commas, with blanks around them allowed.
enum class TextFormat {
    Free,           // any string
    DecimalInteger, // a decimal integer of 32 bits, "1" or "-42"
    Size,           // "width,height"
    Rectangle,      // "left,top,width,height"
};

namespace JsonValue {

QString toString(const QJsonValue &value, const QString &fallback = QString());
// A number whose value is integral and fits a 32-bit signed int.
int toNumber(const QJsonValue &value, int fallback = 0);
// Only true and false; the number 1 is not a bool.
bool toBool(const QJsonValue &value, bool fallback = false);
// A string holding a decimal integer; anything else, a JSON number included, gives 0.
int toDecimalString(const QJsonValue &value);
// Text that is a decimal integer, or 0.
int decimalOrZero(const QString &text);
// The pieces of a comma-separated list of integers ("0,0,1920,1080"), trimmed of surrounding
// blanks; empty pieces are kept.
QStringList splitIntegers(const QString &text);
// How many integers @p format holds; 0 for free text.
int integerCount(TextFormat format);
// The integers of @p text in @p format, as the readers take them; a decimal integer is the whole
// text. A size or a rectangle of another number of pieces gives false and no integers. Otherwise a
// piece that is not a decimal integer of 32 bits counts as 0, and is added to @p unread when given.
bool integersFromText(const QString &text, TextFormat format, QVector<int> *integers, QStringList *unread = nullptr);

} // namespace JsonValue

// What a reader takes a value as. Any is a key whose presence alone, or whose raw value, counts.
enum class JsonType { Any, String, Number, Bool, Object, Array };

// Whether @p value is one a reader taking @p type uses rather than replacing by its fallback.
bool jsonAccepts(JsonType type, const QJsonValue &value);

// Where a value sits in a document: the keys from the top object down, unescaped, with the
// elements of arrays named by their index.
struct JsonPath
{
    QStringList keys;
    QVector<int> elementSteps; // the positions in keys that are array indices

    JsonPath child(const QString &key) const;
    JsonPath element(int index) const;
    JsonPath parent() const;
    // An RFC 6901 JSON Pointer: "/basic settings/IsMMR", "/vm settings/vm/lstIps/0".
    QString pointer() const;
    // One key as a step of a pointer: "~" written "~0", "/" written "~1".
    static QString pointerStep(QString key);
    // The pointer with "*" for every element, the same for all elements of an array.
    QString pattern() const;
};

// One key taken by a reader, as the reader is about to convert it.
struct JsonLookup
{
    JsonPath path;
    JsonType expected = JsonType::Any;
    JsonType elements = JsonType::Any; // what each element of an array is taken as
    QJsonValue found;                  // undefined when the key is missing
    QJsonValue fallback = QJsonValue::Undefined; // what a missing or refused value gives; undefined for groups
    bool whole = false;                // an object taken as it is, every key inside it included
    bool ranged = false;               // a number outside [low, high] gives outOfRange
    int low = 0;
    int high = 0;
    int outOfRange = 0;
    QMetaEnum enumeration;             // for a number that stands for one of the settings' enumerators
    TextFormat format = TextFormat::Free; // what a string is parsed as
    QString unparsed;                  // what the reader does with a string not in that format, for messages
};

// Told by JsonGroup of every key a reader takes, so that checking and describing a document
// follow the readers themselves rather than a list kept beside them.
class JsonObserver
{
public:
    virtual ~JsonObserver();
    // Returns the value the reader goes on with: @p lookup.found when only watching; a
    // description may hand in a sample so that the reader reaches the keys inside it.
    virtual QJsonValue lookup(const JsonLookup &lookup) = 0;
};

// One object of a document with the conversions above, reading keys by name. Groups taken from
// it by group() read as empty objects when missing or of another type, so every key inside them
// takes its fallback. Without an observer nothing is built for one.
class JsonGroup
{
public:
    explicit JsonGroup(const QJsonObject &object, JsonObserver *observer = nullptr, const JsonPath &path = JsonPath());

    bool contains(const QString &key) const;
    QJsonValue value(const QString &key) const;
    // The object as it is, for handing on whole; every key inside it counts as taken.
    QJsonObject object() const;

    QString string(const QString &key, const QString &fallback = QString()) const;
    int number(const QString &key, int fallback = 0) const;
    bool boolean(const QString &key, bool fallback = false) const;
    int decimalString(const QString &key) const;
    // A string that the reader goes on to parse as @p format. @p unparsed, asked only when there
    // is an observer, says what the reader does with text that is not in the format.
    template<typename Unparsed>
    QString text(const QString &key, TextFormat format, Unparsed &&unparsed) const
    {
        return parsedText(key, format, m_observer ? QString(unparsed()) : QString());
    }
    JsonGroup group(const QString &key) const;
    QJsonArray array(const QString &key) const;
    // A number kept when it lies within [low, high], else @p outOfRange; a missing key gives @p fallback.
    int numberInRange(const QString &key, int low, int high, int outOfRange, int fallback = 0,
                      bool *replaced = nullptr, const QMetaEnum &enumeration = QMetaEnum()) const;

    // A number standing for one of the settings' enumerators, stored as it is.
    template<typename Enum>
    Enum enumeration(const QString &key, Enum fallback) const
    {
        return static_cast<Enum>(number(key, int(fallback), QMetaEnum::fromType<Enum>()));
    }
    template<typename Enum>
    Enum enumerationInRange(const QString &key, Enum low, Enum high, Enum outOfRange, Enum fallback,
                            bool *replaced) const
    {
        return static_cast<Enum>(numberInRange(key, low, high, outOfRange, fallback, replaced, QMetaEnum::fromType<Enum>()));
    }

    // The strings of an array, in order; an element of another type gives an empty string.
    QStringList strings(const QString &key) const;
    // The elements of an array as groups; an element that is not an object gives an empty group.
    QVector<JsonGroup> groups(const QString &key) const;

private:
    int number(const QString &key, int fallback, const QMetaEnum &enumeration) const;
    QString parsedText(const QString &key, TextFormat format, const QString &unparsed) const;
    // @p found as the reader goes on with it, after telling the observer, if any; @p describe
    // fills in the lookup's path and whatever else it knows beyond the value and its type, and
    // runs only with an observer, so that reading without one builds nothing.
    template<typename Describe>
    QJsonValue observe(const QJsonValue &found, JsonType expected, Describe &&describe) const;
    // The value of @p key, observed as above.
    template<typename Describe>
    QJsonValue take(const QString &key, JsonType expected, Describe &&describe) const;
    QJsonArray elements(const QString &key, JsonType elementType) const;
    QJsonValue element(const QJsonArray &elements, int index, JsonType type, const QJsonValue &fallback,
                       const QString &key) const;

    QJsonObject m_object;
    JsonObserver *m_observer;
    JsonPath m_path;
};

#endif
