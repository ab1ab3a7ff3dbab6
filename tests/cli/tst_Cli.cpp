#include "support/TestPaths.h"
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
        // As the melody editor sends it after opening the file: link values the
        // file leaves out stay at 100, each voice up to its first 204.
        QTest::newRow("MELODY, only the marker") << data("melody.kr3")
                                                 << Packet{5} + Packet(16, 0) + Packet(192, 204);
        QTest::newRow("MELODY") << data("tune.kr3")
                                << Packet{5, 1, 76, 128} + Packet(11, 255) + Packet{0, 0, 98, 105} + Packet(94, 204) +
                                       Packet{162, 85} + Packet(94, 204);
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
        QTest::newRow("preview of an icon file") << QStringList{"preview", data("program.kr3"), "-o", "/tmp"}
                                                 << msg::OtherStep112;
        QTest::newRow("preview without -o") << QStringList{"preview", data("tune.kr3")} << "-o";
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

    void previewAsTheEditorWritesIt()
    {
        const QString dir = m_home->home() + "/preview";
        Run run = cli({"preview", data("melody_down.kr3"), "-o", dir});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!QFile::exists(dir + "/UP.WAV")); // a voice without notes writes no file
        QByteArray c4(92, char(0xFF));
        c4.append(QByteArray(92, 0));
        QCOMPARE(readFile(dir + "/DOWN.WAV"), wav::fileBytes(c4.repeated(66) + QByteArray(930 + 10100, 0)));

        run = cli({"preview", data("tune.kr3"), "-o", dir});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(dir + "/UP.WAV"));
        QCOMPARE(wav::parse(readFile(dir + "/DOWN.WAV"))->samples.size(), 131 * 366 + 930 + 10100);
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
