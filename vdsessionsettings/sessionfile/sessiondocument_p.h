#ifndef VDSESSIONSETTINGS_SESSIONDOCUMENT_P_H
#define VDSESSIONSETTINGS_SESSIONDOCUMENT_P_H

#include <vdsessionsettings/vdsessionsettings.h>

#include <QByteArray>
#include <QJsonObject>
#include <QRect>

class JsonGroup;
class VdSessionSettingsPrivate;

// What the session file's two layouts, and the programs that read and write them, have in common.

// The top-level object of a session file's content. Text that is no JSON document, or an empty
// one, is reported with the content itself, and gives false.
bool parseSessionDocument(const QByteArray &content, QJsonObject *root);

// Whether @p root is in the legacy layout: it has a "vdsession settings" key, whatever its value.
VDSESSIONSETTINGS_EXPORT bool hasLegacyLayout(const QJsonObject &root);

// The whole content of the session file @p path, for a caller that reads no other file. False,
// with the reason in @p errorString, when it is no regular file or cannot be read.
VDSESSIONSETTINGS_EXPORT bool readSessionFileContent(const QString &path, QByteArray *content, QString *errorString);

// A window rectangle as the writer stores it: "left,top,width,height". A piece that is not a
// decimal integer counts as 0; any other number of pieces is no rectangle at all.
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
