#include "ui/menu/SplashWindow.h"

namespace kr31 {

QString SplashWindow::picture()
{
    return QStringLiteral("Img/Menu/Splash.jpg");
}

SplashWindow::SplashWindow(Forms &forms)
    : FormWindow(15, QSize(400, 267), forms)
{
    setBackground(picture());
    setWindowFlag(Qt::SplashScreen);
}

} // namespace kr31
