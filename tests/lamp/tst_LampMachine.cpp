#include "lamp/LampMachine.h"
#include "link/Packets.h"

#include <QTest>

using namespace kr31;
using namespace kr31::lamp;

namespace {

// The body the lamp receives for a command list.
QList<int> bodyOf(const QStringList &list)
{
    return packet::ledProgram(list)->mid(1);
}

// Runs a script against the machine: "a500" advances 500 ms, "d"/"u" press
// and release the touch, "x60" sets the speed.
void play(LampMachine &machine, const QString &script)
{
    for (const QString &word : script.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"d")
            machine.setTouch(true);
        else if (word == u"u")
            machine.setTouch(false);
        else if (word.startsWith(u'x'))
            machine.setSpeed(word.mid(1).toInt());
        else
            machine.advance(word.mid(1).toLongLong());
    }
}

} // namespace

Q_DECLARE_METATYPE(kr31::lamp::Fault)

class TestLampMachine : public QObject
{
    Q_OBJECT

private slots:
    // Worked programs: after the script, what the lamp shows.
    void run_data()
    {
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("waiting");
        QTest::addColumn<qint64>("remaining");

        const QStringList lightTime{"18,50", "21,2", "100"};
        QTest::newRow("light then timer, at the start") << lightTime << "a0" << 128 << 1 << false << false << qint64(2000);
        QTest::newRow("timer 1 ms before its end") << lightTime << "a1999" << 128 << 1 << false << false << qint64(1);
        QTest::newRow("timer over: the end keeps the light") << lightTime << "a1999 a1" << 128 << -1 << true << false << qint64(0);

        QTest::newRow("fade in by unit 1: one step per 10 ms") << QStringList{"19,100,1"} << "a1000" << 100 << 0 << false << false << qint64(0);
        QTest::newRow("fade in reaches its level") << QStringList{"19,100,1"} << "a2549 a1" << 255 << -1 << true << false << qint64(0);
        QTest::newRow("fade out by unit 2 from full") << QStringList{"18,100", "20,0,2"} << "a510" << 230 << 1 << false << false << qint64(0);
        QTest::newRow("fade out to a level above the light rises to it") << QStringList{"18,10", "20,50,1"} << "a5000" << 128 << -1 << true << false << qint64(0);
        QTest::newRow("fade with nothing to do takes no time") << QStringList{"18,50", "19,50,9", "21,1"} << "a0" << 128 << 2 << false << false << qint64(1000);

        const QStringList onOff{"16", "21,1", "17", "21,1"};
        QTest::newRow("ON lights full before any level") << onOff << "a500" << 255 << 1 << false << false << qint64(500);
        QTest::newRow("OFF puts it out") << onOff << "a1500" << 0 << 3 << false << false << qint64(500);
        QTest::newRow("ON after OFF lights the last level") << QStringList{"18,10", "17", "16", "21,1"} << "a0" << 26 << 3 << false << false << qint64(1000);
        QTest::newRow("ON after a fade lights the fade's level") << QStringList{"19,30,1", "17", "16", "21,10"} << "a5000" << 76 << 3 << false << false << qint64(5760);

        // Light, wait, dark, wait: 2 s a round; count 3 runs the body three times in all.
        const QStringList blink{"18,100", "21,1", "17", "21,1", "22,0,3"};
        QTest::newRow("repeat: third round, dark half") << blink << "a5500" << 0 << 3 << false << false << qint64(500);
        QTest::newRow("repeat: body ran three times") << blink << "a6000" << 0 << -1 << true << false << qint64(0);
        QTest::newRow("repeat: second round, light half") << blink << "a2500" << 255 << 1 << false << false << qint64(500);
        QTest::newRow("loop code of a For runs as a repeat") << QStringList{"18,100", "21,1", "17", "21,1", "222,0,2"} << "a3500" << 0 << 3 << false << false << qint64(500);
        QTest::newRow("an outer loop runs the inner one afresh")
            << QStringList{"21,1", "22,0,2", "17", "22,0,2"} << "a3999" << 0 << 0 << false << false << qint64(1);
        QTest::newRow("an outer loop runs the inner one afresh, to the end")
            << QStringList{"21,1", "22,0,2", "17", "22,0,2"} << "a4000" << 0 << -1 << true << false << qint64(0);

        const QStringList touch{"23", "18,100", "21,5"};
        QTest::newRow("touch: waits") << touch << "a100000" << 0 << 0 << false << true << qint64(0);
        QTest::newRow("touch: a press goes on") << touch << "a100 d a0" << 255 << 2 << false << false << qint64(5000);
        QTest::newRow("touch: one press passes one wait") << QStringList{"23", "16", "23", "17"} << "a0 d a0 u a50" << 255 << 2 << false << true << qint64(0);
        QTest::newRow("touch: held from before, a new press is needed") << touch << "d a0 a500" << 0 << 0 << false << true << qint64(0);
        QTest::newRow("touch: held from before, released and pressed") << touch << "d a0 u a10 d a0" << 255 << 2 << false << false << qint64(5000);

        QTest::newRow("touch fade in: waits for the touch") << QStringList{"24"} << "a900" << 0 << 0 << false << true << qint64(0);
        QTest::newRow("touch fade in: brightens while held") << QStringList{"24"} << "a0 d a1000" << 100 << 0 << false << false << qint64(0);
        QTest::newRow("touch fade in: stops at full") << QStringList{"24"} << "a0 d a1000 a9000" << 255 << 0 << false << false << qint64(0);
        QTest::newRow("touch fade in: ends at the release") << QStringList{"24", "21,1"} << "a0 d a500 u a0" << 50 << 1 << false << false << qint64(1000);
        QTest::newRow("touch fade out from full") << QStringList{"18,100", "25"} << "a0 d a500" << 205 << 1 << false << false << qint64(0);
        QTest::newRow("touch fade: a quick tap ends it at once") << QStringList{"25", "21,1"} << "a0 d u a0" << 0 << 1 << false << false << qint64(1000);

        QTest::newRow("timer at 60 times") << QStringList{"21,3600"} << "x60 a30000" << 0 << 0 << false << false << qint64(1800000);
        QTest::newRow("timer at 60 times ends after a minute") << QStringList{"21,3600"} << "x60 a60000" << 0 << -1 << true << false << qint64(0);
        QTest::newRow("timer at 10 times, switched halfway") << QStringList{"21,100"} << "a50000 x10 a4999" << 0 << 0 << false << false << qint64(10);
        QTest::newRow("speed leaves fades alone") << QStringList{"19,100,1"} << "x60 a1000" << 100 << 0 << false << false << qint64(0);
        QTest::newRow("the longest timer") << QStringList{"21,64800"} << "a0" << 0 << 0 << false << false << qint64(64800000);

        QTest::newRow("empty program ends at once") << QStringList{"100"} << "a0" << 0 << -1 << true << false << qint64(0);
        QTest::newRow("commands after empty slots run") << QStringList{"27", "27", "16", "21,1"} << "a0" << 255 << 3 << false << false << qint64(1000);
        QTest::newRow("nothing after the Stop is sent") << QStringList{"16", "100", "17"} << "a10" << 255 << -1 << true << false << qint64(0);
    }
    void run()
    {
        QFETCH(QStringList, program);
        QFETCH(QString, script);
        LampMachine machine(bodyOf(program));
        play(machine, script);
        const LampState &s = machine.state();
        QTEST(s.brightness, "brightness");
        QTEST(s.step, "step");
        QTEST(s.stopped, "stopped");
        QTEST(s.waitingForTouch, "waiting");
        QTEST(s.remainingMs, "remaining");
        QCOMPARE(s.fault, Fault::None);
    }

