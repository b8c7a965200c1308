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

    /**
     * The session identifier: the server address with every ":" turned into "-", then "-",
     * then the VM identifier ("10.0.0.1-vm1", "fe80--1-vm1"). Every reader and loadFromWeb() build
     * it anew; setUuid() emits no uuidChanged().
     * @see uuid(), setUuid(), uuidChanged()
     */
    Q_PROPERTY(QString uuid READ uuid WRITE setUuid NOTIFY uuidChanged)
    /**
     * The user name shown for the session. setCurrentUsername() emits no
     * currentUsernameChanged().
     * @see currentUsername(), setCurrentUsername(), currentUsernameChanged(), loginName()
     */
    Q_PROPERTY(QString currentUsername READ currentUsername WRITE setCurrentUsername NOTIFY currentUsernameChanged)
    /**
     * The user's display name. setCurrentNickname() emits no currentNicknameChanged().
     * @see currentNickname(), setCurrentNickname(), currentNicknameChanged()
     */
    Q_PROPERTY(QString currentNickname READ currentNickname WRITE setCurrentNickname NOTIFY currentNicknameChanged)
    /**
     * The display protocol, "vdp" until a session file says otherwise; "rdp" makes isRdp()
     * true. setProtocol() emits no protocolChanged().
     * @see protocol(), setProtocol(), protocolChanged()
     */
    Q_PROPERTY(QString protocol READ protocol WRITE setProtocol NOTIFY protocolChanged)
    /**
     * Whether the session window offers a minimise button. setIsShowMinimize() emits
     * isShowMinimizeChanged() on every call, changed or not.
     * @see isShowMinimize() const, setIsShowMinimize(), isShowMinimizeChanged()
     */
    Q_PROPERTY(bool isShowMinimize READ isShowMinimize WRITE setIsShowMinimize NOTIFY isShowMinimizeChanged)
    /**
     * The kind of client, a number of the common library's Vdp::ClientType, exchanged with QML
     * as an integer. setClientType() emits no clientTypeChanged().
     * @see clientType(), setClientType(), clientTypeChanged()
     */
    Q_PROPERTY(ClientType clientType READ clientType WRITE setClientType NOTIFY clientTypeChanged)
    /**
     * Whether the client device is a thin client. setIsThinClient() emits
     * isThinClientChanged() with the new value, only on a change.
     * @see isThinClient() const, setIsThinClient(), isThinClientChanged()
     */
    Q_PROPERTY(bool isThinClient READ isThinClient WRITE setIsThinClient NOTIFY isThinClientChanged)
    /**
     * The address of the server the session connects to, as the session file or link gives it
     * (an IPv6 address keeps its colons). setServerIp() emits serverIpChanged() on every call,
     * changed or not; so does loadFromWeb().
     * @see serverIp(), setServerIp(), serverIpChanged()
     */
    Q_PROPERTY(QString serverIp READ serverIp WRITE setServerIp NOTIFY serverIpChanged)
    /**
     * The server's port, 8860 until a session file or link gives one; a number beyond 65535
     * there keeps its low 16 bits (70000 connects to 4464). setServerPort() emits
     * serverPortChanged() on every call, changed or not; so does loadFromWeb().
     * @see serverPort() const, setServerPort(), serverPortChanged()
     */
    Q_PROPERTY(unsigned short serverPort READ serverPort WRITE setServerPort NOTIFY serverPortChanged)
    /**
     * The kind of server, a number of the common library's Vdp::ServerType exchanged with QML
     * as an integer: 1 is a gateway, whose video mode getVideoModeGw() then applies.
     * setServerType() emits serverTypeChanged() on every call, changed or not.
     * @see serverType(), setServerType(), serverTypeChanged(), getServerType()
     */
    Q_PROPERTY(ServerType serverType READ serverType WRITE setServerType NOTIFY serverTypeChanged)
    /**
     * The user's choice of video decoding, in force under ConfigModeUserDefine (see
     * vgpuDecodeTypeActual()). setVgpuDecodeType() emits vgpuDecodeTypeChanged() on a change.
     * @see vgpuDecodeType(), setVgpuDecodeType(), vgpuDecodeTypeChanged(), #vgpuDecodeTypePlatform
     */
    Q_PROPERTY(VgpuDecodeType vgpuDecodeType READ vgpuDecodeType WRITE setVgpuDecodeType NOTIFY vgpuDecodeTypeChanged)
    /**
     * The platform's video decoding, from the broker's video policy; in force under
     * ConfigModePreDefine. Read-only and without a signal: a binding does not see a later
     * change.
     * @see vgpuDecodeTypePlatform(), #vgpuDecodeType, vgpuDecodeTypeActual() const
     */
    Q_PROPERTY(VgpuDecodeType vgpuDecodeTypePlatform READ vgpuDecodeTypePlatform)
    /**
     * The toolbar's style, a number the session program gives meaning to. setToolbarStyle()
     * emits no toolbarStyleChanged().
     * @see toolbarStyle() const, setToolbarStyle(), toolbarStyleChanged()
     */
    Q_PROPERTY(int toolbarStyle READ toolbarStyle WRITE setToolbarStyle NOTIFY toolbarStyleChanged)
    /**
     * Whether the toolbar hides itself. setIsAutoHideToolbar() emits isAutoHideToolbarChanged()
     * on a change.
     * @see isAutoHideToolbar() const, setIsAutoHideToolbar(), isAutoHideToolbarChanged()
     */
    Q_PROPERTY(bool isAutoHideToolbar READ isAutoHideToolbar WRITE setIsAutoHideToolbar NOTIFY isAutoHideToolbarChanged)
    /**
     * Full screen or a window. setWindowStyle() emits windowStyleChanged() on a change.
     * @see windowStyle(), setWindowStyle(), windowStyleChanged()
     */
    Q_PROPERTY(WindowStyle windowStyle READ windowStyle WRITE setWindowStyle NOTIFY windowStyleChanged)
    /**
     * The name of the user interface's skin. setSkin() emits skinChanged() on every call,
     * changed or not; so does loadFromWeb() for a link that names a theme.
     * @see skin(), setSkin(), skinChanged()
     */
    Q_PROPERTY(QString skin READ skin WRITE setSkin NOTIFY skinChanged)
    /**
     * The server's processor architecture, always "X86": setCurServerArch() logs what it is
     * given and stores "X86", and emits no curServerArchChanged().
     * @see curServerArch(), setCurServerArch(), curServerArchChanged()
     */
    Q_PROPERTY(QString curServerArch READ curServerArch WRITE setCurServerArch NOTIFY curServerArchChanged)
    /**
     * How the remote display is streamed, TYPE_STREAM_NONE until a session file, the previous
     * session's file or the program chooses. setStreamMode() emits no streamModeChanged(): a
     * binding does not see the change.
     * @see streamMode(), setStreamMode(), streamModeChanged(), getVideoModeActual()
     */
    Q_PROPERTY(StreamControlType streamMode READ streamMode WRITE setStreamMode NOTIFY streamModeChanged)
    /**
     * The user's image compression, in force under ConfigModeUserDefine (see
     * imgCompressActual()). setImgCompress() emits imgCompressChanged() on a change.
     * @see imgCompress(), setImgCompress(), imgCompressChanged(), #imgCompressPlatform
     */
    Q_PROPERTY(ImageControlType imgCompress READ imgCompress WRITE setImgCompress NOTIFY imgCompressChanged)
    /**
     * The platform's image compression, from the broker's video policy; in force under
     * ConfigModePreDefine. Read-only and without a signal.
     * @see imgCompressPlatform(), #imgCompress, imgCompressActual()
     */
    Q_PROPERTY(ImageControlType imgCompressPlatform READ imgCompressPlatform)
    /**
     * The user's JPEG quality, 95 until a session file or the program sets one; in force under
     * ConfigModeUserDefine (see jpegQualityActual()). setJpegQuality() emits
     * jpegQualityChanged() on a change.
     * @see jpegQuality(), setJpegQuality(), jpegQualityChanged(), #jpegQualityPlatform
     */
    Q_PROPERTY(int jpegQuality READ jpegQuality WRITE setJpegQuality NOTIFY jpegQualityChanged)
    /**
     * The platform's JPEG quality, from the broker's video policy; in force under
     * ConfigModePreDefine. Read-only and without a signal.
     * @see jpegQualityPlatform(), #jpegQuality, jpegQualityActual()
     */
    Q_PROPERTY(int jpegQualityPlatform READ jpegQualityPlatform)
    /**
     * The display resolution as text, "1280 x 720" until the program sets another; no session
     * file holds it. setResolution() emits resolutionChanged() on a change.
     * @see resolution(), setResolution(), resolutionChanged(), displayRes()
     */
    Q_PROPERTY(QString resolution READ resolution WRITE setResolution NOTIFY resolutionChanged)
    /**
     * The user's video quality level, in force under ConfigModeUserDefine (see
     * vgpuQPTypeActual()). setVgpuQPType() emits vgpuQPTypeChanged() on a change.
     * @see vgpuQPType(), setVgpuQPType(), vgpuQPTypeChanged(), #vgpuQPTypePlatform
     */
    Q_PROPERTY(VgpuQPType vgpuQPType READ vgpuQPType WRITE setVgpuQPType NOTIFY vgpuQPTypeChanged)
    /**
     * The platform's video quality level; in force under ConfigModePreDefine. Read-only and
     * without a signal; every read logs one line.
     * @see vgpuQPTypePlatform(), setVgpuQPTypePlatform(), #vgpuQPType, vgpuQPTypeActual()
     */
    Q_PROPERTY(VgpuQPType vgpuQPTypePlatform READ vgpuQPTypePlatform)
    /**
     * Whether the platform forces its own video settings: the broker's policy sets it when its
     * "forceDistributionDecode" is exactly 1, and then makes the configuration mode
     * ConfigModePreDefine. setForceDistributionDecode() emits forceDistributionDecodeChanged()
     * on a change; loading a policy emits nothing.
     * @see forceDistributionDecode() const, setForceDistributionDecode(), forceDistributionDecodeChanged()
     */
    Q_PROPERTY(bool forceDistributionDecode READ forceDistributionDecode WRITE setForceDistributionDecode NOTIFY forceDistributionDecodeChanged)
    /**
     * Whether the session is an RDP session. Declared CONSTANT, so a binding reads it once,
     * although it follows poolType() and protocol().
     * @see isRdp() const
     */
    Q_PROPERTY(bool isRdp READ isRdp CONSTANT)
    /**
     * The idle time after which the session breaks. setAutoBreakSecondTimes() emits
     * autoBreakSecondTimesChanged() on every call, changed or not.
     * @see autoBreakSecondTimes(), setAutoBreakSecondTimes(), autoBreakSecondTimesChanged(), getAutoBreakTimeSeconds() const
     */
    Q_PROPERTY(AutoBreakTime autoBreakSecondTimes READ autoBreakSecondTimes WRITE setAutoBreakSecondTimes NOTIFY autoBreakSecondTimesChanged)
    /**
     * Whose video settings are in force: the platform's (ConfigModePreDefine) or the user's
     * (any other number). setConfigMode() emits configModeChanged() on a change, and nothing
     * else, although enableVgpuQPType() and platformDecodeEnable() change with it.
     * @see configMode(), setConfigMode(), configModeChanged()
     */
    Q_PROPERTY(ConfigMode configMode READ configMode WRITE setConfigMode NOTIFY configModeChanged)
    /**
     * Whether the platform decides the video settings: true until a session file or
     * setOperatorPolicy() gives the operator policy's "platformUnifiedConfig", then true exactly
     * when that is 0. Read-only and without a signal.
     * @see platformUnifiedConfig() const, setOperatorPolicy()
     */
    Q_PROPERTY(bool platformUnifiedConfig READ platformUnifiedConfig)
    /**
     * How the session's windows are arranged on the screens. setWindowMode() emits
     * windowModeChanged() on a change.
     * @see windowMode(), setWindowMode(), windowModeChanged()
     */
    Q_PROPERTY(WindowMode windowMode READ windowMode WRITE setWindowMode NOTIFY windowModeChanged)
    /**
     * How frames are rendered. setRenderMode() emits renderModeChanged() on a change.
     * @see renderMode(), setRenderMode(), renderModeChanged()
     */
    Q_PROPERTY(RenderMode renderMode READ renderMode WRITE setRenderMode NOTIFY renderModeChanged)
    /**
     * Whether the session uses every screen. setMultiScreen() emits no isMultiScreenChanged().
     * @see isMultiScreen() const, setMultiScreen(), isMultiScreenChanged()
     */
    Q_PROPERTY(bool isMultiScreen READ isMultiScreen WRITE setMultiScreen NOTIFY isMultiScreenChanged)
    /**
     * Whether the broker's user profile policy (UPM) is on. setEnableUpmPolicy() emits no
     * isEnableUpmPolicyChanged(); neither does setControlPolicy(), which also sets it.
     * @see isEnableUpmPolicy() const, setEnableUpmPolicy(), isEnableUpmPolicyChanged()
     */
    Q_PROPERTY(bool isEnableUpmPolicy READ isEnableUpmPolicy WRITE setEnableUpmPolicy NOTIFY isEnableUpmPolicyChanged)
    /**
     * The session's log level, kept for the program: the library does not change any logger's
     * level. setLogLevel() emits logLevelChanged() with the new level, on a change.
     * @see logLevel() const, setLogLevel(), logLevelChanged()
     */
    Q_PROPERTY(int logLevel READ logLevel WRITE setLogLevel NOTIFY logLevelChanged)
    /**
     * Whether the received stream is dumped, for diagnosis. setStreamDataDumpEnabled() emits no
     * streamDataDumpEnabledChanged().
     * @see streamDataDumpEnabled() const, setStreamDataDumpEnabled(), streamDataDumpEnabledChanged()
     */
    Q_PROPERTY(bool streamDataDumpEnabled READ streamDataDumpEnabled WRITE setStreamDataDumpEnabled NOTIFY streamDataDumpEnabledChanged)
    /**
     * The render driver's name. setRenderDriverValue() emits no renderDriverValueChanged(),
     * whose argument is an int although the property is text.
     * @see renderDriverValue(), setRenderDriverValue(), renderDriverValueChanged()
     */
    Q_PROPERTY(QString renderDriverValue READ renderDriverValue WRITE setRenderDriverValue NOTIFY renderDriverValueChanged)
    /**
     * How a 4K display is handled. setDisplay4KType() emits display4KTypeChanged() on every
     * call, changed or not.
     * @see display4KType(), setDisplay4KType(), display4KTypeChanged()
     */
    Q_PROPERTY(Display4KType display4KType READ display4KType WRITE setDisplay4KType NOTIFY display4KTypeChanged)
    /**
     * Where the mouse pointer is handled. setMouseMode() emits no mouseModeChanged().
     * @see mouseMode(), setMouseMode(), mouseModeChanged()
     */
    Q_PROPERTY(MouseMode mouseMode READ mouseMode WRITE setMouseMode NOTIFY mouseModeChanged)
    /**
     * Whether Direct3D debugging is on. setD3dDebugEnabled() emits no d3dDebugEnabledChanged().
     * @see d3dDebugEnabled() const, setD3dDebugEnabled(), d3dDebugEnabledChanged()
     */
    Q_PROPERTY(bool d3dDebugEnabled READ d3dDebugEnabled WRITE setD3dDebugEnabled NOTIFY d3dDebugEnabledChanged)

