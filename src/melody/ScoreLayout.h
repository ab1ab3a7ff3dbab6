#pragma once

#include "melody/Melody.h"

#include <QChar>
#include <QLine>
#include <QList>
#include <QRect>

// Where the score's lines and glyphs go, on the screen and on paper. A glyph
// is a letter of the note glyph set (notes, rests, the clef "e", the pitch
// labels) drawn in its cell: horizontally centred, top-aligned.
namespace kr31::score {

struct Glyph
{
    QChar letter;
    QRect cell;
    bool operator==(const Glyph &) const = default;
};

struct Layout
{
    QList<QLine> lines;
    QList<Glyph> glyphs;
    bool operator==(const Layout &) const = default;
};

inline constexpr int CellHeight = 30; // at scale 1
inline constexpr int LabelDrop = 45;  // label cell below the staff's top line
inline constexpr int ScreenHeight = 200;
inline constexpr int ScreenWidth = 18 * 96 * 4;

// The top line of a voice's staff on the screen: 30 for voice 0, 126 for voice 1.
int screenTop(int voice);

// Adds the glyph, ledger lines and label of one note whose cell's left edge
// is x on a staff whose top line is top, at scale s (screen pixels × s).
void addNote(Layout &layout, int code, int x, int top, int s);

// The screen score: both staves across width; for each voice with notes the
// clef at x 20 and its notes at their positions up to the first 204.
Layout screen(const Melody &melody, int width = ScreenWidth);

// The printed page in printer pixels for a resolution dpiX × dpiY.
struct PrintGeometry
{
    int lineWidth = 0; // W: 8 inches
    int wrap = 0;      // 0.9 W
    int scale = 0;     // s: dpiY / 90 rounded
    int step = 0;      // staff step 6 s
    int distance = 0;  // d: 96 s between the staves of a row
    int firstTop = 0;  // dpiY
    int indent = 0;    // 0.05 W, for rows after the first
};
PrintGeometry printGeometry(int dpiX, int dpiY);

// Rows of staff pairs the melody needs: the larger of each voice's
// (last position × s) div wrap + 1; 0 when both voices are empty.
int rowCount(const Melody &melody, const PrintGeometry &g);

// How many rows fit on a page of pageHeight printer pixels (at least one).
int rowsPerPage(const PrintGeometry &g, int pageHeight);

// The printed score page by page (the heading is not part of it): each row a
// pair of staves across W with their clefs, a separator above every row after
// a page's first, the notes of voice 0 on the upper and voice 1 on the lower
// staff of the row their position falls in.
QList<Layout> printPages(const Melody &melody, const PrintGeometry &g, int pageHeight);

} // namespace kr31::score
