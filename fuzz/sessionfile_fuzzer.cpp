// A session file of any content through loadFromVdp(), in either layout, with or without the
// previous session's file beside it; then saved back, as the program does when the user leaves.
// Besides not crashing, the library keeps three promises here:
// - saving keeps every key the writer does not own, as loading it again gives it;
// - the check and loading tell the same layout, and agree on what is unreadable;
// - neither the check's findings nor the tool's masked settings dump show a secret.
//
// Input: the session file, optionally followed by the separator line below and the previous
// session's file ("<name>-2.vdp"). Without the separator no previous file is present.

#include "fuzzsession.h"
#include "settingsdump.h"

#include <vdsessionsettings/sessioncheck.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>

#include <spdlog/sinks/base_sink.h>

#include <mutex>

namespace {

using Layout = VdSessionCheck::Layout;

const QByteArray previousSeparator = QByteArrayLiteral("\n--previous session--\n");

// Which reader loading handed the document to, as loading reports it.
class ReaderSink : public spdlog::sinks::base_sink<std::mutex>
{
public:
    Layout taken = Layout::Unreadable;

protected:
    void sink_it_(const spdlog::details::log_msg &message) override
    {
        const std::string text(message.payload.data(), message.payload.size());
        if (text == "vdp is new format")
            taken = Layout::Current;
        else if (text == "vdp is old format")
            taken = Layout::Legacy;
    }
    void flush_() override {}
};

ReaderSink *installReaderSink()
{
    auto sink = std::make_shared<ReaderSink>();
    auto logger = std::make_shared<spdlog::logger>("fuzz", sink);
    logger->set_level(spdlog::level::info);
    spdlog::set_default_logger(logger);
    return sink.get();
}

QJsonObject topLevel(const QByteArray &content) { return QJsonDocument::fromJson(content).object(); }

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything saveToVdp() writes at the top level; "stream_control_value" only while a stream mode
// is chosen.
QSet<QString> writtenKeys(bool streamModeChosen)
{
    QSet<QString> keys{QStringLiteral("config mode"),      QStringLiteral("inherit old vdp"),
                       QStringLiteral("vgpu qp type"),     QStringLiteral("image_compression_mode"),
                       QStringLiteral("vgpu decode type"), QStringLiteral("jpeg_quality"),
                       QStringLiteral("dump_stream_data"), QStringLiteral("d3d_debug"),
                       QStringLiteral("render_driver_value"), QStringLiteral("mouse_mode"),
                       QStringLiteral("toolbarStyle"),     QStringLiteral("geometrys"),
                       QStringLiteral("noMoreshowDialog"), QStringLiteral("window mode"),
                       QStringLiteral("render mode"),      QStringLiteral("display_res")};
    if (streamModeChosen)
        keys.insert(QStringLiteral("stream_control_value"));
    return keys;
}

// Qt 5 can lose its own keys that hold NUL bytes: parsing keeps them in one order, lookups
// assume another, so value(), contains() and operator== may miss a key the object lists.
// Objects are therefore compared by walking them, never by looking a key up in Qt's object.
QMap<QString, QJsonValue> entries(const QJsonObject &object)
{
    QMap<QString, QJsonValue> byKey;
    for (auto it = object.begin(); it != object.end(); ++it)
        byKey.insert(it.key(), it.value());
    return byKey;
}

bool sameJson(const QJsonValue &a, const QJsonValue &b)
{
    if (a.type() != b.type())
        return false;
    if (a.isObject()) {
        const QMap<QString, QJsonValue> left = entries(a.toObject());
        const QMap<QString, QJsonValue> right = entries(b.toObject());
        if (left.keys() != right.keys())
            return false;
        for (auto l = left.begin(), r = right.begin(); l != left.end(); ++l, ++r) {
            if (!sameJson(l.value(), r.value()))
                return false;
        }
        return true;
    }
    if (a.isArray()) {
        const QJsonArray left = a.toArray();
        const QJsonArray right = b.toArray();
        if (left.size() != right.size())
            return false;
        for (int i = 0; i < left.size(); ++i) {
            if (!sameJson(left.at(i), right.at(i)))
                return false;
        }
        return true;
    }
    return a == b;
}

// Compared as Qt holds the values after parsing, both times: the text of a number may change
// (Qt 5 keeps every number as a double), what a reader gets from it may not.
void checkSaveKeepsTheRest(const QJsonObject &before, const QByteArray &saved, bool streamModeChosen)
{
    const QJsonDocument document = QJsonDocument::fromJson(saved);
    if (!document.isObject())
        FuzzSession::broken(QStringLiteral("the saved session file is no JSON object"));
    const QMap<QString, QJsonValue> kept = entries(before);
    const QMap<QString, QJsonValue> after = entries(document.object());
    const QSet<QString> written = writtenKeys(streamModeChosen);
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        if (!written.contains(it.key()) && !(after.contains(it.key()) && sameJson(after.value(it.key()), it.value())))
            FuzzSession::broken(QStringLiteral("saving changed \"%1\", which it does not own").arg(it.key()));
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!written.contains(it.key()) && !kept.contains(it.key()))
            FuzzSession::broken(QStringLiteral("saving added \"%1\"").arg(it.key()));
    }
    for (const QString &key : written) {
        if (!after.contains(key))
            FuzzSession::broken(QStringLiteral("saving did not write \"%1\"").arg(key));
    }
}

