#include "melody/ui/MelodyEditorWindow.h"

#include "melody/NoteCode.h"
#include "ui/Keys.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

// The melody editor's keyboard: the note keys, the length keys, the
// shortcuts, and the wheel over the score.
namespace kr31 {

namespace {

// The Windows virtual-key code of a key as a Japanese keyboard prints it; 0 for others.
int virtualKey(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
        return key;
    switch (key) {
    case Qt::Key_Semicolon: return 0xBB;
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_At: return 0xC0;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_AsciiCircum: return 0xDE;
    case Qt::Key_yen:
    case Qt::Key_Backslash: return 0xDC;
    default: return 0;
    }
}

} // namespace

void MelodyEditorWindow::installShortcuts()
{
    bindKey(keys::Save, {QStringLiteral("File_Save")});
    bindKey(keys::Open, {QStringLiteral("File_Open")});
    bindKey(keys::Print, {QStringLiteral("Melo_Print")});
    bindKey(keys::Send, {QStringLiteral("Send")});
}

void MelodyEditorWindow::keyPressEvent(QKeyEvent *event)
{
    ensureBuilt();
    const int key = event->key();
    if (key >= Qt::Key_F5 && key <= Qt::Key_F8) {
        m_lengths[key - Qt::Key_F5]->setChecked(true);
        return;
    }
    const int tag = note::keyTag(virtualKey(event));
    if (tag < 0) {
        FormWindow::keyPressEvent(event);
        return;
    }
    // A held key does not write a row of notes.
    if (!event->isAutoRepeat())
        KeyClick(tag);
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
