// The keys of the session file: what each one means, and what the readers take, found by
// running them.
#include "sessionkeys_p.h"

#include "private/vdsessionsettings_p.h"
#include "sessionfile/currentreader_p.h"
#include "sessionfile/legacyreader_p.h"

#include <algorithm>

using Layout = VdSessionCheck::Layout;

namespace {

enum Layouts { Current = 1, Legacy = 2, Both = 3 };

struct Row
{
    int layouts;
    const char *pattern;
    int flags;
    const char *description;
};

using namespace SessionKeys;

// In table order, which is the order the documentation follows.
const Row documentRows[] = {
    {Current, "/inherit old vdp", Saved, "Any value: the file was saved by saveToVdp() and already holds the previous session's choices, so the previous session's file is not read"},
    {Both, "/basic settings", 0, "Client and session options"},
    {Current, "/basic settings/RdrVmName", 0, "Name of the VM to redirect focus to (getRdrVmName())"},
    {Current, "/basic settings/LogLevel", 0, "Log level, kept for the program (logLevel())"},
    {Legacy, "/basic settings/log level", 0, "Log level counted the other way round: logLevel() is 5 minus this"},
    {Current, "/basic settings/IsMMR", 0, "Multimedia redirection (isMMR())"},
    {Current, "/basic settings/IsSSO", 0, "Single sign-on (isSSO())"},
    {Current, "/basic settings/toolbarStyle", 0, "Toolbar style (toolbarStyle())"},
    {Current, "/basic settings/isAutoHideToolbar", 0, "Hide the toolbar automatically (isAutoHideToolbar())"},
    {Current, "/basic settings/IsMultiScreen", 0, "Use every screen (isMultiScreen())"},
    {Current, "/basic settings/IsHighDPI", 0, "High-DPI scaling (isHighDPI())"},
    {Current, "/basic settings/display4KType", 0, "4K display handling (display4KType())"},
    {Current, "/basic settings/certPath", 0, "Server certificate file (getCertPath())"},
    {Both, "/basic settings/windowStyle", 0, "Full screen or window (windowStyle())"},
    {Both, "/basic settings/calderwynId", 0, "Calderwyn account identifier (getCalderwynId())"},
    {Both, "/basic settings/SKIN", 0, "User interface skin (skin())"},
    {Both, "/basic settings/isThinClient", 0, "The client is a thin client (isThinClient())"},
    {Current, "/basic settings/idlink temp ticket", Secret, "Temporary sign-on ticket (getIdlinkTempTicket())"},
    {Both, "/basic settings/usbConfigInfo", 0, "USB redirection configuration text (getUsbConfigs()); read only when present, else the program's value stays"},
    {Current, "/basic settings/LocalDisk", 0, "Local disks to redirect (getDiskRedir()), appended to earlier loads"},
    {Current, "/basic settings/LocalDisk/*", 0, "One local disk"},
    {Current, "/basic settings/LocalDisk/*/DeviceId", 0, "The disk's device name"},
    {Both, "/basic settings/auto break second times", 0, "Idle time before the session breaks (autoBreakSecondTimes())"},
    {Legacy, "/basic settings/isOpenldap", 0, "Sign-on through OpenLDAP (isOpenLdap())"},
    {Legacy, "/basic settings/client type", 0, "Client type of the common library (clientType())"},
    {Legacy, "/basic settings/computer type", 0, "Computer type of the common library (computerType())"},
    {Current, "/noMoreshowDialog", Saved, "Do not show the start dialog again (noMoreshowDialog())"},
    {Current, "/es enable", 0, "Endpoint security reporting (isEsEnable())"},
    {Current, "/es frequency", 0, "Endpoint security reporting interval (esFrequency())"},
    {Current, "/software name", 0, "Product name to show (getSoftwareName())"},
    {Current, "/primary screen name", 0, "Name of the screen to start on (getPrimaryScreenName())"},
    {Current, "/client type", 0, "Client type of the common library (clientType())"},
    {Current, "/vdsession_program_type", 0, "Kind of session program (programType())"},
    {Current, "/is show minimize", 0, "Offer a minimise button (isShowMinimize())"},
    {Current, "/vm settings", 0, "Identity and connection"},
    {Current, "/vm settings/name", 0, "Login name (loginName()); also the user name when userName is empty"},
    {Current, "/vm settings/userName", 0, "User name to show (currentUsername())"},
    {Current, "/vm settings/password", Secret, "User's password (getPassword())"},
    {Current, "/vm settings/spice password", Secret, "Display protocol password (getSpicePassword())"},
    {Current, "/vm settings/poolName", 0, "Desktop pool name (getPoolName())"},
    {Current, "/vm settings/domain", 0, "Sign-on domain (domain())"},
    {Current, "/vm settings/computer type", 0, "Computer type of the common library (computerType())"},
    {Current, "/vm settings/serverIp", 0, "Server address (serverIp()); with vmUuid it names the session (uuid())"},
    {Current, "/vm settings/nickname", 0, "User's display name (currentNickname())"},
    {Current, "/vm settings/poolType", 0, "Pool type as decimal text, 7 for an RDP pool (poolType()); text that is no decimal integer gives 0"},
    {Current, "/vm settings/protocol", 0, "Display protocol (protocol())"},
    {Current, "/vm settings/serverPort", 0, "Server port, its low 16 bits (serverPort())"},
    {Current, "/vm settings/serverType", 0, "Server type of the common library, 1 for a gateway (serverType())"},
    {Current, "/vm settings/enable Upm Policy", 0, "User profile policy: on only for the text \"1\" (isEnableUpmPolicy())"},
    {Current, "/vm settings/isOpenldap", 0, "Sign-on through OpenLDAP (isOpenLdap())"},
    {Current, "/vm settings/vm", 0, "The virtual machine"},
    {Current, "/vm settings/vm/vmName", 0, "VM name (getVmName())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy", 0, "The broker's video policy, handed on whole as videoPolicy()"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/videoMode", 0, "Platform video mode (getVideoMode())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/videoModeGw", 0, "Platform video mode through a gateway (getVideoModeGw())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/forceEnableVideoMode", 0, "Not 0: the platform's video mode wins over the stream mode (getForceEnableVideoMode())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/image_compression_mode", 0, "Platform compression, 0 for JPEG (imgCompressPlatform() is this with its lowest bit inverted)"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/jpeg_quality", 0, "Platform JPEG quality (jpegQualityPlatform())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/videoDecode", 0, "Platform video decoding (vgpuDecodeTypePlatform())"},
    {Current, "/vm settings/vm/controlPolicy/video_policy/forceDistributionDecode", 0, "1: the platform's video settings are always in force (forceDistributionDecode())"},
    {Current, "/vm settings/vm/vmOperator/videoQuality", 0, "Platform video quality counted from 0 for high (vgpuQPTypePlatform() is this plus 1)"},
    {Current, "/vm settings/vm/vmOperator/platformUnifiedConfig", 0, "0: the platform decides the video settings; anything else gives them to the user (platformUnifiedConfig())"},
    {Current, "/stream_control_value", Saved, "Stream mode (streamMode()); read only when present, else the previous session's choice stays"},
    {Current, "/render_type", 0, "Image render type (getImageRenderType()); read only when present"},
    {Current, "/render_driver_value", Saved, "Render driver (renderDriverValue()); read only when present; a value of another type gives \"auto\", or \"software\" on KX-U6780A processors"},
    {Current, "/render_flag", 0, "SDL render flags (getSDLRenderFlag()); read only when present"},
    {Current, "/dump_stream_data", Saved, "Dump the received stream (streamDataDumpEnabled()); read only when present"},
    {Current, "/d3d_debug", Saved, "Direct3D debugging (d3dDebugEnabled()); read only when present"},
    {Current, "/image_compression_mode", Saved, "User's image compression (imgCompress())"},
    {Current, "/vgpu decode type", Saved, "User's video decoding (vgpuDecodeType())"},
    {Current, "/vgpu qp type", Saved, "User's video quality, 0 meaning VgpuQPType_M (vgpuQPType())"},
    {Current, "/mouse_mode", Saved, "Mouse handling (mouseMode())"},
    {Current, "/jpeg_quality", Saved, "User's JPEG quality (jpegQuality())"},
    {Current, "/config mode", Saved, "Whose video settings are in force (configMode()), unless the platform's video policy decides"},
    {Current, "/geometry", 0, "Window rectangle \"left,top,width,height\" on screen 0, from older launchers; when present, geometrys is not read. Any other number of pieces stores nothing, a piece that is no integer counts as 0"},
    {Current, "/geometrys", Saved, "Window rectangle per screen (geometry())"},
    {Legacy, "/vdsession settings/geometrys", 0, "Window rectangle per screen (geometry())"},
    {Both, "/window mode", Saved, "Window arrangement, 0 meaning MultiSDLWindowMode (windowMode())"},
    {Both, "/render mode", Saved, "Render mode (renderMode())"},
    {Both, "/render system mode", 0, "Render system (renderSystemMode())"},
    {Current, "/render_debug_level", 0, "Render debug level (renderDebugLevel())"},
    {Current, "/display_res", Saved, "Display size \"width,height\" (displayRes()); any other number of pieces leaves it as it was, a piece that is no integer counts as 0"},
    {Current, "/toolbarStyle", Saved | NotRead, "Toolbar style as saveToVdp() writes it; the reader takes the one in basic settings"},
    {Legacy, "/user settings", 0, "The user"},
    {Legacy, "/user settings/current user settings", 0, "The user of this session"},
    {Legacy, "/user settings/current user settings/username", 0, "User name to show (currentUsername())"},
    {Legacy, "/user settings/current user settings/password", Secret, "User's password (getPassword())"},
    {Legacy, "/user settings/current user settings/nickname", 0, "User's display name (currentNickname())"},
    {Legacy, "/vdsession settings", 0, "Marks the legacy layout: the session and its connection"},
    {Legacy, "/vdsession settings/certPath", 0, "Server certificate file (getCertPath()); empty means config/grpcserver.pem beside the program"},
    {Legacy, "/vdsession settings/is use multiscreen", 0, "Use every screen (isMultiScreen())"},
    {Legacy, "/vdsession settings/server ip", 0, "Server address (serverIp()); with vmUuid it names the session (uuid())"},
    {Legacy, "/vdsession settings/webSSOLogin", 0, "Web sign-on (isWebSSOLogin())"},
    {Legacy, "/vdsession settings/h5ClientUuid", 0, "Web client identifier (h5ClientUuid())"},
    {Legacy, "/vdsession settings/vdsession_program_type", 0, "Kind of session program (programType())"},
    {Legacy, "/vdsession settings/protocol", 0, "Display protocol (protocol())"},
    {Legacy, "/vdsession settings/server port", 0, "Server port, its low 16 bits (serverPort())"},
    {Legacy, "/vdsession settings/server type", 0, "Server type of the common library, 1 for a gateway (serverType())"},
    {Legacy, "/vdsession settings/is show minimize", 0, "Offer a minimise button (isShowMinimize())"},
    {Legacy, "/vdsession settings/stream_control_value", 0, "Stream mode (streamMode()); read only when present"},
    {Legacy, "/vdsession settings/render_type", 0, "Image render type (getImageRenderType()); read only when present"},
    {Legacy, "/vdsession settings/render_flag", 0, "SDL render flags (getSDLRenderFlag()); read only when present"},
    {Legacy, "/vdsession settings/mouse_mode", 0, "Mouse handling (mouseMode())"},
    {Legacy, "/vdsession settings/vm", 0, "The desktop"},
    {Legacy, "/vdsession settings/vm/name", 0, "Login name (loginName())"},
    {Legacy, "/vdsession settings/vm/spicePassword", Secret, "Display protocol password (getSpicePassword())"},
    {Legacy, "/vdsession settings/vm/domain", 0, "Sign-on domain (domain())"},
    {Legacy, "/vdsession settings/vm/vm", 0, "The virtual machine"},
    {Legacy, "/vdsession settings/vm/vm/vm", 0, "The virtual machine's name"},
    {Legacy, "/vdsession settings/vm/vm/vm/vmName", 0, "VM name (getVmName())"},
};

// The virtual machine's keys, the same in both layouts below their own prefix.
const char *const currentVm = "/vm settings/vm";
const char *const legacyVm = "/vdsession settings/vm/vm";
const Row vmRows[] = {
    {Both, "/vmUuid", 0, "VM identifier (getVmUuid()); names the session with the server address (uuid())"},
    {Both, "/osType", 0, "VM operating system type (getOsType())"},
    {Both, "/osVersion", 0, "VM operating system version (getOsVersion())"},
    {Both, "/controlPolicy", 0, "The broker's control policy"},
    {Both, "/controlPolicy/ratelimitor policy", 0, "Rate limiter policy text (getRateLimitorPolicy())"},
    {Both, "/controlPolicy/sharePolicy", 0, "Sharing policy"},
    {Both, "/controlPolicy/sharePolicy/rdpClipboard", 0, "RDP clipboard policy (rdpClipboardPolicy())"},
    {Both, "/lstIps", 0, "VM addresses (iplist()), appended to earlier loads"},
    {Both, "/lstIps/*", 0, "One address"},
    {Both, "/lstAddresses", 0, "VM interfaces (vmAddrs()); older brokers sent one object with the MAC alone"},
    {Both, "/lstAddresses/mac", 0, "VM MAC address when lstAddresses is an object (vmmac())"},
    {Both, "/lstAddresses/*", 0, "One interface, appended to earlier loads"},
    {Both, "/lstAddresses/*/mac", 0, "The interface's MAC address"},
    {Both, "/lstAddresses/*/lstIps", 0, "The interface's addresses"},
    {Both, "/lstAddresses/*/lstIps/*", 0, "One address"},
    {Both, "/vmOperator", 0, "Operator permissions (getVMOperator()); a missing one is not granted"},
    {Both, "/vmOperator/backHome", 0, "Permission: back to the home page"},
    {Both, "/vmOperator/clientCtrlAltDel", 0, "Permission: send Ctrl+Alt+Del"},
    {Both, "/vmOperator/clientOccupy", 0, "Permission: take over the desktop"},
    {Both, "/vmOperator/disconnection", 0, "Permission: disconnect"},
    {Both, "/vmOperator/interactShutdown", 0, "Permission: shut down interactively"},
    {Both, "/vmOperator/logoutUser", 0, "Permission: log the user out"},
    {Both, "/vmOperator/modifyName", 0, "Permission: rename the desktop"},
    {Both, "/vmOperator/multiDynamicDesktop", 0, "Permission: several dynamic desktops"},
    {Both, "/vmOperator/networkDetection", 0, "Permission: network detection"},
    {Both, "/vmOperator/powerOff", 0, "Permission: power off"},
    {Both, "/vmOperator/powerOffReboot", 0, "Permission: power off and restart"},
    {Both, "/vmOperator/reboot", 0, "Permission: restart"},
    {Both, "/vmOperator/shutdown", 0, "Permission: shut down"},
    {Both, "/vmOperator/snapshot", 0, "Permission: snapshots"},
};

// The screens' rectangles, the same in both layouts below "geometrys".
const Row screenRows[] = {
    {Both, "/*", 0, "One screen's rectangle"},
    {Both, "/*/id", 0, "Screen number"},
    {Both, "/*/geometry", 0, "The window's rectangle \"left,top,width,height\" on that screen; any other number of pieces skips the element, a piece that is no integer counts as 0"},
};

const QVector<Key> &currentKeys();

QVector<Key> buildKeys(Layout layout)
{
    const int wanted = layout == Layout::Legacy ? Legacy : Current;
    QVector<Key> keys;
    auto add = [&](const Row &row, const QString &prefix) {
        if (row.layouts & wanted)
            keys.append({prefix + QLatin1String(row.pattern), QString::fromUtf8(row.description), row.flags});
    };
    for (const Row &row : documentRows) {
        add(row, QString());
        const QString pattern = QLatin1String(row.pattern);
        if (pattern.endsWith(QLatin1String("/geometrys")))
            for (const Row &screen : screenRows)
                add({row.layouts, screen.pattern, screen.flags, screen.description}, pattern);
    }
    for (const Row &row : vmRows)
        add(row, QLatin1String(layout == Layout::Legacy ? legacyVm : currentVm));

    // The writer adds its keys at the top level whatever the layout; the legacy reader reads few of them.
    if (layout == Layout::Legacy) {
        const auto readByLegacy = [&](const QString &pattern) {
            return std::any_of(keys.cbegin(), keys.cend(), [&](const Key &key) { return key.pattern == pattern; });
        };
        for (const Key &saved : currentKeys()) {
            if ((saved.flags & Saved) && !readByLegacy(saved.pattern))
                keys.append({saved.pattern, saved.description, Saved | NotRead});
        }
    }
    return keys;
}

// Hands the reader a sample wherever that takes it further: a one-element array for every array,
// and, on the pass that has every optional key, a value for every key whose presence counts.
class Describer : public JsonObserver
{
public:
    QHash<QString, Shape> shapes;
    bool present = false;

    QJsonValue lookup(const JsonLookup &lookup) override
    {
        Shape &shape = shapes[lookup.path.pattern()];
        if (lookup.expected != JsonType::Any && !shape.types.contains(lookup.expected))
            shape.types.append(lookup.expected);
        if (lookup.elements != JsonType::Any)
            shape.elements = lookup.elements;
        if (shape.fallback.isUndefined() && lookup.expected != JsonType::Any && !lookup.fallback.isUndefined())
            shape.fallback = lookup.fallback;
        shape.whole = shape.whole || lookup.whole;
        if (lookup.ranged) {
            shape.ranged = true;
            shape.low = lookup.low;
            shape.high = lookup.high;
            shape.outOfRange = lookup.outOfRange;
        }
        if (lookup.enumeration.isValid())
            shape.enumeration = lookup.enumeration;
        if (lookup.format != TextFormat::Free)
            shape.format = lookup.format;

        switch (lookup.expected) {
        case JsonType::Any:
            return present ? QJsonValue(QJsonArray{QJsonObject()}) : QJsonValue(QJsonValue::Undefined);
        case JsonType::Array:
            return QJsonArray{lookup.elements == JsonType::String ? QJsonValue(QString()) : QJsonValue(QJsonObject())};
        default:
            return lookup.found;
        }
    }
};

const QVector<Key> &currentKeys()
{
    static const QVector<Key> current = buildKeys(Layout::Current);
    return current;
}

} // namespace

const QVector<Key> &SessionKeys::keys(Layout layout)
{
    if (layout != Layout::Legacy)
        return currentKeys();
    static const QVector<Key> legacy = buildKeys(Layout::Legacy);
    return legacy;
}

const Key *SessionKeys::find(Layout layout, const QString &pattern)
{
    static const auto indexOf = [](const QVector<Key> &keys) {
        QHash<QString, const Key *> index;
        for (const Key &key : keys)
            index.insert(key.pattern, &key);
        return index;
    };
    static const QHash<QString, const Key *> current = indexOf(keys(Layout::Current));
    static const QHash<QString, const Key *> legacy = indexOf(keys(Layout::Legacy));
    return (layout == Layout::Legacy ? legacy : current).value(pattern);
}

void SessionKeys::readWithoutSideEffects(VdSessionSettingsPrivate *d, const JsonGroup &root, Layout layout)
{
    // What getDefaultRenderMode() answers on every machine.
    const VdSessionSettings::RenderMode renderMode = VdSessionSettings::RenderModePart;
    if (layout == Layout::Legacy) {
        readLegacyLayout(d, root, renderMode);
        return;
    }
    // The marker is taken as loading takes it; acting on it is the loader's part.
    hasInheritedPreviousSession(root);
    readCurrentLayout(d, root, renderMode);
}

const QHash<QString, Shape> &SessionKeys::describeReaders(Layout layout)
{
    static const auto describe = [](Layout described) {
        Describer describer;
        for (bool present : {false, true}) {
            describer.present = present;
            VdSessionSettingsPrivate scratch;
            QJsonObject document;
            if (described == Layout::Legacy)
                document.insert(QStringLiteral("vdsession settings"), QJsonObject());
            readWithoutSideEffects(&scratch, JsonGroup(document, &describer), described);
        }
        describer.shapes.remove(QString()); // the document itself
        return describer.shapes;
    };
    static const QHash<QString, Shape> current = describe(Layout::Current);
    static const QHash<QString, Shape> legacy = describe(Layout::Legacy);
    return layout == Layout::Legacy ? legacy : current;
}

QString SessionKeys::typeName(JsonType type, TextFormat format)
{
    switch (type) {
    case JsonType::Any: break;
    case JsonType::String:
        return format == TextFormat::Free ? QStringLiteral("a string") : QStringLiteral("a string holding ") + formatName(format);
    case JsonType::Number: return QStringLiteral("an integral number");
    case JsonType::Bool: return QStringLiteral("true or false");
    case JsonType::Object: return QStringLiteral("an object");
    case JsonType::Array: return QStringLiteral("an array");
    }
    return QStringLiteral("any value");
}

QString SessionKeys::formatName(TextFormat format)
{
    switch (format) {
    case TextFormat::Free: break;
    case TextFormat::DecimalInteger: return QStringLiteral("a decimal integer of 32 bits");
    case TextFormat::Size: return QStringLiteral("a size \"width,height\" of two integers");
    case TextFormat::Rectangle: return QStringLiteral("a rectangle \"left,top,width,height\" of four integers");
    }
    return QStringLiteral("any text");
}
