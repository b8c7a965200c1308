#ifndef VDSESSION_SESSIONEDIT_H
#define VDSESSION_SESSIONEDIT_H

#include "keypointer.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

// A session file read for a change to one of its keys: its bytes as read and its document.
struct SessionEdit
{
    QString path;
    QByteArray content;
    QJsonObject root;
    Layout layout = Layout::Current;
};

// Reads the session file @p path for a change; one that is no session document ends the command.
SessionEdit openForEdit(const QString &path);

// A key named for get, set or reset: one of the file, so a "*" ends the command.
KeyPointer fileKey(const QString &text);

// @p root with @p value at @p pointer. Missing objects on the way are created, an array where the
// next step is an element's index; an index one past an array's end appends. Any other step that
// does not fit the document ends the command.
QJsonObject withValue(const QJsonObject &root, const KeyPointer &pointer, const QJsonValue &value);
// @p root without the key or element at @p pointer, or nothing when it holds none.
std::optional<QJsonObject> withoutKey(const QJsonObject &root, const KeyPointer &pointer);

// Writes @p root over the file, whose only change is at @p changed, as saveToVdp() writes the file
// and through the same checked writer; any failure ends the command with the file as it was. A
// change that would turn the file into the other layout, or a rewrite that would change a number
// elsewhere in it, is refused.
void writeEdit(const SessionEdit &edit, const QJsonObject &root, const KeyPointer &changed);

#endif
