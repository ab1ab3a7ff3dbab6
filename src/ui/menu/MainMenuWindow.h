#pragma once

#include "ui/FormWindow.h"

#include <QList>

class QLabel;
class QPlainTextEdit;

namespace kr31 {

class DrawnAheadLabel;
namespace keys {
class SelectionFrame;
}

// The main menu: six tool pictures that light up under the mouse, the
// settings and quit buttons, the transfer mode digit and a hint box.
// Closing it ends the program.
class MainMenuWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit MainMenuWindow(Forms &forms);
    ~MainMenuWindow() override;

    // The pictures the menu shows at its first showing (the start-up begins
    // decoding them before the menu is made).
    static QStringList pictures();

    // The name of the tool picture that opens window form; empty when none does.
    static QString pictureOpening(int form);

    // Index of the highlighted tool picture (0..5), or -1.
    int highlighted() const { return m_highlighted; }

    void SetUpClick();
    // Shows the transfer mode from the settings in Label1 (at every showing, and
    // when the wizard stores a new mode).
    void refreshMode();

Q_SIGNALS:
    void closed();
    // After the first showing, once the first-run wizard (when it opens) is closed.
    void started();
    // The mouse or the keyboard has come onto a tool picture: window form is
    // likely to be opened next (once each time a picture lights up).
    void toolPointedAt(int form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void highlight(int index);
    void showHint(const QString &hint);
    // Keyboard: Tab goes through the tool pictures too, Enter opens one.
    void installShortcuts();
    bool toolKeyEvent(int index, QEvent *event);
    void showToolFocus();
    void makeMemo();

    QList<QLabel *> m_tools;
    QList<QWidget *> m_hinted;
    QList<QObject *> m_unhinted; // background, title strip, Bye: no hint
    QLabel *m_background = nullptr;
    DrawnAheadLabel *m_digit = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QString m_hint; // shown in m_memo, broken into lines there
    int m_highlighted = -2; // nothing loaded yet
    bool m_firstShow = true;
    keys::SelectionFrame *m_toolMark = nullptr;
};

} // namespace kr31
