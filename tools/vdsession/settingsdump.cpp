#include "settingsdump.h"

#include <vdsessionsettings/vdsessionsettings.h>

#include <QJsonDocument>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QRect>

#include <algorithm>
#include <climits>
#include <functional>

namespace {

using S = VdSessionSettings;
using Accessor = std::function<QJsonValue(S &)>;

template<typename Enum>
QJsonValue enumKey(Enum value)
{
    const char *key = QMetaEnum::fromType<Enum>().valueToKey(int(value));
    return key ? QJsonValue(QString::fromLatin1(key)) : QJsonValue(int(value));
}

QJsonValue propertyValue(const QMetaProperty &property, const QVariant &value)
{
    if (property.isEnumType()) {
        const char *key = property.enumerator().valueToKey(value.toInt());
        return key ? QJsonValue(QString::fromLatin1(key)) : QJsonValue(value.toInt());
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 keeps the common library's enumerations (ClientType, ServerType) as their own types,
    // which QJsonValue does not know; they are numbers, as on Qt 5.
    if (value.metaType().flags().testFlag(QMetaType::IsEnumeration))
        return value.toInt();
#endif
    // QJsonValue takes the wider number types only; a port would otherwise come out as text.
    switch (value.userType()) {
    case QMetaType::UShort:
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::SChar:
        return value.toInt();
    default:
        return QJsonValue::fromVariant(value);
    }
}

// Policy texts are JSON kept as text; shown as the JSON they hold, so that nobody has to unescape
// them. Text that does not parse is shown as it stands.
QJsonValue jsonText(const QString &text)
{
    if (text.isEmpty())
        return QJsonValue();
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (document.isObject())
        return document.object();
    if (document.isArray())
        return document.array();
    return text;
}

QJsonValue strings(const QStringList &list) { return QJsonArray::fromStringList(list); }

template<typename Value>
QJsonObject triple(Value platform, Value user, Value actual)
{
    return {{QStringLiteral("platform"), platform}, {QStringLiteral("user"), user}, {QStringLiteral("actual"), actual}};
}

QJsonArray addressesToJson(const std::vector<Vdp::tagVMAddress> &addresses)
{
    QJsonArray list;
    for (const Vdp::tagVMAddress &address : addresses) {
        QJsonArray ips;
        for (const std::string &ip : address.lstIps)
            ips.append(QString::fromStdString(ip));
        list.append(QJsonObject{{QStringLiteral("mac"), QString::fromStdString(address.mac)},
                                {QStringLiteral("lstIps"), ips}});
    }
    return list;
}

QJsonObject operatorToJson(const Vdp::tagVMOperator &op)
{
    static const std::pair<const char *, int Vdp::tagVMOperator::*> members[] = {
        {"shutdown", &Vdp::tagVMOperator::shutdown},
        {"reboot", &Vdp::tagVMOperator::reboot},
        {"powerOffReboot", &Vdp::tagVMOperator::powerOffReboot},
        {"powerOff", &Vdp::tagVMOperator::powerOff},
        {"backHome", &Vdp::tagVMOperator::backHome},
        {"disconnection", &Vdp::tagVMOperator::disconnection},
        {"clientCtrlAltDel", &Vdp::tagVMOperator::clientCtrlAltDel},
        {"logoutUser", &Vdp::tagVMOperator::logoutUser},
        {"snapshot", &Vdp::tagVMOperator::snapshot},
        {"networkDetection", &Vdp::tagVMOperator::networkDetection},
        {"interactShutdown", &Vdp::tagVMOperator::interactShutdown},
        {"clientOccupy", &Vdp::tagVMOperator::clientOccupy},
        {"modifyName", &Vdp::tagVMOperator::modifyName},
        {"multiDynamicDesktop", &Vdp::tagVMOperator::multiDynamicDesktop},
        {"platformUnifiedConfig", &Vdp::tagVMOperator::platformUnifiedConfig},
        {"videoQuality", &Vdp::tagVMOperator::videoQuality},
    };
    QJsonObject object;
    for (const auto &member : members)
        object.insert(QLatin1String(member.first), op.*member.second);
    return object;
}

// What the meta-object does not publish. The properties that are one side of a platform/user
// pair are left to the triples here.
const std::pair<const char *, Accessor> accessors[] = {
    // Identity
    {"getVmName", [](S &s) { return QJsonValue(s.getVmName()); }},
    {"getPoolName", [](S &s) { return QJsonValue(s.getPoolName()); }},
    {"getVmUuid", [](S &s) { return QJsonValue(s.getVmUuid()); }},
    {"loginName", [](S &s) { return QJsonValue(s.loginName()); }},
    {"getPassword", [](S &s) { return QJsonValue(s.getPassword()); }},
    {"getSpicePassword", [](S &s) { return QJsonValue(s.getSpicePassword()); }},
    {"domain", [](S &s) { return QJsonValue(s.domain()); }},
    {"token", [](S &s) { return QJsonValue(s.token()); }},
    {"getIdlinkTempTicket", [](S &s) { return QJsonValue(s.getIdlinkTempTicket()); }},
    {"isWebSSOLogin", [](S &s) { return QJsonValue(s.isWebSSOLogin()); }},
    {"h5ClientUuid", [](S &s) { return QJsonValue(s.h5ClientUuid()); }},
    {"isOpenLdap", [](S &s) { return QJsonValue(s.isOpenLdap()); }},
    {"getCalderwynId", [](S &s) { return QJsonValue(s.getCalderwynId()); }},
    {"getSoftwareName", [](S &s) { return QJsonValue(s.getSoftwareName()); }},
    {"getUsbConfigs", [](S &s) { return QJsonValue(s.getUsbConfigs()); }},
    {"getDiskRedir", [](S &s) { return strings(s.getDiskRedir()); }},
    {"getRdrVmName", [](S &s) { return QJsonValue(s.getRdrVmName()); }},
    {"poolType", [](S &s) { return QJsonValue(int(s.poolType())); }},
    {"programType", [](S &s) { return enumKey(s.programType()); }},
    {"isStartByWeb", [](S &s) { return QJsonValue(s.isStartByWeb()); }},
    // Connection
    {"getOsVersion", [](S &s) { return QJsonValue(s.getOsVersion()); }},
    {"getOsType", [](S &s) { return QJsonValue(s.getOsType()); }},
    // Client device
    {"computerType", [](S &s) { return QJsonValue(int(s.computerType())); }},
    {"deviceValidMAC", [](S &s) { return QJsonValue(s.deviceValidMAC()); }},
    {"deviceValidIp", [](S &s) { return QJsonValue(s.deviceValidIp()); }},
    {"cpuCores", [](S &s) { return QJsonValue(s.cpuCores()); }},
    {"cpuFrequency", [](S &s) { return QJsonValue(s.cpuFrequency()); }},
    {"memoryTotal", [](S &s) { return QJsonValue(s.memoryTotal()); }},
    {"memoryAvailable", [](S &s) { return QJsonValue(s.memoryAvailable()); }},
    {"isLangEnglish", [](S &s) { return QJsonValue(s.isLangEnglish()); }},
    // Session options
    {"isHighDPI", [](S &s) { return QJsonValue(s.isHighDPI()); }},
    {"isMMR", [](S &s) { return QJsonValue(s.isMMR()); }},
    {"isSSO", [](S &s) { return QJsonValue(s.isSSO()); }},
    {"getAutoBreakTimeSeconds", [](S &s) { return QJsonValue(s.getAutoBreakTimeSeconds()); }},
    {"isEsEnable", [](S &s) { return QJsonValue(s.isEsEnable()); }},
    {"esFrequency", [](S &s) { return QJsonValue(s.esFrequency()); }},
    // Window
    {"getPrimaryScreenName", [](S &s) { return QJsonValue(s.getPrimaryScreenName()); }},
    {"noMoreshowDialog", [](S &s) { return QJsonValue(s.noMoreshowDialog()); }},
    // Display
    {"displayRes", [](S &s) { return QJsonValue(QStringLiteral("%1,%2").arg(s.displayRes().width()).arg(s.displayRes().height())); }},
    {"getImageRenderType", [](S &s) { return QJsonValue(s.getImageRenderType()); }},
    {"getSDLRenderFlag", [](S &s) { return QJsonValue(s.getSDLRenderFlag()); }},
    {"renderSystemMode", [](S &s) { return enumKey(s.renderSystemMode()); }},
    {"renderDebugLevel", [](S &s) { return QJsonValue(s.renderDebugLevel()); }},
    // Video
    {"imgCompress", [](S &s) { return QJsonValue(triple(enumKey(s.imgCompressPlatform()), enumKey(s.imgCompress()), enumKey(s.imgCompressActual()))); }},
    {"jpegQuality", [](S &s) { return QJsonValue(triple(s.jpegQualityPlatform(), s.jpegQuality(), s.jpegQualityActual())); }},
    {"vgpuQPType", [](S &s) { return QJsonValue(triple(enumKey(s.vgpuQPTypePlatform()), enumKey(s.vgpuQPType()), enumKey(s.vgpuQPTypeActual()))); }},
    {"vgpuDecodeType", [](S &s) { return QJsonValue(triple(enumKey(s.vgpuDecodeTypePlatform()), enumKey(s.vgpuDecodeType()), enumKey(s.vgpuDecodeTypeActual()))); }},
    {"enableVgpuQPType", [](S &s) { return QJsonValue(s.enableVgpuQPType()); }},
    {"platformDecodeEnable", [](S &s) { return QJsonValue(s.platformDecodeEnable()); }},
    {"getVideoMode", [](S &s) { return QJsonValue(s.getVideoMode()); }},
    {"getVideoModeGw", [](S &s) { return QJsonValue(s.getVideoModeGw()); }},
    {"getVideoModeActual", [](S &s) { return QJsonValue(s.getVideoModeActual()); }},
    {"getForceEnableVideoMode", [](S &s) { return QJsonValue(s.getForceEnableVideoMode()); }},
    {"videoDecoders", [](S &s) { return strings(s.videoDecoders()); }},
    // Broker policies
    {"videoPolicy", [](S &s) { return jsonText(QString::fromStdString(s.videoPolicy())); }},
    {"getRateLimitorPolicy", [](S &s) { return jsonText(s.getRateLimitorPolicy()); }},
    {"rdpClipboardPolicy", [](S &s) { return QJsonValue(s.rdpClipboardPolicy()); }},
    {"vmAddrs", [](S &s) { return QJsonValue(addressesToJson(s.vmAddrs())); }},
    {"vmmac", [](S &s) { return QJsonValue(s.vmmac()); }},
    {"iplist", [](S &s) { return strings(s.iplist()); }},
    {"getVMOperator", [](S &s) { return QJsonValue(operatorToJson(s.getVMOperator())); }},
    // Server certificate
    {"getCertPath", [](S &s) { return QJsonValue(s.getCertPath()); }},
    {"isServerUseNewCertificate", [](S &s) { return QJsonValue(s.isServerUseNewCertificate(s.serverIp())); }},
};

// Each of these alone lets someone into the desktop or the portal.
const char *const secrets[] = {"getPassword", "getSpicePassword", "token", "getIdlinkTempTicket"};

} // namespace

QJsonObject settingsToJson(VdSessionSettings &settings, bool showSecrets)
{
    QJsonObject dump;
    for (const auto &accessor : accessors)
        dump.insert(QLatin1String(accessor.first), accessor.second(settings));

    const QMetaObject *meta = settings.metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QLatin1String(property.name());
        // Both sides of a platform/user pair are already in its triple.
        QString pairName = name;
        if (pairName.endsWith(QLatin1String("Platform")))
            pairName.chop(8);
        if (dump.contains(pairName))
            continue;
        dump.insert(name, propertyValue(property, property.read(&settings)));
    }

