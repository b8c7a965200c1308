#ifndef VDSESSION_SESSIONINPUT_H
#define VDSESSION_SESSIONINPUT_H

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class VdSessionSettings;

// The session file @p path whole, bounded and refused as the library reads session files; a
// file that cannot be read ends the command.
QByteArray readSessionFile(const QString &path);
// The session document in @p content; a file that is no session document ends the command.
QJsonObject parseSessionFile(const QString &path, const QByteArray &content);

// Reads the document as loadFromVdp() does, without the previous session's file: that is read,
// and deleted, only by loadFromVdp() itself.
void readDocument(VdSessionSettings *settings, const QJsonObject &root);
// Reads and loads @p path into @p settings, through loadFromVdp() itself when @p inherit.
QJsonObject loadSession(VdSessionSettings *settings, const QString &path, bool inherit);

// The screens the document remembers a window rectangle for, in either layout, whether or not
// the rectangle is usable.
QList<int> rememberedScreenIds(const QJsonObject &root);

// Every setting the session file @p path gives, as "show --json" prints them (settingsToJson()),
// with the window rectangles it remembers under "geometry".
QJsonObject sessionSettings(const QString &path, bool showSecrets, bool inherit);

#endif
