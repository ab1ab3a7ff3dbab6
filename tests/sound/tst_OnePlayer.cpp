// The one player and the send job: what starts while what plays.
#include "core/Settings.h"
#include "sound/SoundTurn.h"
#include "sound/ThreadedSoundOutput.h"
#include "link/ToneBurst.h"
#include "link/Transmitter.h"
#include "support/Fakes.h"
#include "support/TempHome.h"

#include <QMutex>
#include <QTest>

#include <atomic>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace kr31;
using namespace kr31::test;

namespace {

// A sound output whose "long" sounds play until stopped and whose transfer
// plays until the test lets it end. It logs every step from any thread and
// counts sounds that overlap.
class HeldOutput : public SoundOutput
{
public:
    void noteState() override { log("note"); }
    void prepare() override { log("prepare"); }
    void silence() override { log("silence"); }
    void restore(bool atExit) override { log(atExit ? "restore at exit" : "restore"); }
    bool play(const QString &path, QString *error) override
    {
        const QString name = QFileInfo(path).baseName();
        if (++m_playing > 1)
            ++overlaps;
        log("play " + name);
        if (name == "long")
            hold(m_stop);
        else if (name == "Creat")
            hold(m_release);
        if (!failWith.isEmpty() && error)
            *error = failWith;
        log("end " + name);
        --m_playing;
        return failWith.isEmpty();
    }
    void stopPlaying() override { m_stop = true; }

    void release() { m_release = true; }
    bool playing(const QString &name) const
    {
        const QMutexLocker lock(&m_mutex);
        return m_log.lastIndexOf("play " + name) > m_log.lastIndexOf("end " + name);
    }
    EventLog events() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_log;
    }

    std::atomic<int> overlaps{0};
    QString failWith;

private:
    void log(const QString &event)
    {
        const QMutexLocker lock(&m_mutex);
        m_log << event;
    }
    static void hold(std::atomic<bool> &until)
    {
        while (!until.exchange(false))
            QThread::msleep(1);
    }

    mutable QMutex m_mutex;
    EventLog m_log;
    std::atomic<int> m_playing{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_release{false};
};

struct Rig
{
    TempHome home;
    HeldOutput inner;
    ThreadedSoundOutput player{inner};
    EventLog log;
    FakeDialogs dialogs{&log};
    FakeClock clock{&log};
    Settings settings;
    Transmitter transmitter{dialogs, player, clock, settings};
    std::optional<bool> sent;

    Rig()
    {
        home.writeWorkFile("long.wav", QByteArray(44, 0));
        home.writeWorkFile("beep.wav", QByteArray(44 + 480, 0));
    }
    QString file(const QString &name) const { return home.workFolder() + name; }
    bool startSend()
    {
        return transmitter.sendShortCommand(1, [this](bool done) { sent = done; });
    }
    void playLong()
    {
        player.playInBackground(file("long.wav"), [this](bool played, const QString &) {
            log << (played ? "long: played" : "long: failed");
            player.silence();
        });
    }
};

} // namespace

