#include "editors/flowchart/FlowchartProgram.h"

#include "core/TextTools.h"
#include "program/CommandList.h"

#include <QSet>

namespace kr31 {

namespace flow {

const QString EmptySlot = QStringLiteral("27");

namespace {

const QString NoValue = QStringLiteral("設定値なし");
const QString Brightness = QStringLiteral("明るさ(%)");

QString code(const QString &entry)
{
    return commandlist::field(entry, 1);
}

} // namespace

const QStringList &fixedMenuItems()
{
    static const QStringList items{
        QStringLiteral("ON"),         QStringLiteral("OFF"),          QStringLiteral("明るさ設定"),
        QStringLiteral("だんだん明るく"), QStringLiteral("だんだん暗く"),     QStringLiteral("タイマ"),
        QStringLiteral("繰り返し"),      QStringLiteral("タッチ待ち"),       QStringLiteral("タッチ中だんだん明るく"),
        QStringLiteral("タッチ中だんだん暗く"), QStringLiteral("確認音"),    QStringLiteral("動作終了"),
    };
    return items;
}

QString subroutineItem(int k)
{
    return QStringLiteral("サブルーチン ") + QString::number(k);
}

QString entryCodeOfItem(int item)
{
    if (item >= 0 && item <= 10)
        return QString::number(16 + item);
    if (item == StopItem)
        return QStringLiteral("100");
    return {};
}

QString entryTextOf(int item, const QString &value1, const QString &value2)
{
    if (item >= FixedItems)
        return QStringLiteral("Sub,") + QString::number(item - StopItem);
    const QString c = entryCodeOfItem(item);
    if (hasValue2(item))
        return c + u',' + value1 + u',' + value2;
    if (hasValue1(item))
        return c + u',' + value1;
    return c;
}

QString valueHint(int item, const QString &value1, const QString &value2)
{
    if (hasValue1(item) && !text::toInt(value1))
        return msg::numberWanted(valueLabel1(item));
    if (hasValue2(item) && !text::toInt(value2))
        return msg::numberWanted(valueLabel2(item));
    return {};
}

bool hasValue1(int item)
{
    return item >= 2 && item <= 6;
}

bool hasValue2(int item)
{
    return item == 3 || item == 4 || item == RepeatItem;
}

int valueMax1(int item)
{
    if (item == TimeItem)
        return limits::MaxTime;
    return hasValue1(item) ? 100 : 0;
}

int valueMax2(int item)
{
    return hasValue2(item) ? 255 : 0;
}

int valueMin1(int item)
{
    return item == TimeItem ? 1 : 0;
}

int pageStep(int maximum)
{
    return int(text::roundHalfEven(maximum, 10));
}

QString valueLabel1(int item)
{
    switch (item) {
    case 2:
    case 3:
    case 4: return Brightness;
    case TimeItem: return QStringLiteral("時間(秒)");
    case RepeatItem: return QStringLiteral("戻り番地");
    default: return NoValue;
    }
}

QString valueLabel2(int item)
{
    switch (item) {
    case 3:
    case 4: return QStringLiteral("更新単位");
    case RepeatItem: return QStringLiteral("繰返回数(回)");
    default: return NoValue;
    }
}

QString commandNameOf(const QString &c, const QString &value1)
{
    if (c == QLatin1String("Sub"))
        return QStringLiteral("サブルーチン") + value1;
    const int item = c == QLatin1String("100") ? StopItem : text::toInt(c).value_or(-1) - 16;
    if (item < 0 || item > StopItem || entryCodeOfItem(item) != c)
        return {};
    return fixedMenuItems().at(item);
}

int itemOfEntry(const QString &c, const QString &value1)
{
    if (c == QLatin1String("100"))
        return StopItem;
    if (c == QLatin1String("Sub")) {
        const int k = text::toInt(value1).value_or(0);
        return k >= 1 && k <= MaxSubroutines ? StopItem + k : 0;
    }
    const int item = text::toInt(c).value_or(16) - 16;
    return item >= 0 && item < StopItem ? item : 0;
}

bool isRepeatEntry(const QString &entry)
{
    return code(entry) == QLatin1String("22");
}

bool isCallEntry(const QString &entry)
{
    return code(entry) == QLatin1String("Sub");
}

int entryStep(const QString &entry)
{
    return isRepeatEntry(entry) || isCallEntry(entry) ? 75 : 50;
}

int entryHitHeight(const QString &entry)
{
    return isRepeatEntry(entry) || isCallEntry(entry) ? 50 : 25;
}

} // namespace flow

namespace {

using flow::EmptySlot;
using flow::SlotCount;

// The return position of a repeat entry; nullopt when it is no integer.
std::optional<int> returnOf(const QString &entry)
{
    return text::toInt(commandlist::field(entry, 2));
}

// The repeat entry with another return position; its other fields as they stand.
QString withReturn(const QString &entry, int r)
{
    QStringList fields = entry.split(u',');
    fields[1] = QString::number(r);
    return fields.join(u',');
}

QString joinedEntries(const QStringList &entries)
{
    QString text;
    for (const QString &e : entries)
        text += e + u'/';
    return text;
}

} // namespace

FlowchartProgram::FlowchartProgram()
{
    for (Page &page : Pages)
        page.fill(EmptySlot);
}

QStringList FlowchartProgram::entries(int page) const
{
    QStringList list;
    for (const QString &slot : Pages.at(page)) {
        if (slot == EmptySlot)
            break;
        list.append(slot);
    }
    return list;
}

int FlowchartProgram::entryCount(int page) const
{
    int n = 0;
    while (n < SlotCount && Pages.at(page)[n] != EmptySlot)
        ++n;
    return n;
}

FlowOutcome FlowchartProgram::append(int item, const QString &value1, const QString &value2)
{
    if (const QString hint = flow::valueHint(item, value1, value2); !hint.isEmpty())
        return FlowOutcome::refused(hint);
    const int c = CurrentPage;
    if (c > 0 && item == flow::StopItem + c)
        return FlowOutcome::refused(msg::RepeatError501);
    const int i = entryCount(c);
    if (i >= SlotCount)
        return FlowOutcome::refused(msg::AddOverLimit503);
    if (item == flow::RepeatItem) {
        if (c > 0)
            return FlowOutcome::refused(msg::NoRepeatInSubroutine506);
        const std::optional<int> r = text::toInt(value1);
        if (!r || *r < 0 || *r >= i)
            return FlowOutcome::refused(msg::RepeatError501);
        for (int j = *r; j < i; ++j) {
            if (flow::isRepeatEntry(Pages[0][j]))
                return FlowOutcome::refused(msg::RepeatError501);
        }
    }
    Pages[c][i] = flow::entryTextOf(item, value1, value2);
    touch();
    return {};
}

FlowOutcome FlowchartProgram::addSubroutine()
{
    if (SubroutineCount >= flow::MaxSubroutines)
        return FlowOutcome::refused(msg::NoMoreSubroutines505);
    ++SubroutineCount;
    CurrentPage = SubroutineCount;
    touch();
    return {};
}

FlowOutcome FlowchartProgram::repeatCheck(int item, const QString &value1, bool inserting) const
{
    if (item != flow::RepeatItem)
        return {};
    if (CurrentPage != 0)
        return FlowOutcome::refused(msg::NoRepeatInSubroutine506);
    const int s = SelectedEntry;
    const std::optional<int> r = text::toInt(value1);
    if (!r || *r < 0 || *r >= s)
        return FlowOutcome::refused(msg::RepeatError501);
    for (int j = *r; j < s; ++j) {
        if (flow::isRepeatEntry(Pages[0][j]))
            return FlowOutcome::refused(msg::RepeatError501);
    }
    // A later loop whose body reaches back over s would hold the new repeat.
    const int count = entryCount(0);
    for (int j = inserting ? s : s + 1; j < count; ++j) {
        if (!flow::isRepeatEntry(Pages[0][j]))
            continue;
        const std::optional<int> later = returnOf(Pages[0][j]);
        if (later && *later <= s)
            return FlowOutcome::refused(msg::RepeatError501);
    }
    return {};
}

FlowOutcome FlowchartProgram::replaceEntry(int item, const QString &value1, const QString &value2)
{
    const int s = SelectedEntry;
    if (s < 0 || s >= entryCount(CurrentPage))
        return FlowOutcome::refused({});
    if (const QString hint = flow::valueHint(item, value1, value2); !hint.isEmpty())
        return FlowOutcome::refused(hint);
    if (FlowOutcome check = repeatCheck(item, value1, false); !check.ok())
        return check;
    const QString text = flow::entryTextOf(item, value1, value2);
    if (Pages[CurrentPage][s] != text) {
        Pages[CurrentPage][s] = text;
        touch();
    }
    return {};
}

FlowOutcome FlowchartProgram::insertEntry(int item, const QString &value1, const QString &value2, bool lossConfirmed)
{
    const int s = SelectedEntry;
    Page &page = Pages[CurrentPage];
    if (s < 0 || s >= SlotCount)
        return FlowOutcome::refused({});
    if (const QString hint = flow::valueHint(item, value1, value2); !hint.isEmpty())
        return FlowOutcome::refused(hint);
    if (FlowOutcome check = repeatCheck(item, value1, true); !check.ok())
        return check;
    if (page[SlotCount - 1] != EmptySlot && !lossConfirmed)
        return {FlowOutcome::AskLoss, msg::TotalPrompt};
    for (int i = SlotCount - 1; i > s; --i) {
        QString moved = page[i - 1];
        if (flow::isRepeatEntry(moved)) {
            const std::optional<int> r = returnOf(moved);
            if (r && *r > s)
                moved = withReturn(moved, *r + 1);
        }
        page[i] = moved;
    }
    page[s] = flow::entryTextOf(item, value1, value2);
    touch();
    return {};
}

FlowOutcome FlowchartProgram::deleteEntry()
{
    const int s = SelectedEntry;
    Page &page = Pages[CurrentPage];
    const int e = entryCount(CurrentPage);
    if (s < 0 || s >= e)
        return FlowOutcome::refused({});
    // A repeat whose loop would keep no entry would return to itself.
    if (s + 1 < e && flow::isRepeatEntry(page[s + 1]) && returnOf(page[s + 1]) == s)
        return FlowOutcome::refused(msg::RepeatError501);
    for (int i = s; i < e - 1; ++i) {
        QString moved = page[i + 1];
        if (flow::isRepeatEntry(moved)) {
            const std::optional<int> r = returnOf(moved);
            if (r && *r > s)
                moved = withReturn(moved, *r - 1);
        }
        page[i] = moved;
    }
    page[e - 1] = EmptySlot;
    touch();
    return {};
}

void FlowchartProgram::clearPage()
{
    if (PageToClear < 0 || PageToClear >= flow::PageCount)
        return;
    Page &page = Pages[PageToClear];
    if (entryCount(PageToClear) > 0)
        touch();
    page.fill(EmptySlot);
}

void FlowchartProgram::reset()
{
    *this = FlowchartProgram();
}

std::optional<QString> expandCalls(const FlowchartProgram &program, QString text, int limit)
{
    // Every expansion ends: a cycle of calls that does not grow comes back
    // to a text seen before (kept as hashes, not copies); one that grows
    // passes the length that all 47 slots of real calls could reach; and no
    // real program of nine subroutines needs as many passes as MaxPasses.
    constexpr int MaxPasses = 1000;
    if (limit < 0)
        limit = int(text.size()) + flow::SlotCount * flow::ExpansionLimit;
    QSet<size_t> seen;
    for (int pass = 0; text.contains(QLatin1String("Sub")); ++pass) {
        const size_t hash = qHash(text);
        if (pass >= MaxPasses || seen.contains(hash))
            return std::nullopt;
        seen.insert(hash);
        const qsizetype at = text.indexOf(QLatin1String("Sub,"));
        if (at < 0 || at + 4 >= text.size())
            return std::nullopt;
        const QChar digit = text.at(at + 4);
        if (digit < u'1' || digit > u'9')
            return std::nullopt;
        const int k = digit.unicode() - u'0';
        text = text::replaceAll(text, QStringLiteral("Sub,") + digit + u'/', joinedEntries(program.entries(k)));
        if (limit >= 0 && text.size() > limit)
            return std::nullopt;
    }
    return text;
}

FlowOutcome FlowchartProgram::compileChart()
{
    const QStringList main = entries(0);
    const FlowOutcome failed = FlowOutcome::refused(msg::OutOfRange507);

    // How many entries each call adds beyond itself.
    QList<int> size(main.size(), 0);
    for (qsizetype i = 0; i < main.size(); ++i) {
        if (!flow::isCallEntry(main[i]))
            continue;
        const std::optional<int> k = text::toInt(commandlist::field(main[i], 2));
        if (!k || *k < 1 || *k > flow::MaxSubroutines)
            return failed;
        const auto expanded = expandCalls(*this, joinedEntries(entries(*k)), flow::ExpansionLimit);
        if (!expanded)
            return failed;
        size[i] = int(expanded->count(u'/')) - 1;
    }

    QStringList compiled;
    QString segment;
    const auto expandSegment = [&] {
        const auto expanded = expandCalls(*this, segment, -1);
        if (!expanded)
            return false;
        QStringList lines = expanded->split(u'/');
        lines.removeLast(); // after the last "/"
        compiled.append(lines);
        segment.clear();
        return true;
    };
    for (qsizetype i = 0; i < main.size(); ++i) {
        const QString &entry = main[i];
        if (!flow::isRepeatEntry(entry)) {
            segment += entry + u'/';
            continue;
        }
        if (!expandSegment())
            return failed;
        const std::optional<int> r = returnOf(entry);
        if (!r) {
            compiled.append(entry);
            continue;
        }
        int shifted = *r;
        for (int j = 0; j < *r && j < main.size(); ++j)
            shifted += size[j];
        compiled.append(withReturn(entry, shifted));
    }
    if (!expandSegment())
        return failed;
    while (compiled.size() < SlotCount)
        compiled.append(EmptySlot);
    CompiledList = compiled;
    return {};
}

FlowOutcome FlowchartProgram::checkForLamp() const
{
    QList<int> pages{0}; // the main program and the subroutines reached from it
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList list = entries(pages[p]);
        for (int step = 0; step < list.size(); ++step) {
            const QString &entry = list[step];
            if (flow::isCallEntry(entry)) {
                const std::optional<int> k = text::toInt(commandlist::field(entry, 2));
                if (k && *k >= 1 && *k <= flow::MaxSubroutines && !pages.contains(*k))
                    pages.append(*k);
                continue;
            }
            // A repeat's return position counts on its own page: the compiled list checks it.
            if (const commandlist::Check one = commandlist::checkLine(entry); !one.ok) {
                return FlowOutcome::refused(one.message + msg::flowchartEntryAt(pages[p], step + 1, entry));
            }
        }
    }
    if (const commandlist::Check whole = commandlist::check(CompiledList); !whole.ok)
        return FlowOutcome::refused(whole.message);
    return {};
}

QStringList FlowchartProgram::pageLines() const
{
    QStringList lines;
    for (const Page &page : Pages) {
        QString line;
        for (const QString &slot : page)
            line += slot + u'/';
        lines.append(line);
    }
    return lines;
}

} // namespace kr31
