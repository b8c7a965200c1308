#ifndef VDSESSIONSETTINGS_H
#define VDSESSIONSETTINGS_H

#include <vdsessionsettings/vdsessionsettings_export.h>

#include <vdicommon/vdp.h>

#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class VdSessionSettingsPrivate;

/**
 * Every setting of one virtual-desktop client session.
 *
 * There is one object per process, reached with instance() from C++ and as the singleton
 * "Settings" of the QML module com.virtual.vdi 1.0 once qmlRegisterSingletonType() has run.
 * The session program fills it once at start, from a session file (loadFromVdp()) or from a web
 * portal's launch link (loadFromWeb()), reads it for the whole session and writes the user's
 * choices back with saveToVdp().
 *
 * @section loading Loading
 * loadFromVdp(), fromJson() and fromOldJson() store values directly and emit no change signal,
 * so QML bindings see the values only when they read them again: load the session before the
 * QML engine first reads "Settings". loadFromWeb() emits serverIpChanged(), serverPortChanged()
 * and, when the link names a theme, skinChanged(), and nothing else. To see what a session file
 * holds without loading it, use VdSessionCheck (<vdsessionsettings/sessioncheck.h>); the keys
 * of both layouts are described in docs/session-file.md.
 *
 * @section signals Change signals
 * Most setters compare first and emit only on a change. setIsShowMinimize(), setSkin(),
 * setServerIp(), setServerPort(), setServerType(), setDisplay4KType() and
 * setAutoBreakSecondTimes() emit on every call, changed or not. These setters of notifying
 * properties emit nothing, although the property declares a signal: setUuid(),
 * setCurrentUsername(), setCurrentNickname(), setProtocol(), setClientType(), setMultiScreen(),
 * setEnableUpmPolicy(), setStreamMode(), setMouseMode(), setToolbarStyle(),
 * setRenderDriverValue(), setStreamDataDumpEnabled(), setD3dDebugEnabled() and
 * setCurServerArch(); neither do the setters of values without a property (setPassword(),
 * setRenderSystemMode(), setDisplayRes(), setNoMoreshowDialog(), setCertPath() ...) nor
 * setControlPolicy(), setVMAddrs() and setOperatorPolicy(). The signals nothing emits are there
 * for the program to emit or connect.
 *
 * @section files Files
 * Besides the session file it is given, the library reads, in the user's documents folder
 * (QStandardPaths::DocumentsLocation): "VdSession/vdisettings.ini" at start, the servers that need
 * the new certificate, rewritten by updateServerUseNewCertificate(); "<application name>/decoders.ini"
 * in readVideoDecoders(), created with the current list when missing; "Calderwyn/settings.ini",
 * the known servers, in getServerType(); and "cert/calderwyn_cert.pem", the new certificate,
 * whose existence setCertPathFromServer() tests. It also reads the machine description
 * "C:/Users/Public/Documents/Calderwyn/sysInfo.ini" at start and "version.ini" beside the
 * executable in version(). Loading a current-layout file "VdSession-<name>.vdp" reads and
 * then removes the previous session's file "<name>-2.vdp" beside it, unless the file carries
 * "inherit old vdp".
 */
class VDSESSIONSETTINGS_EXPORT VdSessionSettings : public QObject
{
    Q_OBJECT

    // The common library's enumerations, under the names the meta-object and QML know them by;
    // both are exchanged as integers.
    using ClientType = Vdp::ClientType;
    using ServerType = Vdp::ServerType;

