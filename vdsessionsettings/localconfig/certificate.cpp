#include "vdsessionsettings.h"

#include "private/inifile_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString newCertificatePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + CertificatePath::newRelative;
}

} // namespace

void readCertificateChoices(QSettings &settings, QMap<QString, bool> *servers)
{
    settings.beginGroup(CertificateIni::group);
    const QVector<int> indices = arrayIndices(settings, settings.beginReadArray(CertificateIni::array));
    for (const int i : indices) {
        settings.setArrayIndex(i);
        const bool useNew = settings.value(CertificateIni::useNewKey, false).toBool();
        const QString server = settings.value(CertificateIni::serverKey).toString();
        if (!servers->contains(server))
            servers->insert(server, useNew);
    }
    settings.endArray();
    settings.endGroup();
}

QString VdSessionSettings::getCertPath() { return d->mCertPath_; }

void VdSessionSettings::setCertPath(const QString &path) { d->mCertPath_ = path; }

void VdSessionSettings::setCertPathAsDefault() { d->mCertPath_ = CertificatePath::old; }

void VdSessionSettings::resetCertPath()
{
    spdlog::info("reset cert path!");
    d->mCertPath_ = CertificatePath::old;
}

bool VdSessionSettings::isServerUseNewCertificate(const QString &server)
{
    // A server nobody recorded is one that has always worked with the old certificate.
    if (d->mServerUseNewCertificate_.value(server, false)) {
        spdlog::info("use new certificate:{}", server);
        return true;
    }
    spdlog::info("user old certificate:{}", server);
    return false;
}

void VdSessionSettings::setCertPathFromServer(const QString &server)
{
    if (!isServerUseNewCertificate(server)) {
        d->mCertPath_ = CertificatePath::old;
        return;
    }

    // Without the new certificate's file the old one is the only one left to try.
    const QString path = newCertificatePath();
    if (QFile::exists(path)) {
        spdlog::info("using new certificate serverIp:{} {}", server, path);
        d->mCertPath_ = path;
    } else {
        d->mCertPath_ = CertificatePath::old;
    }
}

void VdSessionSettings::updateServerUseNewCertificate(const QString &server, bool useNew)
{
    d->mCertPath_ = newCertificatePath();
    d->mServerUseNewCertificate_.insert(server, useNew);

    // Other processes record their own servers' choices in the same file. The file as it is under
    // its lock is read again, and only this server's entry changes. The array is then written
    // afresh: dropping the old one first matters when it was longer, as when it listed a server
    // twice, since its last elements would otherwise stay behind the new size and come back should
    // the size ever grow again. When the file cannot be written it keeps its old content, and the
    // choice holds for this session only.
    rewriteIniFile(d->mSettingsIniPath_, [&server, useNew](QSettings &settings) {
        QMap<QString, bool> servers;
        readCertificateChoices(settings, &servers);
        servers.insert(server, useNew);
        settings.beginGroup(CertificateIni::group);
        settings.remove(CertificateIni::array);
        settings.beginWriteArray(CertificateIni::array, servers.size());
        int index = 0;
        for (auto it = servers.cbegin(); it != servers.cend(); ++it) {
            settings.setArrayIndex(index++);
            settings.setValue(CertificateIni::serverKey, it.key());
            settings.setValue(CertificateIni::useNewKey, it.value());
        }
        settings.endArray();
        settings.endGroup();
    });
}

void VdSessionSettings::setCurServerArch(const QString &arch)
{
    // The architecture a server reports is logged only; the client works with every server as x86.
    spdlog::info("curServerArch {}", arch);
    d->mCurServerArch_ = QStringLiteral("X86");
}
