#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QLabel>

#include <future>

namespace kr31 {

// A label that shows one of a few short texts known beforehand (the main
// menu's transfer mode digit). drawAhead() draws each of them into a picture
// on another thread while the window is still being made; painting the label
// then only copies the picture. Drawn in place, the first text would have
// the window thread load its font and shape it, which costs about as much as
// making the rest of the window.
//
// Any other text, or a font, colour, size, alignment or screen scale changed
// since drawAhead(), is drawn as a plain label draws it. Only fonts sized in
// pixels are drawn ahead (a picture has no screen resolution to size points).
class DrawnAheadLabel : public QLabel
{
public:
    explicit DrawnAheadLabel(QWidget *parent = nullptr);
    ~DrawnAheadLabel() override;

    void drawAhead(const QStringList &texts);
    // Whether the label's text, as the label stands now, has a picture drawn
    // ahead (waits for the drawing).
    bool hasDrawnAhead() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // What a drawn picture depends on.
    struct Look
    {
        QFont font;
        QColor colour;
        QSize size;
        int flags = 0;
        qreal scale = 1;
        bool operator==(const Look &other) const = default;
    };
    Look look() const;
    // Whether the label draws its text exactly as drawAhead() does: plain,
    // enabled, without frame, margin, indent or word wrap.
    bool plain() const;
    const QImage *drawnFor(const QString &text) const;

    Look m_look;
    mutable std::future<QHash<QString, QImage>> m_drawing;
    mutable QHash<QString, QImage> m_drawn;
};

} // namespace kr31