class TestOnePlayer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Whatever a window tries while a transfer plays (the lamp's beep, the
    // preview, a note, its mixer steps, a second Send) neither sounds nor
    // touches the mixer; the transfer goes out alone and whole.
    void nothingPlaysIntoATransfer_data()
    {
        QTest::addColumn<QString>("intruder");
        QTest::newRow("lamp beep") << "background";
        QTest::newRow("a note") << "play";
        QTest::newRow("lamp's mixer steps") << "mixer";
        QTest::newRow("a second Send") << "send";
    }
    void nothingPlaysIntoATransfer()
    {
        QFETCH(QString, intruder);
        Rig rig;
        QVERIFY(rig.startSend());
        QTRY_VERIFY(rig.inner.playing("Creat"));
        QVERIFY(rig.transmitter.sending());
        QString error;
        if (intruder == "background")
            QVERIFY(!rig.player.playInBackground(rig.file("beep.wav"), [](bool, const QString &) {}));
        else if (intruder == "play")
            QVERIFY(!rig.player.play(rig.file("beep.wav"), &error));
        else if (intruder == "mixer")
            rig.player.restore(false), rig.player.silence();
        else
            QVERIFY(!rig.transmitter.sendShortCommand(2));
        rig.inner.release();
        QTRY_VERIFY(rig.sent.has_value());
        QVERIFY(*rig.sent);
        QCOMPARE(rig.inner.events(), (EventLog{"prepare", "play Creat", "end Creat", "silence"}));
        QCOMPARE(rig.inner.overlaps.load(), 0);
    }

    // The other order: a long background sound (the preview, the lamp's
    // melody) is ended by whatever comes next, and its end never mutes the
    // speakers that the next sound has set.
    void backgroundSoundGivesWay_data()
    {
        QTest::addColumn<QString>("next");
        QTest::addColumn<EventLog>("expected");
        const EventLog ended{"play long", "end long"};
        QTest::newRow("a Send") << "send"
                                << (EventLog(ended) << "prepare"
                                                    << "play Creat"
                                                    << "end Creat"
                                                    << "silence");
        QTest::newRow("a note") << "play"
                                << (EventLog(ended) << "play beep"
                                                    << "end beep");
        QTest::newRow("another background sound") << "background" << (EventLog(ended) << ended << "silence");
        QTest::newRow("its window's stop") << "stop" << (EventLog(ended) << "silence");
    }
    void backgroundSoundGivesWay()
    {
        QFETCH(QString, next);
        QFETCH(EventLog, expected);
        Rig rig;
        rig.playLong();
        QTRY_VERIFY(rig.inner.playing("long"));
        QString error;
        if (next == "send") {
            QVERIFY(rig.startSend());
            QTRY_VERIFY(rig.inner.playing("Creat"));
            rig.inner.release();
            QTRY_VERIFY(rig.sent.has_value());
        } else if (next == "play") {
            QVERIFY(rig.player.play(rig.file("beep.wav"), &error));
        } else if (next == "background") {
            rig.playLong();
        }
        rig.player.stopBackground();
        QCOMPARE(rig.inner.events(), expected);
        QCOMPARE(rig.inner.overlaps.load(), 0);
    }

    // The transfer's result and warning reach the job, the progress ends at
    // the whole length only when the sound played, and the dialog is closed
    // before the message.
    void transferOutcomeAndProgress_data()
    {
        QTest::addColumn<QString>("failWith");
        QTest::newRow("played") << QString();
        QTest::newRow("failed") << "no device";
    }
    void transferOutcomeAndProgress()
    {
        QFETCH(QString, failWith);
        Rig rig;
        rig.inner.failWith = failWith;
        QList<QPair<int, int>> progress;
        rig.player.onProgress = [&](int played, int total) { progress.append({played, total}); };
        FakeSendingDialog dialog(&rig.log);
        QVERIFY(rig.transmitter.start(
            Transfer::of({3}), [&](bool done) { rig.sent = done; }, &dialog));
        QTRY_VERIFY(rig.inner.playing("Creat"));
        rig.inner.release();
        QTRY_VERIFY(rig.sent.has_value());
        QCOMPARE(*rig.sent, failWith.isEmpty());
        const int totalMs = int(tone::transferSound({3}, [] { return 0; }).size() / 48);
        QCOMPARE(progress.contains({totalMs, totalMs}), failWith.isEmpty());
        QCOMPARE(rig.log.last(), failWith.isEmpty() ? "dialog closed" : "warning: " + failWith);
    }

    // A Send waiting for another program's transfer can be cancelled: it
    // ends at once, plays and writes nothing and says nothing.
    void aWaitForTheTurnCanBeCancelled()
    {
        TempHome home;
        const QString lockPath = home.home() + "/turn.lock";
        const int held = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT, 0600);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
        HeldOutput inner;
        std::atomic<bool> waiting{false};
        SoundTurn turn(inner, [&](bool on) { waiting = on; }, 60000, lockPath);
        ThreadedSoundOutput player(turn);
        EventLog log;
        FakeDialogs dialogs(&log);
        FakeClock clock(&log);
        Settings settings;
        Transmitter transmitter(dialogs, player, clock, settings);
        std::optional<bool> sent;
        QVERIFY(transmitter.sendShortCommand(1, [&](bool done) { sent = done; }));
        QTRY_VERIFY(waiting);
        transmitter.cancel();
        QTRY_VERIFY(sent.has_value());
        ::close(held);
        QVERIFY(!*sent);
        QVERIFY(dialogs.warnings.isEmpty());
        QVERIFY(!inner.events().contains("play Creat"));
        QVERIFY(!QFile::exists(home.workFolder() + "Creat.WAV"));
    }
};

QTEST_GUILESS_MAIN(TestOnePlayer)
#include "tst_OnePlayer.moc"
