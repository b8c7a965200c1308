#include "vdsessionsettings.h"

#include "private/logging_p.h"
#include "private/vdsessionsettings_p.h"

QRect VdSessionSettings::geometry(const QRect &screen, int winId)
{
    Q_UNUSED(winId)
    return screen;
}

void VdSessionSettings::setGeometry(const QRect &geometry, int winId)
{
    Q_UNUSED(geometry)
    Q_UNUSED(winId)
}

void VdSessionSettings::setDisplayRes(const QSize &size)
{
    Q_UNUSED(size)
}

VdSessionSettings::RenderMode VdSessionSettings::getDefaultRenderMode() { return RenderModePart; }
VdSessionSettings::RenderSystemMode VdSessionSettings::getDefaultRenderSystemMode() { return RenderSystemSDL; }
