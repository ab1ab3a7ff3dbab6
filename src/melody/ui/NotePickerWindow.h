#pragma once

#include "melody/NotePicker.h"
#include "ui/FormWindow.h"

#include <array>
#include <functional>

class QRadioButton;

namespace kr31 {

class NoteKeyboard;

// The note picker: a keyboard and the four lengths; a key click closes the
// picker and gives the chosen code to the editor. Without a mouse: a note
// key of the computer, or the arrows along the keyboard and Enter, choose. The length chosen stays
// from one opening to the next.
class NotePickerWindow : public FormWindow, public NotePicker
{
    Q_OBJECT
public:
    explicit NotePickerWindow(Forms &forms);
    ~NotePickerWindow() override;

    // start, then shows the picker through Forms::runModal.
    void pickNote(Mode mode, int current, QWidget *opener, std::function<void(int)> chosen) override;
    // Gets ready to pick in mode for the note code current (the note the
    // editor selected), with its background and caption.
    void start(Mode mode, int current);
    Mode mode() const { return m_mode; }

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
    std::function<void(int)> m_chosen; // runs with the chosen code when a key is clicked
    QLabel *m_background = nullptr;
    QLabel *m_current = nullptr;
    NoteKeyboard *m_keyboard = nullptr;
    std::array<QRadioButton *, 4> m_lengths{};
};

} // namespace kr31
