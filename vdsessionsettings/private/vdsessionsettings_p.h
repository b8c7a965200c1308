#ifndef VDSESSIONSETTINGS_P_H
#define VDSESSIONSETTINGS_P_H

#include <vdsessionsettings/vdsessionsettings.h>

#include "policy/videomode_p.h"

#include <vdicommon/vdp.h>

#include <QMap>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QSettings;

// Every setting of the session. The fields stand in the order the record has always had; the
// section comments name what the fields that follow are about.
class VdSessionSettingsPrivate
{
public:
    VdSessionSettingsPrivate();

    // Replaces the record of @p q by a new one and runs the start-up reads, exactly as the
    // constructor of VdSessionSettings does. Tests use it to start every case afresh.
    static void startUp(VdSessionSettings *q);
    static VdSessionSettingsPrivate *get(VdSessionSettings *q) { return q->d.get(); }

    // The information lines that close a reading of the session: the window arrangement, and
    // the render modes chosen, each by its enumerator's name.
    void logWindowMode() const;
    void logRenderModes() const;

    // Files
    QString mVdpPath_;
    QString mCertPath_;
    QString mDataDir_;
    QString mSettingsIniPath_;
    QString mUsbConfigs_;
    QMap<QString, bool> mServerUseNewCertificate_;

    // Policies
    VideoPolicyText mVideoPolicy_;

    // Session options
    QString mRdrVmName_ = QStringLiteral("DefaultFocusConnect");
    int mLogLevel_ = 2;
    bool mIsMultiScreen_ = false;
    bool mIsHighDPI_ = false;
    VdSessionSettings::Display4KType mDisplay4KType_ = VdSessionSettings::Display_4K_Default;
    bool mIsMMR_ = true;
    bool mIsSSO_ = true;
    bool mIsEnableUpmPolicy_ = false;
    VdSessionSettings::AutoBreakTime mAutoBreakSecondTimes_ = VdSessionSettings::AUTO_BREAK_TIME_5M;

    // Identity
    QString mCurrentUsername_;
    QString mLoginName_;
    QString mPassword_;
    QString mSpicePassword_;
    QString mPrimaryScreenName_;
    QString mDomain_;
    QString mUuid_;
    std::string mVmUuid_;
    QString mCurrentNickname_;
    QString mVmName_;
    QString mPoolName_;
    QString mSoftwareName_;

    // Connection
    QString mServerIp_;
    unsigned short mServerPort_ = 8860;
    Vdp::ServerType mServerType_ = static_cast<Vdp::ServerType>(0);

    // Window
    int mToolbarStyle_ = 0;
    bool mIsAutoHideToolbar_ = false;
    VdSessionSettings::WindowStyle mWindowStyle_ = VdSessionSettings::FullScreen;
    QString mSkin_;

    // Display
    VdSessionSettings::StreamControlType mStreamMode_ = VdSessionSettings::TYPE_STREAM_NONE;
    QString mResolution_ = QStringLiteral("1280 x 720");
    int mImageRenderType_ = 0;
    int mSDLRenderFlag_ = 0;

    // Window
    bool mIsShowMinimize_ = false;
    QMap<int, QRect> mGeometrys_;
    bool mNoMoreshowDialog_ = false;
    QSize mDisplayRes_ = QSize(0, 0);

    // Connection
    QString mOsVersion_;
    int mOsType_ = 0;
    QString mProtocol_ = QStringLiteral("vdp");

    // Video
    QStringList mVideoDecoders_;
    QString mRenderDriverValue_;

    // Host
    QString mDeviceMac_;
    QString mDeviceIp_;
    QString mCurServerArch_ = QStringLiteral("X86");
    int mCpuCores_ = 0;
    double mCpuFrequency_ = 0.0;
    double mMemoryTotal_ = 0.0;
    double mMemoryAvailable_ = 0.0;
    bool mIsThinClient_ = false;
    Vdp::ClientType mClientType_ = static_cast<Vdp::ClientType>(0);
    Vdp::ComputerType mComputerType_ = static_cast<Vdp::ComputerType>(1);
    VdSessionSettings::VdSessionProgramType mProgramType_ = VdSessionSettings::VdpVM;
    bool mIsLangEnglish_ = false;

