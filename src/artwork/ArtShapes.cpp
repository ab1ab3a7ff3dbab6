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

// Runs f with the painter mapped so that r is a size x size square of units.
template <class F>
void inUnits(QPainter& p, const QRectF& r, qreal size, F f)
{
    p.save();
    const qreal s = qMin(r.width(), r.height()) / size;
    p.translate(r.center().x() - size * s / 2, r.center().y() - size * s / 2);
    p.scale(s, s);
    f();
    p.restore();
}

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
