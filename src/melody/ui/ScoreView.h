#pragma once

#include "melody/ScoreLayout.h"

#include <QWidget>

namespace kr31 {

// The score's paint box: two staves with the notes of both voices, drawn
// from a layout; a right click reports where it was.
class ScoreView : public QWidget
{
    Q_OBJECT
public:
    explicit ScoreView(QWidget *parent = nullptr);

    void showScore(const score::Layout &layout);
    const score::Layout &score() const { return m_layout; }

Q_SIGNALS:
    void rightClicked(QPoint at, QPoint globalAt);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    score::Layout m_layout;
};

} // namespace kr31
