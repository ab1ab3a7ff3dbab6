#include "ui/FormWindow.h"

#include "core/Geometry.h"
#include "core/Messages.h"
#include "core/Resources.h"
#include "core/Services.h"
#include "link/Transmitter.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PageBrowser.h"
#include "ui/PictureButton.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

namespace kr31 {

FormWindow::FormWindow(int number, QSize size, Forms &forms, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_number(number)
    , m_forms(forms)
{
    setObjectName(QStringLiteral("TForm%1").arg(number));
    setFixedSize(size);
    setWindowTitle(QStringLiteral("KR-31"));
}

void FormWindow::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    // The window's own keys work only while it is active, so they are made
    // with its contents, not at start.
    // F1 is the help button where the window has one, the user guide elsewhere.
    bindKey(QKeySequence(Qt::Key_F1), {QStringLiteral("Help")}, [this] { HelpClick(); });
    // Ctrl+Tab leaves a text box that takes Tab for itself.
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { focusNextPrevChild(true); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { focusNextPrevChild(false); });
    buildContents();
}

void FormWindow::setVisible(bool visible)
{
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

QShortcut *FormWindow::addShortcut(const QKeySequence &key, std::function<void()> handler)
{
    auto *shortcut = new QShortcut(key, this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, std::move(handler));
    return shortcut;
}

PictureButton *FormWindow::shownButton(const QString &name) const
{
    const QList<PictureButton *> buttons = findChildren<PictureButton *>(name);
    for (PictureButton *button : buttons) {
        if (button->isVisibleTo(this) && button->isEnabled())
            return button;
    }
    return nullptr;
}

void FormWindow::bindKey(const QKeySequence &key, const QStringList &buttons, std::function<void()> fallback)
{
    const auto press = [this, buttons, fallback] {
        for (const QString &name : buttons) {
            if (PictureButton *button = shownButton(name)) {
                button->click();
                return;
            }
        }
        if (fallback)
            fallback();
    };
    addShortcut(key, press);
    // The keypad's Enter does what Return does.
    const QKeyCombination combination = key[0];
    if (key.count() == 1 && combination.key() == Qt::Key_Return)
        addShortcut(QKeySequence(combination.keyboardModifiers() | Qt::Key_Enter), press);
    for (const QString &name : buttons) {
        m_buttonKeys[name].append(key);
        for (PictureButton *button : findChildren<PictureButton *>(name))
            showKeysIn(button);
    }
}

void FormWindow::showKeysIn(PictureButton *button) const
{
    button->setToolTip(keys::tip(button->caption(), m_buttonKeys.value(button->objectName())));
}

Services &FormWindow::services()
{
    return m_forms.services();
}

bool FormWindow::sendOver(const Transfer &transfer, std::function<void(bool)> done)
{
    return services().transmitter.start(transfer, std::move(done), &m_forms.sendingDialog(), this);
}

void FormWindow::prepareGuidePage()
{
    const QString page = guidePage().isEmpty() ? QString() : resourcePath(guidePage());
    if (m_shownBefore || m_guidePrepared || page.isEmpty() || !QFileInfo::exists(page))
        return; // a missing page is reported when the window shows
    m_guidePrepared = true;
    // A pane in the window's font, never shown, drawn into an image.
    PageBrowser pane;
    pane.setAttribute(Qt::WA_DontShowOnScreen);
    pane.setFont(font());
    pane.resize(500, 400);
    pane.setSource(QUrl::fromLocalFile(page));
    QImage image(pane.size(), QImage::Format_RGB32);
    pane.render(&image);
}

void FormWindow::fillBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel *FormWindow::setBackground(const QString &picture)
{
    auto *background = new QLabel(this);
    background->setObjectName(QStringLiteral("Image1"));
    background->setGeometry(0, 0, width(), height());
    background->lower();
    fillBackground(background);
    showPicture(background, picture);
    new TitleStrip(background);
    return background;
}

PictureButton *FormWindow::addButton(const QString &folder, const Place &place, std::function<void()> onClick,
                                     const QString &picture)
{
    auto *button = new PictureButton(folder, QString::fromLatin1(place.name), this, picture);
    button->setGeometry(place.x, place.y, place.w, place.h);
    button->onMissingPicture = [this](const QString &path) { pictureMissing(path); };
    button->showReleased();
    showKeysIn(button);
    if (onClick)
        connect(button, &PictureButton::clicked, this, std::move(onClick));
    else {
        // A picture without an action: no stop for Tab, no hand over it.
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
    }
    return button;
}

bool FormWindow::showPicture(QLabel *label, const QString &picture)
{
    return loadPicture(label, picture, [this](const QString &path) { pictureMissing(path); });
}

void FormWindow::addChrome(const QString &folder, const Place &menu, const Place &help, const Place &bye)
{
    addButton(folder, menu, [this] { MenuClick(); });
    addButton(folder, help, [this] { HelpClick(); });
    addButton(folder, bye, [this] { ByeClick(); });
}

void FormWindow::pictureMissing(const QString &)
{
    m_missingPending = true;
    if (isVisible())
        QTimer::singleShot(0, this, [this] { reportMissing(); });
}

void FormWindow::reportMissing()
{
    // One box per showing is enough to tell the user; a box per picture
    // would bury the window under dozens of them.
    if (!m_missingPending || m_missingShown)
        return;
    m_missingPending = false;
    m_missingShown = true;
    services().dialogs.warning(msg::FileMissing101);
}

void FormWindow::setOpener(QWidget *opener)
{
    m_opener = opener ? opener->window() : nullptr;
}

void FormWindow::placeCentredOver(QWidget *opener)
{
    setOpener(opener);
    if (opener) {
        const QRect o = opener->window()->frameGeometry();
        move(centredOver(o.x(), o.width(), width()), centredOver(o.y(), o.height(), height()));
    }
}

void FormWindow::showCentredOver(QWidget *opener)
{
    placeCentredOver(opener);
    show();
    raise();
    activateWindow();
}

void FormWindow::MenuClick()
{
    m_forms.backToMenu(this);
}

void FormWindow::ByeClick()
{
    m_forms.quit();
}

QFont FormWindow::useWindowFont(int pixelSize)
{
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    setFont(font);
    return font;
}

QFont FormWindow::addEditorChrome(const QString &backName, const QString &backPicture, const QString &titlePicture,
                                  const QColor &paper)
{
    const QFont font = useWindowFont(12);
    auto *back = new QLabel(this);
    back->setObjectName(backName);
    back->setGeometry(0, 0, 750, 500);
    fillBackground(back, paper);
    showPicture(back, backPicture);
    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("Image17"));
    title->setGeometry(0, 0, 750, 73);
    showPicture(title, titlePicture);
    new TitleStrip(title);
    return font;
}

void FormWindow::HelpClick()
{
    QString failure;
    if (!m_forms.openHelp(&failure) && m_helpReportsFailure)
        services().dialogs.warning(failure);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    ByeClick();
}

void FormWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_shownBefore = true;
    m_missingShown = false;
    if (!m_placed && !testAttribute(Qt::WA_Moved)) {
        m_placed = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
        }
    }
    if (m_missingPending)
        QTimer::singleShot(0, this, [this] { reportMissing(); });
}

} // namespace kr31