    if (!showSecrets) {
        for (const char *secret : secrets) {
            const QString key = QLatin1String(secret);
            dump.insert(key, maskedSecret(dump.value(key)));
        }
    }
    return dump;
}

QJsonValue maskedSecret(const QJsonValue &value)
{
    return value.toString().isEmpty() ? QString() : QStringLiteral("***");
}

bool isSecretSetting(const QString &name)
{
    return std::any_of(std::begin(secrets), std::end(secrets), [&](const char *secret) { return name == QLatin1String(secret); });
}

QJsonArray rememberedGeometries(const VdSessionSettings &settings, const QList<int> &screenIds)
{
    const QMap<int, QRect> remembered = settings.rememberedGeometries();
    QJsonArray list;
    for (int id : screenIds) {
        QJsonValue geometry;
        const QRect rect = remembered.value(id);
        // geometry() places a window afresh for an empty rectangle, as for none.
        if (!rect.isNull() && rect.width() >= 1 && rect.height() >= 1) {
            geometry = QJsonObject{{QStringLiteral("x"), rect.x()}, {QStringLiteral("y"), rect.y()},
                                   {QStringLiteral("width"), rect.width()}, {QStringLiteral("height"), rect.height()}};
        }
        list.append(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("geometry"), geometry}});
    }
    return list;
}
