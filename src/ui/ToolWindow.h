#pragma once

#include "ui/FormWindow.h"

namespace kr31 {

// A tool window with its background and the shared chrome (Menu, Help, Bye),
// reachable and leavable from the main menu; its own controls are added by
// the tool's class.
class ToolWindow : public FormWindow
{
    Q_OBJECT
public:
    ToolWindow(int number, QSize size, const QString &background, const QString &title, Forms &forms);
};

} // namespace kr31
