// Undo and redo in the icon editor: the history keeps whole programs; a
// dragged slider or a typed value is one step.
#include "editors/icon/ui/IconEditorWindow.h"

#include "ui/UndoWiring.h"

#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

namespace kr31 {

void IconEditorWindow::installUndo()
{
    m_undo.reset(m_program);
    installUndoKeys(this, [this] { Undo(); }, [this] { Redo(); });
    onRecovered(findChild<RecoveryKeeper *>(), [this] { m_undo.forgetSaved(); });
}

void IconEditorWindow::recordEdit(int group)
{
    m_undo.commit(m_program, group);
}

// One group per argument of a slot (3: its time), open while its slider is
// held or its box is being typed in.
void IconEditorWindow::recordControlEdit(int slot, int argument)
{
    const SlotView &view = m_views[slot];
    const bool editing = argument == 1 ? isEditing(view.bar1) || isEditing(view.edit1)
                         : argument == 2 ? isEditing(view.bar2) || isEditing(view.edit2)
                                         : isEditing(view.hour) || isEditing(view.minute) || isEditing(view.second);
    recordEdit(editing ? 1 + 4 * slot + argument : 0);
}

void IconEditorWindow::watchEditGroup(QWidget *control)
{
    onEditEnd(control, [this] { m_undo.closeGroup(); });
}

void IconEditorWindow::showUndone(const std::optional<IconProgram> &state)
{
    if (!state)
        return;
    m_program = *state;
    rebuildSlotViews();
    showTotal();
    m_modified = !m_undo.isSaved();
}

void IconEditorWindow::Undo()
{
    ensureBuilt();
    showUndone(m_undo.undo(m_program));
}

void IconEditorWindow::Redo()
{
    ensureBuilt();
    showUndone(m_undo.redo(m_program));
}

} // namespace kr31
