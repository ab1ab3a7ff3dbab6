#include "editors/text/ui/TextFindBar.h"

#include "core/Messages.h"
#include "editors/text/ui/TextControl.h"
#include "ui/Keys.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace kr31 {

namespace {

QPushButton *addButton(QGridLayout *grid, const char *name, const QString &text, const QString &tip, int row,
                       int column, std::function<void()> onClick)
{
    auto *button = new QPushButton(text, grid->parentWidget());
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, grid->parentWidget(), std::move(onClick));
    grid->addWidget(button, row, column);
    return button;
}

} // namespace

TextFindBar::TextFindBar(QWidget *window, TextControl *control)
    : QFrame(window)
    , m_control(control)
    , m_controlPlace(control->widget()->geometry())
{
    setObjectName(QStringLiteral("FindBar"));
    setStyleSheet(QStringLiteral(
        "#FindBar { background: #ece4f8; border: 1px solid #9b85c4; border-radius: 4px; }"
        "QPushButton { padding: 1px 4px; }"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 3, 4, 3);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);

    grid->addWidget(new QLabel(QStringLiteral("さがす"), this), 0, 0);
    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("FindText"));
    m_find->setToolTip(QStringLiteral("Enter で つぎ / Shift+Enter で まえ"));
    grid->addWidget(m_find, 0, 1);
    addButton(grid, "FindPrevious", QStringLiteral("▲まえ"), keys::tip(QStringLiteral("まえを さがす"), {Qt::SHIFT | Qt::Key_F3}),
              0, 2, [this] { findPrevious(); });
    addButton(grid, "FindNext", QStringLiteral("つぎ▼"), keys::tip(QStringLiteral("つぎを さがす"), {Qt::Key_F3}), 0, 3,
              [this] { findNext(); });

    m_replaceLabel = new QLabel(QStringLiteral("おきかえ"), this);
    grid->addWidget(m_replaceLabel, 1, 0);
    m_replace = new QLineEdit(this);
    m_replace->setObjectName(QStringLiteral("ReplaceText"));
    m_replace->setToolTip(QStringLiteral("Enter で ひとつ おきかえる"));
    grid->addWidget(m_replace, 1, 1);
    m_replaceOne = addButton(grid, "ReplaceOne", QStringLiteral("おきかえる"),
                             QStringLiteral("みつけた ところを おきかえて つぎを さがす"), 1, 2, [this] { replaceOne(); });
    m_replaceAll = addButton(grid, "ReplaceAll", QStringLiteral("ぜんぶ"), QStringLiteral("ぜんぶ おきかえる"), 1, 3,
                             [this] { replaceAll(); });

    m_matchCase = new QCheckBox(QStringLiteral("Aとaを わける"), this);
    m_matchCase->setObjectName(QStringLiteral("MatchCase"));
    m_matchCase->setToolTip(QStringLiteral("おおもじと こもじを くべつして さがす"));
    grid->addWidget(m_matchCase, 2, 0, 1, 2);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("FindStatus"));
    grid->addWidget(m_status, 2, 2, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *close = new QPushButton(QStringLiteral("×"), this);
    close->setObjectName(QStringLiteral("FindClose"));
    close->setToolTip(keys::tip(QStringLiteral("とじる"), {Qt::Key_Escape}));
    close->setFlat(true);
    close->setFixedSize(20, 20);
    connect(close, &QPushButton::clicked, this, [this] { closeBar(); });
    grid->addWidget(close, 0, 4);

    // Tab goes from box to box first; Enter finds on from anywhere in the bar but the replace box.
    setTabOrder(m_find, m_replace);
    setTabOrder(m_replace, m_matchCase);
    for (QWidget *w : std::initializer_list<QWidget *>{m_find, m_replace, m_matchCase})
        w->installEventFilter(this);
    connect(m_find, &QLineEdit::textEdited, this, [this] { say({}); });

    const auto shortcut = [window](QKeyCombination key, std::function<void()> run) {
        QObject::connect(new QShortcut(QKeySequence(key), window), &QShortcut::activated, window, std::move(run));
    };
    shortcut(Qt::CTRL | Qt::Key_F, [this] { openFind(); });
    shortcut(Qt::CTRL | Qt::Key_H, [this] { openReplace(); });
    shortcut(QKeyCombination(Qt::Key_F3), [this] { findNext(); });
    shortcut(Qt::SHIFT | Qt::Key_F3, [this] { findPrevious(); });
    auto *escape = new QShortcut(QKeySequence(keys::Cancel), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] { closeBar(); });
    hide();
}

void TextFindBar::openFind()
{
    open(false);
}

void TextFindBar::openReplace()
{
    open(true);
}

void TextFindBar::open(bool replacing)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_replaceLabel, m_replace, m_replaceOne, m_replaceAll})
        w->setVisible(replacing);
    const QString selected = m_control->selection();
    if (!selected.isEmpty() && !selected.contains(u'\n') && !selected.contains(u'\r'))
        m_find->setText(selected);
    say({});
    // The bar takes the foot of the control's place: the control stays whole above it.
    const int height = sizeHint().height();
    m_control->widget()->setGeometry(m_controlPlace.adjusted(0, 0, 0, -height));
    setGeometry(m_controlPlace.x(), m_controlPlace.bottom() + 1 - height, m_controlPlace.width(), height);
    show();
    raise();
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

void TextFindBar::closeBar()
{
    hide();
    m_control->widget()->setGeometry(m_controlPlace);
    m_control->widget()->setFocus(Qt::OtherFocusReason);
}

bool TextFindBar::findNext()
{
    return findOn(true);
}

bool TextFindBar::findPrevious()
{
    return findOn(false);
}

bool TextFindBar::findOn(bool forward)
{
    if (m_find->text().isEmpty()) {
        openFind();
        return false;
    }
    const bool found = m_control->find(m_find->text(), m_matchCase->isChecked(), forward);
    say(found ? QString() : msg::NoMatch, !found);
    return found;
}

void TextFindBar::replaceOne()
{
    if (m_find->text().isEmpty())
        return;
    const bool more = m_control->replaceFound(m_find->text(), m_replace->text(), m_matchCase->isChecked());
    say(more ? QString() : msg::NoMatch, !more);
}

int TextFindBar::replaceAll()
{
    const int count = m_control->replaceAll(m_find->text(), m_replace->text(), m_matchCase->isChecked());
    say(count ? msg::replaced(count) : msg::NoMatch, count == 0);
    return count;
}

QString TextFindBar::status() const
{
    return m_status->text();
}

void TextFindBar::say(const QString &text, bool bad)
{
    m_status->setText(text);
    m_status->setStyleSheet(bad ? QStringLiteral("color: #c62828; font-weight: bold;") : QString());
}

bool TextFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false; // Ctrl+Enter sends, as everywhere in the window
    if (watched == m_replace)
        replaceOne();
    else
        findOn(mods == Qt::NoModifier);
    return true;
}

} // namespace kr31
