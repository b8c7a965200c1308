// vdsession geometry FILE --screen ...: the window rectangle the session gives on each screen.
#include "commands.h"
#include "geometrypicture.h"
#include "output.h"
#include "screenarg.h"
#include "sessioninput.h"
#include "settingsdump.h"
#include "settingsview.h"

#include <vdsessionsettings/sessionfiles.h>
#include <vdsessionsettings/vdsessionsettings.h>

#include <QJsonArray>

namespace {

QJsonValue rectToJson(const QRect &rect)
{
    if (rect.isNull())
        return QJsonValue();
    return QJsonObject{{QStringLiteral("x"), rect.x()}, {QStringLiteral("y"), rect.y()},
                       {QStringLiteral("width"), rect.width()}, {QStringLiteral("height"), rect.height()}};
}

} // namespace

int runGeometry(const QCommandLineParser &parser)
{
    const QString path = onlyArgument(parser, "FILE");
    const QStringList screenTexts = parser.values(QStringLiteral("screen"));
    if (screenTexts.isEmpty())
        fail(QStringLiteral("geometry: give at least one --screen X,Y,W,H[@ID]"));
    QList<PlacedWindow> windows;
    for (int i = 0; i < screenTexts.size(); ++i) {
        const std::optional<ScreenArgument> screen = parseScreen(screenTexts.at(i), i);
        if (!screen)
            fail(QStringLiteral("malformed --screen, expected X,Y,W,H[@ID] with W and H above 0: %1").arg(screenTexts.at(i)));
        windows.append({screen->id, screen->screen, QRect(), QRect()});
    }
    const QString svgPath = parser.value(QStringLiteral("svg"));

    VdSessionSettings *settings = VdSessionSettings::instance();
    const QJsonObject root = loadSession(settings, path, false);
    // What the document remembers, before placing records anything.
    const QJsonArray remembered = rememberedGeometries(*settings, rememberedScreenIds(root));
    for (PlacedWindow &placed : windows) {
        for (const QJsonValue &screen : remembered) {
            if (screen.toObject().value(QStringLiteral("id")).toInt() == placed.id)
                placed.remembered = rectFromJson(screen.toObject().value(QStringLiteral("geometry")));
        }
    }
    // In the order the session program would place them: a screen id given twice sees what the
    // first placement recorded.
    for (PlacedWindow &placed : windows)
        placed.window = settings->geometry(placed.screen, placed.id);

    if (!svgPath.isEmpty()) {
        QString problem;
        if (!VdSessionFiles::writeWholeFile(svgPath, geometryPicture(windows), &problem))
            fail(QStringLiteral("cannot write %1: %2").arg(svgPath, problem));
    }

    if (parser.isSet(QStringLiteral("json"))) {
        QJsonArray list;
        for (const PlacedWindow &placed : windows) {
            list.append(QJsonObject{{QStringLiteral("id"), placed.id},
                                    {QStringLiteral("screen"), rectToJson(placed.screen)},
                                    {QStringLiteral("remembered"), rectToJson(placed.remembered)},
                                    {QStringLiteral("geometry"), rectToJson(placed.window)}});
        }
        printJsonResult({{QStringLiteral("windows"), list}});
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
