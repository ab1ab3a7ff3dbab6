#pragma once

#include "core/TextTools.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kr31 {

// The position that centres a window of `size` over an opener at `openerPos`
// with `openerSize`, along one axis: half the difference, halves to even
// (a difference of 101 gives 50, one of 103 gives 52).
inline int centredOver(int openerPos, int openerSize, int size)
{
    return openerPos + int(text::roundHalfEven(openerSize - size, 2));
}

// Where a window of `size` goes beside `editor` on a screen whose free area
// is `area`: to the editor's right, else to its left, `gap` apart, centred on
// it vertically within the area. When neither side has room but the two fit
// side by side, the editor moves over (editorLeft is where its left edge
// goes); otherwise the window goes to the area's right edge.
struct BesidePlace
{
    QPoint window;
    int editorLeft;
};

inline BesidePlace placeBeside(const QRect &area, QRect editor, const QSize &size, int gap)
{
    int x = editor.right() + 1 + gap;
    if (x + size.width() > area.right() + 1)
        x = editor.left() - gap - size.width();
    if (x < area.left()) {
        const int pair = editor.width() + gap + size.width();
        if (pair <= area.width()) {
            editor.moveLeft(area.left() + (area.width() - pair) / 2);
            x = editor.right() + 1 + gap;
        } else {
            x = area.right() + 1 - size.width();
        }
    }
    const int y = qBound(area.top(), editor.top() + (editor.height() - size.height()) / 2,
                         qMax(area.top(), area.bottom() + 1 - size.height()));
    return {QPoint(x, y), editor.left()};
}

} // namespace kr31
