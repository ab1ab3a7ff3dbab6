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

namespace {

const QString ButtonFolder = QStringLiteral("Img/Common_Button/");

const Place CommonButtons[] = {
    {"Send", 351, 13, 90, 60}, {"Action", 467, 13, 90, 60},     {"Menu", 570, 13, 55, 60},
    {"Help", 625, 13, 55, 60}, {"Bye", 680, 13, 55, 60},        {"File_Open", 41, 75, 134, 26},
    {"File_Save", 179, 75, 134, 26},
};

} // namespace

void EditorWindow::addLampButton()
{
    addButton(ButtonFolder, LampButton, [this] { VirtualLampClick(); });
}

void EditorWindow::addEditorButtons(std::span<const Place> own, const ButtonActions &actions)
{
    for (const std::span<const Place> places : {std::span<const Place>(CommonButtons), own})
        for (const Place &place : places) {
            const auto action = actions.find(QString::fromLatin1(place.name));
            addButton(ButtonFolder, place, action == actions.end() ? nullptr : action->second);
        }
}

} // namespace kr31
