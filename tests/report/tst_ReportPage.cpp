#include "support/TestPaths.h"
#include "core/TextFile.h"
#include "report/ReportPage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kr31;

namespace {

const QString Folder = QStringLiteral("/opt/kr31/");

// 47 lines: the given ones, then the filler "27".
QStringList program(QStringList lines)
{
    while (lines.size() < 47)
        lines.append(QStringLiteral("27"));
    return lines;
}

QStringList page(const QStringList &commands, const QString &name = QStringLiteral("名前"),
                 const QString &impressions = {})
{
    return report::pageLines(QStringLiteral("3"), QStringLiteral("2"), name, impressions, commands, Folder);
}

// The six lines of slot n (1..47) on a page.
QStringList slotLines(const QStringList &page, int n)
{
    const int head = int(report::templateLines().size());
    const int row = (n - 1) % report::Rows;
    const int half = n > report::Rows ? 6 : 0;
    return page.mid(head + row * 12 + half, 6);
}

QString picture(const QString &file)
{
    return QStringLiteral("<img src=\"/opt/kr31/HTML/DD/Img/%1\" width=\"30\" height=\"30\">").arg(file);
}

QString cell(const QString &text)
{
    return QStringLiteral("<td width=\"14%\"><div align=\"center\">") + text + QStringLiteral("</div></td>");
}

QString numberCell(int n)
{
    return QStringLiteral("<td width=\"8%\" height=\"30\"><div align=\"center\">%1</div></td>").arg(n);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const int NameLine = 12;
const int ImpressionsLine = 19;

} // namespace

class TestReportPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wholePageByteForByte()
    {
        const QStringList commands =
            program({"18,50", "19,80,2", "21,3", "22,0,5", "26", "100"});
        const QStringList lines = report::pageLines(QStringLiteral("4"), QStringLiteral("1"),
                                                    QStringLiteral("佐藤　ひかり"),
                                                    QStringLiteral("だんだん明るくなる & ピッと鳴る\r\nうまくできた"),
                                                    commands, Folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Report.html"));
        QString error;
        QVERIFY2(report::writePage(path, lines, &error), qPrintable(error));
        const QByteArray expected = readFile(kr31::test::testData(QStringLiteral("report/expected_Report.html")));
        QVERIFY(!expected.isEmpty());
        const QByteArray written = readFile(path);
        if (written != expected) {
            const QStringList want = textfile::splitLines(QString::fromLatin1(expected));
            const QStringList got = textfile::splitLines(QString::fromLatin1(written));
            for (int i = 0; i < qMin(want.size(), got.size()); ++i)
                QCOMPARE(got.at(i), want.at(i));
            QCOMPARE(got.size(), want.size());
        }
        QCOMPARE(written, expected);
    }

    void lightThenStop()
    {
        const QStringList lines = page(program({"18,50", "100"}));
        QCOMPARE(lines.size(), report::templateLines().size() + 23 * 12 + 7 + 1);
        QCOMPARE(slotLines(lines, 1),
                 (QStringList{"<tr bgcolor=\"#FFFFFF\">" + numberCell(1), "<td width=\"14%\"><div align=\"center\">",
                              picture("D_light.jpg"), "</div></td>", cell("明るさ　50"), cell("　")}));
        QCOMPARE(slotLines(lines, 2).at(2), picture("D_stop.jpg"));
        for (int n = 3; n <= 47; ++n) {
            const QStringList slot = slotLines(lines, n);
            const QString start = n <= report::Rows ? QStringLiteral("<tr bgcolor=\"#FFFFFF\">") : QString();
            const QString end = n > report::Rows ? QStringLiteral("</tr>") : QString();
            QCOMPARE(slot.at(0), start + numberCell(n));
            QCOMPARE(slot.at(2), QString());
            QCOMPARE(slot.at(4), cell("　"));
            QCOMPARE(slot.at(5), cell("　") + end);
        }
        QCOMPARE(lines.at(lines.size() - 2), QStringLiteral("<td></td><td></td><td></td><td></td><td></td></tr>"));
        QCOMPARE(lines.last(), QStringLiteral("</table></div></body></html>"));
    }

    void commandCells_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("ON") << "16" << "D_on.jpg" << "　" << "　";
        QTest::newRow("OFF") << "17" << "D_off.jpg" << "　" << "　";
        QTest::newRow("Light") << "18,255" << "D_light.jpg" << "明るさ　255" << "　";
        QTest::newRow("F_In") << "19,100,3" << "fadein.jpg" << "明るさ　100" << "更新単位　3";
        QTest::newRow("F_Out") << "20,0,1" << "fadeout.jpg" << "明るさ　0" << "更新単位　1";
        QTest::newRow("Time") << "21,64800" << "timer.jpg" << "秒数　64800" << "　";
        QTest::newRow("Repeat 0 5") << "22,0,5" << "D_repeat.jpg" << "戻り番地　0" << "繰返回数　5";
        QTest::newRow("loop 221") << "221,2,0" << "D_repeat.jpg" << "戻り番地　2" << "繰返回数　0";
        QTest::newRow("loop 232") << "232,3,7" << "D_repeat.jpg" << "戻り番地　3" << "繰返回数　7";
        QTest::newRow("Touch") << "23" << "D_touch.jpg" << "　" << "　";
        QTest::newRow("T_F_In") << "24" << "t_in.jpg" << "　" << "　";
        QTest::newRow("T_F_Out") << "25" << "t_out.jpg" << "　" << "　";
        QTest::newRow("Beep") << "26" << "D_beep.jpg" << "　" << "　";
        QTest::newRow("Stop") << "100" << "D_stop.jpg" << "　" << "　";
        QTest::newRow("filler") << "27" << "" << "　" << "　";
        QTest::newRow("unknown code keeps its fields") << "99,1,2" << "" << "　1" << "　2";
        QTest::newRow("code matched on its exact text") << "018,5" << "" << "　5" << "　";
        QTest::newRow("markup in a field") << "18,<b>" << "D_light.jpg" << "明るさ　&lt;b&gt;" << "　";
    }
    void commandCells()
    {
        QFETCH(QString, line);
        QFETCH(QString, picture);
        QFETCH(QString, first);
        QFETCH(QString, second);
        // The same line on the left (slot 5) and on the right (slot 29) of row 5.
        QStringList commands = program({});
        commands[4] = line;
        commands[28] = line;
        const QStringList lines = page(commands);
        const QString img = picture.isEmpty() ? QString() : ::picture(picture);
        QCOMPARE(slotLines(lines, 5).mid(2), (QStringList{img, "</div></td>", cell(first), cell(second)}));
        QCOMPARE(slotLines(lines, 29).mid(2), (QStringList{img, "</div></td>", cell(first), cell(second) + "</tr>"}));
    }

