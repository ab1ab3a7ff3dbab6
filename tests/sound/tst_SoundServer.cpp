// kr31-cli against a real sound server of the test's own: what reaches the
// server's outputs, sample by sample, and the user's mixer afterwards.
#include "sound/PulseSoundOutput.h"
#include "sound/ThreadedSoundOutput.h"
#include "link/WavFile.h"
#include "support/PrivateSoundServer.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>

using namespace kr31;
using namespace kr31::test;

namespace {

const QString P48 = QStringLiteral("p48");
const QString P44 = QStringLiteral("p44");
const QString Program = QStringLiteral("program.kr3");
constexpr char Silence = char(128);
constexpr int OneSecond = 48000;
const QRegularExpression Japanese(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));

// Starts `kr31-cli play` of the file against the server (tune.kr3 takes about 4.4 s in mode 0).
std::unique_ptr<QProcess> startPlay(const PrivateSoundServer &server, const QString &file, int mode = 0)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(server.environment());
    process->start(binDir() + QStringLiteral("/kr31-cli"),
                   {"play", testData("cli/") + file, "--mode", QString::number(mode)});
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

// The samples `kr31-cli sound` writes for the file: what play must send.
QByteArray soundOf(const QString &file, int mode)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("x.wav"));
    QProcess process;
    process.start(binDir() + "/kr31-cli",
                  {"sound", testData("cli/") + file, "-o", wav, "--mode", QString::number(mode)});
    process.waitForFinished(20000);
    QFile in(wav);
    return in.open(QIODevice::ReadOnly) ? in.readAll().mid(44) : QByteArray();
}

// What arrived without the silence the output adds before and after it, cut at each stretch of silence (a transfer
// sound has none inside).
QList<QByteArray> soundsIn(const QByteArray &arrived)
{
    QList<QByteArray> sounds = arrived.split(Silence);
    sounds.removeAll(QByteArray());
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
    const qsizetype i = std::mismatch(got.begin(), got.end(), sent.begin(), sent.end()).first - got.begin();
    if (got == sent)
        return {};
    const auto at = [i](const QByteArray &bytes) {
        return QString::number(i < bytes.size() ? uchar(bytes.at(i)) : -1);
    };
    return QStringLiteral("%1 samples arrived, %2 sent; the first difference at %3 (%4 instead of %5)")
        .arg(QString::number(got.size()), QString::number(sent.size()), QString::number(i), at(got), at(sent));
}

} // namespace

class TestSoundServer : public QObject
{
    Q_OBJECT
    PrivateSoundServer m_server;

    PrivateSoundServer &server() { return m_server; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!soundOf(Program, 0).isEmpty(),
                 "kr31-cli or the test files not found: set KR31_BIN_DIR and KR31_TEST_DATA");
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

    // The server itself: a known sound played by its own tools arrives as sent, and a remembered stream volume really
    // changes it (so that the program's cases below can fail).
    void serverDeliversWhatIsPlayed_data()
    {
        QTest::addColumn<int>("rememberedVolume"); // exact only at 100 %
        QTest::newRow("as sent") << 100;
        QTest::newRow("remembered at 30 %") << 30;
    }
    void serverDeliversWhatIsPlayed()
    {
        QFETCH(int, rememberedVolume);
        const QString name = QStringLiteral("kr31-check-%1").arg(rememberedVolume);
        QCOMPARE(server().playSilence(name, rememberedVolume), rememberedVolume);
        server().clear(P48);
        const QByteArray sent = soundOf(Program, 0);
        QProcess player;
        server().startPlayer(player, name);
        player.write(sent);
        player.closeWriteChannel();
        QVERIFY(player.waitForFinished(10000));
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        qint64 unequal = 0;
        QCOMPARE(difference(server().received(P48, &unequal), sent).isEmpty(), rememberedVolume == 100);
        QCOMPARE(unequal, 0);
    }

