#include "core/Messages.h"
#include "core/Settings.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/Transmitter.h"
#include "link/WavFile.h"
#include "support/Fakes.h"
#include "support/TempHome.h"
#include "support/TinyDisk.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

// A transmitter wired to fakes that share one event log.
struct Rig
{
    TempHome home;
    EventLog log;
    FakeDialogs dialogs{&log};
    FakeSoundOutput sound{&log};
    FakeClock clock{&log};
    Settings settings;
    Transmitter transmitter{dialogs, sound, clock, settings};

    // Runs a send job to its end (the fakes take every step at once) and
    // gives whether it was sent.
    bool send(const Transfer &transfer, SendingDialog *dialog = nullptr, QObject *caller = nullptr)
    {
        std::optional<bool> sent;
        if (!transmitter.start(
                transfer, [&](bool done) { sent = done; }, dialog, caller))
            return false;
        if (!sent)
            qFatal("the job did not end with the fakes' steps");
        return *sent;
    }

    QByteArray expectedWav(const Packet &packet, int mode) const
    {
        return wav::fileBytes(tone::transferSound(packet, [=] { return mode; }));
    }
};

} // namespace

class TestTransmitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ledProgramOrderAndBytes()
    {
        Rig rig;
        QVERIFY(rig.send(Transfer::ledProgram({"16", "18,50", "100"})));
        QCOMPARE(rig.log, (EventLog{"prepare", "wait 500", "play", "silence"}));
        QCOMPARE(rig.sound.played.size(), 1);
        Packet expected{4, 16, 18, 128};
        while (expected.size() < 49)
            expected.append(27);
        QCOMPARE(rig.sound.played.first(), rig.expectedWav(expected, 0));
        QCOMPARE(rig.home.readWorkFile("Creat.WAV"), rig.expectedWav(expected, 0));
    }

    void modeFromSettingsAtEachTransfer()
    {
        Rig rig;
        QVERIFY(rig.settings.setWaveMode(2));
        QVERIFY(rig.send(Transfer::shortCommand(1)));
        QVERIFY(rig.settings.setWaveMode(1));
        QVERIFY(rig.send(Transfer::shortCommand(1)));
        QCOMPARE(rig.sound.played.at(0), rig.expectedWav({1}, 2));
        QCOMPARE(rig.sound.played.at(1), rig.expectedWav({1}, 1));
    }

    void shortCommandBrightnessAndPacketOrders()
    {
        Rig rig;
        QVERIFY(rig.send(Transfer::shortCommand(2)));
        QCOMPARE(rig.log, (EventLog{"prepare", "wait 500", "play", "silence"}));
        rig.log.clear();
        QVERIFY(rig.send(Transfer::brightness(50)));
        QCOMPARE(rig.log, (EventLog{"prepare", "play", "silence"}));
        QCOMPARE(rig.sound.played.last(), rig.expectedWav({6, 128}, 0));
        rig.log.clear();
        QVERIFY(rig.send(Transfer::of(packet::alarmSound(2))));
        QCOMPARE(rig.log, (EventLog{"prepare", "play", "silence"}));
        QCOMPARE(rig.sound.played.last(), rig.expectedWav(packet::alarmSound(2), 0));
    }

    // The dialog is gone before any message about the transfer shows.
    void sendingDialogAroundTransfer_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("failWith");
        QTest::addColumn<EventLog>("expected");
        const EventLog sent{"dialog shown", "wait 500", "prepare", "wait 500", "play", "silence", "dialog closed"};
        QTest::newRow("sent") << packet::ledResetList() << QString() << sent;
        QTest::newRow("not played") << packet::ledResetList() << "no device"
                                    << (EventLog(sent) << "warning: no device");
        QTest::newRow("refused") << QStringList{"18,x"} << QString()
                                 << EventLog{"dialog shown", "wait 500", "dialog closed",
                                             "warning: " + msg::ProgramError502};
    }
    void sendingDialogAroundTransfer()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, failWith);
        QFETCH(EventLog, expected);
        Rig rig;
        rig.sound.failWith = failWith;
        FakeSendingDialog dialog(&rig.log);
        QObject window;
        QCOMPARE(rig.send(Transfer::ledProgram(list), &dialog, &window),
                 expected.contains("play") && failWith.isEmpty());
        QCOMPARE(dialog.caller, &window);
        QCOMPARE(rig.log, expected);
    }

    // While a job runs a second send is refused, and what waits for it runs
    // after its end; listeners hear of both.
    void oneJobAtATime()
    {
        Rig rig;
        bool second = true;
        rig.transmitter.onSending([&](bool on) { rig.log << (on ? "sending" : "sent"); });
        rig.clock.duringWait = [&] {
            second = rig.send(Transfer::shortCommand(2));
            QVERIFY(rig.transmitter.sending());
            rig.transmitter.whenIdle([&] { rig.log << "hand-over"; });
        };
        QVERIFY(rig.send(Transfer::shortCommand(1)));
        QVERIFY(!second);
        QVERIFY(!rig.transmitter.sending());
        QCOMPARE(rig.log, (EventLog{"sending", "prepare", "wait 500", "play", "silence", "sent", "hand-over"}));
        QCOMPARE(rig.sound.played.size(), 1);
    }

    // The message names the sound file and why it could not be written.
    void unwritableSoundFileIsNotPlayed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder of its name") << "folder"
                                              << "同じ名前のフォルダーがあります。";
        QTest::newRow("full disk") << "full"
                                   << "ディスクの空きが足りません。";
        QTest::newRow("read-only disk") << "read-only"
                                        << "書き込みのできない場所です。";
    }
    void unwritableSoundFileIsNotPlayed()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TinyDisk disk; // the work folder, but for a folder in the way
        Rig rig;
        const QString work = rig.home.workFolder().chopped(1);
        if (fault != "folder" &&
            !(disk.available() && QDir(work).removeRecursively() && QFile::link(disk.path(""), work)))
            QSKIP(disk.whyNot());
        if (fault == "folder")
            QVERIFY(QDir().mkpath(work + "/Creat.WAV"));
        else if (fault == "full")
            disk.fill();
        else
            QVERIFY(disk.makeReadOnly());
        QVERIFY(!rig.send(Transfer::ledProgram({"16"})));
        const QString message = msg::soundNotWritten(work + "/Creat.WAV", reason);
        QVERIFY(message.startsWith(msg::SettingsWrite105 + "\n"));
        QCOMPARE(rig.log, (EventLog{"prepare", "wait 500", "silence", "warning: " + message}));
        QVERIFY(rig.sound.played.isEmpty());
    }

    void failedPlayIsReported()
    {
        Rig rig;
        rig.sound.failWith = msg::CannotPlay + "\nno device";
        QVERIFY(!rig.send(Transfer::shortCommand(1)));
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::CannotPlay + "\nno device"});
        QCOMPARE(rig.log.mid(rig.log.size() - 2), (EventLog{"silence", "warning: " + rig.dialogs.warnings.first()}));
    }

    void programWithNonIntegerFieldSendsNothing()
    {
        Rig rig;
        QVERIFY(!rig.send(Transfer::ledProgram({"18,x"})));
        QCOMPARE(rig.log, (EventLog{"warning: " + msg::ProgramError502}));
    }

    void deletedWorkFolderComesBack()
    {
        Rig rig;
        QVERIFY(QDir(rig.home.workFolder()).removeRecursively());
        QVERIFY(rig.send(Transfer::shortCommand(1)));
        QVERIFY(QFile::exists(rig.home.workFolder() + "Creat.WAV"));
    }
};

QTEST_GUILESS_MAIN(TestTransmitter)
#include "tst_Transmitter.moc"
