#pragma once

#include "melody/ScoreLayout.h"

#include <QColor>
#include <QRectF>

class QPainter;

// The note glyph set drawn as vector paths: notes of four lengths with stems
// up (C3..A#4) and down (B4..C6), sharps, rests, the clef and the pitch
// labels. One painter serves the screen and the printer; a cell is 18 × 30
// units of its size, so the same glyph scales to any resolution.
namespace kr31::glyphs {

// Draws letter in cell: the head of a stem-up note at the cell's bottom, of
// a stem-down note at its top, as the score's offsets expect. Letters that
// name nothing draw nothing.
void draw(QPainter &painter, QChar letter, const QRectF &cell, const QColor &ink = Qt::black);

// Where a note letter's head and its sharp sign are drawn in cell; an empty
// rectangle for a letter without a head, and for the sharp of a natural.
QRectF headBounds(QChar letter, const QRectF &cell);
QRectF sharpBounds(QChar letter, const QRectF &cell);

// Draws a whole layout: its lines (scale pixels wide, at least 1) and glyphs.
void paint(QPainter &painter, const score::Layout &layout, int scale);

} // namespace kr31::glyphs
