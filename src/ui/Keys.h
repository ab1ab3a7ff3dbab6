#pragma once

#include <QKeySequence>
#include <QString>
#include <QWidget>

#include <functional>

class QButtonGroup;
class QKeyEvent;
class QPainter;

namespace kr31::keys {

// The keys every window gives the same meaning.
inline constexpr QKeyCombination Save = Qt::CTRL | Qt::Key_S;
inline constexpr QKeyCombination Open = Qt::CTRL | Qt::Key_O;
inline constexpr QKeyCombination Print = Qt::CTRL | Qt::Key_P;
inline constexpr QKeyCombination Send = Qt::CTRL | Qt::Key_Return;
inline constexpr QKeyCombination Cancel = QKeyCombination(Qt::Key_Escape);
inline constexpr QKeyCombination Accept = QKeyCombination(Qt::Key_Return);

// Whether the user works with the keyboard now: a key sets it, a mouse
// button clears it. Focus marks show only while it is set, so a mouse user
// sees none, and the first Tab, Space or Enter on a widget given to
// markFocusOf after the mouse only shows where the focus is.
bool keyboardInUse();
void setKeyboardInUse(bool inUse);
// Calls update of widget whenever keyboardInUse changes; its Tab, Space and
// Enter wait for the focus to show as above.
void markFocusOf(QWidget *widget);
// Calls onChange whenever keyboardInUse changes, while context lives.
void whenKeyboardInUseChanges(QObject *context, std::function<void()> onChange);

// Runs handler for every event of each watched object before the object
// sees it (true keeps it from the object); the filter lives as long as owner.
void hookEvents(QObject *owner, const QList<QObject *> &watched, std::function<bool(QObject *, QEvent *)> handler);

// Ends every hook of owner. A window whose handlers call its own members
// calls it in its destructor: its children still send events while the
// base class takes them down, when the window is no longer itself.
void unhookEvents(QObject *owner);

// Gives window the keys that handler takes before any of its controls sees
// them: every key press and release in the window, whichever of its widgets
// has the focus, goes first to handler (true keeps it from the control). For
// a window whose keys mean the same wherever the focus is (Space for a rest,
// T for a touch), so a focused button or radio does not take them. The window
// unhooks in its destructor (see unhookEvents).
void takeKeysFirst(QWidget *window, std::function<bool(QKeyEvent *)> handler);

// Tab and Backtab stop once at group, on its checked button (Qt lands on
// the group's first), where the arrow keys switch the choice.
void tabToCheckedButton(QButtonGroup *group);

// What a picture button does, in the words its picture shows ("ほぞん" for
// File_Save); folder and picture name its files. Empty for an unknown picture.
QString caption(const QString &folder, const QString &picture);

// A key as a child reads it on the keyboard: "Ctrl+S", "Ctrl+Enter", "Esc", "F1".
QString keyText(const QKeySequence &key);

// A tooltip: the caption followed by its keys in brackets, "ほぞん (Ctrl+S)";
// the keys alone when there is no caption.
QString tip(const QString &caption, const QList<QKeySequence> &keys);

// The keyboard mark drawn over a picture: a thick dark blue ring with a
// white line inside, plain on light and bright artwork alike.
void paintFocusRing(QPainter &painter, const QRect &area);

// Gives a text box (a guide page) a dark blue edge while it has the focus,
// so a Tab that lands in it is seen.
void markBoxFocus(QWidget *box);

// A frame that marks the keyboard's place (a slot, a chart entry, a palette
// icon) over whatever lies under it; mouse clicks pass through it.
class SelectionFrame : public QWidget
{
    Q_OBJECT
public:
    explicit SelectionFrame(QWidget *parent);
    // Frames area (in the parent's coordinates), with room for the ring around it.
    void frame(const QRect &area);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kr31::keys
