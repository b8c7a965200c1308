#include "vdsessionsettings.h"

#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"
#include "sessionfile/legacyreader_p.h"
#include "sessionfile/sessiondocument_p.h"

#include <moduleinfo/modulefilename.h>

#include <QDebug>

namespace {

// Earlier launchers left "certPath" empty and meant the certificate shipped beside the program.
QString certificateBesideExecutable()
{
    const std::string executable = ModuleInfo::executablePath();
    const std::string::size_type separator = executable.rfind(ModuleInfo::nativeSeparator);
    const std::string directory = separator == std::string::npos ? std::string() : executable.substr(0, separator + 1);
    return QString::fromUtf8(directory.data(), int(directory.size())) + CertificatePath::old;
}

} // namespace

void readLegacyLayout(VdSessionSettingsPrivate *d, const JsonGroup &root, VdSessionSettings::RenderMode defaultRenderMode)
{
    using S = VdSessionSettings;

    const JsonGroup basic = root.group(QStringLiteral("basic settings"));
    // The old launcher counted its levels the other way round.
    d->mLogLevel_ = 5 - basic.number(QStringLiteral("log level"));
    // These layouts predate the options below; sessions they start behave as those launchers did.
    d->mIsAutoHideToolbar_ = true;

    d->mWindowStyle_ = basic.enumeration(QStringLiteral("windowStyle"), S::FullScreen);
    d->mCalderwynId_ = basic.string(QStringLiteral("calderwynId"));
    d->mSkin_ = basic.string(QStringLiteral("SKIN"));
    d->mIsThinClient_ = basic.boolean(QStringLiteral("isThinClient"));
    d->mIsMMR_ = false;
    d->mIsSSO_ = true;
    d->mIsOpenLdap_ = basic.number(QStringLiteral("isOpenldap"));
    if (basic.contains(QStringLiteral("usbConfigInfo")))
        d->mUsbConfigs_ = basic.string(QStringLiteral("usbConfigInfo"));

    bool autoBreakReplaced = false;
    d->mAutoBreakSecondTimes_ = basic.enumerationInRange(QStringLiteral("auto break second times"), S::AUTO_BREAK_TIME_5M,
                                                         S::AUTO_BREAK_TIME_NO, S::AUTO_BREAK_TIME_NO, S::AUTO_BREAK_TIME_5M,
                                                         &autoBreakReplaced);
    if (autoBreakReplaced)
        spdlog::info("vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO");

    const JsonGroup user = root.group(QStringLiteral("user settings")).group(QStringLiteral("current user settings"));
    const JsonGroup session = root.group(QStringLiteral("vdsession settings"));
    const JsonGroup desktop = session.group(QStringLiteral("vm"));
    const JsonGroup vm = desktop.group(QStringLiteral("vm"));

    d->mCertPath_ = session.string(QStringLiteral("certPath"));
    if (d->mCertPath_.isEmpty())
        d->mCertPath_ = certificateBesideExecutable();
    spdlog::info("cerpath initial result: {}", d->mCertPath_);

    d->mLoginName_ = desktop.string(QStringLiteral("name"));
    // Unlike the current layout, an empty user name does not fall back to the login name.
    d->mCurrentUsername_ = user.string(QStringLiteral("username"));
    d->mPassword_ = user.string(QStringLiteral("password"));
    d->mSpicePassword_ = desktop.string(QStringLiteral("spicePassword"));
    d->mDomain_ = desktop.string(QStringLiteral("domain"));
    d->mClientType_ = static_cast<Vdp::ClientType>(basic.number(QStringLiteral("client type")));
    spdlog::info("user name: {}", d->mCurrentUsername_);

    d->mIsMultiScreen_ = session.boolean(QStringLiteral("is use multiscreen"));
    d->mComputerType_ = static_cast<Vdp::ComputerType>(basic.number(QStringLiteral("computer type")));
    d->mServerIp_ = session.string(QStringLiteral("server ip"));
    d->mIsWebSSOLogin_ = session.number(QStringLiteral("webSSOLogin"));
    d->mH5ClientUuid_ = session.string(QStringLiteral("h5ClientUuid"));

    // The VM identifier only names the session here; mVmUuid_ stays as the caller set it.
    d->mUuid_ = sessionUuid(d->mServerIp_, vm.string(QStringLiteral("vmUuid")));

    d->mCurrentNickname_ = user.string(QStringLiteral("nickname"));
    d->mProgramType_ = session.enumeration(QStringLiteral("vdsession_program_type"), S::VdpVM);
    d->mPoolType_ = static_cast<Vdp::PoolType>(1);
    d->mProtocol_ = session.string(QStringLiteral("protocol"));
    d->mServerPort_ = static_cast<unsigned short>(session.number(QStringLiteral("server port")));
    d->mServerType_ = static_cast<Vdp::ServerType>(session.number(QStringLiteral("server type")));

    d->mOsType_ = vm.number(QStringLiteral("osType"));
    d->mOsVersion_ = vm.string(QStringLiteral("osVersion"));
    d->mVmName_ = vm.group(QStringLiteral("vm")).string(QStringLiteral("vmName"));

    d->mIsShowMinimize_ = session.boolean(QStringLiteral("is show minimize"));
    const JsonGroup controlPolicy = vm.group(QStringLiteral("controlPolicy"));
    d->mRateLimitorPolicy_ = controlPolicy.string(QStringLiteral("ratelimitor policy"));

    // Absent means "as inherited or chosen before", not "office".
    if (session.contains(QStringLiteral("stream_control_value")))
        d->mStreamMode_ = session.enumeration(QStringLiteral("stream_control_value"), S::TYPE_STREAM_OFFICE);

    if (session.contains(QStringLiteral("render_type")))
        d->mImageRenderType_ = session.number(QStringLiteral("render_type"));
    else
        spdlog::info("render_type is not defined");
    if (session.contains(QStringLiteral("render_flag")))
        d->mSDLRenderFlag_ = session.number(QStringLiteral("render_flag"));
    else
        spdlog::info("render_flag is not defined");

    d->mMouseMode_ = session.enumeration(QStringLiteral("mouse_mode"), S::LOCAL_MODE);

    readScreenGeometries(d, session);

    readWindowModes(d, root, defaultRenderMode);
    d->logRenderModes();

    readVmAddresses(d, vm);

    d->mRdpClipboardPolicy_ = controlPolicy.group(QStringLiteral("sharePolicy")).number(QStringLiteral("rdpClipboard"));

    readOperatorPermissions(d, vm.group(QStringLiteral("vmOperator")));
}

void VdSessionSettings::fromOldJson(const QJsonObject &root)
{
    readLegacyLayout(d.get(), JsonGroup(root), getDefaultRenderMode());
}
