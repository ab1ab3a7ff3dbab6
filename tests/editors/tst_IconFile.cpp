#include "support/TestPaths.h"
#include "core/TextFile.h"
#include "editors/icon/IconFile.h"
#include "support/TempHome.h"

#include <QFile>
#include <QTest>

using namespace kr31;

namespace {
QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestIconFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedBytes()
    {
        IconProgram p;
        p.drop(0, 16);
        p.drop(1, 18);
        p.Slots[1].value1 = "50";
        p.drop(2, 21);
        p.Slots[2].value1 = "90";
        p.drop(3, 100);
        QCOMPARE(textfile::encodeLines(iconfile::fileLines(p, true)),
                 readBytes(kr31::test::testData(QStringLiteral("icon/expected_saved.kr3"))));
        const QStringList fresh = iconfile::fileLines(IconProgram(), true);
        QCOMPARE(fresh.size(), 48);
        QCOMPARE(fresh.first(), QStringLiteral("LED"));
        QCOMPARE(iconfile::fileLines(IconProgram(), false).first(), QStringLiteral("DD"));
    }

    void saveNames_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "/d/abc" << "/d/abc.kr3";
        QTest::newRow("upper case kept") << "/d/abc.KR3" << "/d/abc.KR3";
        QTest::newRow("other extension") << "/d/abc.txt" << "/d/abc.txt.kr3";
        QTest::newRow("already") << "/d/abc.kr3" << "/d/abc.kr3";
    }
    void saveNames()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QCOMPARE(iconfile::saveName(chosen), written);
    }

    void reading_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("compiled"); // first lines; the rest "27"
        QTest::newRow("stops at DATA") << QStringList{"LED", "16", "DATA", "17"} << int(iconfile::ReadResult::Ok)
                                       << QStringList{"16"};
        QTest::newRow("empty slots kept in place")
            << QStringList{"LED", "27", "27", "19,80,3"} << int(iconfile::ReadResult::Ok)
            << QStringList{"27", "27", "19,80,3"};
        QTest::newRow("only the marker") << QStringList{"LED"} << int(iconfile::ReadResult::Ok) << QStringList{};
        QTest::newRow("DD and LITE") << QStringList{"DD", "22,0,0"} << int(iconfile::ReadResult::Ok)
                                     << QStringList{"22,0,0"};
        QTest::newRow("LITE, leading zero code") << QStringList{"LITE", "016"} << int(iconfile::ReadResult::Ok)
                                                 << QStringList{"16"};
        QTest::newRow("trailing blank on marker")
            << QStringList{"LED ", "16"} << int(iconfile::ReadResult::OtherStep) << QStringList{};
        QTest::newRow("flowchart file") << QStringList{"FURO", "16"} << int(iconfile::ReadResult::OtherStep)
                                        << QStringList{};
        QTest::newRow("bad line keeps what came before")
            << QStringList{"LED", "16", "x", "17"} << int(iconfile::ReadResult::BrokeOff) << QStringList{"16"};
        QTest::newRow("empty file") << QStringList{} << int(iconfile::ReadResult::Unreadable) << QStringList{};
        QTest::newRow("values limited as the sliders do")
            << QStringList{"LED", "19,120,0"} << int(iconfile::ReadResult::Ok) << QStringList{"19,100,0"};
        QTest::newRow("text editor's loop kept, compiled as repeat")
            << QStringList{"LED", "16", "231,0,4"} << int(iconfile::ReadResult::Ok) << QStringList{"16", "22,0,4"};
    }
    void reading()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, status);
        QFETCH(QStringList, compiled);
        const auto result = iconfile::readLines(lines);
        QCOMPARE(int(result.status), status);
        QStringList expected = compiled;
        while (expected.size() < 47)
            expected.append("27");
        QCOMPARE(result.program.compileSlots(), expected);
    }

    void moreThan47CommandLinesAreIgnored()
    {
        QStringList lines{"LED"};
        lines += QStringList(47, "16");
        lines += QStringList{"100", "17"};
        const auto result = iconfile::readLines(lines);
        QCOMPARE(int(result.status), int(iconfile::ReadResult::Ok));
        QCOMPARE(result.program.compileSlots(), QStringList(47, "16"));
    }

    void roundTripThroughDisk()
    {
        test::TempHome home;
        IconProgram p;
        p.drop(0, 23);
        p.drop(1, 21);
        p.Slots[1].value1 = "3723";
        p.drop(2, 22);
        p.Slots[2].value2 = "4";
        const QString path = home.home() + "/prog.kr3";
        QVERIFY(textfile::writeLines(path, iconfile::fileLines(p, false)));
        const auto back = iconfile::read(path);
        QCOMPARE(int(back.status), int(iconfile::ReadResult::Ok));
        QCOMPARE(back.marker, QStringLiteral("DD"));
        QCOMPARE(back.program.compileSlots(), p.compileSlots());
        QCOMPARE(int(iconfile::read(home.home() + "/missing.kr3").status), int(iconfile::ReadResult::Unreadable));
    }
};

QTEST_GUILESS_MAIN(TestIconFile)
#include "tst_IconFile.moc"
