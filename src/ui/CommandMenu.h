#pragma once

#include <QComboBox>

namespace kr31 {

// The drop-down list of commands of the flowchart windows: at most twelve rows
// open at once, scrolling for the rest, whatever the desktop's style would do
// (some styles open a menu as tall as its items and ignore the row limit).
class CommandMenu : public QComboBox
{
public:
    static constexpr int VisibleRows = 12;

    CommandMenu(QWidget *parent, const QRect &geometry);
};

} // namespace kr31
