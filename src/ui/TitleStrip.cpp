#include "ui/TitleStrip.h"

#include <QMouseEvent>
#include <QWidget>

namespace kr31 {

TitleStrip::TitleStrip(QWidget *handle)
    : QObject(handle)
    , m_handle(handle)
{
    handle->installEventFilter(this);
}

bool TitleStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_handle)
        return false;
    QWidget *window = m_handle->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton) {
            m_dragging = true;
            m_pressGlobal = e->globalPosition().toPoint();
            m_windowStart = window->pos();
        }
        break;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            auto *e = static_cast<QMouseEvent *>(event);
            window->move(m_windowStart + (e->globalPosition().toPoint() - m_pressGlobal));
            window->raise();
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace kr31
