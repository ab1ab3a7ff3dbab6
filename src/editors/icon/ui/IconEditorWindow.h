#pragma once

#include "core/UndoHistory.h"
#include "editors/icon/IconFile.h"
#include "editors/icon/IconProgram.h"
#include "ui/EditorWindow.h"
#include "ui/RecoveryKeeper.h"

#include <QLabel>

#include <array>
#include <functional>

class QDrag;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSlider;
class QSpinBox;
class QTextBrowser;

namespace kr31 {

namespace keys {
class SelectionFrame;
}

// The MIME type a palette icon's drag carries; its data is the command code in decimal.
inline const QString CommandMimeType = QStringLiteral("application/x-kr31-command");

// The icon editor: a palette of twelve commands dragged onto a strip of 47
// slots, each with the controls of its arguments; the program is checked,
// sent, charted, reported, saved and opened from here.
class IconEditorWindow : public EditorWindow
{
    Q_OBJECT
public:
    explicit IconEditorWindow(Forms &forms);
    ~IconEditorWindow() override;

    const IconProgram &program() const { return m_program; }
    bool isModified() const override { return m_modified; }
    int stripPosition() const;
    void setStripPosition(int position);

    // The handlers of the window's buttons and menu.
    void SendClick();
    void ActionClick();
    bool File_SaveClick() override;
    void furoClick();
    void ReportClick();
    void All_DeleteClick();
    void Insert1Click();
    void Delete1Click();
    // Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: the program one edit back or forward.
    void Undo();
    void Redo();

    // Runs the program on the virtual lamp, checked as for sending.
    void VirtualLampClick() override;
    // Marks the slot the virtual lamp runs (-1: none) and brings it into view.
    void showLampStep(int slot);

    // Places a palette command on a slot, as a drop does.
    void dropCommand(int slot, int code);
    // Opens the slot menu for slot at a global position.
    void openSlotMenu(int slot, const QPoint &globalPos);
    // Opens a file as File_Open does once a name is chosen (also for a file
    // given on the command line).
    void openFile(const QString &path) override;

    // The keyboard's place: the slot it works on and the palette command it places.
    int keyboardSlot() const { return m_keySlot; }
    int keyboardCommand() const;

    // Runs a palette drag; replaced in tests, where QDrag::exec returns at once.
    std::function<void(QDrag *)> runDrag;

    QString guidePage() const override { return QStringLiteral("HTML/DD/index.html"); }

protected:
    // The palette, the slot strip, the guide pane, the keys and the recovery
    // copy: made before the window first shows or is first reached.
    void buildContents() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaving() override;
    struct SlotView
    {
        QLabel *number = nullptr;
        QLabel *picture = nullptr;
        QSlider *bar1 = nullptr;
        QLineEdit *edit1 = nullptr;
        QSlider *bar2 = nullptr;
        QLineEdit *edit2 = nullptr;
        QSpinBox *hour = nullptr;
        QSpinBox *minute = nullptr;
        QSpinBox *second = nullptr;
    };

    // The command of palette icon index (0..11).
    static int paletteCode(int index);
    void createPalette();
    void createStrip();
    void startDrag(QLabel *icon, int code, QPoint pressPoint);
    void createValueControls(int slot);
    void createTimeControls(int slot);
    void freeSlotControls(int slot);
    void fillControls(int slot);
    void showSlot(int slot);
    void rebuildSlotViews();
    void clearAllSlots();
    void showTotal();
    // The save question: true when the operation may go on.
    // Shows what is wrong with the program; true when it may go to the lamp.
    bool programPassesCheck();
    // Shows a program read from a file; false (and nothing changed) when the
    // read gave none. quiet leaves the messages out.
    bool showRead(const iconfile::ReadResult &read, bool quiet);
    // The bytes File_Save writes for the program as it stands.
    QByteArray fileBytes() const;
    // The undo history: keys, grouping of a control's edits, showing a state.
    void installUndo();
    void recordEdit(int group = 0);
    void recordControlEdit(int slot, int argument);
    void watchEditGroup(QWidget *control);
    void showUndone(const std::optional<IconProgram> &state);

    // Keyboard: the buttons' keys, the arrows through slots and palette,
    // Enter places, Insert opens a gap, Delete closes one.
    void installShortcuts();
    bool keyboardEvent(QObject *watched, QEvent *event);
    bool slotKey(int key);
    bool paletteKey(int key);
    void selectSlot(int slot);
    void placeKeyboardCommand();
    void showKeyboardMarks();

    IconProgram m_program;
    UndoHistory<IconProgram> m_undo;
    std::array<SlotView, icon::SlotCount> m_views;
    ModifiedMark m_modified;
    int m_menuSlot = 0;
    bool m_dragArmed = false;
    QPoint m_pressPoint;
    QScrollArea *m_strip = nullptr;
    QWidget *m_stripContent = nullptr;
    QTextBrowser *m_browser = nullptr;
    QLabel *m_total = nullptr;
    std::array<QLabel *, 4> m_gauge{};
    bool m_totalOver = false;
    QMenu *m_slotMenu = nullptr;
    QWidget *m_lampMark = nullptr;
    int m_keySlot = 0;
    int m_keyIcon = 0;
    QWidget *m_palette = nullptr;
    keys::SelectionFrame *m_slotMark = nullptr;
    keys::SelectionFrame *m_iconMark = nullptr;
};

} // namespace kr31
