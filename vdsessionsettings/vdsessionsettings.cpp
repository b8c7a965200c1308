#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

#include <QMetaType>
#include <QQmlEngine>

namespace {

VdSessionSettings *s_instance = nullptr;

// The meta-object names the common library's enumerations by their bare names; they travel as
// integers, so the names stand for int.
void registerCommonTypes()
{
    qRegisterMetaType<int>("ClientType");
    qRegisterMetaType<int>("ServerType");
}
Q_CONSTRUCTOR_FUNCTION(registerCommonTypes)

QObject *provideSingleton(QQmlEngine *, QJSEngine *)
{
    // An engine deletes the singletons it owns when it goes; this one outlives every engine.
    VdSessionSettings *settings = VdSessionSettings::instance();
    QQmlEngine::setObjectOwnership(settings, QQmlEngine::CppOwnership);
    return settings;
}

} // namespace

VdSessionSettings::VdSessionSettings(QObject *parent)
    : QObject(parent)
{
    VdSessionSettingsPrivate::startUp(this);
}

VdSessionSettings::~VdSessionSettings() = default;

VdSessionSettings *VdSessionSettings::instance()
{
    if (!s_instance)
        s_instance = new VdSessionSettings;
    return s_instance;
}

void VdSessionSettings::qmlRegisterSingletonType()
{
    ::qmlRegisterSingletonType<VdSessionSettings>("com.virtual.vdi", 1, 0, "Settings", provideSingleton);
}

bool VdSessionSettings::isWindows() { return true; }
bool VdSessionSettings::isLangEnglish() const { return d->mIsLangEnglish_; }

// Window

bool VdSessionSettings::isShowMinimize() const { return d->mIsShowMinimize_; }

void VdSessionSettings::setIsShowMinimize(bool value)
{
    d->mIsShowMinimize_ = value;
    Q_EMIT isShowMinimizeChanged();
}

bool VdSessionSettings::noMoreshowDialog() { return d->mNoMoreshowDialog_; }
void VdSessionSettings::setNoMoreshowDialog(const bool &value) { d->mNoMoreshowDialog_ = value; }

VdSessionSettings::WindowMode VdSessionSettings::windowMode() { return d->mWindowMode_; }

void VdSessionSettings::setWindowMode(const WindowMode &windowMode)
{
    if (d->mWindowMode_ == windowMode)
        return;
    d->mWindowMode_ = windowMode;
    Q_EMIT windowModeChanged();
}

VdSessionSettings::MouseMode VdSessionSettings::mouseMode() { return d->mMouseMode_; }

void VdSessionSettings::setMouseMode(const MouseMode &mode)
{
    if (d->mMouseMode_ == mode)
        return;
    d->mMouseMode_ = mode;
}

int VdSessionSettings::toolbarStyle() const { return d->mToolbarStyle_; }
void VdSessionSettings::setToolbarStyle(int style) { d->mToolbarStyle_ = style; }
bool VdSessionSettings::isAutoHideToolbar() const { return d->mIsAutoHideToolbar_; }

void VdSessionSettings::setIsAutoHideToolbar(bool autoHide)
{
    if (d->mIsAutoHideToolbar_ == autoHide)
        return;
    d->mIsAutoHideToolbar_ = autoHide;
    Q_EMIT isAutoHideToolbarChanged();
}

VdSessionSettings::WindowStyle VdSessionSettings::windowStyle() { return d->mWindowStyle_; }

void VdSessionSettings::setWindowStyle(const WindowStyle &style)
{
    if (d->mWindowStyle_ == style)
        return;
    d->mWindowStyle_ = style;
    Q_EMIT windowStyleChanged();
}

QString VdSessionSettings::skin() { return d->mSkin_; }

void VdSessionSettings::setSkin(const QString &skin)
{
    d->mSkin_ = skin;
    Q_EMIT skinChanged();
}

QString VdSessionSettings::getPrimaryScreenName() { return d->mPrimaryScreenName_; }
void VdSessionSettings::setMenuBarHeight(int height) { d->mMenuBarHeight_ = height; }
void VdSessionSettings::setMenuBarHideStatus(bool hidden) { d->mMenuBarHideStatus_ = hidden; }

// Identity

