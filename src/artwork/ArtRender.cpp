// One painter per kind of picture, and the writer of the whole set.
#include "ArtRenderParts.h"
#include "program/CommandWords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainterPath>
#include <QSaveFile>
#include <QtMath>

#include <algorithm>

namespace kr31::art {
namespace parts {

constexpr int kJpegQuality = 92;

// Layouts of Kind::Background (Entry::style), as in ArtTable.cpp.
enum BgStyle { MainMenu = 1, IconEditor, FlowEditor, TextEditor, MelodyEditor, RealTime, BeepSound,
               Report, ModePage, SetUpWindow, ChartView, LampWindow };

const QColor kPanelEdge(0xFF, 0xD5, 0x9E);

QPainterPath rounded(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

const Entry* findEntry(const QString& path)
{
    for (const Entry& e : table())
        if (e.path == path)
            return &e;
    return nullptr;
}

// Backgrounds are drawn once and reused for the corners of the pictures that sit on them.
QImage cachedBackground(const QString& path)
{
    static QHash<QString, QImage> cache;
    auto it = cache.find(path);
    if (it != cache.end())
        return *it;
    const Entry* e = findEntry(path);
    QImage img = e ? render(*e, 0) : QImage();
    cache.insert(path, img);
    return img;
}

// Fills the picture with what lies under it: its background's pixels, or cream.
void fillUnder(QPainter& p, const Entry& e, const QColor& fallback)
{
    if (!e.bgRef.isEmpty()) {
        const QImage bg = cachedBackground(e.bgRef);
        if (!bg.isNull()) {
            p.drawImage(QPoint(0, 0), bg.copy(QRect(e.at, e.size)));
            return;
        }
    }
    p.fillRect(QRect(QPoint(0, 0), e.size), fallback);
}

void softShadow(QPainter& p, const QPainterPath& path, QPointF offset, int alpha)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x50, 0x3C, 0x28, alpha));
    p.drawPath(path.translated(offset));
    p.restore();
}

// A framed white area where a window puts a control, with an optional caption above it.
void drawFrame(QPainter& p, const QRectF& r, const QString& caption, const QColor& accent)
{
    const QPainterPath frame = rounded(r, 12);
    softShadow(p, frame, {0, 3}, 40);
    p.save();
    p.setPen(QPen(accent.lighter(120), 3));
    p.setBrush(Qt::white);
    p.drawPath(frame);
    p.restore();
    if (!caption.isEmpty())
        drawLabel(p, QRectF(r.left() + 12, r.top() + 2, r.width() - 24, 20), caption, 14, accent.darker(135), {}, 0,
                  Qt::AlignLeft | Qt::AlignVCenter);
}

void drawDots(QPainter& p, const QRectF& area, const QColor& c, int seed)
{
    p.save();
    p.setPen(Qt::NoPen);
    quint32 s = 2654435761u * quint32(seed + 7);
    for (int i = 0; i < 22; ++i) {
        s = s * 1664525u + 1013904223u;
        const qreal x = area.left() + (s >> 8) % quint32(area.width());
        s = s * 1664525u + 1013904223u;
        const qreal y = area.top() + (s >> 8) % quint32(area.height());
        const qreal r = 2 + (s >> 4) % 5;
        p.setBrush(QColor(c.red(), c.green(), c.blue(), 60 + int((s >> 12) % 60)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    p.restore();
}

// The sky-blue title strip that every tool window shares (height h), with the window's
// name in a coloured bubble at the left.
void drawTitleStrip(QPainter& p, int width, int h, const QString& title, const QColor& accent, Glyph glyph)
{
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kTitleTop);
    g.setColorAt(1, kTitleBottom);
    p.fillRect(QRectF(0, 0, width, h), g);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRect(QRectF(0, 0, width, h * 0.45));
    p.restore();
    if (title.isEmpty())
        return;
    const QRectF bubble(10, h * 0.18, qMin(214.0, width * 0.42), h * 0.64);
    const QPainterPath path = rounded(bubble, bubble.height() / 2);
    softShadow(p, path, {0, 3}, 60);
    inkPath(p, path, verticalGradient(bubble, accent, 130, 105), 2.5);
    const qreal gs = bubble.height() - 10;
    QPainterPath circle;
    circle.addEllipse(QRectF(bubble.left() + 5, bubble.top() + 5, gs, gs));
    inkPath(p, circle, QColor(255, 255, 255, 90), 0);
    drawGlyph(p, glyph, QRectF(bubble.left() + 8, bubble.top() + 8, gs - 6, gs - 6));
    drawLabel(p, bubble.adjusted(gs + 10, 2, -10, -2), title, h * 0.34, Qt::white, kInk, 2.4);
}

void drawBody(QPainter& p, const QRectF& r, const QColor& accent)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kCream);
    g.setColorAt(1, kCream.darker(103));
    p.fillRect(r, g);
    p.save();
    p.setPen(QPen(accent.lighter(150), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3, 3 - 6, -3, -3));
    p.restore();
}

