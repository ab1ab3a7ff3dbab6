#include "core/Settings.h"
#include "core/TextFile.h"
#include "editors/text/HelpPage.h"
#include "editors/text/TextLanguage.h"
#include "editors/text/WordFile.h"
#include "support/TempHome.h"

#include <QTest>

using namespace kr31;

namespace {
const QStringList Defaults = Settings::defaultCommandNames();

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}
} // namespace

class TestWordFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedBytes()
    {
        const QStringList text{"ON(); // つける", "Timer(5);", "", "OFF();"};
        const auto check = textlang::check(text, Defaults);
        QVERIFY(check.ok());
        QByteArray expected = "LED\r\n16\r\n21,5\r\n17\r\n";
        for (int i = 0; i < 44; ++i)
            expected += "27\r\n";
        expected += "TEXT\r\nON(); // \x82\xc2\x82\xaf\x82\xe9\r\nTimer(5);\r\n\r\nOFF();\r\n";
        QCOMPARE(textfile::encodeLines(wordfile::fileLines(text, check.compiled, true)), expected);

        const QStringList faulty{"ON()", "OFF();"};
        QCOMPARE(textfile::encodeLines(wordfile::fileLines(faulty, {}, false)),
                 QByteArray("WORD\r\nON()\r\nOFF();\r\n"));
    }

    void reading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<bool>("converted");
        const QStringList flowPages(10, QStringList(47, "27").join(u'/') + u'/');
        QTest::newRow("LED with text") << QStringList{"LED", "16", "27", "TEXT", "ON();", "", "// x"}
                                       << int(wordfile::ReadResult::Ok) << QStringList{"ON();", "", "// x"} << false;
        QTest::newRow("WORD") << QStringList{"WORD", "ON()", "OFF();"} << int(wordfile::ReadResult::Ok)
                              << QStringList{"ON()", "OFF();"} << false;
        QTest::newRow("LED list converted") << filled({"LED", "16", "17", "221,0,3"}) << int(wordfile::ReadResult::Ok)
                                            << QStringList{"For(i:=1,i<4,i++){", "ON();", "OFF();", "}"} << true;
        QTest::newRow("flowchart file stops at DATA")
            << filled({"FURO", "26", "100"}) + QStringList{"DATA"} + flowPages << int(wordfile::ReadResult::Ok)
            << QStringList{"Beep();", "Stop();"} << true;
        QTest::newRow("LITE") << QStringList{"LITE", "23"} << int(wordfile::ReadResult::Ok)
                              << QStringList{"Touch();"} << true;
        QTest::newRow("marker only") << QStringList{"LED"} << int(wordfile::ReadResult::Ok) << QStringList{} << true;
        QTest::newRow("icon file") << QStringList{"DD", "16"} << int(wordfile::ReadResult::OtherStep)
                                   << QStringList{} << false;
        QTest::newRow("melody") << QStringList{"MELODY", "1"} << int(wordfile::ReadResult::OtherStep)
                                << QStringList{} << false;
        QTest::newRow("marker with a blank") << QStringList{"WORD ", "ON();"}
                                             << int(wordfile::ReadResult::OtherStep) << QStringList{} << false;
        QTest::newRow("empty file") << QStringList{} << int(wordfile::ReadResult::Unreadable) << QStringList{}
                                    << false;
    }
    void reading()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, status);
        QFETCH(QStringList, text);
        QFETCH(bool, converted);
        const auto r = wordfile::readLines(lines, Defaults);
        QCOMPARE(int(r.status), status);
        QCOMPARE(r.text, text);
        QCOMPARE(r.converted, converted);
    }

    // What is saved opens again as the same text, and its list is the text's compile.
    void roundTripThroughAFile()
    {
        test::TempHome home;
        const QString path = home.workFolder() + "p.kr3";
        const QStringList text{"Beep();", "", "For(i:=1,i<=3,i++){  // くりかえし", "ON();", "OFF();", "}"};
        const auto check = textlang::check(text, Defaults);
        QVERIFY(check.ok());
        QVERIFY(textfile::writeLines(path, wordfile::fileLines(text, check.compiled, true)));
        const auto read = wordfile::read(path, Defaults);
        QCOMPARE(read.text, text);
        QVERIFY(read.fromText);
        QCOMPARE(wordfile::read(home.workFolder() + "missing.kr3", Defaults).status,
                 wordfile::ReadResult::Unreadable);
    }

    // The help page: each word of the template replaced once; a name that
    // holds a placeholder stays as it is (it would otherwise grow the page).
    void helpPage_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("built");
        QTest::newRow("names, escaped") << "<b>Com_On</b>/Com_Off" << QStringList{"つける<>", "けす"}
                                        << "<b>つける&lt;&gt;</b>/けす";
        QTest::newRow("a name holding placeholders") << "Com_On Com_On" << QStringList{"Com_OnCom_Off", "x"}
                                                     << "Com_OnCom_Off Com_OnCom_Off";
        QTest::newRow("pages and style") << "../size.css On.html" << QStringList{}
                                         << "file:///r/HTML/size.css file:///r/HTML/Word/On.html";
    }
    void helpPage()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, names);
        QFETCH(QString, built);
        QCOMPARE(helppage::build({line}, names, "/r/"), QStringList{built});
    }
};

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_WordFile.moc"
