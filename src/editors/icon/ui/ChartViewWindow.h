#pragma once

#include "editors/icon/ChartShower.h"
#include "ui/FormWindow.h"
#include "ui/WheelSteps.h"

#include <QList>
#include <QStringList>

class QPainter;
class QPagedPaintDevice;
class QScrollArea;

namespace kr31 {

// The chart view (TForm10): a read-only flowchart of a command list, opened
// by the editors next to themselves; it scrolls vertically, prints with `Out`
// and hides with `Bye`. It is not modal.
class ChartViewWindow : public FormWindow, public ChartShower
{
    Q_OBJECT
public:
    explicit ChartViewWindow(Forms &forms, QWidget *parent = nullptr);

    // Replaces ChartSteps (command lines; drawing stops at the first code
    // "27"), recomputes StepTops and repaints, also while the view is open.
    void setSteps(const QStringList &steps);
    const QStringList &steps() const { return m_steps; }
    // The top of each drawn step's box in the paint box.
    const QList<int> &stepTops() const { return m_stepTops; }

    // Centres the view over opener (halves to even), scrolls to the top and
    // shows it without waiting.
    void showOver(QWidget *opener);
    // setSteps, then showOver.
    void showChart(const QStringList &steps, QWidget *opener) override;

    // Prints the chart on one page after the print dialog, cut off where the
    // paper ends; a failure shows (102). A cancelled dialog prints nothing.
    void OutClick();
    // Hides the view.
    void ByeClick() override;

    // Paints the chart of the current steps at unit u, centre line x, start y.
    void paintChart(QPainter &painter, int u, int x, int y) const;

protected:
    // The background, the scrolling paint box and the buttons with their keys.
    void buildContents() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool print(QPagedPaintDevice &printer) const;

    QStringList m_steps;
    QList<int> m_stepTops;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_paintBox = nullptr;
    WheelSteps m_wheel;
};

} // namespace kr31
