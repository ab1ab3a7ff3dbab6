#include "ui/menu/WizardWindow.h"

#include "core/Messages.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "ui/UiServices.h"

#include <QCheckBox>

namespace kr31 {

WizardWindow::WizardWindow(Forms &forms)
    : FormWindow(17, QSize(600, 400), forms)
{
    setBackground(QStringLiteral("Img/Wizard/Page_Start.jpg"));
    m_check = new QCheckBox(QStringLiteral("次回から表示しない"), this);
    m_check->setObjectName(QStringLiteral("CheckBox1"));
    m_check->setGeometry(40, 340, 220, 24);
    m_check->setStyleSheet(QStringLiteral("background: rgb(249, 237, 235)"));
    addButton(QStringLiteral("Img/Wizard/"), {"cancel", 440, 336, 120, 40}, [this] { cancelClick(); },
              QStringLiteral("Cancel"));
}

void WizardWindow::cancelClick()
{
    if (!services().settings.setWizardStart(m_check->isChecked() ? 0 : 1)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    hide();
}

} // namespace kr31