    Q_PROPERTY(QString uuid READ uuid WRITE setUuid NOTIFY uuidChanged)
    Q_PROPERTY(QString currentUsername READ currentUsername WRITE setCurrentUsername NOTIFY currentUsernameChanged)
    Q_PROPERTY(QString currentNickname READ currentNickname WRITE setCurrentNickname NOTIFY currentNicknameChanged)
    Q_PROPERTY(QString protocol READ protocol WRITE setProtocol NOTIFY protocolChanged)
    Q_PROPERTY(bool isShowMinimize READ isShowMinimize WRITE setIsShowMinimize NOTIFY isShowMinimizeChanged)
    Q_PROPERTY(ClientType clientType READ clientType WRITE setClientType NOTIFY clientTypeChanged)
    Q_PROPERTY(bool isThinClient READ isThinClient WRITE setIsThinClient NOTIFY isThinClientChanged)
    Q_PROPERTY(QString serverIp READ serverIp WRITE setServerIp NOTIFY serverIpChanged)
    Q_PROPERTY(unsigned short serverPort READ serverPort WRITE setServerPort NOTIFY serverPortChanged)
    Q_PROPERTY(ServerType serverType READ serverType WRITE setServerType NOTIFY serverTypeChanged)
    Q_PROPERTY(VgpuDecodeType vgpuDecodeType READ vgpuDecodeType WRITE setVgpuDecodeType NOTIFY vgpuDecodeTypeChanged)
    Q_PROPERTY(VgpuDecodeType vgpuDecodeTypePlatform READ vgpuDecodeTypePlatform)
    Q_PROPERTY(int toolbarStyle READ toolbarStyle WRITE setToolbarStyle NOTIFY toolbarStyleChanged)
    Q_PROPERTY(bool isAutoHideToolbar READ isAutoHideToolbar WRITE setIsAutoHideToolbar NOTIFY isAutoHideToolbarChanged)
    Q_PROPERTY(WindowStyle windowStyle READ windowStyle WRITE setWindowStyle NOTIFY windowStyleChanged)
    Q_PROPERTY(QString skin READ skin WRITE setSkin NOTIFY skinChanged)
    Q_PROPERTY(QString curServerArch READ curServerArch WRITE setCurServerArch NOTIFY curServerArchChanged)
    Q_PROPERTY(StreamControlType streamMode READ streamMode WRITE setStreamMode NOTIFY streamModeChanged)
    Q_PROPERTY(ImageControlType imgCompress READ imgCompress WRITE setImgCompress NOTIFY imgCompressChanged)
    Q_PROPERTY(ImageControlType imgCompressPlatform READ imgCompressPlatform)
    Q_PROPERTY(int jpegQuality READ jpegQuality WRITE setJpegQuality NOTIFY jpegQualityChanged)
    Q_PROPERTY(int jpegQualityPlatform READ jpegQualityPlatform)
    Q_PROPERTY(QString resolution READ resolution WRITE setResolution NOTIFY resolutionChanged)
    Q_PROPERTY(VgpuQPType vgpuQPType READ vgpuQPType WRITE setVgpuQPType NOTIFY vgpuQPTypeChanged)
    Q_PROPERTY(VgpuQPType vgpuQPTypePlatform READ vgpuQPTypePlatform)
    Q_PROPERTY(bool forceDistributionDecode READ forceDistributionDecode WRITE setForceDistributionDecode NOTIFY forceDistributionDecodeChanged)
    Q_PROPERTY(bool isRdp READ isRdp CONSTANT)
    Q_PROPERTY(AutoBreakTime autoBreakSecondTimes READ autoBreakSecondTimes WRITE setAutoBreakSecondTimes NOTIFY autoBreakSecondTimesChanged)
    Q_PROPERTY(ConfigMode configMode READ configMode WRITE setConfigMode NOTIFY configModeChanged)
    Q_PROPERTY(bool platformUnifiedConfig READ platformUnifiedConfig)
    Q_PROPERTY(WindowMode windowMode READ windowMode WRITE setWindowMode NOTIFY windowModeChanged)
    Q_PROPERTY(RenderMode renderMode READ renderMode WRITE setRenderMode NOTIFY renderModeChanged)
    Q_PROPERTY(bool isMultiScreen READ isMultiScreen WRITE setMultiScreen NOTIFY isMultiScreenChanged)
    Q_PROPERTY(bool isEnableUpmPolicy READ isEnableUpmPolicy WRITE setEnableUpmPolicy NOTIFY isEnableUpmPolicyChanged)
    Q_PROPERTY(int logLevel READ logLevel WRITE setLogLevel NOTIFY logLevelChanged)
    Q_PROPERTY(bool streamDataDumpEnabled READ streamDataDumpEnabled WRITE setStreamDataDumpEnabled NOTIFY streamDataDumpEnabledChanged)
    Q_PROPERTY(QString renderDriverValue READ renderDriverValue WRITE setRenderDriverValue NOTIFY renderDriverValueChanged)
    Q_PROPERTY(Display4KType display4KType READ display4KType WRITE setDisplay4KType NOTIFY display4KTypeChanged)
    Q_PROPERTY(MouseMode mouseMode READ mouseMode WRITE setMouseMode NOTIFY mouseModeChanged)
    Q_PROPERTY(bool d3dDebugEnabled READ d3dDebugEnabled WRITE setD3dDebugEnabled NOTIFY d3dDebugEnabledChanged)

public:
    // Files and links carry these enumerations as their numbers, and any 32-bit number they
    // carry is stored as it is, so each has the full range of int.
    enum StreamControlType : int {
        TYPE_STREAM_NONE = -1,
        TYPE_STREAM_OFFICE = 0,
        TYPE_STREAM_VIDEO = 1,
        TYPE_STREAM_HD = 2,
        TYPE_STREAM_ALWAYS = 3,
    };
    Q_ENUM(StreamControlType)

