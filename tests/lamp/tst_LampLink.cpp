#include "core/Settings.h"
#include "editors/flowchart/FlowchartProgram.h"
#include "lamp/LampLink.h"
#include "lamp/LampMachine.h"
#include "lamp/MelodyRun.h"
#include "link/Packets.h"
#include "link/Transmitter.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "support/Fakes.h"
#include "support/TempHome.h"

#include <QTest>

using namespace kr31;
using namespace kr31::lamp;
using namespace kr31::test;

namespace {

struct Rig
{
    TempHome home;
    FakeDialogs dialogs;
    FakeSoundOutput sound;
    FakeClock clock;
    Settings settings;
    Transmitter transmitter{dialogs, sound, clock, settings};
};

// A program a child might write: wait for a touch, blink three times, beep.
const QStringList TouchBlink{"23", "18,100", "21,1", "17", "21,1", "22,1,3", "26", "100"};

} // namespace

class TestLampLink : public QObject
{
    Q_OBJECT

private slots:
    void theLampHearsWhatSendPlays_data()
    {
        QTest::addColumn<int>("mode");
        for (int mode = 0; mode <= 3; ++mode)
            QTest::addRow("mode %d", mode) << mode;
    }
    void theLampHearsWhatSendPlays()
    {
        QFETCH(int, mode);
        Rig rig;
        // The mode comes from the settings, as for a Send.
        QVERIFY(rig.settings.setWaveMode(mode));
        const Packet sent = *packet::ledProgram(TouchBlink);
        const auto heard = heardPacket(rig.transmitter, sent);
        QVERIFY(heard);
        QCOMPARE(*heard, sent);

        LampMachine machine = LampMachine::fromPacket(*heard);
        machine.advance(500);
        QVERIFY(machine.state().waitingForTouch);
        machine.setTouch(true);
        machine.advance(5999);
        QCOMPARE(machine.state().brightness, 0);
        QCOMPARE(machine.beepCount(), 0);
        machine.advance(1);
        QCOMPARE(machine.beepCount(), 1);
        machine.advance(150);
        QVERIFY(machine.state().stopped);
        QCOMPARE(machine.state().fault, Fault::None);

        // The melody packet comes through whole as well.
        Melody melody;
        melody.notes[0] = {60, 123, 198};
        melody.notes[1] = {48};
        melody.link = true;
        const Packet tune = melodyfile::packet(melody);
        QCOMPARE(heardPacket(rig.transmitter, tune), std::optional<QList<int>>(tune));
    }

    void aFixedModeOfTheTransmitterIsHeardToo()
    {
        Rig rig;
        rig.transmitter.setMode(2);
        const Packet sent = *packet::ledProgram({"16"});
        QCOMPARE(heardPacket(rig.transmitter, sent), std::optional<QList<int>>(sent));
    }

    void linesOfPacketPositions_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QList<int>>("starts");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QList<int>>("lines");

