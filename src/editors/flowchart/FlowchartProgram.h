#pragma once

#include "core/Messages.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kr31 {

// The command menu of the flowchart editor and what its items mean.
namespace flow {

inline constexpr int PageCount = limits::FlowchartPages; // main program and subroutines 1..9
inline constexpr int SlotCount = limits::MaxTotal;        // entry slots of a page
inline constexpr int MaxSubroutines = PageCount - 1;
inline constexpr int FixedItems = 12;                     // menu items before the subroutine calls
inline constexpr int RepeatItem = 6;
inline constexpr int TimeItem = 5;
inline constexpr int StopItem = 11;
// The longest text an expansion of subroutine calls may reach.
inline constexpr int ExpansionLimit = 500;

extern const QString EmptySlot; // "27"

// The twelve fixed menu items ("ON" ... "動作終了").
const QStringList &fixedMenuItems();
// The menu item that calls subroutine k: "サブルーチン " + k.
QString subroutineItem(int k);
// The code of a fixed item: "16" + item for 0..10, "100" for 11; empty otherwise.
QString entryCodeOfItem(int item);
// The entry text of a menu choice and the texts of its two value boxes:
// the code alone, "code,v1", "code,v1,v2", or "Sub,k" for item 11 + k.
QString entryTextOf(int item, const QString &value1, const QString &value2);

bool hasValue1(int item);
bool hasValue2(int item);
int valueMax1(int item);
int valueMax2(int item);
// The minimum of the first value: 1 for Time, else 0. The second's is always 1.
int valueMin1(int item);
inline constexpr int ValueMin2 = 1;
// A slider's page step: a tenth of its maximum, halves to even.
int pageStep(int maximum);
// The captions of the value boxes; "設定値なし" for a value the item lacks.
QString valueLabel1(int item);
QString valueLabel2(int item);

// What to tell the learner when a value box the item uses holds no whole
// number (empty, or letters): which box wants a number. Empty when both are fine.
QString valueHint(int item, const QString &value1, const QString &value2);

// The command's name shown by the parameter dialog for an entry code;
// "サブルーチン" + value1 for "Sub"; empty for anything else.
QString commandNameOf(const QString &code, const QString &value1);
// The menu item that shows an entry of code (and value1 for a call):
// 11 for "100", 11 + k for "Sub", 0 for an empty code, code − 16 otherwise.
// A code outside the menu gives 0.
int itemOfEntry(const QString &code, const QString &value1);

bool isRepeatEntry(const QString &entry);
bool isCallEntry(const QString &entry);
// The vertical room an entry takes in the drawing: 75 after a repeat or a call, else 50.
int entryStep(const QString &entry);
// The height of an entry's shape that a right-click hits: 50 for a repeat or a call, else 25.
int entryHitHeight(const QString &entry);

} // namespace flow

// What an editing operation came to.
struct FlowOutcome
{
    enum Status {
        Done,      // the page changed
        Refused,   // nothing changed; message says why
        AskLoss,   // an insert would push the last slot's entry out: ask, then insert again confirmed
    } status = Done;
    QString message;

    bool ok() const { return status == Done; }
    static FlowOutcome refused(const QString &message) { return {Refused, message}; }
};

// The flowchart program: a main program (page 0) and up to nine subroutines,
// each a column of at most 47 entry texts ("27" is an empty slot; a page's
// program ends at its first empty slot), the editing operations that keep
// the repeat rules, and the compilation into one command list.
// A plain value: copy it, compare it, keep it as a snapshot.
class FlowchartProgram
{
public:
    using Page = std::array<QString, flow::SlotCount>;

    FlowchartProgram();
    bool operator==(const FlowchartProgram &) const = default;

    std::array<Page, flow::PageCount> Pages;
    int CurrentPage = 0;
    int SubroutineCount = 0;
    int SelectedEntry = 0;
    int PageToClear = 0;
    bool Modified = false;
    QStringList CompiledList;

    // Whether other holds the same program: pages and subroutines alike,
    // whatever page is on show, entry is selected or mark is set.
    bool samePages(const FlowchartProgram &other) const
    {
        return Pages == other.Pages && SubroutineCount == other.SubroutineCount;
    }

    // The entries of a page up to its first empty slot.
    QStringList entries(int page) const;
    int entryCount(int page) const;

    // Appends the menu choice to the current page: (501) for a call of the
    // page itself or a repeat that breaks the rules, (503) on a full page,
    // (506) for a repeat on a subroutine page.
    FlowOutcome append(int item, const QString &value1, const QString &value2);
    // Creates the next subroutine and shows it; (505) when nine exist.
    FlowOutcome addSubroutine();
    // Overwrites the entry at SelectedEntry (the repeat rules as for insert).
    FlowOutcome replaceEntry(int item, const QString &value1, const QString &value2);
    // Inserts before SelectedEntry, moving the rest down and renumbering the
    // repeats behind it. When slot 46 is in use the answer is AskLoss, and
    // only a call with lossConfirmed inserts (the last entry is then lost).
    FlowOutcome insertEntry(int item, const QString &value1, const QString &value2, bool lossConfirmed = false);
    // Removes the entry at SelectedEntry, moving the rest up and renumbering.
    FlowOutcome deleteEntry();
    // Empties page PageToClear; its subroutine stays.
    void clearPage();
    // Empties every page, removes the subroutines, shows page 0, clears the mark.
    void reset();

    // Compiles the pages into CompiledList: calls replaced by their
    // subroutine's expanded entries, repeat return positions shifted by what
    // the expansions before them add, filled to 47 lines with "27". An
    // expansion past 500 characters, a call cycle or a call of no subroutine
    // gives (507) and leaves CompiledList as it was.
    FlowOutcome compileChart();

    // The check before a send, after compileChart(): every entry of the main
    // program and of the subroutines it calls is a command with exactly its
    // values, each within its range ((502) or (507) naming the page, the step
    // and the entry), and CompiledList passes the command list check ((504)
    // for the total).
    FlowOutcome checkForLamp() const;

    // The ten page lines of a file: each slot text followed by "/".
    QStringList pageLines() const;

private:
    FlowOutcome repeatCheck(int item, const QString &value1, bool inserting) const;
    void touch() { Modified = true; }
};

namespace flow {
// Compares flowchart programs as samePages does (for the undo history).
struct SamePages
{
    bool operator()(const FlowchartProgram &a, const FlowchartProgram &b) const { return a.samePages(b); }
};
} // namespace flow

// The expansion of entry text (entries each followed by "/") until no call
// is left, one subroutine per pass; nullopt for a pass longer than limit
// characters (limit < 0: what 47 slots of real calls can reach, so that no
// text of a file expands without end), a cycle of calls, more passes than any
// real program needs, or a call of a page outside 1..9.
std::optional<QString> expandCalls(const FlowchartProgram &program, QString text, int limit);

} // namespace kr31
