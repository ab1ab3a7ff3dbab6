// The yardstick for the start-up time: an empty frameless 600 x 400 Qt
// window that prints the moment of its first paint and quits, as kr31 does
// with KR31_QUIT_AFTER_FIRST_PAINT=1.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

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
            // As kr31 tells it: when the paint is done, on the monotonic clock.
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::printf("first paint %lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec);
            std::fflush(stdout);
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