    // Packets the lamp cannot run all through: it runs what it can read and
    // stops, saying why and where, at the first value it cannot.
    void faults_data()
    {
        QTest::addColumn<QList<int>>("body");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("position");

        QTest::newRow("no command code") << QList<int>{16, 99, 17} << 255 << Fault::UnknownCode << 1;
        QTest::newRow("a brightness byte where a code belongs") << QList<int>{18, 128, 255} << 128 << Fault::UnknownCode << 2;
        QTest::newRow("fade cut by the end") << QList<int>{16, 19, 100} << 255 << Fault::Cut << 1;
        QTest::newRow("timer cut by the end") << QList<int>{21, 0} << 0 << Fault::Cut << 0;
        QTest::newRow("repeat back to itself") << QList<int>{16, 22, 209, 2} << 255 << Fault::BadReturn << 1;
        QTest::newRow("repeat forward") << QList<int>{16, 22, 230, 2, 17} << 255 << Fault::BadReturn << 1;
        QTest::newRow("return address below 208") << QList<int>{16, 22, 0, 2} << 255 << Fault::BadReturn << 1;
        QTest::newRow("return into the middle of a command counts commands") << QList<int>{18, 10, 22, 209, 2} << 10 << Fault::BadReturn << 2;
        QTest::newRow("empty body") << QList<int>{} << 0 << Fault::None << -1;
    }
    void faults()
    {
        QFETCH(QList<int>, body);
        LampMachine machine(body);
        machine.advance(1000);
        QVERIFY(machine.state().stopped);
        QCOMPARE(machine.state().step, -1);
        QTEST(machine.state().brightness, "brightness");
        QTEST(machine.state().fault, "fault");
        QTEST(machine.state().faultPosition, "position");
    }

