#pragma once

#include "ui/EditorButtons.h"
#include "ui/FormWindow.h"

#include <span>

namespace kr31 {

// The life of a program in an editor that the icon, flowchart, text and
// melody editors share: the save question before anything replaces or leaves
// unsaved work, Open, and leaving for the menu or the end. Each editor gives
// what differs: whether it holds unsaved work, its save, its file reading and
// what leaving does to its program.
class EditorWindow : public FormWindow
{
public:
    using FormWindow::FormWindow;

    // Whether the editor holds work that is not saved.
    virtual bool isModified() const = 0;
    // The save through the save dialog; true when the file was written.
    virtual bool File_SaveClick() = 0;
    // Reads the file at path into the editor, or shows why it does not.
    virtual void openFile(const QString &path) = 0;

    // The save question, the file dialog, then openFile().
    void File_OpenClick();
    // The save question, then openFile(): a file handed from outside (a
    // second start of the program).
    void openHandedFile(const QString &path);
    // The save question, then leaving() and the main menu.
    void MenuClick() override;
    // The save question, then leaving() and the end of the tool.
    void ByeClick() override;
    // Runs the editor's program (or melody) on the virtual lamp.
    virtual void VirtualLampClick() = 0;

protected:
    // The button that runs the program on the virtual lamp: one place in every
    // editor, under the right end of the file row, where nothing else lies.
    void addLampButton();
    // The buttons every editor has where every editor has them (send, action,
    // menu, help, quit, open, save), then the editor's own places; each gets
    // the handler of its name in actions (none makes it a picture).
    void addEditorButtons(std::span<const Place> own, const ButtonActions &actions);
    // The save question, asked while isModified(): Yes saves and ends the
    // action (the learner starts it again), Cancel ends it, No goes on.
    // True when the action may go on.
    bool saveQuestion();
    // What leaving the editor does to its program (the icon, flowchart and
    // melody editors empty it; the text editor keeps it).
    virtual void leaving() {}
};

} // namespace kr31
