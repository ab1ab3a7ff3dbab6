#pragma once

#include "editors/text/ui/TextControl.h"
#include "editors/text/TextLanguage.h"
#include "ui/EditorWindow.h"

#include <QStringList>

class QPlainTextEdit;
class QTextBrowser;
class QsciScintilla;

namespace kr31 {

class RecoveryKeeper;

// The text programming window: the learner types the program in the text
// language beside a help page that lists the command words as configured;
// the program is checked, sent, charted, reported, saved and opened here.
class TextEditorWindow : public EditorWindow
{
    Q_OBJECT
public:
    explicit TextEditorWindow(Forms &forms);

    // The text control; nullptr when its module could not be loaded.
    TextControl *control()
    {
        ensureBuilt();
        return m_edit;
    }
    // The control as the class that draws it (QsciScintilla), for tests that
    // link its library; nullptr without the control.
    template <class Widget = QsciScintilla>
    Widget *textControl()
    {
        ensureBuilt();
        return m_edit ? qobject_cast<Widget *>(m_edit->widget()) : nullptr;
    }
    // The program text, one entry per line of the control, without line ends.
    QStringList programLines() const;
    // Replaces the text (as opening a file does) and clears the modified mark.
    void setProgramLines(const QStringList &lines);
    bool isModified() const override;
    const QStringList &commandNames() const { return m_names; }
    const QStringList &compiledList() const { return m_compiled; }
    // The line marked as faulty by the last failed check (0-based); -1 when none.
    int markedLine() const { return m_markedLine; }
    // The hint shown under the marked line.
    QString markedHint() const { return m_markedHint; }

    // The handlers of the window's buttons.
    void SendClick();
    void ActionClick();
    bool File_SaveClick() override;
    void furoClick();
    void ReportClick();
    void Command_TotalClick();
    // Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y: the text one edit back or forward.
    void Undo();
    void Redo();

    // Opens a file as File_Open does once a name is chosen (also for a file
    // given on the command line).
    void openFile(const QString &path) override;

    // Runs the program on the virtual lamp, checked as for sending.
    void VirtualLampClick() override;
    // Marks the text line (0-based) the virtual lamp runs; -1 removes the mark.
    void showLampStep(int line);

    // Without its control the window does not show: it says why and the
    // menu comes back.
    void setVisible(bool visible) override;

    // The page the help page is built from (with the command words of the settings).
    QString guidePage() const override { return QStringLiteral("HTML/Word/index.html"); }

protected:
    // The text control, the help page pane, the buttons and their keys.
    void buildContents() override;
    // Every showing takes the command words from the settings and builds the help page.
    void showEvent(QShowEvent *event) override;

private:
    // The keys of the buttons (save, open, send).
    void installShortcuts();
    // Runs the check; a failure shows its message and marks its line.
    bool runCheck();
    void compile();
    void buildHelpPage();
    void textChanged();
    void colourComments();
    void markLine(const textlang::CheckResult &result);
    // Checks again while a fault is marked, moving or clearing the mark.
    void followMark();
    void clearMark();
    // The save question: true when the operation may go on.

    // Opens recovered file lines as an open does, leaving the text modified.
    bool restoreLines(const QStringList &lines);
    // The bytes File_Save writes for the text as it stands.
    QByteArray fileBytes() const;
    // The undo keys; the text control keeps the history.
    void installUndo();

    // Makes the text control from its module; without it says why (see setVisible).
    void makeControl();
    TextControl *m_edit = nullptr;
    QString m_controlError;
    RecoveryKeeper *m_recovery = nullptr;
    QTextBrowser *m_browser = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QStringList m_names;
    QStringList m_compiled;
    int m_markedLine = -1;
    QString m_markedHint;
    bool m_checkWhileTyping = false;
};

} // namespace kr31
