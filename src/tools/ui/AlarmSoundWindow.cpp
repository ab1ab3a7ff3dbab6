#include "tools/ui/AlarmSoundWindow.h"

#include "link/Packets.h"
#include "link/Transmitter.h"
#include "ui/Forms.h"
#include "ui/UiServices.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGridLayout>
#include <QRadioButton>

namespace kr31 {

namespace {
const char *const PatternNames[] = {"パターン１", "パターン２", "パターン３", "パターン４"};
}

AlarmSoundWindow::AlarmSoundWindow(Forms &forms)
    : DeviceToolWindow(13, QStringLiteral("Img/Back/Beep.jpg"),
                       QStringLiteral("めざましの おとを ひとつ えらんで、「おくる」を おしてね。"), forms)
{
}

void AlarmSoundWindow::buildContents()
{
    DeviceToolWindow::buildContents();
    auto *group = new QGroupBox(QStringLiteral("めざましの おと"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(140, 170, 470, 190);
    QFont groupFont = font();
    groupFont.setPixelSize(16);
    group->setFont(groupFont);
    group->setStyleSheet(QStringLiteral("QGroupBox { background: rgba(255,255,255,200); border: 3px solid #ef5350;"
                                        "  border-radius: 14px; margin-top: 14px; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 18px; padding: 0 6px; }"
                                        "QRadioButton::indicator { width: 26px; height: 26px; }"));
    auto *grid = new QGridLayout(group);
    grid->setContentsMargins(36, 28, 36, 20);
    m_patterns = new QButtonGroup(this);
    QFont choiceFont = font();
    choiceFont.setPixelSize(24);
    choiceFont.setBold(true);
    for (int k = 1; k <= 4; ++k) {
        auto *button = new QRadioButton(QString::fromUtf8(PatternNames[k - 1]), group);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(k));
        button->setFont(choiceFont);
        m_patterns->addButton(button, k);
        grid->addWidget(button, (k - 1) / 2, (k - 1) % 2);
    }
    m_patterns->button(1)->setChecked(true);
}

int AlarmSoundWindow::pattern() const
{
    return m_patterns ? qBound(1, m_patterns->checkedId(), 4) : 1;
}

void AlarmSoundWindow::TensoClick()
{
    sendOver(Transfer::of(packet::alarmSound(pattern())));
}

} // namespace kr31
