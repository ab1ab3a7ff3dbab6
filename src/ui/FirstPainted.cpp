#include "ui/FirstPainted.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

namespace kr31 {

namespace {

// Watches the paint events of one window until its first, then runs what
// waits for it.
class FirstPaintWatch : public QObject
{
public:
    explicit FirstPaintWatch(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        qApp->installEventFilter(this);
    }
    std::vector<std::function<void()>> waiting;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            qApp->removeEventFilter(this);
            // After the paint has finished.
            QTimer::singleShot(0, m_window, [waiting = std::exchange(waiting, {})] {
                for (const auto &then : waiting)
                    then();
            });
            deleteLater();
        }
        return false;
    }

private:
    QWidget *m_window;
};

} // namespace

void whenFirstPainted(QWidget *window, std::function<void()> then, PaintTurn turn)
{
    FirstPaintWatch *watch = nullptr;
    for (QObject *child : window->children()) {
        auto *found = dynamic_cast<FirstPaintWatch *>(child);
        if (found && !found->waiting.empty()) // a spent one waits only for its deletion
            watch = found;
    }
    if (!watch)
        watch = new FirstPaintWatch(window);
    if (turn == PaintTurn::BeforeOthers)
        watch->waiting.insert(watch->waiting.begin(), std::move(then));
    else
        watch->waiting.push_back(std::move(then));
}

} // namespace kr31
