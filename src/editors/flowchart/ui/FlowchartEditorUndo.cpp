// Undo and redo in the flowchart editor: the history keeps whole programs
// (every page); an undo shows the page on which the edit was made.
#include "editors/flowchart/ui/FlowchartEditorWindow.h"

#include "ui/RecoveryKeeper.h"
#include "ui/UndoWiring.h"

#include <QScrollArea>
#include <QScrollBar>

namespace kr31 {

void FlowchartEditorWindow::installUndo()
{
    installUndoKeys(this, [this] { Undo(); }, [this] { Redo(); });
    onRecovered(m_recovery, [this] { m_undo.forgetSaved(); });
}

void FlowchartEditorWindow::showUndone(const std::optional<FlowchartProgram> &state)
{
    if (!state)
        return;
    const int page = m_program.CurrentPage;
    m_program = *state;
    m_program.Modified = !m_undo.isSaved();
    if (m_program.CurrentPage != page)
        m_scroll->verticalScrollBar()->setValue(0);
    showModel();
}

void FlowchartEditorWindow::Undo()
{
    ensureBuilt();
    showUndone(m_undo.undo(m_program));
}

void FlowchartEditorWindow::Redo()
{
    ensureBuilt();
    showUndone(m_undo.redo(m_program));
}

} // namespace kr31
