#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "link/WavFile.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kr31;

class TestToneDecoder : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<Packet>("packet");
        const QList<QPair<const char *, Packet>> packets = {
            {"LED program", *packet::ledProgram({"16", "18,50", "21,64800", "22,0,3", "19,100,255", "26"})},
            {"LED reset", packet::ledReset()},
            {"melody reset", packet::melodyReset()},
            {"alarm sound 4", packet::alarmSound(4)},
            {"brightness", packet::brightness(70)},
            {"short command", packet::shortCommand(2)},
            {"every byte value", [] {
                 Packet all;
                 for (int v = 0; v < 256; ++v)
                     all.append(v);
                 return all;
             }()},
        };
        for (int variant = 0; variant < 4; ++variant) {
            for (const auto &[name, values] : packets)
                QTest::addRow("%s, mode %d", name, variant) << variant << values;
        }
    }
    void roundTrip()
    {
        QFETCH(int, variant);
        QFETCH(Packet, packet);
        const QByteArray samples = tone::transferSound(packet, [=] { return variant; });
        const auto audio = wav::parse(wav::fileBytes(samples));
        QVERIFY(audio);
        QCOMPARE(audio->sampleRate, 48000);
        QString error;
        const auto decoded = tone::decode(audio->samples, &error);
        QVERIFY2(decoded, qPrintable(error));
        QCOMPARE(decoded->variant, variant);
        QCOMPARE(decoded->values, packet);
    }

    void leaderOnly()
    {
        for (int variant = 0; variant < 4; ++variant) {
            const auto decoded = tone::decode(tone::leader(variant));
            QVERIFY(decoded);
            QCOMPARE(decoded->variant, variant);
            QVERIFY(decoded->values.isEmpty());
        }
    }

    void refusesWhatIsNoTransferSound_data()
    {
        QTest::addColumn<QByteArray>("samples");
        const QByteArray good = tone::transferSound({4, 200}, [] { return 0; });
        const QByteArray goodBurst = tone::transferSound({4, 200}, [] { return 2; });
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("silence") << QByteArray(5000, 0);
        QTest::newRow("wrong leader pulse") << QByteArray(30, char(0xFF)) + QByteArray(600, 0);
        QTest::newRow("cut inside a byte") << good.left(good.size() - 700);
        QTest::newRow("cut inside a burst byte") << goodBurst.left(goodBurst.size() - 900);
        QByteArray noStart = good;
        noStart.replace(552, 48, QByteArray(48, 0));
        QTest::newRow("missing start bit") << noStart;
        QByteArray brokenBurst = goodBurst;
        brokenBurst[222 + 5] = char(0xFF);
        QTest::newRow("broken burst") << brokenBurst;
        QByteArray noisyTrailer = good;
        noisyTrailer[552 + 500] = char(0xFF);
        QTest::newRow("noise in trailer") << noisyTrailer;
    }
    void refusesWhatIsNoTransferSound()
    {
        QFETCH(QByteArray, samples);
        QString error;
        QVERIFY(!tone::decode(samples, &error));
        QVERIFY(!error.isEmpty());
    }

    void trailingSilenceIsIgnored()
    {
        const QByteArray samples = tone::transferSound({9}, [] { return 2; }) + QByteArray(3000, 0);
        const auto decoded = tone::decode(samples);
        QVERIFY(decoded);
        QCOMPARE(decoded->values, QList<int>{9});
    }

    void randomBytesNeverCrash()
    {
        QRandomGenerator rng(31);
        for (int i = 0; i < 200; ++i) {
            QByteArray samples(int(rng.bounded(4000)), 0);
            for (char &c : samples)
                c = rng.bounded(2) ? char(0xFF) : char(0);
            tone::decode(samples);
            wav::parse(samples);
        }
    }

    void wavParseWalksChunks()
    {
        QByteArray file = wav::fileBytes(QByteArray("\xff\x00", 2));
        // An extra chunk before "data" is skipped; a data size past the end is cut.
        file.insert(36, QByteArray::fromHex("4c4953540300000061626300"));
        const auto audio = wav::parse(file);
        QVERIFY(audio);
        QCOMPARE(audio->samples, QByteArray("\xff\x00", 2));
        QByteArray longData = wav::fileBytes(QByteArray(4, 0));
        longData[40] = char(0xFF);
        QCOMPARE(wav::parse(longData)->samples.size(), 4);
        QVERIFY(!wav::parse("RIFF\x00\x00\x00\x00WAVEdata"));
    }
};

QTEST_GUILESS_MAIN(TestToneDecoder)
#include "tst_ToneDecoder.moc"
