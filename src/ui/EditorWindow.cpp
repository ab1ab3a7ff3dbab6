#include "ui/EditorWindow.h"

#include "ui/EditorFiles.h"
#include "ui/UiServices.h"

namespace kr31 {

bool EditorWindow::saveQuestion()
{
    return askToSave(services().dialogs, isModified(), [this] { File_SaveClick(); });
}

void EditorWindow::File_OpenClick()
{
    const QString path = editorfiles::chooseToOpen(services().dialogs, isModified(), [this] { File_SaveClick(); });
    if (!path.isEmpty())
        openFile(path);
}

void EditorWindow::openHandedFile(const QString &path)
{
    if (saveQuestion())
        openFile(path);
}

void EditorWindow::MenuClick()
{
    if (!saveQuestion())
        return;
    leaving();
    FormWindow::MenuClick();
}

void EditorWindow::ByeClick()
{
    if (!saveQuestion())
        return;
    leaving();
    FormWindow::ByeClick();
}

void EditorWindow::addLampButton()
{
    addButton(QStringLiteral("Img/Common_Button/"), LampButton, [this] { VirtualLampClick(); });
}

} // namespace kr31