// ---- backgrounds ----------------------------------------------------------------------------

Glyph windowGlyph(int style)
{
    switch (style) {
    case IconEditor: return Glyph::Bulb;
    case FlowEditor: return Glyph::Chart;
    case TextEditor: return Glyph::Report;
    case MelodyEditor: return Glyph::Note;
    case RealTime: return Glyph::Bulb;
    case BeepSound: return Glyph::Speaker;
    case Report: return Glyph::Printer;
    case ModePage: return Glyph::Speaker;
    case SetUpWindow: return Glyph::Gear;
    case LampWindow: return Glyph::Bulb;
    default: return Glyph::None;
    }
}

void paintMainMenu(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(0xFF, 0xF6, 0xD8));
    g.setColorAt(1, QColor(0xFF, 0xE3, 0xC2));
    p.fillRect(QRect(0, 0, w, h), g);
    drawDots(p, QRectF(0, 60, w, h - 60), QColor(0xFF, 0xB7, 0x4D), 1);
    drawTitleStrip(p, w, 57, QString(), e.colour, Glyph::None);
    // lamp mascot and the program's name in the strip
    drawIllustration(p, 100, QRectF(8, 2, 54, 54));
    drawLabel(p, QRectF(66, 6, 380, 46), e.label, 28, Qt::white, kInk, 3, Qt::AlignLeft | Qt::AlignVCenter);

    auto group = [&](const QRectF& r, const QString& caption, const QColor& c) {
        const QPainterPath path = rounded(r, 18);
        softShadow(p, path, {0, 4}, 45);
        p.save();
        p.setPen(QPen(c, 3));
        p.setBrush(QColor(255, 255, 255, 215));
        p.drawPath(path);
        p.restore();
        const QRectF cap(r.left() + 14, r.top() - 13, qMin(r.width() - 28, 26.0 + caption.size() * 16), 26);
        inkPath(p, rounded(cap, 13), verticalGradient(cap, c), 2);
        drawLabel(p, cap.adjusted(6, 1, -6, -1), caption, 15, Qt::white, kInk, 1.6);
    };
    group(QRectF(46, 112, 284, 144), QString::fromUtf8("LEDの プログラム"), QColor(0xFF, 0x98, 0x2E));
    group(QRectF(346, 112, 104, 144), QString::fromUtf8("メロディ"), QColor(0xF0, 0x5A, 0x8C));
    group(QRectF(54, 280, 226, 96), QString::fromUtf8("ためしてみよう"), QColor(0x4C, 0xBB, 0x5A));
    // the description box for Memo1
    // (its caption sits above the box's first line)
    group(QRectF(310, 276, 133, 104), QString::fromUtf8("せつめい"), QColor(0x3D, 0xA5, 0xF0));
    // the transfer mode digit (Label1 at 496, 306)
    const QRectF mode(466, 270, 116, 68);
    const QPainterPath mp = rounded(mode, 14);
    softShadow(p, mp, {0, 3}, 40);
    inkPath(p, mp, Qt::white, 2);
    drawLabel(p, QRectF(mode.left(), mode.top() + 4, mode.width(), 18), QString::fromUtf8("てんそうモード"), 13,
              QColor(0x1E, 0x88, 0xE5));
    QPainterPath disc;
    disc.addEllipse(QPointF(505, 320), 16, 16);
    inkPath(p, disc, QColor(0xFF, 0xF3, 0xC4), 1.6);
    // decorations in free corners
    drawIllustration(p, 100, QRectF(476, 78, 100, 100));
    drawNotePair(p, QPointF(540, 220), 16, QColor(0xF4, 0x8F, 0xB1));
}

