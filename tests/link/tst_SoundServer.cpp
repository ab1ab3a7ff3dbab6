// kr31-cli against a real sound server of the test's own: what reaches the
// server's outputs, sample by sample, and the user's mixer afterwards.
#include "link/PulseSoundOutput.h"
#include "link/WavFile.h"
#include "support/PrivateSoundServer.h"
#include "support/TestPaths.h"
#include "link/ThreadedSoundOutput.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using namespace kr31;
using namespace kr31::test;

namespace {

const QString P48 = QStringLiteral("p48");
const QString P44 = QStringLiteral("p44");
constexpr char Silence = char(128);
constexpr int OneSecond = 48000;

QString data(const QString &name)
{
    return testData(QStringLiteral("cli/")) + name;
}

std::unique_ptr<QProcess> startCli(const PrivateSoundServer &server, const QStringList &args)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(server.environment());
    process->start(binDir() + QStringLiteral("/kr31-cli"), args);
    process->waitForStarted(5000);
    return process;
}

struct Ended
{
    int exitCode = -1;
    int signal = 0; // the signal that ended it, 0 when it exited
    QString err;
};

Ended finish(QProcess &process, int timeoutMs = 20000)
{
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, 0, QStringLiteral("did not end within %1 ms").arg(timeoutMs)};
    }
    // Qt gives the signal's number as the exit code of a process it ended.
    const bool signalled = process.exitStatus() == QProcess::CrashExit;
    return {signalled ? -1 : process.exitCode(), signalled ? process.exitCode() : 0,
            QString::fromUtf8(process.readAllStandardError())};
}

Ended play(const PrivateSoundServer &server, const QString &file, int mode)
{
    return finish(*startCli(server, {"play", data(file), "--mode", QString::number(mode)}));
}

// The samples `kr31-cli sound` writes for the file: what play must send.
QByteArray soundOf(const QString &file, int mode)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("x.wav"));
    QProcess process;
    process.start(binDir() + QStringLiteral("/kr31-cli"),
                  {"sound", data(file), "-o", wav, "--mode", QString::number(mode)});
    process.waitForFinished(20000);
    QFile in(wav);
    return in.open(QIODevice::ReadOnly) ? in.readAll().mid(44) : QByteArray();
}

// What arrived without the silence the output adds before and after it, cut
// at each stretch of silence (a transfer sound has none inside).
QList<QByteArray> soundsIn(const QByteArray &arrived)
{
    QList<QByteArray> sounds;
    for (qsizetype i = 0; i < arrived.size();) {
        if (arrived.at(i) == Silence) {
            ++i;
            continue;
        }
        const qsizetype end = arrived.indexOf(Silence, i);
        sounds.append(arrived.mid(i, end < 0 ? -1 : end - i));
        i = end < 0 ? arrived.size() : end;
    }
    return sounds;
}

// Empty when what arrived is exactly sent, else where it differs.
QString difference(const QByteArray &arrived, const QByteArray &sent)
{
    if (sent.isEmpty())
        return QStringLiteral("nothing to compare with");
    const QList<QByteArray> sounds = soundsIn(arrived);
    if (sounds.size() != 1)
        return QStringLiteral("%1 sounds arrived, not one").arg(sounds.size());
    const QByteArray &got = sounds.first();
    qsizetype i = 0;
    while (i < got.size() && i < sent.size() && got.at(i) == sent.at(i))
        ++i;
    if (i == got.size() && i == sent.size())
        return {};
    return QStringLiteral("%1 samples arrived, %2 sent; the first difference at %3 (%4 instead of %5)")
        .arg(got.size())
        .arg(sent.size())
        .arg(i)
        .arg(i < got.size() ? int(uchar(got.at(i))) : -1)
        .arg(i < sent.size() ? int(uchar(sent.at(i))) : -1);
}

bool hasJapanese(const QString &text)
{
    static const QRegularExpression japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
    return text.contains(japanese);
}

} // namespace

class TestSoundServer : public QObject
{
    Q_OBJECT
    std::unique_ptr<PrivateSoundServer> m_server;

    PrivateSoundServer &server() { return *m_server; }

    // The user's mixer as the row gives it.
    void userSets(const SinkState &state)
    {
        QVERIFY(server().setSinkState(P48, state));
        QCOMPARE(server().sinkState(P48), state);
    }

