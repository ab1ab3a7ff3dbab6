#include "ui/DrawnAheadLabel.h"

#include <QPainter>
#include <QStyle>
#include <QTextDocument>

namespace kr31 {

DrawnAheadLabel::DrawnAheadLabel(QWidget *parent)
    : QLabel(parent)
{
}

DrawnAheadLabel::~DrawnAheadLabel()
{
    if (m_drawing.valid())
        m_drawing.wait();
}

DrawnAheadLabel::Look DrawnAheadLabel::look() const
{
    Look now;
    now.font = font();
    now.colour = palette().color(foregroundRole());
    now.size = size();
    // As a label lays out left-to-right text.
    now.flags = int(QStyle::visualAlignment(Qt::LeftToRight, alignment())) | Qt::TextForceLeftToRight;
    now.scale = devicePixelRatioF();
    return now;
}

bool DrawnAheadLabel::plain() const
{
    const bool plainText = textFormat() == Qt::PlainText || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    return isEnabled() && plainText && !wordWrap() && margin() == 0 && indent() <= 0 &&
           frameWidth() == 0 &&
           !(textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard | Qt::TextEditable)) &&
           !buddy();
}

void DrawnAheadLabel::drawAhead(const QStringList &texts)
{
    if (m_drawing.valid())
        m_drawing.wait();
    m_drawn.clear();
    m_look = look();
    if (m_look.font.pixelSize() <= 0 || m_look.size.isEmpty())
        return;
    m_drawing = std::async(std::launch::async, [look = m_look, texts] {
        QHash<QString, QImage> drawn;
        for (const QString &text : texts) {
            QImage image(look.size * look.scale, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(look.scale);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setFont(look.font);
            painter.setPen(look.colour);
            painter.drawText(QRect(QPoint(0, 0), look.size), look.flags, text);
            painter.end();
            drawn.insert(text, image);
        }
        return drawn;
    });
}

const QImage *DrawnAheadLabel::drawnFor(const QString &text) const
{
    if (m_drawing.valid())
        m_drawn = m_drawing.get();
    if (m_drawn.isEmpty() || !plain() || !(look() == m_look))
        return nullptr;
    const auto found = m_drawn.constFind(text);
    return found == m_drawn.constEnd() ? nullptr : &found.value();
}

bool DrawnAheadLabel::hasDrawnAhead() const
{
    return drawnFor(text()) != nullptr;
}

void DrawnAheadLabel::paintEvent(QPaintEvent *event)
{
    const QImage *image = drawnFor(text());
    if (!image) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), *image);
}

} // namespace kr31