void paintToolWindow(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    drawBody(p, QRectF(0, 73, w, h - 73), e.colour);
    drawTitleStrip(p, w, 73, e.label, e.colour, windowGlyph(e.style));
    const QColor ac = e.colour;
    switch (e.style) {
    case IconEditor: {
        drawFrame(p, QRectF(15, 120, 186, 282), QString::fromUtf8("めいれい"), ac);
        drawFrame(p, QRectF(207, 104, 526, 248), QString::fromUtf8("プログラム（ここに めいれいを おいてね）"), ac);
        drawFrame(p, QRectF(207, 355, 526, 132), QString(), ac);
        drawFrame(p, QRectF(15, 406, 186, 84), QString::fromUtf8("メモリ"), ac);
        drawLabel(p, QRectF(157, 408, 40, 26), QStringLiteral("/47"), 18, ac.darker(140), {}, 0,
                  Qt::AlignLeft | Qt::AlignVCenter);
        for (int i = 0; i < 4; ++i) {
            const QRectF track(34, 436 + 12 * i, 144, 10);
            p.save();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xEC, 0xEF, 0xF1));
            p.drawRect(track);
            p.setPen(QPen(QColor(0xCF, 0xD8, 0xDC), 1));
            for (int t = 12; t < 144; t += 12)
                p.drawLine(QPointF(34 + t, track.top() + 2), QPointF(34 + t, track.bottom() - 2));
            p.restore();
        }
        break;
    }
    case FlowEditor:
        drawFrame(p, QRectF(12, 122, 164, 290), QString::fromUtf8("めいれいを えらぶ"), ac);
        drawFrame(p, QRectF(22, 428, 146, 58), QString(), ac);
        drawFrame(p, QRectF(179, 108, 387, 386), QString(), ac);
        drawFrame(p, QRectF(582, 136, 141, 340), QString(), ac);
        drawLabel(p, QRectF(592, 178, 122, 20), QString::fromUtf8("ページ"), 14, ac.darker(135));
        break;
    case TextEditor:
        drawFrame(p, QRectF(21, 107, 353, 382), QString(), ac);
        drawFrame(p, QRectF(377, 107, 353, 381), QString(), ac);
        break;
    case RealTime:
        drawIllustration(p, 5, QRectF(600, 350, 130, 130));
        break;
    case BeepSound:
        drawIllustration(p, 6, QRectF(600, 350, 130, 130));
        break;
    default:
        break;
    }
}

void paintModePage(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kTitleTop);
    g.setColorAt(1, kTitleBottom);
    p.fillRect(QRect(0, 0, w, h), g);
    drawDots(p, QRectF(0, 0, 220, h), QColor(255, 255, 255), 3);
    const QRectF bubble(12, 14, 200, 48);
    inkPath(p, rounded(bubble, 24), verticalGradient(bubble, e.colour), 2.5);
    drawLabel(p, bubble.adjusted(8, 2, -8, -2), e.label, 22, Qt::white, kInk, 2.4);
    // the left column where the radio group and buttons sit
    drawFrame(p, QRectF(12, 76, 200, 410), QString(), e.colour);
    // the help page (WebBrowser1 at 230, 24; 499 x 455)
    drawFrame(p, QRectF(224, 18, 511, 467), QString(), e.colour);
}

void paintSetUp(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    drawBody(p, QRectF(0, 57, w, h - 57), e.colour);
    drawTitleStrip(p, w, 57, e.label, e.colour, Glyph::Gear);
}

void paintChartView(QPainter& p, const Entry& e)
{
    const int w = e.size.width(), h = e.size.height();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, kTitleTop);
    g.setColorAt(1, kTitleBottom);
    p.fillRect(QRect(0, 0, w, h), g);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 45));
    p.drawRoundedRect(QRectF(2, 2, w - 4, 436), 14, 14);
    p.restore();
    drawFrame(p, QRectF(4, 5, 492, 431), QString(), e.colour);
}

