#include "editors/flowchart/FlowchartLayout.h"

#include "core/TextTools.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "program/CommandList.h"

namespace kr31::flowlayout {

namespace {

int half(int u)
{
    return chart::scaled(u, 1, 2);
}

bool isTall(const QString &entry)
{
    return flow::isRepeatEntry(entry) || flow::isCallEntry(entry);
}

// A call is what the compile expands ("Sub,k"); an entry that is no command
// (from a hand-edited file) is drawn as a plain box of its own text, as tall
// as the step the editor gives it.
bool isCall(const QString &entry)
{
    return flow::isCallEntry(entry);
}

} // namespace

int centreOf(int width)
{
    return int(text::roundHalfEven(width, 2));
}

QString entryText(const QString &entry)
{
    const QString c = commandlist::field(entry, 1);
    if (c == QLatin1String("100"))
        return QStringLiteral("動作終了");
    if (isCall(entry))
        return QStringLiteral("サブルーチン ") + commandlist::field(entry, 2);
    const QString text = chart::stepText(entry);
    return text.isEmpty() ? entry : text;
}

int halfWidth(const QString &entry, int u)
{
    const QString c = commandlist::field(entry, 1);
    if (c == QLatin1String("100") || isCall(entry))
        return u;
    if (c == QLatin1String("19"))
        return chart::scaled(u, 18, 10); // the editor's fade-in box is as wide as its fade-out box
    const int w = chart::halfWidth(c, u);
    return w > 0 ? w : u;
}

QList<int> entryTops(const QStringList &entries, int u, int top)
{
    QList<int> tops;
    int y = top + u;
    for (const QString &entry : entries) {
        tops.append(y);
        y += isTall(entry) ? u + half(u) : u;
    }
    return tops;
}

chart::Shapes layout(const QStringList &entries, int u, int x, int top)
{
    chart::Shapes out;
    if (entries.isEmpty())
        return out;
    const int h = half(u);
    const QList<int> tops = entryTops(entries, u, top);
    out.append(chart::terminalShape(x, top, u, QStringLiteral("プログラム開始")));
    int y = top + h;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &entry = entries[i];
        chart::addArrowShapes(out, x, y, u);
        y += h;
        const int w = halfWidth(entry, u);
        if (flow::isRepeatEntry(entry)) {
            const std::optional<int> r = text::toInt(commandlist::field(entry, 2));
            const int returnTop = r && *r >= 0 && *r < tops.size() ? tops[*r] : -1;
            chart::addDiamondShapes(out, x, y, u, entryText(entry), returnTop);
        } else if (isCall(entry)) {
            const int shoulder = chart::scaled(u, 38, 50);
            out.append({chart::Shape::Diamond,
                        {{x - w, y}, {x - w, y + shoulder}, {x, y + u}, {x + w, y + shoulder}, {x + w, y}}});
            out.append({chart::Shape::Label, {}, {x - w, y, x + w, y + u}, 0, entryText(entry)});
        } else {
            out.append({chart::Shape::Box, {}, {x - w, y, x + w, y + h}, 0, entryText(entry)});
        }
        y += isTall(entry) ? u : h;
    }
    chart::addArrowShapes(out, x, y, u);
    y += h;
    out.append(chart::terminalShape(x, y, u, QStringLiteral("プログラム終了")));
    return out;
}

int hitEntry(const QStringList &entries, QPoint p)
{
    if (p.x() <= 50 || p.x() >= 300)
        return -1;
    const QList<int> tops = entryTops(entries);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (tops[i] <= p.y() && p.y() <= tops[i] + flow::entryHitHeight(entries[i]))
            return int(i);
    }
    return -1;
}

int bottom(const QStringList &entries, int u, int top)
{
    if (entries.isEmpty())
        return top;
    const QList<int> tops = entryTops(entries, u, top);
    const int h = half(u);
    return tops.last() + (isTall(entries.last()) ? u : h) + 2 * h;
}

} // namespace kr31::flowlayout
