#include "ArtShapes.h"

#include <QPainterPath>
#include <QtMath>

// The drawings of the LED commands and the illustrations of the menu and the wizard.
namespace kr31::art {

void drawCommand(QPainter& p, Cmd cmd, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    inUnits(p, r, 100, [&] {
        switch (cmd) {
        case Cmd::None:
        case Cmd::Empty:
            return;
        case Cmd::On:
            drawBulb(p, QPointF(50, 42), 23, 1.0, true);
            return;
        case Cmd::Off: {
            drawBulb(p, QPointF(46, 40), 23, 0.0, false);
            // a sleepy moon: the lamp is off
            QPainterPath moon;
            moon.addEllipse(QPointF(80, 18), 13, 13);
            QPainterPath bite;
            bite.addEllipse(QPointF(87, 13), 11, 11);
            inkPath(p, moon.subtracted(bite), QColor(0xFF, 0xF1, 0x76), 2.4);
            drawLabel(p, QRectF(6, 4, 26, 24), QStringLiteral("z"), 20, Qt::white, kInk, 2);
            drawLabel(p, QRectF(16, -6, 26, 24), QStringLiteral("z"), 14, Qt::white, kInk, 1.6);
            return;
        }
        case Cmd::Light: {
            drawBulb(p, QPointF(50, 34), 19, 0.65, true);
            // a brightness slider under the bulb
            QPainterPath track;
            track.addRoundedRect(QRectF(12, 80, 76, 11), 5.5, 5.5);
            inkPath(p, track, Qt::white, 2.4);
            QPainterPath fill;
            fill.addRoundedRect(QRectF(12, 80, 48, 11), 5.5, 5.5);
            QLinearGradient g(QPointF(12, 0), QPointF(60, 0));
            g.setColorAt(0, QColor(0x50, 0x50, 0x50));
            g.setColorAt(1, QColor(0xFF, 0xEB, 0x3B));
            inkPath(p, fill, g, 2.4);
            QPainterPath knob;
            knob.addEllipse(QPointF(60, 85.5), 9, 9);
            inkPath(p, knob, Qt::white, 2.6);
            return;
        }
        case Cmd::FadeIn:
        case Cmd::FadeOut: {
            const bool in = cmd == Cmd::FadeIn;
            const qreal levels[] = {0.0, 0.5, 1.0};
            for (int i = 0; i < 3; ++i) {
                const qreal lv = in ? levels[i] : levels[2 - i];
                drawBulb(p, QPointF(19 + i * 31, 42 - (in ? i : 2 - i) * 4), 11.5, lv, lv > 0.9);
            }
            QPainterPath a;
            a.moveTo(in ? 12 : 12, in ? 90 : 74);
            a.cubicTo(40, in ? 90 : 74, 60, in ? 86 : 80, in ? 82 : 82, in ? 74 : 90);
            drawArrow(p, a, in ? QColor(0xFF, 0xEB, 0x3B) : QColor(0x90, 0xCA, 0xF9), 7);
            return;
        }
        case Cmd::Time:
            drawClock(p, QPointF(50, 52), 32);
            return;
        case Cmd::Repeat: {
            QPainterPath a1, a2;
            const QRectF circle(18, 18, 64, 64);
            a1.arcMoveTo(circle, 200);
            a1.arcTo(circle, 200, 140);
            a2.arcMoveTo(circle, 20);
            a2.arcTo(circle, 20, 140);
            drawArrow(p, a1, Qt::white, 10);
            drawArrow(p, a2, Qt::white, 10);
            drawLabel(p, QRectF(30, 32, 40, 36), QStringLiteral("×2"), 24, QColor(0xFF, 0xEB, 0x3B), kInk, 2.6);
            return;
        }
        case Cmd::Touch: {
            QPainterPath pad;
            pad.addRoundedRect(QRectF(14, 74, 72, 18), 8, 8);
            inkPath(p, pad, QColor(0xEC, 0xEF, 0xF1), 2.6);
            drawRipples(p, QPointF(50, 74), 16, Qt::white);
            drawFinger(p, QPointF(50, 74), 14);
            return;
        }
        case Cmd::TouchFadeIn:
        case Cmd::TouchFadeOut: {
            const bool in = cmd == Cmd::TouchFadeIn;
            QPainterPath pad;
            pad.addRoundedRect(QRectF(4, 78, 48, 14), 6, 6);
            inkPath(p, pad, QColor(0xEC, 0xEF, 0xF1), 2.4);
            drawRipples(p, QPointF(28, 78), 11, Qt::white);
            drawFinger(p, QPointF(28, 78), 10.5);
            drawBulb(p, QPointF(72, 34), 17, in ? 1.0 : 0.15, in);
            QPainterPath a;
            a.moveTo(90, in ? 88 : 62);
            a.lineTo(90, in ? 60 : 90);
            drawArrow(p, a, in ? QColor(0xFF, 0xEB, 0x3B) : QColor(0x90, 0xCA, 0xF9), 7);
            return;
        }
        case Cmd::Beep:
            drawSpeaker(p, QPointF(38, 55), 24, QColor(0xFF, 0xF3, 0xE0));
            drawSoundWaves(p, QPointF(48, 55), 3, 12, 5, Qt::white);
            drawLabel(p, QRectF(50, 2, 48, 28), QString::fromUtf8("ピッ"), 22, QColor(0xFF, 0xEB, 0x3B), kInk, 2.4);
            return;
        case Cmd::Stop: {
            QPainterPath oct;
            for (int i = 0; i < 8; ++i) {
                const qreal a = qDegreesToRadians(22.5 + 45.0 * i);
                const QPointF pt(50 + qCos(a) * 42, 50 + qSin(a) * 42);
                if (i == 0)
                    oct.moveTo(pt);
                else
                    oct.lineTo(pt);
            }
            oct.closeSubpath();
            inkPath(p, oct, Qt::white, 3);
            const QPainterPath inner = QTransform().translate(50, 50).scale(0.84, 0.84).translate(-50, -50).map(oct);
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xD3, 0x2F, 0x2F));
            p.drawPath(inner);
            p.restore();
            drawLabel(p, QRectF(14, 30, 72, 40), QStringLiteral("STOP"), 27, Qt::white);
            return;
        }
        }
    });
    p.restore();
}

