#include "core/Messages.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "program/CommandList.h"

#include <QTest>

using namespace kr31;

namespace {

using Pages = QList<QStringList>;

// A program whose pages hold the given entries; subroutines up to the last page given.
FlowchartProgram programOf(const Pages &pages, int currentPage = 0)
{
    FlowchartProgram p;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        for (qsizetype i = 0; i < pages[page].size(); ++i)
            p.Pages[page][i] = pages[page][i];
    }
    p.SubroutineCount = int(pages.size()) - 1;
    p.CurrentPage = currentPage;
    return p;
}

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

QStringList repeated(const QString &entry, int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(entry);
    return list;
}

const QString Ok;

} // namespace

class TestFlowchartProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entryTextOfMenuChoices_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("entry");
        QTest::newRow("ON") << 0 << "16";
        QTest::newRow("Light") << 2 << "18,50";
        QTest::newRow("F_In") << 3 << "19,50,7";
        QTest::newRow("Time") << 5 << "21,50";
        QTest::newRow("Repeat") << 6 << "22,50,7";
        QTest::newRow("Beep") << 10 << "26";
        QTest::newRow("Stop") << 11 << "100";
        QTest::newRow("subroutine 3") << 14 << "Sub,3";
    }
    void entryTextOfMenuChoices()
    {
        QFETCH(int, item);
        QFETCH(QString, entry);
        QCOMPARE(flow::entryTextOf(item, "50", "7"), entry);
        // The dialog finds the item again from the entry it made.
        QCOMPARE(flow::itemOfEntry(commandlist::field(entry, 1), commandlist::field(entry, 2)), item);
    }

    void append_data()
    {
        QTest::addColumn<Pages>("pages");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("value1");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("after"); // the page's entries afterwards

        QTest::newRow("light") << Pages{{"16"}} << 0 << 2 << "50" << Ok << QStringList{"16", "18,50"};
        QTest::newRow("repeat at index 0") << Pages{{}} << 0 << 6 << "0" << msg::RepeatError501 << QStringList{};
        QTest::newRow("repeat returning to itself")
            << Pages{{"16"}} << 0 << 6 << "1" << msg::RepeatError501 << QStringList{"16"};
        QTest::newRow("repeat of the first entry")
            << Pages{{"16"}} << 0 << 6 << "0" << Ok << QStringList{"16", "22,0,1"};
        QTest::newRow("negative return") << Pages{{"16"}} << 0 << 6 << "-1" << msg::RepeatError501
                                         << QStringList{"16"};
        // A box without a whole number is named, and nothing is appended.
        QTest::newRow("empty return box") << Pages{{"16"}} << 0 << 6 << "" << "「戻り番地」に数字を入れて下さい。"
                                          << QStringList{"16"};
        QTest::newRow("empty brightness box") << Pages{{"16"}} << 0 << 2 << "" << "「明るさ(%)」に数字を入れて下さい。"
                                              << QStringList{"16"};
        QTest::newRow("letters in the timer box") << Pages{{}} << 0 << 5 << "1O" << "「時間(秒)」に数字を入れて下さい。"
                                                  << QStringList{};
        QTest::newRow("loops overlap") << Pages{{"16", "22,0,1", "17"}} << 0 << 6 << "1" << msg::RepeatError501
                                       << QStringList{"16", "22,0,1", "17"};
        QTest::newRow("loop after a loop") << Pages{{"16", "22,0,1", "17"}} << 0 << 6 << "2" << Ok
                                           << QStringList{"16", "22,0,1", "17", "22,2,1"};
        QTest::newRow("repeat on a subroutine")
            << Pages{{}, {"16"}} << 1 << 6 << "0" << msg::NoRepeatInSubroutine506 << QStringList{"16"};
        QTest::newRow("subroutine calls itself")
            << Pages{{}, {"16"}, {}} << 1 << 12 << "" << msg::RepeatError501 << QStringList{"16"};
        QTest::newRow("subroutine calls another")
            << Pages{{}, {"16"}, {}} << 1 << 13 << "" << Ok << QStringList{"16", "Sub,2"};
        QTest::newRow("full page") << Pages{repeated("16", 47)} << 0 << 0 << "" << msg::AddOverLimit503
                                   << repeated("16", 47);
    }
    void append()
    {
        QFETCH(Pages, pages);
        QFETCH(int, page);
        QFETCH(int, item);
        QFETCH(QString, value1);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        FlowchartProgram p = programOf(pages, page);
        const FlowOutcome outcome = p.append(item, value1, "1");
        QCOMPARE(outcome.message, message);
        QCOMPARE(p.entries(page), after);
        QCOMPARE(p.Modified, message.isEmpty());
    }

    void insertAndReplace_data()
    {
        QTest::addColumn<bool>("insert");
        QTest::addColumn<QStringList>("main");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("value1");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("after");

        const QStringList loop{"16", "17", "18,50", "22,1,2"};
        QTest::newRow("insert before a loop shifts its return")
            << true << loop << 0 << 10 << "" << Ok << QStringList{"26", "16", "17", "18,50", "22,2,2"};
        QTest::newRow("insert at a loop's first entry joins the loop")
            << true << loop << 1 << 10 << "" << Ok << QStringList{"16", "26", "17", "18,50", "22,1,2"};
        QTest::newRow("insert a repeat inside a later loop")
            << true << loop << 2 << 6 << "0" << msg::RepeatError501 << loop;
        QTest::newRow("insert a repeat behind a loop")
            << true << QStringList{"16", "22,0,1", "18,50", "26"} << 3 << 6 << "2" << Ok
            << QStringList{"16", "22,0,1", "18,50", "22,2,1", "26"};
        QTest::newRow("insert a repeat over a loop")
            << true << QStringList{"16", "22,0,1", "18,50", "26"} << 3 << 6 << "0" << msg::RepeatError501
            << QStringList{"16", "22,0,1", "18,50", "26"};
        QTest::newRow("replace a repeat's count and return")
            << false << loop << 3 << 6 << "0" << Ok << QStringList{"16", "17", "18,50", "22,0,1"};
        QTest::newRow("replace an entry by a repeat inside a loop")
            << false << loop << 2 << 6 << "0" << msg::RepeatError501 << loop;
        QTest::newRow("replace a repeat by a command")
            << false << loop << 3 << 1 << "" << Ok << QStringList{"16", "17", "18,50", "17"};
        QTest::newRow("replace into a self call is allowed")
            << false << QStringList{"16"} << 0 << 12 << "" << Ok << QStringList{"Sub,1"};
    }
    void insertAndReplace()
    {
        QFETCH(bool, insert);
        QFETCH(QStringList, main);
        QFETCH(int, selected);
        QFETCH(int, item);
        QFETCH(QString, value1);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        FlowchartProgram p = programOf({main, {}});
        p.SelectedEntry = selected;
        const FlowOutcome outcome = insert ? p.insertEntry(item, value1, "1") : p.replaceEntry(item, value1, "1");
        QCOMPARE(outcome.message, message);
        QCOMPARE(p.entries(0), after);
    }

    void repeatOnSubroutinePageIsRefused()
    {
        FlowchartProgram p = programOf({{}, {"16", "17"}}, 1);
        p.SelectedEntry = 1;
        const FlowchartProgram before = p;
        QCOMPARE(p.insertEntry(6, "0", "1").message, msg::NoRepeatInSubroutine506);
        QCOMPARE(p.replaceEntry(6, "0", "1").message, msg::NoRepeatInSubroutine506);
        QCOMPARE(p, before);
    }

    void insertIntoAFullPageAsksAndLosesTheLastEntry()
    {
        QStringList full = repeated("16", 46);
        full.append("26");
        FlowchartProgram p = programOf({full});
        p.SelectedEntry = 0;
        const FlowchartProgram before = p;
        const FlowOutcome ask = p.insertEntry(1, "", "");
        QCOMPARE(ask.status, FlowOutcome::AskLoss);
        QCOMPARE(ask.message, msg::TotalPrompt);
        QCOMPARE(p, before);
        QVERIFY(p.insertEntry(1, "", "", true).ok());
        QCOMPARE(p.entries(0), QStringList{"17"} + repeated("16", 46));
    }

    void deleteRenumbers_data()
    {
        QTest::addColumn<QStringList>("main");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("after");
        const QStringList loop{"16", "17", "18,50", "22,1,2", "26"};
        QTest::newRow("before the loop") << loop << 0 << Ok << QStringList{"17", "18,50", "22,0,2", "26"};
        QTest::newRow("the loop's first entry")
            << loop << 1 << Ok << QStringList{"16", "18,50", "22,1,2", "26"};
        QTest::newRow("the repeat") << loop << 3 << Ok << QStringList{"16", "17", "18,50", "26"};
        QTest::newRow("the last entry") << loop << 4 << Ok << QStringList{"16", "17", "18,50", "22,1,2"};
        // The loop would return to its own repeat.
        QTest::newRow("a loop's only entry")
            << QStringList{"16", "17", "22,1,2"} << 1 << msg::RepeatError501 << QStringList{"16", "17", "22,1,2"};
    }
    void deleteRenumbers()
    {
        QFETCH(QStringList, main);
        QFETCH(int, selected);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        FlowchartProgram p = programOf({main});
        p.SelectedEntry = selected;
        QCOMPARE(p.deleteEntry().message, message);
        QCOMPARE(p.entries(0), after);
        QCOMPARE(p.Pages[0][46], QStringLiteral("27"));
    }

    void subroutinesAndClearing()
    {
        FlowchartProgram p;
        for (int k = 1; k <= 9; ++k) {
            QVERIFY(p.addSubroutine().ok());
            QCOMPARE(p.CurrentPage, k);
        }
        QCOMPARE(p.addSubroutine().message, msg::NoMoreSubroutines505);
        QCOMPARE(p.SubroutineCount, 9);
        QVERIFY(p.append(0, "", "").ok());
        p.Modified = false;
        p.PageToClear = 9;
        p.clearPage();
        QCOMPARE(p.entries(9), QStringList{});
        QCOMPARE(p.SubroutineCount, 9);
        QVERIFY(p.Modified); // emptying a page is a change to save
        p.reset();
        QCOMPARE(p, FlowchartProgram());
    }

    void compile_data()
    {
        QTest::addColumn<Pages>("pages");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("compiled"); // before the "27" filling

        QTest::newRow("call after the return target")
            << Pages{{"16", "Sub,1", "22,0,2"}, {"18,50", "26"}} << Ok << QStringList{"16", "18,50", "26", "22,0,2"};
        QTest::newRow("call before the return target")
            << Pages{{"Sub,1", "17", "22,1,3"}, {"18,50", "26"}} << Ok << QStringList{"18,50", "26", "17", "22,2,3"};
        QTest::newRow("two calls before a repeat")
            << Pages{{"Sub,1", "Sub,2", "16", "22,2,1"}, {"16", "17"}, {"18,50", "26", "23", "24"}} << Ok
            << QStringList{"16", "17", "18,50", "26", "23", "24", "16", "22,6,1"};
        QTest::newRow("calls in two segments")
            << Pages{{"Sub,1", "22,0,1", "Sub,1", "17", "22,3,2"}, {"16", "26"}} << Ok
            << QStringList{"16", "26", "22,0,1", "16", "26", "17", "22,5,2"};
        QTest::newRow("nested calls")
            << Pages{{"Sub,1", "17"}, {"16", "Sub,2"}, {"26", "Sub,3"}, {"23"}} << Ok
            << QStringList{"16", "26", "23", "17"};
        QTest::newRow("an empty subroutine vanishes")
            << Pages{{"16", "Sub,1", "17", "22,2,1"}, {}} << Ok << QStringList{"16", "17", "22,1,1"};
        QTest::newRow("empty main program") << Pages{{}} << Ok << QStringList{};
        QTest::newRow("a growing cycle of calls")
            << Pages{{"Sub,1"}, {"16", "Sub,2"}, {"Sub,1"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("the same cycle uncalled")
            << Pages{{"16"}, {"16", "Sub,2"}, {"Sub,1"}} << Ok << QStringList{"16"};
        QTest::newRow("a subroutine that only calls itself")
            << Pages{{"Sub,1"}, {"Sub,1"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("two subroutines that only call each other")
            << Pages{{"16", "Sub,1"}, {"Sub,2"}, {"Sub,1"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("a cycle in a later segment")
            << Pages{{"16", "22,0,1", "Sub,1"}, {"Sub,1"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("a call of no subroutine") << Pages{{"Sub,0"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("a growing cycle in an entry's text")
            << Pages{{"xSub,1/27"}, {"16", "Sub,1"}} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("a call without a number") << Pages{{"Sub"}} << msg::OutOfRange507 << QStringList{};
        // The length is looked at after each pass that replaces a call.
        QTest::newRow("a call expanding past 500 characters")
            << Pages{{"Sub,1"}, {"Sub,2"}, repeated("19,100,255", 46)} << msg::OutOfRange507 << QStringList{};
        QTest::newRow("a long subroutine without calls")
            << Pages{{"Sub,1"}, repeated("19,100,255", 46)} << Ok << repeated("19,100,255", 46);
        QTest::newRow("a call expanding to 470 characters")
            << Pages{{"Sub,1"}, {"Sub,2"}, repeated("19,100,25", 47)} << Ok << repeated("19,100,25", 47);
    }
    void compile()
    {
        QFETCH(Pages, pages);
        QFETCH(QString, message);
        QFETCH(QStringList, compiled);
        FlowchartProgram p = programOf(pages);
        p.CompiledList = QStringList{"stale"};
        QCOMPARE(p.compileChart().message, message);
        QCOMPARE(p.CompiledList, message.isEmpty() ? filled(compiled) : QStringList{"stale"});
    }

    // The check before a send: one message, naming the page and step of a bad entry.
    void checkForLamp_data()
    {
        QTest::addColumn<Pages>("pages");
        QTest::addColumn<QString>("message");
        const auto at = [](const QString &message, const char *where) { return message + "\n（" + where + "）"; };
        QTest::newRow("good") << Pages{{"16", "Sub,1", "22,0,2"}, {"18,50", "21,10"}} << Ok;
        QTest::newRow("unknown code") << Pages{{"16", "99"}} << at(msg::ProgramError502, "メインの 2 ばんめ「99」");
        QTest::newRow("brightness 300 in a called subroutine")
            << Pages{{"Sub,1"}, {"26", "18,300"}} << at(msg::OutOfRange507, "サブルーチン 1 の 2 ばんめ「18,300」");
        QTest::newRow("timer 0") << Pages{{"21,0"}} << at(msg::OutOfRange507, "メインの 1 ばんめ「21,0」");
        QTest::newRow("repeat 256 times") << Pages{{"16", "22,0,256"}}
                                          << at(msg::OutOfRange507, "メインの 2 ばんめ「22,0,256」");
        QTest::newRow("a value on a command without") << Pages{{"16,5"}} << at(msg::ProgramError502, "メインの 1 ばんめ「16,5」");
        QTest::newRow("an empty value") << Pages{{"18,"}} << at(msg::OutOfRange507, "メインの 1 ばんめ「18,」");
        QTest::newRow("bad, but never called") << Pages{{"16"}, {"99"}} << Ok;
        QTest::newRow("over the limit") << Pages{{"Sub,1", "Sub,1"}, repeated("21,10", 16)} << msg::SendOverLimit504;
    }
    void checkForLamp()
    {
        QFETCH(Pages, pages);
        QFETCH(QString, message);
        FlowchartProgram p = programOf(pages);
        QVERIFY(p.compileChart().ok());
        QCOMPARE(p.checkForLamp().message, message);
    }

    void aLongExpansionStaysWhole()
    {
        FlowchartProgram p = programOf({repeated("Sub,1", 30), {"16", "17"}});
        QVERIFY(p.compileChart().ok());
        QCOMPARE(p.CompiledList.size(), 60);
        QCOMPARE(commandlist::total(p.CompiledList), 60);
    }
};

QTEST_APPLESS_MAIN(TestFlowchartProgram)
#include "tst_FlowchartProgram.moc"
