#include "ArtShapes.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QtMath>

namespace kr31::art {
namespace {

const QColor kWhite(Qt::white);
const QColor kGlass(0xFF, 0xE8, 0x4A);
const QColor kGlassOff(0xB8, 0xC2, 0xCC);
const QColor kSkin(0xFF, 0xD1, 0xA6);

}  // namespace

QPainterPath closedPath(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    for (const QPointF& point : points) {
        if (path.elementCount() == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath arrowHead(QPointF tip, qreal angleDeg, qreal len)
{
    const qreal a = qDegreesToRadians(angleDeg);
    const QPointF back(-qCos(a) * len, -qSin(a) * len);
    const QPointF side(-qSin(a) * len * 0.7, qCos(a) * len * 0.7);
    QPainterPath h = closedPath({{tip}, {tip + back + side}, {tip + back - side}});
    return h;
}

// A thick stroked arrow along path (white body, ink outline), head at its end.
void drawArrow(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width)
{
    const QPointF tip = path.pointAtPercent(1.0);
    const qreal angle = -path.angleAtPercent(0.98);
    const QPainterPath head = arrowHead(tip + QPointF(qCos(qDegreesToRadians(angle)), qSin(qDegreesToRadians(angle))) * width * 0.9,
                                       angle, width * 2.2);
    QPainterPathStroker st;
    st.setWidth(width);
    st.setCapStyle(Qt::RoundCap);
    st.setJoinStyle(Qt::RoundJoin);
    const QPainterPath body = st.createStroke(path).united(head);
    inkPath(p, body.simplified(), colour, width * 0.35);
}

void drawSoundWaves(QPainter& p, QPointF from, int count, qreal step, qreal width, const QColor& c)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= count; ++i) {
        const qreal r = step * i;
        const QRectF box(from.x() - r, from.y() - r, 2 * r, 2 * r);
        p.setPen(QPen(kInk, width + 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(box, -45 * 16, 90 * 16);
        p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(box, -45 * 16, 90 * 16);
    }
    p.restore();
}

// A hand seen from the side, its index finger pointing down with the tip at tip; size is the finger width.
void drawFinger(QPainter& p, QPointF tip, qreal size)
{
    const qreal w = size;
    QPainterPath finger;
    finger.addRoundedRect(QRectF(tip.x() - w / 2, tip.y() - w * 3.4, w, w * 3.4), w / 2, w / 2);
    QPainterPath palm;
    palm.addRoundedRect(QRectF(tip.x() - w * 0.5, tip.y() - w * 4.6, w * 2.1, w * 2.0), w * 0.6, w * 0.6);
    QPainterPath knuckles;  // the folded fingers beside the pointing one
    for (int i = 0; i < 3; ++i)
        knuckles.addEllipse(QPointF(tip.x() + w * 0.62 + i * w * 0.42, tip.y() - w * 2.62), w * 0.3, w * 0.36);
    inkPath(p, finger.united(palm).united(knuckles).simplified(), kSkin, w * 0.14);
    QPainterPath cuff;
    cuff.addRoundedRect(QRectF(tip.x() - w * 0.7, tip.y() - w * 5.4, w * 2.5, w * 1.0), w * 0.25, w * 0.25);
    inkPath(p, cuff, QColor(0x64, 0xB5, 0xF6), w * 0.14);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 230));
    p.drawRoundedRect(QRectF(tip.x() - w * 0.26, tip.y() - w * 0.72, w * 0.52, w * 0.48), w * 0.2, w * 0.2);
    p.restore();
}

void drawRipples(QPainter& p, QPointF c, qreal r, const QColor& colour)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 2; ++i) {
        const QRectF box(c.x() - r * i, c.y() - r * i * 0.5, 2 * r * i, r * i);
        p.setPen(QPen(colour, r * 0.22, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(box, 20 * 16, 50 * 16);
        p.drawArc(box, 110 * 16, 50 * 16);
    }
    p.restore();
}

void drawClock(QPainter& p, QPointF c, qreal r)
{
    // bells and legs
    for (int side : {-1, 1}) {
        QPainterPath bell;
        bell.addEllipse(QPointF(c.x() + side * r * 0.72, c.y() - r * 0.8), r * 0.36, r * 0.3);
        inkPath(p, bell, QColor(0xFF, 0xC1, 0x07), r * 0.08);
        p.save();
        p.setPen(QPen(kInk, r * 0.12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + side * r * 0.55, c.y() + r * 0.8), QPointF(c.x() + side * r * 0.8, c.y() + r * 1.08));
        p.restore();
    }
    QPainterPath face;
    face.addEllipse(c, r, r);
    QRadialGradient g(c, r);
    g.setColorAt(0, kWhite);
    g.setColorAt(1, QColor(0xE3, 0xF2, 0xFD));
    inkPath(p, face, g, r * 0.1);
    p.save();
    p.setPen(QPen(kInk, r * 0.07, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(i * 30.0);
        const qreal in = i % 3 == 0 ? 0.72 : 0.82;
        p.drawLine(c + QPointF(qSin(a), -qCos(a)) * r * in, c + QPointF(qSin(a), -qCos(a)) * r * 0.9);
    }
    p.setPen(QPen(kInk, r * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -r * 0.62));
    p.setPen(QPen(QColor(0xE5, 0x39, 0x35), r * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(r * 0.5, r * 0.12));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(c, r * 0.09, r * 0.09);
    p.restore();
}

void drawSpeaker(QPainter& p, QPointF c, qreal s, const QColor& fill)
{
    QPainterPath sp;
    sp.moveTo(c.x() - s, c.y() - s * 0.45);
    sp.lineTo(c.x() - s * 0.35, c.y() - s * 0.45);
    sp.lineTo(c.x() + s * 0.4, c.y() - s * 1.05);
    sp.lineTo(c.x() + s * 0.4, c.y() + s * 1.05);
    sp.lineTo(c.x() - s * 0.35, c.y() + s * 0.45);
    sp.lineTo(c.x() - s, c.y() + s * 0.45);
    sp.closeSubpath();
    inkPath(p, sp, fill, s * 0.16);
}

void drawNotePair(QPainter& p, QPointF c, qreal s, const QColor& fill)
{
    // two beamed eighth notes
    QPainterPath n;
    n.addEllipse(QPointF(c.x() - s * 0.55, c.y() + s * 0.55), s * 0.32, s * 0.25);
    n.addEllipse(QPointF(c.x() + s * 0.55, c.y() + s * 0.4), s * 0.32, s * 0.25);
    n.addRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.7, s * 0.12, s * 1.25));
    n.addRect(QRectF(c.x() + s * 0.8, c.y() - s * 0.85, s * 0.12, s * 1.25));
    QPainterPath beam;
    beam.moveTo(c.x() - s * 0.3, c.y() - s * 0.7);
    beam.lineTo(c.x() + s * 0.92, c.y() - s * 0.85);
    beam.lineTo(c.x() + s * 0.92, c.y() - s * 0.55);
    beam.lineTo(c.x() - s * 0.3, c.y() - s * 0.4);
    beam.closeSubpath();
    inkPath(p, n.united(beam).simplified(), fill, s * 0.1);
}

void drawFlowMini(QPainter& p, QPointF c, qreal s)
{
    QPainterPath start, box, diamond;
    start.addRoundedRect(QRectF(c.x() - s * 0.6, c.y() - s, s * 1.2, s * 0.45), s * 0.22, s * 0.22);
    box.addRect(QRectF(c.x() - s * 0.6, c.y() - s * 0.25, s * 1.2, s * 0.45));
    diamond.moveTo(c.x(), c.y() + s * 0.4);
    diamond.lineTo(c.x() + s * 0.7, c.y() + s * 0.72);
    diamond.lineTo(c.x(), c.y() + s * 1.04);
    diamond.lineTo(c.x() - s * 0.7, c.y() + s * 0.72);
    diamond.closeSubpath();
    p.save();
    p.setPen(QPen(kInk, s * 0.08));
    p.drawLine(QPointF(c.x(), c.y() - s * 0.55), QPointF(c.x(), c.y() + s * 0.4));
    p.restore();
    inkPath(p, start, QColor(0xFF, 0xE0, 0x82), s * 0.08);
    inkPath(p, box, QColor(0xB3, 0xE5, 0xFC), s * 0.08);
    inkPath(p, diamond, QColor(0xF8, 0xBB, 0xD0), s * 0.08);
}

void drawLamp(QPainter& p, QPointF c, qreal s, qreal level)
{
    // the KR-31 as a friendly dome lamp on a base
    if (level > 0) {
        QRadialGradient glow(c, s * 1.6);
        glow.setColorAt(0, QColor(255, 240, 120, int(170 * level)));
        glow.setColorAt(1, QColor(255, 240, 120, 0));
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, s * 1.6, s * 1.6);
        p.restore();
    }
    QPainterPath dome;
    dome.moveTo(c.x() - s, c.y() + s * 0.35);
    dome.cubicTo(c.x() - s, c.y() - s * 1.1, c.x() + s, c.y() - s * 1.1, c.x() + s, c.y() + s * 0.35);
    dome.closeSubpath();
    QRadialGradient g(QPointF(c.x() - s * 0.3, c.y() - s * 0.4), s * 1.3);
    const QColor lit = level > 0 ? QColor(0xFF, 0xF5, 0x9D) : kGlassOff.lighter(115);
    g.setColorAt(0, kWhite);
    g.setColorAt(0.5, lit);
    g.setColorAt(1, level > 0 ? QColor(0xFF, 0xCA, 0x28) : kGlassOff);
    inkPath(p, dome, g, s * 0.1);
    QPainterPath base;
    base.addRoundedRect(QRectF(c.x() - s * 1.2, c.y() + s * 0.3, s * 2.4, s * 0.55), s * 0.25, s * 0.25);
    inkPath(p, base, QColor(0xFF, 0x8A, 0x65), s * 0.1);
    // smiley face on the base
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(c.x() - s * 0.35, c.y() + s * 0.52), s * 0.07, s * 0.07);
    p.drawEllipse(QPointF(c.x() + s * 0.35, c.y() + s * 0.52), s * 0.07, s * 0.07);
    p.setPen(QPen(kInk, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - s * 0.18, c.y() + s * 0.48, s * 0.36, s * 0.2), -20 * 16, -140 * 16);
    p.restore();
}

