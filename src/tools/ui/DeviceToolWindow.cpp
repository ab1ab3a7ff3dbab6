#include "tools/ui/DeviceToolWindow.h"

#include "core/Settings.h"
#include "ui/Keys.h"
#include "ui/UiServices.h"

#include <QLabel>

namespace kr31 {

namespace {
const QString ButtonFolder = QStringLiteral("Img/Common_Button/");
const QString UiFont = QStringLiteral("ＭＳ Ｐゴシック");
} // namespace

DeviceToolWindow::DeviceToolWindow(int number, const QString &background, const QString &instruction,
                                   Forms &forms)
    : FormWindow(number, QSize(750, 500), forms)
    , m_background(background)
    , m_instruction(instruction)
{
}

void DeviceToolWindow::buildContents()
{
    QFont font(UiFont);
    font.setPixelSize(14);
    setFont(font);
    setBackground(m_background);
    // Send where the editors have it, then the shared chrome.
    addButton(ButtonFolder, {"Tenso", 351, 13, 90, 60}, [this] { TensoClick(); });
    addChrome(ButtonFolder, {"Menu", 570, 13, 55, 60}, {"Help", 625, 13, 55, 60}, {"Bye", 680, 13, 55, 60});
    bindKey(keys::Send, {QStringLiteral("Tenso")});

    QLabel *hint = addText(m_instruction, QRect(50, 95, 650, 56), 19, true);
    hint->setObjectName(QStringLiteral("Instruction"));
    hint->setWordWrap(true);
    hint->setStyleSheet(QStringLiteral("color: #5d4037"));

    addText(QStringLiteral("てんそうモード"), QRect(20, 446, 110, 30), 15)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_mode = addText(QString(), QRect(134, 444, 24, 34), 27, true);
    m_mode->setObjectName(QStringLiteral("Label1"));
    m_mode->setAlignment(Qt::AlignCenter);
}

QLabel *DeviceToolWindow::addText(const QString &text, const QRect &r, int pixelSize, bool bold)
{
    auto *label = new QLabel(text, this);
    QFont f = font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    label->setFont(f);
    label->setGeometry(r);
    return label;
}

void DeviceToolWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    if (m_mode)
        m_mode->setText(QString::number(services().settings.waveMode()));
}

} // namespace kr31
