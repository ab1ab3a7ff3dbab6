#pragma once

#include <QStringList>

class QWidget;

namespace kr31 {

// The report window as the editors reach it.
class ReportOpener
{
public:
    virtual ~ReportOpener() = default;
    // Shows the report of commandList (47 lines from an editor's compile),
    // not modal, centred over opener's window (on the screen when opener is null).
    virtual void openReport(const QStringList &commandList, QWidget *opener) = 0;
};

} // namespace kr31
