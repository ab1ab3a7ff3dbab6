#include "melody/ui/MelodyEditorWindow.h"

#include "melody/NoteCode.h"
#include "melody/ui/NoteKeyboard.h"
#include "melody/ui/ScoreView.h"
#include "ui/Keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

// The melody editor's keyboard: the note keys, the length keys, the
// shortcuts, the notes of the score chosen and edited with the keys, and the
// wheel over the score. Every key runs the handler the mouse runs.
namespace kr31 {

namespace {

// Where a note of voice at x sits on the score: its column across the voice's rows.
QRect noteArea(int voice, int x)
{
    return voice == 0 ? QRect(x, 4, 18, 72) : QRect(x, 97, 18, 86);
}

} // namespace

MelodyEditorWindow::~MelodyEditorWindow()
{
    keys::unhookEvents(this);
}

void MelodyEditorWindow::installShortcuts()
{
    bindKey(keys::Save, {QStringLiteral("File_Save")});
    bindKey(keys::Open, {QStringLiteral("File_Open")});
    bindKey(keys::Print, {QStringLiteral("Melo_Print")});
    bindKey(keys::Send, {QStringLiteral("Send")});
    NoteKeyboard::takeRestKey(this, [this](int rest) { KeyClick(rest); });
    m_noteMark = new keys::SelectionFrame(m_score);
    keys::whenKeyboardInUseChanges(this, [this] { showNoteMark(); });
    m_score->setToolTip(QStringLiteral("←→ で 音符を えらぶ / ↑↓ で メロディを かえる\n"
                                       "Enter で へんしゅう / Insert で そうにゅう / Delete で けす / ＋− で 長さ"));
}

void MelodyEditorWindow::keyPressEvent(QKeyEvent *event)
{
    ensureBuilt();
    const int key = event->key();
    if (key >= Qt::Key_F5 && key <= Qt::Key_F8) {
        m_lengths[key - Qt::Key_F5]->setChecked(true);
        return;
    }
    const int tag = NoteKeyboard::tagForKey(event);
    if (tag < 0) {
        if (!scoreKey(event))
            FormWindow::keyPressEvent(event);
        return;
    }
    // A held key does not write a row of notes.
    if (!event->isAutoRepeat())
        KeyClick(tag);
}

bool MelodyEditorWindow::scoreKey(const QKeyEvent *event)
{
    // A link value's box keeps its editing keys.
    if (qobject_cast<QLineEdit *>(QApplication::focusWidget()))
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const int key = event->key();
    // "+" is Shift+; on a Japanese keyboard; the main "-" is a note key (F#5), the keypad's shortens.
    if (key == Qt::Key_Plus || (key == Qt::Key_Minus && keypad)) {
        if (m_selVoice >= 0) {
            const int length = note::lengthIndex(m_melody.notes[m_selVoice].at(m_selIndex));
            LengthClick(qBound(0, length + (key == Qt::Key_Plus ? 1 : -1), 3));
        }
        return true;
    }
    if (modifiers != Qt::NoModifier && !(modifiers == Qt::ShiftModifier && key == Qt::Key_F10))
        return false;
    const bool selected = m_selVoice >= 0;
    const int v = selected ? m_selVoice : voice();
    switch (key) {
    case Qt::Key_Right: selectNote(v, selected ? m_selIndex + 1 : 0); return true;
    case Qt::Key_Left: selectNote(v, selected ? m_selIndex - 1 : int(m_melody.notes[v].size()) - 1); return true;
    case Qt::Key_Home: selectNote(v, 0); return true;
    case Qt::Key_End: selectNote(v, int(m_melody.notes[v].size()) - 1); return true;
    case Qt::Key_Up:
    case Qt::Key_Down: selectNote(key == Qt::Key_Up ? 0 : 1, selected ? m_selIndex : 0); return true;
    case Qt::Key_Insert: Insert1Click(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: Edit1Click(); return true;
    case Qt::Key_Delete: {
        const int index = m_selIndex;
        Delete1Click();
        // The place stays where the note was, as a row of notes is edited.
        selectNote(v, qMin(index, int(m_melody.notes[v].size()) - 1));
        return true;
    }
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (selected) {
            const QRect area = noteArea(v, m_melody.positions(v).at(m_selIndex));
            scoreRightClick(area.center(), m_score->mapToGlobal(area.bottomRight()));
        }
        return true;
    default: return false;
    }
}

void MelodyEditorWindow::selectNote(int voice, int index)
{
    const int count = int(m_melody.notes[voice].size());
    if (count == 0 || index < 0)
        return; // an empty voice has nothing to choose; the place stays
    m_selVoice = voice;
    m_selIndex = qMin(index, count - 1);
    const QRect area = noteArea(voice, m_melody.positions(voice).at(m_selIndex));
    m_scroll->ensureVisible(area.center().x(), area.center().y(), 60, 0);
    showNoteMark();
}

void MelodyEditorWindow::showNoteMark()
{
    if (!m_noteMark)
        return;
    const bool shown = m_selVoice >= 0 && m_selIndex < m_melody.notes[m_selVoice].size() && keys::keyboardInUse();
    if (shown)
        m_noteMark->frame(noteArea(m_selVoice, m_melody.positions(m_selVoice).at(m_selIndex)));
    m_noteMark->setVisible(shown);
}

bool MelodyEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_scroll && watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta != 0)
            setScorePosition(scorePosition() + (delta < 0 ? 80 : -80));
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

} // namespace kr31
