#include "vdsessionsettings.h"

#include "display/windowrect_p.h"
#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

namespace {

// The window's default size, and the smallest size a recorded rectangle may have.
constexpr int defaultWidth = 994;
constexpr int defaultHeight = 801;

// A window whose left or right edge comes this close to the screen's side is as good as lost.
constexpr int sideMargin = 4;
// A window whose top lies in this band above the screen's bottom edge cannot be grabbed, the
// taskbar lies there.
constexpr int bottomBand = 40;

// A remembered size is snapped down onto the grid the session window is sized on: widths of
// 16 k + 2, heights of 16 k + 1 (truncating, so never larger than what was remembered).
int snappedWidth(int width) { return 16 * ((width - 2) / 16) + 2; }
int snappedHeight(int height) { return 16 * ((height - 1) / 16) + 1; }

void centreHorizontally(QRect &rect, const QRect &screen, int width)
{
    rect.moveLeft(screen.left() + (screen.width() - width) / 2);
    rect.setWidth(width);
}

void centreVertically(QRect &rect, const QRect &screen, int height)
{
    rect.moveTop(screen.top() + (screen.height() - height) / 2);
    rect.setHeight(height);
}

} // namespace

QRect VdSessionSettings::geometry(const QRect &screenGiven, int winId)
{
    // Held as a session file's rectangles are, so that no sum below leaves the int range.
    const QRect screen = windowRect(screenGiven);
    spdlog::info("desktop window screen id:{}, x:{}, y:{} w:{}, h:{}", winId, screen.x(), screen.y(), screen.width(),
                 screen.height());

    QRect rect;
    const auto remembered = d->mGeometrys_.constFind(winId);
    if (remembered != d->mGeometrys_.constEnd())
        rect = remembered.value();

    spdlog::info("last geometry x:{}, y:{} w:{}, h:{}", rect.x(), rect.y(), rect.width(), rect.height());

    int width = defaultWidth;
    int height = defaultHeight;

    if (!rect.isNull() && rect.width() >= 1 && rect.height() >= 1) {
        if (rect.width() < screen.width())
            width = snappedWidth(rect.width());
        if (rect.height() < screen.height())
            height = snappedHeight(rect.height());

        const bool horizontallyUsable = rect.right() > screen.left() + sideMargin
            && rect.left() < screen.right() - sideMargin && rect.width() <= screen.width();
        if (!horizontallyUsable)
            centreHorizontally(rect, screen, width);

        // A title bar above the screen cannot be reached; bring it down to the screen's top.
        if (rect.top() < screen.top()) {
            rect.moveTop(screen.top());
            rect.setHeight(height);
            spdlog::info("geometry mMenuBarHideStatus_={}, mMenuBarHeight_={}", d->mMenuBarHideStatus_,
                         d->mMenuBarHeight_);
        }

        if (rect.top() >= screen.bottom() - bottomBand)
            centreVertically(rect, screen, height);
    } else {
        // A screen no larger than the default keeps the empty rectangle, which the intersection
        // test below then centres.
        if (screen.width() > defaultWidth)
            centreHorizontally(rect, screen, defaultWidth);
        if (screen.height() > defaultHeight)
            centreVertically(rect, screen, defaultHeight);
    }

    // Remembered on a monitor that is gone, or on another one: bring it onto this screen.
    if (!rect.intersects(screen)) {
        centreHorizontally(rect, screen, width);
        centreVertically(rect, screen, height);
    }

    if (rect.height() > screen.height() || rect.width() > screen.width()) {
        rect.setHeight(height);
        rect.setWidth(width);
        spdlog::warn("showArea is bigger than screen, so correct showArea to width: {}, height: {}", width, height);
    }

    spdlog::info("adjust window geometry");

    setGeometry(rect, winId);
    return rect;
}

QMap<int, QRect> VdSessionSettings::rememberedGeometries() const { return d->mGeometrys_; }

void VdSessionSettings::setGeometry(const QRect &geometry, int winId)
{
    QRect recorded = windowRect(geometry);
    if (recorded.width() < defaultWidth)
        recorded.setWidth(defaultWidth);
    if (recorded.height() < defaultHeight)
        recorded.setHeight(defaultHeight);

    spdlog::info("VdSessionSettings::setGeometry:{},{},{},{} of id:{}", recorded.left(), recorded.top(),
                 recorded.width(), recorded.height(), winId);

    QRect &stored = d->mGeometrys_[winId];
    if (stored == recorded)
        return;
    stored = recorded;
    Q_EMIT geometryChanged(winId);
}

void VdSessionSettings::setDisplayRes(const QSize &size)
{
    spdlog::info("setDisplayRes: w: {}, h: {}", size.width(), size.height());
    d->mDisplayRes_ = size;
}

VdSessionSettings::RenderMode VdSessionSettings::getDefaultRenderMode() { return RenderModePart; }
VdSessionSettings::RenderSystemMode VdSessionSettings::getDefaultRenderSystemMode() { return RenderSystemSDL; }
