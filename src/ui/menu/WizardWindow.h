#pragma once

#include "ui/FormWindow.h"

class QCheckBox;

namespace kr31 {

// The first-run wizard that finds a transfer mode the lamp hears. Here its
// opening page: continue later or close; it is shown modally at start.
class WizardWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit WizardWindow(Forms &forms);

    // Stores whether to open again at start (CheckBox1 ticked: no) and closes.
    void cancelClick();

private:
    QCheckBox *m_check;
};

} // namespace kr31
