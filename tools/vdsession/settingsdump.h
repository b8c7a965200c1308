#ifndef VDSESSION_SETTINGSDUMP_H
#define VDSESSION_SETTINGSDUMP_H

#include <QJsonArray>
#include <QJsonObject>
#include <QList>

class VdSessionSettings;

/**
 * Every setting @p settings holds, as one JSON object for scripts and golden files.
 *
 * Keys are the names of the library's properties and accessors ("serverIp", "getVmName",
 * "vmAddrs" ...); enumerations appear as their key names, a number no key has as the number.
 * Values with a platform side, a user side and one in force appear as {"platform", "user",
 * "actual"}. The video policy and the rate limiter policy appear as the JSON they hold.
 *
 * Whatever grants access (the passwords, the portal token, the sign-on ticket) reads "***", or ""
 * when empty, unless @p showSecrets.
 *
 * Nothing in the record changes, and no file is written.
 */
QJsonObject settingsToJson(VdSessionSettings &settings, bool showSecrets);

/** A secret's value as settingsToJson() shows it hidden: "***", or "" when empty. */
QJsonValue maskedSecret(const QJsonValue &value);

/** Whether the setting @p name of the dump is one that settingsToJson() hides. */
bool isSecretSetting(const QString &name);

/**
 * The window rectangle remembered for each of @p screenIds, as {"id", "geometry": {"x",
 * "y", "width", "height"}}; a screen with nothing usable remembered (no rectangle, or an empty
 * one) has a null geometry. Reading them records nothing.
 */
QJsonArray rememberedGeometries(const VdSessionSettings &settings, const QList<int> &screenIds);

#endif
