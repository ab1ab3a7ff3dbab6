#include "ui/SendingDialogWindow.h"

#include <QLabel>
#include <QProgressBar>

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
}

void SendingDialogWindow::showOver(QObject *caller)
{
    ensureBuilt();
    m_bar->setValue(0);
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

} // namespace kr31
