#include "editors/icon/ChartLayout.h"

#include "core/TextTools.h"
#include "program/CommandList.h"

namespace kr31::chart {

namespace {

const QString kStart = QStringLiteral("プログラム開始");
const QString kEnd = QStringLiteral("プログラム終了");
const QChar kWideSpace(0x3000);

int half(int u)
{
    return scaled(u, 1, 2);
}

Shape terminal(int x, int y, int u, const QString &text)
{
    const int h = half(u);
    return {Shape::Terminal, {}, {x - u, y, x + u, y + h}, h, text};
}

void addArrow(Shapes &out, int x, int y, int u)
{
    const int h = half(u);
    const int wing = scaled(u, 1, 15), back = scaled(u, 1, 7);
    out.append({Shape::Line, {{x, y}, {x, y + h}}});
    out.append({Shape::Arrowhead, {{x, y + h}, {x + wing, y + h - back}, {x - wing, y + h - back}}});
}

Shape label(int left, int top, int right, int bottom, const QString &text)
{
    return {Shape::Label, {}, {left, top, right, bottom}, 0, text};
}

// Where a repeat's loop-back line ends: at the return step's box, or at the
// page's bottom when the paper cuts the return step off.
struct LoopEnd
{
    enum { None, Here, Below } where = None;
    int y = 0;
};

void addDiamond(Shapes &out, int x, int y, int u, const QString &text, LoopEnd loop, const Frame &frame)
{
    const int h = half(u);
    const int side = scaled(u, 5, 2);
    out.append({Shape::Diamond, {{x, y}, {x - side, y + h}, {x, y + u}, {x + side, y + h}}});
    out.append(label(x - scaled(u, 22, 10), y + scaled(u, 3, 10), x + scaled(u, 22, 10), y + scaled(u, 7, 10), text));
    out.append(label(x - scaled(u, 275, 100), y + scaled(u, 1, 4), x - scaled(u, 225, 100), y + h,
                     QStringLiteral("No")));
    out.append(label(x, y + u, x + h, y + scaled(u, 125, 100), QStringLiteral("YES")));

    const int outer = x - 3 * u;
    const int wing = scaled(u, 1, 15), back = scaled(u, 1, 7);
    switch (loop.where) {
    case LoopEnd::None:
        break;
    case LoopEnd::Here: {
        // Rejoins the arrow into the return step's box a quarter unit above the box.
        const int ty = loop.y - scaled(u, 1, 4);
        out.append({Shape::Line, {{x - side, y + h}, {outer, y + h}, {outer, ty}, {x, ty}}});
        out.append({Shape::Arrowhead, {{x, ty}, {x - back, ty - wing}, {x - back, ty + wing}}});
        break;
    }
    case LoopEnd::Below:
        out.append({Shape::Line, {{x - side, y + h}, {outer, y + h}, {outer, frame.pageBottom}}});
        out.append({Shape::Arrowhead,
                    {{outer, frame.pageBottom},
                     {outer + wing, frame.pageBottom - back},
                     {outer - wing, frame.pageBottom - back}}});
        break;
    }
}

QString code(const QString &line)
{
    return commandlist::field(line, 1);
}

} // namespace

Shape terminalShape(int x, int y, int u, const QString &text)
{
    return terminal(x, y, u, text);
}

void addArrowShapes(Shapes &out, int x, int y, int u)
{
    addArrow(out, x, y, u);
}

void addDiamondShapes(Shapes &out, int x, int y, int u, const QString &text, int returnTop)
{
    LoopEnd loop;
    if (returnTop >= 0)
        loop = {LoopEnd::Here, returnTop};
    addDiamond(out, x, y, u, text, loop, Frame{u, x, 0});
}

int scaled(int u, int numerator, int denominator)
{
    return int(text::roundHalfEven(qint64(u) * numerator, denominator));
}

bool isRepeat(const QString &code)
{
    return code == QLatin1String("22") || code == QLatin1String("221") || code == QLatin1String("222")
        || code == QLatin1String("231") || code == QLatin1String("232");
}

QStringList drawnSteps(const QStringList &steps)
{
    QStringList drawn;
    for (const QString &line : steps) {
        if (code(line) == QLatin1String("27"))
            break;
        drawn.append(line);
    }
    return drawn;
}

QString stepText(const QString &line)
{
    const QString c = code(line);
    const QString a1 = commandlist::field(line, 2), a2 = commandlist::field(line, 3);
    if (c == QLatin1String("16"))
        return QStringLiteral("LED ON");
    if (c == QLatin1String("17"))
        return QStringLiteral("LED OFF");
    if (c == QLatin1String("18"))
        return QStringLiteral("明るさ設定　明るさ") + a1;
    if (c == QLatin1String("19"))
        return QStringLiteral("だんだん明るく　明るさ") + a1 + kWideSpace + QStringLiteral("単位") + a2;
    if (c == QLatin1String("20"))
        return QStringLiteral("だんだん暗く　明るさ") + a1 + kWideSpace + QStringLiteral("単位") + a2;
    if (c == QLatin1String("21"))
        return QStringLiteral("タイマ　時間") + a1;
    if (isRepeat(c)) {
        const std::optional<int> count = text::toInt(a2);
        const QString times = count ? QString::number(qint64(*count) + 1) : QStringLiteral("？");
        return QStringLiteral("繰り返し　") + times + QStringLiteral("回？");
    }
    if (c == QLatin1String("23"))
        return QStringLiteral("タッチ待ち");
    if (c == QLatin1String("24"))
        return QStringLiteral("タッチ中だんだん明るく");
    if (c == QLatin1String("25"))
        return QStringLiteral("タッチ中だんだん暗く");
    if (c == QLatin1String("26"))
        return QStringLiteral("確認音");
    return {};
}

int halfWidth(const QString &c, int u)
{
    if (c == QLatin1String("16") || c == QLatin1String("17") || c == QLatin1String("21") || c == QLatin1String("23")
        || c == QLatin1String("26"))
        return u;
    if (c == QLatin1String("18"))
        return scaled(u, 13, 10);
    if (c == QLatin1String("19"))
        return 2 * u;
    if (c == QLatin1String("20"))
        return scaled(u, 18, 10);
    if (c == QLatin1String("24") || c == QLatin1String("25"))
        return scaled(u, 15, 10);
    if (isRepeat(c))
        return scaled(u, 5, 2);
    return 0;
}

int stepHeight(const QString &c, int u)
{
    return half(u) + (isRepeat(c) ? u : half(u));
}

int returnStep(const QString &line, int drawnCount)
{
    const std::optional<int> r = text::toInt(commandlist::field(line, 2));
    return r && *r >= 0 && *r < drawnCount ? *r : -1;
}

QList<int> stepTops(const QStringList &steps, int u, int top)
{
    const int h = half(u);
    QList<int> tops;
    int y = top + h; // below the start terminal
    for (const QString &line : drawnSteps(steps)) {
        tops.append(y + h);
        y += stepHeight(code(line), u);
    }
    return tops;
}

Shapes layoutPage(const QStringList &steps, const Frame &frame)
{
    Shapes out;
    const QStringList drawn = drawnSteps(steps);
    if (drawn.isEmpty())
        return out;

    const int u = frame.u, h = half(u), x = frame.x;
    const QList<int> tops = stepTops(drawn, u, frame.top);
    // The steps whose shape ends above the page's bottom.
    qsizetype fit = 0;
    while (fit < drawn.size() && tops[fit] + stepHeight(code(drawn[fit]), u) - h <= frame.pageBottom)
        ++fit;

    out.append(terminal(x, frame.top, u, kStart));
    int y = frame.top + h;
    for (qsizetype i = 0; i < fit; ++i) {
        addArrow(out, x, y, u);
        y += h;
        const QString c = code(drawn[i]);
        if (isRepeat(c)) {
            LoopEnd loop;
            const int r = returnStep(drawn[i], drawn.size());
            if (r >= fit)
                loop.where = LoopEnd::Below;
            else if (r >= 0)
                loop = {LoopEnd::Here, tops[r]};
            addDiamond(out, x, y, u, stepText(drawn[i]), loop, frame);
        } else if (const int w = halfWidth(c, u)) {
            out.append({Shape::Box, {}, {x - w, y, x + w, y + h}, 0, stepText(drawn[i])});
        }
        y += isRepeat(c) ? u : h;
    }
    if (fit == drawn.size() && y + 2 * h <= frame.pageBottom) {
        addArrow(out, x, y, u);
        out.append(terminal(x, y + h, u, kEnd));
    } else {
        if (y < frame.pageBottom)
            out.append({Shape::Line, {{x, y}, {x, frame.pageBottom}}});
        out.append(label(x - 3 * u, frame.pageBottom, x + 3 * u, frame.pageBottom + h, CutNote));
    }
    return out;
}

Shapes layout(const QStringList &steps, int u, int x, int top)
{
    return layoutPage(steps, {u, x, top});
}

int chartBottom(const QStringList &steps, int u, int top)
{
    const QStringList drawn = drawnSteps(steps);
    if (drawn.isEmpty())
        return top;
    int y = top + half(u);
    for (const QString &line : drawn)
        y += stepHeight(code(line), u);
    return y + 2 * half(u);
}

} // namespace kr31::chart
