#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <functional>

namespace kr31 {

// While it lives, mouse, key, wheel and touch input to the whole program is
// dropped (not deferred): a click made while a transfer plays must not fire
// afterwards. Painting and timers go on.
class InputBlocker : public QObject
{
public:
    // Input to the objects that `passes` names still goes through.
    explicit InputBlocker(std::function<bool(const QObject *)> passes = {})
        : m_passes(std::move(passes))
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputBlocker() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeEventFilter(this);
    }

    static bool isUserInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        return isUserInput(event->type()) && !(m_passes && m_passes(object));
    }

private:
    std::function<bool(const QObject *)> m_passes;
};

} // namespace kr31