    // Starts the melody transfer (about 4.4 s in mode 0).
    std::unique_ptr<QProcess> startMelody() { return startCli(server(), {"play", data("tune.kr3"), "--mode", "0"}); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!soundOf(QStringLiteral("program.kr3"), 0).isEmpty(),
                 "kr31-cli or the test files not found: set KR31_BIN_DIR and KR31_TEST_DATA");
        m_server = std::make_unique<PrivateSoundServer>();
        KR31_START_SOUND_SERVER(server());
    }

    void init()
    {
        QVERIFY(server().setDefaultSink(P48));
        QVERIFY(server().setSinkState(P48, {100, false}));
        QVERIFY(server().setSinkState(P44, {100, false}));
        server().freshClientHome();
        server().clear(P48);
        server().clear(P44);
    }

    // The server itself: a known sound played by its own tools arrives as
    // sent, and a remembered stream volume really changes it (so that the
    // program's cases below can fail).
    void serverDeliversWhatIsPlayed_data()
    {
        QTest::addColumn<int>("rememberedVolume");
        QTest::addColumn<bool>("exact");
        QTest::newRow("as sent") << 100 << true;
        QTest::newRow("remembered at 30 %") << 30 << false;
    }
    void serverDeliversWhatIsPlayed()
    {
        QFETCH(int, rememberedVolume);
        QFETCH(bool, exact);
        const QString name = QStringLiteral("kr31-check-%1").arg(rememberedVolume);
        QVERIFY(server().rememberStreamVolume(name, rememberedVolume));
        server().clear(P48);
        const QByteArray sent = soundOf(QStringLiteral("program.kr3"), 0);
        QProcess player;
        player.setProcessEnvironment(server().environment());
        player.start(QStringLiteral("pacat"),
                     {"--playback", "--client-name=" + name, "--format=u8", "--channels=1", "--rate=48000"});
        player.write(sent);
        player.closeWriteChannel();
        QVERIFY(player.waitForFinished(10000));
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        QCOMPARE(difference(server().received(P48), sent).isEmpty(), exact);
        QCOMPARE(server().unequalFrames(P48), 0);
    }

    // Sent at 48 kHz exactly, whatever the user's speakers were set to, and
    // the user's setting back afterwards.
    void exactAt48kHz_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<SinkState>("user");
        QTest::newRow("mode 0, 40 %") << "program.kr3" << 0 << SinkState{40, false};
        QTest::newRow("mode 2, 40 %") << "program.kr3" << 2 << SinkState{40, false};
        QTest::newRow("mode 0, 150 %") << "lite.kr3" << 0 << SinkState{150, false};
        QTest::newRow("mode 0, muted at 40 %") << "program.kr3" << 0 << SinkState{40, true};
    }
    void exactAt48kHz()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(SinkState, user);
        userSets(user);
        const Ended run = play(server(), file, mode);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        const QString difference = ::difference(server().received(P48), soundOf(file, mode));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(server().unequalFrames(P48), 0);
        QCOMPARE(server().sinkState(P48), user);
    }

    // The user turned the program's own stream down once (the server
    // remembers it for the program's later streams); a transfer still plays
    // at full level.
    void rememberedStreamVolume()
    {
        PrivateSoundServer own; // a server that forgets it after this case
        KR31_START_SOUND_SERVER(own);
        auto first = startCli(own, {"play", data("program.kr3"), "--mode", "0"});
        QVERIFY(own.waitForSound(P48, 100, 15000));
        const QList<ServerStream> streams = own.streams();
        QVERIFY(!streams.isEmpty());
        for (const ServerStream &stream : streams)
            QVERIFY(own.setStreamVolume(stream.index, 30));
        finish(*first);
        QVERIFY(own.waitForQuiet(P48, 200, 5000));
        own.clear(P48);

        auto cli = startCli(own, {"play", data("program.kr3"), "--mode", "0"});
        QVERIFY(own.waitForSound(P48, 100, 15000));
        QString levels; // what the server applied, for the message
        for (const ServerStream &stream : own.streams())
            levels += QStringLiteral(" %1 at %2 %").arg(stream.application).arg(stream.volume);
        const Ended run = finish(*cli);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(own.waitForQuiet(P48, 200, 5000));
        const QString difference = ::difference(own.received(P48), soundOf(QStringLiteral("program.kr3"), 0));
        QVERIFY2(difference.isEmpty(), qPrintable(difference + QStringLiteral("; streams:") + levels));
        // What the server remembers for the program is full level again.
        QCOMPARE(own.rememberedVolume(QStringLiteral("kr31")), 100);
    }

    // An output at 44.1 kHz: the modes that need an exact rate are refused
    // before anything sounds; mode 0 goes out with a warning.
    void outputAt44kHz_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("sent");
        QTest::newRow("mode 2 refused") << 2 << 1 << false;
        QTest::newRow("mode 0 with a warning") << 0 << 0 << true;
    }
    void outputAt44kHz()
    {
        QFETCH(int, mode);
        QFETCH(int, exitCode);
        QFETCH(bool, sent);
        QVERIFY(server().setDefaultSink(P44));
        server().clear(P44);
        const Ended run = play(server(), QStringLiteral("program.kr3"), mode);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(hasJapanese(run.err), qPrintable(QStringLiteral("stderr: ") + run.err));
        if (sent) {
            QVERIFY(server().waitForSound(P44, 1000, 5000));
        } else {
            QTest::qWait(300);
            QCOMPARE(server().received(P44).count(Silence), server().received(P44).size());
        }
        QCOMPARE(soundsIn(server().received(P48)).size(), 0);
    }

    // Ended by a signal in the middle of a transfer: it ends by that signal
    // (as a shell expects) and the user's speakers are as they were.
    void signalDuringTransfer_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<SinkState>("user");
        QTest::newRow("SIGINT") << SIGINT << SinkState{40, false};
        QTest::newRow("SIGTERM, muted") << SIGTERM << SinkState{40, true};
        QTest::newRow("SIGHUP, 150 %") << SIGHUP << SinkState{150, false};
    }
    void signalDuringTransfer()
    {
        QFETCH(int, signal);
        QFETCH(SinkState, user);
        userSets(user);
        auto cli = startMelody();
        QVERIFY(server().waitForSound(P48, OneSecond, 15000));
        QCOMPARE(cli->state(), QProcess::Running);
        ::kill(pid_t(cli->processId()), signal);
        const Ended run = finish(*cli, 5000);
        QCOMPARE(run.signal, signal);
        QCOMPARE(server().sinkState(P48), user);
    }

    // The server stops the transfer half-way: reported, not passed off as sent.
    void serverStopsTheTransfer_data()
    {
        QTest::addColumn<QStringList>("stop");
        QTest::newRow("output suspended") << QStringList{"suspend-sink", P48, "1"};
        QTest::newRow("output removed") << QStringList{"unload-module", "module-pipe-sink"};
    }
    void serverStopsTheTransfer()
    {
        QFETCH(QStringList, stop);
        PrivateSoundServer own; // one that the row may break
        KR31_START_SOUND_SERVER(own);
        auto cli = startCli(own, {"play", data("tune.kr3"), "--mode", "0"});
        QVERIFY(own.waitForSound(P48, OneSecond, 15000));
        bool ok = false;
        own.pactl(stop, &ok);
        QVERIFY(ok);
        const Ended run = finish(*cli, 10000);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(hasJapanese(run.err), qPrintable(run.err));
    }

    // Killed outright, it cannot put anything back: its next run does.
    void killedThenNextRun()
    {
        const SinkState user{40, false};
        userSets(user);
        auto cli = startMelody();
        QVERIFY(server().waitForSound(P48, OneSecond, 15000));
        ::kill(pid_t(cli->processId()), SIGKILL);
        QCOMPARE(finish(*cli, 5000).signal, SIGKILL);
        const Ended next = play(server(), QStringLiteral("program.kr3"), 0);
        QCOMPARE(next.exitCode, 0);
        QCOMPARE(server().sinkState(P48), user);
    }

    // Two transfers at once from two processes: both are sent, one after the
    // other, each exactly (the lamp cannot hear two at once).
    void twoAtOnce()
    {
        const QString a = QStringLiteral("program.kr3"), b = QStringLiteral("lite.kr3");
        auto first = startCli(server(), {"play", data(a), "--mode", "0"});
        auto second = startCli(server(), {"play", data(b), "--mode", "0"});
        const Ended runA = finish(*first), runB = finish(*second);
        QCOMPARE(runA.exitCode, 0);
        QCOMPARE(runB.exitCode, 0);
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        const QList<QByteArray> sounds = soundsIn(server().received(P48));
        const QList<QByteArray> ab{soundOf(a, 0), soundOf(b, 0)};
        const QList<QByteArray> ba{ab.at(1), ab.at(0)};
        QString arrived; // each sound named as what was sent, or by its size
        for (const QByteArray &s : sounds)
            arrived += s == ab.at(0)   ? QStringLiteral(" first")
                       : s == ab.at(1) ? QStringLiteral(" second")
                                       : QStringLiteral(" other(%1)").arg(s.size());
        QVERIFY2(sounds == ab || sounds == ba, qPrintable(QStringLiteral("arrived:") + arrived));
    }

    // In one process, a transfer while the melody preview plays: the preview
    // stops, and the transfer arrives alone and exact.
    void transferDuringThePreview()
    {
        qputenv("PULSE_SERVER", server().environment().value("PULSE_SERVER").toLocal8Bit());
        PulseSoundOutput pulse;
        ThreadedSoundOutput sound(pulse);
        QTemporaryDir dir;
        QByteArray tune(3 * 48000, '\0'); // 3 s of a soft square wave
        for (qsizetype i = 0; i < tune.size(); ++i)
            tune[i] = char((i / 55) % 2 ? 96 : 160);
        const QByteArray sent = soundOf(QStringLiteral("program.kr3"), 0);
        QVERIFY(wav::write(dir.filePath("UP.WAV"), tune) && wav::write(dir.filePath("Creat.WAV"), sent));
        bool previewEnded = false;
        QVERIFY(sound.playInBackground(dir.filePath("UP.WAV"), [&](bool, const QString &) { previewEnded = true; }));
        QVERIFY(server().waitForSound(P48, 4800, 5000));
        QString error, warning;
        QVERIFY2(sound.playTransfer(dir.filePath("Creat.WAV"), 0, &error, &warning), qPrintable(error));
        QVERIFY(previewEnded);
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        // The start of the tune, then the transfer, which may follow at once.
        QByteArray arrived = soundsIn(server().received(P48)).join();
        QVERIFY(arrived.endsWith(sent));
        arrived.chop(sent.size());
        QVERIFY(!arrived.isEmpty() && arrived.size() < tune.size() / 2);
        QVERIFY(tune.startsWith(arrived.left(55)));
    }

    // The same transfer through PipeWire's PulseAudio layer.
    void exactThroughPipeWire()
    {
        if (const QString why = PrivateSoundServer::missing(PrivateSoundServer::Kind::PipeWire); !why.isEmpty())
            QSKIP(qPrintable(why));
        PrivateSoundServer pipewire(PrivateSoundServer::Kind::PipeWire);
        QVERIFY2(pipewire.start(), qPrintable(pipewire.why()));
        QVERIFY(pipewire.setSinkState(P48, {40, false}));
        const Ended run = play(pipewire, QStringLiteral("program.kr3"), 0);
        QCOMPARE(run.exitCode, 0);
        QVERIFY(pipewire.waitForQuiet(P48, 200, 5000));
        QByteArray arrived = pipewire.received(P48);
        const QByteArray sent = soundOf(QStringLiteral("program.kr3"), 0);
        // PipeWire ends the stream with zero bytes up to the end of the next
        // period of 1024 frames (here 1452 of them): for 8-bit samples that is
        // the lowest level, no edge the lamp hears after a sound that ends low,
        // as a transfer sound does.
        QCOMPARE(sent.back(), char(0));
        if (const qsizetype at = arrived.indexOf(sent); at >= 0) {
            const qsizetype end = at + sent.size();
            for (qsizetype i = end; i < arrived.size() && i < end + 2048 && arrived.at(i) == 0; ++i)
                arrived[i] = Silence;
        }
        const QString difference = ::difference(arrived, sent);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(pipewire.sinkState(P48), (SinkState{40, false}));
    }
};

QTEST_GUILESS_MAIN(TestSoundServer)
#include "tst_SoundServer.moc"