// ---- the other kinds --------------------------------------------------------------------------

void paintTitleStrip(QPainter& p, const Entry& e)
{
    fillUnder(p, e);
}

void paintMenuTile(QPainter& p, const Entry& e, bool highlighted)
{
    fillUnder(p, e, Qt::white);
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(e.size)).adjusted(3, 2, -3, -5);
    const QPainterPath card = rounded(box, 14);
    if (highlighted) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xFF, 0xEB, 0x3B, 200), 6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(card);
        p.restore();
    }
    softShadow(p, card, {0, 3}, 70);
    inkPath(p, card, verticalGradient(box, highlighted ? e.colour.lighter(118) : e.colour, highlighted ? 150 : 130, 105),
            highlighted ? 3 : 2.2);
    // glossy top
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setClipPath(card);
    p.setBrush(QColor(255, 255, 255, highlighted ? 90 : 60));
    p.drawEllipse(QRectF(box.left() - box.width() * 0.3, box.top() - box.height() * 0.55, box.width() * 1.6,
                         box.height() * 0.85));
    p.restore();

    const bool tall = e.size.height() > e.size.width();
    const qreal side = box.height() - 20;
    const QRectF art = tall ? QRectF(box.left() + 6, box.top() + 6, box.width() - 12, box.width() - 12)
                            : QRectF(box.center().x() - side / 2, box.top() + 2, side, side);
    const qreal grow = highlighted ? 3 : 0;
    drawIllustration(p, e.style, art.adjusted(-grow, -grow, grow, grow));
    const QRectF text = tall ? QRectF(box.left() + 2, art.bottom() + 2, box.width() - 4, box.bottom() - art.bottom() - 4)
                             : QRectF(box.left() + 4, art.bottom(), box.width() - 8, box.bottom() - art.bottom() - 1);
    drawLabel(p, text, e.label, tall ? 15 : 14, highlighted ? QColor(0xFF, 0xF5, 0x9D) : Qt::white, kInk, 2.2);
    if (highlighted) {
        drawStar(p, QPointF(box.right() - 8, box.top() + 8), 6, QColor(0xFF, 0xF5, 0x9D));
        drawStar(p, QPointF(box.left() + 8, box.bottom() - 10), 4, Qt::white);
    }
}

// A picture that names the window (the editor's mode): its glyph over its
// label on the window's own background, nothing that looks pressable.
void paintModeMark(QPainter& p, const Entry& e)
{
    fillUnder(p, e);
    const QRectF all(QPointF(0, 0), QSizeF(e.size));
    const qreal gh = all.height() * 0.62;
    drawGlyph(p, e.glyph, QRectF(all.center().x() - gh / 2, all.top() + 1, gh, gh));
    drawLabel(p, QRectF(all.left(), all.top() + gh, all.width(), all.height() - gh), e.label, 17,
              e.colour.darker(190));
}