QString VdSessionSettings::getVmName() { return d->mVmName_; }
void VdSessionSettings::setVmName(const QString &name) { d->mVmName_ = name; }
QString VdSessionSettings::getPoolName() { return d->mPoolName_; }
void VdSessionSettings::setPoolName(const QString &name) { d->mPoolName_ = name; }
QString VdSessionSettings::getVmUuid() { return QString::fromStdString(d->mVmUuid_); }
bool VdSessionSettings::isStartByWeb() const { return d->mIsStartByWeb_; }
QString VdSessionSettings::uuid() { return d->mUuid_; }
void VdSessionSettings::setUuid(const QString &uuid) { d->mUuid_ = uuid; }
std::string VdSessionSettings::vmuuid() { return d->mVmUuid_; }
QString VdSessionSettings::currentUsername() { return d->mCurrentUsername_; }

void VdSessionSettings::setCurrentUsername(const QString &name)
{
    d->mCurrentUsername_ = name.isEmpty() ? d->mLoginName_ : name;
}

QString VdSessionSettings::currentNickname() { return d->mCurrentNickname_; }
QString VdSessionSettings::getNickName() { return d->mCurrentNickname_; }
void VdSessionSettings::setCurrentNickname(const QString &nickname) { d->mCurrentNickname_ = nickname; }
QString VdSessionSettings::loginName() { return d->mLoginName_; }
void VdSessionSettings::setLoginName(const QString &name) { d->mLoginName_ = name; }
QString VdSessionSettings::getPassword() { return d->mPassword_; }
void VdSessionSettings::setPassword(const QString &password) { d->mPassword_ = password; }
QString VdSessionSettings::getSpicePassword() { return d->mSpicePassword_; }
QString VdSessionSettings::domain() { return d->mDomain_; }
void VdSessionSettings::setDomain(const QString &domain) { d->mDomain_ = domain; }
QString VdSessionSettings::token() { return d->mToken_; }
void VdSessionSettings::setToken(const QString &token) { d->mToken_ = token; }
QString VdSessionSettings::getIdlinkTempTicket() { return d->mIdlinkTempTicket_; }
void VdSessionSettings::setIdlinkTempTicket(QString ticket) { d->mIdlinkTempTicket_ = std::move(ticket); }
int VdSessionSettings::isWebSSOLogin() const { return d->mIsWebSSOLogin_; }
QString VdSessionSettings::h5ClientUuid() { return d->mH5ClientUuid_; }

int VdSessionSettings::isOpenLdap()
{
    spdlog::info("isOpenLdap: {}", d->mIsOpenLdap_);
    return d->mIsOpenLdap_;
}

void VdSessionSettings::setIsOpenLdap(int openLdap)
{
    if (d->mIsOpenLdap_ == openLdap)
        return;
    d->mIsOpenLdap_ = openLdap;
}

QString VdSessionSettings::getCalderwynId() { return d->mCalderwynId_; }
QString VdSessionSettings::getSoftwareName() { return d->mSoftwareName_; }
QString VdSessionSettings::getUsbConfigs() { return d->mUsbConfigs_; }
QStringList VdSessionSettings::getDiskRedir() { return d->mDiskRedir_; }
QString VdSessionSettings::getRdrVmName() { return d->mRdrVmName_; }
void VdSessionSettings::setRdrVmName(const QString &name) { d->mRdrVmName_ = name; }
Vdp::PoolType VdSessionSettings::poolType() { return d->mPoolType_; }
void VdSessionSettings::setPoolType(const Vdp::PoolType &type) { d->mPoolType_ = type; }
VdSessionSettings::VdSessionProgramType VdSessionSettings::programType() { return d->mProgramType_; }

// Connection

QString VdSessionSettings::serverIp() { return d->mServerIp_; }

void VdSessionSettings::setServerIp(const QString &ip)
{
    d->mServerIp_ = ip;
    Q_EMIT serverIpChanged();
}

unsigned short VdSessionSettings::serverPort() const { return d->mServerPort_; }

void VdSessionSettings::setServerPort(unsigned short port)
{
    d->mServerPort_ = port;
    Q_EMIT serverPortChanged();
}

Vdp::ServerType VdSessionSettings::serverType() { return d->mServerType_; }

