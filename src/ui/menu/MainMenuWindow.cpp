#include "ui/menu/MainMenuWindow.h"
#include "ui/PlainTextBox.h"

#include "core/Settings.h"
#include "core/TextTools.h"
#include "ui/DrawnAheadLabel.h"
#include "ui/FirstPainted.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace kr31 {

namespace {

const QString Folder = QStringLiteral("Img/Menu/");

struct Tool
{
    Place place;
    const char *picture;
    int opens;
    const char *hint;
};

const Tool Tools[] = {
    {{"Image2", 58, 135, 80, 110}, "DD", 8,
     "アイコンのドラッグ＆ドロップでLEDの制御プログラムを作成することが出来ます。"},
    {{"Image3", 148, 135, 80, 110}, "mFuro", 5, "フロチャートでLEDの制御プログラムを作成することが出来ます。"},
    {{"Image5", 238, 135, 80, 110}, "moji", 9,
     "キーボードの文字入力でLEDの制御プログラムを作成することが出来ます。"},
    {{"Image4", 358, 135, 80, 110}, "melody", 4, "目覚ましメロディの制御プログラムを作成することが出来ます。"},
    {{"Image6", 66, 301, 94, 64}, "Real", 3, "LEDの明るさをスライダーを動かして確認することが出来ます。"},
    {{"Image7", 174, 301, 94, 64}, "mbeep", 13, "4種類の電子音から目覚まし音を転送することが出来ます。"},
};

const QString HintFont = QStringLiteral("ＭＳ Ｐゴシック");
// A hint is shown as large as it fits the box, within these sizes in pixels.
constexpr int LargestHintPx = 15;
constexpr int SmallestHintPx = 12;
constexpr int HintMargin = 2;

const char *const SetUpHint = "データ転送の設定、文字プログラミングの関数設定及び本体のLED、メロディを初期状態に戻すことが出来ます。";

} // namespace

QString MainMenuWindow::pictureOpening(int form)
{
    for (const Tool &tool : Tools) {
        if (tool.opens == form)
            return QString::fromLatin1(tool.place.name);
    }
    return {};
}

QStringList MainMenuWindow::pictures()
{
    QStringList pictures{Folder + QStringLiteral("Back.jpg")};
    for (const Tool &tool : Tools)
        pictures.append(Folder + QString::fromLatin1(tool.picture) + QStringLiteral(".jpg"));
    pictures.append(Folder + QStringLiteral("SetUp.jpg"));
    pictures.append(Folder + QStringLiteral("Bye.jpg"));
    return pictures;
}

MainMenuWindow::~MainMenuWindow()
{
    keys::unhookEvents(this);
}

MainMenuWindow::MainMenuWindow(Forms &forms)
    : FormWindow(2, QSize(600, 400), forms)
{
    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("Image1"));
    m_background->setGeometry(0, 0, 600, 400);
    m_background->setMouseTracking(true);
    m_background->installEventFilter(this);
    showPicture(m_background, Folder + QStringLiteral("Back.jpg"));

    auto *strip = new QLabel(this);
    strip->setObjectName(QStringLiteral("Image8"));
    strip->setGeometry(0, 0, 600, 57);
    strip->setAttribute(Qt::WA_TranslucentBackground);
    strip->setMouseTracking(true);
    strip->installEventFilter(this);
    new TitleStrip(strip);

    for (const Tool &tool : Tools) {
        auto *image = new QLabel(this);
        image->setObjectName(QString::fromLatin1(tool.place.name));
        image->setGeometry(tool.place.x, tool.place.y, tool.place.w, tool.place.h);
        image->setMouseTracking(true);
        image->setProperty("hint", QString::fromUtf8(tool.hint));
        image->installEventFilter(this);
        m_tools.append(image);
        m_hinted.append(image);
    }
    highlight(-1);

    auto *setUp = addButton(Folder, {"SetUp", 472, 349, 100, 30}, [this] { SetUpClick(); });
    setUp->setProperty("hint", QString::fromUtf8(SetUpHint));
    setUp->setMouseTracking(true);
    setUp->installEventFilter(this);
    m_hinted.append(setUp);
    // Pictures without a hint empty the box when the mouse comes onto them.
    QWidget *bye = addButton(Folder, {"Bye", 544, 10, 43, 42}, [this] { ByeClick(); });
    bye->setMouseTracking(true);
    bye->installEventFilter(this);
    m_unhinted = {m_background, strip, bye};

    m_digit = new DrawnAheadLabel(this);
    m_digit->setObjectName(QStringLiteral("Label1"));
    QFont digitFont = m_digit->font();
    digitFont.setPixelSize(27);
    digitFont.setBold(true);
    m_digit->setFont(digitFont);
    m_digit->setGeometry(496, 306, 17, 26);
    m_digit->setAlignment(Qt::AlignCenter);
    // The four modes' digits, drawn while the rest of the menu is made and shown.
    m_digit->drawAhead({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});

    // Memo1 is made with the first hint: an empty box shows nothing, and its
    // text layout would look up the fonts before the menu's first paint.
    installShortcuts();
    // The hand over the tool pictures comes after the first paint: the mouse
    // may rest on one as the menu appears, and reading the cursor theme
    // would hold that paint up.
    whenFirstPainted(this, [this] {
        for (QLabel *tool : std::as_const(m_tools))
            tool->setCursor(Qt::PointingHandCursor);
    });
}

