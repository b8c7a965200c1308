#ifndef VDSESSION_GEOMETRYPICTURE_H
#define VDSESSION_GEOMETRYPICTURE_H

#include <QByteArray>
#include <QList>
#include <QRect>

// One screen the window was placed on: the screen, what the session remembered for it (null when
// nothing), and the rectangle geometry() gave.
struct PlacedWindow
{
    int id = 0;
    QRect screen;
    QRect remembered;
    QRect window;
};

// Draws the screens at their offsets, the side margins and the bottom band a window must keep
// clear of, and the remembered and computed window rectangles, each labelled, as an SVG picture.
QByteArray geometryPicture(const QList<PlacedWindow> &windows);

#endif
