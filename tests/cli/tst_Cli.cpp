#include "support/TestPaths.h"
#include "core/Cp932.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/icon/IconProgram.h"
#include "report/ReportPage.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/TempHome.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace kr31;

namespace {

struct Run
{
    int exitCode;
    QString out;
    QString err;
};

Run cli(const QStringList &args)
{
    QProcess process;
    process.start((kr31::test::binDir() + QStringLiteral("/kr31-cli")), args);
    if (!process.waitForFinished(30000))
        return {-1, {}, QStringLiteral("timeout")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString data(const char *name)
{
    return kr31::test::testData(QStringLiteral("cli/")) + QString::fromUtf8(name);
}

QString lines(const Packet &values)
{
    QString text;
    for (int v : values)
        text += QString::number(v) + u'\n';
    return text;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_home = std::make_unique<test::TempHome>(); }

    void packetOfFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Packet>("packet");
        QTest::newRow("LED") << data("program.kr3") << *packet::ledProgram({"16", "18,50", "21,64800", "22,0,3"});
        QTest::newRow("LITE, LF, up to DATA") << data("lite.kr3") << *packet::ledProgram({"19,100,5", "26"});
        // As the icon editor sends it: 150 limited to 100, the loop as a repeat, 47 lines.
        QStringList dd{"16", "18,100", "22,0,2", "21,3723"};
        while (dd.size() < 47)
            dd.append("27");
        QTest::newRow("DD") << data("icon_dd.kr3") << *packet::ledProgram(dd);
        QTest::newRow("WORD, compiled from its text")
            << data("text_word.kr3") << *packet::ledProgram({"16", "18,50", "26", "222,2,3"});
        QTest::newRow("LED with a text, compiled from the text")
            << data("text_led.kr3") << *packet::ledProgram({"26", "17"});
    }
    void packetOfFiles()
    {
        QFETCH(QString, file);
        QFETCH(Packet, packet);
        const Run run = cli({"packet", file});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, lines(packet));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringList{"packet", data("nope.kr3")} << msg::CannotOpen111;
        QTest::newRow("flowchart file") << QStringList{"packet", data("flowchart.kr3")} << msg::OtherStep112;
        QTest::newRow("melody file") << QStringList{"sound", data("melody.kr3"), "-o", "/tmp/x.wav"}
                                     << msg::OtherStep112;
        QTest::newRow("bad repeat") << QStringList{"packet", data("bad_repeat.kr3")} << msg::RepeatError501;
        QTest::newRow("bad time") << QStringList{"packet", data("bad_time.kr3")} << msg::OutOfRange507;
        QTest::newRow("over 47") << QStringList{"packet", data("too_long.kr3")} << msg::SendOverLimit504;
        QTest::newRow("DD timer 0") << QStringList{"packet", data("icon_time0.kr3")}
                                    << msg::OutOfRange507 + "\n" + msg::ProgramError502;
        QTest::newRow("DD nested repeat") << QStringList{"packet", data("icon_nested.kr3")} << msg::ProgramError502;
        QTest::newRow("report without name")
            << QStringList{"report", data("icon_dd.kr3"), "--grade", "3", "--class", "2", "-o", "/tmp/r.html"}
            << "学年、組、名前を正しく入力して下さい。";
        QTest::newRow("report of a flowchart file")
            << QStringList{"report", data("flowchart.kr3"), "--grade", "3", "--class", "2", "--name", "A", "-o",
                           "/tmp/r.html"}
            << msg::OtherStep112;
        QTest::newRow("text that fails its check")
            << QStringList{"play", data("text_faulty.kr3")} << msg::grammarFault(2) + "\n(2 行目: bright(50);)";
        QTest::newRow("report of a faulty text")
            << QStringList{"report", data("text_faulty.kr3"), "--grade", "3", "--class", "2", "--name", "A", "-o",
                           "/tmp/r.html"}
            << msg::grammarFault(2);
        QTest::newRow("text of an icon file") << QStringList{"text", data("icon_dd.kr3")} << msg::OtherStep112;
        QTest::newRow("text of a missing file") << QStringList{"text", data("nope.kr3")} << msg::CannotOpen111;
        QTest::newRow("no output") << QStringList{"wav", "4"} << "-o";
        QTest::newRow("bad mode") << QStringList{"wav", "--mode", "4", "-o", "/tmp/x.wav", "4"} << "0 から 3";
        QTest::newRow("bad value") << QStringList{"wav", "-o", "/tmp/x.wav", "256"} << "0 から 255";
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << "使い方";
        QTest::newRow("no arguments") << QStringList{} << "使い方";
        QTest::newRow("decode non-wav") << QStringList{"decode", data("program.kr3")} << "WAV";
    }
    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const Run run = cli(args);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void soundWavAndDecode_data()
    {
        QTest::addColumn<int>("mode");
        for (int mode = 0; mode < 4; ++mode)
            QTest::addRow("mode %d", mode) << mode;
    }
    void soundWavAndDecode()
    {
        QFETCH(int, mode);
        const QString out = m_home->home() + "/out.wav";
        const Packet expected = *packet::ledProgram({"16", "18,50", "21,64800", "22,0,3"});
        Run run = cli({"sound", data("program.kr3"), "-o", out, "--mode", QString::number(mode)});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(out), wav::fileBytes(tone::transferSound(expected, [=] { return mode; })));

