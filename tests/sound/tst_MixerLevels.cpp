#include "sound/MixerLevels.h"

#include <QTest>

using namespace kr31;

// The arithmetic that notes a mixer line's volume and balance at start and
// puts them back at exit: a wrong sign or rounding would leave a child's
// speakers louder, quieter or off-centre after every transfer.
class TestMixerLevels : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void levelOfSides_data()
    {
        QTest::addColumn<long>("left");
        QTest::addColumn<long>("right");
        QTest::addColumn<long>("min");
        QTest::addColumn<long>("max");
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("balance");
        QTest::newRow("both full") << 100L << 100L << 0L << 100L << 100.0 << 50.0;
        QTest::newRow("both silent") << 0L << 0L << 0L << 100L << 0.0 << 50.0;
        QTest::newRow("right at half") << 100L << 50L << 0L << 100L << 100.0 << 25.0;
        QTest::newRow("left at half") << 50L << 100L << 0L << 100L << 100.0 << 75.0;
        QTest::newRow("left only") << 80L << 0L << 0L << 100L << 80.0 << 0.0;
        QTest::newRow("right only") << 0L << 80L << 0L << 100L << 80.0 << 100.0;
        QTest::newRow("range not from 0") << -20L << -40L << -60L << 0L << (100.0 * 40 / 60) << 25.0;
        QTest::newRow("no range") << 5L << 5L << 5L << 5L << 0.0 << 50.0;
        QTest::newRow("outside the range") << 150L << 150L << 0L << 100L << 100.0 << 50.0;
    }
    void levelOfSides()
    {
        QFETCH(long, left);
        QFETCH(long, right);
        QFETCH(long, min);
        QFETCH(long, max);
        QFETCH(double, volume);
        QFETCH(double, balance);
        const mixer::Level level = mixer::levelOf(left, right, min, max);
        QCOMPARE(level.volume, volume);
        QCOMPARE(level.balance, balance);
    }

    void sidesOfLevel_data()
    {
        QTest::addColumn<double>("volume");
        QTest::addColumn<double>("balance");
        QTest::addColumn<long>("min");
        QTest::addColumn<long>("max");
        QTest::addColumn<long>("left");
        QTest::addColumn<long>("right");
        QTest::newRow("full, centred") << 100.0 << 50.0 << 0L << 65536L << 65536L << 65536L;
        QTest::newRow("full, to the left") << 100.0 << 25.0 << 0L << 65536L << 65536L << 32768L;
        QTest::newRow("full, to the right") << 100.0 << 75.0 << 0L << 65536L << 32768L << 65536L;
        QTest::newRow("half, left only") << 50.0 << 0.0 << 0L << 100L << 50L << 0L;
        QTest::newRow("rounds to nearest") << 33.3 << 50.0 << 0L << 31L << 10L << 10L;
        QTest::newRow("range not from 0") << 50.0 << 50.0 << -60L << 0L << -30L << -30L;
        QTest::newRow("volume above 100") << 150.0 << 50.0 << 0L << 100L << 100L << 100L;
        QTest::newRow("balance below 0") << 100.0 << -10.0 << 0L << 100L << 100L << 0L;
        QTest::newRow("no range") << 100.0 << 50.0 << 7L << 7L << 7L << 7L;
    }
    void sidesOfLevel()
    {
        QFETCH(double, volume);
        QFETCH(double, balance);
        QFETCH(long, min);
        QFETCH(long, max);
        QFETCH(long, left);
        QFETCH(long, right);
        const mixer::Sides sides = mixer::sidesOf(volume, balance, min, max);
        QCOMPARE(sides.left, left);
        QCOMPARE(sides.right, right);
    }

    // What is noted and put back is what was there, for every pair of raw values.
    void roundTripKeepsTheSides()
    {
        for (long left = 0; left <= 31; ++left) {
            for (long right = 0; right <= 31; ++right) {
                const mixer::Level level = mixer::levelOf(left, right, 0, 31);
                const mixer::Sides sides = mixer::sidesOf(level.volume, level.balance, 0, 31);
                QCOMPARE(sides.left, left);
                QCOMPARE(sides.right, right);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMixerLevels)
#include "tst_MixerLevels.moc"