    void aPacketOfAnotherKindRunsNothing()
    {
        LampMachine machine = LampMachine::fromPacket(packet::melodyReset());
        QVERIFY(machine.steps().isEmpty());
        QVERIFY(machine.state().stopped);
        QCOMPARE(machine.state().fault, Fault::NotLedProgram);
        QCOMPARE(LampMachine::fromPacket({}).state().fault, Fault::NotLedProgram);
    }

    void aStopValueEndsTheRunWhereItStands()
    {
        LampMachine machine({16, 100, 17});
        machine.advance(0);
        QCOMPARE(machine.state().step, 1);
        QVERIFY(machine.state().stopped);
        QCOMPARE(machine.state().brightness, 255);
        machine.setTouch(true);
        machine.advance(5000);
        QCOMPARE(machine.state().brightness, 255);
    }

    void readOddArgumentsSafely()
    {
        // Update unit 0 paces like 1; repeat count 0 runs its body once.
        LampMachine fade({19, 255, 0});
        fade.advance(2549);
        QCOMPARE(fade.state().brightness, 254);
        fade.advance(1);
        QVERIFY(fade.state().stopped);

        LampMachine once({21, 0, 1, 22, 208, 0});
        once.advance(1000);
        QVERIFY(once.state().stopped);

        LampMachine zero({21, 0, 0, 16});
        zero.advance(0);
        QVERIFY(zero.state().stopped);
        QCOMPARE(zero.state().brightness, 255);
    }

    void beepsSoundOneAfterTheOther()
    {
        LampMachine machine(bodyOf({"26", "26", "16"}));
        machine.advance(0);
        QCOMPARE(machine.beepCount(), 1);
        QVERIFY(machine.state().beeping);
        machine.advance(149);
        QCOMPARE(machine.beepCount(), 1);
        machine.advance(1);
        QCOMPARE(machine.beepCount(), 2);
        QCOMPARE(machine.state().step, 1);
        machine.advance(150);
        QVERIFY(!machine.state().beeping);
        QVERIFY(machine.state().stopped);
        QCOMPARE(machine.state().brightness, 255);
    }

    // Loops of commands that take no time hand control back at every
    // advance and still reach their end.
    void loopsWithoutTimeNeverHoldTheCaller()
    {
        LampMachine machine({16, 17, 22, 208, 255, 22, 208, 255, 22, 208, 255});
        int calls = 0;
        while (!machine.state().stopped && calls < 100000) {
            machine.advance(0);
            ++calls;
        }
        QVERIFY(machine.state().stopped);
        QVERIFY(calls > 1);
        QCOMPARE(machine.state().brightness, 0);
    }

    void aLongJumpInTimeLandsWhereSmallStepsLand()
    {
        const QStringList program{"19,100,3", "21,2", "20,0,1", "22,0,4", "18,40"};
        LampMachine once(bodyOf(program));
        LampMachine steps(bodyOf(program));
        once.advance(20000);
        for (int i = 0; i < 2000; ++i)
            steps.advance(10);
        QCOMPARE(steps.state(), once.state());
        once.advance(28799);
        QVERIFY(!once.state().stopped);
        once.advance(1);
        QVERIFY(once.state().stopped);
        QCOMPARE(once.state().brightness, 102);
    }

    void stepsCarryTheirPacketPositions()
    {
        const QList<Step> steps = readSteps(bodyOf({"16", "18,50", "21,300", "27", "22,1,4", "100"}));
        QList<int> positions, codes;
        for (const Step &s : steps) {
            positions << s.position;
            codes << s.code;
        }
        QCOMPARE(codes.mid(0, 5), (QList<int>{16, 18, 21, 27, 22}));
        QCOMPARE(positions.mid(0, 5), (QList<int>{0, 1, 3, 6, 7}));
        QCOMPARE(steps.at(2).args[0], 300);
        QCOMPARE(steps.at(4).args[0], 1);
        QCOMPARE(steps.at(4).args[1], 4);
        // The rest of the 48 values are fillers, one command each.
        QCOMPARE(steps.size(), 5 + 48 - 10);
    }
};

QTEST_GUILESS_MAIN(TestLampMachine)
#include "tst_LampMachine.moc"