        run = cli({"decode", out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("mode %1\n").arg(mode) + lines(expected));

        run = cli({"wav", "--mode", QString::number(mode), "-o", out, "5", "0", "255"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(out), wav::fileBytes(tone::transferSound({5, 0, 255}, [=] { return mode; })));
    }

    void modeDefaultsToSettings()
    {
        m_home->writeWorkFile("set.ini", "[Wave]\r\nname=3\r\n");
        const QString out = m_home->home() + "/set.wav";
        QCOMPARE(cli({"wav", "-o", out, "1"}).exitCode, 0);
        QCOMPARE(cli({"decode", out}).out, QStringLiteral("mode 3\n1\n"));
        m_home->writeWorkFile("set.ini", "");
    }

    void reportAsTheWindowWritesIt()
    {
        const QString out = m_home->home() + "/Report.html";
        const Run run = cli({"report", data("icon_dd.kr3"), "--grade", "3", "--class", "2", "--name", "山田 <花子>",
                             "--impressions", data("impressions_cp932.txt"), "-o", out});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        IconProgram program;
        program.load(0, 16, "", "");
        program.load(1, 18, "150", "");
        program.load(2, 231, "0", "2");
        program.load(3, 21, "3723", "");
        const QStringList lines = report::pageLines("3", "2", "山田 <花子>", "たのしかった\r\n<b>",
                                                    program.compileSlots(), (kr31::test::binDir() + QStringLiteral("/")));
        QCOMPARE(readFile(out), textfile::encodeLines(lines));
        QVERIFY(readFile(out).contains("&lt;\x89\xd4\x8e\x71&gt;"));
    }

    void textAsTheWindowShowsIt_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::newRow("converted list") << data("program.kr3")
                                        << "ON();\nBright(50);\nTimer(64800);\nRepeat(0,3);\nStop();\n";
        QTest::newRow("text section") << data("text_led.kr3") << "Beep();\nOFF();\n";
        QTest::newRow("WORD") << data("text_word.kr3")
                              << "// くりかえし\nON();\nBright(50);\nFor(i:=1,i<=3,i++){\n  Beep();\n}\n";
    }
    void textAsTheWindowShowsIt()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        const Run run = cli({"text", file});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, text);
    }

    // The command words of set.ini (code page 932) name the commands of a text file.
    void textUsesTheConfiguredNames()
    {
        QByteArray ini = "[Command]\r\n";
        const QStringList names{"つける", "けす", "あかるさ", "FadeIn", "FadeOut", "まつ",
                                "Repeat", "Touch", "TouchIn", "TouchOut", "ピッ", "おわり"};
        for (int i = 0; i < 12; ++i)
            ini += QByteArray::number(i + 1) + '=' + cp932::encode(names.at(i)) + "\r\n";
        m_home->writeWorkFile("set.ini", ini);
        const QString path = m_home->home() + "/custom.kr3";
        QVERIFY(textfile::writeLines(path, {"WORD", "つける();", "まつ(3);", "ピッ();"}));
        Run run = cli({"packet", path});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, lines(*packet::ledProgram({"16", "21,3", "26"})));
        run = cli({"text", data("program.kr3")});
        QCOMPARE(run.out, QStringLiteral("つける();\nあかるさ(50);\nまつ(64800);\nRepeat(0,3);\nおわり();\n"));
        m_home->writeWorkFile("set.ini", "");
        QCOMPARE(cli({"packet", path}).exitCode, 1); // the default words do not know them
    }

    void unwritableOutput()
    {
        const Run run = cli({"wav", "-o", m_home->home() + "/no/dir/x.wav", "1"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(msg::SettingsWrite105));
    }

private:
    std::unique_ptr<test::TempHome> m_home;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_Cli.moc"
