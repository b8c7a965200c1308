// geometry() and setGeometry() with any rectangle a caller can hand over, QML included, against
// the window rectangles a session document remembered. Screens and rectangles are drawn from the
// whole int range, their edges given as corners so that QRect's own constructor adds nothing; the
// remembered numbers too, since the document reader holds them as the calls hold their arguments.
// Half the screens are drawn as real desktops have them, and a third of the remembered rectangles
// along the edges of the screen they are first placed on, so that the one promise checked here
// gets its cases: on a screen with room for the default window, the window is on the screen.

#include "fuzzsession.h"

#include <QJsonArray>
#include <QJsonObject>

#include "display/windowrect_p.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <limits>

namespace {

QRect anyRect(FuzzedDataProvider &input)
{
    const int left = input.ConsumeIntegral<int>();
    const int top = input.ConsumeIntegral<int>();
    const int right = input.ConsumeIntegral<int>();
    const int bottom = input.ConsumeIntegral<int>();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Windows and screens mostly lie within a few thousand pixels of each other; half of them are
// drawn from there, so that windows just touching a screen's edge come up.
constexpr int nearby = 4096;

// A screen at any offset and of any size a desktop could have; the library holds these as given.
QRect desktopScreen(FuzzedDataProvider &input)
{
    const int limit = input.ConsumeBool() ? nearby : windowCoordinateLimit;
    const int left = input.ConsumeIntegralInRange(-limit, limit);
    const int top = input.ConsumeIntegralInRange(-limit, limit);
    const int size = limit == nearby ? 2 * nearby : windowCoordinateLimit;
    const int width = input.ConsumeIntegralInRange(0, size);
    const int height = input.ConsumeIntegralInRange(0, size);
    return QRect(left, top, width, height);
}

// The default window's size, with the band above a screen's bottom edge that a window's top
// must keep clear of.
constexpr int roomyWidth = 994;
constexpr int roomyHeight = 801 + 40;

// On a screen with room for the default window, geometry() puts the window on that screen and
// no larger than it, whatever was remembered. Screens beyond +-windowCoordinateLimit are placed
// as if they lay at that limit, so only screens held as given are checked.
//
// One window the placement rules leave beside the screen: one remembered taller than the screen
// whose left edge lies left of the screen's, with only a few pixels on it. It counts as on the
// screen horizontally and is not moved; being too tall, it is cut to the snapped default size
// keeping its left edge, and the snapped width can be up to 15 pixels narrower than the
// remembered one, enough to leave the screen ("-1003,0,1009,1200" on 0,0 1920x1080 becomes
// -1003,0 994x801). Such a window is only checked for its size.
void checkOnScreen(const QRect &screen, const QRect &remembered, const QRect &window)
{
    if (windowRect(screen) != screen || screen.width() < roomyWidth || screen.height() < roomyHeight)
        return;
    const bool cutBesideScreen = remembered.height() > screen.height() && remembered.left() < screen.left();
    if ((window.intersects(screen) || cutBesideScreen) && window.width() <= screen.width()
        && window.height() <= screen.height())
        return;
    const auto text = [](const QRect &r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    FuzzSession::broken(QStringLiteral("window %1 is not on screen %2 (remembered %3)")
                            .arg(text(window), text(screen), text(remembered)));
}

int clampedToInt(qint64 number)
{
    return int(qBound<qint64>(std::numeric_limits<int>::min(), number, std::numeric_limits<int>::max()));
}

// A remembered rectangle "left,top,width,height": any numbers, numbers near the origin, or, for a
// third of them, edges and sizes within a few pixels of the screen the window is first placed
// on, where the placement rules change their mind (a window just on or just off a side, just
// taller or wider than the screen, just clear of the bottom band).
QString rememberedText(FuzzedDataProvider &input, const QRect &screen)
{
    constexpr int fewPixels = 48;
    const auto near = [&](qint64 edge) { return clampedToInt(edge + input.ConsumeIntegralInRange(-fewPixels, fewPixels)); };
    QVector<int> numbers;
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        for (int i = 0; i < 4; ++i)
            numbers.append(input.ConsumeIntegral<int>());
        break;
    case 1:
        for (int i = 0; i < 4; ++i)
            numbers.append(input.ConsumeIntegralInRange(-nearby, nearby));
        break;
    default: {
        // Any screen's sides, in 64 bits: QRect's own width() overflows for the widest.
        const qint64 screenWidth = qint64(screen.right()) - screen.left() + 1;
        const qint64 screenHeight = qint64(screen.bottom()) - screen.top() + 1;
        const qint64 width = input.PickValueInArray<qint64>({screenWidth, roomyWidth, input.ConsumeIntegralInRange(0, nearby)});
        const qint64 height = input.PickValueInArray<qint64>({screenHeight, roomyHeight, input.ConsumeIntegralInRange(0, nearby)});
        const qint64 left = input.ConsumeBool() ? qint64(screen.left()) : qint64(screen.left()) + screenWidth - width;
        const qint64 top = input.ConsumeBool() ? qint64(screen.top()) : qint64(screen.top()) + screenHeight - height;
        numbers = {near(left), near(top), near(width), near(height)};
    }
    }
    QStringList texts;
    for (int number : numbers)
        texts.append(QString::number(number));
    return texts.join(QLatin1Char(','));
}

QRect anyScreen(FuzzedDataProvider &input)
{
    return input.ConsumeBool() ? desktopScreen(input) : anyRect(input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int windows = input.ConsumeIntegralInRange(1, 4);

    // The screens the windows are first placed on, so that what was remembered can lie near them.
    QVector<QRect> firstScreens;
    for (int id = 0; id < windows; ++id)
        firstScreens.append(anyScreen(input));
    QJsonArray remembered;
    for (int id = 0; id < windows; ++id) {
        if (input.ConsumeBool())
            remembered.append(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("geometry"), rememberedText(input, firstScreens.at(id))}});
    }
    QJsonObject document{{QStringLiteral("inherit old vdp"), 1}, {QStringLiteral("geometrys"), remembered}};
    if (input.ConsumeBool())
        document.insert(QStringLiteral("geometry"), rememberedText(input, firstScreens.at(0)));

    VdSessionSettings *settings = FuzzSession::freshSettings();
    settings->fromJson(document);
    // Each window asks again for its place, as after a monitor change, or says where it went.
    for (int round = 0; round < 2; ++round) {
        for (int id = 0; id < windows && input.remaining_bytes() > 0; ++id) {
            if (input.ConsumeBool())
                settings->setGeometry(anyRect(input), id);
            const QRect screen = round == 0 ? firstScreens.at(id) : anyScreen(input);
            const QRect remembered = settings->rememberedGeometries().value(id);
            checkOnScreen(screen, remembered, settings->geometry(screen, id));
        }
    }
    return 0;
}
