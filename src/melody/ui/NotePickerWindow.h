#pragma once

#include "ui/FormWindow.h"

#include <array>
#include <functional>

class QRadioButton;

namespace kr31 {

class NoteKeyboard;

// The note picker: a keyboard and the four lengths; a key click gives the
// chosen code to the editor and closes the picker. Without a mouse: a note
// key of the computer, or the arrows along the keyboard and Enter, choose. The length chosen stays
// from one opening to the next.
class NotePickerWindow : public FormWindow
{
    Q_OBJECT
public:
    enum class Mode { Insert, Edit };

    explicit NotePickerWindow(Forms &forms);
    ~NotePickerWindow() override;

    // Gets ready to pick in mode for the note code current (the note the
    // editor selected), with its background and caption.
    void start(Mode mode, int current);
    Mode mode() const { return m_mode; }
    // Runs with the chosen code when a key is clicked.
    std::function<void(int)> onChosen;

    // The length ticked: 0 eighth .. 3 half.
    int lengthIndex() const;

    // The handlers.
    void KeyClick(int tag);
    void MelodyByeClick();
    void ByeClick() override { MelodyByeClick(); }

protected:
    void buildContents() override;
    // The note keys choose as a click on their key does; F5..F8 tick the lengths.
    void keyPressEvent(QKeyEvent *event) override;

private:
    Mode m_mode = Mode::Insert;
    QLabel *m_background = nullptr;
    QLabel *m_current = nullptr;
    NoteKeyboard *m_keyboard = nullptr;
    std::array<QRadioButton *, 4> m_lengths{};
};

} // namespace kr31
