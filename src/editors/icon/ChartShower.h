#pragma once

#include <QStringList>

class QWidget;

namespace kr31 {

// The chart view as the editors reach it.
class ChartShower
{
public:
    virtual ~ChartShower() = default;
    // Shows the chart of steps (command lines; drawing stops at the first
    // code "27"), not modal, centred over opener's window and scrolled to the top.
    virtual void showChart(const QStringList &steps, QWidget *opener) = 0;
};

} // namespace kr31
