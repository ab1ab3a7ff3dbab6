#include "ui/PlainTextBox.h"

#include <QMimeData>

namespace kr31 {

bool PlainTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void PlainTextBox::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace kr31