void drawPc(QPainter& p, QPointF c, qreal s)
{
    QPainterPath screen;
    screen.addRoundedRect(QRectF(c.x() - s, c.y() - s * 0.8, s * 2, s * 1.3), s * 0.12, s * 0.12);
    inkPath(p, screen, QColor(0x90, 0xA4, 0xAE), s * 0.08);
    QPainterPath glass;
    glass.addRect(QRectF(c.x() - s * 0.82, c.y() - s * 0.64, s * 1.64, s * 0.98));
    p.save();
    p.setPen(Qt::NoPen);
    QLinearGradient g(glass.boundingRect().topLeft(), glass.boundingRect().bottomRight());
    g.setColorAt(0, QColor(0xB3, 0xE5, 0xFC));
    g.setColorAt(1, QColor(0x4F, 0xC3, 0xF7));
    p.setBrush(g);
    p.drawPath(glass);
    p.restore();
    QPainterPath foot;
    foot.addRoundedRect(QRectF(c.x() - s * 0.5, c.y() + s * 0.6, s, s * 0.18), s * 0.08, s * 0.08);
    inkPath(p, foot, QColor(0x78, 0x90, 0x9C), s * 0.06);
}

void drawStar(QPainter& p, QPointF c, qreal r, const QColor& fill)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = qDegreesToRadians(-90 + i * 36.0);
        const qreal rr = i % 2 == 0 ? r : r * 0.45;
        const QPointF pt = c + QPointF(qCos(a), qSin(a)) * rr;
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    inkPath(p, star, fill, r * 0.12);
}

