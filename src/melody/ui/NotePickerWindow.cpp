#include "melody/ui/NotePickerWindow.h"

#include "melody/NoteCode.h"
#include "melody/MelodyTexts.h"
#include "melody/ui/NoteKeyboard.h"
#include "ui/Forms.h"
#include "ui/Keys.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRadioButton>
#include <QScreen>

namespace kr31 {

namespace {
// The length ticked when the picker first shows: a quarter note.
constexpr int FirstLength = 1;
} // namespace

NotePickerWindow::NotePickerWindow(Forms &forms)
    : FormWindow(12, QSize(700, 220), forms)
{
}

NotePickerWindow::~NotePickerWindow()
{
    keys::unhookEvents(this);
}

void NotePickerWindow::buildContents()
{
    const QFont font = useWindowFont(13);
    m_background = setBackground(QStringLiteral("Img/Panel/Melody_Insert.jpg"));
    addButton(QStringLiteral("Img/Common_Button/"), {"MelodyBye", 657, 4, 35, 35}, [this] { MelodyByeClick(); });
    bindKey(keys::Cancel, {QStringLiteral("MelodyBye")});

    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("Label1"));
    m_current->setGeometry(330, 12, 320, 26);
    m_current->setStyleSheet(QStringLiteral("background: rgba(255,255,255,200); border-radius: 6px; padding: 0 6px;"));

    m_keyboard = new NoteKeyboard(this, 22, 118, [this](QLabel *key, const QString &picture) {
        return showPicture(key, picture);
    });
    m_keyboard->move(24, 84);
    m_keyboard->setFocusPolicy(Qt::StrongFocus);
    m_keyboard->setToolTip(QStringLiteral("←→ で えらんで Enter で きめる（↑↓ は 1オクターブ）"));
    connect(m_keyboard, &NoteKeyboard::keyClicked, this, [this](int tag) { KeyClick(tag); });

    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto *radio = new QRadioButton(QStringLiteral("　") + melodytext::Lengths[i], this);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        radio->setGeometry(560, 92 + 26 * i, 130, 22);
        radio->setFocusPolicy(Qt::TabFocus);
        radio->setStyleSheet(QStringLiteral("background: rgba(255,255,255,200);"));
        group->addButton(radio, i);
        m_lengths[i] = radio;
    }
    m_lengths[FirstLength]->setChecked(true);
    keys::tabToCheckedButton(group);
    NoteKeyboard::takeRestKey(this, [this](int rest) { KeyClick(rest); });
}

void NotePickerWindow::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_F5 && key <= Qt::Key_F8 && m_lengths[0]) {
        m_lengths[key - Qt::Key_F5]->setChecked(true);
        return;
    }
    const int tag = NoteKeyboard::tagForKey(event);
    if (tag < 0 || event->isAutoRepeat()) {
        FormWindow::keyPressEvent(event);
        return;
    }
    KeyClick(tag);
}

void NotePickerWindow::start(Mode mode, int current)
{
    ensureBuilt();
    m_mode = mode;
    showPicture(m_background, mode == Mode::Insert ? QStringLiteral("Img/Panel/Melody_Insert.jpg")
                                                   : QStringLiteral("Img/Panel/Melody_Editing.jpg"));
    m_current->setText(melodytext::selectedNote(current, mode == Mode::Insert));
    // The keyboard's place starts on the selected note's key.
    const int pitch = note::pitchIndex(current);
    if (pitch >= 0)
        m_keyboard->setPlace(note::WhiteKeys[0] + pitch);
    m_keyboard->setFocus(Qt::OtherFocusReason);
}

void NotePickerWindow::pickNote(Mode mode, int current, QWidget *opener, std::function<void(int)> chosen)
{
    m_chosen = std::move(chosen);
    start(mode, current);
    setOpener(opener);
    // Centred on the screen, whatever window opens it.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    forms().runModal(this);
}

int NotePickerWindow::lengthIndex() const
{
    if (!m_lengths[0])
        return FirstLength;
    for (int i = 0; i < 4; ++i) {
        if (m_lengths[i]->isChecked())
            return i;
    }
    return 0;
}

void NotePickerWindow::KeyClick(int tag)
{
    const int code = tag + note::GroupSize * lengthIndex();
    hide();
    if (m_chosen)
        m_chosen(code);
}

void NotePickerWindow::MelodyByeClick()
{
    hide();
}

} // namespace kr31
