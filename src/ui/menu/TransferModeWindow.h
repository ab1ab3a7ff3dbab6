#pragma once

#include "ui/FormWindow.h"

class QButtonGroup;
class QTextBrowser;

namespace kr31 {

// The transfer mode page: choose the signal variant 0..3 with its
// explanation beside it, store it, or start the wizard.
class TransferModeWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit TransferModeWindow(Forms &forms);

    int selectedMode() const;
    void selectMode(int mode);

    void Test_StartClick();
    void WizaClick();
    void ByeClick() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QButtonGroup *m_modes;
    QTextBrowser *m_browser;
};

} // namespace kr31
