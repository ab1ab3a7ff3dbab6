#pragma once

#include "link/Transmitter.h"
#include "ui/FormWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace kr31 {

// The small window shown while a transfer plays ("sending..."), centred
// over the window that sends, with a bar showing how far the sound has got.
class SendingDialogWindow : public FormWindow, public SendingDialog
{
    Q_OBJECT
public:
    // Closing it from the desktop only hides it (for the wizard: leaves it).
    void closeEvent(QCloseEvent *event) override { QWidget::closeEvent(event); }

    explicit SendingDialogWindow(Forms &forms);

    void showOver(QObject *caller) override;
    void close() override;

    // Shows the part of the sound played so far (0..total milliseconds).
    void setProgress(int playedMs, int totalMs);
    // Shows or hides the line saying that the sound waits for another
    // program's transfer to end.
    void setWaiting(bool waiting);

protected:
    void buildContents() override;

private:
    QProgressBar *m_bar = nullptr;
    QLabel *m_waiting = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kr31
