#pragma once

#include <QFont>
#include <QFontMetrics>

namespace kr31 {

// font narrowed (down to half its width) when text would not fit in width pixels.
inline QFont narrowedToFit(QFont font, const QString &text, int width)
{
    font.setStretch(QFont::Unstretched);
    const int advance = QFontMetrics(font).horizontalAdvance(text);
    if (advance > width)
        font.setStretch(qMax(50, width * 100 / advance));
    return font;
}

} // namespace kr31