void paintButton(QPainter& p, const Entry& e, bool pressed)
{
    if (e.style == 1)
        return paintModeMark(p, e);
    fillUnder(p, e);
    const QSizeF sz(e.size);
    const bool round = e.label.isEmpty();
    const bool slim = sz.height() <= 20; // a slim button gives its label all the height it has
    const qreal depth = sz.height() >= 40 ? 4 : slim ? 2 : 2.5;
    const QRectF face0 = QRectF(QPointF(0, 0), sz).adjusted(1.5, 1, -1.5, -1 - depth);
    const QRectF face = pressed ? face0.translated(0, depth - 1) : face0;
    const qreal radius = round ? face.height() / 2 : qMin(face.height() / 2, 14.0);
    const QColor base = pressed ? e.colour.darker(125) : e.colour;

    const QPainterPath rim = rounded(face0.translated(0, depth), radius);
    const QPainterPath top = rounded(face, radius);
    softShadow(p, rim.translated(0, 1), {0, 0}, pressed ? 30 : 60);
    inkPath(p, rim, base.darker(150), 2);
    inkPath(p, top, verticalGradient(face, base, pressed ? 110 : 140, pressed ? 100 : 108), 2);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(top);
    p.setPen(Qt::NoPen);
    if (pressed) {
        // inner shadow along the top edge
        QLinearGradient s(face.topLeft(), face.topLeft() + QPointF(0, face.height() * 0.35));
        s.setColorAt(0, QColor(0, 0, 0, 70));
        s.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(s);
        p.drawRect(face);
    } else {
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawRoundedRect(QRectF(face.left() + 4, face.top() + 2, face.width() - 8, face.height() * 0.42), radius * 0.7,
                          radius * 0.7);
    }
    p.restore();

    const QRectF inner = face.adjusted(4, 1, -4, -1);
    if (round) {
        drawGlyph(p, e.glyph, inner.adjusted(2, 2, -2, -2));
    } else if (face.height() >= 44 && face.width() <= 100) {
        // stacked: glyph above, label below
        const qreal gh = inner.height() * 0.58;
        drawGlyph(p, e.glyph, QRectF(inner.center().x() - gh / 2, inner.top(), gh, gh));
        // Narrow neighbours (メニュー, ヘルプ, おわる) share one size that the longest caption fits.
        const qreal px = face.width() < 70 ? 12.5 : qMin(15.0, inner.height() - gh);
        drawLabel(p, QRectF(inner.left() - 2, inner.top() + gh, inner.width() + 4, inner.height() - gh), e.label,
                  px, Qt::white, kInk, 2);
    } else {
        const qreal gh = qMin(inner.height(), 30.0);
        const bool glyph = e.glyph != Glyph::None;
        const qreal textPx = slim ? inner.height() + 1 : qMin(inner.height() * 0.82, 20.0);
        const QFontMetricsF fm(labelFont(textPx));
        const qreal tw = qMin(fm.horizontalAdvance(e.label) + 6, inner.width() - (glyph ? gh + 4 : 0));
        const qreal total = tw + (glyph ? gh + 4 : 0);
        qreal x = inner.center().x() - total / 2;
        if (glyph) {
            drawGlyph(p, e.glyph, QRectF(x, inner.center().y() - gh / 2, gh, gh));
            x += gh + 4;
        }
        drawLabel(p, QRectF(x, inner.top() - (slim ? 1 : 0), tw, inner.height() + (slim ? 2 : 0)), e.label, textPx,
                  Qt::white, kInk, inner.height() > 24 ? 2.2 : slim ? 1.2 : 1.6);
    }
}

// The coloured tile every command picture is built on.
void paintCommandTile(QPainter& p, const Entry& e, const QRectF& r, qreal radius)
{
    const QPainterPath tile = rounded(r, radius);
    inkPath(p, tile, verticalGradient(r, e.colour, 140, 108), qMax(1.5, r.width() / 30));
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(tile);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QRectF(r.left() - r.width() * 0.3, r.top() - r.height() * 0.6, r.width() * 1.6, r.height()));
    p.restore();
    drawCommand(p, e.cmd, r.adjusted(r.width() * 0.08, r.height() * 0.08, -r.width() * 0.08, -r.height() * 0.08));
}

// Captions beside the argument controls that lie over the lower part of a slot picture.
// The words are the command words table's, as the flowchart's command dialog shows them.
struct SlotCaption { Cmd cmd; qreal x, y, w; const char* text; };
constexpr const char* valueWord(int code, int n) { return words::find(code)->value[n]; }
constexpr const char* unitWord(int code, int n) { return words::find(code)->unit[n]; }
const SlotCaption kSlotCaptions[] = {
    {Cmd::Light, 6, 101, 32, valueWord(18, 0)}, {Cmd::Light, 74, 101, 20, unitWord(18, 0)},
    {Cmd::FadeIn, 6, 101, 32, valueWord(19, 0)}, {Cmd::FadeIn, 74, 101, 20, unitWord(19, 0)},
    {Cmd::FadeIn, 6, 140, 32, valueWord(19, 1)},
    {Cmd::FadeOut, 6, 101, 32, valueWord(20, 0)}, {Cmd::FadeOut, 74, 101, 20, unitWord(20, 0)},
    {Cmd::FadeOut, 6, 140, 32, valueWord(20, 1)},
    {Cmd::Repeat, 6, 101, 32, valueWord(22, 0)}, {Cmd::Repeat, 74, 101, 20, unitWord(22, 0)},
    {Cmd::Repeat, 6, 140, 32, valueWord(22, 1)}, {Cmd::Repeat, 74, 140, 20, unitWord(22, 1)},
    {Cmd::Time, 6, 85, 88, words::TimePrompt}, {Cmd::Time, 72, 104, 16, words::TimeUnits[0]},
    {Cmd::Time, 72, 124, 16, words::TimeUnits[1]}, {Cmd::Time, 72, 144, 16, words::TimeUnits[2]},
};

