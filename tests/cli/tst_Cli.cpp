#include "support/TestPaths.h"
#include "cli/CliCommands.h"
#include "cli/SendProgress.h"
#include "core/Cp932.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/icon/IconProgram.h"
#include "report/ReportPage.h"
#include "link/Packets.h"
#include "sound/SoundTurn.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/TempHome.h"
#include "support/TinyDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kr31;

namespace {

struct Run
{
    int exitCode;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(30000))
        return {-1, {}, QStringLiteral("timeout")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

Run cli(const QStringList &args)
{
    return run(kr31::test::binDir() + QStringLiteral("/kr31-cli"), args);
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
        // The pages are the program, compiled as the flowchart editor does; the stored list is not used.
        QTest::newRow("flowchart pages") << data("flow_pages.kr3")
                                         << *packet::ledProgram({"18,50", "26", "17", "22,2,3"});
        // As the icon editor sends it: 150 limited to 100, the loop as a repeat, 47 lines.
        QStringList dd{"16", "18,100", "22,0,2", "21,3723"};
        while (dd.size() < 47)
            dd.append("27");
        QTest::newRow("DD") << data("icon_dd.kr3") << *packet::ledProgram(dd);
        QTest::newRow("WORD, compiled from its text")
            << data("text_word.kr3") << *packet::ledProgram({"16", "18,50", "26", "222,2,3"});
        QTest::newRow("LED with a text, compiled from the text")
            << data("text_led.kr3") << *packet::ledProgram({"26", "17"});
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
        QTest::newRow("flowchart call cycle") << QStringList{"packet", data("flow_cycle.kr3")} << msg::OutOfRange507;
        // A growing cycle hidden in an entry's text ends too (it once took all the memory).
        QTest::newRow("flowchart call cycle in an entry's text")
            << QStringList{"packet", data("flow_hidden_cycle.kr3")} << msg::OutOfRange507;
        QTest::newRow("flowchart over 47") << QStringList{"play", data("flow_over.kr3")} << msg::SendOverLimit504;
        QTest::newRow("flowchart entry out of range")
            << QStringList{"packet", data("flow_bad_entry.kr3")}
            << msg::OutOfRange507 + QStringLiteral("\n（サブルーチン 1 の 1 ばんめ「18,300」）");
        QTest::newRow("report of a flowchart call cycle")
            << QStringList{"report", data("flow_cycle.kr3"), "--grade", "3", "--class", "2", "--name", "A", "-o",
                           "/tmp/r.html"}
            << msg::OutOfRange507;
        QTest::newRow("preview of an icon file") << QStringList{"preview", data("program.kr3"), "-o", "/tmp"}
                                                 << msg::OtherStep112;
        QTest::newRow("bad repeat") << QStringList{"packet", data("bad_repeat.kr3")} << msg::RepeatError501;
        QTest::newRow("bad time") << QStringList{"packet", data("bad_time.kr3")} << msg::OutOfRange507;
        QTest::newRow("over 47") << QStringList{"packet", data("too_long.kr3")} << msg::SendOverLimit504;
        QTest::newRow("DD timer 0") << QStringList{"packet", data("icon_time0.kr3")}
                                    << msg::OutOfRange507 + "\n" + msg::ProgramError502;
        QTest::newRow("DD that breaks off") << QStringList{"packet", data("icon_broken.kr3")}
                                            << msg::notOpened(data("icon_broken.kr3"), msg::badLine(4));
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
        QTest::newRow("bad mode") << QStringList{"wav", "--mode", "4", "-o", "/tmp/x.wav", "4"} << "0 から 3";
        QTest::newRow("bad value") << QStringList{"wav", "-o", "/tmp/x.wav", "256"} << "0 から 255";
        QTest::newRow("brightness over 100") << QStringList{"brightness", "101"} << "0 から 100";
        QTest::newRow("brightness below 0") << QStringList{"brightness", "-1", "-o", "/tmp/x.wav"} << ": -1";
        QTest::newRow("brightness not a number") << QStringList{"brightness", "half"} << "0 から 100";
        QTest::newRow("alarm pattern 0") << QStringList{"alarm", "0"} << "1 から 4";
        QTest::newRow("alarm pattern 5") << QStringList{"alarm", "5", "-o", "/tmp/x.wav"} << "1 から 4";
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

    void reportOfFlowchartPages()
    {
        const QString out = m_home->home() + "/FlowReport.html";
        const Run run = cli({"report", data("flow_pages.kr3"), "--grade", "3", "--class", "2", "--name", "A", "-o", out});
        QCOMPARE(run.exitCode, 0);
        QStringList list{"18,50", "26", "17", "22,2,3"};
        while (list.size() < 47)
            list.append("27");
        const QStringList lines =
            report::pageLines("3", "2", "A", report::InitialImpressions, list, kr31::test::binDir() + QStringLiteral("/"));
        QCOMPARE(readFile(out), textfile::encodeLines(lines));
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

    void previewAsTheEditorWritesIt()
    {
        const QString dir = m_home->home() + "/preview";
        Run run = cli({"preview", data("tune.kr3"), "-o", dir});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(dir + "/UP.WAV"));
        QCOMPARE(wav::parse(readFile(dir + "/DOWN.WAV"))->samples.size(), 131 * 366 + 930 + 10100);

        run = cli({"preview", data("melody_down.kr3"), "-o", dir});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!QFile::exists(dir + "/UP.WAV")); // a voice without notes leaves no file, not an older one
        QByteArray c4(92, char(0xFF));
        c4.append(QByteArray(92, 0));
        QCOMPARE(readFile(dir + "/DOWN.WAV"), wav::fileBytes(c4.repeated(66) + QByteArray(930 + 10100, 0)));
    }

    void unwritableOutput()
    {
        const Run run = cli({"wav", "-o", m_home->home() + "/no/dir/x.wav", "1"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(msg::SettingsWrite105));
    }

    // The same packets as the brightness and alarm sound windows, as sounds.
    void brightnessAndAlarmSounds_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Packet>("packet");
        QTest::newRow("brightness 50") << QStringList{"brightness", "50"} << Packet{6, 128};
        QTest::newRow("brightness 0") << QStringList{"brightness", "0"} << Packet{6, 0};
        QTest::newRow("brightness 100") << QStringList{"brightness", "100"} << Packet{6, 255};
        QTest::newRow("brightness 10") << QStringList{"brightness", "10"} << Packet{6, 26};
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("alarm %d", k) << QStringList{"alarm", QString::number(k)} << packet::alarmSound(k);
    }
    void brightnessAndAlarmSounds()
    {
        QFETCH(QStringList, args);
        QFETCH(Packet, packet);
        const QString out = m_home->home() + "/tool.wav";
        const Run run = cli(args + QStringList{"-o", out, "--mode", "1"});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile(out), wav::fileBytes(tone::transferSound(packet, [] { return 1; })));
    }

