#include "core/Messages.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "editors/text/TextLanguage.h"
#include "support/TempHome.h"

#include <QTest>

using namespace kr31;
using textlang::CheckResult;

namespace {

const QStringList Defaults = Settings::defaultCommandNames();

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

// A program written with "|" between its lines.
QStringList program(const QString &text)
{
    return text.split(u'|');
}

// "ok" when the check passes, "line N" for a faulty line (1-based), "501", "504".
QString outcome(const CheckResult &r)
{
    switch (r.kind) {
    case CheckResult::Passed: return QStringLiteral("ok");
    case CheckResult::LineFault: return QStringLiteral("line %1").arg(r.line + 1);
    case CheckResult::LoopError: return QStringLiteral("501");
    case CheckResult::OverLimit: return QStringLiteral("504");
    }
    return {};
}

} // namespace

class TestTextLanguage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleaning_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("cleaned");
        QTest::newRow("spaces go") << " Bright( 50 ) ; " << "Bright(50);";
        QTest::newRow("comment goes") << "ON(); // つける" << "ON();";
        QTest::newRow("comment alone") << "// memo" << "";
        QTest::newRow("line end") << "OFF();\r\n" << "OFF();";
        QTest::newRow("tab stays") << "\tON();" << "\tON();";
        QTest::newRow("full-width space stays") << "ON();\u3000" << "ON();\u3000";
    }
    void cleaning()
    {
        QFETCH(QString, line);
        QFETCH(QString, cleaned);
        QCOMPARE(textlang::cleanLine(line), cleaned);
    }

    // One statement alone, with the default names: its compiled line, or "" for a fault on line 1.
    void statements_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("compiled");
        QTest::newRow("ON") << "ON();" << "16";
        QTest::newRow("any case for argument-free") << "on();" << "16";
        QTest::newRow("TouchIn lower") << "touchin();" << "24";
        QTest::newRow("Stop") << "Stop();" << "100";
        QTest::newRow("spaces") << "Bright( 50 ) ;" << "18,50";
        QTest::newRow("comment after") << "ON(); // LED" << "16";
        QTest::newRow("Bright 0") << "Bright(0);" << "18,0";
        QTest::newRow("Bright 100") << "Bright(100);" << "18,100";
        QTest::newRow("Bright 101") << "Bright(101);" << "";
        QTest::newRow("Bright -1") << "Bright(-1);" << "";
        QTest::newRow("Bright -0") << "Bright(-0);" << "";
        QTest::newRow("Bright +5 written plainly") << "Bright(+5);" << "18,5";
        QTest::newRow("Bright 007") << "Bright(007);" << "18,7";
        QTest::newRow("Bright not a number") << "Bright(5a);" << "";
        QTest::newRow("Bright full-width digits") << "Bright(５０);" << "";
        QTest::newRow("Bright two values") << "Bright(50,1);" << "";
        QTest::newRow("Bright empty") << "Bright();" << "";
        QTest::newRow("value name in other case") << "bright(50);" << "";
        QTest::newRow("value name other case bare") << "repeat();" << "";
        QTest::newRow("REPEAT with values") << "REPEAT(0,1);" << "";
        QTest::newRow("Timer 0") << "Timer(0);" << "";
        QTest::newRow("Timer 1") << "Timer(1);" << "21,1";
        QTest::newRow("Timer 64800") << "Timer(64800);" << "21,64800";
        QTest::newRow("Timer 64801") << "Timer(64801);" << "";
        QTest::newRow("Timer huge") << "Timer(99999999999);" << "";
        QTest::newRow("FadeIn unit 0") << "FadeIn(50,0);" << "";
        QTest::newRow("FadeIn top") << "FadeIn(100,255);" << "19,100,255";
        QTest::newRow("FadeOut bottom") << "FadeOut(0,1);" << "20,0,1";
        QTest::newRow("FadeOut unit 256") << "FadeOut(0,256);" << "";
        QTest::newRow("FadeIn one value") << "FadeIn(50);" << "";
        QTest::newRow("FadeIn three values") << "FadeIn(50,1,2);" << "";
        QTest::newRow("FadeIn loop fields") << "FadeIn(i:=1,i<3,i++);" << "";
        QTest::newRow("value for ON") << "ON(5);" << "";
        QTest::newRow("two on a line") << "ON();OFF();" << "";
        QTest::newRow("double semicolon") << "ON();;" << "";
        QTest::newRow("no semicolon") << "ON()" << "";
        QTest::newRow("no parentheses") << "ON;" << "";
        QTest::newRow("no closing parenthesis") << "ON(;" << "";
        QTest::newRow("brace after a command") << "ON(){" << "";
        QTest::newRow("unknown name") << "Blink();" << "";
        QTest::newRow("full-width parentheses") << "ON（）;" << "";
        QTest::newRow("tab before") << "\tON();" << "";
        QTest::newRow("only a brace") << "{" << "";
    }
    void statements()
    {
        QFETCH(QString, line);
        QFETCH(QString, compiled);
        const CheckResult r = textlang::check({line}, Defaults);
        if (compiled.isEmpty()) {
            QCOMPARE(outcome(r), QStringLiteral("line 1"));
            QVERIFY(!r.hint.isEmpty());
            QCOMPARE(r.message(), QStringLiteral("プログラムの文法に誤りがあります。　1行目を確認して下さい。"));
        } else {
            QCOMPARE(outcome(r), QStringLiteral("ok"));
            QCOMPARE(r.compiled, filled({compiled}));
            QCOMPARE(textlang::compile({line}, Defaults), r.compiled);
        }
    }

    // Whole programs: the outcome of the check and, when it passes, the compiled lines.
    void programs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("compiled");
        QTest::newRow("three lines") << "ON();|Timer(5);|OFF();" << "ok" << QStringList{"16", "21,5", "17"};
        QTest::newRow("For up to") << "For(i:=1,i<=3,i++){|ON();|OFF();|}" << "ok"
                                   << QStringList{"16", "17", "222,0,3"};
        QTest::newRow("For after Beep and a blank") << "Beep();||For(i:=1,i<=3,i++){|ON();|OFF();|}" << "ok"
                                                    << QStringList{"26", "16", "17", "222,1,3"};
        QTest::newRow("For below") << "For(i:=1,i<3,i++){|ON();|}" << "ok" << QStringList{"16", "221,0,2"};
        QTest::newRow("For letter I") << "For(I:=1,i<3,I++){|ON();|}" << "ok" << QStringList{"16", "221,0,2"};
        QTest::newRow("For spaced") << "For ( i := 1 , i < 3 , i ++ ) {|ON();|}" << "ok"
                                    << QStringList{"16", "221,0,2"};
        QTest::newRow("For 256") << "For(i:=1,i<256,i++){|ON();|}" << "ok" << QStringList{"16", "221,0,255"};
        QTest::newRow("For 257") << "For(i:=1,i<257,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For i<2") << "For(i:=1,i<2,i++){|ON();|}" << "ok" << QStringList{"16", "221,0,1"};
        QTest::newRow("For i<1") << "For(i:=1,i<1,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For i<=0") << "For(i:=1,i<=0,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For starting at 0") << "For(i:=0,i<3,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For bound no integer") << "For(i:=1,i<abc,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For bound empty") << "For(i:=1,i<,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For bound -0") << "For(i:=1,i<=-0,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For two fields") << "For(i:=1,i<3){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("For with semicolon") << "For(i:=1,i<3,i++);|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("for in lower case") << "for(i:=1,i<3,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("WHILE in capitals") << "WHILE(i<3){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("While 1") << "While(i<1){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("While up to 255") << "While(i<=255){|ON();|}" << "ok" << QStringList{"16", "232,0,255"};
        QTest::newRow("While up to 256") << "While(i<=256){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("While below") << "ON();|While(i<4){|OFF();|}" << "ok" << QStringList{"16", "17", "231,1,3"};
        QTest::newRow("While with For fields") << "While(i:=1,i<3,i++){|ON();|}" << "line 1" << QStringList{};
        QTest::newRow("blank inside a loop") << "For(i:=1,i<3,i++){|ON();||// x|OFF();|}" << "ok"
                                             << QStringList{"16", "17", "221,0,2"};
        QTest::newRow("stray close") << "ON();|}" << "line 2" << QStringList{};
        QTest::newRow("nested For") << "For(i:=1,i<3,i++){|ON();|For(i:=1,i<3,i++){|OFF();|}|}" << "line 3"
                                    << QStringList{};
        QTest::newRow("While in For") << "For(i:=1,i<3,i++){|While(i<3){|}" << "line 2" << QStringList{};
        QTest::newRow("Repeat in a loop") << "ON();|For(i:=1,i<3,i++){|Repeat(0,2);|}" << "line 3" << QStringList{};
        QTest::newRow("loop left open") << "For(i:=1,i<3,i++){|ON();" << "501" << QStringList{};
        QTest::newRow("empty loop") << "ON();|For(i:=1,i<3,i++){|}" << "501" << QStringList{};
        QTest::newRow("Repeat first") << "Repeat(0,2);" << "501" << QStringList{};
        QTest::newRow("Repeat back") << "ON();|Repeat(0,2);" << "ok" << QStringList{"16", "22,0,2"};
        QTest::newRow("Repeat 46 bound") << "Repeat(47,1);" << "line 1" << QStringList{};
        QTest::newRow("Repeat over a loop") << "ON();|For(i:=1,i<3,i++){|OFF();|}|Repeat(0,2);" << "501"
                                            << QStringList{};
        QTest::newRow("Repeat after a loop") << "For(i:=1,i<3,i++){|OFF();|}|ON();|Repeat(2,2);" << "ok"
                                             << QStringList{"17", "221,0,2", "16", "22,2,2"};
        QTest::newRow("first fault wins") << "ON();|Blink();|Timer(0);" << "line 2" << QStringList{};
        QTest::newRow("47 bytes") << QStringList(47, "ON();").join(u'|') << "ok" << QStringList(47, "16");
        QTest::newRow("48 bytes") << QStringList(48, "ON();").join(u'|') << "504" << QStringList{};
        QTest::newRow("after Stop nothing counts") << "Stop();|" + QStringList(50, "ON();").join(u'|') << "ok"
                                                   << QStringList{"100"} + QStringList(50, "16");
        QTest::newRow("comments and blanks only") << "// memo||  " << "ok" << QStringList{};
    }
    void programs()
    {
        QFETCH(QString, text);
        QFETCH(QString, outcome);
        QFETCH(QStringList, compiled);
        const CheckResult r = textlang::check(program(text), Defaults);
        QCOMPARE(::outcome(r), outcome);
        if (r.ok()) {
            QCOMPARE(r.compiled, filled(compiled));
            QCOMPARE(textlang::compile(program(text), Defaults), r.compiled);
        }
        QVERIFY(r.ok() || !r.message().isEmpty());
    }

    // Lines the check refuses add nothing to an unchecked compile (the chart
    // and the report show the sound lines), and never crash.
    void compileLeavesOutFaultyLines()
    {
        const QStringList text = program("ON();|Blink();|For(i:=1,i<abc,i++){|OFF();|}|repeat();|Bright(50);");
        QCOMPARE(textlang::compile(text, Defaults), filled({"16", "17", "18,50"}));
        QCOMPARE(textlang::compiledSources(text, Defaults), (QList<int>{0, 3, 6}));
    }

    void loopErrorsPointAtTheirLine()
    {
        QCOMPARE(textlang::check(program("ON();||Repeat(3,2);"), Defaults).line, 2);
        QCOMPARE(textlang::check(program("ON();|For(i:=1,i<3,i++){|OFF();"), Defaults).line, 1);
    }

    void customNamesFromSettings()
    {
        test::TempHome home;
        QStringList names = Defaults;
        names[0] = QStringLiteral("つける");
        names[1] = QStringLiteral("けす");
        names[2] = QStringLiteral("あかるさ");
        names[6] = QStringLiteral("くりかえす");
        names[10] = QStringLiteral("ピッ");
        QStringList ini{QStringLiteral("[Command]")};
        for (int i = 0; i < 12; ++i)
            ini.append(QStringLiteral("%1=%2").arg(i + 1).arg(names.at(i)));
        QVERIFY(textfile::writeLines(home.workFolder() + QStringLiteral("set.ini"), ini));
        const QStringList read = Settings().commandNames();
        QCOMPARE(read, names);

        const CheckResult r =
            textlang::check(program("つける();|あかるさ(50);|ピッ();|くりかえす(0,3);|ON();"), read);
        QCOMPARE(outcome(r), QStringLiteral("line 5")); // the default word is no longer a command
        QCOMPARE(textlang::compile(program("つける();|あかるさ(50);|ピッ();|くりかえす(0,3);"), read),
                 filled({"16", "18,50", "26", "22,0,3"}));
    }

    void nameLookups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("code");
        QTest::newRow("exact") << "FadeOut" << 20;
        QTest::newRow("other case") << "fADEoUT" << 20;
        QTest::newRow("stop") << "STOP" << 100;
        QTest::newRow("loop word is no command") << "For" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void nameLookups()
    {
        QFETCH(QString, name);
        QFETCH(int, code);
        QCOMPARE(textlang::codeOfName(name, Defaults), code);
        if (code)
            QCOMPARE(textlang::codeOfName(textlang::nameOfCode(code, Defaults), Defaults), code);
    }

    // Command lists of the editors into text, and the text compiled back to the same list.
    void conversion_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QStringList>("names");
        QStringList lower = Defaults;
        lower[2] = "bright";
        QTest::newRow("icon program") << filled({"16", "18,50", "21,90", "100"})
                                      << QStringList{"ON();", "Bright(50);", "Timer(90);", "Stop();"} << Defaults;
        QTest::newRow("For below") << QStringList{"16", "17", "221,0,3"}
                                   << QStringList{"For(i:=1,i<4,i++){", "ON();", "OFF();", "}"} << Defaults;
        QTest::newRow("For up to after Beep")
            << QStringList{"26", "16", "17", "222,1,3"}
            << QStringList{"Beep();", "For(i:=1,i<=3,i++){", "ON();", "OFF();", "}"} << Defaults;
        QTest::newRow("While loops and a tail")
            << QStringList{"16", "231,0,1", "17", "23", "232,3,5", "26"}
            << QStringList{"While(i<2){", "ON();", "}", "OFF();", "While(i<=5){", "Touch();", "}", "Beep();"}
            << Defaults;
        QTest::newRow("loop over what follows a loop")
            << QStringList{"16", "231,0,1", "17", "23", "232,2,5"}
            << QStringList{"While(i<2){", "ON();", "}", "While(i<=5){", "OFF();", "Touch();", "}"}
            << Defaults;
        QTest::newRow("two values and repeat")
            << QStringList{"19,80,3", "20,0,5", "24", "25", "22,0,2"}
            << QStringList{"FadeIn(80,3);", "FadeOut(0,5);", "TouchIn();", "TouchOut();", "Repeat(0,2);"} << Defaults;
        QTest::newRow("lower-case name kept") << QStringList{"18,50"} << QStringList{"bright(50);"} << lower;
    }
    void conversion()
    {
        QFETCH(QStringList, list);
        QFETCH(QStringList, text);
        QFETCH(QStringList, names);
        QCOMPARE(textlang::toText(list, names), text);
        const CheckResult r = textlang::check(text, names);
        QCOMPARE(outcome(r), QStringLiteral("ok"));
        QCOMPARE(r.compiled, filled(list));
    }

    // Lists no editor writes still give text without reading outside them.
    void conversionOfOddLists()
    {
        QCOMPARE(textlang::toText({"16", "221,9,3"}, Defaults),
                 (QStringList{"ON();", "For(i:=1,i<4,i++){", "}"}));
        QCOMPARE(textlang::toText({"16", "17", "221,-4,x"}, Defaults),
                 (QStringList{"For(i:=1,i<x,i++){", "ON();", "OFF();", "}"}));
        QCOMPARE(textlang::toText({"016", "27", "5", "", "18"}, Defaults), (QStringList{"Bright();"}));
    }
};

QTEST_GUILESS_MAIN(TestTextLanguage)
#include "tst_TextLanguage.moc"