void VdSessionSettings::setServerType(const Vdp::ServerType &type)
{
    d->mServerType_ = type;
    Q_EMIT serverTypeChanged();
}

QString VdSessionSettings::protocol() { return d->mProtocol_; }
void VdSessionSettings::setProtocol(const QString &protocol) { d->mProtocol_ = protocol; }

bool VdSessionSettings::isRdp() const
{
    return d->mPoolType_ == Vdp::PoolRdp || d->mProtocol_ == QLatin1String("rdp");
}

QString VdSessionSettings::getOsVersion() { return d->mOsVersion_; }
int VdSessionSettings::getOsType() { return d->mOsType_; }
void VdSessionSettings::setOsType(int type) { d->mOsType_ = type; }

// Client device

Vdp::ClientType VdSessionSettings::clientType() { return d->mClientType_; }
void VdSessionSettings::setClientType(const Vdp::ClientType &type) { d->mClientType_ = type; }
Vdp::ComputerType VdSessionSettings::computerType() { return d->mComputerType_; }
void VdSessionSettings::setComputerType(const Vdp::ComputerType &type) { d->mComputerType_ = type; }
bool VdSessionSettings::isThinClient() const { return d->mIsThinClient_; }

void VdSessionSettings::setIsThinClient(bool flag)
{
    if (d->mIsThinClient_ == flag)
        return;
    d->mIsThinClient_ = flag;
    Q_EMIT isThinClientChanged(flag);
}

QString VdSessionSettings::deviceValidMAC() { return d->mDeviceMac_; }
void VdSessionSettings::setDeviceMac(const QString &mac) { d->mDeviceMac_ = mac; }
QString VdSessionSettings::deviceValidIp() { return d->mDeviceIp_; }
void VdSessionSettings::setDeviceIp(const QString &ip) { d->mDeviceIp_ = ip; }
int VdSessionSettings::cpuCores() const { return d->mCpuCores_; }
void VdSessionSettings::setCpuCores(int cores) { d->mCpuCores_ = cores; }
double VdSessionSettings::cpuFrequency() const { return d->mCpuFrequency_; }
void VdSessionSettings::setCpuFrequency(double frequency) { d->mCpuFrequency_ = frequency; }
double VdSessionSettings::memoryTotal() { return d->mMemoryTotal_; }
double VdSessionSettings::memoryAvailable() { return d->mMemoryAvailable_; }

// Session options

int VdSessionSettings::logLevel() const { return d->mLogLevel_; }

void VdSessionSettings::setLogLevel(int level)
{
    if (d->mLogLevel_ == level)
        return;
    d->mLogLevel_ = level;
    Q_EMIT logLevelChanged(level);
}

bool VdSessionSettings::isMultiScreen() const { return d->mIsMultiScreen_; }
void VdSessionSettings::setMultiScreen(bool multiScreen) { d->mIsMultiScreen_ = multiScreen; }
bool VdSessionSettings::isHighDPI() { return d->mIsHighDPI_; }
void VdSessionSettings::setHighDPI(bool highDpi) { d->mIsHighDPI_ = highDpi; }
VdSessionSettings::Display4KType VdSessionSettings::display4KType() { return d->mDisplay4KType_; }

void VdSessionSettings::setDisplay4KType(Display4KType type)
{
    d->mDisplay4KType_ = type;
    Q_EMIT display4KTypeChanged();
}

bool VdSessionSettings::isMMR() { return d->mIsMMR_; }
void VdSessionSettings::setMMR(bool mmr) { d->mIsMMR_ = mmr; }
bool VdSessionSettings::isSSO() { return d->mIsSSO_; }
void VdSessionSettings::setSSO(bool sso) { d->mIsSSO_ = sso; }
bool VdSessionSettings::isEnableUpmPolicy() const { return d->mIsEnableUpmPolicy_; }
void VdSessionSettings::setEnableUpmPolicy(bool enable) { d->mIsEnableUpmPolicy_ = enable; }
VdSessionSettings::AutoBreakTime VdSessionSettings::autoBreakSecondTimes() { return d->mAutoBreakSecondTimes_; }

void VdSessionSettings::setAutoBreakSecondTimes(const AutoBreakTime &time)
{
    d->mAutoBreakSecondTimes_ = time;
    Q_EMIT autoBreakSecondTimesChanged();
}

