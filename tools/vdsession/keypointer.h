#ifndef VDSESSION_KEYPOINTER_H
#define VDSESSION_KEYPOINTER_H

#include <vdsessionsettings/sessioncheck.h>

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <optional>

using Layout = VdSessionCheck::Layout;

// A key of a session file named by its JSON Pointer, as check prints it ("/basic settings/IsMMR",
// "/geometrys/0/geometry"). A "*" step stands for any element of an array, as in the schema.
class KeyPointer
{
public:
    KeyPointer() = default;
    explicit KeyPointer(const QStringList &steps)
        : m_steps(steps)
    {
    }

    // The pointer @p text names; one that is no JSON Pointer ends the command.
    static KeyPointer parse(const QString &text);

    // The keys and indices on the way, unescaped.
    const QStringList &steps() const { return m_steps; }
    // Escaped, as the check writes its findings' paths.
    QString text() const;
    // This key itself or one inside it.
    bool covers(const QString &path) const;
    bool hasWildcard() const { return m_steps.contains(QStringLiteral("*")); }
    KeyPointer first(int count) const { return KeyPointer(m_steps.mid(0, count)); }

private:
    QStringList m_steps;
};

// "0", "12"; not "01", "-1" or "*".
bool isArrayIndex(const QString &step);

// The layout a document is read in: the legacy one when it has the legacy group, whatever its value.
Layout layoutOf(const QJsonObject &root);

// Why @p layout has no key at @p pointer, with the nearest known key when the pointer looks like a
// typo of one; empty when the layout knows it. A key inside an object the readers hand on whole
// counts as known.
QString unknownKeyProblem(Layout layout, const KeyPointer &pointer);

// The schema of the session file's @p layout, and the part of it that describes the key at
// @p pointer: nothing when the schema says nothing of it, as inside an object handed on whole.
QJsonObject layoutSchema(Layout layout);
std::optional<QJsonObject> keySchema(Layout layout, const KeyPointer &pointer);

// What a key takes, from its schema: "an integer from 0 to 4", "a string matching ...".
QString takenValues(const QJsonObject &schema);
// The enumerators a key's schema names, "0 SingleWindowMode, 1 MultiSDLWindowMode".
QString enumeratorList(const QJsonObject &schema);
// A value as compact JSON, the way get prints a number, a string or a bool.
QString jsonText(const QJsonValue &value);

// Whether @p value is a secret under @p schema or holds one.
bool holdsSecret(const QJsonValue &value, const QJsonObject &schema);
// @p value with every secret under @p schema written as "***".
QJsonValue maskSecrets(const QJsonValue &value, const QJsonObject &schema);

// The value stored at @p pointer in @p root, if any.
std::optional<QJsonValue> valueAt(const QJsonObject &root, const KeyPointer &pointer);

#endif
