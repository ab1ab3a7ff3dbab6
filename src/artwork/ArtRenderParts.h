#pragma once

#include "ArtShapes.h"

#include <QPainterPath>

// What the painters of the pictures share between their two files.
namespace kr31::art::parts {

// Helpers of the painters.
QPainterPath rounded(const QRectF& r, qreal radius);
void fillUnder(QPainter& p, const Entry& e, const QColor& fallback = kCream);
void softShadow(QPainter& p, const QPainterPath& path, QPointF offset, int alpha);
void drawFrame(QPainter& p, const QRectF& r, const QString& caption, const QColor& accent);
void drawDots(QPainter& p, const QRectF& area, const QColor& c, int seed);
void drawTitleStrip(QPainter& p, int width, int h, const QString& title, const QColor& accent, Glyph glyph);
void drawBody(QPainter& p, const QRectF& r, const QColor& accent);

// The painters of tabs, page titles, piano keys, staff names, panels, the splash and the icon.
void paintPageTab(QPainter& p, const Entry& e);
void paintPageTitle(QPainter& p, const Entry& e);
void paintPianoKey(QPainter& p, const Entry& e, bool pressed);
void paintStaffName(QPainter& p, const Entry& e);
void paintPanel(QPainter& p, const Entry& e);
void paintSplash(QPainter& p, const Entry& e);
void paintAppIcon(QPainter& p, const Entry& e);

}  // namespace kr31::art::parts
