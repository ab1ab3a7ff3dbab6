#pragma once

#include "core/UndoHistory.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "ui/EditorWindow.h"
#include "ui/WheelSteps.h"

#include <array>

class QComboBox;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSlider;

namespace kr31 {

class RecoveryKeeper;
namespace keys {
class SelectionFrame;
}

// The flowchart editor: a main program and up to nine subroutines, each a
// page drawn as a flowchart. A command chosen on the left is appended to the
// page on show; a right-click on a drawn entry inserts before it, edits it or
// deletes it through the command dialog; tabs on the right switch pages. The
// program is compiled for sending, saving, the report and the memory usage.
class FlowchartEditorWindow : public EditorWindow
{
    Q_OBJECT
public:
    explicit FlowchartEditorWindow(Forms &forms);
    ~FlowchartEditorWindow() override;

    const FlowchartProgram &program() const { return m_program; }
    bool isModified() const override { return m_program.Modified; }
    // The top of each drawn entry of the page on show.
    QList<int> entryTops() const;

    // The handlers of the window's buttons and menus.
    void Add_CommandClick();
    void Add_SubClick();
    void SendClick();
    void ActionClick();
    void Command_NumberClick();
    void ReportClick();
    bool File_SaveClick() override;
    void All_DeleteClick();
    void Insert1Click();
    void Edit3Click();
    void Delete1Click();
    void N3Click();
    // Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: the pages one edit back or forward.
    void Undo();
    void Redo();
    // Runs the compiled program on the virtual lamp, checked as for sending.
    void VirtualLampClick() override;
    // Marks the main-page entry the virtual lamp runs (-1: none) while the main page is on show.
    void showLampStep(int entry);
    // Shows page (0: main program, k: subroutine k).
    void SelectPage(int page);

    // A command chosen in the command dialog (menu item, value texts)
    // inserted before or written over the selected entry.
    void InsertEntry(int item, const QString &value1, const QString &value2);
    void ReplaceEntry(int item, const QString &value1, const QString &value2);

    // Opens a file as File_Open does once a name is chosen (also for a file
    // given on the command line).
    void openFile(const QString &path) override;

protected:
    // The command controls, the chart, the page tabs, the menus, the keys and
    // the recovery copy, with the empty main page on show: made before the
    // window first shows or is first reached.
    void buildContents() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void leaving() override;
    void createValueControls();
    void createPageTabs();
    void UpdateValueControls();
    void PaintBox1MouseDown(QMouseEvent *event);
    void PageTabMouseDown(int page, QMouseEvent *event);
    void openDialog(bool inserting);
    // Compiles; shows (507) and answers false when the compilation failed.
    bool compile();
    // Compiles for the lamp (a Send, or the virtual lamp): also shows (504)
    // and answers false when the program is too long for it.
    bool compileForLamp();
    // The window after a change of the model: menu items, tabs, title, drawing.
    void showModel();
    void ClearAllPages();
    void refused(const FlowOutcome &outcome);
    // Shows pages read from a file; false (and nothing changed) when the read
    // gave none. quiet leaves the messages out.
    bool showRead(const flowfile::ReadResult &read, bool quiet);
    // The bytes File_Save writes for the pages as they stand.
    QByteArray fileBytes() const;
    // The undo history: its keys, and showing a state it hands back.
    void installUndo();
    void showUndone(const std::optional<FlowchartProgram> &state);

    // Keyboard: the buttons' keys, and the arrows through the entries of the
    // page on show (Enter edits, Insert inserts before, Delete deletes).
    void installShortcuts();
    bool keyboardEvent(QEvent *event);
    bool entryKey(int key);
    void selectEntry(int entry);
    void showEntryMark();

    FlowchartProgram m_program;
    UndoHistory<FlowchartProgram, flow::SamePages> m_undo;
    QComboBox *m_menu = nullptr;
    QSlider *m_bar1 = nullptr;
    QSlider *m_bar2 = nullptr;
    QLineEdit *m_edit1 = nullptr;
    QLineEdit *m_edit2 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_paintBox = nullptr;
    QLabel *m_pageTitle = nullptr;
    std::array<QLabel *, flow::PageCount> m_tabs{};
    QLabel *m_pageMark = nullptr; // frames the tab of the page on show
    QMenu *m_entryMenu = nullptr;
    QMenu *m_tabMenu = nullptr;
    WheelSteps m_wheel;
    RecoveryKeeper *m_recovery = nullptr;
    QLabel *m_lampMark = nullptr;
    keys::SelectionFrame *m_entryMark = nullptr;
};

} // namespace kr31