void drawPowerSymbol(QPainter& p, QPointF c, qreal r, const QColor& colour)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (const auto& [pen, w] : {std::pair{kInk, r * 0.42}, std::pair{colour, r * 0.26}}) {
        p.setPen(QPen(pen, w, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 120 * 16, -300 * 16);
        p.drawLine(c, c + QPointF(0, -r * 1.15));
    }
    p.restore();
}

QFont labelFont(qreal pixelSize, bool bold)
{
    QFont f(QStringLiteral("IPAPGothic"));
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void drawLabel(QPainter& p, const QRectF& rect, const QString& text, qreal pixelSize, const QColor& fill,
               const QColor& outline, qreal outlineWidth, Qt::Alignment align)
{
    if (text.isEmpty())
        return;
    const QStringList lines = text.split(u'\n');
    QFont f = labelFont(pixelSize);
    qreal px = pixelSize;
    // Lines are spaced by the pixel size, not by the font's (generous) line height.
    for (;;) {
        f.setPixelSize(qMax(1, qRound(px)));
        const QFontMetricsF fm(f);
        qreal widest = 0;
        for (const QString& l : lines)
            widest = qMax(widest, fm.horizontalAdvance(l));
        const qreal height = px * 1.15 * lines.size();
        if ((widest + 2 * outlineWidth <= rect.width() && height <= rect.height() + 1) || px <= 6)
            break;
        px -= 0.5;
    }
    const QFontMetricsF fm(f);
    const qreal lineH = px * 1.15;
    const qreal total = lineH * lines.size();
    qreal y = rect.top() + (rect.height() - total) / 2;
    if (align & Qt::AlignTop)
        y = rect.top();
    else if (align & Qt::AlignBottom)
        y = rect.bottom() - total;
    QPainterPath path;
    for (const QString& l : lines) {
        const qreal w = fm.horizontalAdvance(l);
        qreal x = rect.left() + (rect.width() - w) / 2;
        if (align & Qt::AlignLeft)
            x = rect.left() + outlineWidth;
        else if (align & Qt::AlignRight)
            x = rect.right() - w - outlineWidth;
        // centre the letters (ascent above, descent below the baseline) in the line box
        path.addText(QPointF(x, y + (lineH + fm.ascent() - fm.descent()) / 2), f, l);
        y += lineH;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (outline.isValid() && outlineWidth > 0) {
        p.setPen(QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(outline);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

QLinearGradient verticalGradient(const QRectF& r, const QColor& colour, int lighter, int darker)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, colour.lighter(lighter));
    g.setColorAt(1, colour.darker(darker));
    return g;
}

void inkPath(QPainter& p, const QPainterPath& path, const QBrush& brush, qreal width)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(brush);
    p.drawPath(path);
    p.restore();
}

void drawBulb(QPainter& p, QPointF c, qreal r, qreal level, bool rays)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (level > 0.05) {
        QRadialGradient glow(c, r * 2.1);
        glow.setColorAt(0, QColor(255, 245, 150, int(200 * level)));
        glow.setColorAt(1, QColor(255, 245, 150, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, r * 2.1, r * 2.1);
    }
    if (rays && level > 0.3) {
        p.setPen(QPen(kInk, r * 0.26, Qt::SolidLine, Qt::RoundCap));
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1)
                p.setPen(QPen(QColor(0xFF, 0xD5, 0x4F), r * 0.14, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 7; ++i) {
                const qreal a = qDegreesToRadians(180.0 + 30.0 * i);
                const QPointF d(qCos(a), qSin(a));
                p.drawLine(c + d * r * 1.3, c + d * r * (1.3 + 0.45 * level));
            }
        }
    }
    // glass and neck
    QPainterPath glass;
    glass.addEllipse(c, r, r);
    QPainterPath neck;
    neck.moveTo(c.x() - r * 0.62, c.y() + r * 0.6);
    neck.lineTo(c.x() + r * 0.62, c.y() + r * 0.6);
    neck.lineTo(c.x() + r * 0.42, c.y() + r * 1.22);
    neck.lineTo(c.x() - r * 0.42, c.y() + r * 1.22);
    neck.closeSubpath();
    const QColor on = kGlass;
    auto mix = [&](const QColor& a, const QColor& b) {
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * level, a.greenF() + (b.greenF() - a.greenF()) * level,
                                a.blueF() + (b.blueF() - a.blueF()) * level);
    };
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.5);
    g.setColorAt(0, mix(QColor(0xEC, 0xEF, 0xF1), kWhite));
    g.setColorAt(0.45, mix(kGlassOff.lighter(108), on));
    g.setColorAt(1, mix(QColor(0x90, 0x9A, 0xA6), QColor(0xFF, 0xB3, 0x00)));
    inkPath(p, glass.united(neck), g, r * 0.12);
    // filament
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(level > 0.3 ? QColor(0xFF, 0x6F, 0x00) : QColor(0x60, 0x68, 0x70), r * 0.08, Qt::SolidLine,
                  Qt::RoundCap));
    QPainterPath fil;
    fil.moveTo(c.x() - r * 0.3, c.y() + r * 0.6);
    fil.lineTo(c.x() - r * 0.3, c.y() + r * 0.1);
    fil.cubicTo(c.x() - r * 0.15, c.y() - r * 0.2, c.x() + r * 0.15, c.y() + r * 0.4, c.x() + r * 0.3, c.y() + r * 0.1);
    fil.lineTo(c.x() + r * 0.3, c.y() + r * 0.6);
    p.drawPath(fil);
    // shine
    p.setPen(QPen(QColor(255, 255, 255, 210), r * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - r * 0.72, c.y() - r * 0.72, r * 1.44, r * 1.44), 105 * 16, 50 * 16);
    p.restore();
    // screw base
    QPainterPath base;
    base.addRoundedRect(QRectF(c.x() - r * 0.48, c.y() + r * 1.2, r * 0.96, r * 0.62), r * 0.12, r * 0.12);
    QLinearGradient bg(QPointF(c.x() - r * 0.5, 0), QPointF(c.x() + r * 0.5, 0));
    bg.setColorAt(0, QColor(0x9E, 0xA7, 0xB0));
    bg.setColorAt(0.4, QColor(0xEC, 0xEF, 0xF1));
    bg.setColorAt(1, QColor(0x78, 0x84, 0x8E));
    inkPath(p, base, bg, r * 0.1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, r * 0.07));
    p.drawLine(QPointF(c.x() - r * 0.46, c.y() + r * 1.42), QPointF(c.x() + r * 0.46, c.y() + r * 1.42));
    p.drawLine(QPointF(c.x() - r * 0.46, c.y() + r * 1.62), QPointF(c.x() + r * 0.46, c.y() + r * 1.62));
    p.restore();
    QPainterPath tip;
    tip.addEllipse(QPointF(c.x(), c.y() + r * 1.86), r * 0.2, r * 0.12);
    inkPath(p, tip, kInk, r * 0.04);
}

}  // namespace kr31::art
