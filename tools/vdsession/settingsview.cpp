#include "settingsview.h"

#include "output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

struct Section
{
    const char *title;
    QStringList keys;
};

// The order a person reads a session in. Keys the dump has beyond these end up under "Other", so
// nothing is left out when the library grows.
const Section sections[] = {
    {"Identity", {"uuid", "getVmUuid", "getVmName", "getPoolName", "poolType", "programType", "currentUsername",
                  "currentNickname", "loginName", "domain", "getPassword", "getSpicePassword", "token",
                  "getIdlinkTempTicket", "isWebSSOLogin", "isOpenLdap", "h5ClientUuid", "getCalderwynId",
                  "isStartByWeb", "getSoftwareName"}},
    {"Connection", {"serverIp", "serverPort", "serverType", "protocol", "isRdp", "curServerArch", "getOsVersion",
                    "getOsType", "getCertPath", "isServerUseNewCertificate"}},
    {"Client", {"clientType", "computerType", "isThinClient", "deviceValidMAC", "deviceValidIp", "cpuCores",
                "cpuFrequency", "memoryTotal", "memoryAvailable", "isLangEnglish", "getUsbConfigs", "getDiskRedir",
                "getRdrVmName"}},
    {"Session", {"logLevel", "isMultiScreen", "isHighDPI", "isMMR", "isSSO", "isEnableUpmPolicy",
                 "autoBreakSecondTimes", "getAutoBreakTimeSeconds", "isEsEnable", "esFrequency"}},
    {"Window", {"windowMode", "windowStyle", "isShowMinimize", "toolbarStyle", "isAutoHideToolbar", "skin",
                "getPrimaryScreenName", "noMoreshowDialog", "mouseMode"}},
    {"Display", {"streamMode", "resolution", "displayRes", "display4KType", "renderMode", "renderSystemMode",
                 "renderDriverValue", "renderDebugLevel", "getImageRenderType", "getSDLRenderFlag",
                 "streamDataDumpEnabled", "d3dDebugEnabled"}},
    {"Video (platform / user / in force)", {"configMode", "platformUnifiedConfig", "platformDecodeEnable",
                                            "enableVgpuQPType", "imgCompress", "jpegQuality", "vgpuQPType",
                                            "vgpuDecodeType", "forceDistributionDecode", "getVideoMode",
                                            "getVideoModeGw", "getVideoModeActual", "getForceEnableVideoMode",
                                            "videoDecoders"}},
    {"VM", {"vmmac", "iplist", "vmAddrs", "rdpClipboardPolicy", "getRateLimitorPolicy"}},
};

QString scalarText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        return QStringLiteral("-");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 15);
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        break;
    }
    const QJsonObject object = value.toObject();
    if (object.contains(QStringLiteral("actual"))) {
        return QStringLiteral("%1 / %2 / %3").arg(scalarText(object.value(QStringLiteral("platform"))),
                                                  scalarText(object.value(QStringLiteral("user"))),
                                                  scalarText(object.value(QStringLiteral("actual"))));
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void printSettings(const QJsonObject &dump)
{
    int width = 0;
    for (const QString &key : dump.keys())
        width = std::max(width, int(key.size()));

    QSet<QString> shown = {QStringLiteral("getVMOperator"), QStringLiteral("videoPolicy"), QStringLiteral("geometry")};
    for (const Section &section : sections) {
        QList<QPair<QString, QString>> rows;
        for (const QString &key : section.keys) {
            if (dump.contains(key))
                rows.append({key, scalarText(dump.value(key))});
            shown.insert(key);
        }
        printRows(QLatin1String(section.title), rows, width);
    }

    QList<QPair<QString, QString>> rows;
    for (const QJsonValue &screen : dump.value(QStringLiteral("geometry")).toArray()) {
        const QJsonValue rect = screen.toObject().value(QStringLiteral("geometry"));
        rows.append({QStringLiteral("screen %1").arg(screen.toObject().value(QStringLiteral("id")).toInt()),
                     rect.toObject().isEmpty() ? QStringLiteral("nothing usable") : rectText(rectFromJson(rect))});
    }
    printRows(QStringLiteral("Window geometry remembered"), rows, width);

    rows.clear();
    const QJsonObject permissions = dump.value(QStringLiteral("getVMOperator")).toObject();
    for (auto it = permissions.begin(); it != permissions.end(); ++it)
        rows.append({it.key(), scalarText(it.value())});
    printRows(QStringLiteral("Operator permissions"), rows, width);

    rows.clear();
    for (auto it = dump.begin(); it != dump.end(); ++it) {
        if (!shown.contains(it.key()))
            rows.append({it.key(), scalarText(it.value())});
    }
    printRows(QStringLiteral("Other"), rows, width);

    const QJsonValue policy = dump.value(QStringLiteral("videoPolicy"));
    message(QStringLiteral("Video policy"));
    if (policy.isObject()) {
        const QString text = QString::fromUtf8(QJsonDocument(policy.toObject()).toJson(QJsonDocument::Indented));
        for (const QString &line : text.trimmed().split(QLatin1Char('\n')))
            message(QStringLiteral("  ") + line);
    } else {
        message(QStringLiteral("  ") + scalarText(policy));
    }
}

} // namespace

void printDump(const QJsonObject &dump, bool json)
{
    if (json)
        printJsonResult(dump);
    else
        printSettings(dump);
}

QRect rectFromJson(const QJsonValue &value)
{
    const QJsonObject rect = value.toObject();
    if (rect.isEmpty())
        return QRect();
    return QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
                 rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt());
}