int VdSessionSettings::getAutoBreakTimeSeconds() const
{
    static const int minutes[] = {5, 15, 30, 60, 0};
    const int index = d->mAutoBreakSecondTimes_;
    // A number outside the enumeration can only come from a caller's setter; it never breaks.
    if (index < 0 || index >= int(sizeof(minutes) / sizeof(minutes[0])))
        return 0;
    return minutes[index] * 60;
}

bool VdSessionSettings::isEsEnable() { return d->mIsEsEnable_; }
void VdSessionSettings::setEsEnable(bool enable) { d->mIsEsEnable_ = enable; }

int VdSessionSettings::esFrequency()
{
    spdlog::info("whwh2 config: {}", d->mEsFrequency_);
    return d->mEsFrequency_;
}

void VdSessionSettings::setEsFrequency(int frequency) { d->mEsFrequency_ = frequency; }

// Display

QString VdSessionSettings::resolution() { return d->mResolution_; }

void VdSessionSettings::setResolution(const QString &resolution)
{
    if (d->mResolution_ == resolution)
        return;
    d->mResolution_ = resolution;
    Q_EMIT resolutionChanged();
}

QSize VdSessionSettings::displayRes() { return d->mDisplayRes_; }
VdSessionSettings::StreamControlType VdSessionSettings::streamMode() { return d->mStreamMode_; }

void VdSessionSettings::setStreamMode(const StreamControlType &mode)
{
    if (d->mStreamMode_ == mode)
        return;
    spdlog::debug("set new stream mode =  {}, current mode = {}", int(mode), int(d->mStreamMode_));
    d->mStreamMode_ = mode;
}

int VdSessionSettings::getImageRenderType() const { return d->mImageRenderType_; }
int VdSessionSettings::getSDLRenderFlag() const { return d->mSDLRenderFlag_; }
VdSessionSettings::RenderMode VdSessionSettings::renderMode() { return d->mRenderMode_; }

void VdSessionSettings::setRenderMode(const RenderMode &mode)
{
    if (d->mRenderMode_ == mode)
        return;
    d->mRenderMode_ = mode;
    Q_EMIT renderModeChanged();
}

VdSessionSettings::RenderSystemMode VdSessionSettings::renderSystemMode() { return d->mRenderSystemMode_; }

void VdSessionSettings::setRenderSystemMode(const RenderSystemMode &mode)
{
    if (d->mRenderSystemMode_ == mode)
        return;
    d->mRenderSystemMode_ = mode;
}

int VdSessionSettings::renderDebugLevel() { return d->mRenderDebugLevel_; }
QString VdSessionSettings::renderDriverValue() { return d->mRenderDriverValue_; }

void VdSessionSettings::setRenderDriverValue(QString value)
{
    if (d->mRenderDriverValue_ == value)
        return;
    d->mRenderDriverValue_ = std::move(value);
}

bool VdSessionSettings::streamDataDumpEnabled() const { return d->mStreamDataDumpEnabled_; }

void VdSessionSettings::setStreamDataDumpEnabled(bool enabled)
{
    if (d->mStreamDataDumpEnabled_ == enabled)
        return;
    d->mStreamDataDumpEnabled_ = enabled;
}

bool VdSessionSettings::d3dDebugEnabled() const { return d->mD3dDebugEnabled_; }

void VdSessionSettings::setD3dDebugEnabled(bool enabled)
{
    if (d->mD3dDebugEnabled_ == enabled)
        return;
    d->mD3dDebugEnabled_ = enabled;
}

// Video. ConfigModePreDefine puts the platform's values in force; any other stored number, the
// user's.

VdSessionSettings::ImageControlType VdSessionSettings::imgCompressPlatform() { return d->mImgCompressPlatform_; }
VdSessionSettings::ImageControlType VdSessionSettings::imgCompress() { return d->mImgCompress_; }

void VdSessionSettings::setImgCompress(const ImageControlType &compress)
{
    if (d->mImgCompress_ == compress)
        return;
    d->mImgCompress_ = compress;
    Q_EMIT imgCompressChanged();
}

VdSessionSettings::ImageControlType VdSessionSettings::imgCompressActual()
{
    return d->mConfigMode_ == ConfigModePreDefine ? d->mImgCompressPlatform_ : d->mImgCompress_;
}

