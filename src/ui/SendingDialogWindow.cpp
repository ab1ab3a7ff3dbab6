#include "ui/SendingDialogWindow.h"

#include "core/Messages.h"
#include "ui/UiServices.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kr31 {

SendingDialogWindow::SendingDialogWindow(Forms &forms)
    : FormWindow(7, QSize(300, 150), forms)
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
}

void SendingDialogWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Panel/Sending.jpg"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setGeometry(40, 131, 220, 9);
    m_bar->setRange(0, 1000);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_waiting = new QLabel(msg::WaitingForTurn, this);
    m_waiting->setObjectName(QStringLiteral("WaitingLabel"));
    m_waiting->setGeometry(20, 104, 260, 20);
    m_waiting->setAlignment(Qt::AlignCenter);
    // Over the picture's "please wait" line, in the panel's own colour.
    fillBackground(m_waiting, QColor(249, 236, 217));
    m_waiting->hide();
    // A wait for another program's transfer can take minutes: it can be ended.
    m_cancel = new QPushButton(QStringLiteral("やめる"), this);
    m_cancel->setObjectName(QStringLiteral("CancelWait"));
    m_cancel->setGeometry(205, 101, 75, 26);
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, [this] { services().transmitter.cancel(); });
}

void SendingDialogWindow::showOver(QObject *caller)
{
    ensureBuilt();
    m_bar->setValue(0);
    m_waiting->hide();
    m_cancel->hide();
    showCentredOver(qobject_cast<QWidget *>(caller));
    repaint();
}

void SendingDialogWindow::close()
{
    hide();
}

void SendingDialogWindow::setProgress(int playedMs, int totalMs)
{
    ensureBuilt();
    m_bar->setValue(totalMs > 0 ? int(qint64(qBound(0, playedMs, totalMs)) * 1000 / totalMs) : 0);
}

void SendingDialogWindow::setWaiting(bool waiting)
{
    ensureBuilt();
    m_waiting->setGeometry(20, 104, waiting ? 180 : 260, 20);
    m_waiting->setVisible(waiting);
    m_cancel->setVisible(waiting);
}

} // namespace kr31
