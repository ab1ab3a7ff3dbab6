#pragma once

#include "tools/ui/DeviceToolWindow.h"

class QButtonGroup;

namespace kr31 {

// Alarm sound: the child picks one of the lamp's four built-in alarm sounds
// and sends the choice (a melody packet holding only the pattern code).
class AlarmSoundWindow : public DeviceToolWindow
{
    Q_OBJECT
public:
    explicit AlarmSoundWindow(Forms &forms);

    // The selected pattern, 1..4. Pattern 1 is selected from the start, so a
    // packet always carries a pattern code.
    int pattern() const;

    // Sending dialog, 500 ms, then the alarm sound packet of the pattern.
    void TensoClick() override;

protected:
    void buildContents() override;

private:
    QButtonGroup *m_patterns = nullptr;
};

} // namespace kr31