    // "-o -" gives a script the sound on standard output.
    void soundToStandardOutput()
    {
        QProcess process;
        process.start(test::binDir() + "/kr31-cli", {"brightness", "50", "-o", "-", "--mode", "1"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), wav::fileBytes(tone::transferSound({6, 128}, [] { return 1; })));
    }

    // Sent for real through an ALSA device that writes what it plays into a file.
    void sendsThroughTheSoundOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Packet>("packet");
        QTest::newRow("brightness") << QStringList{"brightness", "70", "--mode", "2"} << packet::brightness(70);
        QTest::newRow("alarm") << QStringList{"alarm", "4", "--mode", "3"} << packet::alarmSound(4);
        QTest::newRow("play") << QStringList{"play", data("program.kr3"), "--mode", "0"}
                              << *packet::ledProgram({"16", "18,50", "21,64800", "22,0,3"});
    }
    void sendsThroughTheSoundOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(Packet, packet);
        const QString played = m_home->home() + "/played.raw";
        QFile::remove(played);
        useFileSoundDevice(played);
        const Run run = cli(args);
        QCOMPARE(run.err, QString()); // not a terminal: no progress bar
        QCOMPARE(run.exitCode, 0);
        const int mode = args.last().toInt();
        const QByteArray samples = tone::transferSound(packet, [=] { return mode; });
        QCOMPARE(readFile(played), samples);
        QCOMPARE(m_home->readWorkFile("Creat.WAV"), wav::fileBytes(samples));
    }

    // On a terminal the transfer draws a bar that ends full with no seconds left.
    void progressOnATerminalOnly()
    {
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty())
            QSKIP("script (util-linux) is not installed");
        useFileSoundDevice(m_home->home() + "/played.raw");
        const QString command = QStringLiteral("'%1' play '%2'").arg(test::binDir() + "/kr31-cli", data("program.kr3"));
        const Run onTerminal = run(script, {"-qec", command, "/dev/null"});
        QCOMPARE(onTerminal.exitCode, 0);
        QVERIFY2(onTerminal.out.contains(u'\r' + SendProgress::line(0, 1000).left(4)), qPrintable(onTerminal.out));
        QVERIFY2(onTerminal.out.contains(QStringLiteral("] 残り 0 秒")), qPrintable(onTerminal.out));
        QVERIFY(onTerminal.out.contains(QString(30, u'#')));

        const Run piped = cli({"play", data("program.kr3")});
        QCOMPARE(piped.exitCode, 0);
        QCOMPARE(piped.err, QString());
    }

    // A sound that cannot be played: the bar stops where it was and the message starts its own line.
    void progressBarEndsBeforeAFailure()
    {
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty())
            QSKIP("script (util-linux) is not installed");
        useSoundConfig("pcm.!default { type hw card 99 }\n");
        const QString command = QStringLiteral("'%1' brightness 50").arg(test::binDir() + "/kr31-cli");
        const Run onTerminal = run(script, {"-qec", command, "/dev/null"});
        QCOMPARE(onTerminal.exitCode, 1);
        QVERIFY2(onTerminal.out.contains(QStringLiteral("秒\r\n") + msg::CannotPlay), qPrintable(onTerminal.out));
        QVERIFY(!onTerminal.out.contains(QStringLiteral("残り 0 秒")));
    }

    void progressLine_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("filled");
        QTest::addColumn<int>("secondsLeft");
        QTest::newRow("start") << 0 << 1540 << 0 << 2;
        QTest::newRow("after the wait") << 500 << 1540 << 9 << 2;
        QTest::newRow("last part second") << 1539 << 1540 << 29 << 1;
        QTest::newRow("end") << 1540 << 1540 << 30 << 0;
        QTest::newRow("past the end") << 2000 << 1540 << 30 << 0;
        QTest::newRow("empty sequence") << 0 << 0 << 0 << 1;
    }
    void progressLine()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(int, filled);
        QFETCH(int, secondsLeft);
        QCOMPARE(SendProgress::line(done, total), QStringLiteral("送信中 [%1%2] 残り %3 秒")
                                                      .arg(QString(filled, u'#'), QString(30 - filled, u'-'))
                                                      .arg(secondsLeft));
    }

    // --help and --version answer on stdout with 0; a mistake in the call gets
    // the usage on stderr and 2; both programs alike.
    void exitCodesAndStreams_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString version = QStringLiteral(KR31_VERSION);
        for (const char *program : {"kr31-cli", "kr31"}) {
            const QString p = QString::fromLatin1(program);
            QTest::addRow("%s --help", program) << p << QStringList{"--help"} << 0 << "使い方: " + p << QString();
            QTest::addRow("%s -h", program) << p << QStringList{"-h"} << 0 << "使い方: " + p << QString();
            QTest::addRow("%s --version", program) << p << QStringList{"--version"} << 0
                                                   << p + " " + version + "\n" << QString();
            QTest::addRow("%s unknown option", program) << p << QStringList{"--frob"} << 2 << QString()
                                                        << "--frob";
        }
        QTest::newRow("kr31 two files") << "kr31" << QStringList{"a.kr3", "b.kr3"} << 2 << QString() << "1つ";
        QTest::newRow("no command") << "kr31-cli" << QStringList{} << 2 << QString() << "使い方: kr31-cli";
        QTest::newRow("unknown command") << "kr31-cli" << QStringList{"frobnicate"} << 2 << QString()
                                         << "frobnicate";
        QTest::newRow("missing file argument") << "kr31-cli" << QStringList{"packet"} << 2 << QString()
                                               << "kr31-cli packet FILE.kr3";
        QTest::newRow("too many arguments") << "kr31-cli" << QStringList{"brightness", "1", "2"} << 2 << QString()
                                            << "brightness";
        QTest::newRow("missing -o") << "kr31-cli" << QStringList{"wav", "4"} << 2 << QString() << "-o";
        QTest::newRow("preview without -o") << "kr31-cli" << QStringList{"preview", data("tune.kr3")} << 2 << QString()
                                            << "-o";
        QTest::newRow("option without value") << "kr31-cli" << QStringList{"wav", "4", "--mode"} << 2 << QString()
                                              << "--mode の後に値がありません";
        QTest::newRow("refused file") << "kr31-cli" << QStringList{"packet", data("nope.kr3")} << 1 << QString()
                                      << msg::CannotOpen111;
    }
    void exitCodesAndStreams()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run r = run(test::binDir() + "/" + program, args);
        QCOMPARE(r.exitCode, exitCode);
        if (out.isEmpty())
            QCOMPARE(r.out, QString());
        else
            QVERIFY2(r.out.startsWith(out), qPrintable(r.out));
        if (err.isEmpty()) {
            QCOMPARE(r.err, QString());
        } else {
            QVERIFY2(r.err.contains(err), qPrintable(r.err));
            QCOMPARE(r.err.contains(QStringLiteral("使い方: ")), exitCode == 2);
        }
    }

    // Every command of the table is in --help and in the manual page.
    void everyCommandDocumented()
    {
        const QStringList names = cliCommandNames();
        QVERIFY(names.size() >= 8);
        const QString help = cli({"--help"}).out;
        QCOMPARE(help, cliUsage());
        QFile page(qEnvironmentVariable("KR31_MAN_DIR") + "/kr31-cli.1");
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
        const QString manual = QString::fromUtf8(page.readAll());
        for (const QString &name : names) {
            QVERIFY2(help.contains("  kr31-cli " + name + " "), qPrintable(name));
            // a tagged paragraph that starts with the command in bold
            const QRegularExpression entry("^\\.TP\n(\\.BI? \"|\\\\fB)" + name + "[ \\\\\"]",
                                           QRegularExpression::MultilineOption);
            QVERIFY2(manual.contains(entry), qPrintable(name));
        }
        for (const char *option : {"\\-\\-mode", "\\-\\-output", "\\-\\-impressions", "\\-\\-version"})
            QVERIFY2(manual.contains(QLatin1String(option)), option);
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

    // A sound file says (105), which file and why; OUT is the output, FILE the file that failed.
    void fullDiskKeepsTheOldOutput_data()
    {
        const QString sound = msg::soundNotWritten("FILE", "ディスクの空きが足りません。");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("wav") << QStringList{"wav", "-o", "OUT", "1", "2", "3"} << "out" << sound;
        QTest::newRow("sound") << QStringList{"sound", data("program.kr3"), "-o", "OUT"} << "out" << sound;
        QTest::newRow("preview") << QStringList{"preview", data("melody_down.kr3"), "-o", "OUT"} << "out/DOWN.WAV"
                                 << sound;
        QTest::newRow("report")
            << QStringList{"report", data("icon_dd.kr3"), "--grade", "3", "--class", "2", "--name", "A", "-o", "OUT"}
            << "out" << msg::ReportNotWritten;
    }
    void fullDiskKeepsTheOldOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, file);
        QFETCH(QString, message);
        test::TinyDisk disk;
        if (!disk.available())
            QSKIP(disk.whyNot());
        const QByteArray old = "old bytes";
        if (file.contains('/'))
            QVERIFY(QDir().mkpath(disk.path("out")));
        disk.put(file, old);
        disk.fill();
        args.replaceInStrings(QRegularExpression("^OUT$"), disk.path("out"));
        const Run run = cli(args);
        QCOMPARE(run.exitCode, 1);
        message.replace("FILE", disk.path(file));
        QVERIFY2(run.err.startsWith(message) && run.err.contains("ディスクの空きが足りません"), qPrintable(run.err));
        QCOMPARE(readFile(disk.path(file)), old);
    }

    void stalledSoundDeviceEndsThePlay()
    {
        // The default device writes into a pipe that nobody reads: it opens but
        // never takes data, which is told after 2 s, long before the deadline.
        const QString fifo = m_home->home() + "/stalled.fifo";
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        useFileSoundDevice(fifo);
        QElapsedTimer clock;
        clock.start();
        const Run run = cli({"play", data("program.kr3")});
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(msg::cannotPlay(msg::SoundStalled)), qPrintable(run.err));
        qInfo("stalled device told after %lld ms", elapsed);
        QVERIFY2(elapsed < msg::StallMs + 2500, qPrintable(QString::number(elapsed)));
    }

    // A send that waits for another's turn has not touched the mixer yet (no
    // state file) and, ended by SIGTERM, ends by the signal.
    void signalWhileWaitingForTheTurn()
    {
        const QString runtime = m_home->home() + "/run";
        QVERIFY(QDir().mkpath(runtime));
        const int held = ::open(QFile::encodeName(runtime + "/kr31-sound.lock").constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        useFileSoundDevice(m_home->home() + "/played.raw");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime)); // later runs take turns here too
        QProcess process;
        process.setReadChannel(QProcess::StandardError);
        process.start(test::binDir() + "/kr31-cli", {"brightness", "50"});
        QByteArray err;
        while (!err.endsWith('\n') && process.waitForReadyRead(10000))
            err += process.readAllStandardError();
        QCOMPARE(QString::fromUtf8(err), msg::WaitingForTurn + "\n");
        const QString state = m_home->home() + "/.local/state/kr31/mixer-state";
        QVERIFY(!QFile::exists(state));
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
        ::close(held);
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), SIGTERM);
        QVERIFY(!QFile::exists(state));
    }

private:
    // An ALSA "default" device that writes what it plays into the file played.
    void useFileSoundDevice(const QString &played)
    {
        useSoundConfig("pcm.!default {\n type file\n slave.pcm { type null }\n file \"" + QFile::encodeName(played) +
                       "\"\n format \"raw\"\n}\n");
    }
    void useSoundConfig(const QByteArray &text)
    {
        const QString config = m_home->home() + "/asound.conf";
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(config));
    }

    std::unique_ptr<test::TempHome> m_home;
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_Cli.moc"
