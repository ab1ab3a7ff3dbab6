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

    // The mode checked in RadioGroup1 (0 while none is, or before the page is made).
    int selectedMode() const;
    void selectMode(int mode);

    void Test_StartClick();
    void WizaClick();
    void ByeClick() override;

    QString guidePage() const override { return QStringLiteral("HTML/SetUp/index.html"); }

protected:
    void buildContents() override;
    void showEvent(QShowEvent *event) override;

private:
    QButtonGroup *m_modes = nullptr;
    QTextBrowser *m_browser = nullptr;
};

} // namespace kr31
