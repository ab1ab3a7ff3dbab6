#pragma once

#include "core/UndoHistory.h"
#include "melody/Melody.h"
#include "melody/MelodyFile.h"
#include "ui/EditorWindow.h"
#include "ui/RecoveryKeeper.h"

#include <array>

class QAction;
class QLineEdit;
class QMenu;
class QRadioButton;
class QScrollArea;
class QSlider;

namespace kr31 {

namespace keys {
class SelectionFrame;
}
class NoteKeyboard;
class ScoreView;

// The melody editor: two voices composed on a piano keyboard and shown as two
// staves, single notes edited through a pop-up menu and the note picker, the
// LED link set on its own page; the melody is previewed, sent, saved, opened
// and printed from here.
class MelodyEditorWindow : public EditorWindow
{
    Q_OBJECT
public:
    explicit MelodyEditorWindow(Forms &forms);
    ~MelodyEditorWindow() override;

    const Melody &melody() const { return m_melody; }
    bool isModified() const override { return m_modified; }
    int scorePosition() const;
    void setScorePosition(int x);
    // The editor selection: the note of the last right click, or the one
    // the keys chose (Left / Right, Up / Down for the other voice).
    int selectedVoice() const { return m_selVoice; }
    int selectedIndex() const { return m_selIndex; }

    // What a key click does: add to the voice (false: listen), the voice 0/1, the length 0..3.
    bool addMode() const;
    int voice() const;
    int lengthIndex() const;

    // The handlers of the window's buttons, keys and menu.
    void KeyClick(int tag);
    void SendClick();
    void ActionClick();
    bool File_SaveClick() override;
    void saiseiClick();
    void All_DeleteClick();
    void Melo_PrintClick();
    void noteClick();
    void LinkClick();
    // Plays the melody on the virtual lamp, as the lamp would hear it sent.
    void VirtualLampClick() override;
    void Insert1Click();
    void Edit1Click();
    void LengthClick(int length);
    void Delete1Click();
    // Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: the melody one edit back or forward.
    void Undo();
    void Redo();

    // A right click on the score at a point of the paint box; opens the menu
    // at globalPos when it hits a note.
    void scoreRightClick(QPoint at, QPoint globalPos);
    // Opens a file as File_Open does once a name is chosen (also for a file
    // given on the command line).
    void openFile(const QString &path) override;

protected:
    // The components, keys, recovery copy and undo history, made at the first showing.
    void buildContents() override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaving() override;
    // The keys of the buttons (save, open, print, send).
    void installShortcuts();
    // The keys of the score's notes (choose, insert, edit, delete, length); false for another key.
    bool scoreKey(const QKeyEvent *event);
    // Makes note index of voice (kept within the voice) the editor selection and shows it.
    void selectNote(int voice, int index);
    // Frames the selected note while the keyboard is in use.
    void showNoteMark();
    void createNotePage();
    void createLinkPage();
    void refresh();
    void showLink();
    void setLink(bool on);
    void clearMelody();
    // Shows a melody read from a file; false (and nothing changed) when the
    // read gave none. quiet leaves the messages out.
    bool showRead(const melodyfile::ReadResult &read, bool quiet);
    void audition(int code);
    // Plays path beside the windows (the one player ends it for the next
    // sound), the mixer set around it; ended runs when it has ended. False
    // when the player refused it.
    bool playAside(const QString &path, std::function<void()> ended);
    void pick(int mode);
    // The undo history: keys, grouping of a link value's edits, showing a state.
    void installUndo();
    void recordEdit(int group = 0);
    void recordLinkEdit(int index);
    void showUndone(const std::optional<Melody> &state);

    Melody m_melody;
    UndoHistory<Melody> m_undo;
    ModifiedMark m_modified;
    int m_selVoice = -1;
    int m_selIndex = -1;
    bool m_previewing = false;
    QScrollArea *m_scroll = nullptr;
    ScoreView *m_score = nullptr;
    QWidget *m_notePage = nullptr;
    QWidget *m_linkPage = nullptr;
    QWidget *m_voiceGroup = nullptr;
    NoteKeyboard *m_keyboard = nullptr;
    std::array<QRadioButton *, 2> m_modes{};
    std::array<QRadioButton *, 4> m_lengths{};
    std::array<QRadioButton *, 2> m_voices{};
    std::array<QRadioButton *, 2> m_linkSwitch{};
    std::array<QSlider *, melody::LinkValues> m_bars{};
    std::array<QLineEdit *, melody::LinkValues> m_edits{};
    QMenu *m_menu = nullptr;
    std::array<QAction *, 4> m_lengthItems{};
    keys::SelectionFrame *m_noteMark = nullptr;
};

} // namespace kr31
