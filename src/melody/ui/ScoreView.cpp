#include "melody/ui/ScoreView.h"

#include "melody/ui/NoteGlyphs.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kr31 {

ScoreView::ScoreView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setFixedSize(score::ScreenWidth, score::ScreenHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScoreView::showScore(const score::Layout &layout)
{
    m_layout = layout;
    update();
}

void ScoreView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::white);
    // Only what the exposed strip of the wide box shows (glyphs may spill a little).
    score::Layout visible;
    for (const QLine &line : m_layout.lines) {
        if (QRect(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1).intersects(exposed))
            visible.lines.append(line);
    }
    for (const score::Glyph &glyph : m_layout.glyphs) {
        if (glyph.cell.adjusted(-12, -12, 12, 12).intersects(exposed))
            visible.glyphs.append(glyph);
    }
    glyphs::paint(painter, visible, 1);
}

void ScoreView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        Q_EMIT rightClicked(event->position().toPoint(), event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

} // namespace kr31
