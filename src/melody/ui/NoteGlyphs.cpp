#include "melody/ui/NoteGlyphs.h"

#include "core/Messages.h"
#include "melody/NoteCode.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <optional>
#include <tuple>

namespace kr31::glyphs {

namespace {

// Heads sit where the score's offsets put the pitch: 21 units below the top
// of a stem-up cell, 6 below the top of a stem-down one.
constexpr qreal UpHeadY = 21;
constexpr qreal DownHeadY = 6;
constexpr qreal HeadX = 9;

struct NoteShape
{
    int eighths;   // 1 eighth, 2 quarter, 3 dotted quarter, 4 half
    bool sharp;
    bool stemUp;
};

std::optional<NoteShape> shapeOf(QChar letter)
{
    const QString up = QStringLiteral("dcba");
    const QString upSharp = QStringLiteral("mlkj");
    const QString down = QStringLiteral("4321");
    const QString downSharp = QStringLiteral("8765");
    for (const auto &[set, sharp, stemUp] : {std::tuple{up, false, true}, std::tuple{upSharp, true, true},
                                             std::tuple{down, false, false}, std::tuple{downSharp, true, false}}) {
        const int i = set.indexOf(letter);
        if (i >= 0)
            return NoteShape{i + 1, sharp, stemUp};
    }
    return std::nullopt;
}

// The head, tilted, around its centre in cell units.
QPainterPath headPath(const NoteShape &n)
{
    QPainterPath head;
    head.addEllipse(QPointF(0, 0), 4.3, 3.0);
    if (n.eighths == 4) {
        QPainterPath hole;
        hole.addEllipse(QPointF(0, 0), 3.0, 1.5);
        head = head.subtracted(hole);
    }
    QTransform place;
    place.translate(HeadX, n.stemUp ? UpHeadY : DownHeadY);
    place.rotate(-20);
    return place.map(head);
}

// The sharp sign before the head, as an outline to fill: it ends about two
// units left of the head (and of a stem-down note's stem) and reaches as far
// into the cell before, where the nearest head ends more than four units back.
QPainterPath sharpPath(const NoteShape &n)
{
    constexpr qreal Left = -2.4;
    const qreal y = n.stemUp ? UpHeadY : DownHeadY;
    const auto stroke = [](QPointF from, QPointF to, qreal width) {
        QPainterPath line(from);
        line.lineTo(to);
        QPainterPathStroker stroker;
        stroker.setWidth(width);
        stroker.setCapStyle(Qt::FlatCap);
        return stroker.createStroke(line);
    };
    QPainterPath sharp;
    sharp.setFillRule(Qt::WindingFill);
    sharp.addPath(stroke(QPointF(Left + 1.2, y - 5), QPointF(Left + 1.2, y + 5.5), 0.7));
    sharp.addPath(stroke(QPointF(Left + 3.4, y - 5.5), QPointF(Left + 3.4, y + 5), 0.7));
    sharp.addPath(stroke(QPointF(Left, y - 1.2), QPointF(Left + 4.6, y - 2.4), 1.4));
    sharp.addPath(stroke(QPointF(Left, y + 2.4), QPointF(Left + 4.6, y + 1.2), 1.4));
    return sharp;
}

void drawNote(QPainter &p, const NoteShape &n)
{
    const qreal headY = n.stemUp ? UpHeadY : DownHeadY;
    p.fillPath(headPath(n), p.pen().color());
    QPen pen = p.pen();
    pen.setWidthF(1.0);
    p.setPen(pen);
    const qreal stemX = n.stemUp ? HeadX + 3.9 : HeadX - 3.9;
    const qreal stemEnd = n.stemUp ? 0.5 : 27.5;
    p.drawLine(QPointF(stemX, headY), QPointF(stemX, stemEnd));
    if (n.eighths == 1) {
        QPainterPath flag;
        if (n.stemUp) {
            flag.moveTo(stemX, 0.5);
            flag.cubicTo(stemX + 0.5, 4.5, stemX + 5.5, 6, stemX + 4, 12.5);
            flag.cubicTo(stemX + 4.3, 8.5, stemX + 2, 6.8, stemX, 5.5);
        } else {
            flag.moveTo(stemX, 27.5);
            flag.cubicTo(stemX + 0.5, 23.5, stemX + 5.5, 22, stemX + 4, 15.5);
            flag.cubicTo(stemX + 4.3, 19.5, stemX + 2, 21.2, stemX, 22.5);
        }
        p.fillPath(flag, pen.color());
    }
    if (n.eighths == 3) {
        p.setBrush(pen.color());
        p.drawEllipse(QPointF(15.8, headY - 1.5), 1.1, 1.1);
        p.setBrush(Qt::NoBrush);
    }
    if (n.sharp)
        p.fillPath(sharpPath(n), pen.color());
}

// Rests: the cell's top is half a step above the staff, whose middle line
// is then at 15 units.
void drawRest(QPainter &p, QChar letter)
{
    const QColor ink = p.pen().color();
    QPen pen = p.pen();
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (letter == u'i') {
        p.fillRect(QRectF(5, 12, 8, 3), ink);
        return;
    }
    if (letter == u'f') {
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(7.5, 10.5), 1.6, 1.6);
        pen.setWidthF(1.1);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath hook;
        hook.moveTo(7.5, 12);
        hook.quadTo(10, 13, 12.2, 10);
        hook.lineTo(8.8, 22);
        p.drawPath(hook);
        return;
    }
    // Quarter rest (g), dotted (h).
    pen.setWidthF(1.7);
    p.setPen(pen);
    QPainterPath zigzag;
    zigzag.moveTo(7.5, 4.5);
    zigzag.lineTo(11, 9);
    zigzag.lineTo(7.8, 13.5);
    zigzag.lineTo(11, 18.5);
    zigzag.quadTo(6.5, 17.5, 8.5, 23.5);
    p.drawPath(zigzag);
    if (letter == u'h') {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(14.5, 11), 1.1, 1.1);
        p.setBrush(Qt::NoBrush);
    }
}

