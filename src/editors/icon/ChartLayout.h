#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <limits>

// The program chart: a command list drawn as a flowchart of a start terminal,
// one box per command joined by downward arrows, a diamond with a loop-back
// line for each repeat, and an end terminal. Everything here is geometry in
// whole pixels; the window and the printer only paint the shapes.
//
// All lengths derive from the unit u (50 on screen, half the printer's dots
// per inch on paper); h is u / 2, and every derived length is rounded to the
// nearest integer with halves to even.
namespace kr31::chart {

// The edges of a rectangle: it spans left..right and top..bottom.
struct Edges
{
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Edges &) const = default;
};

struct Shape
{
    enum Kind {
        Terminal,  // rounded rectangle `box` with a corner ellipse corner × corner, `text` centred
        Box,       // command rectangle `box`, `text` centred
        Diamond,   // closed outline through the `points` (four for a diamond, five for a call)
        Label,     // `text` centred in `box`, no outline
        Line,      // polyline through `points`
        Arrowhead, // black filled triangle of the three `points`
    };
    Kind kind = Line;
    QList<QPoint> points;
    Edges box;
    int corner = 0;
    QString text;
    bool operator==(const Shape &) const = default;
};

using Shapes = QList<Shape>;

// Where the chart is laid out: the unit, the centre line x, the top y of the
// start terminal, and (on paper) the lowest y a shape may reach.
struct Frame
{
    int u = 50;
    int x = 0;
    int top = 10;
    int pageBottom = std::numeric_limits<int>::max();
};

// The note under a printed chart that the paper cuts off.
inline const QString CutNote = QStringLiteral("（ここから先は印刷されません）");

// u × numerator / denominator, rounded with halves to even.
int scaled(int u, int numerator, int denominator = 1);

// True for the repeat codes 22, 221, 222, 231 and 232.
bool isRepeat(const QString &code);

// The steps that are drawn: those before the first line whose code is "27".
QStringList drawnSteps(const QStringList &steps);

// The text of a step's box or diamond; empty for a code without a shape.
// Arguments are inserted as they stand; a repeat shows its count plus one
// ("？" when the count is not an integer).
QString stepText(const QString &line);

// Half the width of a step's box for unit u (2.5u for a repeat's diamond);
// 0 for a code without a shape.
int halfWidth(const QString &code, int u);

// The height a step adds below the previous one: its arrow and its shape
// (h + u for a repeat, 2h otherwise; 75 and 50 on screen).
int stepHeight(const QString &code, int u);

// The repeat step's return step (argument 1) when it names a drawn step
// (0 <= r < drawnCount); -1 otherwise, and then no loop-back line is drawn.
int returnStep(const QString &line, int drawnCount);

// The top of each drawn step's box on one endless page whose start terminal
// is at top: top + 2h for the first step, then stepHeight apart (60, 110, …
// on screen).
QList<int> stepTops(const QStringList &steps, int u, int top);

// The chart on one page, as it is printed: the steps whose shape fits whole
// above frame.pageBottom. When a step or the end does not fit, a line runs
// from the last step drawn down to pageBottom, CutNote stands below it, and a
// loop-back line whose return step is left out runs down to pageBottom and
// ends in an arrowhead pointing there. No steps give no shapes.
Shapes layoutPage(const QStringList &steps, const Frame &frame);

// The shapes the layouts are made of, for the flowchart editor's own drawing:
// a terminal of half-width u at top y; an arrow from y down to y + h; a
// repeat's diamond at top y whose loop-back line rejoins the arrow into the
// box at returnTop (no line when returnTop < 0).
Shape terminalShape(int x, int y, int u, const QString &text);
void addArrowShapes(Shapes &out, int x, int y, int u);
void addDiamondShapes(Shapes &out, int x, int y, int u, const QString &text, int returnTop);

// The whole chart on one endless page: unit u, centre line x, start terminal at top.
Shapes layout(const QStringList &steps, int u, int x, int top);

// The lowest y any shape of a one-page chart reaches (the end terminal's
// bottom; top when there are no steps).
int chartBottom(const QStringList &steps, int u, int top);

} // namespace kr31::chart
