#include "ui/menu/SplashWindow.h"

namespace kr31 {

SplashWindow::SplashWindow(Forms &forms)
    : FormWindow(15, QSize(400, 267), forms)
{
    setBackground(QStringLiteral("Img/Menu/Splash.jpg"));
    setWindowFlag(Qt::SplashScreen);
}

} // namespace kr31
