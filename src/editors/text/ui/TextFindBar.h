#pragma once

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kr31 {

class TextControl;

// The text window's find bar: searches the program text with the text
// control's own search and replaces what it finds. It shows at the foot of
// the control's place, the control giving up that strip while it shows.
// Keys of the window: Ctrl+F find, Ctrl+H replace, F3 / Shift+F3 the next /
// previous match; in the bar Enter / Shift+Enter find on, Esc closes it.
class TextFindBar : public QFrame
{
    Q_OBJECT
public:
    TextFindBar(QWidget *window, TextControl *control);

    // Shows the bar (with the replace row for openReplace) and puts the
    // keyboard in its find box, filled with a selection of one line.
    void openFind();
    void openReplace();
    // Hides the bar and gives the control its place and the keyboard back.
    void closeBar();

    // The next or previous match from the selection; false when none. Opens
    // the bar when there is nothing to find yet.
    bool findNext();
    bool findPrevious();
    // Replaces the match shown and finds the next.
    void replaceOne();
    // Replaces every match in one undo step; how many.
    int replaceAll();

    // What the bar tells the learner (no match, how many replaced); empty when all is well.
    QString status() const;

private:
    void open(bool replacing);
    bool findOn(bool forward);
    void say(const QString &text, bool bad = false);
    bool eventFilter(QObject *watched, QEvent *event) override;

    TextControl *m_control;
    QRect m_controlPlace;
    QLineEdit *m_find = nullptr;
    QLineEdit *m_replace = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_replaceLabel = nullptr;
    QPushButton *m_replaceOne = nullptr;
    QPushButton *m_replaceAll = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace kr31
