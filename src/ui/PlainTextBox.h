#pragma once

#include <QPlainTextEdit>

namespace kr31 {

// Every plain-text box of the program. A paste takes only text: Qt 6.4 on X
// crashes when Ctrl+V pastes a clipboard that holds nothing (no owner).
class PlainTextBox : public QPlainTextEdit
{
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace kr31
