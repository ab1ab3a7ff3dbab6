#include "ArtShapes.h"

#include <QPainterPath>
#include <QtMath>

// The glyphs of the picture buttons.
namespace kr31::art {

void drawGlyph(QPainter& p, Glyph g, const QRectF& r)
{
    inUnits(p, r, 24, [&] {
        const qreal w = 1.6;  // outline width in units
        QPainterPath path;
        switch (g) {
        case Glyph::None:
            return;
        case Glyph::Open: {
            QPainterPath back = closedPath({{3, 6}, {9, 6}, {11, 8}, {20, 8}, {20, 19}, {3, 19}});
            inkPath(p, back, QColor(0xFF, 0xCA, 0x28), w);
            path.moveTo(6, 11);
            path.lineTo(23, 11);
            path.lineTo(20, 19);
            path.lineTo(3, 19);
            path.closeSubpath();
            inkPath(p, path, QColor(0xFF, 0xE0, 0x82), w);
            return;
        }
        case Glyph::Save: {
            path.addRoundedRect(QRectF(3, 3, 18, 18), 2.5, 2.5);
            inkPath(p, path, QColor(0x42, 0xA5, 0xF5), w);
            QPainterPath label;
            label.addRect(QRectF(6.5, 3, 11, 7));
            inkPath(p, label, Qt::white, w * 0.8);
            QPainterPath slot;
            slot.addRect(QRectF(7, 14, 10, 7));
            inkPath(p, slot, QColor(0xE3, 0xF2, 0xFD), w * 0.8);
            return;
        }
        case Glyph::Chart:
            drawFlowMini(p, QPointF(12, 11), 10);
            return;
        case Glyph::Report: {
            path.addRoundedRect(QRectF(5, 2.5, 14, 19), 2, 2);
            inkPath(p, path, Qt::white, w);
            p.setPen(QPen(QColor(0x4C, 0xAF, 0x50), 1.6, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(8, 7 + i * 3.6), QPointF(16 - (i == 3 ? 3 : 0), 7 + i * 3.6));
            return;
        }
        case Glyph::Trash: {
            path.moveTo(5, 7);
            path.lineTo(19, 7);
            path.lineTo(17.5, 21.5);
            path.lineTo(6.5, 21.5);
            path.closeSubpath();
            inkPath(p, path, QColor(0xCF, 0xD8, 0xDC), w);
            QPainterPath lid;
            lid.addRoundedRect(QRectF(3.5, 4, 17, 3.5), 1.5, 1.5);
            lid.addRoundedRect(QRectF(9.5, 2, 5, 3), 1, 1);
            inkPath(p, lid.simplified(), QColor(0x90, 0xA4, 0xAE), w);
            p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
            for (qreal x : {9.5, 12.0, 14.5})
                p.drawLine(QPointF(x, 10), QPointF(x, 19));
            return;
        }
        case Glyph::Send: {
            // a paper plane
            path.moveTo(2, 11);
            path.lineTo(22, 3);
            path.lineTo(16, 21);
            path.lineTo(11.5, 14.5);
            path.closeSubpath();
            inkPath(p, path, Qt::white, w);
            p.setPen(QPen(kInk, 1.3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(11.5, 14.5), QPointF(22, 3));
            return;
        }
        case Glyph::Play:
            path.moveTo(7, 4);
            path.lineTo(20, 12);
            path.lineTo(7, 20);
            path.closeSubpath();
            inkPath(p, path, Qt::white, w);
            return;
        case Glyph::Home:
            path.moveTo(12, 2.5);
            path.lineTo(22, 11);
            path.lineTo(19, 11);
            path.lineTo(19, 21);
            path.lineTo(5, 21);
            path.lineTo(5, 11);
            path.lineTo(2, 11);
            path.closeSubpath();
            inkPath(p, path, Qt::white, w);
            {
                QPainterPath door;
                door.addRoundedRect(QRectF(10, 14, 4.5, 7), 1, 1);
                inkPath(p, door, QColor(0xFF, 0xB7, 0x4D), w * 0.7);
            }
            return;
        case Glyph::Help:
            path.addEllipse(QPointF(12, 12), 10, 10);
            inkPath(p, path, Qt::white, w);
            drawLabel(p, QRectF(2, 1.5, 20, 21), QStringLiteral("?"), 17, QColor(0x7E, 0x57, 0xC2));
            return;
        case Glyph::Close:
        case Glyph::Cross: {
            QPainterPathStroker st;
            st.setWidth(5);
            st.setCapStyle(Qt::RoundCap);
            QPainterPath x;
            x.moveTo(5, 5);
            x.lineTo(19, 19);
            x.moveTo(19, 5);
            x.lineTo(5, 19);
            inkPath(p, st.createStroke(x).simplified(), Qt::white, w);
            return;
        }
        case Glyph::Check: {
            QPainterPathStroker st;
            st.setWidth(5);
            st.setCapStyle(Qt::RoundCap);
            st.setJoinStyle(Qt::RoundJoin);
            QPainterPath c;
            c.moveTo(4, 12.5);
            c.lineTo(9.5, 18);
            c.lineTo(20, 6);
            inkPath(p, st.createStroke(c).simplified(), Qt::white, w);
            return;
        }
        case Glyph::Back:
        case Glyph::Next: {
            QPainterPath a = closedPath({{3, 9}, {12, 9}, {12, 4}, {21.5, 12}, {12, 20}, {12, 15}, {3, 15}});
            if (g == Glyph::Back)
                a = QTransform(-1, 0, 0, 1, 24, 0).map(a);
            inkPath(p, a, Qt::white, w);
            return;
        }
        case Glyph::Circle: {
            QPainterPath ring;
            ring.addEllipse(QPointF(12, 12), 9.5, 9.5);
            ring.addEllipse(QPointF(12, 12), 5, 5);
            inkPath(p, ring, Qt::white, w);
            return;
        }
        case Glyph::Flag: {
            QPainterPath pole;
            pole.addRoundedRect(QRectF(4, 2, 2.5, 20), 1, 1);
            inkPath(p, pole, QColor(0x8D, 0x6E, 0x63), w * 0.7);
            path.moveTo(6.5, 3);
            path.cubicTo(11, 1, 14, 6, 21, 4);
            path.lineTo(21, 13);
            path.cubicTo(14, 15, 11, 10, 6.5, 12);
            path.closeSubpath();
            inkPath(p, path, Qt::white, w);
            return;
        }
        case Glyph::Note:
            drawNotePair(p, QPointF(11.5, 12), 9.5, Qt::white);
            return;
        case Glyph::Refresh: {
            QPainterPath arc;
            arc.arcMoveTo(QRectF(4, 4, 16, 16), 60);
            arc.arcTo(QRectF(4, 4, 16, 16), 60, 260);
            drawArrow(p, arc, Qt::white, 3.2);
            return;
        }
        case Glyph::Hand:
            drawFinger(p, QPointF(10, 22), 4.6);
            return;
        case Glyph::Printer: {
            QPainterPath paper;
            paper.addRect(QRectF(7, 2.5, 10, 8));
            inkPath(p, paper, Qt::white, w * 0.8);
            path.addRoundedRect(QRectF(2.5, 9, 19, 9), 2, 2);
            inkPath(p, path, QColor(0x90, 0xA4, 0xAE), w);
            QPainterPath out;
            out.addRect(QRectF(6.5, 15, 11, 7));
            inkPath(p, out, Qt::white, w * 0.8);
            p.setPen(QPen(kInk, 1));
            p.drawLine(QPointF(8.5, 18), QPointF(15.5, 18));
            return;
        }
        case Glyph::Magnifier: {
            QPainterPathStroker st;
            st.setWidth(4.5);
            st.setCapStyle(Qt::RoundCap);
            QPainterPath h;
            h.moveTo(14.5, 14.5);
            h.lineTo(21, 21);
            inkPath(p, st.createStroke(h), QColor(0x8D, 0x6E, 0x63), w);
            path.addEllipse(QPointF(10, 10), 7, 7);
            inkPath(p, path, QColor(0xE1, 0xF5, 0xFE), w * 1.3);
            return;
        }
        case Glyph::Plus: {
            path.addRoundedRect(QRectF(9, 3, 6, 18), 2, 2);
            path.addRoundedRect(QRectF(3, 9, 18, 6), 2, 2);
            inkPath(p, path.simplified(), Qt::white, w);
            return;
        }
        case Glyph::Memory: {
            path.addRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
            p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 3; ++i) {
                const qreal t = 8 + i * 4;
                p.drawLine(QPointF(t, 2), QPointF(t, 5));
                p.drawLine(QPointF(t, 19), QPointF(t, 22));
                p.drawLine(QPointF(2, t), QPointF(5, t));
                p.drawLine(QPointF(19, t), QPointF(22, t));
            }
            inkPath(p, path, QColor(0x60, 0x7D, 0x8B), w);
            drawLabel(p, QRectF(5, 5, 14, 14), QStringLiteral("47"), 7.5, Qt::white);
            return;
        }
        case Glyph::Link: {
            drawBulb(p, QPointF(15, 9), 5.5, 1, false);
            drawNotePair(p, QPointF(7, 14), 5.5, Qt::white);
            return;
        }
        case Glyph::Speaker:
            drawSpeaker(p, QPointF(9, 12), 6.5, Qt::white);
            drawSoundWaves(p, QPointF(12, 12), 2, 4.5, 1.8, Qt::white);
            return;
        case Glyph::Bulb:
            drawBulb(p, QPointF(12, 9), 7, 1, false);
            return;
        case Glyph::Wand: {
            QPainterPathStroker st;
            st.setWidth(3.2);
            st.setCapStyle(Qt::RoundCap);
            QPainterPath s;
            s.moveTo(3, 21);
            s.lineTo(14, 10);
            inkPath(p, st.createStroke(s), QColor(0x5D, 0x40, 0x37), w * 0.8);
            drawStar(p, QPointF(16, 8), 7, QColor(0xFF, 0xEB, 0x3B));
            return;
        }
        case Glyph::Gear: {
            for (int i = 0; i < 8; ++i) {
                QPainterPath tooth;
                tooth.addRoundedRect(QRectF(10, 1.5, 4, 5), 1, 1);
                path.addPath(QTransform().translate(12, 12).rotate(45 * i).translate(-12, -12).map(tooth));
            }
            path.addEllipse(QPointF(12, 12), 8, 8);
            path = path.simplified();
            QPainterPath hole;
            hole.addEllipse(QPointF(12, 12), 3.2, 3.2);
            inkPath(p, path.subtracted(hole), Qt::white, w);
            return;
        }
        }
    });
}

}  // namespace kr31::art
