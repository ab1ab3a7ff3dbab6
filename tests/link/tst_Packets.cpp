#include "link/Packets.h"

#include <QTest>

using namespace kr31;

namespace {
Packet withFiller(Packet head)
{
    while (head.size() < 49)
        head.append(27);
    return head;
}
} // namespace

class TestPackets : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ledProgram_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<Packet>("packet");
        QTest::newRow("stop only") << QStringList{"100"} << withFiller({4});
        QTest::newRow("light 0") << QStringList{"18,0"} << withFiller({4, 18, 0});
        QTest::newRow("light 100") << QStringList{"18,100"} << withFiller({4, 18, 255});
        QTest::newRow("light 50") << QStringList{"18,50"} << withFiller({4, 18, 128});
        QTest::newRow("light 10") << QStringList{"18,10"} << withFiller({4, 18, 26});
        QTest::newRow("fade in 30 unit 7") << QStringList{"19,30,7"} << withFiller({4, 19, 76, 7});
        QTest::newRow("fade out 90 unit 255") << QStringList{"20,90,255"} << withFiller({4, 20, 230, 255});
        QTest::newRow("time 1") << QStringList{"21,1"} << withFiller({4, 21, 0, 1});
        QTest::newRow("time 256") << QStringList{"21,256"} << withFiller({4, 21, 1, 0});
        QTest::newRow("time 64800") << QStringList{"21,64800"} << withFiller({4, 21, 253, 32});
        QTest::newRow("repeat to 0") << QStringList{"16", "22,0,3"} << withFiller({4, 16, 22, 208, 3});
        QTest::newRow("repeat to 46") << QStringList{"22,46,1"} << withFiller({4, 22, 254, 1});
        QTest::newRow("while loop") << QStringList{"231,2,4"} << withFiller({4, 22, 210, 4});
        QTest::newRow("for loops") << QStringList{"221,0,1", "222,1,2"} << withFiller({4, 22, 208, 1, 22, 209, 2});
        QTest::newRow("after stop ignored") << QStringList{"16", "100", "17"} << withFiller({4, 16});
        QTest::newRow("no stop: fillers as they are") << QStringList{"16", "27", "17"} << withFiller({4, 16, 27, 17});
        QStringList full(47, QStringLiteral("21,64800"));
        Packet first48{4};
        for (int i = 0; i < 16; ++i)
            first48 << 21 << 253 << 32;
        QTest::newRow("over 48 values: first 48, no filler") << full << first48;
    }
    void ledProgram()
    {
        QFETCH(QStringList, list);
        QFETCH(Packet, packet);
        const auto built = packet::ledProgram(list);
        QVERIFY(built);
        QCOMPARE(*built, packet);
        QCOMPARE(built->size(), 49);
    }

    void notAnIntegerIsRefused()
    {
        int bad = -1;
        QVERIFY(!packet::ledProgram({"16", "18,abc"}, &bad));
        QCOMPARE(bad, 1);
        QVERIFY(!packet::ledProgram({""}));
        // Only bytes reach the lamp, whatever list comes in.
        for (const QStringList &list : {QStringList{"18,300"}, {"22,60,1"}, {"16", "-13"}, {"999"}})
            QVERIFY2(!packet::ledProgram(list), qPrintable(list.join(u' ')));
    }

    void ledResetIsFortyEightLinesSentUnscaled()
    {
        const Packet expected = withFiller({4, 23, 19, 5, 36, 26, 23, 19, 44, 8, 26, 23, 19, 255, 4, 26, 26, 23, 20, 0,
                                            5, 26});
        QCOMPARE(packet::ledResetList().size(), 48);
        QCOMPARE(packet::ledReset(), expected);
    }

    void melodyPackets()
    {
        Packet reset{5, 1};
        reset << QList<int>(11, 255) << 0 << 255 << 0 << 0 << 84 << 83 << QList<int>(190, 204);
        QCOMPARE(packet::melodyReset(), reset);

        Packet alarm3{5};
        alarm3 << QList<int>(16, 0) << 202 << QList<int>(191, 204);
        QCOMPARE(packet::alarmSound(3), alarm3);
        QCOMPARE(packet::alarmSound(1).at(17), 200);

        Packet wizard{5};
        wizard << QList<int>(16, 0) << 60 << 62 << 64 << QList<int>(189, 204);
        QCOMPARE(packet::wizardTestMelody(), wizard);
        for (const Packet &p : {reset, alarm3, wizard})
            QCOMPARE(p.size(), 209);
    }

    void brightnessAndShortCommand_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("byte");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("10") << 10 << 26;
        QTest::newRow("50") << 50 << 128;
        QTest::newRow("100") << 100 << 255;
    }
    void brightnessAndShortCommand()
    {
        QFETCH(int, percent);
        QFETCH(int, byte);
        QCOMPARE(packet::brightness(percent), (Packet{6, byte}));
        QCOMPARE(packet::shortCommand(1), Packet{1});
    }
};

QTEST_GUILESS_MAIN(TestPackets)
#include "tst_Packets.moc"
