#ifndef VDSESSION_SETTINGSVIEW_H
#define VDSESSION_SETTINGSVIEW_H

#include <QJsonObject>
#include <QRect>

// The settings dump (settingsToJson()) for people, in sections, or for scripts as one JSON object.
void printDump(const QJsonObject &dump, bool json);

// A rectangle of the dump, {"x", "y", "width", "height"}; null for anything else.
QRect rectFromJson(const QJsonValue &value);

#endif