    void nameLine_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("grade 3 class 2") << "3" << "2" << "山田花子" << "3年2組　山田花子";
        QTest::newRow("markup escaped") << "3" << "2" << "<b>&\"x\"" << "3年2組　&lt;b&gt;&amp;&quot;x&quot;";
        QTest::newRow("entity kept as typed") << "3" << "2" << "&lt;" << "3年2組　&amp;lt;";
        QTest::newRow("grade and class escaped") << "<" << "\"" << "A" << "&lt;年&quot;組　A";
        QTest::newRow("placeholder in a name") << "3" << "2" << "E1 Kanso" << "3年2組　E1 Kanso";
        QTest::newRow("IBM extension kept") << "3" << "2" << "髙橋" << "3年2組　髙橋";
        QTest::newRow("outside code page 932") << "3" << "2" << "𠮷田" << "3年2組　&#134071;田";
    }
    void nameLine()
    {
        QFETCH(QString, grade);
        QFETCH(QString, cls);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        const QStringList lines =
            report::pageLines(grade, cls, name, QStringLiteral("感想"), program({"100"}), Folder);
        QCOMPARE(lines.at(NameLine), "  <p><font size=\"4\"><strong>" + shown + "</strong></font>");
        QCOMPARE(lines.at(ImpressionsLine), QStringLiteral("      <td>感想<BR></td>"));
    }

    void impressions_data()
    {
        QTest::addColumn<QString>("impressions");
        QTest::addColumn<QString>("cell");
        QTest::newRow("three lines CR LF") << "目的\r\nできた\r\nまたやる" << "目的<BR>できた<BR>またやる<BR>";
        QTest::newRow("LF") << "a\nb" << "a<BR>b<BR>";
        QTest::newRow("final break") << "a\nb\n" << "a<BR>b<BR>";
        QTest::newRow("blank line kept") << "a\n\nb" << "a<BR><BR>b<BR>";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("markup escaped") << "<script>x</script> & \"y\"" << "&lt;script&gt;x&lt;/script&gt; &amp; &quot;y&quot;<BR>";
        QTest::newRow("placeholder in impressions") << "E1\nKanso" << "E1<BR>Kanso<BR>";
    }
    void impressions()
    {
        QFETCH(QString, impressions);
        QFETCH(QString, cell);
        const QStringList lines = page(program({"100"}), QStringLiteral("名前"), impressions);
        QCOMPARE(lines.at(ImpressionsLine), "      <td>" + cell + "</td>");
        QCOMPARE(lines.at(NameLine), QStringLiteral("  <p><font size=\"4\"><strong>3年2組　名前</strong></font>"));
    }

    // The pane's copy: no black background left to show between the cells, tables
    // as wide as their captions, and the program's value cells on one line; the
    // learner's impressions still wrap.
    void displayCopy()
    {
        const QStringList lines = report::pageLines(QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("ひかり"),
                                                    QStringLiteral("ながい かんそう"), program({"18,50", "100"}), Folder);
        const QString shown = report::displayHtml(lines.join(u'\n'));
        QVERIFY(!shown.contains(QStringLiteral("bgcolor=\"#000000\"")));
        QCOMPARE(shown.count(QStringLiteral("border-collapse: collapse")), 2);
        QVERIFY(!shown.contains(QStringLiteral("width=\"90%\"")));
        QVERIFY(shown.count(QStringLiteral("white-space: nowrap")) > 6 * 23);
        QVERIFY(!shown.contains(QStringLiteral("<td width=\"14%\"><div")));
        QVERIFY(shown.contains(QStringLiteral("<td>ながい かんそう")));
    }

    void missingNamesRefused()
    {
        QVERIFY(report::namesComplete(QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("山田")));
        QVERIFY(!report::namesComplete({}, QStringLiteral("2"), QStringLiteral("山田")));
        QVERIFY(!report::namesComplete(QStringLiteral("3"), {}, QStringLiteral("山田")));
        QVERIFY(!report::namesComplete(QStringLiteral("3"), QStringLiteral("2"), {}));
    }
};

QTEST_GUILESS_MAIN(TestReportPage)
#include "tst_ReportPage.moc"
