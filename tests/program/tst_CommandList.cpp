#include "core/Messages.h"
#include "program/CommandList.h"
#include "program/CommandWords.h"
#include "program/LedCommands.h"
#include "program/ProgramFile.h"

#include <QTest>

using namespace kr31;

class TestCommandList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fields()
    {
        QCOMPARE(commandlist::field("18,50", 3), QString());
        QCOMPARE(commandlist::field("100", 1), QStringLiteral("100"));
        QCOMPARE(commandlist::field("22,4,9", 3), QStringLiteral("9"));
        QCOMPARE(commandlist::fieldSeparators("22,4,9"), 2);
        QCOMPARE(commandlist::fieldSeparators("16"), 0);
    }

    void weights_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("weight");
        for (const char *c : {"16", "17", "23", "24", "25", "26"})
            QTest::newRow(c) << c << 1;
        QTest::newRow("18") << "18" << 2;
        for (const char *c : {"19", "20", "21", "22", "221", "222", "231", "232"})
            QTest::newRow(c) << c << 3;
        QTest::newRow("filler") << "27" << 0;
        QTest::newRow("stop") << "100" << 0;
        QTest::newRow("unknown") << "99" << 0;
        QTest::newRow("leading zero") << "016" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void weights()
    {
        QFETCH(QString, code);
        QFETCH(int, weight);
        QCOMPARE(commandlist::weight(code), weight);
    }

    void commandTableAgreesWithWeights()
    {
        QCOMPARE(ledCommands().size(), 12);
        for (const LedCommand &c : ledCommands())
            QCOMPARE(commandlist::weight(QString::number(c.code)), c.weight);
    }

    // Each command has its card's name and a caption for every value a slider shows.
    void everyCommandHasItsWords()
    {
        for (const LedCommand &c : ledCommands()) {
            const words::CommandWords *w = words::find(c.code);
            QVERIFY2(w && *w->card && (c.code == code::Time || c.arguments.size() <= (*w->value[0] != 0) + (*w->value[1] != 0)),
                     qPrintable(c.name));
        }
        QCOMPARE(learnerName(231), QStringLiteral("くりかえし"));
    }

    void totals_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("total");
        QTest::newRow("on, light, time, stop") << QStringList{"16", "18,50", "21,90", "100"} << 6;
        QTest::newRow("lines after stop do not count") << QStringList{"19,100,5", "100", "16"} << 3;
        QTest::newRow("47 ons") << QStringList(47, "16") << 47;
        QTest::newRow("48 ons") << QStringList(48, "16") << 48;
        QTest::newRow("fillers") << QStringList(47, "27") << 0;
    }
    void totals()
    {
        QFETCH(QStringList, list);
        QFETCH(int, total);
        QCOMPARE(commandlist::total(list), total);
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("line");
        const QString ok;
        QTest::newRow("good program") << QStringList{"16", "18,50", "21,90", "22,0,3", "100"} << ok << -1;
        QTest::newRow("47 exactly") << QStringList(47, "16") << ok << -1;
        QTest::newRow("48 over") << QStringList(48, "16") << msg::SendOverLimit504 << -1;
        QTest::newRow("fillers allowed") << QStringList{"16", "27", "27"} << ok << -1;
        QTest::newRow("loop variants") << QStringList{"16", "231,0,4"} << ok << -1;
        QTest::newRow("repeat to itself") << QStringList{"22,0,3"} << msg::RepeatError501 << 0;
        QTest::newRow("repeat to later") << QStringList{"16", "22,2,3", "17"} << msg::RepeatError501 << 1;
        QTest::newRow("repeat at 1 to 0") << QStringList{"16", "22,0,1"} << ok << -1;
        QTest::newRow("repeat address 47") << QStringList(47, "16") + QStringList{"22,47,1"} << msg::OutOfRange507 << 47;
        QTest::newRow("repeat count 0") << QStringList{"16", "22,0,0"} << msg::OutOfRange507 << 1;
        QTest::newRow("time 0") << QStringList{"21,0"} << msg::OutOfRange507 << 0;
        QTest::newRow("time 64801") << QStringList{"21,64801"} << msg::OutOfRange507 << 0;
        QTest::newRow("time 64800") << QStringList{"21,64800"} << ok << -1;
        QTest::newRow("light 101") << QStringList{"18,101"} << msg::OutOfRange507 << 0;
        QTest::newRow("light -1") << QStringList{"18,-1"} << msg::OutOfRange507 << 0;
        QTest::newRow("fade unit 0") << QStringList{"19,50,0"} << msg::OutOfRange507 << 0;
        QTest::newRow("missing argument") << QStringList{"18"} << msg::OutOfRange507 << 0;
        QTest::newRow("argument not integer") << QStringList{"18,5x"} << msg::OutOfRange507 << 0;
        QTest::newRow("extra argument") << QStringList{"18,50,3"} << msg::ProgramError502 << 0;
        QTest::newRow("argument on ON") << QStringList{"16,1"} << msg::ProgramError502 << 0;
        QTest::newRow("unknown code") << QStringList{"99"} << msg::ProgramError502 << 0;
        QTest::newRow("leading zero code") << QStringList{"016"} << msg::ProgramError502 << 0;
        QTest::newRow("empty line") << QStringList{"16", ""} << msg::ProgramError502 << 1;
        QTest::newRow("bad line after stop") << QStringList{"16", "100", "garbage"} << ok << -1;
    }
    void check()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, message);
        QFETCH(int, line);
        const auto result = commandlist::check(list);
        QCOMPARE(result.ok, message.isEmpty());
        QCOMPARE(result.message, message);
        QCOMPARE(result.line, line);
    }

    // Which editor a double-clicked file opens in, as kr31 FILE and kr31-cli read it.
    void editorOfAFile_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("editor");
        using E = programfile::Editor;
        QTest::newRow("FURO") << "FURO" << QStringList{"16"} << int(E::Flowchart);
        QTest::newRow("LED with pages") << "LED" << QStringList{"16", "DATA", "16/"} << int(E::Flowchart);
        QTest::newRow("WORD") << "WORD" << QStringList{"ON();"} << int(E::Text);
        QTest::newRow("LED with a text") << "LED" << QStringList{"16", "TEXT", "ON();"} << int(E::Text);
        QTest::newRow("DD with a text section") << "DD" << QStringList{"16", "TEXT"} << int(E::Icon);
        QTest::newRow("plain LED") << "LED" << QStringList{"16"} << int(E::Icon);
        QTest::newRow("LITE") << "LITE" << QStringList{"16"} << int(E::Icon);
        QTest::newRow("MELODY") << "MELODY" << QStringList{} << int(E::Melody);
        QTest::newRow("anything else") << "led" << QStringList{"16"} << int(E::None);
    }
    void editorOfAFile()
    {
        QFETCH(QString, marker);
        QFETCH(QStringList, lines);
        QFETCH(int, editor);
        QCOMPARE(int(programfile::editorOf(ProgramFile{marker, lines})), editor);
    }
};

QTEST_GUILESS_MAIN(TestCommandList)
#include "tst_CommandList.moc"