    // Policies
    Vdp::PoolType mPoolType_ = static_cast<Vdp::PoolType>(0);
    QStringList mIpList_;
    QString mVmMac_;
    std::vector<Vdp::tagVMAddress> mVmAddrs_;
    int mRdpClipboardPolicy_ = 0;
    Vdp::tagVMOperator mVmOperator_;
    QStringList mDiskRedir_;
    QString mRateLimitorPolicy_;
    QString mCalderwynId_;

    // Video
    int mVideoMode_ = 1;
    int mVideoModeGw_ = 3;
    int mVideoModeActual_ = 1;
    bool mForceEnableVideoMode_ = false;
    VdSessionSettings::ImageControlType mImgCompressPlatform_ = VdSessionSettings::TYPE_COMPRESS_LOSSLESS;
    VdSessionSettings::ImageControlType mImgCompress_ = VdSessionSettings::TYPE_COMPRESS_LOSSLESS;
    VdSessionSettings::VgpuDecodeType mVgpuDecodeTypePlatform_ = VdSessionSettings::Software_VgpuDecode_TYPE;
    VdSessionSettings::VgpuDecodeType mVgpuDecodeType_ = VdSessionSettings::Software_VgpuDecode_TYPE;
    VdSessionSettings::VgpuQPType mVgpuQPTypePlatform_ = VdSessionSettings::VgpuQPType_M;
    VdSessionSettings::VgpuQPType mVgpuQPType_ = VdSessionSettings::VgpuQPType_M;
    bool mForceDistributionDecode_ = false;
    bool mPlatformUnifiedConfig_ = true;
    int mJpegQualityPlatform_ = 95;
    int mJpegQuality_ = 95;
    VdSessionSettings::ConfigMode mConfigMode_ = VdSessionSettings::ConfigModePreDefine;

    // Window
    VdSessionSettings::WindowMode mWindowMode_ = VdSessionSettings::SingleWindowMode;

    // Identity
    QString mIdlinkTempTicket_;
    int mIsWebSSOLogin_ = 0;
    QString mH5ClientUuid_;
    bool mIsEsEnable_ = false;
    int mEsFrequency_ = 300;
    int mIsOpenLdap_ = 0;

    // Display
    VdSessionSettings::RenderMode mRenderMode_ = VdSessionSettings::RenderModeTotal;
    VdSessionSettings::RenderSystemMode mRenderSystemMode_ = VdSessionSettings::RenderSystemDEFAULT;
    int mRenderDebugLevel_ = 0;
    VdSessionSettings::MouseMode mMouseMode_ = VdSessionSettings::LOCAL_MODE;

    // Identity
    QString mToken_;
    bool mIsStartByWeb_ = false;

    // Display
    bool mStreamDataDumpEnabled_ = false;
    int mMenuBarHeight_ = 0;
    bool mMenuBarHideStatus_ = false;
    bool mD3dDebugEnabled_ = false;
};

// The per-user settings file "vdisettings.ini" keeps, per server, which certificate it needs.
namespace CertificateIni {
inline const QString group = QStringLiteral("certificate");
inline const QString array = QStringLiteral("certificate");
inline const QString serverKey = QStringLiteral("server");
inline const QString useNewKey = QStringLiteral("useNewCertificate");
} // namespace CertificateIni

// Adds to @p servers the certificate choices that the "certificate" array of @p settings lists. A
// server listed twice keeps its first entry, as does one @p servers already holds.
void readCertificateChoices(QSettings &settings, QMap<QString, bool> *servers);

// The certificate files a server may need.
namespace CertificatePath {
inline const QString old = QStringLiteral("config/grpcserver.pem");
// Relative to the user's documents folder.
inline const QString newRelative = QStringLiteral("/cert/calderwyn_cert.pem");
} // namespace CertificatePath

// The session identifier: the server address with its colons turned into hyphens, a hyphen,
// and the VM identifier.
QString sessionUuid(const QString &serverIp, const QString &vmUuid);

#endif
