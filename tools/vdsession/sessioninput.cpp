#include "sessioninput.h"

#include "commands.h"
#include "settingsdump.h"

#include <vdsessionsettings/sessionfiles.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>

QByteArray readSessionFile(const QString &path)
{
    QByteArray content;
    QString problem;
    if (!VdSessionFiles::readWholeFile(path, &content, &problem))
        fail(QStringLiteral("%1: %2").arg(path, problem));
    return content;
}

QJsonObject parseSessionFile(const QString &path, const QByteArray &content)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(content, &parseError);
    if (document.isNull())
        fail(QStringLiteral("not JSON (%1 at byte %2): %3").arg(parseError.errorString()).arg(parseError.offset).arg(path));
    // The loader turns these away too.
    if (document.isEmpty())
        fail(QStringLiteral("an empty JSON document: %1").arg(path));
    return document.object();
}

void readDocument(VdSessionSettings *settings, const QJsonObject &root)
{
    if (root.contains(QStringLiteral("vdsession settings")))
        settings->fromOldJson(root);
    else
        settings->fromJson(root);
}

QJsonObject loadSession(VdSessionSettings *settings, const QString &path, bool inherit)
{
    const QJsonObject root = parseSessionFile(path, readSessionFile(path));
    if (inherit) {
        if (!settings->loadFromVdp(path))
            fail(QStringLiteral("the library could not load %1").arg(path));
    } else {
        readDocument(settings, root);
    }
    return root;
}

QList<int> rememberedScreenIds(const QJsonObject &root)
{
    QSet<int> ids;
    if (root.contains(QStringLiteral("geometry")))
        ids.insert(0);
    for (const QJsonObject &group : {root, root.value(QStringLiteral("vdsession settings")).toObject()}) {
        for (const QJsonValue &screen : group.value(QStringLiteral("geometrys")).toArray()) {
            if (screen.isObject())
                ids.insert(screen.toObject().value(QStringLiteral("id")).toInt());
        }
    }
    QList<int> sorted = ids.values();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

QJsonObject sessionSettings(const QString &path, bool showSecrets, bool inherit)
{
    VdSessionSettings *settings = VdSessionSettings::instance();
    const QJsonObject root = loadSession(settings, path, inherit);
    QJsonObject dump = settingsToJson(*settings, showSecrets);
    dump.insert(QStringLiteral("geometry"), rememberedGeometries(*settings, rememberedScreenIds(root)));
    return dump;
}
