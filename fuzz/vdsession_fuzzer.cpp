// The vdsession tool's own code: its --screen arguments, the settings dump it prints, and the SVG
// picture of the window placement. Promises checked:
// - a screen argument is taken only with room on it and within the desktop limit, and the text
//   of what was taken reads back as the same screen;
// - the dump without secrets differs from the full one only in the secrets, which read "***"
//   (or "" when empty);
// - the picture is well-formed XML without control characters.
//
// Input: lines "--screen X,Y,W,H[@ID]" (any text after the option), then a session file.

#include "fuzzsession.h"
#include "geometrypicture.h"
#include "screenarg.h"
#include "settingsdump.h"

#include <QJsonDocument>
#include <QXmlStreamReader>

#include <cstdlib>

namespace {

const QByteArray screenOption = QByteArrayLiteral("--screen ");
constexpr int maximumScreens = 8;
// As far as the tool lets a screen lie or reach.
constexpr int screenLimit = 1 << 20;

QString screenText(const QRect &screen, int id)
{
    return QStringLiteral("%1,%2,%3,%4@%5").arg(screen.x()).arg(screen.y()).arg(screen.width()).arg(screen.height()).arg(id);
}

bool withinLimit(const QRect &screen)
{
    return !screen.isEmpty() && std::abs(qint64(screen.x())) <= screenLimit && std::abs(qint64(screen.y())) <= screenLimit
        && screen.width() <= screenLimit && screen.height() <= screenLimit;
}

void checkScreenArgument(const QString &text, int defaultId, const std::optional<ScreenArgument> &parsed)
{
    if (!parsed)
        return;
    if (!withinLimit(parsed->screen))
        FuzzSession::broken(QStringLiteral("--screen %1 taken as %2").arg(text, screenText(parsed->screen, parsed->id)));
    const std::optional<ScreenArgument> again = parseScreen(screenText(parsed->screen, parsed->id), defaultId + 1);
    if (!again || again->screen != parsed->screen || again->id != parsed->id)
        FuzzSession::broken(QStringLiteral("--screen %1 does not read back").arg(screenText(parsed->screen, parsed->id)));
}

// Every screen the tool could be told of is taken, exactly.
void checkScreenTaken(const QRect &screen, int id)
{
    const std::optional<ScreenArgument> parsed = parseScreen(screenText(screen, id), 0);
    if (withinLimit(screen) != bool(parsed) || (parsed && (parsed->screen != screen || parsed->id != id)))
        FuzzSession::broken(QStringLiteral("--screen %1 read wrongly").arg(screenText(screen, id)));
}

void checkMasking(VdSessionSettings &settings)
{
    static const QStringList secrets{QStringLiteral("getPassword"), QStringLiteral("getSpicePassword"),
                                     QStringLiteral("token"), QStringLiteral("getIdlinkTempTicket")};
    const QJsonObject masked = settingsToJson(settings, false);
    const QJsonObject shown = settingsToJson(settings, true);
    if (masked.keys() != shown.keys())
        FuzzSession::broken(QStringLiteral("masking changed the dump's keys"));
    for (auto it = shown.begin(); it != shown.end(); ++it) {
        QJsonValue expected = it.value();
        if (secrets.contains(it.key()))
            expected = it.value().toString().isEmpty() ? QString() : QStringLiteral("***");
        if (masked.value(it.key()) != expected)
            FuzzSession::broken(QStringLiteral("the masked dump's \"%1\" is wrong").arg(it.key()));
    }
}

void checkPicture(const QByteArray &svg)
{
    for (int i = 0; i < svg.size(); ++i) {
        const uchar c = uchar(svg.at(i));
        const bool c1 = c == 0xc2 && i + 1 < svg.size() && uchar(svg.at(i + 1)) >= 0x80 && uchar(svg.at(i + 1)) <= 0x9f;
        if ((c < 0x20 && c != '\n') || c == 0x7f || c1)
            FuzzSession::broken(QStringLiteral("control character in the picture at byte %1").arg(i));
    }
    QXmlStreamReader xml(svg);
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        FuzzSession::broken(QStringLiteral("the picture is no XML: %1 at line %2").arg(xml.errorString()).arg(xml.lineNumber()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = FuzzSession::bytes(data, size);
    QList<PlacedWindow> windows;
    for (int i = 0; i < maximumScreens && input.startsWith(screenOption); ++i) {
        const int end = input.indexOf('\n');
        const QString text = QString::fromUtf8(input.mid(screenOption.size(), end < 0 ? -1 : end - screenOption.size()));
        input = end < 0 ? QByteArray() : input.mid(end + 1);
        const std::optional<ScreenArgument> screen = parseScreen(text, i);
        checkScreenArgument(text, i, screen);
        if (screen)
            windows.append({screen->id, screen->screen, QRect(), QRect()});
    }

    const QString sessionFile = QDir::current().absoluteFilePath(QStringLiteral("VdSession-fuzz.vdp"));
    FuzzSession::putFile(sessionFile, input);
    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->loadFromVdp(sessionFile);
    checkMasking(*settings);

    // As "vdsession geometry --svg" draws them.
    for (PlacedWindow &placed : windows) {
        placed.remembered = settings->rememberedGeometries().value(placed.id);
        placed.window = settings->geometry(placed.screen, placed.id);
        checkScreenTaken(placed.window, placed.id);
    }
    if (!windows.isEmpty())
        checkPicture(geometryPicture(windows));
    return 0;
}