bool slotHasArguments(Cmd c)
{
    return c == Cmd::Light || c == Cmd::FadeIn || c == Cmd::FadeOut || c == Cmd::Repeat || c == Cmd::Time;
}

void paintCommandSlot(QPainter& p, const Entry& e)
{
    p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
    const QRectF card(1.5, 1.5, 97, 167);
    if (e.cmd == Cmd::Empty) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0xB0, 0xBE, 0xC5), 2.5, Qt::DashLine, Qt::RoundCap));
        p.setBrush(QColor(0xF5, 0xF7, 0xF8));
        p.drawRoundedRect(card.adjusted(2, 2, -2, -2), 12, 12);
        p.restore();
        QPainterPath arrow = closedPath({{40, 40}, {60, 40}, {60, 62}, {72, 62}, {50, 84}, {28, 62}, {40, 62}});
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xCF, 0xD8, 0xDC));
        p.drawPath(arrow);
        p.restore();
        drawLabel(p, QRectF(6, 96, 88, 44), e.label, 15, QColor(0x90, 0xA4, 0xAE));
        return;
    }
    const QPainterPath path = rounded(card, 12);
    inkPath(p, path, verticalGradient(card, e.colour, 150, 112), 2);
    const bool args = slotHasArguments(e.cmd);
    // title band
    const QString title = e.label.section(u'\t', 0, 0).replace(u'\n', QString());
    const QString description = e.label.section(u'\t', 1);
    drawLabel(p, QRectF(4, 4, 92, 22), title, 15, Qt::white, kInk, 2);
    if (args) {
        drawCommand(p, e.cmd, QRectF(22, 26, 56, 56));
        // a light panel under the argument controls
        const QRectF panel(4, 84, 92, 81);
        inkPath(p, rounded(panel, 8), QColor(255, 255, 255, 225), 1.4);
        for (const SlotCaption& c : kSlotCaptions)
            if (c.cmd == e.cmd)
                drawLabel(p, QRectF(c.x, c.y, c.w, 16), QString::fromUtf8(c.text), 10, kInk);
    } else {
        drawCommand(p, e.cmd, QRectF(10, 34, 80, 80));
        const QRectF plate(8, 124, 84, 38);
        inkPath(p, rounded(plate, 10), QColor(255, 255, 255, 225), 1.4);
        drawLabel(p, plate.adjusted(3, 2, -3, -2), description, 13,
                  e.colour.darker(150));
    }
}

void paintSmallCommand(QPainter& p, const Entry& e)
{
    const qreal m = e.size.width() / 28.0;
    const QRectF tile(m, m, e.size.width() - 2 * m, e.size.height() - 2 * m);
    if (e.kind != Kind::DragBitmap) {
        p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
        paintCommandTile(p, e, tile, e.size.width() / 5.0);
        return;
    }
    // White is the drag picture's transparent colour: the tile keeps none of it, so
    // only the frame around the tile drops out.
    QImage layer(e.size, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        paintCommandTile(lp, e, tile, e.size.width() / 5.0);
    }
    for (int y = 0; y < layer.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < layer.width(); ++x)
            if (qAlpha(line[x]) == 255 && (line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = qRgb(0xF6, 0xF6, 0xF6);
    }
    p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
    p.drawImage(QPoint(0, 0), layer);
}

void paintGauge(QPainter& p, const Entry& e)
{
    const QRectF r(0, 0, e.size.width(), e.size.height());
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, e.colour.lighter(150));
    g.setColorAt(0.5, e.colour);
    g.setColorAt(1, e.colour.darker(125));
    p.fillRect(r, g);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    for (int x = 12; x < e.size.width(); x += 12)
        p.drawLine(QPointF(x - 0.5, 1), QPointF(x - 0.5, r.bottom() - 1));
}