    enum ImageControlType : int {
        TYPE_COMPRESS_LOSSLESS = 0,
        TYPE_COMPRESS_JPEG = 1,
    };
    Q_ENUM(ImageControlType)

    enum ResolutionModeType : int {
        TYPE_ACTUAL_SIZE = 0,
        TYPE_FIT_MAP = 1,
    };
    Q_ENUM(ResolutionModeType)

    enum VgpuDecodeType : int {
        Hardware_VgpuDecode_TYPE = 0,
        Software_VgpuDecode_TYPE = 1,
        Auto_VgpuDecode_TYPE = 2,
    };
    Q_ENUM(VgpuDecodeType)

    enum VgpuQPType : int {
        VgpuQPType_BEGIN = 0,
        VgpuQPType_H = 1,
        VgpuQPType_M = 2,
        VgpuQPType_L = 3,
    };
    Q_ENUM(VgpuQPType)

    enum ConfigMode : int {
        ConfigModePreDefine = 0,
        ConfigModeUserDefine = 1,
    };
    Q_ENUM(ConfigMode)

    enum WindowStyle : int {
        FullScreen = 0,
        Window = 1,
    };
    Q_ENUM(WindowStyle)

    enum MouseMode : int {
        LOCAL_MODE = 0,
        SERVER_MODE = 1,
    };
    Q_ENUM(MouseMode)

    enum VdSessionProgramType : int {
        VdpVM = 0,
        RdpVM = 1,
        RdpPC = 2,
        RdpVApp = 3,
    };
    Q_ENUM(VdSessionProgramType)

    enum AutoBreakTime : int {
        AUTO_BREAK_TIME_5M = 0,
        AUTO_BREAK_TIME_15M = 1,
        AUTO_BREAK_TIME_30M = 2,
        AUTO_BREAK_TIME_1H = 3,
        AUTO_BREAK_TIME_NO = 4,
    };
    Q_ENUM(AutoBreakTime)

    enum WindowMode : int {
        SingleWindowMode = 0,
        MultiSDLWindowMode = 1,
        MultiVdpWindowMode = 2,
    };
    Q_ENUM(WindowMode)

    enum RenderMode : int {
        RenderModeTotal = 0,
        RenderModePart = 1,
    };
    Q_ENUM(RenderMode)

    enum RenderSystemMode : int {
        RenderSystemDEFAULT = 0,
        RenderSystemSDL = 1,
        RenderSystemXCB = 2,
    };
    Q_ENUM(RenderSystemMode)

    enum Display4KType : int {
        Display_4K_Default = 0,
        Display_4K_ApplyForVm = 1,
        Display_4K_OperateForVm = 2,
        Display_4K_OldPlatform = 3,
    };
    Q_ENUM(Display4KType)

    /** The process-wide object, created on the first call and never deleted by the library. */
    static VdSessionSettings *instance();
    ~VdSessionSettings() override;

    /** Registers the object as the QML singleton "Settings" of com.virtual.vdi 1.0. */
    void qmlRegisterSingletonType();

    // The order of the Q_INVOKABLE members below fixes their meta-object indices.

    Q_INVOKABLE bool isWindows();

    // Session file

