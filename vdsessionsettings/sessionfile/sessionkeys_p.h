#ifndef VDSESSIONSETTINGS_SESSIONKEYS_P_H
#define VDSESSIONSETTINGS_SESSIONKEYS_P_H

#include <vdsessionsettings/sessioncheck.h>

#include "private/jsonvalue_p.h"

#include <QHash>
#include <QMetaEnum>
#include <QString>
#include <QVector>

class VdSessionSettingsPrivate;

// The keys of the session file as checking and describing it know them. What the readers take is
// found by running them (describeReaders()); what each key means is said once, in a table keyed by
// the keys' patterns (JsonPath::pattern()).
namespace SessionKeys {

enum Flag {
    Secret = 1,  // grants access: its value is never shown
    Saved = 2,   // saveToVdp() writes it back
    NotRead = 4, // saveToVdp() writes it, but no reader of the layout takes it
};

struct Key
{
    QString pattern;
    QString description;
    int flags = 0;
};

// Every key of @p layout: the ones its reader takes and the ones the writer adds, in the table's order.
const QVector<Key> &keys(VdSessionCheck::Layout layout);
const Key *find(VdSessionCheck::Layout layout, const QString &pattern);

// What the reader of a layout does with one key, gathered over every step that takes it.
struct Shape
{
    QVector<JsonType> types; // in the order first taken; Any left out
    JsonType elements = JsonType::Any;
    QJsonValue fallback = QJsonValue::Undefined;
    bool whole = false;
    bool ranged = false;
    int low = 0;
    int high = 0;
    int outOfRange = 0;
    QMetaEnum enumeration;
    TextFormat format = TextFormat::Free;
};

// Runs the reader of @p layout over an empty document, taking every branch, and tells what it took.
const QHash<QString, Shape> &describeReaders(VdSessionCheck::Layout layout);

// The reader of @p layout as loading runs it, but without its one step that touches another file,
// the previous session's inheritance.
void readWithoutSideEffects(VdSessionSettingsPrivate *d, const JsonGroup &root, VdSessionCheck::Layout layout);

// "a string", "an integral number", "a string holding a decimal integer of 32 bits" ... for messages.
QString typeName(JsonType type, TextFormat format = TextFormat::Free);
// "a decimal integer of 32 bits", "a rectangle \"left,top,width,height\" of four integers" ...
QString formatName(TextFormat format);

} // namespace SessionKeys

#endif
