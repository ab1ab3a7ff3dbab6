#pragma once

#include "ui/FormWindow.h"

namespace kr31 {

// The picture shown while the program starts.
class SplashWindow : public FormWindow
{
    Q_OBJECT
public:
    // Closing it from the desktop only hides it (for the wizard: leaves it).
    void closeEvent(QCloseEvent *event) override { QWidget::closeEvent(event); }

    explicit SplashWindow(Forms &forms);
    // Its picture (the start-up begins decoding it before the window is made).
    static QString picture();

    // The splash stands only a moment; the main menu reports missing files.
    void pictureMissing(const QString &) override {}
};

} // namespace kr31
