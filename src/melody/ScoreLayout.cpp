#include "melody/ScoreLayout.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "melody/NoteCode.h"

#include <QtGlobal>

namespace kr31::score {

namespace {

constexpr int ClefX = 20;

void addStaff(Layout &layout, int top, int width, int step)
{
    for (int i = 0; i < 5; ++i)
        layout.lines.append(QLine(0, top + i * step, width, top + i * step));
}

QRect cell(int x, int y, int s)
{
    return QRect(x, y, limits::EighthUnit * s, CellHeight * s);
}

} // namespace

int screenTop(int voice)
{
    return voice == 0 ? 5 * limits::StaffStep : (5 + limits::SecondStaffSteps) * limits::StaffStep;
}

void addNote(Layout &layout, int code, int x, int top, int s)
{
    const int step = limits::StaffStep * s;
    // Offsets are in half steps; 3 × s pixels each, exact for a step of 6.
    const QChar glyph = note::glyphLetter(code);
    if (!glyph.isNull())
        layout.glyphs.append({glyph, cell(x, top + note::halfStepOffset(code) * step / 2, s)});
    const int ledgers = note::ledgerLines(code);
    const int right = x + limits::EighthUnit * s;
    for (int k = 1; k <= ledgers; ++k) {
        const int y = note::ledgersBelow(code) ? top + 5 * step + (k - 1) * step : top - k * step;
        layout.lines.append(QLine(x, y, right, y));
    }
    const QChar label = note::labelLetter(code);
    if (!label.isNull())
        layout.glyphs.append({label, cell(x, top + LabelDrop * s, s)});
}

Layout screen(const Melody &melody, int width)
{
    Layout layout;
    for (int voice = 0; voice < melody::Voices; ++voice)
        addStaff(layout, screenTop(voice), width, limits::StaffStep);
    for (int voice = 0; voice < melody::Voices; ++voice) {
        const QList<int> &notes = melody.notes[voice];
        if (notes.isEmpty() || notes.first() == note::EmptySlot)
            continue;
        const int top = screenTop(voice);
        layout.glyphs.append({note::ClefGlyph, cell(ClefX, top, 1)});
        const QList<int> x = melody.positions(voice);
        for (int i = 0; i < notes.size() && notes.at(i) != note::EmptySlot; ++i)
            addNote(layout, notes.at(i), x.at(i), top, 1);
    }
    return layout;
}

PrintGeometry printGeometry(int dpiX, int dpiY)
{
    PrintGeometry g;
    g.lineWidth = 8 * dpiX;
    g.wrap = int(text::roundHalfEven(qint64(g.lineWidth) * 9, 10));
    g.scale = int(text::roundHalfEven(dpiY, 90));
    g.step = limits::StaffStep * g.scale;
    g.distance = limits::StaffStep * limits::SecondStaffSteps * g.scale;
    g.firstTop = dpiY;
    g.indent = int(text::roundHalfEven(g.lineWidth, 20));
    return g;
}

int rowCount(const Melody &melody, const PrintGeometry &g)
{
    int rows = 0;
    for (int voice = 0; voice < melody::Voices; ++voice) {
        if (!melody.notes[voice].isEmpty() && g.wrap > 0)
            rows = qMax(rows, melody.lastPosition(voice) * g.scale / g.wrap + 1);
    }
    return rows;
}

int rowsPerPage(const PrintGeometry &g, int pageHeight)
{
    // A row reaches from its upper staff to the labels under its lower staff.
    const int rowExtent = g.distance + (LabelDrop + CellHeight) * g.scale;
    const int pairHeight = 2 * g.distance;
    if (pairHeight <= 0)
        return 1;
    return qMax(1, 1 + (pageHeight - g.firstTop - rowExtent) / pairHeight);
}

QList<Layout> printPages(const Melody &melody, const PrintGeometry &g, int pageHeight)
{
    const int rows = rowCount(melody, g);
    const int perPage = rowsPerPage(g, pageHeight);
    QList<Layout> pages((rows + perPage - 1) / perPage);
    const auto upperTop = [&](int row) { return g.firstTop + 2 * (row % perPage) * g.distance; };
    for (int r = 0; r < rows; ++r) {
        Layout &page = pages[r / perPage];
        const int top = upperTop(r);
        if (r % perPage > 0) {
            const int y = top - 4 * g.step;
            page.lines.append(QLine(0, y, g.lineWidth, y));
        }
        for (int staff : {top, top + g.distance}) {
            page.glyphs.append({note::ClefGlyph, cell(10 * g.scale, staff, g.scale)});
            addStaff(page, staff, g.lineWidth, g.step);
        }
    }
    if (g.wrap <= 0)
        return pages;
    for (int voice = 0; voice < melody::Voices; ++voice) {
        const QList<int> &notes = melody.notes[voice];
        const QList<int> x = melody.positions(voice);
        for (int i = 0; i < notes.size() && notes.at(i) != note::EmptySlot; ++i) {
            const int scaled = x.at(i) * g.scale;
            const int row = scaled / g.wrap;
            const int left = scaled % g.wrap + (row > 0 ? g.indent : 0);
            const int top = upperTop(row) + (voice == 0 ? 0 : g.distance);
            addNote(pages[row / perPage], notes.at(i), left, top, g.scale);
        }
    }
    return pages;
}

} // namespace kr31::score