    /** Remembers @p fileName, reads it and fills the settings; false when it cannot be read or parsed. */
    Q_INVOKABLE bool loadFromVdp(const QString &fileName);
    /** The path given to the last loadFromVdp(). */
    Q_INVOKABLE QString getVdpPath();
    /** Removes the session file named by getVdpPath(); the path is kept. */
    void deleteVdpFile();
    /**
     * Reads a session document in the current layout, first taking the stream mode from the
     * previous session's file beside getVdpPath() (and removing that file) unless @p root has
     * "inherit old vdp". Emits no signal.
     */
    void fromJson(const QJsonObject &root);
    /** Reads a session document in the legacy layout. Touches no other file and emits no signal. */
    void fromOldJson(const QJsonObject &root);
    /**
     * Writes the user's display and window choices back into the session file named by
     * getVdpPath(), at the top level of the document whatever its layout: "config mode",
     * "vgpu qp type", "image_compression_mode", "vgpu decode type", "jpeg_quality",
     * "dump_stream_data", "d3d_debug", "render_driver_value", "mouse_mode",
     * "stream_control_value" (unless the stream mode is TYPE_STREAM_NONE), "toolbarStyle" (which
     * no reader takes back: the readers take the one in "basic settings"), "geometrys" (every
     * rectangle geometry() and setGeometry() recorded), "noMoreshowDialog", "window mode",
     * "render mode", "display_res", and "inherit old vdp" so that the next load inherits nothing.
     * Every other key stays as it was. A file that is missing or not JSON is left alone; the
     * file is replaced whole, so a failed write leaves the old one.
     *
     * The document goes back through Qt's JSON classes, so each number keeps the value they hold
     * for it. Built with Qt 6, an integer that fits 64 bits is kept exactly; built with Qt 5,
     * every number is held as a double, so an integer beyond 2^53 changes (9007199254740993 is
     * written as 9007199254740992). With either, an integer beyond 64 bits and a number of more
     * than 17 significant digits are rounded (12345678901234567890 becomes
     * 12345678901234567000). Another spelling of the same value (1E3 written as 1000) is no
     * change. VdSessionCheck reports each number a save would change as a Precision finding.
     */
    void saveToVdp();
    /** Takes the stream mode from the previous session's file beside the session file, then removes that file. */
    void readOldVdpConfig();
    /** Chooses the SDL render system when nothing has chosen one. */
    void updateConfig();

    // Web launch

    /** Fills the settings from a web portal's launch link; false when the link is malformed. */
    bool loadFromWeb(const QString &link);

    // Platform

    Q_INVOKABLE bool isLangEnglish() const;

    // Window

    Q_INVOKABLE bool isShowMinimize() const;
    void setIsShowMinimize(bool value);

    /**
     * The window rectangle to use on the screen @p screen, from the one remembered for @p winId.
     * The rectangle returned is also recorded, as by setGeometry(): it may emit geometryChanged()
     * and saveToVdp() writes it back, so asking is not free of effects.
     *
     * The screen's left, top, width and height are each held to +-16777216 (2^24) first, as the
     * numbers of a session file's rectangles are: a screen reaching beyond that, even one whose
     * edges lie at the ends of the int range, counts as the part within, and never overflows.
     */
    Q_INVOKABLE QRect geometry(const QRect &screen, int winId = 0);
    /**
     * Records the rectangle the window has taken on screen @p winId, widened to at least
     * 994 x 801; emits geometryChanged() when the recorded rectangle changes. Its left, top,
     * width and height are first held to +-16777216 (2^24), as geometry() holds the screen: a
     * rectangle from the corners (-2147483648, -2147483648) to (2147483647, 2147483647) is
     * recorded as (-16777216, -16777216, 16777216 x 16777216).
     */
    Q_INVOKABLE void setGeometry(const QRect &geometry, int winId = 0);
    /**
     * The window rectangles remembered so far, by screen id: those the session file gave and
     * those geometry() and setGeometry() recorded since, as saveToVdp() would write them. Asking
     * records nothing.
     */
    QMap<int, QRect> rememberedGeometries() const;

    Q_INVOKABLE bool noMoreshowDialog();
    Q_INVOKABLE void setNoMoreshowDialog(const bool &value);

    Q_INVOKABLE WindowMode windowMode();
    Q_INVOKABLE void setWindowMode(const WindowMode &windowMode);

    Q_INVOKABLE void setMouseMode(const MouseMode &mode);
    MouseMode mouseMode();

    // Identity

    Q_INVOKABLE QString getVmName();
    void setVmName(const QString &name);
    Q_INVOKABLE QString getPoolName();
    void setPoolName(const QString &name);

    // Video

    Q_INVOKABLE int getVideoModeActual();
    Q_INVOKABLE QString getVmUuid();
    Q_INVOKABLE bool isStartByWeb() const;

    // Identity

