#ifndef VDSESSIONSETTINGS_SESSIONDOCUMENT_P_H
#define VDSESSIONSETTINGS_SESSIONDOCUMENT_P_H

#include <vdsessionsettings/vdsessionsettings.h>

#include <QByteArray>
#include <QJsonObject>
#include <QRect>

class JsonGroup;
class VdSessionSettingsPrivate;

// What the session file's two layouts, and the programs that read and write them, have in common.

// A session file, like the previous session's file, is a few kilobytes of JSON; even one listing
// ten thousand screens and addresses stays near a megabyte. Anything larger is refused unread.
constexpr qint64 maximumSessionFileSize = 16 * 1024 * 1024;

// The whole content of the session file at @p path, read only when it is a regular file of at
// most maximumSessionFileSize bytes: a device, a pipe or a directory would be read forever, or
// block, or give nothing. Otherwise false, with one line naming the problem in @p errorString
// ("not a regular file", "larger than 16 MiB", "cannot be opened: <reason>").
bool readSessionFileContent(const QString &path, QByteArray *content, QString *errorString);

// The top-level object of a session file's content. Text that is no JSON document, or an empty
// one, is reported with the content itself, and gives false.
bool parseSessionDocument(const QByteArray &content, QJsonObject *root);

// Whether @p root is in the legacy layout: it has a "vdsession settings" key, whatever its value.
bool hasLegacyLayout(const QJsonObject &root);

// A window rectangle as the writer stores it: "left,top,width,height". A piece that is not a
// decimal integer counts as 0, and each number is held to +-2^24; any other number of pieces is
// no rectangle at all.
bool rectangleFromText(const QString &text, QRect *rect);

// The "geometrys" array of @p group, one rectangle per screen id. An entry replaces the one of
// the same id; screens the document does not name keep theirs.
void readScreenGeometries(VdSessionSettingsPrivate *d, const JsonGroup &group);

// "window mode", "render mode" and "render system mode" of the top-level object. A single window
// is no longer offered; sessions that had it get one SDL window per screen.
void readWindowModes(VdSessionSettingsPrivate *d, const JsonGroup &root, VdSessionSettings::RenderMode defaultRenderMode);

// The VM's "lstIps" and "lstAddresses", appended to what earlier loads listed.
void readVmAddresses(VdSessionSettingsPrivate *d, const JsonGroup &vm);

// The fourteen operator permissions of "vmOperator"; a missing one is not granted.
void readOperatorPermissions(VdSessionSettingsPrivate *d, const JsonGroup &vmOperator);

#endif
