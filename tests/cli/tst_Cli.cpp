#include "support/TestPaths.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/icon/IconProgram.h"
#include "report/ReportPage.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/TempHome.h"
#include "support/TinyDisk.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

using namespace kr31;

namespace {

struct Run
{
    int exitCode;
    QString out;
    QString err;
};

Run cli(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
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

    void unwritableOutput()
    {
        const Run run = cli({"wav", "-o", m_home->home() + "/no/dir/x.wav", "1"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(msg::SettingsWrite105));
    }

    void refusesEndlessInputs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("reason");
        const QString fifo = m_home->home() + "/pipe";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        const QString regular = "ふつうのファイルではありません";
        const QStringList report{"report", data("icon_dd.kr3"), "--grade", "3", "--class", "2", "--name", "A",
                                 "-o", m_home->home() + "/r.html"};
        QTest::newRow("packet of a device") << QStringList{"packet", "/dev/zero"} << regular;
        QTest::newRow("sound of a pipe") << QStringList{"sound", fifo, "-o", m_home->home() + "/x.wav"} << regular;
        QTest::newRow("play of a folder") << QStringList{"play", m_home->home()} << "フォルダー";
        QTest::newRow("decode of a device") << QStringList{"decode", "/dev/zero"} << regular;
        QTest::newRow("decode of a pipe") << QStringList{"decode", fifo} << regular;
        QTest::newRow("report of a device") << QStringList{"report", "/dev/zero", "--grade", "3", "--class", "2",
                                                           "--name", "A", "-o", m_home->home() + "/r.html"}
                                            << regular;
        QTest::newRow("impressions from a device") << report + QStringList{"--impressions", "/dev/zero"} << regular;
        QTest::newRow("impressions from a pipe") << report + QStringList{"--impressions", fifo} << regular;
    }
    void refusesEndlessInputs()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, reason);
        QElapsedTimer clock;
        clock.start();
        const Run run = cli(args);
        QVERIFY2(clock.elapsed() < 3000, "refused at once, not read");
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(msg::CannotOpen111) && run.err.contains(reason), qPrintable(run.err));
    }

    void fullDiskKeepsTheOldOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("wav") << QStringList{"wav", "-o", "OUT", "1", "2", "3"} << msg::SettingsWrite105;
        QTest::newRow("sound") << QStringList{"sound", data("program.kr3"), "-o", "OUT"} << msg::SettingsWrite105;
        QTest::newRow("report") << QStringList{"report", data("icon_dd.kr3"), "--grade", "3", "--class", "2",
                                               "--name", "A", "-o", "OUT"}
                                << report::CannotWrite;
    }
    void fullDiskKeepsTheOldOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        test::TinyDisk disk;
        if (!disk.available())
            QSKIP(disk.whyNot());
        const QByteArray old = "old bytes";
        disk.put("out", old);
        disk.fill();
        args.replaceInStrings(QRegularExpression("^OUT$"), disk.path("out"));
        const Run run = cli(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(message) && run.err.contains("ディスクの空きが足りません"), qPrintable(run.err));
        QCOMPARE(readFile(disk.path("out")), old);
    }

    void stalledSoundDeviceEndsThePlay()
    {
        // The default device writes into a pipe that nobody reads: it opens but never takes data.
        const QString fifo = m_home->home() + "/stalled.fifo";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        const QString config = m_home->home() + "/asound.conf";
        QVERIFY(textfile::writeAtomically(config, "pcm.!default { type file slave.pcm { type null } file \""
                                                      + QFile::encodeName(fifo) + "\" format \"raw\" }\n"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ALSA_CONFIG_PATH", config);
        const qint64 soundMs = (tone::transferSound(*packet::ledProgram({"16", "18,50", "21,64800", "22,0,3"}),
                                                    [] { return 0; }).size()) * 1000 / 48000;
        QElapsedTimer clock;
        clock.start();
        const Run run = cli({"play", data("program.kr3")}, env);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(msg::CannotPlay) && run.err.contains("決められた時間内に再生が終わりませんでした"),
                 qPrintable(run.err));
        QVERIFY2(elapsed < soundMs + 5000 + 3000, qPrintable(QString::number(elapsed)));
    }

private:
    std::unique_ptr<test::TempHome> m_home;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_Cli.moc"
