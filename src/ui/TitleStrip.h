#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace kr31 {

// Makes a picture the handle of its borderless window: pressing starts a
// drag, moving moves the window by the distance moved since the press and
// brings it to the front, releasing ends the drag.
class TitleStrip : public QObject
{
    Q_OBJECT
public:
    explicit TitleStrip(QWidget *handle);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_handle;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_windowStart;
};

} // namespace kr31
