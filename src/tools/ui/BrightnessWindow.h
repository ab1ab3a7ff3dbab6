#pragma once

#include "tools/ui/DeviceToolWindow.h"

class QSlider;

namespace kr31 {

// Real-time brightness: the child picks a brightness with the slider and
// sends it to the lamp at once, to see how bright a percentage looks.
class BrightnessWindow : public DeviceToolWindow
{
    Q_OBJECT
public:
    explicit BrightnessWindow(Forms &forms);

    // The slider's value, 0..100 percent (the starting 50 before the window is made).
    int percent() const;

    // Writes the slider's value into Label2; nothing is sent while it moves.
    void LMDTrackBar1Change(int value);
    // Sends header 6 and the brightness byte at once: no sending dialog, no pause.
    void TensoClick() override;

protected:
    void buildContents() override;

private:
    QSlider *m_slider = nullptr;
    QLabel *m_value = nullptr;
};

} // namespace kr31