public:
    // Files and links carry these enumerations as their numbers, and any 32-bit number they
    // carry is stored as it is, so each has the full range of int.

    /**
     * How the remote display is streamed. The effective video mode, getVideoModeActual(),
     * counts on the same scale.
     * @see #streamMode
     */
    enum StreamControlType : int {
        /// No stream mode chosen: the platform's video mode decides, and saveToVdp() leaves the
        /// file's "stream_control_value" as it is.
        TYPE_STREAM_NONE = -1,
        TYPE_STREAM_OFFICE = 0, ///< Streaming suited to office work.
        TYPE_STREAM_VIDEO = 1, ///< Streaming suited to video.
        TYPE_STREAM_HD = 2, ///< High-definition streaming.
        TYPE_STREAM_ALWAYS = 3, ///< The display streamed all the time, whatever it shows.
    };
    Q_ENUM(StreamControlType)

    /**
     * How images of the remote display are compressed. The broker's policy counts the two the
     * other way round (its 0 is JPEG); imgCompressPlatform() has already turned them.
     * @see #imgCompress, #imgCompressPlatform, imgCompressActual()
     */
    enum ImageControlType : int {
        TYPE_COMPRESS_LOSSLESS = 0, ///< Images are sent without loss.
        TYPE_COMPRESS_JPEG = 1, ///< Images are sent as JPEG, at jpegQualityActual().
    };
    Q_ENUM(ImageControlType)

    /**
     * How the remote desktop is fitted into the session window. Published for QML only: no
     * setting holds it.
     */
    enum ResolutionModeType : int {
        TYPE_ACTUAL_SIZE = 0, ///< The remote desktop at its own size, one remote pixel to a local one.
        TYPE_FIT_MAP = 1, ///< The remote desktop scaled to fit the window.
    };
    Q_ENUM(ResolutionModeType)

    /**
     * Where the video stream is decoded.
     * @see #vgpuDecodeType, #vgpuDecodeTypePlatform, vgpuDecodeTypeActual() const
     */
    enum VgpuDecodeType : int {
        Hardware_VgpuDecode_TYPE = 0, ///< By the local graphics hardware.
        Software_VgpuDecode_TYPE = 1, ///< By the processor; the choice until a file or policy makes another.
        Auto_VgpuDecode_TYPE = 2, ///< Whichever of the two the host supports.
    };
    Q_ENUM(VgpuDecodeType)

    /**
     * The quality level of the video stream.
     * @see #vgpuQPType, #vgpuQPTypePlatform, vgpuQPTypeActual()
     */
    enum VgpuQPType : int {
        /// No level: below the three levels. A session file's 0 is read as VgpuQPType_M; the
        /// platform's level is the broker's "videoQuality" plus 1, so it is this only for -1.
        VgpuQPType_BEGIN = 0,
        VgpuQPType_H = 1, ///< High quality: the broker's "videoQuality" 0.
        VgpuQPType_M = 2, ///< Medium quality; the level until a file or policy gives another.
        VgpuQPType_L = 3, ///< Low quality: the broker's "videoQuality" 2.
    };
    Q_ENUM(VgpuQPType)

    /**
     * Whose video settings are in force. The accessors ending in "Actual", getStreamDecodeType(),
     * platformDecodeEnable() and enableVgpuQPType() choose by it.
     * @see #configMode
     */
    enum ConfigMode : int {
        /// The platform's: imgCompressPlatform(), jpegQualityPlatform(), vgpuQPTypePlatform()
        /// and vgpuDecodeTypePlatform().
        ConfigModePreDefine = 0,
        /// The user's: imgCompress(), jpegQuality(), vgpuQPType() and vgpuDecodeType(). So is any
        /// number other than ConfigModePreDefine, except for enableVgpuQPType().
        ConfigModeUserDefine = 1,
    };
    Q_ENUM(ConfigMode)

    /**
     * Whether the session fills the screen.
     * @see #windowStyle
     */
    enum WindowStyle : int {
        FullScreen = 0, ///< The session covers the whole screen; the style until a file gives another.
        Window = 1, ///< The session runs in an ordinary window.
    };
    Q_ENUM(WindowStyle)

    /**
     * Where the mouse pointer is handled.
     * @see #mouseMode
     */
    enum MouseMode : int {
        LOCAL_MODE = 0, ///< On this machine: the local pointer moves at once.
        SERVER_MODE = 1, ///< On the remote desktop, which draws the pointer.
    };
    Q_ENUM(MouseMode)

    /**
     * What the session program connects to.
     * @see programType()
     */
    enum VdSessionProgramType : int {
        VdpVM = 0, ///< A virtual machine, over the client's own display protocol.
        RdpVM = 1, ///< A virtual machine, over RDP.
        RdpPC = 2, ///< A physical PC, over RDP.
        RdpVApp = 3, ///< A single published application, over RDP.
    };
    Q_ENUM(VdSessionProgramType)

    /**
     * The idle time after which the session breaks.
     * @see #autoBreakSecondTimes, getAutoBreakTimeSeconds() const
     */
    enum AutoBreakTime : int {
        AUTO_BREAK_TIME_5M = 0, ///< After 5 minutes; what a session file without the key gives.
        AUTO_BREAK_TIME_15M = 1, ///< After 15 minutes.
        AUTO_BREAK_TIME_30M = 2, ///< After 30 minutes.
        AUTO_BREAK_TIME_1H = 3, ///< After an hour.
        /// Never; what a session file's number outside this enumeration and a web launch give.
        AUTO_BREAK_TIME_NO = 4,
    };
    Q_ENUM(AutoBreakTime)

    /**
     * How the session's windows are arranged on the local screens.
     * @see #windowMode
     */
    enum WindowMode : int {
        /// One window. The readers replace it by MultiSDLWindowMode; only setWindowMode() stores it.
        SingleWindowMode = 0,
        /// One SDL window per screen; what a session file without the key gives.
        MultiSDLWindowMode = 1,
        /// One window of the session program's own per screen.
        MultiVdpWindowMode = 2,
    };
    Q_ENUM(WindowMode)

    /**
     * How much of a frame is rendered anew.
     * @see #renderMode
     */
    enum RenderMode : int {
        RenderModeTotal = 0, ///< The whole frame.
        /// Only the parts that changed; what the readers default to and a web launch sets, on
        /// every host.
        RenderModePart = 1,
    };
    Q_ENUM(RenderMode)

    /**
     * What the session renders through.
     * @see renderSystemMode(), updateConfig()
     */
    enum RenderSystemMode : int {
        RenderSystemDEFAULT = 0, ///< Nothing chosen yet; updateConfig() turns it into RenderSystemSDL.
        RenderSystemSDL = 1, ///< SDL; what a web launch sets.
        RenderSystemXCB = 2, ///< The X server, through XCB.
    };
    Q_ENUM(RenderSystemMode)

    /**
     * How a 4K display is handled. A current-layout session file's number outside this
     * enumeration is read as Display_4K_Default.
     * @see #display4KType
     */
    enum Display4KType : int {
        Display_4K_Default = 0, ///< No particular handling.
        Display_4K_ApplyForVm = 1, ///< 4K applied for the VM.
        Display_4K_OperateForVm = 2, ///< 4K operated for the VM.
        Display_4K_OldPlatform = 3, ///< A platform older than 4K handling.
    };
    Q_ENUM(Display4KType)

    /**
     * @name The settings object
     * @{
     */

    /**
     * The process-wide object, created on the first call (which reads the machine description
     * and "vdisettings.ini", see @ref files "Files") and never deleted by the library. Call it
     * first on the thread that runs QML: the first call must not race with another.
     */
    static VdSessionSettings *instance();
    /**
     * Releases every setting. Nothing is saved. The library never deletes the object, and
     * instance() goes on returning the same pointer after a program did.
     */
    ~VdSessionSettings() override;

    /**
     * Registers the object as the QML singleton "Settings" of com.virtual.vdi 1.0. Call it once,
     * before a QML engine first resolves "Settings": every engine is then given instance(), and
     * none takes ownership of it.
     */
    void qmlRegisterSingletonType();

    // The order of the Q_INVOKABLE members below fixes their meta-object indices.

    /** Always true, on every platform the library is built for. */
    Q_INVOKABLE bool isWindows();

    /**
     * @}
     * @name Session file
     * Loading a session file (".vdp"), saving the user's choices into it, and the previous
     * session's file beside it. The layouts are described in docs/session-file.md.
     * @{
     */

    /**
     * Remembers @p fileName, reads it and fills the settings; false when it cannot be read or parsed.
     *
     * The path is remembered first, as given, even when the file cannot be read (getVdpPath()).
     * Only a regular file of at most 16 MiB is read. A document with a top-level
     * "vdsession settings" goes to fromOldJson(), any other to fromJson(), which first takes
     * the stream mode from the previous session's file and removes that file (see
     * readOldVdpConfig()). A top-level array reads as an empty current-layout document. A key
     * that is missing or holds another JSON type gives its default and still returns true;
     * VdSessionCheck tells which keys those were. Emits no signal.
     * @see saveToVdp(), VdSessionFiles::readWholeFile()
     */
    Q_INVOKABLE bool loadFromVdp(const QString &fileName);
    /** The path given to the last loadFromVdp(), exactly as given; empty before the first. */
    Q_INVOKABLE QString getVdpPath();
    /** Removes the session file named by getVdpPath(); the path is kept. */
    void deleteVdpFile();
    /**
     * Reads a session document in the current layout, first taking the stream mode from the
     * previous session's file beside getVdpPath() (and removing that file) unless @p root has
     * "inherit old vdp". Emits no signal.
     *
     * Most settings the layout carries are overwritten whether or not their key is present. A
     * few are kept when their key is absent: getUsbConfigs(), streamMode(), getImageRenderType(),
     * renderDriverValue(), getSDLRenderFlag(), streamDataDumpEnabled(), d3dDebugEnabled(),
     * displayRes() and the window rectangles of screens the document does not name. The lists
     * getDiskRedir(), iplist() and vmAddrs() are appended to, so reading the same document twice
     * lists each entry twice.
     */
    void fromJson(const QJsonObject &root);
    /**
     * Reads a session document in the legacy layout. Touches no other file and emits no signal.
     *
     * Whatever the document holds, isAutoHideToolbar() becomes true, isMMR() false, isSSO()
     * true and poolType() 1; the log level read is stored as 5 minus the number; an empty
     * "certPath" becomes "config/grpcserver.pem" in the executable's folder. getUsbConfigs(),
     * streamMode(), getImageRenderType(), getSDLRenderFlag() and the rectangles of screens the
     * document does not name are kept when their key is absent; getVmUuid(), the video policy
     * and every other setting the layout does not carry are not touched. iplist() and vmAddrs()
     * are appended to.
     */
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
     *
     * Changes no setting and emits no signal; failures are only logged.
     * @see loadFromVdp(), VdSessionFiles::writeWholeFile()
     */
    void saveToVdp();
    /**
     * Takes the stream mode from the previous session's file beside the session file, then removes that file.
     *
     * Only a session file named "VdSession-<name>.vdp" has a previous file: "<name>-2.vdp" in
     * the same folder. Its "vdsession settings" / "stream_control_value", when present, becomes
     * streamMode() as it is, without a range check and without a signal. The file is removed
     * once read, whether or not it had the key; a file that cannot be read or is not JSON stays,
     * and is reported again by the next load. fromJson() calls this unless the document has
     * "inherit old vdp".
     */
    void readOldVdpConfig();
    /**
     * Chooses the SDL render system when nothing has chosen one: RenderSystemDEFAULT becomes
     * RenderSystemSDL, any other render system stays. Emits no signal.
     * @see renderSystemMode()
     */
    void updateConfig();

    /**
     * @}
     * @name Web launch
     * @{
     */

    /**
     * Fills the settings from a web portal's launch link; false when the link is malformed.
     *
     * Every "evoked-download/?" is taken out of the link; the rest must hold six or seven
     * parameters separated by "&", told apart by position: "token=", "serverIp=",
     * "serverPort=", "vmUuid=", "h5ClientUuid=", "multiscreen=" and the optional "theme=".
     * Nothing is percent-decoded. The token runs to the end of its parameter, "=" included;
     * every other value runs from the first "=" to the next one. A port that is no number
     * gives 0, and a larger one keeps its low 16 bits. multiscreen is true only for the text
     * "true".
     *
     * Sets token(), serverIp() (emitting serverIpChanged()), serverPort() (emitting
     * serverPortChanged()), uuid(), getVmUuid(), h5ClientUuid(), isMultiScreen() and, with a
     * theme, skin() (emitting skinChanged()); no other signal. Once every check has passed, it
     * sets the web launch's profile: autoBreakSecondTimes() AUTO_BREAK_TIME_NO, isStartByWeb()
     * true, renderMode() RenderModePart and renderSystemMode() RenderSystemSDL. A link refused
     * part-way keeps what the parameters before the failed one set, signals included.
     */
    bool loadFromWeb(const QString &link);

    /**
     * @}
     * @name Host
     * The local machine, its configuration files and the server certificate.
     * @{
     */

    /** Whether the user interface is in English, as the internationalization library said when the object was created. */
    Q_INVOKABLE bool isLangEnglish() const;

    /**
     * @}
     * @name Window
     * The session window: where it stands on each screen, how the windows are arranged and
     * what the window offers.
     * @{
     */

    /**
     * Whether the session window offers a minimise button; false unless a session file says so.
     * @see #isShowMinimize, setIsShowMinimize(), isShowMinimizeChanged()
     */
    Q_INVOKABLE bool isShowMinimize() const;
    /**
     * Stores whether the window offers a minimise button; emits isShowMinimizeChanged() on
     * every call, changed or not.
     * @see #isShowMinimize, isShowMinimize() const, isShowMinimizeChanged()
     */
    void setIsShowMinimize(bool value);

    /**
     * The window rectangle to use on the screen @p screen, from the one remembered for @p winId.
     * The rectangle returned is also recorded, as by setGeometry(): it may emit geometryChanged()
     * and saveToVdp() writes it back, so asking is not free of effects.
     *
     * Without a remembered rectangle the window gets the default 994 x 801 pixels, centred on a
     * screen larger than that. A remembered rectangle is kept where it is usable: one whose
     * right edge is no more than 4 pixels inside the screen's left side, or whose left edge is
     * no more than 4 pixels inside its right side, or that is wider than the screen, is centred
     * horizontally; one whose top is above the screen is brought down to the screen's top; one
     * whose top is 40 pixels or less above the screen's bottom edge, or below it, is centred
     * vertically. Sizes used for that are the remembered ones snapped down to 16 k + 2 (width)
     * and 16 k + 1 (height) where they are smaller than the screen, else the default. A
     * rectangle that does not meet the screen at all is centred on it, and one still larger
     * than the screen is given those sizes.
     *
     * The screen's left, top, width and height are each held to +-16777216 (2^24) first, as the
     * numbers of a session file's rectangles are: a screen reaching beyond that, even one whose
     * edges lie at the ends of the int range, counts as the part within, and never overflows.
     * @see rememberedGeometries(), setMenuBarHeight()
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

    /**
     * The user's choice not to be shown the start dialog again, from a current-layout file's
     * "noMoreshowDialog" and saved back by saveToVdp().
     * @see setNoMoreshowDialog()
     */
    Q_INVOKABLE bool noMoreshowDialog();
    /**
     * Stores the user's choice not to be shown the start dialog again; emits no signal.
     * @see noMoreshowDialog()
     */
    Q_INVOKABLE void setNoMoreshowDialog(const bool &value);

    /**
     * How the session's windows are arranged. The readers never leave SingleWindowMode: a file's
     * 0, or no key, gives MultiSDLWindowMode. Saved by saveToVdp().
     * @see #windowMode, setWindowMode(), windowModeChanged()
     */
    Q_INVOKABLE WindowMode windowMode();
    /**
     * Stores the window arrangement; emits windowModeChanged() when it changes.
     * @see #windowMode, windowMode(), windowModeChanged()
     */
    Q_INVOKABLE void setWindowMode(const WindowMode &windowMode);

    /**
     * Stores where the mouse pointer is handled. Emits no signal, although the property
     * declares mouseModeChanged().
     * @see #mouseMode, mouseMode(), mouseModeChanged()
     */
    Q_INVOKABLE void setMouseMode(const MouseMode &mode);
    /**
     * Where the mouse pointer is handled, from the session file's "mouse_mode"; saved by
     * saveToVdp().
     * @see #mouseMode, setMouseMode(), mouseModeChanged()
     */
    MouseMode mouseMode();

    /**
     * @}
     * @name Identity
     * Who the session is for and which desktop it shows.
     * @{
     */

    /** The VM's name. @see setVmName() */
    Q_INVOKABLE QString getVmName();
    /** Stores the VM's name; emits no signal. @see getVmName() */
    void setVmName(const QString &name);
    /** The desktop pool's name. @see setPoolName() */
    Q_INVOKABLE QString getPoolName();
    /** Stores the desktop pool's name; emits no signal. @see getPoolName() */
    void setPoolName(const QString &name);

    /**
     * @}
     * @name Video
     * The video stream: the platform's values from the broker's video policy, the user's
     * choices, and the values in force between them. Under ConfigModePreDefine the platform's
     * values are in force; under any other configuration mode the user's.
     * @{
     */

    /**
     * The video mode in force, on the scale of StreamControlType: the stream mode, unless it is
     * TYPE_STREAM_NONE or the platform forces its video mode (getForceEnableVideoMode()); then
     * getVideoModeGw() for a gateway (serverType() 1) and getVideoMode() for any other server.
     * Decided when the broker's video policy is read (fromJson() or setControlPolicy()) and not
     * again when the stream mode or the server type changes later.
     */
    Q_INVOKABLE int getVideoModeActual();

    /**
     * @}
     * @name Identity
     * @{
     */

    /**
     * The VM's identifier, from a current-layout file or a launch link; the legacy layout does
     * not set it.
     * @see vmuuid(), uuid()
     */
    Q_INVOKABLE QString getVmUuid();
    /** True once loadFromWeb() has accepted a link. */
    Q_INVOKABLE bool isStartByWeb() const;

    /**
     * The session identifier: the server address with every ":" turned into "-", then "-",
     * then the VM identifier.
     * @see #uuid, setUuid(), uuidChanged()
     */
    QString uuid();
    /**
     * Stores the session identifier. Emits no signal, although the property declares uuidChanged().
     * @see #uuid, uuid(), uuidChanged()
     */
    void setUuid(const QString &uuid);
    /** The VM's identifier, as UTF-8. @see getVmUuid() */
    std::string vmuuid();
    /**
     * The user name shown for the session. A current-layout file gives "userName", or the
     * login name when that is empty; a legacy file gives "username".
     * @see #currentUsername, setCurrentUsername(), currentUsernameChanged()
     */
    QString currentUsername();
    /**
     * An empty @p name takes the login name.
     *
     * Stores the user name shown; an empty @p name stores a copy of loginName(), which a later
     * setLoginName() does not change. Emits no signal, although the property declares
     * currentUsernameChanged().
     * @see #currentUsername, currentUsername(), currentUsernameChanged()
     */
    void setCurrentUsername(const QString &name);
    /**
     * The user's display name.
     * @see #currentNickname, getNickName(), setCurrentNickname(), currentNicknameChanged()
     */
    QString currentNickname();
    /** The user's display name, as currentNickname(). */
    QString getNickName();
    /**
     * Stores the user's display name. Emits no signal, although the property declares
     * currentNicknameChanged().
     * @see #currentNickname, currentNickname(), currentNicknameChanged()
     */
    void setCurrentNickname(const QString &nickname);
    /** The name the user logs in with. @see setLoginName(), currentUsername() */
    QString loginName();
    /** Stores the login name; emits no signal, and does not change currentUsername(). @see loginName() */
    void setLoginName(const QString &name);
    /** The user's password. @see setPassword() */
    QString getPassword();
    /** Stores the user's password; emits no signal. @see getPassword() */
    void setPassword(const QString &password);
    /** The password of the display protocol's connection. */
    QString getSpicePassword();
    /** The sign-on domain. @see setDomain() */
    QString domain();
    /** Stores the sign-on domain; emits no signal. @see domain() */
    void setDomain(const QString &domain);
    /** The web portal's access token, from the launch link. @see setToken(), loadFromWeb() */
    QString token();
    /** Stores the access token; emits no signal. @see token() */
    void setToken(const QString &token);
    /** The temporary sign-on ticket, from a current-layout file's "idlink temp ticket". @see setIdlinkTempTicket() */
    QString getIdlinkTempTicket();
    /** Stores the temporary sign-on ticket; emits no signal. @see getIdlinkTempTicket() */
    void setIdlinkTempTicket(QString ticket);
    /** The web sign-on flag, as a number: 0 until a legacy file gives its "webSSOLogin". */
    int isWebSSOLogin() const;
    /** The web client's identifier, from the launch link or a legacy file. */
    QString h5ClientUuid();
    /**
     * Whether the user signs on through OpenLDAP, as the number the session file gives. Logs
     * one line at info level on every call.
     * @see setIsOpenLdap()
     */
    int isOpenLdap();
    /** Stores the OpenLDAP flag; emits no signal. @see isOpenLdap() */
    void setIsOpenLdap(int openLdap);
    /** The identifier the broker gave the user, "calderwynId" of the session file. */
    QString getCalderwynId();
    /** The software name a current-layout file gives. */
    QString getSoftwareName();
    /**
     * The USB redirection configuration text. A session file without "usbConfigInfo" leaves it
     * as it was.
     */
    QString getUsbConfigs();
    /**
     * The local disks to redirect: the "DeviceId" of each "LocalDisk" entry of a current-layout
     * file, appended on every load, never emptied.
     */
    QStringList getDiskRedir();
    /**
     * The name of the VM to redirect focus to; "DefaultFocusConnect" until a current-layout file
     * is read, which gives its "RdrVmName" or the empty text.
     * @see setRdrVmName()
     */
    QString getRdrVmName();
    /** Stores the name of the VM to redirect focus to; emits no signal. @see getRdrVmName() */
    void setRdrVmName(const QString &name);
    /**
     * The kind of desktop pool, a number of the common library: 7 is an RDP pool (isRdp()). A
     * legacy file always gives 1.
     * @see setPoolType()
     */
    Vdp::PoolType poolType();
    /** Stores the kind of desktop pool; emits no signal. @see poolType() */
    void setPoolType(const Vdp::PoolType &type);
    /** What the session program connects to, from the session file's "vdsession_program_type". */
    VdSessionProgramType programType();

    /**
     * @}
     * @name Connection
     * The server the session connects to and how.
     * @{
     */

    /** The server's address. @see #serverIp, setServerIp(), serverIpChanged() */
    QString serverIp();
    /**
     * Stores the server's address; emits serverIpChanged() on every call, changed or not.
     * uuid() is not rebuilt.
     * @see #serverIp, serverIp(), serverIpChanged()
     */
    void setServerIp(const QString &ip);
    /** The server's port. @see #serverPort, setServerPort(), serverPortChanged() */
    unsigned short serverPort() const;
    /**
     * Stores the server's port; emits serverPortChanged() on every call, changed or not.
     * @see #serverPort, serverPort() const, serverPortChanged()
     */
    void setServerPort(unsigned short port);
    /** The kind of server; 1 is a gateway. @see #serverType, setServerType(), serverTypeChanged(), getServerType() */
    Vdp::ServerType serverType();
    /**
     * Stores the kind of server; emits serverTypeChanged() on every call, changed or not. The
     * video mode in force (getVideoModeActual()) is not decided again.
     * @see #serverType, serverType(), serverTypeChanged()
     */
    void setServerType(const Vdp::ServerType &type);
    /** The display protocol. @see #protocol, setProtocol(), protocolChanged(), isRdp() const */
    QString protocol();
    /**
     * Stores the display protocol. Emits no signal, although the property declares protocolChanged().
     * @see #protocol, protocol(), protocolChanged()
     */
    void setProtocol(const QString &protocol);
    /**
     * True for an RDP pool, or for the protocol "rdp".
     *
     * The pool type 7, or the protocol exactly "rdp" (not "RDP"), makes the session an RDP one.
     * @see #isRdp, poolType(), protocol()
     */
    bool isRdp() const;
    /** The VM's operating system version, as the session file gives it. */
    QString getOsVersion();
    /** The VM's operating system type, as the session file gives it. @see setOsType() */
    int getOsType();
    /** Stores the VM's operating system type; emits no signal. @see getOsType() */
    void setOsType(int type);

    /**
     * @}
     * @name Host
     * @{
     */

    /** The kind of client. @see #clientType, setClientType(), clientTypeChanged() */
    Vdp::ClientType clientType();
    /**
     * Stores the kind of client. Emits no signal, although the property declares clientTypeChanged().
     * @see #clientType, clientType(), clientTypeChanged()
     */
    void setClientType(const Vdp::ClientType &type);
    /** The kind of computer, a number of the common library; 1 until a session file is read. @see setComputerType() */
    Vdp::ComputerType computerType();
    /** Stores the kind of computer; emits no signal. @see computerType() */
    void setComputerType(const Vdp::ComputerType &type);
    /** Whether the client device is a thin client. @see #isThinClient, setIsThinClient(), isThinClientChanged() */
    bool isThinClient() const;
    /**
     * Stores whether the client device is a thin client; emits isThinClientChanged() with the
     * new value when it changes.
     * @see #isThinClient, isThinClient() const, isThinClientChanged()
     */
    void setIsThinClient(bool flag);
    /** The client device's MAC address, as the program set it. @see setDeviceMac() */
    QString deviceValidMAC();
    /** Stores the client device's MAC address; emits no signal. @see deviceValidMAC() */
    void setDeviceMac(const QString &mac);
    /** The client device's IP address, as the program set it. @see setDeviceIp() */
    QString deviceValidIp();
    /** Stores the client device's IP address; emits no signal. @see deviceValidIp() */
    void setDeviceIp(const QString &ip);
    /**
     * The number of the host's processors, from the machine description's "cpu" / "processors";
     * 0 without it.
     * @see setCpuCores()
     */
    int cpuCores() const;
    /** Stores the number of the host's processors; emits no signal. @see cpuCores() const */
    void setCpuCores(int cores);
    /**
     * The host processor's clock in gigahertz, from the machine description's "cpu" / "mhz"
     * ("2.40GHz" gives 2.4); 0 without it.
     * @see setCpuFrequency()
     */
    double cpuFrequency() const;
    /** Stores the host processor's clock, in gigahertz; emits no signal. @see cpuFrequency() const */
    void setCpuFrequency(double frequency);
    /** The host's total memory, the machine description's "memory" / "total" in its unit; 0 without it. */
    double memoryTotal();
    /** The host's available memory, the machine description's "memory" / "available" in its unit; 0 without it. */
    double memoryAvailable();

    /**
     * @}
     * @name Session options
     * @{
     */

    /**
     * The session's log level: 2 until a session file is read, then a current-layout file's
     * "LogLevel" (0 without it) or 5 minus a legacy file's "log level".
     * @see #logLevel, setLogLevel(), logLevelChanged()
     */
    int logLevel() const;
    /**
     * Stores the session's log level; emits logLevelChanged() with it when it changes. No
     * logger's level changes.
     * @see #logLevel, logLevel() const, logLevelChanged()
     */
    void setLogLevel(int level);
    /** Whether the session uses every screen. @see #isMultiScreen, setMultiScreen(), isMultiScreenChanged() */
    bool isMultiScreen() const;
    /**
     * Stores whether the session uses every screen. Emits no signal, although the property
     * declares isMultiScreenChanged().
     * @see #isMultiScreen, isMultiScreen() const, isMultiScreenChanged()
     */
    void setMultiScreen(bool multiScreen);
    /** Whether high-DPI scaling is on. @see setHighDPI() */
    bool isHighDPI();
    /** Stores whether high-DPI scaling is on; emits no signal. @see isHighDPI() */
    void setHighDPI(bool highDpi);
    /** How a 4K display is handled. @see #display4KType, setDisplay4KType(), display4KTypeChanged() */
    Display4KType display4KType();
    /**
     * Stores how a 4K display is handled, any number as it is; emits display4KTypeChanged() on
     * every call, changed or not.
     * @see #display4KType, display4KType(), display4KTypeChanged()
     */
    void setDisplay4KType(Display4KType type);
    /**
     * Whether multimedia redirection is on: true until a session file is read, then a
     * current-layout file's "IsMMR" (false without it) and false for a legacy file.
     * @see setMMR()
     */
    bool isMMR();
    /** Stores whether multimedia redirection is on; emits no signal. @see isMMR() */
    void setMMR(bool mmr);
    /**
     * Whether single sign-on is on: true until a session file is read, then a current-layout
     * file's "IsSSO" (false without it) and true for a legacy file.
     * @see setSSO()
     */
    bool isSSO();
    /** Stores whether single sign-on is on; emits no signal. @see isSSO() */
    void setSSO(bool sso);
    /**
     * Whether the broker's user profile policy (UPM) is on. A current-layout file turns it on
     * only with the text "1"; setControlPolicy() sets it too.
     * @see #isEnableUpmPolicy, setEnableUpmPolicy(), isEnableUpmPolicyChanged()
     */
    bool isEnableUpmPolicy() const;
    /**
     * Stores whether the user profile policy is on. Emits no signal, although the property
     * declares isEnableUpmPolicyChanged().
     * @see #isEnableUpmPolicy, isEnableUpmPolicy() const, isEnableUpmPolicyChanged()
     */
    void setEnableUpmPolicy(bool enable);
    /**
     * The idle time after which the session breaks. A session file's number outside the
     * enumeration gives AUTO_BREAK_TIME_NO, no key AUTO_BREAK_TIME_5M.
     * @see #autoBreakSecondTimes, setAutoBreakSecondTimes(), autoBreakSecondTimesChanged()
     */
    AutoBreakTime autoBreakSecondTimes();
    /**
     * Stores the idle time after which the session breaks, any number as it is; emits
     * autoBreakSecondTimesChanged() on every call, changed or not.
     * @see #autoBreakSecondTimes, autoBreakSecondTimes(), autoBreakSecondTimesChanged()
     */
    void setAutoBreakSecondTimes(const AutoBreakTime &time);
    /**
     * The idle time after which the session breaks, in seconds; 0 for never.
     *
     * 300, 900, 1800 and 3600 for the four times, 0 for AUTO_BREAK_TIME_NO and for a number
     * outside the enumeration.
     * @see autoBreakSecondTimes()
     */
    int getAutoBreakTimeSeconds() const;
    /** Whether the ES feature is on. @see setEsEnable(), esFrequency() */
    bool isEsEnable();
    /** Stores whether the ES feature is on; emits no signal. @see isEsEnable() */
    void setEsEnable(bool enable);
    /**
     * The ES feature's frequency value: 300 until a current-layout file is read, which gives its
     * "es frequency" or 0. Logs one line at info level on every call.
     * @see setEsFrequency()
     */
    int esFrequency();
    /** Stores the ES feature's frequency value; emits no signal. @see esFrequency() */
    void setEsFrequency(int frequency);

    /**
     * @}
     * @name Window
     * @{
     */

    /**
     * The toolbar's style, from a current-layout file's "basic settings" / "toolbarStyle".
     * saveToVdp() writes it at the top level, where no reader takes it back.
     * @see #toolbarStyle, setToolbarStyle(), toolbarStyleChanged()
     */
    int toolbarStyle() const;
    /**
     * Stores the toolbar's style. Emits no signal, although the property declares
     * toolbarStyleChanged().
     * @see #toolbarStyle, toolbarStyle() const, toolbarStyleChanged()
     */
    void setToolbarStyle(int style);
    /** Whether the toolbar hides itself; a legacy file always makes it true. @see #isAutoHideToolbar, setIsAutoHideToolbar(), isAutoHideToolbarChanged() */
    bool isAutoHideToolbar() const;
    /**
     * Stores whether the toolbar hides itself; emits isAutoHideToolbarChanged() when it changes.
     * @see #isAutoHideToolbar, isAutoHideToolbar() const, isAutoHideToolbarChanged()
     */
    void setIsAutoHideToolbar(bool autoHide);
    /** Full screen or a window. @see #windowStyle, setWindowStyle(), windowStyleChanged() */
    WindowStyle windowStyle();
    /**
     * Stores full screen or window; emits windowStyleChanged() when it changes.
     * @see #windowStyle, windowStyle(), windowStyleChanged()
     */
    void setWindowStyle(const WindowStyle &style);
    /** The name of the user interface's skin. @see #skin, setSkin(), skinChanged() */
    QString skin();
    /**
     * Stores the skin's name; emits skinChanged() on every call, changed or not.
     * @see #skin, skin(), skinChanged()
     */
    void setSkin(const QString &skin);
    /** The name of the primary screen, as a current-layout file gives it. */
    QString getPrimaryScreenName();
    /** Stores the menu bar's height, in pixels; it only appears in geometry()'s log. Emits no signal. */
    void setMenuBarHeight(int height);
    /** Stores whether the menu bar is hidden; it only appears in geometry()'s log. Emits no signal. */
    void setMenuBarHideStatus(bool hidden);

    /**
     * @}
     * @name Display
     * How the remote display is streamed, rendered and shown.
     * @{
     */

    /** The display resolution as text. @see #resolution, setResolution(), resolutionChanged() */
    QString resolution();
    /**
     * Stores the display resolution text; emits resolutionChanged() when it changes.
     * @see #resolution, resolution(), resolutionChanged()
     */
    void setResolution(const QString &resolution);
    /**
     * The display size in pixels: 0 x 0 until the program sets one or a current-layout file
     * gives "display_res" as "width,height"; saved by saveToVdp().
     * @see setDisplayRes()
     */
    QSize displayRes();
    /** Stores the display size in pixels and logs it; emits no signal. @see displayRes() */
    void setDisplayRes(const QSize &size);
    /**
     * How the remote display is streamed. A current-layout file without
     * "stream_control_value" keeps the one inherited from the previous session's file, or the
     * one before. Saved by saveToVdp() unless it is TYPE_STREAM_NONE.
     * @see #streamMode, setStreamMode(), streamModeChanged(), getVideoModeActual()
     */
    StreamControlType streamMode();
    /**
     * Stores a new stream mode; emits no signal, although the property declares streamModeChanged().
     *
     * Logs one line at debug level when the mode changes. getVideoModeActual() is not decided
     * again.
     * @see #streamMode, streamMode(), streamModeChanged()
     */
    void setStreamMode(const StreamControlType &mode);
    /** The image render type, from the session file's "render_type" when it has one. */
    int getImageRenderType() const;
    /** The SDL render flags, from the session file's "render_flag" when it has one. */
    int getSDLRenderFlag() const;
    /**
     * How much of a frame is rendered anew. A session file without "render mode" gives
     * RenderModePart; saved by saveToVdp().
     * @see #renderMode, setRenderMode(), renderModeChanged()
     */
    RenderMode renderMode();
    /**
     * Stores the render mode; emits renderModeChanged() when it changes.
     * @see #renderMode, renderMode(), renderModeChanged()
     */
    void setRenderMode(const RenderMode &mode);
    /**
     * What the session renders through, from the session file's "render system mode"; not
     * saved.
     * @see setRenderSystemMode(), updateConfig()
     */
    RenderSystemMode renderSystemMode();
    /** Stores what the session renders through; emits no signal. @see renderSystemMode() */
    void setRenderSystemMode(const RenderSystemMode &mode);
    /** The render debug level, from a current-layout file's "render_debug_level". */
    int renderDebugLevel();
    /**
     * The render driver's name, from a current-layout file's "render_driver_value" when it has
     * one; a value there that is not text gives "auto" ("software" on a KX-U6780A processor).
     * Saved by saveToVdp().
     * @see #renderDriverValue, setRenderDriverValue(), renderDriverValueChanged()
     */
    QString renderDriverValue();
    /**
     * Stores the render driver's name. Emits no signal, although the property declares
     * renderDriverValueChanged().
     * @see #renderDriverValue, renderDriverValue(), renderDriverValueChanged()
     */
    void setRenderDriverValue(QString value);
    /**
     * Whether the received stream is dumped, for diagnosis; saved by saveToVdp().
     * @see #streamDataDumpEnabled, setStreamDataDumpEnabled(), streamDataDumpEnabledChanged()
     */
    bool streamDataDumpEnabled() const;
    /**
     * Stores whether the received stream is dumped. Emits no signal, although the property
     * declares streamDataDumpEnabledChanged().
     * @see #streamDataDumpEnabled, streamDataDumpEnabled() const, streamDataDumpEnabledChanged()
     */
    void setStreamDataDumpEnabled(bool enabled);
    /**
     * Whether Direct3D debugging is on; saved by saveToVdp().
     * @see #d3dDebugEnabled, setD3dDebugEnabled(), d3dDebugEnabledChanged()
     */
    bool d3dDebugEnabled() const;
    /**
     * Stores whether Direct3D debugging is on. Emits no signal, although the property declares
     * d3dDebugEnabledChanged().
     * @see #d3dDebugEnabled, d3dDebugEnabled() const, d3dDebugEnabledChanged()
     */
    void setD3dDebugEnabled(bool enabled);

    /**
     * @}
     * @name Video
     * @{
     */

    /**
     * The platform's image compression: the broker's "image_compression_mode" with its lowest
     * bit turned (its 0 gives TYPE_COMPRESS_JPEG, its 1 TYPE_COMPRESS_LOSSLESS).
     * @see #imgCompressPlatform, imgCompressActual()
     */
    ImageControlType imgCompressPlatform();
    /** The user's image compression; saved by saveToVdp(). @see #imgCompress, setImgCompress(), imgCompressChanged() */
    ImageControlType imgCompress();
    /**
     * Stores the user's image compression; emits imgCompressChanged() when it changes.
     * @see #imgCompress, imgCompress(), imgCompressChanged()
     */
    void setImgCompress(const ImageControlType &compress);
    /** The image compression in force: imgCompressPlatform() under ConfigModePreDefine, else imgCompress(). */
    ImageControlType imgCompressActual();
    /** The platform's JPEG quality, from the broker's video policy. @see #jpegQualityPlatform, jpegQualityActual() */
    int jpegQualityPlatform();
    /** The user's JPEG quality; saved by saveToVdp(). @see #jpegQuality, setJpegQuality(), jpegQualityChanged() */
    int jpegQuality();
    /**
     * Stores the user's JPEG quality; emits jpegQualityChanged() when it changes. The video
     * policy text already built keeps the quality it had.
     * @see #jpegQuality, jpegQuality(), jpegQualityChanged(), videoPolicy()
     */
    void setJpegQuality(int quality);
    /** The JPEG quality in force: jpegQualityPlatform() under ConfigModePreDefine, else jpegQuality(). */
    int jpegQualityActual();
    /**
     * The platform's video quality level: the operator policy's "videoQuality" plus 1. Logs one
     * line at info level on every call.
     * @see #vgpuQPTypePlatform, setVgpuQPTypePlatform(), vgpuQPTypeActual()
     */
    VgpuQPType vgpuQPTypePlatform();
    /** Stores the platform's video quality level, any number as it is; emits no signal. @see vgpuQPTypePlatform() */
    void setVgpuQPTypePlatform(int type);
    /**
     * The user's video quality level; a current-layout file's 0, or no key, gives
     * VgpuQPType_M. Saved by saveToVdp().
     * @see #vgpuQPType, setVgpuQPType(), vgpuQPTypeChanged()
     */
    VgpuQPType vgpuQPType();
    /**
     * Stores the user's video quality level; emits vgpuQPTypeChanged() when it changes.
     * @see #vgpuQPType, vgpuQPType(), vgpuQPTypeChanged()
     */
    void setVgpuQPType(const VgpuQPType &type);
    /** The video quality level in force: the platform's under ConfigModePreDefine (read without the log line), else vgpuQPType(). */
    VgpuQPType vgpuQPTypeActual();
    /** The platform's video decoding, the broker's "videoDecode". @see #vgpuDecodeTypePlatform, vgpuDecodeTypeActual() const */
    VgpuDecodeType vgpuDecodeTypePlatform();
    /** The user's video decoding; saved by saveToVdp(). @see #vgpuDecodeType, setVgpuDecodeType(), vgpuDecodeTypeChanged() */
    VgpuDecodeType vgpuDecodeType();
    /**
     * Stores the user's video decoding; emits vgpuDecodeTypeChanged() when it changes.
     * @see #vgpuDecodeType, vgpuDecodeType(), vgpuDecodeTypeChanged()
     */
    void setVgpuDecodeType(const VgpuDecodeType &type);
    /** The video decoding in force: vgpuDecodeTypePlatform() under ConfigModePreDefine, else vgpuDecodeType(). */
    VgpuDecodeType vgpuDecodeTypeActual() const;
    /** The video decoding in force as a number, as vgpuDecodeTypeActual() const. */
    int getStreamDecodeType() const;
    /** Whether the platform forces its own video settings. @see #forceDistributionDecode, setForceDistributionDecode(), forceDistributionDecodeChanged() */
    bool forceDistributionDecode() const;
    /**
     * Stores whether the platform forces its video settings; emits
     * forceDistributionDecodeChanged() when it changes. The configuration mode is not changed.
     * @see #forceDistributionDecode, forceDistributionDecode() const, forceDistributionDecodeChanged()
     */
    void setForceDistributionDecode(const bool &force);
    /**
     * Whose video settings are in force. Reading a session file or a control policy decides it:
     * ConfigModeUserDefine when the platform does not decide (platformUnifiedConfig() false),
     * else ConfigModePreDefine when it forces its settings (forceDistributionDecode()), else the
     * file's "config mode" (saved by saveToVdp()) or, for setControlPolicy(), the mode as it was.
     * @see #configMode, setConfigMode(), configModeChanged()
     */
    ConfigMode configMode();
    /**
     * Stores whose video settings are in force; emits configModeChanged() when it changes, and
     * no other signal.
     * @see #configMode, configMode(), configModeChanged()
     */
    void setConfigMode(ConfigMode mode);
    /** True when the user's video choices are in force. Exactly when the configuration mode is ConfigModeUserDefine. */
    bool enableVgpuQPType() const;
    /** True when the platform's video choices are in force. Exactly when the configuration mode is ConfigModePreDefine. */
    bool platformDecodeEnable() const;
    /** Whether the platform decides the video settings. @see #platformUnifiedConfig, setOperatorPolicy() */
    bool platformUnifiedConfig() const;
    /** The platform's video mode, the broker's "videoMode". @see getVideoModeActual() */
    int getVideoMode();
    /** The platform's video mode through a gateway, the broker's "videoModeGw". @see getVideoModeActual() */
    int getVideoModeGw();
    /** Whether the platform's video mode wins over the stream mode: the broker's "forceEnableVideoMode" is not 0. */
    bool getForceEnableVideoMode();
    /** The video decoders to offer, ["DXVA"] until readVideoDecoders() reads another list. */
    QStringList videoDecoders();

    /**
     * @}
     * @name Policies
     * The broker's policies for the VM: its control policy, the VM's addresses and the
     * operator's permissions. None of these setters emits a signal.
     * @{
     */

    /**
     * Takes the platform values of the broker's control policy and builds the video policy text.
     *
     * Sets isEnableUpmPolicy(), getRateLimitorPolicy(), getVideoMode(), getVideoModeGw(),
     * getForceEnableVideoMode(), getVideoModeActual() (from the stream mode and the server type
     * as they are now), imgCompressPlatform(), jpegQualityPlatform(), vgpuDecodeTypePlatform()
     * and forceDistributionDecode(); then the configuration mode: ConfigModeUserDefine when
     * platformUnifiedConfig() is false, ConfigModePreDefine when the policy forces its settings,
     * else unchanged. Every member is taken as it is, without a range check. Emits no signal.
     * @see videoPolicy(), setOperatorPolicy()
     */
    void setControlPolicy(const Vdp::tagControlPolicy &policy);
    /**
     * The video policy as indented JSON text.
     *
     * The broker's encoder, decoder and transport values exactly as it sent them, from
     * setControlPolicy() or the session file's "video_policy", keys in sorted order. When the
     * user's video settings were in force as it was built, its "jpeg_quality" is the user's
     * jpegQuality() of that moment; otherwise the text from setControlPolicy() has no
     * "jpeg_quality", and the one from a session file has the policy's own, if any. Empty
     * before either.
     */
    std::string videoPolicy();
    /** The rate limiter policy text, from the session file or setControlPolicy(). */
    QString getRateLimitorPolicy();
    /** The clipboard policy of RDP sessions, the session file's "rdpClipboard"; 0 without it. */
    int rdpClipboardPolicy() const;
    /** Replaces the VM's network addresses by a copy of @p addrs. @see vmAddrs(), vmmac(), iplist() */
    void setVMAddrs(const std::vector<Vdp::tagVMAddress> &addrs);
    /**
     * The VM's network addresses: those setVMAddrs() gave, or those each loaded session file's
     * "lstAddresses" list appended.
     */
    std::vector<Vdp::tagVMAddress> vmAddrs();
    /**
     * The VM's MAC address, or that of its first address record.
     *
     * The session file's one "lstAddresses" object's "mac" when it has one; else the first
     * address record's; else empty.
     */
    QString vmmac();
    /**
     * The VM's IP list, or the addresses of all its address records.
     *
     * The session files' "lstIps" when they gave any; else every record's addresses in order,
     * duplicates included. Built on every call.
     */
    QStringList iplist();
    /**
     * Takes only the operator policy's "platformUnifiedConfig": 0 makes platformUnifiedConfig()
     * true, any other number false. getVMOperator() and the configuration mode are not changed;
     * call it before setControlPolicy(), which reads it.
     */
    void setOperatorPolicy(const Vdp::tagVMOperator &op);
    /**
     * The operations the user may perform on the VM, from the session file's "vmOperator":
     * each permission as its number, 0 without the key. Before a file is read, "disconnection"
     * and "clientCtrlAltDel" are 1 and the rest 0; "platformUnifiedConfig" and "videoQuality"
     * stay 0 here (see platformUnifiedConfig() and vgpuQPTypePlatform()).
     */
    Vdp::tagVMOperator getVMOperator();

    /**
     * @}
     * @name Host
     * @{
     */

    /**
     * The product version from "version.ini" beside the executable.
     *
     * Its "Calderwyn" / "ExternalVersion", with blanks at the ends removed and every inner run of
     * white space made one blank; empty without the file or key. Read on every call.
     */
    QString version();
    /**
     * Refreshes videoDecoders() from "decoders.ini", creating the file when it is missing.
     *
     * The file is "<application name>/decoders.ini" in the user's documents folder, its
     * "VIDEO_DECODERS" / "DECODERS" a list ("DXVA, NVDEC"); an existing file without the key
     * empties the list. A missing file is created, written whole, with the list as it is; the
     * list stays, and a file that cannot be written is logged and not created.
     */
    void readVideoDecoders();
    /**
     * The type of the server in use, from the known-server list.
     *
     * The list is "Calderwyn/settings.ini" in the user's documents folder: the first "SERVERS"
     * entry whose "SERVERIP" or "SECONDSERVERIP" equals "CURSERVERIP" (empty when missing)
     * gives its "SERVERTYPE" when that is 0 or 1, and otherwise 1 for a "SERVERPORT" of "443"
     * and 0 for any other; no such entry gives 0. Read on every call; serverType() is not
     * changed.
     */
    Vdp::ServerType getServerType();
    /** The server's processor architecture, always "X86". @see #curServerArch, setCurServerArch(), curServerArchChanged() */
    QString curServerArch();
    /**
     * Logs @p arch and stores "X86" whatever it is: the client works with every server as x86.
     * Emits no signal, although the property declares curServerArchChanged().
     * @see #curServerArch, curServerArch(), curServerArchChanged()
     */
    void setCurServerArch(const QString &arch);

    /**
     * @}
     * @name Connection
     * @{
     */

    /**
     * The server certificate file to use: "config/grpcserver.pem" (relative, not resolved here)
     * until a session file, a setter or a server's choice gives another.
     */
    QString getCertPath();
    /** Uses the certificate file @p path. */
    void setCertPath(const QString &path);
    /** Goes back to the old certificate, "config/grpcserver.pem". */
    void setCertPathAsDefault();
    /** Logs that it does, then goes back to the old certificate, "config/grpcserver.pem". */
    void resetCertPath();
    /**
     * Whether @p server, an address compared exactly, was recorded as using the new
     * certificate; a server never recorded uses the old one. Logs the answer.
     * @see updateServerUseNewCertificate()
     */
    bool isServerUseNewCertificate(const QString &server);
    /**
     * Chooses the certificate file for @p server.
     *
     * The new certificate, "cert/calderwyn_cert.pem" in the user's documents folder, when the
     * server uses it and that file exists; the old one, "config/grpcserver.pem", otherwise.
     */
    void setCertPathFromServer(const QString &server);
    /**
     * Records whether @p server uses the new certificate, and keeps the choice for later sessions.
     *
     * getCertPath() becomes the new certificate's path, whatever @p useNew is. The choice goes
     * into "VdSession/vdisettings.ini" in the user's documents folder: under the lock file
     * "vdisettings.ini.lock" that QSettings takes too, the file is read again and only this
     * server's entry changes, so other processes' choices stay; the file is replaced whole. When
     * it cannot be written, it stays as it was, the failure is logged and the choice holds for
     * this session only.
     */
    void updateServerUseNewCertificate(const QString &server, bool useNew);

    /** @} */