void drawIllustration(QPainter& p, int id, const QRectF& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    inUnits(p, r, 100, [&] {
        switch (id) {
        case 1: {  // icon programming: command tiles and a pointer dragging one
            const QColor cs[] = {QColor(0xFF, 0xB3, 0x00), QColor(0x4C, 0xB8, 0x50), QColor(0x29, 0xA0, 0xE6),
                                 QColor(0xEC, 0x40, 0x7A)};
            const Cmd cmds[] = {Cmd::On, Cmd::FadeIn, Cmd::Time, Cmd::Touch};
            for (int i = 0; i < 4; ++i) {
                const QRectF t(8 + (i % 2) * 44, 8 + (i / 2) * 44, 40, 40);
                QPainterPath tile;
                tile.addRoundedRect(t, 9, 9);
                inkPath(p, tile, verticalGradient(t, cs[i]), 2.5);
                drawCommand(p, cmds[i], t.adjusted(4, 4, -4, -4));
            }
            QPainterPath arrow = closedPath({{62, 58}, {62, 92}, {70, 84}, {76, 97}, {82, 94}, {76, 81}, {87, 81}});
            inkPath(p, arrow, Qt::white, 2.8);
            return;
        }
        case 2:  // flowchart
            drawFlowMini(p, QPointF(50, 48), 44);
            return;
        case 3: {  // text programming: a sheet of code and keys
            QPainterPath sheet;
            sheet.addRoundedRect(QRectF(14, 4, 72, 58), 7, 7);
            inkPath(p, sheet, Qt::white, 2.6);
            drawLabel(p, QRectF(18, 8, 64, 16), QStringLiteral("ON();"), 14, QColor(0xE6, 0x51, 0x00), {}, 0,
                      Qt::AlignLeft | Qt::AlignVCenter);
            drawLabel(p, QRectF(18, 24, 64, 16), QStringLiteral("Timer(3);"), 14, QColor(0x15, 0x65, 0xC0), {}, 0,
                      Qt::AlignLeft | Qt::AlignVCenter);
            drawLabel(p, QRectF(18, 40, 64, 16), QStringLiteral("OFF();"), 14, QColor(0x6A, 0x1B, 0x9A), {}, 0,
                      Qt::AlignLeft | Qt::AlignVCenter);
            const char* keys[] = {"A", "あ", "1"};
            for (int i = 0; i < 3; ++i) {
                const QRectF k(8 + i * 29, 68, 26, 26);
                QPainterPath key;
                key.addRoundedRect(k, 6, 6);
                inkPath(p, key, verticalGradient(k, QColor(0xEC, 0xEF, 0xF1), 105, 115), 2.4);
                drawLabel(p, k, QString::fromUtf8(keys[i]), 16, kInk);
            }
            return;
        }
        case 4: {  // melody: staff and notes
            p.setPen(QPen(QColor(255, 255, 255, 220), 2));
            for (int i = 0; i < 5; ++i)
                p.drawLine(QPointF(4, 30 + i * 10), QPointF(96, 30 + i * 10));
            drawNotePair(p, QPointF(46, 48), 32, QColor(0xFF, 0xF5, 0x9D));
            return;
        }
        case 5: {  // live brightness: a bulb and a slider
            drawBulb(p, QPointF(50, 32), 20, 0.8, true);
            QPainterPath track;
            track.addRoundedRect(QRectF(10, 82, 80, 10), 5, 5);
            inkPath(p, track, Qt::white, 2.4);
            QPainterPath knob;
            knob.addRoundedRect(QRectF(58, 74, 14, 26), 5, 5);
            inkPath(p, knob, QColor(0xFF, 0xB3, 0x00), 2.4);
            return;
        }
        case 6:  // alarm sound: a ringing clock
            drawClock(p, QPointF(42, 54), 30);
            drawSoundWaves(p, QPointF(62, 40), 2, 14, 5, Qt::white);
            return;
        // wizard pages
        case 100:
            drawLamp(p, QPointF(50, 56), 34, 1);
            drawStar(p, QPointF(14, 16), 10, QColor(0xFF, 0xEB, 0x3B));
            drawStar(p, QPointF(88, 22), 7, QColor(0xFF, 0xEB, 0x3B));
            return;
        case 101: {
            drawPc(p, QPointF(26, 36), 22);
            drawLamp(p, QPointF(76, 72), 17, 0);
            QPainterPath cable;
            cable.moveTo(40, 54);
            cable.cubicTo(44, 92, 60, 96, 62, 82);
            p.setPen(QPen(kInk, 5.5, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawPath(cable);
            p.setPen(QPen(QColor(0x66, 0xBB, 0x6A), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(cable);
            return;
        }
        case 102:
            drawLamp(p, QPointF(50, 64), 30, 0);
            drawPowerSymbol(p, QPointF(50, 22), 13, QColor(0x66, 0xBB, 0x6A));
            return;
        case 103:
            drawPc(p, QPointF(28, 50), 24);
            drawSoundWaves(p, QPointF(50, 50), 3, 9, 3.5, QColor(0xFF, 0xB3, 0x00));
            drawNotePair(p, QPointF(82, 46), 12, QColor(0xF4, 0x8F, 0xB1));
            return;
        case 104:
            drawLamp(p, QPointF(40, 64), 26, 0.6);
            drawLabel(p, QRectF(62, 8, 36, 50), QString::fromUtf8("？"), 44, QColor(0xFF, 0x98, 0x2E), kInk, 2.5);
            return;
        case 105:
            drawLamp(p, QPointF(50, 64), 28, 1);
            drawNotePair(p, QPointF(22, 20), 12, QColor(0xF4, 0x8F, 0xB1));
            drawNotePair(p, QPointF(80, 18), 10, QColor(0x90, 0xCA, 0xF9));
            return;
        case 106:
            drawLamp(p, QPointF(50, 64), 30, 0);
            drawPowerSymbol(p, QPointF(50, 22), 13, QColor(0xE5, 0x39, 0x35));
            return;
        case 107:
            drawStar(p, QPointF(50, 48), 40, QColor(0xFF, 0xEB, 0x3B));
            drawStar(p, QPointF(12, 14), 8, QColor(0xFF, 0xB7, 0x4D));
            drawStar(p, QPointF(90, 84), 8, QColor(0xF4, 0x8F, 0xB1));
            return;
        case 108:  // choosing a mode by hand: four round choices, one picked
            for (int i = 0; i < 4; ++i) {
                const QRectF row(12, 6 + i * 23, 76, 20);
                QPainterPath dot;
                dot.addEllipse(QPointF(row.left() + 10, row.center().y()), 8, 8);
                inkPath(p, dot, Qt::white, 2);
                if (i == 2) {
                    QPainterPath pick;
                    pick.addEllipse(QPointF(row.left() + 10, row.center().y()), 4.5, 4.5);
                    inkPath(p, pick, QColor(0xFF, 0x98, 0x2E), 0);
                }
                drawLabel(p, QRectF(row.left() + 24, row.top(), 50, row.height()), QString::fromUtf8("モード %1").arg(i), 14,
                          i == 2 ? QColor(0xE6, 0x51, 0x00) : kInk, {}, 0, Qt::AlignLeft | Qt::AlignVCenter);
            }
            return;
        default:
            return;
        }
    });
    p.restore();
}

}  // namespace kr31::art
