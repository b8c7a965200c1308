// vdsession web LINK: every setting a web portal's launch link gives, or which of the link
// parser's checks it failed.
#include "commands.h"
#include "settingsdump.h"
#include "settingsview.h"

#include <vdsessionsettings/vdsessionsettings.h>

#include <QRegularExpression>
#include <QSet>

#include <spdlog/sinks/base_sink.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <mutex>

namespace {

// The portal's token lets anyone into the session, so it is kept out of error messages as it is
// kept out of the settings shown.
const QString tokenName = QStringLiteral("token=");
// What the portal puts in front of the link's parameters; the link parser takes every one out.
const QString linkMarker = QStringLiteral("evoked-download/?");

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

// The link parser names the check a link failed only in its log, by its number, first in its
// message.
class RejectionSink : public spdlog::sinks::base_sink<std::mutex>
{
public:
    int failedCheck = 0;

protected:
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

} // namespace

int runWeb(const QCommandLineParser &parser)
{
    const QString link = onlyArgument(parser, "LINK");
    const bool showSecrets = parser.isSet(QStringLiteral("show-secrets"));
    VdSessionSettings *settings = VdSessionSettings::instance();

    // Listen for the failed check whether or not the log is shown.
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
            fail(QStringLiteral("rejected link: %1").arg(shown));
        fail(QStringLiteral("rejected link, check %1 failed (%2): %3")
                 .arg(rejection->failedCheck)
                 .arg(QLatin1String(linkChecks[rejection->failedCheck - 1]), shown));
    }
    printDump(settingsToJson(*settings, showSecrets), parser.isSet(QStringLiteral("json")));
    return 0;
}