void paintThumb(QPainter& p, const Entry& e)
{
    p.fillRect(QRect(QPoint(0, 0), e.size), Qt::white);
    const QRectF r(0.5, 0.5, e.size.width() - 1, e.size.height() - 1);
    QPainterPath knob;
    knob.moveTo(r.left(), r.top() + 2);
    knob.quadTo(r.left(), r.top(), r.left() + 2, r.top());
    knob.lineTo(r.right() - 2, r.top());
    knob.quadTo(r.right(), r.top(), r.right(), r.top() + 2);
    knob.lineTo(r.right(), r.bottom() - 5);
    knob.lineTo(r.center().x(), r.bottom());
    knob.lineTo(r.left(), r.bottom() - 5);
    knob.closeSubpath();
    inkPath(p, knob, verticalGradient(r, e.colour), 1);
}

}  // namespace parts

using namespace parts;

QImage render(const Entry& e, int variant)
{
    QImage img(e.size, e.ext == u"png" ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    img.fill(e.ext == u"png" ? Qt::transparent : Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    switch (e.kind) {
    case Kind::Background:
        switch (e.style) {
        case MainMenu: paintMainMenu(p, e); break;
        case ModePage: paintModePage(p, e); break;
        case SetUpWindow: paintSetUp(p, e); break;
        case ChartView: paintChartView(p, e); break;
        default: paintToolWindow(p, e); break;
        }
        break;
    case Kind::TitleStrip: paintTitleStrip(p, e); break;
    case Kind::MenuTile: paintMenuTile(p, e, variant == 1); break;
    case Kind::Button: paintButton(p, e, variant == 1); break;
    case Kind::CommandSlot: paintCommandSlot(p, e); break;
    case Kind::PaletteIcon:
    case Kind::DragBitmap:
    case Kind::ReportIcon: paintSmallCommand(p, e); break;
    case Kind::Gauge: paintGauge(p, e); break;
    case Kind::PageTab: paintPageTab(p, e); break;
    case Kind::PageTitle: paintPageTitle(p, e); break;
    case Kind::PianoKey: paintPianoKey(p, e, variant == 1); break;
    case Kind::Panel: paintPanel(p, e); break;
    case Kind::StaffName: paintStaffName(p, e); break;
    case Kind::Thumb: paintThumb(p, e); break;
    case Kind::Splash: paintSplash(p, e); break;
    case Kind::AppIcon: paintAppIcon(p, e); break;
    }
    p.end();
    return img;
}

QStringList generate(const QString& outDir, QString* error)
{
    const QDir root(outDir);
    QStringList manifest;
    const QList<Entry>& t = table();
    for (const OutputFile& f : outputFiles()) {
        const Entry& e = t[f.entry];
        const QString file = root.filePath(f.path);
        if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
            if (error)
                *error = QStringLiteral("cannot create the folder of %1").arg(file);
            return {};
        }
        const QImage img = render(e, f.variant);
        QSaveFile out(file);
        const QByteArray format = e.ext.toUpper().toLatin1();
        const bool ok = out.open(QIODevice::WriteOnly)
                        && img.save(&out, format.constData(), e.ext == u"jpg" ? kJpegQuality : -1) && out.commit();
        if (!ok) {
            if (error)
                *error = QStringLiteral("cannot write %1").arg(file);
            return {};
        }
        manifest.append(QStringLiteral("%1 %2x%3").arg(f.path).arg(f.size.width()).arg(f.size.height()));
    }
    std::sort(manifest.begin(), manifest.end());
    QSaveFile list(root.filePath(QStringLiteral("Img/manifest.txt")));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)
        || list.write(manifest.join(u'\n').toUtf8() + '\n') < 0 || !list.commit()) {
        if (error)
            *error = QStringLiteral("cannot write the manifest");
        return {};
    }
    return manifest;
}

}  // namespace kr31::art