// The G clef around the second line from the bottom (18 units below the cell's top).
void drawClef(QPainter &p)
{
    QPen pen = p.pen();
    pen.setWidthF(1.4);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    QPainterPath clef;
    clef.moveTo(6.0, 30.5);
    clef.cubicTo(6.5, 34, 11.5, 34, 11, 28);
    clef.lineTo(9.2, -2);
    clef.cubicTo(9.0, -6.5, 13.5, -6.5, 13, -1.5);
    clef.cubicTo(12.5, 4, 3, 8.5, 3, 17);
    clef.cubicTo(3, 24.5, 14, 25, 14.5, 18.5);
    clef.cubicTo(15, 13, 7.5, 12, 7.5, 17.5);
    clef.cubicTo(7.5, 19.5, 9, 20.5, 10, 20.5);
    p.drawPath(clef);
    p.setPen(Qt::NoPen);
    p.setBrush(pen.color());
    p.drawEllipse(QPointF(6.6, 30.6), 1.7, 1.7);
    p.setBrush(Qt::NoBrush);
}

// From cell units to the painter's coordinates of cell.
QTransform toCell(const QRectF &cell)
{
    const qreal unit = cell.width() / limits::EighthUnit;
    return QTransform::fromTranslate(cell.left(), cell.top()).scale(unit, unit);
}

} // namespace

void draw(QPainter &painter, QChar letter, const QRectF &cell, const QColor &ink)
{
    const qreal unit = cell.width() / limits::EighthUnit;
    const QString label = note::labelText(letter);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (!label.isEmpty()) {
        // Pitch names are text at the foot of the cell, under the lowest
        // ledger line; "ファ#" may need a little more than the cell's width.
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(qMax(1, qRound(9 * unit)));
        painter.setFont(font);
        painter.setPen(ink);
        const qreal spill = 6 * unit;
        painter.drawText(cell.adjusted(-spill, 18 * unit, spill, 0), Qt::AlignHCenter | Qt::AlignTop, label);
        painter.restore();
        return;
    }
    painter.setTransform(toCell(cell), true);
    painter.setPen(QPen(ink, 1.0));
    painter.setBrush(Qt::NoBrush);
    if (letter == note::ClefGlyph)
        drawClef(painter);
    else if (const auto shape = shapeOf(letter))
        drawNote(painter, *shape);
    else if (QStringLiteral("fghi").contains(letter))
        drawRest(painter, letter);
    painter.restore();
}

QRectF headBounds(QChar letter, const QRectF &cell)
{
    const auto shape = shapeOf(letter);
    return shape ? toCell(cell).map(headPath(*shape)).boundingRect() : QRectF();
}

QRectF sharpBounds(QChar letter, const QRectF &cell)
{
    const auto shape = shapeOf(letter);
    return shape && shape->sharp ? toCell(cell).map(sharpPath(*shape)).boundingRect() : QRectF();
}

void paint(QPainter &painter, const score::Layout &layout, int scale)
{
    painter.save();
    painter.setPen(QPen(Qt::black, qMax(1, scale)));
    painter.drawLines(layout.lines);
    painter.restore();
    for (const score::Glyph &g : layout.glyphs)
        draw(painter, g.letter, QRectF(g.cell));
}

} // namespace kr31::glyphs
