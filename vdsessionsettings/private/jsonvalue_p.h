#ifndef VDSESSIONSETTINGS_JSONVALUE_P_H
#define VDSESSIONSETTINGS_JSONVALUE_P_H

#include <vdsessionsettings/vdsessionsettings_export.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

// The conversions every reader of the library uses for the values of session documents and
// launch links. A value of another type than the one asked for gives the fallback.
//
// A reader may hand a collector along; it is then told of each key that is present with another
// type and of each value that a range check replaced. Without a collector nothing is built for it.

class VDSESSIONSETTINGS_EXPORT ReadDiagnostics
{
public:
    struct Finding
    {
        QString path;    // "vm settings/vm/serverPort"
        QString problem; // what was wrong and what was used instead
    };

    void wrongType(const QString &path, const char *expected, const QJsonValue &found);
    void replaced(const QString &path, qint64 found, qint64 used);

    const QVector<Finding> &findings() const { return m_findings; }

private:
    QVector<Finding> m_findings;
};

namespace JsonValue {

VDSESSIONSETTINGS_EXPORT QString toString(const QJsonValue &value, const QString &fallback = QString());
// A number whose value is integral and fits a 32-bit signed int.
VDSESSIONSETTINGS_EXPORT int toNumber(const QJsonValue &value, int fallback = 0);
// Only true and false; the number 1 is not a bool.
VDSESSIONSETTINGS_EXPORT bool toBool(const QJsonValue &value, bool fallback = false);
// A string holding a decimal integer; anything else, a JSON number included, gives 0.
VDSESSIONSETTINGS_EXPORT int toDecimalString(const QJsonValue &value);
// Text that is a decimal integer, or 0.
VDSESSIONSETTINGS_EXPORT int decimalOrZero(const QString &text);
// The pieces of a comma-separated list of integers ("0,0,1920,1080"), trimmed of surrounding
// blanks; empty pieces are kept.
VDSESSIONSETTINGS_EXPORT QStringList splitIntegers(const QString &text);

} // namespace JsonValue

// One object of a document with the conversions above, reading keys by name. Groups taken from
// it by group() read as empty objects when missing or of another type, so every key inside them
// takes its fallback.
class VDSESSIONSETTINGS_EXPORT JsonGroup
{
public:
    explicit JsonGroup(const QJsonObject &object, ReadDiagnostics *diagnostics = nullptr,
                       const QString &path = QString());

    bool contains(const QString &key) const { return m_object.contains(key); }
    QJsonValue value(const QString &key) const { return m_object.value(key); }
    const QJsonObject &object() const { return m_object; }

    QString string(const QString &key, const QString &fallback = QString()) const;
    int number(const QString &key, int fallback = 0) const;
    bool boolean(const QString &key, bool fallback = false) const;
    int decimalString(const QString &key) const;
    JsonGroup group(const QString &key) const;
    QJsonArray array(const QString &key) const;
    // A number kept when it lies within [low, high], else @p outOfRange; a missing key gives @p fallback.
    int numberInRange(const QString &key, int low, int high, int outOfRange, int fallback = 0,
                      bool *replaced = nullptr) const;

    // The strings of an array, in order; an element of another type gives an empty string.
    QStringList strings(const QString &key) const;
    // The elements of an array as groups; an element that is not an object gives an empty group.
    QVector<JsonGroup> groups(const QString &key) const;

private:
    QString pathOf(const QString &key) const;
    // Tells the collector of a present value that @p accepts refuses.
    void check(const QString &key, const char *expected, bool (*accepts)(const QJsonValue &)) const;

    QJsonObject m_object;
    ReadDiagnostics *m_diagnostics;
    QString m_path;
};

#endif
