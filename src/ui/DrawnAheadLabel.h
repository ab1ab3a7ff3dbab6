#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QTimer>

#include <future>

namespace kr31 {

// A label that shows one of a few short texts known beforehand (the main
// menu's transfer mode digit), drawn ahead into pictures: painting the label
// then only copies a picture. Drawn in place, the first text would have the
// window thread read the system's font configuration, load the font and
// shape the text, which costs more than making the rest of the menu.
//
// The pictures are kept between runs in the cache of decoded pictures. When
// they are there, drawAhead() takes them at once and the label draws them
// again on another thread after its first paint (fonts may have changed
// since), repainting itself and keeping the new ones when they differ. When
// they are not, they are drawn on another thread at once.
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
    // Whether the pictures came from the cache and are still to be checked
    // against a fresh drawing (for tests).
    bool checking() const { return m_unchecked || m_checking.valid(); }

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
    using Drawn = QHash<QString, QImage>;

    Look look() const;
    // Whether the label draws its text exactly as drawAhead() does: plain,
    // enabled, without frame, margin, indent or word wrap.
    bool plain() const;
    const QImage *drawnFor(const QString &text) const;
    static Drawn draw(const Look &look, const QStringList &texts);
    // The cache's name for text drawn in look.
    static QString key(const Look &look, const QString &text);
    static Drawn kept(const Look &look, const QStringList &texts);
    static void keep(const Look &look, const Drawn &drawn);
    void startChecking();
    void takeChecked();
    void waitForThreads();

    Look m_look;
    QStringList m_texts;
    mutable std::future<Drawn> m_drawing; // when nothing was kept
    mutable Drawn m_drawn;
    bool m_unchecked = false; // m_drawn came from the cache, not checked yet
    std::future<Drawn> m_checking;
    QTimer m_checkPoll;
};

} // namespace kr31
