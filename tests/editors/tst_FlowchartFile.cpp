#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/flowchart/FlowchartFile.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QTest>

using namespace kr31;

namespace {

QStringList repeated(const QString &line, int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(line);
    return list;
}

QString emptyPageLine()
{
    return repeated("27/", 47).join(QString());
}

// A page line of entries, the rest of its slots empty.
QString pageLine(const QStringList &entries)
{
    return (entries + repeated("27", 47 - int(entries.size()))).join(u'/') + u'/';
}

QByteArray fileBytes(const QString &name)
{
    QFile file(test::testData(QStringLiteral("flowchart/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class TestFlowchartFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedEmptyFlowchart()
    {
        FlowchartProgram p;
        QVERIFY(p.compileChart().ok());
        const QStringList lines = flowfile::fileLines(p, flowfile::markerFor(p.CompiledList));
        QCOMPARE(lines, QStringList{"LED"} + repeated("27", 47) + QStringList{"DATA"} + repeated(emptyPageLine(), 10));
        const flowfile::ReadResult back = flowfile::readLines(lines);
        QCOMPARE(back.status, flowfile::ReadResult::Ok);
        QCOMPARE(back.program, FlowchartProgram());
    }

    // The worked example with a subroutine, byte for byte (code page 932, CR LF).
    void savedBytes()
    {
        FlowchartProgram p;
        p.Pages[0][0] = "16";
        p.Pages[0][1] = "Sub,1";
        p.Pages[0][2] = "22,0,2";
        p.Pages[1][0] = "18,50";
        p.Pages[1][1] = "26";
        p.SubroutineCount = 1;
        QVERIFY(p.compileChart().ok());
        const QStringList lines = flowfile::fileLines(p, flowfile::markerFor(p.CompiledList));
        QCOMPARE(textfile::encodeLines(lines), fileBytes("worked.kr3"));

        const flowfile::ReadResult back = flowfile::readLines(lines);
        QCOMPARE(back.status, flowfile::ReadResult::Ok);
        p.CompiledList.clear();
        QCOMPARE(back.program, p);
    }

    void markerFollowsTheTotal()
    {
        QCOMPARE(flowfile::markerFor(repeated("16", 47)), QStringLiteral("LED"));
        QCOMPARE(flowfile::markerFor(repeated("16", 48)), QStringLiteral("FURO"));
        QCOMPARE(flowfile::markerFor(repeated("16", 47) + QStringList{"100", "16"}), QStringLiteral("LED"));
    }

    void reading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("main");
        QTest::addColumn<int>("subroutines");
        QTest::addColumn<QStringList>("lastSubroutine");

        const QStringList head = QStringList{"LED"} + repeated("27", 47) + QStringList{"DATA"};
        QTest::newRow("only subroutine 2 has entries")
            << head + QStringList{pageLine({"Sub,2"}), emptyPageLine(), pageLine({"26"})} + repeated(emptyPageLine(), 7)
            << int(flowfile::ReadResult::Ok) << QStringList{"Sub,2"} << 2 << QStringList{"26"};
        QTest::newRow("only subroutine 1 has entries")
            << head + QStringList{pageLine({"16"}), pageLine({"26"})} + repeated(emptyPageLine(), 8)
            << int(flowfile::ReadResult::Ok) << QStringList{"16"} << 1 << QStringList{"26"};
        QTest::newRow("short page lines read the missing slots as empty")
            << head + QStringList{"16/17/", "26"} + repeated("27", 8) << int(flowfile::ReadResult::Ok)
            << QStringList{"16", "17"} << 1 << QStringList{"26"};
        QTest::newRow("fields past the 47th are ignored")
            << head + QStringList{repeated("16/", 60).join(QString())} + repeated("27", 9)
            << int(flowfile::ReadResult::Ok) << repeated("16", 47) << 0 << QStringList{};
        QTest::newRow("fewer than ten page lines keep what was read")
            << head + QStringList{pageLine({"16"}), pageLine({"26"})} << int(flowfile::ReadResult::BrokeOff)
            << QStringList{"16"} << 1 << QStringList{"26"};
        QTest::newRow("FURO with pages")
            << QStringList{"FURO", "16", "DATA"} + QStringList{pageLine({"17"})} + repeated(emptyPageLine(), 9)
            << int(flowfile::ReadResult::Ok) << QStringList{"17"} << 0 << QStringList{};
        QTest::newRow("a command list of another editor")
            << QStringList{"LED", "16", "221,0,3", "100"} << int(flowfile::ReadResult::Ok)
            << QStringList{"16", "22,0,2", "100"} << 0 << QStringList{};
        QTest::newRow("loop lines of the text language")
            << QStringList{"LITE", "16", "231,0,5", "17", "222,2,4", "232,0,1"} << int(flowfile::ReadResult::Ok)
            << QStringList{"16", "22,0,4", "17", "22,2,4", "22,0,1"} << 0 << QStringList{};
        // Only a line that is exactly "DATA" starts the pages.
        QTest::newRow("a line containing DATA")
            << QStringList{"LED", "16", "MYDATA", "17"} << int(flowfile::ReadResult::Ok)
            << QStringList{"16", "MYDATA", "17"} << 0 << QStringList{};
        QTest::newRow("a text program's list stops at TEXT")
            << QStringList{"LED", "16", "TEXT", "ON"} << int(flowfile::ReadResult::Ok) << QStringList{"16"} << 0
            << QStringList{};
        QTest::newRow("command lines past the 47th have no slot")
            << QStringList{"LED"} + repeated("16", 60) << int(flowfile::ReadResult::Ok) << repeated("16", 47) << 0
            << QStringList{};
        QTest::newRow("icon file") << QStringList{"DD", "16"} << int(flowfile::ReadResult::OtherStep)
                                   << QStringList{} << 0 << QStringList{};
        QTest::newRow("marker with a blank") << QStringList{"LED ", "16"} << int(flowfile::ReadResult::OtherStep)
                                             << QStringList{} << 0 << QStringList{};
        QTest::newRow("empty file") << QStringList{} << int(flowfile::ReadResult::Unreadable) << QStringList{} << 0
                                    << QStringList{};
    }
    void reading()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, status);
        QFETCH(QStringList, main);
        QFETCH(int, subroutines);
        QFETCH(QStringList, lastSubroutine);
        const flowfile::ReadResult read = flowfile::readLines(lines);
        QCOMPARE(int(read.status), status);
        QCOMPARE(read.program.entries(0), main);
        QCOMPARE(read.program.SubroutineCount, subroutines);
        QCOMPARE(read.program.entries(subroutines), subroutines ? lastSubroutine : main);
        QCOMPARE(read.program.CurrentPage, 0);
        QVERIFY(!read.program.Modified);
    }

    void whichFilesHavePages_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("pages");
        QTest::newRow("LED with DATA") << QStringList{"LED", "16", "DATA", "16/"} << true;
        QTest::newRow("FURO with DATA") << QStringList{"FURO", "DATA"} << true;
        QTest::newRow("LED list") << QStringList{"LED", "16"} << false;
        QTest::newRow("LITE with DATA") << QStringList{"LITE", "DATA"} << false;
        QTest::newRow("LED with a DATA-like line") << QStringList{"LED", "DATA "} << false;
    }
    void whichFilesHavePages()
    {
        QFETCH(QStringList, lines);
        QFETCH(bool, pages);
        QCOMPARE(flowfile::hasPages(lines), pages);
    }
};

QTEST_APPLESS_MAIN(TestFlowchartFile)
#include "tst_FlowchartFile.moc"
