// The yardstick for the start-up time: an empty frameless 600 x 400 Qt
// window that prints the moment of its first paint and quits, as kr31 does
// with KR31_QUIT_AFTER_FIRST_PAINT=1.
#include "app/FirstPaint.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {
class Bare : public QWidget
{
public:
    Bare()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    {
        setFixedSize(600, 400);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QTimer::singleShot(0, qApp, [] {
            kr31::firstpaint::announce(); // the paint is done
            QApplication::quit();
        });
    }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Bare window;
    window.show();
    return app.exec();
}
