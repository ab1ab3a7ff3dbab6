#include "ui/DrawnAheadLabel.h"

#include "ui/Pictures.h"

#include <QPainter>
#include <QStyle>
#include <QTextDocument>


namespace kr31 {

namespace {
// Drawn pictures come from no file; the cache reads every entry back as
// coming from a plain one.
const picturecache::Source NoFile{true, true};
} // namespace

DrawnAheadLabel::DrawnAheadLabel(QWidget *parent)
    : QLabel(parent)
{
    m_checkPoll.setInterval(20);
    connect(&m_checkPoll, &QTimer::timeout, this, [this] { takeChecked(); });
}

DrawnAheadLabel::~DrawnAheadLabel()
{
    waitForThreads();
}

void DrawnAheadLabel::waitForThreads()
{
    if (m_drawing.valid())
        m_drawing.wait();
    if (m_checking.valid())
        m_checking.wait();
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

DrawnAheadLabel::Drawn DrawnAheadLabel::draw(const Look &look, const QStringList &texts)
{
    Drawn drawn;
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
}

QString DrawnAheadLabel::key(const Look &look, const QString &text)
{
    return QStringLiteral("drawn text|%1|%2|%3x%4|%5|%6|%7|%8")
        .arg(look.font.toString(), look.colour.name(QColor::HexArgb))
        .arg(look.size.width())
        .arg(look.size.height())
        .arg(look.flags)
        .arg(look.scale)
        .arg(QString::fromLatin1(qVersion()), text);
}

DrawnAheadLabel::Drawn DrawnAheadLabel::kept(const Look &look, const QStringList &texts)
{
    Drawn drawn;
    const QSize pixels = look.size * look.scale;
    for (const QString &text : texts) {
        QImage image = cachedImage(key(look, text), NoFile);
        if (image.format() != QImage::Format_ARGB32_Premultiplied || image.size() != pixels)
            return {};
        image.setDevicePixelRatio(look.scale);
        drawn.insert(text, image);
    }
    return drawn;
}

void DrawnAheadLabel::keep(const Look &look, const Drawn &drawn)
{
    for (auto it = drawn.constBegin(); it != drawn.constEnd(); ++it)
        keepCachedImage(key(look, it.key()), NoFile, it.value());
}

void DrawnAheadLabel::drawAhead(const QStringList &texts)
{
    waitForThreads();
    m_checkPoll.stop();
    m_drawn.clear();
    m_unchecked = false;
    m_look = look();
    m_texts = texts;
    if (m_look.font.pixelSize() <= 0 || m_look.size.isEmpty())
        return;
    m_drawn = kept(m_look, texts);
    m_unchecked = !m_drawn.isEmpty();
    if (m_unchecked)
        return;
    m_drawing = std::async(std::launch::async, [look = m_look, texts] {
        Drawn drawn = draw(look, texts);
        keep(look, drawn);
        return drawn;
    });
}

void DrawnAheadLabel::startChecking()
{
    m_unchecked = false;
    m_checking = std::async(std::launch::async, [look = m_look, texts = m_texts] { return draw(look, texts); });
    m_checkPoll.start();
}

void DrawnAheadLabel::takeChecked()
{
    if (!m_checking.valid() || m_checking.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    m_checkPoll.stop();
    Drawn fresh = m_checking.get();
    if (fresh == m_drawn)
        return;
    keep(m_look, fresh);
    m_drawn = std::move(fresh);
    update();
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
    painter.end();
    // Kept pictures are drawn again once they have been shown.
    if (m_unchecked)
        startChecking();
}

} // namespace kr31
