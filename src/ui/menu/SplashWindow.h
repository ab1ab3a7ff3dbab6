#pragma once

#include "ui/FormWindow.h"

namespace kr31 {

// The picture shown while the program starts.
class SplashWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit SplashWindow(Forms &forms);
};

} // namespace kr31
