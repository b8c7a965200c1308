#include "vdsessionsettings_p.h"

#include "inifile_p.h"
#include "logging_p.h"

#include <internationalization/internationalization.h>

#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The launcher describes the host here, at the same place on every machine.
const QString machineDescriptionPath = QStringLiteral("C:/Users/Public/Documents/Calderwyn/sysInfo.ini");

} // namespace

Q_LOGGING_CATEGORY(lcVdSessionSettings, "vdsessionsettings", QtInfoMsg)

VdSessionSettingsPrivate::VdSessionSettingsPrivate()
    : mCertPath_(CertificatePath::old)
    , mDataDir_(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/VdSession"))
    , mSettingsIniPath_(mDataDir_ + QStringLiteral("/vdisettings.ini"))
    , mVideoDecoders_{QStringLiteral("DXVA")}
{
    mGeometrys_.insert(0, QRect());
    mVmOperator_.disconnection = 1;
    mVmOperator_.clientCtrlAltDel = 1;

    QSettings machine(machineDescriptionPath, QSettings::IniFormat);
    machine.beginGroup(QStringLiteral("cpu"));
    mCpuCores_ = machine.value(QStringLiteral("processors")).toInt();
    // The key says megahertz, but the launcher writes gigahertz ("2.40GHz").
    mCpuFrequency_ = machine.value(QStringLiteral("mhz")).toString().remove(QStringLiteral("GHz"), Qt::CaseInsensitive).toDouble();
    machine.endGroup();
    machine.beginGroup(QStringLiteral("memory"));
    mMemoryTotal_ = machine.value(QStringLiteral("total")).toDouble();
    mMemoryAvailable_ = machine.value(QStringLiteral("available")).toDouble();
    machine.endGroup();
}

void VdSessionSettingsPrivate::startUp(VdSessionSettings *q)
{
    q->d.reset(new VdSessionSettingsPrivate);
    q->d->mIsLangEnglish_ = Internationalization::instance()->isLangEnglish();
    q->loadSetting();
}

void VdSessionSettings::loadSetting()
{
    if (!QFile::exists(d->mSettingsIniPath_)) {
        spdlog::error("File{} not exist", d->mSettingsIniPath_);
        return;
    }

    QSettings settings(d->mSettingsIniPath_, QSettings::IniFormat);
    useUtf8(settings);
    readCertificateChoices(settings, &d->mServerUseNewCertificate_);
}

void VdSessionSettingsPrivate::logWindowMode() const
{
    qCInfo(lcVdSessionSettings).nospace() << "window mode : " << mWindowMode_;
}

void VdSessionSettingsPrivate::logRenderModes() const
{
    qCInfo(lcVdSessionSettings).nospace() << "render mode : " << mRenderMode_ << ",render system mode:" << mRenderSystemMode_;
}

QString sessionUuid(const QString &serverIp, const QString &vmUuid)
{
    return QString(serverIp).replace(QLatin1Char(':'), QLatin1Char('-')) + QLatin1Char('-') + vmUuid;
}

void logMalformedDocument(const QByteArray &content)
{
    // The content is printed up to its first NUL, as the launcher's tools have always shown it.
    spdlog::critical("{}  \r\nis error.", content.constData());
}
