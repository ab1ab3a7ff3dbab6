#include "core/IniFile.h"
#include "core/Settings.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/TempHome.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>

using namespace kr31;

namespace {

// Runs of equal samples, as "count x value" pairs: the shape of a sound.
QList<QPair<int, int>> runs(const QByteArray &samples)
{
    QList<QPair<int, int>> result;
    for (char c : samples) {
        const int v = quint8(c);
        if (!result.isEmpty() && result.last().second == v)
            ++result.last().first;
        else
            result.append({1, v});
    }
    return result;
}

QByteArray alternating(int count, char first)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out.append((i % 2 == 0) ? first : char(~first));
    return out;
}

QByteArray inverted(QByteArray samples)
{
    for (char &c : samples)
        c = char(~c);
    return samples;
}

using Runs = QList<QPair<int, int>>;

} // namespace

class TestToneBurst : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void levelCodedBytes_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("startBit");
        QTest::addColumn<Runs>("shape");
        QTest::newRow("4 with start bit") << 4 << true << Runs{{48, 0xFF}, {240, 0}, {48, 0xFF}, {668, 0}};
        QTest::newRow("0 with start bit") << 0 << true << Runs{{48, 0xFF}, {956, 0}};
        QTest::newRow("255 with start bit") << 255 << true << Runs{{432, 0xFF}, {572, 0}};
        QTest::newRow("256 like 0") << 256 << true << Runs{{48, 0xFF}, {956, 0}};
        QTest::newRow("4 without start bit") << 4 << false << Runs{{240, 0}, {48, 0xFF}, {668, 0}};
        QTest::newRow("128 without start bit") << 128 << false << Runs{{48, 0xFF}, {908, 0}};
    }
    void levelCodedBytes()
    {
        QFETCH(int, value);
        QFETCH(bool, startBit);
        QFETCH(Runs, shape);
        const QByteArray samples = tone::encodeByte(value, startBit, 0);
        QCOMPARE(runs(samples), shape);
        QCOMPARE(samples.size(), startBit ? 1004 : 956);
        // Variant 1 is variant 0 with every sample inverted.
        QCOMPARE(tone::encodeByte(value, startBit, 1), inverted(samples));
    }

    void burstCodedValue4()
    {
        const char hi = char(0xFF);
        QByteArray expected = alternating(93, hi);
        expected += QByteArray(480, 0);
        expected += alternating(93, hi);
        expected += QByteArray(192 + 572, 0);
        const QByteArray samples = tone::encodeByte(4, true, 2);
        QCOMPARE(samples.size(), 1430);
        QCOMPARE(samples, expected);
        QCOMPARE(tone::encodeByte(4, true, 3), inverted(expected));
    }

    void burstOneBitIsThirtyOneGroupsOfThree()
    {
        const QByteArray one = tone::encodeByte(0, true, 2).left(93);
        for (int g = 0; g < 31; ++g) {
            const QByteArray group = one.mid(g * 3, 3);
            QCOMPARE(group, g % 2 == 0 ? QByteArray("\xff\x00\xff", 3) : QByteArray("\x00\xff\x00", 3));
        }
    }

    void leaders()
    {
        QCOMPARE(runs(tone::leader(0)), (Runs{{25, 0xFF}, {527, 0}}));
        QCOMPARE(runs(tone::leader(1)), (Runs{{25, 0}, {527, 0xFF}}));
        QCOMPARE(runs(tone::leader(2)), (Runs{{21, 0xFF}, {201, 0}}));
        QCOMPARE(runs(tone::leader(3)), (Runs{{21, 0}, {201, 0xFF}}));
    }

    void unknownVariantGivesNothing()
    {
        QVERIFY(tone::leader(4).isEmpty());
        QVERIFY(tone::leader(-1).isEmpty());
        QVERIFY(tone::encodeByte(7, true, 4).isEmpty());
        QCOMPARE(wav::fileBytes(tone::transferSound({4, 1}, [] { return 9; })).size(), 44);
    }

    void wavHeaderByteForByte()
    {
        const QByteArray samples("\xff\x00\xff", 3);
        const QByteArray expected = QByteArray::fromHex("52494646"   // RIFF
                                                        "27000000"   // 3 + 36
                                                        "57415645"   // WAVE
                                                        "666d7420"   // "fmt "
                                                        "10000000"   // 16
                                                        "0100"       // PCM
                                                        "0100"       // mono
                                                        "80bb0000"   // 48000
                                                        "80bb0000"   // 48000 bytes/s
                                                        "0100"       // block align
                                                        "0800"       // 8 bits
                                                        "64617461"   // data
                                                        "03000000"   // N
                                                        "ff00ff");   // samples, no pad byte
        QCOMPARE(wav::fileBytes(samples), expected);
    }

    void leaderOnlyFile()
    {
        const QByteArray file = wav::fileBytes(tone::leader(0));
        QCOMPARE(file.size(), 44 + 552);
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 4), 588u);
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 40), 552u);
    }

    void oddBurstSoundHasNoPadByte()
    {
        // 1 has two one bits among its nine (start bit included): 2*93 + 7*96 + 572 = 1430.
        // 7 has four: 4*93 + 5*96 + 572 = 1424; 3 has three: odd total 1427.
        const QByteArray samples = tone::encodeByte(3, true, 2);
        QCOMPARE(samples.size(), 1427);
        const QByteArray file = wav::fileBytes(samples);
        QCOMPARE(file.size(), 44 + 1427);
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 4), quint32(1427 + 36));
    }

    void writeReplacesFileAtomically()
    {
        test::TempHome home;
        const QString path = home.workFolder() + QStringLiteral("Creat.WAV");
        QVERIFY(wav::write(path, QByteArray(10, 0)));
        QVERIFY(wav::write(path, QByteArray(3, char(0xFF))));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), wav::fileBytes(QByteArray(3, char(0xFF))));
        QString error;
        QVERIFY(!wav::write(home.home() + QStringLiteral("/no/such/folder/x.wav"), {}, &error));
        QVERIFY(!error.isEmpty());
    }

    void modeIsAskedAtLeaderAndEveryByte()
    {
        int calls = 0;
        QList<int> modes{0, 2, 1};
        const QByteArray samples = tone::transferSound({4, 4}, [&] { return modes.at(calls++); });
        QCOMPARE(calls, 3);
        QCOMPARE(samples, tone::leader(0) + tone::encodeByte(4, true, 2) + tone::encodeByte(4, true, 1));
    }

    void settingsChangeAppliesToNextSound()
    {
        test::TempHome home;
        Settings settings;
        const auto mode = [&] { return settings.waveMode(); };
        QCOMPARE(tone::transferSound({1}, mode).left(25), QByteArray(25, char(0xFF)));
        QVERIFY(settings.setWaveMode(3));
        QCOMPARE(tone::transferSound({1}, mode).left(21), QByteArray(21, 0));
        QCOMPARE(tone::transferSound({1}, mode).size(), 222 + 2 * 93 + 7 * 96 + 572);
    }

    // The settings store answers from what it parsed while set.ini stays as
    // it was; a mode stored by another program during a transfer still
    // applies from the next byte on.
    void modeChangedDuringTransferAppliesAtNextByte_data()
    {
        QTest::addColumn<bool>("settled");
        QTest::addColumn<bool>("reader"); // as a transfer asks: through one waveModeReader()
        QTest::addColumn<bool>("watched"); // the folder watched, or the file compared at every call
        for (const bool watched : {true, false}) {
            const char *how = watched ? "watched" : "stat";
            QTest::addRow("%s, file written a moment before", how) << false << false << watched;
            QTest::addRow("%s, file unchanged for an hour", how) << true << false << watched;
            QTest::addRow("%s, reader, file written a moment before", how) << false << true << watched;
            QTest::addRow("%s, reader, file unchanged for an hour", how) << true << true << watched;
        }
    }
    void modeChangedDuringTransferAppliesAtNextByte()
    {
        using namespace std::chrono_literals;
        QFETCH(bool, settled);
        QFETCH(bool, reader);
        QFETCH(bool, watched);
        IniFile::setFolderWatch(watched);
        test::TempHome home;
        Settings settings;
        QVERIFY(settings.setWaveMode(0));
        if (settled) {
            const timespec anHourAgo{time(nullptr) - 3600, 0};
            const timespec times[2] = {anHourAgo, anHourAgo};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(home.workFolder() + "set.ini").constData(), times, 0) == 0);
            IniFile::setRecentChangeWindow(0ns);
        }
        int asked = 0;
        const std::function<int()> read = reader ? settings.waveModeReader() : [&] { return settings.waveMode(); };
        const QByteArray samples = tone::transferSound({4, 5, 6}, [&] {
            if (++asked == 3) // after the leader and the first byte, same size, in place
                home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=2\r\n");
            return read();
        });
        IniFile::setRecentChangeWindow(50ms);
        IniFile::setFolderWatch(true);
        QCOMPARE(samples, tone::leader(0) + tone::encodeByte(4, true, 0) + tone::encodeByte(5, true, 2) +
                              tone::encodeByte(6, true, 2));
    }
};

QTEST_GUILESS_MAIN(TestToneBurst)
#include "tst_ToneBurst.moc"
