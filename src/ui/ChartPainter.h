#pragma once

#include "editors/icon/ChartLayout.h"

#include <QFont>
#include <QPainter>
#include <QWidget>

#include <functional>

namespace kr31 {

// The fonts of charts: the window font on screen, a font with Japanese
// letters on paper.
QFont chartScreenFont();
QFont chartPaperFont();

// Paints the shapes of one chart page: black outlines, white fills, black
// arrowheads; u sets the line width and the size of the letters. A box's text
// keeps a tenth of u from its sides; a wider text is drawn smaller.
void paintChartShapes(QPainter &painter, const chart::Shapes &shapes, int u, QFont font);

// A paint box: a plain widget whose painting is its window's (painter, width).
class PaintBox : public QWidget
{
public:
    PaintBox(QWidget *parent, std::function<void(QPainter &, int)> paint)
        : QWidget(parent)
        , m_paint(std::move(paint))
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        m_paint(painter, width());
    }

private:
    std::function<void(QPainter &, int)> m_paint;
};

} // namespace kr31
