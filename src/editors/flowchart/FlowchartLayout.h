#pragma once

#include "editors/icon/ChartLayout.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

// The flowchart editor's drawing of one page: a start terminal, each entry's
// shape below an arrow (a box, a repeat's diamond with its loop-back line, a
// call's pentagon), an arrow and the end terminal. Pure geometry on the
// chart's shapes; the unit u is 50 on screen, and every length derives from it.
namespace kr31::flowlayout {

inline constexpr int ScreenUnit = 50;
inline constexpr int ScreenTop = 10;
inline constexpr int PaintBoxWidth = 345;

// The centre line of a paint box: half its width, halves to even (172 for 345).
int centreOf(int width);

// The text of an entry's shape ("LED ON", "サブルーチン 2", "繰り返し　4回？"...).
QString entryText(const QString &entry);

// Half the width of an entry's shape for unit u.
int halfWidth(const QString &entry, int u);

// The top of each entry's shape: top + u for the first, then 1.5u after a
// repeat or a call and u after any other entry (60, 110, … on screen).
QList<int> entryTops(const QStringList &entries, int u = ScreenUnit, int top = ScreenTop);

// The page drawn at unit u on the centre line x; nothing for no entries.
chart::Shapes layout(const QStringList &entries, int u, int x, int top = ScreenTop);

// The entry that a right-click at p (paint box pixels) hits, or -1: only
// for 50 < x < 300, and within an entry's top and its top + 50 (a repeat or
// a call) or + 25 (any other entry).
int hitEntry(const QStringList &entries, QPoint p);

// The lowest y the drawing reaches (top when there are no entries).
int bottom(const QStringList &entries, int u = ScreenUnit, int top = ScreenTop);

} // namespace kr31::flowlayout