    // Sent at 48 kHz exactly, whatever the user's speakers were set to, and the user's setting back
    // afterwards; also through PipeWire's PulseAudio layer.
    void exactAt48kHz_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("mode");
        QTest::addColumn<SinkState>("user");
        QTest::addColumn<bool>("pipewire");
        QTest::newRow("mode 0, 40 %") << Program << 0 << SinkState{40, false} << false;
        QTest::newRow("mode 2, 40 %") << Program << 2 << SinkState{40, false} << false;
        QTest::newRow("mode 0, 150 %") << "lite.kr3" << 0 << SinkState{150, false} << false;
        QTest::newRow("mode 0, muted at 40 %") << Program << 0 << SinkState{40, true} << false;
        QTest::newRow("through PipeWire, mode 0, 40 %") << Program << 0 << SinkState{40, false} << true;
    }
    void exactAt48kHz()
    {
        QFETCH(QString, file);
        QFETCH(int, mode);
        QFETCH(SinkState, user);
        QFETCH(bool, pipewire);
        std::optional<PrivateSoundServer> own;
        if (pipewire) {
            own.emplace(PrivateSoundServer::Kind::PipeWire);
            KR31_START_SOUND_SERVER(*own);
        }
        PrivateSoundServer &server = own ? *own : this->server();
        QVERIFY(server.setSinkState(P48, user));
        QCOMPARE(server.sinkState(P48), user);
        const Ended run = finish(*startPlay(server, file, mode));
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(server.waitForQuiet(P48, 200, 5000));
        qint64 unequal = 0;
        const QString difference = ::difference(server.received(P48, &unequal), soundOf(file, mode));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(unequal, 0);
        QCOMPARE(server.sinkState(P48), user);
    }

    // The user turned the program's own stream down once (the server remembers it for the program's later
    // streams); a transfer still plays at full level.
    void rememberedStreamVolume()
    {
        PrivateSoundServer own; // a server that forgets it after this case
        KR31_START_SOUND_SERVER(own);
        auto first = startPlay(own, Program);
        QVERIFY(own.waitForSound(P48, 100, 15000));
        const QList<ServerStream> streams = own.streams();
        QVERIFY(!streams.isEmpty());
        for (const ServerStream &stream : streams)
            QVERIFY(own.setStreamVolume(stream.index, 30));
        finish(*first);
        QVERIFY(own.waitForQuiet(P48, 200, 5000));
        own.clear(P48);
        auto cli = startPlay(own, Program);
        QVERIFY(own.waitForSound(P48, 100, 15000));
        QString levels; // what the server applied, for the message
        for (const ServerStream &stream : own.streams())
            levels += QStringLiteral(" %1 at %2 %").arg(stream.application).arg(stream.volume);
        QCOMPARE(finish(*cli).exitCode, 0);
        QVERIFY(own.waitForQuiet(P48, 200, 5000));
        const QString difference = ::difference(own.received(P48), soundOf(Program, 0));
        QVERIFY2(difference.isEmpty(), qPrintable(difference + QStringLiteral("; streams:") + levels));
        // What the server remembers for the program is full level again.
        QCOMPARE(own.playSilence(QStringLiteral("probe"), -1, {"--property=application.id=kr31"}), 100);
    }

    // An output at 44.1 kHz: the modes that need an exact rate are refused before anything sounds; mode 0 goes
    // out with a warning.
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
        const Ended run = finish(*startPlay(server(), Program, mode));
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(Japanese), qPrintable(QStringLiteral("stderr: ") + run.err));
        // Refused: not a sample other than silence within 300 ms.
        QCOMPARE(server().waitForSound(P44, sent ? 1000 : 1, sent ? 5000 : 300), sent);
        QCOMPARE(soundsIn(server().received(P48)).size(), 0);
    }

    // Ended by a signal in the middle of a transfer: it ends by that signal (as a shell expects) and the user's
    // speakers are as they were. Killed outright, it cannot put anything back: its next run does.
    void signalDuringTransfer_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<SinkState>("user");
        QTest::newRow("SIGINT") << SIGINT << SinkState{40, false};
        QTest::newRow("SIGTERM, muted") << SIGTERM << SinkState{40, true};
        QTest::newRow("SIGHUP, 150 %") << SIGHUP << SinkState{150, false};
        QTest::newRow("SIGKILL, then the next run") << SIGKILL << SinkState{40, false};
    }
    void signalDuringTransfer()
    {
        QFETCH(int, signal);
        QFETCH(SinkState, user);
        QVERIFY(server().setSinkState(P48, user));
        QCOMPARE(server().sinkState(P48), user);
        auto cli = startPlay(server(), QStringLiteral("tune.kr3"));
        QVERIFY(server().waitForSound(P48, OneSecond, 15000));
        QCOMPARE(cli->state(), QProcess::Running);
        ::kill(pid_t(cli->processId()), signal);
        QCOMPARE(finish(*cli, 5000).signal, signal);
        if (signal == SIGKILL)
            QCOMPARE(finish(*startPlay(server(), Program)).exitCode, 0);
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
        auto cli = startPlay(own, QStringLiteral("tune.kr3"));
        QVERIFY(own.waitForSound(P48, OneSecond, 15000));
        QVERIFY(own.pactl(stop));
        const Ended run = finish(*cli, 10000);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(Japanese), qPrintable(run.err));
    }

    // Two transfers at once from two processes: both are sent, one after the other, each exactly (the lamp
    // cannot hear two at once).
    void twoAtOnce()
    {
        const QString b = QStringLiteral("lite.kr3");
        auto first = startPlay(server(), Program), second = startPlay(server(), b);
        QCOMPARE(finish(*first).exitCode, 0);
        QCOMPARE(finish(*second).exitCode, 0);
        QVERIFY(server().waitForQuiet(P48, 200, 5000));
        const QList<QByteArray> sounds = soundsIn(server().received(P48));
        const QList<QByteArray> ab{soundOf(Program, 0), soundOf(b, 0)}, ba{ab.at(1), ab.at(0)};
        QString arrived; // each sound named as what was sent, or by its size
        for (const QByteArray &s : sounds)
            arrived += s == ab.at(0)   ? QStringLiteral(" first")
                       : s == ab.at(1) ? QStringLiteral(" second")
                                       : QStringLiteral(" other(%1)").arg(s.size());
        QVERIFY2(sounds == ab || sounds == ba, qPrintable(QStringLiteral("arrived:") + arrived));
    }

    // In one process, a transfer while the melody preview plays: the preview stops, and the transfer arrives
    // alone and exact.
    void transferDuringThePreview()
    {
        qputenv("PULSE_SERVER", server().environment().value("PULSE_SERVER").toLocal8Bit());
        PulseSoundOutput pulse;
        ThreadedSoundOutput sound(pulse);
        QTemporaryDir dir;
        QByteArray tune(3 * 48000, '\0'); // 3 s of a soft square wave
        for (qsizetype i = 0; i < tune.size(); ++i)
            tune[i] = char((i / 55) % 2 ? 96 : 160);
        const QByteArray sent = soundOf(Program, 0);
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
};

QTEST_GUILESS_MAIN(TestSoundServer)
#include "tst_SoundServer.moc"
