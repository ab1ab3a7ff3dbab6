#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>

class QWidget;

namespace kr31 {

// The text control of the text window: the learner's program, its line
// numbers, the colouring of comments, quotes and web addresses, the mark of a
// faulty line with its hint, and the mark of the line the virtual lamp runs.
//
// It is made by the module "libkr31textcontrol.so" (see ui/Modules.h), which
// brings the library that draws it; the window loads that module when it is
// first built, so that starting the program does not wait for the library.
// Header only: the module and the window share nothing else.
class TextControl
{
public:
    // What a stretch of text is coloured as.
    enum class Highlight { Comment, Quote, Link };

    virtual ~TextControl() = default;

    // The control itself, for the layout, the focus and typing in tests.
    virtual QWidget *widget() = 0;

    // The fixed look, set once: text (with the line numbers) in font, the
    // hint under a faulty line in hintFont, line ends shown in light grey,
    // Windows line ends, word wrap, the caret line in a light yellow.
    virtual void configure(const QFont &font, const QFont &hintFont) = 0;

    virtual int lines() const = 0;
    // Line `line` (0-based) as typed, without its line end.
    virtual QString lineText(int line) const = 0;
    virtual void setText(const QString &text) = 0;
    // The modified mark: set by an edit, cleared at the save point (and by an
    // undo back to it).
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    virtual void setCursorPosition(int line, int index) = 0;

    // The control keeps the undo history; emptying it makes the text as it
    // stands the oldest state.
    virtual void undo() = 0;
    virtual void redo() = 0;
    virtual void emptyUndoBuffer() = 0;

    // Removes every highlight and takes the comment colours for the next ones.
    virtual void clearHighlights(QColor commentText, QColor commentBack) = 0;
    // Colours `length` characters of line `line` from `column` (-1: to the line end).
    virtual void highlight(Highlight kind, int line, int column, int length) = 0;

    // Marks a faulty line with the hint under it (no hint when empty) and
    // scrolls it into view; only one line is marked at a time.
    virtual void markFault(int line, const QString &hint) = 0;
    virtual void clearFault() = 0;
    // Marks the line the virtual lamp runs and scrolls it into view; -1 removes the mark.
    virtual void markLampLine(int line) = 0;

    // Search of the text as typed (no patterns). Selects the next match of
    // what after the selection (backward: before it), wrapping round the
    // text, and scrolls it into view; false, the selection kept, when the
    // text holds none.
    virtual bool find(const QString &what, bool matchCase, bool forward) = 0;
    // Replaces the selection with with when it is a match of what (one undo
    // step), then finds the next match; false when no match is left.
    virtual bool replaceFound(const QString &what, const QString &with, bool matchCase) = 0;
    // Replaces every match of what, all in one undo step; how many it replaced.
    virtual int replaceAll(const QString &what, const QString &with, bool matchCase) = 0;
    // The selected text (empty without a selection).
    virtual QString selection() const = 0;
    // Width in pixels of the line-number margin, which fits the largest number.
    virtual int numberMarginWidth() const { return 0; }

    // The text changed (typing, undo, setText).
    std::function<void()> onTextChanged;
    // The modified mark changed.
    std::function<void(bool modified)> onModificationChanged;
};

// The function the module exports under this name.
using MakeTextControl = TextControl *(*)(QWidget *parent);
inline constexpr char MakeTextControlSymbol[] = "kr31_makeTextControl";
inline constexpr char TextControlModule[] = "libkr31textcontrol.so";

} // namespace kr31