    QString uuid();
    void setUuid(const QString &uuid);
    std::string vmuuid();
    QString currentUsername();
    /** An empty @p name takes the login name. */
    void setCurrentUsername(const QString &name);
    QString currentNickname();
    QString getNickName();
    void setCurrentNickname(const QString &nickname);
    QString loginName();
    void setLoginName(const QString &name);
    QString getPassword();
    void setPassword(const QString &password);
    QString getSpicePassword();
    QString domain();
    void setDomain(const QString &domain);
    QString token();
    void setToken(const QString &token);
    QString getIdlinkTempTicket();
    void setIdlinkTempTicket(QString ticket);
    int isWebSSOLogin() const;
    QString h5ClientUuid();
    int isOpenLdap();
    void setIsOpenLdap(int openLdap);
    QString getCalderwynId();
    QString getSoftwareName();
    QString getUsbConfigs();
    QStringList getDiskRedir();
    QString getRdrVmName();
    void setRdrVmName(const QString &name);
    Vdp::PoolType poolType();
    void setPoolType(const Vdp::PoolType &type);
    VdSessionProgramType programType();

    // Connection

    QString serverIp();
    void setServerIp(const QString &ip);
    unsigned short serverPort() const;
    void setServerPort(unsigned short port);
    Vdp::ServerType serverType();
    void setServerType(const Vdp::ServerType &type);
    QString protocol();
    void setProtocol(const QString &protocol);
    /** True for an RDP pool, or for the protocol "rdp". */
    bool isRdp() const;
    QString getOsVersion();
    int getOsType();
    void setOsType(int type);

    // Client device

    Vdp::ClientType clientType();
    void setClientType(const Vdp::ClientType &type);
    Vdp::ComputerType computerType();
    void setComputerType(const Vdp::ComputerType &type);
    bool isThinClient() const;
    void setIsThinClient(bool flag);
    QString deviceValidMAC();
    void setDeviceMac(const QString &mac);
    QString deviceValidIp();
    void setDeviceIp(const QString &ip);
    int cpuCores() const;
    void setCpuCores(int cores);
    double cpuFrequency() const;
    void setCpuFrequency(double frequency);
    double memoryTotal();
    double memoryAvailable();

    // Session options

    int logLevel() const;
    void setLogLevel(int level);
    bool isMultiScreen() const;
    void setMultiScreen(bool multiScreen);
    bool isHighDPI();
    void setHighDPI(bool highDpi);
    Display4KType display4KType();
    void setDisplay4KType(Display4KType type);
    bool isMMR();
    void setMMR(bool mmr);
    bool isSSO();
    void setSSO(bool sso);
    bool isEnableUpmPolicy() const;
    void setEnableUpmPolicy(bool enable);
    AutoBreakTime autoBreakSecondTimes();
    void setAutoBreakSecondTimes(const AutoBreakTime &time);
    /** The idle time after which the session breaks, in seconds; 0 for never. */
    int getAutoBreakTimeSeconds() const;
    bool isEsEnable();
    void setEsEnable(bool enable);
    int esFrequency();
    void setEsFrequency(int frequency);

    // Window

    int toolbarStyle() const;
    void setToolbarStyle(int style);
    bool isAutoHideToolbar() const;
    void setIsAutoHideToolbar(bool autoHide);
    WindowStyle windowStyle();
    void setWindowStyle(const WindowStyle &style);
    QString skin();
    void setSkin(const QString &skin);
    QString getPrimaryScreenName();
    void setMenuBarHeight(int height);
    void setMenuBarHideStatus(bool hidden);

    // Display

    QString resolution();
    void setResolution(const QString &resolution);
    QSize displayRes();
    void setDisplayRes(const QSize &size);
    StreamControlType streamMode();
    /** Stores a new stream mode; emits no signal, although the property declares streamModeChanged(). */
    void setStreamMode(const StreamControlType &mode);
    int getImageRenderType() const;
    int getSDLRenderFlag() const;
    RenderMode renderMode();
    void setRenderMode(const RenderMode &mode);
    RenderSystemMode renderSystemMode();
    void setRenderSystemMode(const RenderSystemMode &mode);
    int renderDebugLevel();
    QString renderDriverValue();
    void setRenderDriverValue(QString value);
    bool streamDataDumpEnabled() const;
    void setStreamDataDumpEnabled(bool enabled);
    bool d3dDebugEnabled() const;
    void setD3dDebugEnabled(bool enabled);

    // Video: the platform's values, the user's choices and the effective values between them