int VdSessionSettings::jpegQualityPlatform() { return d->mJpegQualityPlatform_; }
int VdSessionSettings::jpegQuality() { return d->mJpegQuality_; }

void VdSessionSettings::setJpegQuality(int quality)
{
    if (d->mJpegQuality_ == quality)
        return;
    d->mJpegQuality_ = quality;
    Q_EMIT jpegQualityChanged();
}

int VdSessionSettings::jpegQualityActual()
{
    return d->mConfigMode_ == ConfigModePreDefine ? d->mJpegQualityPlatform_ : d->mJpegQuality_;
}

VdSessionSettings::VgpuQPType VdSessionSettings::vgpuQPTypePlatform()
{
    spdlog::info("vgpuQPTypePlatform  {}", int(d->mVgpuQPTypePlatform_));
    return d->mVgpuQPTypePlatform_;
}

void VdSessionSettings::setVgpuQPTypePlatform(int type) { d->mVgpuQPTypePlatform_ = static_cast<VgpuQPType>(type); }
VdSessionSettings::VgpuQPType VdSessionSettings::vgpuQPType() { return d->mVgpuQPType_; }

void VdSessionSettings::setVgpuQPType(const VgpuQPType &type)
{
    if (d->mVgpuQPType_ == type)
        return;
    d->mVgpuQPType_ = type;
    Q_EMIT vgpuQPTypeChanged();
}

VdSessionSettings::VgpuQPType VdSessionSettings::vgpuQPTypeActual()
{
    return d->mConfigMode_ == ConfigModePreDefine ? d->mVgpuQPTypePlatform_ : d->mVgpuQPType_;
}

VdSessionSettings::VgpuDecodeType VdSessionSettings::vgpuDecodeTypePlatform() { return d->mVgpuDecodeTypePlatform_; }
VdSessionSettings::VgpuDecodeType VdSessionSettings::vgpuDecodeType() { return d->mVgpuDecodeType_; }

void VdSessionSettings::setVgpuDecodeType(const VgpuDecodeType &type)
{
    if (d->mVgpuDecodeType_ == type)
        return;
    d->mVgpuDecodeType_ = type;
    Q_EMIT vgpuDecodeTypeChanged();
}

VdSessionSettings::VgpuDecodeType VdSessionSettings::vgpuDecodeTypeActual() const
{
    return d->mConfigMode_ == ConfigModePreDefine ? d->mVgpuDecodeTypePlatform_ : d->mVgpuDecodeType_;
}

int VdSessionSettings::getStreamDecodeType() const { return vgpuDecodeTypeActual(); }
bool VdSessionSettings::forceDistributionDecode() const { return d->mForceDistributionDecode_; }

void VdSessionSettings::setForceDistributionDecode(const bool &force)
{
    if (d->mForceDistributionDecode_ == force)
        return;
    d->mForceDistributionDecode_ = force;
    Q_EMIT forceDistributionDecodeChanged();
}

VdSessionSettings::ConfigMode VdSessionSettings::configMode() { return d->mConfigMode_; }

void VdSessionSettings::setConfigMode(ConfigMode mode)
{
    if (d->mConfigMode_ == mode)
        return;
    d->mConfigMode_ = mode;
    Q_EMIT configModeChanged();
}

bool VdSessionSettings::enableVgpuQPType() const { return d->mConfigMode_ == ConfigModeUserDefine; }
bool VdSessionSettings::platformDecodeEnable() const { return d->mConfigMode_ == ConfigModePreDefine; }
bool VdSessionSettings::platformUnifiedConfig() const { return d->mPlatformUnifiedConfig_; }
int VdSessionSettings::getVideoMode() { return d->mVideoMode_; }
int VdSessionSettings::getVideoModeGw() { return d->mVideoModeGw_; }
int VdSessionSettings::getVideoModeActual() { return d->mVideoModeActual_; }
bool VdSessionSettings::getForceEnableVideoMode() { return d->mForceEnableVideoMode_; }
QStringList VdSessionSettings::videoDecoders() { return d->mVideoDecoders_; }

// Local configuration

QString VdSessionSettings::curServerArch() { return d->mCurServerArch_; }
