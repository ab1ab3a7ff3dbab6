#include "ui/menu/TransferModeWindow.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/Settings.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PageBrowser.h"
#include "ui/UiServices.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGroupBox>
#include <QRadioButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kr31 {

namespace {
const QString Folder = QStringLiteral("Img/SetUp/");
}

TransferModeWindow::TransferModeWindow(Forms &forms)
    : FormWindow(1, QSize(750, 500), forms)
{
}

void TransferModeWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Back/Mode.jpg"));

    auto *group = new QGroupBox(QStringLiteral("転送モード"), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setGeometry(30, 90, 170, 170);
    auto *layout = new QVBoxLayout(group);
    m_modes = new QButtonGroup(this);
    for (int mode = 0; mode < 4; ++mode) {
        auto *button = new QRadioButton(QString::number(mode), group);
        button->setObjectName(QStringLiteral("Mode%1").arg(mode));
        m_modes->addButton(button, mode);
        layout->addWidget(button);
    }

    m_browser = new PageBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setGeometry(230, 24, 499, 455);
    m_browser->setOpenExternalLinks(true);
    // The page is always longer than the pane: a scroll bar there from the
    // start spares a second layout of the whole page when it would appear.
    m_browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    addButton(Folder, {"Test_Start", 30, 290, 170, 44}, [this] { Test_StartClick(); });
    addButton(Folder, {"Wiza", 30, 350, 170, 44}, [this] { WizaClick(); });
    addButton(Folder, {"Bye", 88, 420, 55, 60}, [this] { ByeClick(); });
    bindKey(keys::Cancel, {QStringLiteral("Bye")});
    keys::markBoxFocus(m_browser);
}

int TransferModeWindow::selectedMode() const
{
    return m_modes ? qMax(0, m_modes->checkedId()) : 0;
}

void TransferModeWindow::selectMode(int mode)
{
    ensureBuilt();
    if (QAbstractButton *button = m_modes->button(mode))
        button->setChecked(true);
}

void TransferModeWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    selectMode(services().settings.waveMode());
    const QString page = resourcePath(guidePage());
    if (!QFileInfo::exists(page)) {
        services().dialogs.warning(msg::OpenError102);
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(page));
}

void TransferModeWindow::Test_StartClick()
{
    const int mode = selectedMode();
    if (!services().settings.setWaveMode(mode)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    services().dialogs.information(msg::transferModeSet(mode));
}

void TransferModeWindow::WizaClick()
{
    if (FormWindow *wizard = forms().form(17)) {
        wizard->hide(); // an open wizard starts over on its first page
        wizard->show();
        wizard->raise();
    }
}

void TransferModeWindow::ByeClick()
{
    forms().open(this, 6);
}

} // namespace kr31