    ImageControlType imgCompressPlatform();
    ImageControlType imgCompress();
    void setImgCompress(const ImageControlType &compress);
    ImageControlType imgCompressActual();
    int jpegQualityPlatform();
    int jpegQuality();
    void setJpegQuality(int quality);
    int jpegQualityActual();
    VgpuQPType vgpuQPTypePlatform();
    void setVgpuQPTypePlatform(int type);
    VgpuQPType vgpuQPType();
    void setVgpuQPType(const VgpuQPType &type);
    VgpuQPType vgpuQPTypeActual();
    VgpuDecodeType vgpuDecodeTypePlatform();
    VgpuDecodeType vgpuDecodeType();
    void setVgpuDecodeType(const VgpuDecodeType &type);
    VgpuDecodeType vgpuDecodeTypeActual() const;
    int getStreamDecodeType() const;
    bool forceDistributionDecode() const;
    void setForceDistributionDecode(const bool &force);
    ConfigMode configMode();
    void setConfigMode(ConfigMode mode);
    /** True when the user's video choices are in force. */
    bool enableVgpuQPType() const;
    /** True when the platform's video choices are in force. */
    bool platformDecodeEnable() const;
    bool platformUnifiedConfig() const;
    int getVideoMode();
    int getVideoModeGw();
    bool getForceEnableVideoMode();
    QStringList videoDecoders();

    // Broker policies

    /** Takes the platform values of the broker's control policy and builds the video policy text. */
    void setControlPolicy(const Vdp::tagControlPolicy &policy);
    /** The video policy as indented JSON text. */
    std::string videoPolicy();
    QString getRateLimitorPolicy();
    int rdpClipboardPolicy() const;
    void setVMAddrs(const std::vector<Vdp::tagVMAddress> &addrs);
    std::vector<Vdp::tagVMAddress> vmAddrs();
    /** The VM's MAC address, or that of its first address record. */
    QString vmmac();
    /** The VM's IP list, or the addresses of all its address records. */
    QStringList iplist();
    void setOperatorPolicy(const Vdp::tagVMOperator &op);
    Vdp::tagVMOperator getVMOperator();

    // Local configuration

    /** The product version from "version.ini" beside the executable. */
    QString version();
    /** Refreshes videoDecoders() from "decoders.ini", creating the file when it is missing. */
    void readVideoDecoders();
    /** The type of the server in use, from the known-server list. */
    Vdp::ServerType getServerType();
    QString curServerArch();
    void setCurServerArch(const QString &arch);

    // Server certificate

    QString getCertPath();
    void setCertPath(const QString &path);
    void setCertPathAsDefault();
    void resetCertPath();
    bool isServerUseNewCertificate(const QString &server);
    /** Chooses the certificate file for @p server. */
    void setCertPathFromServer(const QString &server);
    /** Records whether @p server uses the new certificate, and keeps the choice for later sessions. */
    void updateServerUseNewCertificate(const QString &server, bool useNew);

Q_SIGNALS:
    void uuidChanged();
    void currentNicknameChanged();
    void clientTypeChanged();
    void isThinClientChanged(bool flag);
    void currentUsernameChanged();
    void resolutionChanged();
    void vgpuQPTypeChanged();
    void enableVgpuQPTypeChanged();
    void platformDecodeEnableChanged();
    void compressModeEnableChanged();
    void forceDistributionDecodeChanged();
    void vgpuDecodeTypeChanged();
    void serverIpChanged();
    void serverPortChanged();
    void isShowMinimizeChanged();
    void serverTypeChanged();
    void protocolChanged();
    void toolbarStyleChanged();
    void windowStyleChanged();
    void skinChanged();
    void curServerArchChanged();
    void streamModeChanged();
    void imgCompressChanged();
    void jpegQualityChanged();
    void autoBreakSecondTimesChanged();
    void isAutoHideToolbarChanged();
    void windowModeChanged();
    void renderModeChanged();
    void isMultiScreenChanged();
    void isEnableUpmPolicyChanged();
    void geometryChanged(int winId);
    void configModeChanged();
    void logLevelChanged(int level);
    void streamDataDumpEnabledChanged(bool enabled);
    void renderDriverValueChanged(int value);
    void display4KTypeChanged();
    void mouseModeChanged();
    void d3dDebugEnabledChanged();

private:
    explicit VdSessionSettings(QObject *parent = nullptr);
    Q_DISABLE_COPY(VdSessionSettings)

    void loadSetting();
    bool parseVdp(const QByteArray &data);
    void setVideoPolicy(const std::string &text);
    void setRateLimitorPolicy(const QString &policy);
    RenderMode getDefaultRenderMode();
    RenderSystemMode getDefaultRenderSystemMode();

    friend class VdSessionSettingsPrivate;
    std::unique_ptr<VdSessionSettingsPrivate> d;
};

#endif
