#pragma once

#include "ui/FormWindow.h"

namespace kr31 {

// The picture shown while the program starts.
class SplashWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit SplashWindow(Forms &forms);

    // The splash stands only a moment; the main menu reports missing files.
    void pictureMissing(const QString &) override {}
};

} // namespace kr31
