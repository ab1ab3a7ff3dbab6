// The painters of the smaller pictures: page tabs and titles, piano keys,
// staff names, panels, the splash and the program's icon.
#include "ArtRenderParts.h"

#include <QtMath>

#include <algorithm>

namespace kr31::art::parts {

void paintPageTab(QPainter& p, const Entry& e)
{
    p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
    const QRectF r(1, 1, e.size.width() - 2, e.size.height() - 2);
    inkPath(p, rounded(r, 8), verticalGradient(r, e.colour, 135, 108), 1.6);
    const QRectF num(r.left() + 3, r.top() + 2.5, r.height() - 5, r.height() - 5);
    QPainterPath disc;
    disc.addEllipse(num);
    inkPath(p, disc, Qt::white, 1.2);
    drawLabel(p, num, QString::number(e.style), 13, e.colour.darker(140));
    drawLabel(p, r.adjusted(r.height() + 2, 1, -6, -1), e.label, 15, Qt::white, kInk, 1.8);
}

void paintPageTitle(QPainter& p, const Entry& e)
{
    fillUnder(p, e, Qt::white);
    const QRectF r(1, 1, e.size.width() - 2, e.size.height() - 2);
    QPainterPath ribbon;
    ribbon.moveTo(r.left(), r.top());
    ribbon.lineTo(r.right(), r.top());
    ribbon.lineTo(r.right() - 8, r.center().y());
    ribbon.lineTo(r.right(), r.bottom());
    ribbon.lineTo(r.left(), r.bottom());
    ribbon.lineTo(r.left() + 8, r.center().y());
    ribbon.closeSubpath();
    inkPath(p, ribbon, verticalGradient(r, e.colour, 125, 110), 1.6);
    drawLabel(p, r.adjusted(10, 1, -10, -1), e.label, 15, Qt::white, kInk, 1.8);
}

void paintPianoKey(QPainter& p, const Entry& e, bool pressed)
{
    const QRectF r(0, 0, e.size.width(), e.size.height());
    const bool black = e.style == 1;
    p.fillRect(r, black ? QColor(0x30, 0x2A, 0x34) : QColor(0xD0, 0xD4, 0xDA));
    const QRectF key = r.adjusted(1, 0, -1, pressed ? -1 : -3);
    QLinearGradient g(key.topLeft(), key.bottomLeft());
    if (black) {
        g.setColorAt(0, pressed ? QColor(0x3E, 0x4A, 0x6E) : QColor(0x20, 0x1C, 0x24));
        g.setColorAt(1, pressed ? QColor(0x58, 0x6C, 0xA8) : QColor(0x4A, 0x44, 0x50));
    } else {
        g.setColorAt(0, pressed ? QColor(0xC8, 0xE6, 0xFF) : Qt::white);
        g.setColorAt(0.85, pressed ? QColor(0x9C, 0xD2, 0xFF) : QColor(0xF7, 0xF7, 0xF9));
        g.setColorAt(1, pressed ? QColor(0x7A, 0xBD, 0xF5) : QColor(0xE2, 0xE5, 0xEA));
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(black ? QColor(0x10, 0x0C, 0x12) : QColor(0x90, 0x98, 0xA4), 1));
    p.setBrush(g);
    p.drawRoundedRect(key, 3, 3);
    p.setPen(Qt::NoPen);
    // A white key's foot stays plain: the keyboard writes the pitch name and the computer key there.
    if (black) {
        p.setBrush(QColor(255, 255, 255, pressed ? 40 : 70));
        p.drawRoundedRect(QRectF(key.left() + 3, key.top() + 2, key.width() - 6, key.height() * 0.55), 2, 2);
    }
    p.restore();
}

void paintStaffName(QPainter& p, const Entry& e)
{
    p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
    const QRectF r(1, 1, e.size.width() - 2, e.size.height() - 2);
    inkPath(p, rounded(r, r.height() / 2), verticalGradient(r, e.colour), 1.6);
    drawLabel(p, r.adjusted(4, 1, -4, -1), e.label, 14, Qt::white, kInk, 1.6);
}

// Dialog backgrounds and illustrated panels (Entry::style).
void paintPanel(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    const QRectF all(0, 0, w, h);
    switch (e.style) {
    case 1: {  // flowchart command dialog: coloured column left, captions for the labels on the right
        drawBody(p, all, e.colour);
        const QRectF col(0, 0, 196, h);
        p.fillRect(col, verticalGradient(col, e.colour, 130, 110));
        drawDots(p, col, QColor(255, 255, 255), 5);
        drawLabel(p, QRectF(10, 24, 176, 70), e.label, 26, Qt::white, kInk, 2.6);
        drawGlyph(p, e.path.endsWith(u"Insert") ? Glyph::Plus : Glyph::Refresh, QRectF(48, 110, 100, 100));
        const char* caps[] = {"めいれい", "あたい１", "あたい２"};
        for (int i = 0; i < 3; ++i)
            drawLabel(p, QRectF(200, 22 + 24 * i, 92, 22), QString::fromUtf8(caps[i]), 17, e.colour.darker(150), {}, 0,
                      Qt::AlignRight | Qt::AlignVCenter);
        drawFrame(p, QRectF(200, 118, 294, 104), QString::fromUtf8("めいれいと あたいを えらぶ"), e.colour);
        break;
    }
    case 2: {  // note picker
        drawBody(p, all.adjusted(0, 44, 0, 0), e.colour);
        const QRectF band(0, 0, w, 44);
        p.fillRect(band, verticalGradient(band, e.colour, 130, 110));
        drawGlyph(p, Glyph::Note, QRectF(10, 6, 32, 32));
        drawLabel(p, QRectF(48, 4, 320, 36), e.label, 22, Qt::white, kInk, 2.4, Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    case 3: {  // melody print dialog: captions for the four boxes
        drawBody(p, all.adjusted(0, 44, 0, 0), e.colour);
        const QRectF band(0, 0, w, 44);
        p.fillRect(band, verticalGradient(band, e.colour, 130, 110));
        drawGlyph(p, Glyph::Printer, QRectF(10, 6, 32, 32));
        drawLabel(p, QRectF(48, 4, 320, 36), e.label, 22, Qt::white, kInk, 2.4, Qt::AlignLeft | Qt::AlignVCenter);
        const QColor ink = e.colour.darker(160);
        // boxes: grade 30..80, class 124..174, name 292..660 at y 60; title 114..660 at y 104
        drawLabel(p, QRectF(82, 58, 36, 28), QString::fromUtf8("年"), 20, ink);
        drawLabel(p, QRectF(176, 58, 36, 28), QString::fromUtf8("組"), 20, ink);
        drawLabel(p, QRectF(214, 58, 74, 28), QString::fromUtf8("なまえ"), 20, ink, {}, 0, Qt::AlignRight | Qt::AlignVCenter);
        drawLabel(p, QRectF(10, 102, 100, 28), QString::fromUtf8("タイトル"), 20, ink, {}, 0,
                  Qt::AlignRight | Qt::AlignVCenter);
        break;
    }
    case 4: {  // sending dialog
        p.fillRect(all, verticalGradient(all, QColor(0xFF, 0xF3, 0xE0), 102, 104));
        p.save();
        p.setPen(QPen(e.colour, 6));
        p.drawRect(all.adjusted(3, 3, -3, -3));
        p.restore();
        // the texts end above the progress bar (ProgressBar1 at y 131..140)
        drawIllustration(p, 103, QRectF(36, 6, 96, 80));
        drawLamp(p, QPointF(218, 50), 26, 1);
        drawLabel(p, QRectF(12, 82, 276, 26), e.label, 21, e.colour.darker(130), Qt::white, 2);
        drawLabel(p, QRectF(12, 107, 276, 20), QString::fromUtf8("しばらく おまちください"), 14, kInk);
        break;
    }
    case 5:
    case 6: {  // finish pictures: which kind of sound the computer sends
        p.fillRect(all, Qt::white);
        const QRectF card = all.adjusted(3, 3, -3, -3);
        inkPath(p, rounded(card, 16), verticalGradient(card, e.colour, 160, 105), 2.4);
        drawLabel(p, QRectF(12, 8, w - 24, 30), e.label, 22, Qt::white, kInk, 2.4);
        QPainterPath wave;
        const qreal y0 = 88;
        wave.moveTo(20, y0);
        for (int i = 0; i < 6; ++i) {
            const qreal x = 20 + i * 26;
            if (e.style == 5) {  // alternating bursts
                for (int k = 0; k < 4; ++k) {
                    wave.lineTo(x + k * 3, y0 - 22);
                    wave.lineTo(x + k * 3 + 1.5, y0 + 0);
                }
                wave.lineTo(x + 26, y0);
            } else {  // levels
                wave.lineTo(x, y0 - (i % 2 ? 22 : 0));
                wave.lineTo(x + 26, y0 - (i % 2 ? 22 : 0));
            }
        }
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(wave);
        p.setPen(QPen(QColor(0xFF, 0xF5, 0x9D), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(wave);
        p.restore();
        drawLamp(p, QPointF(214, 82), 26, 1);
        drawLabel(p, QRectF(12, 104, w - 24, 30), QString::fromUtf8("この モードで おくれます"), 16, Qt::white, kInk, 2);
        break;
    }
    case 7:
    case 8: {  // power-on hint for modes 2 and 3; the second one blinks over the first
        p.fillRect(all, Qt::white);
        const QRectF card = all.adjusted(2, 2, -2, -2);
        inkPath(p, rounded(card, 14), QColor(0xFF, 0xF8, 0xE1), 2);
        // the lamp with the pressing finger above, the instruction in full size below
        const qreal cx = all.width() / 2;
        drawLamp(p, QPointF(cx, 64), 30, e.style == 8 ? 1 : 0);
        drawFinger(p, QPointF(cx, 86), 11);
        drawLabel(p, QRectF(4, all.height() - 64, all.width() - 8, 58), e.label, 18,
                  e.style == 8 ? QColor(0xD3, 0x2F, 0x2F) : kInk);
        if (e.style == 8)
            drawStar(p, QPointF(cx + 42, 24), 10, QColor(0xFF, 0xEB, 0x3B));
        break;
    }
    default: {  // wizard pages (style 100 + illustration)
        const QString title = e.label.section(u'\t', 0, 0);
        const QString text = e.label.section(u'\t', 1);
        drawBody(p, QRectF(0, 57, w, h - 57), e.colour);
        drawTitleStrip(p, w, 57, QString(), e.colour, Glyph::None);
        drawLabel(p, QRectF(16, 6, 420, 46), title, 26, Qt::white, kInk, 2.6, Qt::AlignLeft | Qt::AlignVCenter);
        // progress dots: one per step of the test
        const int step = e.style - 100;
        for (int i = 0; i < 8; ++i) {
            QPainterPath dot;
            dot.addEllipse(QPointF(448 + i * 18, 29), 6, 6);
            inkPath(p, dot, i <= step ? QColor(0xFF, 0xEB, 0x3B) : QColor(255, 255, 255, 120), 1.4);
        }
        const QRectF panel(24, 74, 552, 176);
        const QPainterPath pp = rounded(panel, 18);
        softShadow(p, pp, {0, 4}, 40);
        inkPath(p, pp, Qt::white, 2);
        drawLabel(p, QRectF(44, 86, 360, 152), text, 22, QColor(0x4E, 0x34, 0x2E), {}, 0,
                  Qt::AlignLeft | Qt::AlignVCenter);
        drawIllustration(p, e.style, QRectF(414, 82, 150, 160));
        break;
    }
    }
}

void paintSplash(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(0x4F, 0xC3, 0xF7));
    g.setColorAt(1, QColor(0xFF, 0xE0, 0xB2));
    p.fillRect(QRect(0, 0, w, h), g);
    drawDots(p, QRectF(0, 0, w, h), QColor(255, 255, 255), 9);
    for (const QPointF& s : {QPointF(30, 30), QPointF(370, 44), QPointF(340, 230), QPointF(60, 220)})
        drawStar(p, s, 9, QColor(0xFF, 0xF5, 0x9D));
    drawLamp(p, QPointF(110, 150), 58, 1);
    drawLabel(p, QRectF(190, 60, 200, 80), QStringLiteral("KR-31"), 58, Qt::white, kInk, 4);
    drawLabel(p, QRectF(186, 140, 208, 60), QString::fromUtf8("LEDランプ\nプログラミング"), 24, QColor(0xFF, 0x8F, 0x00),
              Qt::white, 3);
    drawLabel(p, QRectF(0, 232, w, 28), QString::fromUtf8("よみこみちゅう…"), 15, kInk);
}

void paintAppIcon(QPainter& p, const Entry& e)
{
    const QRectF r(8, 8, e.size.width() - 16, e.size.height() - 16);
    const QPainterPath path = rounded(r, 52);
    softShadow(p, path, {0, 6}, 60);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x6C, 0xCF, 0xFF));
    g.setColorAt(1, QColor(0x29, 0x79, 0xD8));
    inkPath(p, path, g, 6);
    drawStar(p, QPointF(56, 58), 16, QColor(0xFF, 0xF5, 0x9D));
    drawStar(p, QPointF(206, 70), 11, QColor(0xFF, 0xF5, 0x9D));
    drawLamp(p, QPointF(128, 136), 70, 1);
    drawLabel(p, QRectF(20, 196, 216, 48), QStringLiteral("KR-31"), 40, Qt::white, kInk, 4);
}

}  // namespace kr31::art::parts
