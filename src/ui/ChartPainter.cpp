#include "ui/ChartPainter.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kr31 {

namespace {

QRectF rectOf(const chart::Edges &e)
{
    return QRectF(e.left, e.top, e.right - e.left, e.bottom - e.top);
}

QPolygonF polygonOf(const QList<QPoint> &points)
{
    QPolygonF polygon;
    for (const QPoint &p : points)
        polygon.append(QPointF(p));
    return polygon;
}

// margin: the room kept free on each side of the text.
void drawCentred(QPainter &painter, const QRectF &box, const QString &text, const QFont &base, qreal margin = 0)
{
    if (text.isEmpty())
        return;
    QFont font = base;
    const qreal room = box.width() - 2 * margin;
    const qreal wide = QFontMetricsF(font).horizontalAdvance(text);
    if (wide > room && room > 0)
        font.setPixelSize(qMax(1, int(font.pixelSize() * qMax(0.6, room / wide))));
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
}

} // namespace

QFont chartScreenFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    return font;
}

QFont chartPaperFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")});
    return font;
}

void paintChartShapes(QPainter &painter, const chart::Shapes &shapes, int u, QFont font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int penWidth = qMax(1, chart::scaled(u, 1, 50));
    if (penWidth == 1)
        painter.translate(0.5, 0.5); // a one-pixel line on whole coordinates stays sharp
    const QPen pen(Qt::black, penWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    font.setPixelSize(qMax(1, chart::scaled(u, 24, 100)));
    // A tenth of a unit between a box's text and its sides (5 pixels on screen).
    const qreal inner = penWidth + chart::scaled(u, 1, 10);
    painter.setPen(pen);
    for (const chart::Shape &s : shapes) {
        switch (s.kind) {
        case chart::Shape::Terminal:
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(rectOf(s.box), s.corner / 2.0, s.corner / 2.0);
            drawCentred(painter, rectOf(s.box), s.text, font, inner);
            break;
        case chart::Shape::Box:
            painter.setBrush(Qt::white);
            painter.drawRect(rectOf(s.box));
            drawCentred(painter, rectOf(s.box), s.text, font, inner);
            break;
        case chart::Shape::Diamond:
            painter.setBrush(Qt::white);
            painter.drawPolygon(polygonOf(s.points));
            break;
        case chart::Shape::Label:
            drawCentred(painter, rectOf(s.box), s.text, font);
            break;
        case chart::Shape::Line:
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(polygonOf(s.points));
            break;
        case chart::Shape::Arrowhead:
            painter.setBrush(Qt::black);
            painter.drawPolygon(polygonOf(s.points));
            break;
        }
    }
    painter.restore();
}

} // namespace kr31