void MainMenuWindow::installShortcuts()
{
    m_toolMark = new keys::SelectionFrame(this);
    for (int i = 0; i < m_tools.size(); ++i) {
        m_tools.at(i)->setFocusPolicy(Qt::TabFocus);
        keys::markFocusOf(m_tools.at(i));
        keys::hookEvents(this, {m_tools.at(i)}, [this, i](QObject *, QEvent *event) { return toolKeyEvent(i, event); });
    }
    keys::whenKeyboardInUseChanges(this, [this] { showToolFocus(); });
}

void MainMenuWindow::showToolFocus()
{
    // As the mouse does: the picture lights up and its hint shows.
    const int index = m_tools.indexOf(qobject_cast<QLabel *>(focusWidget()));
    if (index < 0 || !m_tools.at(index)->hasFocus() || !keys::keyboardInUse()) {
        m_toolMark->hide();
        return;
    }
    highlight(index);
    showHint(m_tools.at(index)->property("hint").toString());
    m_toolMark->frame(m_tools.at(index)->geometry().adjusted(4, 4, -4, -4));
    m_toolMark->raise();
    m_toolMark->show();
}

bool MainMenuWindow::toolKeyEvent(int index, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        showToolFocus();
        return false;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool press = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
        if (!press || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        forms().open(this, Tools[index].opens);
        return true;
    }
    default:
        return false;
    }
}

void MainMenuWindow::highlight(int index)
{
    if (index == m_highlighted)
        return;
    m_highlighted = index;
    for (int i = 0; i < m_tools.size(); ++i) {
        const QString picture = QString::fromLatin1(Tools[i].picture) + (i == index ? QStringLiteral("1") : QString());
        showPicture(m_tools.at(i), Folder + picture + QStringLiteral(".jpg"));
    }
    if (index >= 0)
        emit toolPointedAt(Tools[index].opens);
}

void MainMenuWindow::showHint(const QString &hint)
{
    if (!m_memo && hint.isEmpty())
        return;
    if (!m_memo)
        makeMemo();
    if (m_hint == hint)
        return;
    m_hint = hint;
    // Broken between phrases, never inside a word (Qt would break between any
    // two kana or kanji), at the largest size whose lines fit the box.
    const int width = m_memo->viewport()->width() - 2 * HintMargin - 1;
    const int height = m_memo->viewport()->height() - 2 * HintMargin;
    QFont font = m_memo->font();
    QStringList lines;
    for (int px = LargestHintPx; px >= SmallestHintPx; --px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        lines = text::wrapPhrases(hint, width, [&](const QString &piece) { return metrics.horizontalAdvance(piece); });
        if (lines.size() * metrics.lineSpacing() <= height)
            break;
    }
    m_memo->setFont(font);
    m_memo->setPlainText(lines.join(u'\n'));
}

void MainMenuWindow::makeMemo()
{
    m_memo = new PlainTextBox(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    // The whole white box of the picture, so that the longest hint fits in a
    // size a child can read.
    m_memo->setGeometry(314, 289, 126, 88);
    m_memo->setFrameStyle(QFrame::NoFrame);
    m_memo->setEnabled(false);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->document()->setDocumentMargin(HintMargin);
    // The menu's picture shows through; a palette, as a style sheet costs
    // milliseconds of the start-up. Disabled, the box takes its colours
    // from the palette's disabled group, which this sets too.
    QPalette palette = m_memo->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, QColor(0x1b, 0x1b, 0x1b));
    m_memo->setPalette(palette);
    QFont memoFont(HintFont);
    memoFont.setPixelSize(SmallestHintPx);
    m_memo->setFont(memoFont);
    m_memo->show();
}

bool MainMenuWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_background) {
            highlight(-1);
            showHint(QString());
        } else if (m_unhinted.contains(watched)) {
            showHint(QString());
        } else if (auto *widget = qobject_cast<QWidget *>(watched); widget && m_hinted.contains(widget)) {
            const int index = m_tools.indexOf(static_cast<QLabel *>(widget));
            const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
            if (index >= 0 && widget->rect().contains(pos))
                highlight(index);
            showHint(widget->property("hint").toString());
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const int index = m_tools.indexOf(qobject_cast<QLabel *>(watched));
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (index >= 0 && mouse->button() == Qt::LeftButton &&
            m_tools.at(index)->rect().contains(mouse->position().toPoint()))
            forms().open(this, Tools[index].opens);
    }
    return FormWindow::eventFilter(watched, event);
}

void MainMenuWindow::SetUpClick()
{
    forms().open(this, 6);
}

void MainMenuWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    refreshMode();
    // A hint from before the menu was left would stand for a picture the mouse is no longer on.
    showHint(QString());
    highlight(-1);
    if (!m_firstShow)
        return;
    m_firstShow = false;
    const bool wizard = services().settings.wizardStart() == 1;
    // After this showing has finished, so the menu stands behind the wizard.
    QTimer::singleShot(0, this, [this, wizard] {
        if (FormWindow *form = wizard ? forms().form(17) : nullptr)
            forms().runModal(form);
        emit started();
    });
}

void MainMenuWindow::refreshMode()
{
    m_digit->setText(QString::number(services().settings.waveMode()));
    m_digit->repaint();
}

void MainMenuWindow::closeEvent(QCloseEvent *event)
{
    // Closing the main menu ends the program.
    event->accept();
    Q_EMIT closed();
}

} // namespace kr31