void checkLayoutsAgree(const VdSessionCheck &check, bool loaded, Layout taken)
{
    if (check.layout() != (loaded ? taken : Layout::Unreadable))
        FuzzSession::broken(QStringLiteral("the check says %1, loading %2")
                                .arg(VdSessionCheck::layoutName(check.layout()),
                                     loaded ? VdSessionCheck::layoutName(taken) : QStringLiteral("failed")));
}

// Too distinctive to occur in a document by chance; an input that holds it is not checked.
const QString planted = QStringLiteral("Zq8-secret-Zq8");

// Every value that grants access, in either layout.
const char *const secretPaths[] = {
    "basic settings/idlink temp ticket",
    "vm settings/password",
    "vm settings/spice password",
    "user settings/current user settings/password",
    "vdsession settings/vm/spicePassword",
};

// Puts @p secret at @p path wherever the groups on the way are objects; returns whether it did.
bool plant(QJsonObject &object, const QStringList &path, const QJsonValue &secret)
{
    if (path.size() == 1) {
        object.insert(path.first(), secret);
        return true;
    }
    if (!object.value(path.first()).isObject())
        return false;
    QJsonObject group = object.value(path.first()).toObject();
    const bool planted = plant(group, path.mid(1), secret);
    object.insert(path.first(), group);
    return planted;
}

void checkSecretsStayHidden(const QByteArray &session, const QString &sessionFile, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(session);
    if (!document.isObject() || document.toJson().contains(planted.toUtf8()))
        return;
    QJsonObject root = document.object();
    // Secrets of another type than the readers take are reported as such, and must be hidden too.
    const QJsonValue shapes[] = {planted, QJsonArray{planted}, QJsonObject{{QStringLiteral("value"), planted}}};
    const QJsonValue &secret = shapes[size % 3];
    bool any = false;
    for (const char *path : secretPaths)
        any |= plant(root, QString::fromLatin1(path).split(QLatin1Char('/')), secret);
    if (!any)
        return;
    const QByteArray content = QJsonDocument(root).toJson(QJsonDocument::Compact);

    for (const VdSessionCheck::Finding &finding : VdSessionCheck::checkDocument(content).findings()) {
        if (finding.path.contains(planted) || finding.message.contains(planted) || finding.suggestion.contains(planted))
            FuzzSession::broken(QStringLiteral("the check shows a secret at %1: %2").arg(finding.path, finding.message));
    }

    FuzzSession::putFile(sessionFile, content);
    VdSessionSettings *settings = FuzzSession::freshSettings();
    if (!settings->loadFromVdp(sessionFile))
        FuzzSession::broken(QStringLiteral("a JSON object did not load"));
    if (QJsonDocument(settingsToJson(*settings, false)).toJson().contains(planted.toUtf8()))
        FuzzSession::broken(QStringLiteral("the masked settings dump shows a secret"));
    // Otherwise the above would hold for a secret planted where no reader looks.
    if (secret.isString() && root.value(QStringLiteral("vm settings")).isObject()
        && !root.contains(QStringLiteral("vdsession settings")) && settings->getPassword() != planted)
        FuzzSession::broken(QStringLiteral("the planted password was not read"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ReaderSink *const readerSink = installReaderSink();

    const QByteArray input = FuzzSession::bytes(data, size);
    const int separator = input.indexOf(previousSeparator);
    const QByteArray session = separator < 0 ? input : input.left(separator);
    const QByteArray previous = separator < 0 ? QByteArray() : input.mid(separator + previousSeparator.size());

    const QString sessionFile = QDir::current().absoluteFilePath(QStringLiteral("VdSession-fuzz.vdp"));
    FuzzSession::putFile(sessionFile, session);
    FuzzSession::putFile(QDir::current().absoluteFilePath(QStringLiteral("fuzz-2.vdp")), previous);

    // The checker runs the same readers with an observer, and walks the text itself.
    const VdSessionCheck check = VdSessionCheck::checkDocument(session);

    VdSessionSettings *settings = FuzzSession::freshSettings();
    readerSink->taken = Layout::Unreadable;
    const bool loaded = settings->loadFromVdp(sessionFile);
    checkLayoutsAgree(check, loaded, readerSink->taken);
    if (loaded) {
        settings->saveToVdp();
        checkSaveKeepsTheRest(topLevel(session), fileContent(sessionFile),
                              settings->streamMode() != VdSessionSettings::TYPE_STREAM_NONE);
    }
    settings->videoPolicy();

    checkSecretsStayHidden(session, sessionFile, size);
    return 0;
}
