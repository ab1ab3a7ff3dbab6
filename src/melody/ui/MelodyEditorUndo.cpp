// Undo and redo in the melody editor: the history keeps whole melodies (both
// voices and the LED link); a dragged slider or a typed value is one step.
#include "melody/ui/MelodyEditorWindow.h"

#include "ui/UndoWiring.h"

#include <QLineEdit>
#include <QSlider>

namespace kr31 {

void MelodyEditorWindow::installUndo()
{
    m_undo.reset(m_melody, !m_modified);
    installUndoKeys(this, [this] { Undo(); }, [this] { Redo(); });
    for (int i = 0; i < melody::LinkValues; ++i) {
        onEditEnd(m_bars[i], [this] { m_undo.closeGroup(); });
        onEditEnd(m_edits[i], [this] { m_undo.closeGroup(); });
    }
    onRecovered(findChild<RecoveryKeeper *>(), [this] { m_undo.forgetSaved(); });
}

void MelodyEditorWindow::recordEdit(int group)
{
    m_undo.commit(m_melody, group);
}

// One group per link value, open while its slider is held or its box is being typed in.
void MelodyEditorWindow::recordLinkEdit(int index)
{
    recordEdit(isEditing(m_bars[index]) || isEditing(m_edits[index]) ? 1 + index : 0);
}

void MelodyEditorWindow::showUndone(const std::optional<Melody> &state)
{
    if (!state)
        return;
    m_melody = *state;
    m_selVoice = m_selIndex = -1;
    showLink();
    refresh();
    m_modified = !m_undo.isSaved();
}

void MelodyEditorWindow::Undo()
{
    ensureBuilt();
    showUndone(m_undo.undo(m_melody));
}

void MelodyEditorWindow::Redo()
{
    ensureBuilt();
    showUndone(m_undo.redo(m_melody));
}

} // namespace kr31
