#include "vdsessionsettings.h"

#include "private/inifile_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString documentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

QString VdSessionSettings::version()
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/version.ini");
    spdlog::debug("versionFile is {}", path);

    // The version text is plain ASCII; unlike the other files this one is read without a codec.
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Calderwyn"));
    const QString version = settings.value(QStringLiteral("ExternalVersion")).toString();
    settings.endGroup();
    spdlog::info("version is {}", version);

    return version.simplified();
}

void VdSessionSettings::readVideoDecoders()
{
    const QString path = documentsFolder() + QLatin1Char('/') + QCoreApplication::applicationName()
        + QStringLiteral("/decoders.ini");
    const QString group = QStringLiteral("VIDEO_DECODERS");
    const QString key = QStringLiteral("DECODERS");

    if (QFile::exists(path)) {
        QSettings settings(path, QSettings::IniFormat);
        useUtf8(settings);
        settings.beginGroup(group);
        d->mVideoDecoders_ = settings.value(key).toStringList();
        settings.endGroup();
    } else {
        // A first run leaves the list it starts with in the file, for later runs to read. Written
        // now, so that the file is there as soon as this returns; or, when it cannot be written,
        // not there at all, and the next run tries again.
        const QStringList &decoders = d->mVideoDecoders_;
        rewriteIniFile(path, [&](QSettings &settings) { settings.setValue(group + QLatin1Char('/') + key, decoders); });
    }

    if (!d->mVideoDecoders_.isEmpty())
        spdlog::debug("videoDecoders: size:{}", d->mVideoDecoders_.size());
    else
        spdlog::debug("videoDecoders is empty");
}

Vdp::ServerType VdSessionSettings::getServerType()
{
    QSettings settings(documentsFolder() + QStringLiteral("/Calderwyn/settings.ini"), QSettings::IniFormat);
    useUtf8(settings);
    settings.beginGroup(QStringLiteral("SERVERINFO"));

    const QString currentServer = settings.contains(QStringLiteral("CURSERVERIP"))
        ? settings.value(QStringLiteral("CURSERVERIP")).toString()
        : QString();
    spdlog::debug("current server ip: {}", currentServer);

    int serverType = 0;
    const QVector<int> indices = arrayIndices(settings, settings.beginReadArray(QStringLiteral("SERVERS")));
    for (const int i : indices) {
        settings.setArrayIndex(i);
        if (!settings.contains(QStringLiteral("SERVERIP")))
            continue;

        const QString firstAddress = settings.value(QStringLiteral("SERVERIP")).toString();
        const QString secondAddress = settings.value(QStringLiteral("SECONDSERVERIP")).toString();
        const bool hasType = settings.contains(QStringLiteral("SERVERTYPE"));
        const int storedType = hasType ? settings.value(QStringLiteral("SERVERTYPE")).toInt() : 0;
        if (currentServer != firstAddress && currentServer != secondAddress)
            continue;

        if (storedType == 0 || storedType == 1) {
            serverType = storedType;
            spdlog::debug("contains type: {}", hasType);
        } else {
            // Any other stored type is not one the client knows; the port still tells a
            // gateway (443) from a direct connection.
            serverType = settings.value(QStringLiteral("SERVERPORT")).toString() == QLatin1String("443") ? 1 : 0;
            spdlog::debug("server type: ip: {}", storedType);
        }
        break;
    }
    settings.endArray();
    settings.endGroup();

    return static_cast<Vdp::ServerType>(serverType);
}
