// Undo and redo in the text window: the text control keeps the history (typing
// grouped as it groups it) and its save point, which is the modified mark.
#include "editors/text/ui/TextEditorWindow.h"

#include "ui/UndoWiring.h"

namespace kr31 {

void TextEditorWindow::installUndo()
{
    installUndoKeys(this, [this] { Undo(); }, [this] { Redo(); });
}

void TextEditorWindow::Undo()
{
    ensureBuilt();
    if (m_edit)
        m_edit->undo();
}

void TextEditorWindow::Redo()
{
    ensureBuilt();
    if (m_edit)
        m_edit->redo();
}

} // namespace kr31