Q_SIGNALS:
    /** Declared by the uuid property for the program to emit; the library never emits it. */
    void uuidChanged();
    /** Declared by the currentNickname property for the program to emit; the library never emits it. */
    void currentNicknameChanged();
    /** Declared by the clientType property for the program to emit; the library never emits it. */
    void clientTypeChanged();
    /** Emitted by setIsThinClient() when the flag changes, with the new value @p flag. @see #isThinClient */
    void isThinClientChanged(bool flag);
    /** Declared by the currentUsername property for the program to emit; the library never emits it. */
    void currentUsernameChanged();
    /** Emitted by setResolution() when the text changes. @see #resolution */
    void resolutionChanged();
    /** Emitted by setVgpuQPType() when the level changes. @see #vgpuQPType */
    void vgpuQPTypeChanged();
    /**
     * For the program to emit when enableVgpuQPType() changes; the library never emits it, not
     * even from setConfigMode().
     */
    void enableVgpuQPTypeChanged();
    /**
     * For the program to emit when platformDecodeEnable() changes; the library never emits it,
     * not even from setConfigMode().
     */
    void platformDecodeEnableChanged();
    /** For the program to emit; the library never emits it. */
    void compressModeEnableChanged();
    /**
     * Emitted by setForceDistributionDecode() when the flag changes; not when a session file or
     * setControlPolicy() sets it. @see #forceDistributionDecode
     */
    void forceDistributionDecodeChanged();
    /** Emitted by setVgpuDecodeType() when the decoding changes. @see #vgpuDecodeType */
    void vgpuDecodeTypeChanged();
    /** Emitted by setServerIp() on every call, and by loadFromWeb(). @see #serverIp */
    void serverIpChanged();
    /** Emitted by setServerPort() on every call, and by loadFromWeb(). @see #serverPort */
    void serverPortChanged();
    /** Emitted by setIsShowMinimize() on every call. @see #isShowMinimize */
    void isShowMinimizeChanged();
    /** Emitted by setServerType() on every call. @see #serverType */
    void serverTypeChanged();
    /** Declared by the protocol property for the program to emit; the library never emits it. */
    void protocolChanged();
    /** Declared by the toolbarStyle property for the program to emit; the library never emits it. */
    void toolbarStyleChanged();
    /** Emitted by setWindowStyle() when the style changes. @see #windowStyle */
    void windowStyleChanged();
    /** Emitted by setSkin() on every call, and by loadFromWeb() for a link with a theme. @see #skin */
    void skinChanged();
    /** Declared by the curServerArch property for the program to emit; the library never emits it. */
    void curServerArchChanged();
    /**
     * Declared by the streamMode property for the program to emit; the library never emits it,
     * not even from setStreamMode().
     */
    void streamModeChanged();
    /** Emitted by setImgCompress() when the compression changes. @see #imgCompress */
    void imgCompressChanged();
    /** Emitted by setJpegQuality() when the quality changes. @see #jpegQuality */
    void jpegQualityChanged();
    /** Emitted by setAutoBreakSecondTimes() on every call. @see #autoBreakSecondTimes */
    void autoBreakSecondTimesChanged();
    /** Emitted by setIsAutoHideToolbar() when the flag changes. @see #isAutoHideToolbar */
    void isAutoHideToolbarChanged();
    /** Emitted by setWindowMode() when the arrangement changes. @see #windowMode */
    void windowModeChanged();
    /** Emitted by setRenderMode() when the mode changes. @see #renderMode */
    void renderModeChanged();
    /** Declared by the isMultiScreen property for the program to emit; the library never emits it. */
    void isMultiScreenChanged();
    /** Declared by the isEnableUpmPolicy property for the program to emit; the library never emits it. */
    void isEnableUpmPolicyChanged();
    /**
     * Emitted by setGeometry(), and so by geometry(), when the rectangle recorded for screen
     * @p winId changes.
     * @see rememberedGeometries()
     */
    void geometryChanged(int winId);
    /** Emitted by setConfigMode() when the mode changes; not when a session file or policy sets it. @see #configMode */
    void configModeChanged();
    /** Emitted by setLogLevel() when the level changes, with the new @p level. @see #logLevel */
    void logLevelChanged(int level);
    /**
     * Declared by the streamDataDumpEnabled property for the program to emit, with the new
     * value @p enabled; the library never emits it.
     */
    void streamDataDumpEnabledChanged(bool enabled);
    /**
     * Declared by the renderDriverValue property for the program to emit; the library never
     * emits it. Its @p value is an int although the property is text.
     */
    void renderDriverValueChanged(int value);
    /** Emitted by setDisplay4KType() on every call. @see #display4KType */
    void display4KTypeChanged();
    /** Declared by the mouseMode property for the program to emit; the library never emits it. */
    void mouseModeChanged();
    /** Declared by the d3dDebugEnabled property for the program to emit; the library never emits it. */
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