        QTest::newRow("mixed commands, empty slot, stop")
            << QStringList{"16", "18,50", "21,90", "27", "22,0,2", "100", "17"} << QList<int>{0, 1, 3, 6, 7}
            << QList<int>{0, 1, 2, 3, 5, 6, 7, 9, 10, -1} << QList<int>{0, 1, 1, 2, 2, 3, 4, 4, -1, -1};
        QTest::newRow("loop line counts like a repeat") << QStringList{"24", "231,0,4", "25"} << QList<int>{0, 1, 4}
                                                         << QList<int>{1, 3, 4, 5} << QList<int>{1, 1, 2, -1};
        QTest::newRow("a line that is no command counts one value") << QStringList{"16", "x,1", "17"} << QList<int>{0, 1, 2}
                                                                     << QList<int>{1, 2} << QList<int>{1, 2};
        QTest::newRow("empty list") << QStringList{} << QList<int>{} << QList<int>{0} << QList<int>{-1};
    }
    void linesOfPacketPositions()
    {
        QFETCH(QStringList, list);
        QFETCH(QList<int>, positions);
        QFETCH(QList<int>, lines);
        const QList<int> starts = linePositions(list);
        QTEST(starts, "starts");
        for (int i = 0; i < positions.size(); ++i)
            QCOMPARE(lineAt(starts, list, positions.at(i)), lines.at(i));
    }

    // A run mapped back: the step the lamp waits at is the line of the list.
    void theRunningStepIsTheLineOfTheList()
    {
        const QStringList list{"27", "18,50", "21,5", "23", "100"};
        LampMachine machine(packet::ledProgram(list)->mid(1));
        machine.advance(100);
        QCOMPARE(lineAt(linePositions(list), list, machine.state().position), 2);
        machine.advance(5000);
        QCOMPARE(lineAt(linePositions(list), list, machine.state().position), 3);
    }

    void flowchartLinesComeFromMainEntries()
    {
        FlowchartProgram program;
        program.SubroutineCount = 2;
        program.Pages[0][0] = "16";
        program.Pages[0][1] = "Sub,1";
        program.Pages[0][2] = "22,0,2";
        program.Pages[0][3] = "Sub,2";
        program.Pages[0][4] = "17";
        program.Pages[1][0] = "18,50";
        program.Pages[1][1] = "Sub,2";
        program.Pages[2][0] = "21,1";
        program.Pages[2][1] = "26";
        QVERIFY(program.compileChart().ok());
        const QList<int> entries = flowchartLineEntries(program);
        QCOMPARE(entries, (QList<int>{0, 1, 1, 1, 2, 3, 3, 4}));
        // One entry per compiled line before the filler.
        QCOMPARE(program.CompiledList.indexOf("27"), entries.size());
    }

    void melodyFollowsTheLinkValues()
    {
        Melody melody;
        melody.notes[0] = {60, 123}; // eighth C4, quarter rest
        melody.notes[1] = {162};     // half C3
        melody.link = true;
        melody.linkValues[0] = 50;   // C
        melody.linkValues[12] = 10;  // rest
        MelodyRun run = MelodyRun::fromPacket(melodyfile::packet(melody));
        QCOMPARE(run.voices()[0], (QList<int>{60, 123}));
        QCOMPARE(run.voices()[1], (QList<int>{162}));

        const qint64 firstNote = (preview::tone(60).size() + preview::GapSamples) * 1000 / 48000;
        QCOMPARE(run.state().note, (std::array<int, 2>{0, 0}));
        QCOMPARE(run.state().brightness, 128);
        run.advance(firstNote + 1);
        QCOMPARE(run.state().note[0], 1);
        QCOMPARE(run.state().brightness, 26);
        // Melody 1 over, Melody 2 still sounding: the light follows it.
        const qint64 upper = voiceSound({60, 123}).size() * 1000 / 48000;
        run.advance(upper + 5 - run.state().elapsedMs);
        QCOMPARE(run.state().note, (std::array<int, 2>{-1, 0}));
        QCOMPARE(run.state().brightness, 128);
        QCOMPARE(run.lengthMs(), (preview::voiceStream({162}).size() * 1000 + 47999) / 48000);
        run.advance(run.lengthMs());
        QVERIFY(run.state().stopped);
        QCOMPARE(run.state().note, (std::array<int, 2>{-1, -1}));
        QCOMPARE(run.state().brightness, 0);
    }

    // A rest keeps its own length: as long as a note of its length, with the gap.
    void restsKeepTheirLength_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("samples");
        QTest::newRow("eighth rest") << 48 + 37 << 12000 + 930;
        QTest::newRow("quarter rest") << 86 + 37 << 24000 + 930;
        QTest::newRow("dotted quarter rest") << 124 + 37 << 36000 + 930;
        QTest::newRow("half rest") << 162 + 37 << 48000 + 930;
        QTest::newRow("a pitch as the preview") << 60 << int(preview::tone(60).size()) + 930;
    }
    void restsKeepTheirLength()
    {
        QFETCH(int, code);
        QFETCH(int, samples);
        QCOMPARE(noteSound(code).size(), samples);
        QVERIFY(noteSound(code).endsWith(QByteArray(930, char(0))));
        // The run times its notes by the same sound.
        const MelodyRun run(QList<int>(16, 0) + QList<int>{code, 204} + QList<int>(95, 204) + QList<int>(96, 204));
        QCOMPARE(run.lengthMs(), (qint64(samples) * 1000 + 47999) / 48000);
    }

    void melodyWithoutLinkLeavesTheLightOut()
    {
        Melody melody;
        melody.notes[0] = {60};
        const MelodyRun run = MelodyRun::fromPacket(melodyfile::packet(melody));
        QVERIFY(!run.linked());
        QCOMPARE(run.state().brightness, 0);
        QCOMPARE(run.state().note[0], 0);
        QVERIFY(MelodyRun::fromPacket(packet::ledReset()).state().stopped);
        QVERIFY(MelodyRun::fromPacket({}).voices()[0].isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLampLink)
#include "tst_LampLink.moc"
