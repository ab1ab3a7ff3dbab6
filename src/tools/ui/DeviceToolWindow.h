#pragma once

#include "ui/FormWindow.h"

class QLabel;

namespace kr31 {

// The frame shared by the two small device tools (brightness, alarm sound):
// a 750 × 500 picture window with `Tenso` (send), `Menu`, `Help` and `Bye`
// along the top, a short instruction for the child, and `Label1` showing the
// transfer mode, read again at every showing.
class DeviceToolWindow : public FormWindow
{
    Q_OBJECT
public:
    DeviceToolWindow(int number, const QString &background, const QString &instruction, Forms &forms);

    // Sends the window's packet to the lamp.
    virtual void TensoClick() = 0;

protected:
    // The frame; a tool's own controls follow in its override, after this one.
    void buildContents() override;
    void showEvent(QShowEvent *event) override;
    // A label with a pixel size, bold when asked, placed at r.
    QLabel *addText(const QString &text, const QRect &r, int pixelSize, bool bold = false);

private:
    QString m_background;
    QString m_instruction;
    QLabel *m_mode = nullptr;
};

} // namespace kr31
