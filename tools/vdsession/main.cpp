// vdsession: shows what the settings library makes of a session file or a launch link, checks a
// session file against what the readers take, and describes the file's format.

#include "geometrypicture.h"
#include "screenarg.h"
#include "settingsdump.h"

#include <vdsessionsettings/sessioncheck.h>
#include <vdsessionsettings/sessionfiles.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSet>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The portal's token lets anyone into the session, so it is kept out of error messages as it is
// kept out of the settings shown.
const QString tokenName = QStringLiteral("token=");
// What the portal puts in front of the link's parameters; the link parser takes every one out.
const QString linkMarker = QStringLiteral("evoked-download/?");

// Text from a session file or a link as a terminal can show it: a control character in a VM name
// would otherwise retitle or clear the terminal, and a line break in a value would print a row
// of its own. They are written as ls and git write them; backslashes stay as they are, so that
// Windows paths remain readable. Escaped text has no control characters left, so escaping it
// again changes nothing.
QString printable(const QString &text)
{
    const auto plain = [](char16_t c) { return (c >= 0x20 && c < 0x7f) || c > 0x9f; };
    if (std::all_of(text.begin(), text.end(), [&](QChar c) { return plain(c.unicode()); }))
        return text;
    QString shown;
    shown.reserve(text.size() + 16);
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (plain(code))
            shown += c;
        else if (code == 0x1b)
            shown += QLatin1String("\\e");
        else if (code == u'\n')
            shown += QLatin1String("\\n");
        else if (code == u'\r')
            shown += QLatin1String("\\r");
        else if (code == u'\t')
            shown += QLatin1String("\\t");
        else if (code < 0x80)
            shown += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u%1").arg(int(code), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

void writeOut(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// One line of text output; whatever it quotes from a file is made printable here at the latest.
void message(const QString &text)
{
    writeOut(printable(text).toUtf8() + '\n');
}

// JSON output stays exact: its own escaping already keeps control characters out of it.
void printJson(const QJsonDocument &document)
{
    writeOut(document.toJson(QJsonDocument::Indented).trimmed() + '\n');
}

// Every failure ends here: one line on standard error, and the status scripts can tell from a
// result (0) and from findings (1).
Q_NORETURN void error(const QString &text)
{
    std::fflush(stdout);
    std::fprintf(stderr, "vdsession: %s\n", printable(text).toUtf8().constData());
    std::exit(2);
}

// Help and version go to the console whatever the platform: QCommandLineParser shows them in a
// message box on Windows when it takes the process for one without a console.
Q_NORETURN void printAndExit(const QString &text)
{
    writeOut(text.toUtf8());
    std::exit(0);
}

// Logging

class RejectionSink : public spdlog::sinks::base_sink<std::mutex>
{
public:
    int failedCheck = 0;

protected:
    // The link parser names the check a link failed by its number, first in its message.
    void sink_it_(const spdlog::details::log_msg &msg) override
    {
        static const QRegularExpression rejection(QStringLiteral("^([1-8]) .*, web is invalid\\.$"),
                                                  QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match =
            rejection.match(QString::fromUtf8(msg.payload.data(), int(msg.payload.size())));
        if (match.hasMatch())
            failedCheck = match.captured(1).toInt();
    }
    void flush_() override {}
};

void quietMessageHandler(QtMsgType, const QMessageLogContext &, const QString &) {}

// Standard output holds the result alone: the library's spdlog and Qt messages go to standard
// error with --verbose, and nowhere without it.
void setUpLogging(bool verbose)
{
    auto logger = std::make_shared<spdlog::logger>("vdsession", std::make_shared<spdlog::sinks::stderr_sink_mt>());
    logger->set_level(verbose ? spdlog::level::debug : spdlog::level::off);
    spdlog::set_default_logger(logger);
    if (!verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
        qInstallMessageHandler(quietMessageHandler);
    }
}

// Arguments

const QCommandLineOption verboseOption({QStringLiteral("v"), QStringLiteral("verbose")},
                                       QStringLiteral("Write the library's log lines to standard error."));
const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Print one JSON object, for scripts."));
const QCommandLineOption secretsOption(QStringLiteral("show-secrets"),
                                       QStringLiteral("Print passwords, tokens and tickets instead of ***."));

struct Command
{
    const char *name;
    const char *summary;
    void (*addArguments)(QCommandLineParser &parser);
    int (*run)(const QCommandLineParser &parser);
};

// Parses a command's own arguments; the command's name stands first, where the parser expects the
// program's name. Help and errors are settled here, so a command only sees arguments that parsed.
void parseCommand(const Command &command, QCommandLineParser &parser, const QStringList &arguments)
{
    parser.setApplicationDescription(QString::fromLatin1(command.summary));
    parser.addHelpOption();
    parser.addOption(verboseOption);
    // Shows up in the usage line after the program's name.
    parser.addPositionalArgument(QLatin1String(command.name), QString(), QLatin1String(command.name));
    command.addArguments(parser);
    if (!parser.parse(arguments))
        error(QStringLiteral("%1: %2").arg(QLatin1String(command.name), parser.errorText()));
    if (parser.isSet(QStringLiteral("help")))
        printAndExit(parser.helpText());
    setUpLogging(parser.isSet(verboseOption));
}

QString onlyArgument(const QCommandLineParser &parser, const char *name)
{
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        error(QStringLiteral("expected one %1, got %2 arguments").arg(QLatin1String(name)).arg(positional.size()));
    return positional.first();
}

// Session files

// The file whole, bounded and refused as the library reads session files.
QByteArray readSessionFile(const QString &path)
{
    QByteArray content;
    QString problem;
    if (!VdSessionFiles::readWholeFile(path, &content, &problem))
        error(QStringLiteral("%1: %2").arg(path, problem));
    return content;
}

QJsonObject parseSessionFile(const QString &path, const QByteArray &content)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(content, &parseError);
    if (document.isNull())
        error(QStringLiteral("not JSON (%1 at byte %2): %3").arg(parseError.errorString()).arg(parseError.offset).arg(path));
    // The loader turns these away too.
    if (document.isEmpty())
        error(QStringLiteral("an empty JSON document: %1").arg(path));
    return document.object();
}

// Reads the document as loadFromVdp() does, without the previous session's file: that is read,
// and deleted, only by loadFromVdp() itself.
void readDocument(VdSessionSettings *settings, const QJsonObject &root)
{
    if (root.contains(QStringLiteral("vdsession settings")))
        settings->fromOldJson(root);
    else
        settings->fromJson(root);
}

QJsonObject loadSession(VdSessionSettings *settings, const QString &path, bool inherit)
{
    const QJsonObject root = parseSessionFile(path, readSessionFile(path));
    if (inherit) {
        if (!settings->loadFromVdp(path))
            error(QStringLiteral("the library could not load %1").arg(path));
    } else {
        readDocument(settings, root);
    }
    return root;
}

// The screens the document remembers a window rectangle for, in either layout.
QList<int> rememberedScreenIds(const QJsonObject &root)
{
    QSet<int> ids;
    if (root.contains(QStringLiteral("geometry")))
        ids.insert(0);
    for (const QJsonObject &group : {root, root.value(QStringLiteral("vdsession settings")).toObject()}) {
        for (const QJsonValue &screen : group.value(QStringLiteral("geometrys")).toArray()) {
            if (screen.isObject())
                ids.insert(screen.toObject().value(QStringLiteral("id")).toInt());
        }
    }
    QList<int> sorted = ids.values();
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// Text output

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

QString rectText(const QRect &rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QRect rectFromJson(const QJsonValue &value)
{
    const QJsonObject rect = value.toObject();
    if (rect.isEmpty())
        return QRect();
    return QRect(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
                 rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt());
}

// Values start in one column, at least @p width characters after the names. The column is
// measured on the names as printed.
void printRows(const QString &title, const QList<QPair<QString, QString>> &rows, int width = 0)
{
    if (rows.isEmpty())
        return;
    QList<QPair<QString, QString>> shown;
    for (const auto &row : rows) {
        shown.append({printable(row.first), printable(row.second)});
        width = std::max(width, int(shown.last().first.size()));
    }
    message(title);
    for (const auto &row : shown) {
        if (row.second.isEmpty())
            message(QStringLiteral("  ") + row.first);
        else
            message(QLatin1String("  ") + row.first.leftJustified(width) + QLatin1String("  ") + row.second);
    }
    message(QString());
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

void printDump(const QJsonObject &dump, bool json)
{
    if (json)
        printJson(QJsonDocument(dump));
    else
        printSettings(dump);
}

// show

void addShowArguments(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The session file (.vdp)."));
    parser.addOption(jsonOption);
    parser.addOption(secretsOption);
    parser.addOption({QStringLiteral("inherit"),
                      QStringLiteral("Load as the session program does, taking the stream mode from the previous "
                                     "session's file beside FILE, which is then deleted.")});
}

int runShow(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    VdSessionSettings *settings = VdSessionSettings::instance();
    const QJsonObject root = loadSession(settings, path, parser.isSet(QStringLiteral("inherit")));
    QJsonObject dump = settingsToJson(*settings, parser.isSet(secretsOption));
    // Asking for the remembered rectangles records rectangles; nothing is read after it.
    dump.insert(QStringLiteral("geometry"), rememberedGeometries(*settings, rememberedScreenIds(root)));
    printDump(dump, parser.isSet(jsonOption));
    return 0;
}

// web

// What each of the link parser's checks, by number, wants to see.
const char *const linkChecks[] = {
    "the link holds 6 or 7 parameters, separated by 5 or 6 '&'",
    "parameter 1 is token=...",
    "parameter 2 is serverIp=...",
    "parameter 3 is serverPort=...",
    "parameter 4 is vmUuid=...",
    "parameter 5 is h5ClientUuid=...",
    "parameter 6 is multiscreen=...",
    "parameter 7, when there is one, is theme=...",
};

// The link's parameters as the parser reads them (every portal prefix taken out, which may join
// the token's name or value together), with the token hidden. The parser takes the token from
// the first "token=" of its piece up to a second one; everything behind the first "token=" is
// hidden up to the piece's end, in whichever piece it stands, since a rejected link may have put
// it anywhere. The text of each such value is hidden wherever else it recurs as well.
QString withoutToken(const QString &parameters)
{
    QVector<bool> hidden(parameters.size(), false);
    const auto hide = [&hidden](int from, int to) { std::fill(hidden.begin() + from, hidden.begin() + to, true); };
    QSet<QString> values;
    int pieceStart = 0;
    for (const QString &piece : parameters.split(QLatin1Char('&'), Qt::KeepEmptyParts)) {
        const int name = piece.indexOf(tokenName);
        if (name >= 0) {
            const int valueStart = name + tokenName.size();
            hide(pieceStart + valueStart, pieceStart + piece.size());
            for (const QString &value : piece.mid(valueStart).split(tokenName, Qt::SkipEmptyParts))
                values.insert(value);
        }
        pieceStart += piece.size() + 1;
    }
    // Each search goes on behind the occurrence found; one overlapping it has part of its text
    // hidden already.
    for (const QString &value : values) {
        for (int at = parameters.indexOf(value); at >= 0; at = parameters.indexOf(value, at + value.size()))
            hide(at, at + value.size());
    }

    QString shown;
    for (int i = 0; i < parameters.size(); ++i) {
        if (!hidden.at(i))
            shown += parameters.at(i);
        else if (i == 0 || !hidden.at(i - 1))
            shown += QLatin1String("***");
    }
    return shown;
}

void addWebArguments(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("LINK"), QStringLiteral("The web portal's launch link."));
    parser.addOption(jsonOption);
    parser.addOption(secretsOption);
}

int runWeb(const QCommandLineParser &parser)
{
    const QString link = onlyArgument(parser, "LINK");
    const bool showSecrets = parser.isSet(secretsOption);
    VdSessionSettings *settings = VdSessionSettings::instance();

    // The parser names a failed check only in its log; listen for it whether or not the log is shown.
    auto rejection = std::make_shared<RejectionSink>();
    const std::shared_ptr<spdlog::logger> logger = spdlog::default_logger();
    logger->sinks().push_back(rejection);
    logger->sinks().front()->set_level(logger->level());
    logger->set_level(std::min(logger->level(), spdlog::level::info));
    const bool accepted = settings->loadFromWeb(link);
    logger->sinks().pop_back();

    if (!accepted) {
        const QString parameters = QString(link).remove(linkMarker);
        const QString shown = showSecrets ? parameters : withoutToken(parameters);
        if (rejection->failedCheck == 0)
            error(QStringLiteral("rejected link: %1").arg(shown));
        error(QStringLiteral("rejected link, check %1 failed (%2): %3")
                  .arg(rejection->failedCheck)
                  .arg(QLatin1String(linkChecks[rejection->failedCheck - 1]), shown));
    }
    printDump(settingsToJson(*settings, showSecrets), parser.isSet(jsonOption));
    return 0;
}

// geometry

const QCommandLineOption screenOption(QStringLiteral("screen"),
                                      QStringLiteral("A screen at X,Y of W x H pixels, with screen id ID (by default "
                                                     "its place among the --screen options, from 0). Repeatable."),
                                      QStringLiteral("X,Y,W,H[@ID]"));
const QCommandLineOption svgOption(QStringLiteral("svg"), QStringLiteral("Also draw the screens and windows into OUT.svg."),
                                   QStringLiteral("OUT.svg"));

void addGeometryArguments(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The session file (.vdp)."));
    parser.addOption(screenOption);
    parser.addOption(svgOption);
    parser.addOption(jsonOption);
}

int runGeometry(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    const QStringList screenTexts = parser.values(screenOption);
    if (screenTexts.isEmpty())
        error(QStringLiteral("geometry: give at least one --screen X,Y,W,H[@ID]"));
    QList<PlacedWindow> windows;
    for (int i = 0; i < screenTexts.size(); ++i) {
        const std::optional<ScreenArgument> screen = parseScreen(screenTexts.at(i), i);
        if (!screen)
            error(QStringLiteral("malformed --screen, expected X,Y,W,H[@ID] with W and H above 0: %1").arg(screenTexts.at(i)));
        windows.append({screen->id, screen->screen, QRect(), QRect()});
    }
    const QString svgPath = parser.value(svgOption);

    VdSessionSettings *settings = VdSessionSettings::instance();
    const QJsonObject root = loadSession(settings, path, false);
    // In the order the session program would place them: a screen id given twice sees what the
    // first placement recorded.
    for (PlacedWindow &placed : windows)
        placed.window = settings->geometry(placed.screen, placed.id);

    // Placing recorded its results; reading the document again brings back what it remembers.
    readDocument(settings, root);
    const QList<int> rememberedIds = rememberedScreenIds(root);
    QList<int> ids;
    for (const PlacedWindow &placed : windows) {
        if (rememberedIds.contains(placed.id) && !ids.contains(placed.id))
            ids.append(placed.id);
    }
    const QJsonArray remembered = rememberedGeometries(*settings, ids);
    for (PlacedWindow &placed : windows) {
        for (const QJsonValue &screen : remembered) {
            if (screen.toObject().value(QStringLiteral("id")).toInt() == placed.id)
                placed.remembered = rectFromJson(screen.toObject().value(QStringLiteral("geometry")));
        }
    }

    if (!svgPath.isEmpty()) {
        QString problem;
        if (!VdSessionFiles::writeWholeFile(svgPath, geometryPicture(windows), &problem))
            error(QStringLiteral("cannot write %1: %2").arg(svgPath, problem));
    }

    if (parser.isSet(jsonOption)) {
        QJsonArray list;
        for (const PlacedWindow &placed : windows) {
            const auto toJson = [](const QRect &r) -> QJsonValue {
                if (r.isNull())
                    return QJsonValue();
                return QJsonObject{{QStringLiteral("x"), r.x()}, {QStringLiteral("y"), r.y()},
                                   {QStringLiteral("width"), r.width()}, {QStringLiteral("height"), r.height()}};
            };
            list.append(QJsonObject{{QStringLiteral("id"), placed.id},
                                    {QStringLiteral("screen"), toJson(placed.screen)},
                                    {QStringLiteral("remembered"), toJson(placed.remembered)},
                                    {QStringLiteral("geometry"), toJson(placed.window)}});
        }
        printJson(QJsonDocument(list));
        return 0;
    }
    QList<QPair<QString, QString>> rows;
    for (const PlacedWindow &placed : windows) {
        rows.append({QStringLiteral("screen %1 at %2").arg(placed.id).arg(rectText(placed.screen)),
                     QStringLiteral("window %1   (remembered: %2)")
                         .arg(rectText(placed.window),
                              placed.remembered.isNull() ? QStringLiteral("nothing") : rectText(placed.remembered))});
    }
    printRows(QStringLiteral("Window geometry"), rows);
    return 0;
}

// check

// Paths line up in one column, as wide as the longest path that fits in it. A longer one, such
// as a key that is a whole paragraph, stands on a line of its own, so that it cannot widen the
// lines of all the others.
constexpr int pathColumn = 40;

void addCheckArguments(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The session file (.vdp)."));
    parser.addOption(jsonOption);
}

int runCheck(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    const QByteArray content = readSessionFile(path);
    parseSessionFile(path, content);
    const VdSessionCheck check = VdSessionCheck::checkDocument(content);
    if (check.layout() == VdSessionCheck::Layout::Unreadable)
        error(QStringLiteral("%1: %2").arg(check.errorString(), path));
    const QVector<VdSessionCheck::Finding> findings = check.findings();

    if (parser.isSet(jsonOption)) {
        QJsonArray list;
        for (const VdSessionCheck::Finding &finding : findings) {
            list.append(QJsonObject{{QStringLiteral("path"), finding.path},
                                    {QStringLiteral("kind"), VdSessionCheck::kindName(finding.kind)},
                                    {QStringLiteral("message"), finding.message},
                                    {QStringLiteral("suggestion"), finding.suggestion}});
        }
        const QJsonObject result{{QStringLiteral("layout"), VdSessionCheck::layoutName(check.layout())},
                                 {QStringLiteral("findings"), list}};
        printJson(QJsonDocument(result));
    } else {
        message(QStringLiteral("layout: %1").arg(VdSessionCheck::layoutName(check.layout())));
        QStringList paths;
        int pathWidth = 0, kindWidth = 0;
        for (const VdSessionCheck::Finding &finding : findings) {
            paths.append(printable(finding.path));
            if (paths.last().size() <= pathColumn)
                pathWidth = std::max(pathWidth, int(paths.last().size()));
            kindWidth = std::max(kindWidth, int(VdSessionCheck::kindName(finding.kind).size()));
        }
        for (int i = 0; i < findings.size(); ++i) {
            const VdSessionCheck::Finding &finding = findings.at(i);
            // Joined, not put in with arg(): a "%1" in a key would take the next argument in.
            QString text = VdSessionCheck::kindName(finding.kind).leftJustified(kindWidth) + QLatin1String("  ") + finding.message;
            if (!finding.suggestion.isEmpty())
                text += QStringLiteral(" -> ") + finding.suggestion;
            if (paths.at(i).size() > pathWidth) {
                message(paths.at(i));
                message(QString(pathWidth + 2, QLatin1Char(' ')) + text);
            } else {
                message(paths.at(i).leftJustified(pathWidth) + QLatin1String("  ") + text);
            }
        }
    }
    return findings.isEmpty() ? 0 : 1;
}

// schema

void addSchemaArguments(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("markdown"), QStringLiteral("Print the key reference as Markdown instead.")});
}

int runSchema(const QCommandLineParser &parser)
{
    if (!parser.positionalArguments().isEmpty())
        error(QStringLiteral("schema takes no arguments, got: %1").arg(parser.positionalArguments().join(QLatin1Char(' '))));
    if (parser.isSet(QStringLiteral("markdown")))
        writeOut(VdSessionCheck::schemaMarkdown().toUtf8());
    else
        printJson(QJsonDocument(VdSessionCheck::schema()));
    return 0;
}

const Command commands[] = {
    {"show", "Print every setting a session file gives, as a session program loads it.", addShowArguments, runShow},
    {"web", "Print every setting a web portal's launch link gives.", addWebArguments, runWeb},
    {"geometry", "Print the window rectangle the session gives on each screen.", addGeometryArguments, runGeometry},
    {"check", "Report every value of a session file that the readers replace or ignore.", addCheckArguments, runCheck},
    {"schema", "Print the JSON Schema of session files.", addSchemaArguments, runSchema},
};

const Command *findCommand(const QString &name)
{
    for (const Command &command : commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString commandList()
{
    QString text = QStringLiteral("Commands:\n");
    for (const Command &command : commands)
        text += QStringLiteral("  %1  %2\n").arg(QLatin1String(command.name), -8).arg(QLatin1String(command.summary));
    text += QStringLiteral("  %1  %2").arg(QStringLiteral("help"), -8).arg(QStringLiteral("help COMMAND shows the command's options."));
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // The C runtime would write every "\n" as "\r\n"; the output is the same bytes as elsewhere.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vdsession"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VDSESSION_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows what the session settings library makes of a session "
                                                    "file or launch link, and checks and describes session files.\n\n")
                                     + commandList());
    parser.addHelpOption();
    // -v is --verbose here, so the version has its long name only.
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Print the version."));
    parser.addOption(versionOption);
    parser.addOption(verboseOption);
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("One of the commands above."));
    parser.addPositionalArgument(QStringLiteral("ARGUMENTS"), QStringLiteral("The command's arguments."),
                                 QStringLiteral("[ARGUMENTS...]"));
    // Everything from the command on belongs to the command's own parser.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(app.arguments()))
        error(parser.errorText());
    if (parser.isSet(versionOption))
        printAndExit(QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));

    QStringList arguments = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("help")))
        printAndExit(parser.helpText());
    if (arguments.isEmpty())
        error(QStringLiteral("no command given (see vdsession --help)"));

    if (arguments.first() == QLatin1String("help")) {
        if (arguments.size() != 2 || !findCommand(arguments.at(1)))
            error(QStringLiteral("help: expected one of the commands, got: %1").arg(arguments.mid(1).join(QLatin1Char(' '))));
        arguments = QStringList{arguments.at(1), QStringLiteral("--help")};
    }
    const Command *command = findCommand(arguments.first());
    if (!command)
        error(QStringLiteral("unknown command: %1 (see vdsession --help)").arg(arguments.first()));
    if (parser.isSet(verboseOption))
        arguments.insert(1, QStringLiteral("--verbose"));

    QCommandLineParser commandParser;
    parseCommand(*command, commandParser, arguments);
    return command->run(commandParser);
}
