// The session document in its current layout: identity, connection, addresses and policies,
// with the display, video and window block read in the middle of the same pass.
#include "currentreader_p.h"

#include "displayoptions_p.h"
#include "sessiondocument_p.h"
#include "private/jsonvalue_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

namespace {

using S = VdSessionSettings;

void readBasicOptions(VdSessionSettingsPrivate *d, const JsonGroup &basic)
{
    d->mRdrVmName_ = basic.string(QStringLiteral("RdrVmName"));
    // Only kept here; the program sets its logger's level from it.
    d->mLogLevel_ = basic.number(QStringLiteral("LogLevel"));
    d->mIsMMR_ = basic.boolean(QStringLiteral("IsMMR"));
    d->mIsSSO_ = basic.boolean(QStringLiteral("IsSSO"));
    d->mToolbarStyle_ = basic.number(QStringLiteral("toolbarStyle"));
    d->mIsAutoHideToolbar_ = basic.boolean(QStringLiteral("isAutoHideToolbar"));
    d->mIsMultiScreen_ = basic.boolean(QStringLiteral("IsMultiScreen"));
    d->mIsHighDPI_ = basic.boolean(QStringLiteral("IsHighDPI"));

    bool replaced = false;
    d->mDisplay4KType_ = basic.enumerationInRange(QStringLiteral("display4KType"), S::Display_4K_Default, S::Display_4K_OldPlatform,
                                                  S::Display_4K_Default, S::Display_4K_Default, &replaced);
    if (replaced)
        qCInfo(lcVdSessionSettings, "vdp display4KType parameter is error, now use Display_Default");
}

void readSessionOptions(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &basic)
{
    d->mNoMoreshowDialog_ = root.boolean(QStringLiteral("noMoreshowDialog"));
    d->mCertPath_ = basic.string(QStringLiteral("certPath"));
    d->mWindowStyle_ = basic.enumeration(QStringLiteral("windowStyle"), S::FullScreen);
    d->mCalderwynId_ = basic.string(QStringLiteral("calderwynId"));
    d->mSkin_ = basic.string(QStringLiteral("SKIN"));
    d->mIsThinClient_ = basic.boolean(QStringLiteral("isThinClient"));
    d->mIdlinkTempTicket_ = basic.string(QStringLiteral("idlink temp ticket"));
    d->mIsEsEnable_ = root.boolean(QStringLiteral("es enable"));
    d->mEsFrequency_ = root.number(QStringLiteral("es frequency"));
    d->mSoftwareName_ = root.string(QStringLiteral("software name"));

    // Launchers that know nothing of USB leave out the key; the program may have set the text.
    const QString usbKey = QStringLiteral("usbConfigInfo");
    if (basic.contains(usbKey))
        d->mUsbConfigs_ = basic.string(usbKey);
    for (const JsonGroup &disk : basic.groups(QStringLiteral("LocalDisk")))
        d->mDiskRedir_.append(disk.string(QStringLiteral("DeviceId")));

    spdlog::info("certPath:{}", d->mCertPath_);
    spdlog::info("isAutoHideToolbar:{}", d->mIsAutoHideToolbar_);

    bool replaced = false;
    d->mAutoBreakSecondTimes_ = basic.enumerationInRange(QStringLiteral("auto break second times"), S::AUTO_BREAK_TIME_5M,
                                                         S::AUTO_BREAK_TIME_NO, S::AUTO_BREAK_TIME_NO, S::AUTO_BREAK_TIME_5M,
                                                         &replaced);
    if (replaced)
        qCInfo(lcVdSessionSettings, "vdp autoBreakSecondTimes parameter is error, now use AUTO_BREAK_TIME_NO");

    d->mPrimaryScreenName_ = root.string(QStringLiteral("primary screen name"));
    spdlog::info("primary screen name: {}", d->mPrimaryScreenName_);
}

void readIdentity(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &vmSettings, const JsonGroup &vm)
{
    d->mLoginName_ = vmSettings.string(QStringLiteral("name"));
    // Launchers that log in with the user's own name leave the display name empty.
    d->mCurrentUsername_ = vmSettings.string(QStringLiteral("userName"));
    if (d->mCurrentUsername_.isEmpty())
        d->mCurrentUsername_ = d->mLoginName_;
    d->mPassword_ = vmSettings.string(QStringLiteral("password"));
    d->mSpicePassword_ = vmSettings.string(QStringLiteral("spice password"));
    d->mPoolName_ = vmSettings.string(QStringLiteral("poolName"));
    d->mDomain_ = vmSettings.string(QStringLiteral("domain"));
    d->mClientType_ = static_cast<Vdp::ClientType>(root.number(QStringLiteral("client type")));
    d->mComputerType_ = static_cast<Vdp::ComputerType>(vmSettings.number(QStringLiteral("computer type")));
    d->mServerIp_ = vmSettings.string(QStringLiteral("serverIp"));

    const QString vmUuid = vm.string(QStringLiteral("vmUuid"));
    d->mUuid_ = sessionUuid(d->mServerIp_, vmUuid);
    d->mVmUuid_ = vmUuid.toStdString();
}

void readConnection(VdSessionSettingsPrivate *d, const JsonGroup &root, const JsonGroup &vmSettings, const JsonGroup &vm)
{
    d->mCurrentNickname_ = vmSettings.string(QStringLiteral("nickname"));
    d->mProgramType_ = root.enumeration(QStringLiteral("vdsession_program_type"), S::VdpVM);
    // The broker hands the pool type on as text.
    d->mPoolType_ = static_cast<Vdp::PoolType>(vmSettings.decimalString(QStringLiteral("poolType")));
    d->mProtocol_ = vmSettings.string(QStringLiteral("protocol"));
    // A port is 16 bits; the conversion keeps the low ones of whatever the document says.
    d->mServerPort_ = static_cast<unsigned short>(vmSettings.number(QStringLiteral("serverPort")));
    d->mServerType_ = static_cast<Vdp::ServerType>(vmSettings.number(QStringLiteral("serverType")));
    // The broker writes the switch as the text "1"; nothing else turns it on.
    d->mIsEnableUpmPolicy_ = vmSettings.string(QStringLiteral("enable Upm Policy")) == QLatin1String("1");
    d->mOsType_ = vm.number(QStringLiteral("osType"));
    d->mOsVersion_ = vm.string(QStringLiteral("osVersion"));
    d->mVmName_ = vm.string(QStringLiteral("vmName"));
    d->mIsShowMinimize_ = root.boolean(QStringLiteral("is show minimize"));
    d->mRateLimitorPolicy_ = vm.group(QStringLiteral("controlPolicy")).string(QStringLiteral("ratelimitor policy"));
    d->mIsOpenLdap_ = vmSettings.number(QStringLiteral("isOpenldap"));
}

} // namespace

bool hasInheritedPreviousSession(const JsonGroup &root)
{
    return root.contains(QStringLiteral("inherit old vdp"));
}

void readCurrentLayout(VdSessionSettingsPrivate *d, const JsonGroup &root, VdSessionSettings::RenderMode defaultRenderMode)
{
    const JsonGroup basic = root.group(QStringLiteral("basic settings"));
    readBasicOptions(d, basic);
    readSessionOptions(d, root, basic);

    const JsonGroup vmSettings = root.group(QStringLiteral("vm settings"));
    const JsonGroup vm = vmSettings.group(QStringLiteral("vm"));
    readIdentity(d, root, vmSettings, vm);
    readConnection(d, root, vmSettings, vm);
    // The effective video mode in here needs the server type just read.
    readDisplayOptions(d, root, vm, defaultRenderMode);
    readVmAddresses(d, vm);
    d->mRdpClipboardPolicy_ = vm.group(QStringLiteral("controlPolicy"))
                                  .group(QStringLiteral("sharePolicy"))
                                  .number(QStringLiteral("rdpClipboard"));
    readOperatorPermissions(d, vm.group(QStringLiteral("vmOperator")));
}
