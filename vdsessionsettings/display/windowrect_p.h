#ifndef VDSESSIONSETTINGS_WINDOWRECT_P_H
#define VDSESSIONSETTINGS_WINDOWRECT_P_H

#include <QRect>
#include <QtGlobal>

// Far beyond any desktop, and small enough that a rectangle's edges, and their sums and
// differences with the host's screen coordinates in geometry(), stay well inside an int.
constexpr int windowCoordinateLimit = 1 << 24;

// @p value held to +-windowCoordinateLimit.
inline int windowCoordinate(qint64 value)
{
    return int(qBound(qint64(-windowCoordinateLimit), value, qint64(windowCoordinateLimit)));
}

// The rectangle of that left, top, width and height, each held to +-windowCoordinateLimit before
// QRect adds them. Every rectangle the settings remember or compute with comes through here,
// whether it was read from a file or handed over by the program or QML.
inline QRect windowRect(qint64 left, qint64 top, qint64 width, qint64 height)
{
    return QRect(windowCoordinate(left), windowCoordinate(top), windowCoordinate(width), windowCoordinate(height));
}

// @p rect held as above. Its size is taken from its edges in 64 bits: QRect's own width() and
// height() overflow for edges near the ends of the int range.
inline QRect windowRect(const QRect &rect)
{
    return windowRect(rect.left(), rect.top(), qint64(rect.right()) - rect.left() + 1, qint64(rect.bottom()) - rect.top() + 1);
}

#endif
