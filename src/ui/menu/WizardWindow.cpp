#include "ui/menu/WizardWindow.h"

#include "core/Messages.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "link/Packets.h"
#include "link/Transmitter.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"
#include "ui/menu/MainMenuWindow.h"
#include "ui/menu/TransferModeWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kr31 {

namespace {

using W = WizardWindow;

const QString Folder = QStringLiteral("Img/Wizard/");

const char *const PageNames[] = {"Start", "Connect", "Den_On", "Send", "Kakunin", "Jikko", "ShutDown", "Finish", "Manual"};

// Every page draws its text in a panel above y = 250; the buttons (120 x 40)
// stand in one row under it: back on the left, going on and Cancel on the right.
constexpr int Row = 340;
constexpr int Left = 24;
constexpr int Mid = 200;
constexpr int Right2 = 328;
constexpr int Right = 456;

// A button of a page: its place, its picture pair, and either a handler or a page it leads to.
struct WizardButton
{
    W::Page page;
    Place place;
    const char *picture;
    void (W::*click)();
    W::Page goesTo;
};

const WizardButton Buttons[] = {
    {W::Start, {"Next", Right2, Row, 120, 40}, "Next", &W::NextClick, W::Start},
    {W::Start, {"cancel", Right, Row, 120, 40}, "Cancel", &W::cancelClick, W::Start},
    {W::Start, {"Image34", Left, Row, 120, 40}, "shudo", &W::Image34Click, W::Start},

    {W::Connect, {"Image5", Right2, Row, 120, 40}, "Next", &W::Image5Click, W::Start},
    {W::Connect, {"Cancel_Connect", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    {W::Den_On, {"Image8", Right2, Row, 120, 40}, "Next", &W::Image8Click, W::Start},
    {W::Den_On, {"Image25", Left, Row, 120, 40}, "Back", nullptr, W::Connect},
    {W::Den_On, {"Cancel_Den_On", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    {W::Send, {"Image12", Right2, Row, 120, 40}, "Test", &W::Image12Click, W::Start},
    {W::Send, {"Image27", Left, Row, 120, 40}, "Back", nullptr, W::Den_On},
    {W::Send, {"Cancel_Send", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    {W::Kakunin, {"Image22", Mid, Row, 120, 40}, "Yes", nullptr, W::Jikko},
    {W::Kakunin, {"Image21", Right2, Row, 120, 40}, "No", nullptr, W::ShutDown},
    {W::Kakunin, {"Image28", Left, Row, 120, 40}, "Back", nullptr, W::Send},
    {W::Kakunin, {"Cancel_Kakunin", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    // "Jikko" sits alone under the text that names it, the answers in the row below.
    {W::Jikko, {"Image20", 240, 270, 120, 40}, "Jikko", &W::Image20Click, W::Start},
    {W::Jikko, {"Image18", Mid, Row, 120, 40}, "Yes", &W::Image18Click, W::Start},
    {W::Jikko, {"Image19", Right2, Row, 120, 40}, "No", &W::HelpClick, W::Start},
    {W::Jikko, {"Image31", Left, Row, 120, 40}, "Back", nullptr, W::Kakunin},
    {W::Jikko, {"Cancel_Jikko", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    {W::ShutDown, {"Image23", Right2, Row, 120, 40}, "Next", &W::Image23Click, W::Start},
    {W::ShutDown, {"Cancel_ShutDown", Right, Row, 120, 40}, "Cancel", &W::CancelClick, W::Start},

    {W::Finish, {"Image26", Right, Row, 120, 40}, "Finish", &W::Image26Click, W::Start},

    {W::Manual, {"renew", Right2, Row, 120, 40}, "renew", &W::renewClick, W::Start},
    {W::Manual, {"Image35", Left, Row, 120, 40}, "Back", nullptr, W::Start},
    {W::Manual, {"tojiru", Right, Row, 120, 40}, "tojiru", &W::tojiruClick, W::Start},
};

bool blinks(int mode)
{
    return mode == 2 || mode == 3;
}

} // namespace

WizardWindow::WizardWindow(Forms &forms)
    : FormWindow(17, QSize(600, 400), forms)
{
}

void WizardWindow::buildContents()
{
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(0, 0, width(), height());
    for (const char *name : PageNames) {
        auto *page = new QWidget(m_pages);
        page->setObjectName(QString::fromLatin1(name));
        // Each page's picture is the window's title strip.
        auto *background = new QLabel(page);
        background->setObjectName(QStringLiteral("Back_") + page->objectName());
        background->setGeometry(0, 0, width(), height());
        fillBackground(background);
        showPicture(background, QStringLiteral("Img/Wizard/Page_%1.jpg").arg(page->objectName()));
        new TitleStrip(background);
        m_pages->addWidget(page);
    }

    for (const WizardButton &b : Buttons) {
        std::function<void()> onClick = [this, to = b.goesTo] { goTo(to); };
        if (b.click)
            onClick = [this, click = b.click] { (this->*click)(); };
        PictureButton *button = addButton(Folder, b.place, onClick, QString::fromLatin1(b.picture));
        button->setParent(m_pages->widget(b.page));
        button->show();
    }

    QWidget *start = m_pages->widget(Start);
    m_check = new QCheckBox(QStringLiteral("次回から表示しない"), start);
    m_check->setObjectName(QStringLiteral("CheckBox1"));
    m_check->setGeometry(40, 268, 250, 32);

    // The power-on hint for modes 2 and 3 covers the page's own illustration
    // (the white around the picture hides it); the lit form lies over the unlit one.
    QWidget *denOn = m_pages->widget(Den_On);
    m_unlit = new QLabel(denOn);
    m_unlit->setObjectName(QStringLiteral("Image10"));
    showPicture(m_unlit, QStringLiteral("Img/Wizard/Den_On_A.jpg"));
    m_lit = new QLabel(denOn);
    m_lit->setObjectName(QStringLiteral("Image11"));
    showPicture(m_lit, QStringLiteral("Img/Wizard/Den_On_B.jpg"));
    for (QLabel *label : {m_unlit, m_lit}) {
        label->setGeometry(350, 80, 212, 166); // inside the page panel, clear of its frame
        label->setScaledContents(false);
        label->setAlignment(Qt::AlignCenter);
        fillBackground(label, Qt::white);
        label->hide();
    }
    m_blink = new QTimer(this);
    m_blink->setInterval(1000);
    connect(m_blink, &QTimer::timeout, this, &WizardWindow::blinkTick);

    QWidget *finish = m_pages->widget(Finish);
    m_digit = new QLabel(finish);
    m_digit->setObjectName(QStringLiteral("Label1"));
    m_digit->setGeometry(196, 128, 64, 64); // beside the page's text
    m_digit->setAlignment(Qt::AlignCenter);
    m_digit->setStyleSheet(QStringLiteral("background: white; color: #e65100; border: 2px solid #4e342e;"
                                          " border-radius: 12px; font-weight: bold; font-size: 40px"));
    m_result = new QLabel(finish);
    m_result->setObjectName(QStringLiteral("Image3"));
    m_result->setGeometry(300, 92, 260, 140);

    // The manual page's radio buttons stand where its picture draws them.
    auto *group = new QGroupBox(m_pages->widget(Manual));
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setGeometry(420, 86, 148, 152);
    group->setStyleSheet(QStringLiteral("QGroupBox { background: white; border: none }"
                                        " QRadioButton { font-size: 18px; font-weight: bold; color: #4e342e }"));
    auto *layout = new QVBoxLayout(group);
    m_modes = new QButtonGroup(this);
    for (int mode = 0; mode < 4; ++mode) {
        auto *button = new QRadioButton(QString::number(mode), group);
        button->setObjectName(QStringLiteral("Mode%1").arg(mode));
        m_modes->addButton(button, mode);
        layout->addWidget(button);
    }
    m_modes->button(0)->setChecked(true);
    // Esc is the Cancel of the page on show (each asks its question first).
    QStringList cancels;
    for (const WizardButton &b : Buttons) {
        const QString name = QString::fromLatin1(b.place.name);
        if (name.startsWith(QLatin1String("Cancel_")) || name == QLatin1String("cancel") || name == QLatin1String("tojiru"))
            cancels.append(name);
    }
    bindKey(keys::Cancel, cancels);
    // Ctrl+Enter sends the test sound or the start command of the page on show.
    bindKey(keys::Send, {QStringLiteral("Image12"), QStringLiteral("Image20")});
}

WizardWindow::Page WizardWindow::page() const
{
    return m_pages ? static_cast<Page>(m_pages->currentIndex()) : Start;
}

int WizardWindow::manualMode() const
{
    return m_modes ? qMax(0, m_modes->checkedId()) : 0;
}

bool WizardWindow::blinking() const
{
    return m_blink && m_blink->isActive();
}

void WizardWindow::blinkTick()
{
    ensureBuilt();
    m_lit->setVisible(m_lit->isHidden());
}

void WizardWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    if (event->spontaneous())
        return; // back from being minimised: carry on where the user was
    m_savedMode = services().settings.waveMode();
    if (services().settings.unreadable())
        services().dialogs.warning(msg::SettingsRead104);
    m_index = 0;
    m_blink->stop();
    m_check->setStyleSheet(QStringLiteral("QCheckBox { background: rgb(249, 237, 235); color: #4e342e;"
                                          " font-size: 15px; padding-left: 8px }"));
    goTo(Start);
}

void WizardWindow::hideEvent(QHideEvent *event)
{
    if (m_blink)
        m_blink->stop();
    FormWindow::hideEvent(event);
}

void WizardWindow::goTo(Page page)
{
    ensureBuilt();
    m_pages->setCurrentIndex(page);
}

void WizardWindow::NextClick()
{
    ensureBuilt();
    if (!services().settings.setWizardStart(m_check->isChecked() ? 0 : 1)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    goTo(Connect);
}

void WizardWindow::cancelClick()
{
    ensureBuilt();
    if (!services().settings.setWizardStart(m_check->isChecked() ? 0 : 1)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    hide();
}

void WizardWindow::Image34Click()
{
    ensureBuilt();
    const int mode = services().settings.waveMode();
    if (services().settings.unreadable()) {
        services().dialogs.warning(msg::OpenError102);
        return;
    }
    m_modes->button(mode)->setChecked(true);
    goTo(Manual);
}

void WizardWindow::toPowerOn()
{
    ensureBuilt();
    const bool hint = blinks(candidate());
    m_unlit->setVisible(hint);
    m_lit->setVisible(hint);
    if (hint)
        m_blink->start();
    else
        m_blink->stop();
    goTo(Den_On);
}

void WizardWindow::Image5Click()
{
    toPowerOn();
}

void WizardWindow::Image23Click()
{
    m_index = (m_index + 1) % int(Candidates.size());
    toPowerOn();
}

void WizardWindow::Image8Click()
{
    ensureBuilt();
    m_blink->stop();
    goTo(Send);
}

void WizardWindow::Image12Click()
{
    // The transmitter builds the sound in the mode the settings hold.
    if (!services().settings.setWaveMode(candidate())) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    // Asking whether the lamp played a sound that never left the computer
    // would mislead; the transmitter has told the user why.
    QPointer<WizardWindow> self(this);
    sendOver(Transfer::of(packet::wizardTestMelody()), [self](bool sent) {
        if (sent && self)
            self->goTo(Kakunin);
    });
}

void WizardWindow::Image20Click()
{
    services().transmitter.sendShortCommand(2);
}

void WizardWindow::Image18Click()
{
    ensureBuilt();
    const int mode = candidate();
    m_digit->setText(QString::number(mode));
    showPicture(m_result,
                blinks(mode) ? QStringLiteral("Img/Panel/Finish-1.jpg") : QStringLiteral("Img/Panel/Finish-2.jpg"));
    goTo(Finish);
}

void WizardWindow::Image26Click()
{
    const int mode = candidate();
    if (!services().settings.setWaveMode(mode)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    announce(mode);
    hide();
    if (FormWindow *page = forms().existing(1); page && page->isVisible())
        selectOnModePage(mode);
    // The menu stands behind the wizard at the first start: its digit must not lag.
    if (MainMenuWindow *menu = forms().mainMenu())
        menu->refreshMode();
}

void WizardWindow::renewClick()
{
    ensureBuilt();
    const int mode = manualMode();
    if (!services().settings.setWaveMode(mode)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    selectOnModePage(mode);
    if (MainMenuWindow *menu = forms().mainMenu())
        menu->refreshMode();
    announce(mode);
}

void WizardWindow::tojiruClick()
{
    ensureBuilt();
    if (!confirmLeaving())
        return;
    hide();
    selectOnModePage(manualMode());
}

void WizardWindow::CancelClick()
{
    if (!confirmLeaving())
        return;
    if (!services().settings.setWaveMode(m_savedMode)) {
        services().dialogs.warning(msg::SettingsWrite105);
        return;
    }
    hide();
}

bool WizardWindow::confirmLeaving()
{
    return services().dialogs.question(msg::LeaveWizardPrompt, AnswerButtons::YesCancel) == Answer::Yes;
}

void WizardWindow::announce(int mode)
{
    services().dialogs.information(msg::transferModeSet(mode));
}

void WizardWindow::selectOnModePage(int mode)
{
    // A page not made yet selects the stored mode when it is first shown.
    if (TransferModeWindow *page = forms().transferModePage(); page && page->isBuilt()) {
        page->selectMode(mode);
        page->repaint();
    }
}

} // namespace kr31
