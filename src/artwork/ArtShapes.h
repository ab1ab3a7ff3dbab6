// Drawing helpers shared by the picture painters: fonts, outlined labels, glyphs,
// the LED command drawings and the little illustrations.
#pragma once

#include "Artwork.h"

#include <QPainter>
#include <QRectF>

namespace kr31::art {

// The dark outline every cartoon shape gets.
inline const QColor kInk(0x3A, 0x33, 0x40);
inline const QColor kCream(0xFF, 0xF8, 0xE8);
inline const QColor kTitleTop(0x6C, 0xCF, 0xFF);
inline const QColor kTitleBottom(0x2D, 0x9C, 0xE0);

QFont labelFont(qreal pixelSize, bool bold = true);

// Draws text centred in rect (lines split on '\n'), shrinking the font until it fits;
// an outline of outlineWidth pixels is drawn around the letters when outline is valid.
void drawLabel(QPainter& p, const QRectF& rect, const QString& text, qreal pixelSize, const QColor& fill,
               const QColor& outline = QColor(), qreal outlineWidth = 0,
               Qt::Alignment align = Qt::AlignCenter);

// A vertical gradient from colour lightened to colour darkened.
QLinearGradient verticalGradient(const QRectF& r, const QColor& colour, int lighter = 135, int darker = 110);

// Cartoon shapes: fill with brush, outline with kInk.
void inkPath(QPainter& p, const QPainterPath& path, const QBrush& brush, qreal width);
// A closed polygon through the points, in order.
QPainterPath closedPath(std::initializer_list<QPointF> points);

// A glyph centred in r, white with an ink outline (the little pictures on buttons).
void drawGlyph(QPainter& p, Glyph g, const QRectF& r);

// A light bulb centred at c with glass radius r and brightness level 0..1.
void drawBulb(QPainter& p, QPointF c, qreal r, qreal level, bool rays);

// The drawing of an LED command inside r (square, any size).
void drawCommand(QPainter& p, Cmd cmd, const QRectF& r);

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

// Small cartoon pieces the illustrations are made of.
void drawSoundWaves(QPainter& p, QPointF from, int count, qreal step, qreal width, const QColor& c);
void drawRipples(QPainter& p, QPointF c, qreal r, const QColor& colour);
void drawClock(QPainter& p, QPointF c, qreal r);
void drawSpeaker(QPainter& p, QPointF c, qreal s, const QColor& fill);
void drawFlowMini(QPainter& p, QPointF c, qreal s);
void drawPc(QPainter& p, QPointF c, qreal s);
void drawPowerSymbol(QPainter& p, QPointF c, qreal r, const QColor& colour);
void drawLamp(QPainter& p, QPointF c, qreal s, qreal level);       // the KR-31 lamp, lit by level
void drawFinger(QPainter& p, QPointF tip, qreal size);             // a finger pointing down at tip
void drawNotePair(QPainter& p, QPointF c, qreal s, const QColor& fill);
void drawStar(QPainter& p, QPointF c, qreal r, const QColor& fill);
void drawArrow(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width);

// The illustration of a main-menu tool (1..6) or a wizard page (100..108) inside r.
void drawIllustration(QPainter& p, int id, const QRectF& r);

}  // namespace kr31::art
