// The yardstick for the start-up time: an empty frameless 600 x 400 Qt
// window that quits right after its first paint, as kr31 does with
// KR31_QUIT_AFTER_FIRST_PAINT=1.
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
    void paintEvent(QPaintEvent *) override { QTimer::singleShot(0, qApp, &QApplication::quit); }
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Bare window;
    window.show();
    return app.exec();
}
