#include "geometrypicture.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace {

// The placement rules: a window is lost when it comes this close to a screen's side, and cannot be
// grabbed when its top lies in the band above the bottom edge.
constexpr int sideMargin = 4;
constexpr int bottomBand = 40;

// The picture's width on the page; its height follows the drawn area.
constexpr int pictureWidth = 960;

class Picture
{
public:
    Picture(QByteArray *svg, const QRect &area)
        : m_xml(svg)
        , m_font(std::max(12, area.width() / 70))
    {
        m_xml.setAutoFormatting(true);
        m_xml.writeStartDocument();
        m_xml.writeStartElement(QStringLiteral("svg"));
        m_xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
        m_xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("%1 %2 %3 %4")
                                                            .arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height()));
        m_xml.writeAttribute(QStringLiteral("width"), QString::number(pictureWidth));
        m_xml.writeAttribute(QStringLiteral("height"),
                             QString::number(qint64(pictureWidth) * area.height() / std::max(1, area.width())));
        m_xml.writeAttribute(QStringLiteral("font-family"), QStringLiteral("sans-serif"));
        m_xml.writeAttribute(QStringLiteral("font-size"), QString::number(m_font));
    }

    void finish()
    {
        m_xml.writeEndElement();
        m_xml.writeEndDocument();
    }

    void rect(const QRect &r, const QString &fill, const QString &stroke, const QString &dashes = QString(),
              double fillOpacity = 1.0)
    {
        m_xml.writeEmptyElement(QStringLiteral("rect"));
        m_xml.writeAttribute(QStringLiteral("x"), QString::number(r.x()));
        m_xml.writeAttribute(QStringLiteral("y"), QString::number(r.y()));
        m_xml.writeAttribute(QStringLiteral("width"), QString::number(r.width()));
        m_xml.writeAttribute(QStringLiteral("height"), QString::number(r.height()));
        m_xml.writeAttribute(QStringLiteral("fill"), fill);
        m_xml.writeAttribute(QStringLiteral("stroke"), stroke);
        m_xml.writeAttribute(QStringLiteral("stroke-width"), QString::number(std::max(2, m_font / 6)));
        if (!dashes.isEmpty())
            m_xml.writeAttribute(QStringLiteral("stroke-dasharray"), dashes);
        if (fillOpacity < 1.0)
            m_xml.writeAttribute(QStringLiteral("fill-opacity"), QString::number(fillOpacity));
    }

    // Labels stand inside the top left corner of what they name, one line below the other; a
    // negative line stands above it.
    void label(const QRect &r, int line, const QString &text, const QString &colour)
    {
        m_xml.writeStartElement(QStringLiteral("text"));
        m_xml.writeAttribute(QStringLiteral("x"), QString::number(r.x() + m_font / 2));
        m_xml.writeAttribute(QStringLiteral("y"), QString::number(r.y() + (line + 1) * m_font * 6 / 5 - (line < 0 ? m_font / 3 : 0)));
        m_xml.writeAttribute(QStringLiteral("fill"), colour);
        m_xml.writeCharacters(text);
        m_xml.writeEndElement();
    }

private:
    QXmlStreamWriter m_xml;
    int m_font;
};

QString describe(const QRect &r)
{
    return QStringLiteral("%1,%2 %3\u00d7%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

QByteArray geometryPicture(const QList<PlacedWindow> &windows)
{
    QByteArray svg;
    QRect area;
    for (const PlacedWindow &placed : windows)
        area = area.united(placed.screen).united(placed.window).united(placed.remembered);
    const int padding = std::max(20, area.width() / 40);
    area.adjust(-padding, -padding, padding, padding);

    Picture picture(&svg, area);
    for (const PlacedWindow &placed : windows) {
        const QRect &s = placed.screen;
        picture.rect(s, QStringLiteral("#eef1f5"), QStringLiteral("#5b6470"));
        picture.rect(QRect(s.left(), s.top(), sideMargin, s.height()), QStringLiteral("#f2b8b5"), QStringLiteral("none"));
        picture.rect(QRect(s.right() - sideMargin + 1, s.top(), sideMargin, s.height()), QStringLiteral("#f2b8b5"),
                     QStringLiteral("none"));
        picture.rect(QRect(s.left(), s.bottom() - bottomBand + 1, s.width(), bottomBand), QStringLiteral("#f2b8b5"),
                     QStringLiteral("none"));
        picture.label(QRect(s.left(), s.bottom() - bottomBand + 1, s.width(), bottomBand), -1,
                      QStringLiteral("bottom band %1 px, side margins %2 px").arg(bottomBand).arg(sideMargin),
                      QStringLiteral("#9b2c2c"));
        picture.label(s, 0, QStringLiteral("screen %1: %2").arg(placed.id).arg(describe(s)), QStringLiteral("#3c4450"));
    }
    for (const PlacedWindow &placed : windows) {
        if (!placed.remembered.isNull()) {
            picture.rect(placed.remembered, QStringLiteral("none"), QStringLiteral("#c05621"), QStringLiteral("24,12"));
            picture.label(placed.remembered, 0, QStringLiteral("remembered %1").arg(describe(placed.remembered)),
                          QStringLiteral("#c05621"));
        }
        picture.rect(placed.window, QStringLiteral("#2f855a"), QStringLiteral("#2f855a"), QString(), 0.2);
        picture.label(placed.window, placed.remembered.isNull() || placed.remembered.topLeft() != placed.window.topLeft() ? 0 : 1,
                      QStringLiteral("window on screen %1: %2").arg(placed.id).arg(describe(placed.window)),
                      QStringLiteral("#22543d"));
    }
    picture.finish();
    return svg;
}
