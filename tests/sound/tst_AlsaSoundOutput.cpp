#include "sound/AlsaLibrary.h"
#include "sound/AlsaSoundOutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <alsa/asoundlib.h>
#include <sys/stat.h>

using kr31::AlsaSoundOutput;

namespace {

QByteArray chunk(const char *id, const QByteArray &body, quint32 declaredSize)
{
    QByteArray out(id, 4);
    out += QByteArray(4, '\0');
    qToLittleEndian<quint32>(declaredSize, out.data() + 4);
    return out + body;
}

QByteArray fmtChunk(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    QByteArray body(16, '\0');
    const quint16 blockAlign = channels * bits / 8;
    qToLittleEndian<quint16>(format, body.data());
    qToLittleEndian<quint16>(channels, body.data() + 2);
    qToLittleEndian<quint32>(rate, body.data() + 4);
    qToLittleEndian<quint32>(rate * blockAlign, body.data() + 8);
    qToLittleEndian<quint16>(blockAlign, body.data() + 12);
    qToLittleEndian<quint16>(bits, body.data() + 14);
    return chunk("fmt ", body, 16);
}

QByteArray riff(const QByteArray &chunks)
{
    return chunk("RIFF", "WAVE" + chunks, quint32(chunks.size() + 4));
}

QByteArray wav(const QByteArray &samples, quint16 format = 1, quint16 channels = 1, quint32 rate = 48000,
               quint16 bits = 8)
{
    return riff(fmtChunk(format, channels, rate, bits) + chunk("data", samples, samples.size()));
}

QByteArray pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + i / 256) & 0xff);
    return out;
}

} // namespace

class TestAlsaSoundOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void playsTheExactSamples_data();
    void playsTheExactSamples();
    void refusesOtherFiles_data();
    void refusesOtherFiles();
    void missingFileFails();
    void mixerStepsWithoutMixerDoNothing_data();
    void mixerStepsWithoutMixerDoNothing();
    void notedStateAsLines_data();
    void notedStateAsLines();
    void unusableDeviceFailsQuickly_data();
    void unusableDeviceFailsQuickly();
    void stalledDeviceIsReported_data();
    void stalledDeviceIsReported();
    void libraryIsLoadedWhenFirstNeeded_data();
    void libraryIsLoadedWhenFirstNeeded();

private:
    // ALSA caches its configuration per process; dropping the cache makes the
    // next call read the file named by ALSA_CONFIG_PATH afresh.
    void useConfig(const QByteArray &text);
    QString writeFile(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
    QString m_played;
    QByteArray m_fileConfig;
    int m_configCount = 0;
};

void TestAlsaSoundOutput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_played = m_dir.filePath(QStringLiteral("played.raw"));
    m_fileConfig = "pcm.!default {\n"
                   "    type file\n"
                   "    slave.pcm { type null }\n"
                   "    file \"" + QFile::encodeName(m_played) + "\"\n"
                   "    format \"raw\"\n"
                   "}\n";
    useConfig(m_fileConfig);
}

void TestAlsaSoundOutput::init()
{
    QFile::remove(m_played);
}

void TestAlsaSoundOutput::useConfig(const QByteArray &text)
{
    const QString path = writeFile(QStringLiteral("asound%1.conf").arg(++m_configCount), text);
    qputenv("ALSA_CONFIG_PATH", QFile::encodeName(path));
    snd_config_update_free_global();
}

QString TestAlsaSoundOutput::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestAlsaSoundOutput::playsTheExactSamples_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray samples = pattern(4800);
    QTest::newRow("44-byte header") << wav(samples) << samples;
    QTest::newRow("one sample") << wav("\x80") << QByteArray("\x80");
    QTest::newRow("two seconds") << wav(pattern(96000)) << pattern(96000);
    QTest::newRow("data size beyond the file")
        << riff(fmtChunk(1, 1, 48000, 8) + chunk("data", samples, 1'000'000)) << samples;
    QTest::newRow("odd extra chunk before data")
        << riff(fmtChunk(1, 1, 48000, 8) + chunk("LIST", QByteArray("abc\0", 4), 3)
                + chunk("data", samples, samples.size()))
        << samples;
}

void TestAlsaSoundOutput::playsTheExactSamples()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, expected);

    AlsaSoundOutput out;
    QString error;
    QVERIFY2(out.play(writeFile(QStringLiteral("sound.wav"), file), &error), qPrintable(error));
    QFile played(m_played);
    QVERIFY(played.open(QIODevice::ReadOnly));
    QCOMPARE(played.readAll(), expected);
}

void TestAlsaSoundOutput::refusesOtherFiles_data()
{
    QTest::addColumn<QByteArray>("file");

    const QByteArray samples = pattern(480);
    QTest::newRow("text") << QByteArray("this is not a sound\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("cut inside the header") << wav(samples).left(30);
    QTest::newRow("RIFF but not WAVE") << chunk("RIFF", "AVI " + samples, samples.size() + 4);
    QTest::newRow("stereo") << wav(samples, 1, 2);
    QTest::newRow("16 bit") << wav(samples, 1, 1, 48000, 16);
    QTest::newRow("44100 Hz") << wav(samples, 1, 1, 44100);
    QTest::newRow("float") << wav(samples, 3);
    QTest::newRow("no data chunk") << riff(fmtChunk(1, 1, 48000, 8));
    QTest::newRow("data before fmt") << riff(chunk("data", samples, samples.size()) + fmtChunk(1, 1, 48000, 8));
}

void TestAlsaSoundOutput::refusesOtherFiles()
{
    QFETCH(QByteArray, file);

    const QString path = writeFile(QStringLiteral("bad.wav"), file);
    AlsaSoundOutput out;
    QString error;
    QVERIFY(!out.play(path, &error));
    QVERIFY(error.contains(path));
    QVERIFY(error.contains(QStringLiteral("形式")));
    QVERIFY(!out.play(path, nullptr));
    QVERIFY2(!QFile::exists(m_played), "the device must not be touched");
}

void TestAlsaSoundOutput::missingFileFails()
{
    const QString path = m_dir.filePath(QStringLiteral("nowhere.wav"));
    AlsaSoundOutput out;
    QString error;
    QVERIFY(!out.play(path, &error));
    QVERIFY(error.contains(path));
    QVERIFY(!QFile::exists(m_played));
}

void TestAlsaSoundOutput::mixerStepsWithoutMixerDoNothing_data()
{
    QTest::addColumn<int>("noting");
    QTest::newRow("noted at once") << 0;
    QTest::newRow("noted on another thread") << 1;
}

void TestAlsaSoundOutput::mixerStepsWithoutMixerDoNothing()
{
    QFETCH(int, noting);
    AlsaSoundOutput neverNoted;
    neverNoted.restore(true);
    QVERIFY(neverNoted.notedState().isEmpty());
    {
        // Gone while it may still be noting.
        AlsaSoundOutput leaving;
        leaving.noteStateMeanwhile();
    }

    AlsaSoundOutput out;
    if (noting == 0)
        out.noteState();
    else
        out.noteStateMeanwhile();
    out.prepare();
    out.silence();
    out.restore(false);
    out.restore(true);
    QCOMPARE(out.notedState(), QStringList({"alsa speakers - 50 -", "alsa wave - 50 -"}));

    QString error;
    QVERIFY2(out.play(writeFile(QStringLiteral("after.wav"), wav("\x01\x02")), &error), qPrintable(error));
}

// The lines come back to the same values, to the last bit; what another
// output wrote, or a broken line, is refused before the mixer is touched.
void TestAlsaSoundOutput::notedStateAsLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("restoredWithoutMixer"); // nothing to set, so nothing missing
    QTest::newRow("exact values") << QStringList{"alsa speakers 33.333333333333336 12.5 1", "alsa wave 100 50 0"}
                                  << true << false;
    QTest::newRow("lines without controls") << QStringList{"alsa speakers - 50 -", "alsa wave - 0 -"} << true << true;
    QTest::newRow("another output's") << QStringList{"pulse sink 0 40"} << false << false;
    QTest::newRow("volume over 100") << QStringList{"alsa speakers 150 50 0", "alsa wave - 50 -"} << false << false;
    QTest::newRow("lines swapped") << QStringList{"alsa wave - 50 -", "alsa speakers - 50 -"} << false << false;
    QTest::newRow("mute not a switch") << QStringList{"alsa speakers - 50 2", "alsa wave - 50 -"} << false << false;
}

void TestAlsaSoundOutput::notedStateAsLines()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, valid);
    QFETCH(bool, restoredWithoutMixer);
    const auto states = AlsaSoundOutput::statesOfLines(lines);
    QCOMPARE(states.has_value(), valid);
    if (states)
        QCOMPARE(AlsaSoundOutput::stateLines(states->first, states->second), lines);
    AlsaSoundOutput out;
    QCOMPARE(out.restoreNoted(lines), restoredWithoutMixer);
    // Taken as the noted state of this run: what restore() puts back.
    QCOMPARE(out.adoptNoted(lines), valid);
    QCOMPARE(out.notedState(), valid ? lines : QStringList());
}

void TestAlsaSoundOutput::unusableDeviceFailsQuickly_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("reason");

    const QString noDevice = QStringLiteral("音を出す装置が見つかりません。");
    QTest::newRow("no default defined") << QByteArray("pcm.other { type null }\n") << noDevice;
    QTest::newRow("default on a missing card") << QByteArray("pcm.!default { type hw card 9 device 0 }\n")
                                               << noDevice;
    QTest::newRow("card number out of range") << QByteArray("pcm.!default { type hw card 57 device 0 }\n")
                                              << QStringLiteral("音を出す装置でエラーが起きました。");
    QTest::newRow("default of an unknown type") << QByteArray("pcm.!default { type nosuchplugin }\n") << noDevice;
}

void TestAlsaSoundOutput::unusableDeviceFailsQuickly()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, reason);

    const QString path = writeFile(QStringLiteral("sound.wav"), wav(pattern(48000)));
    useConfig(config);
    AlsaSoundOutput out;
    QString error;
    QElapsedTimer clock;
    clock.start();
    const bool played = out.play(path, &error);
    const qint64 elapsed = clock.elapsed();
    useConfig(m_fileConfig);

    QVERIFY(!played);
    QVERIFY(elapsed < 1000);
    QVERIFY(error.startsWith(QStringLiteral("音を再生できませんでした。")));
    const QStringList lines = error.split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(1), QStringLiteral("（理由: ") + reason + QStringLiteral("）"));
}

void TestAlsaSoundOutput::stalledDeviceIsReported_data()
{
    QTest::addColumn<int>("marginMs");
    QTest::addColumn<int>("stallMs");
    QTest::addColumn<int>("afterMs"); // the least time before the answer
    QTest::addColumn<QString>("reason");
    QTest::newRow("at the deadline") << 300 << 2000 << 400 << "決められた時間内に再生が終わりませんでした。";
    QTest::newRow("after the stall time") << 5000 << 300 << 300 << kr31::msg::SoundStalled;
}

void TestAlsaSoundOutput::stalledDeviceIsReported()
{
    // A device that opens but never takes data: its output is a pipe nobody
    // reads, so libasound blocks inside the set-up and never returns.
    const QString fifo = m_dir.filePath(QStringLiteral("stalled.fifo"));
    QVERIFY(QFileInfo(fifo).exists() || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    const QString path = writeFile(QStringLiteral("short.wav"), wav(pattern(4800))); // 100 ms
    useConfig("pcm.!default {\n    type file\n    slave.pcm { type null }\n"
              "    file \"" + QFile::encodeName(fifo) + "\"\n    format \"raw\"\n}\n");
    QFETCH(int, marginMs);
    QFETCH(int, stallMs);
    QFETCH(int, afterMs);
    QFETCH(QString, reason);
    AlsaSoundOutput out(marginMs, stallMs);
    QString error;
    QElapsedTimer clock;
    clock.start();
    const bool played = out.play(path, &error);
    const qint64 elapsed = clock.elapsed();

    QVERIFY(!played);
    QVERIFY2(elapsed >= afterMs && elapsed < afterMs + 1100, qPrintable(QString::number(elapsed)));
    QCOMPARE(error, kr31::msg::cannotPlay(reason));
    // The stalled playback stays behind, blocked, until the test ends; the
    // configuration is not swapped under it.
}

QTEST_GUILESS_MAIN(TestAlsaSoundOutput)
// ALSA's library comes with every function the program calls; a file that is
// missing, or is not ALSA's, is refused with the reason.
void TestAlsaSoundOutput::libraryIsLoadedWhenFirstNeeded_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<QString>("why"); // a part of the reason
    QTest::newRow("ALSA's") << QByteArray("libasound.so.2") << true << QString();
    QTest::newRow("missing") << QByteArray("libkr31-no-such-sound.so.2") << false << "libkr31-no-such-sound.so.2";
    QTest::newRow("another library") << QByteArray("libz.so.1") << false << "snd_";
}

void TestAlsaSoundOutput::libraryIsLoadedWhenFirstNeeded()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QFETCH(QString, why);
    QString told;
    const kr31::AlsaLibrary *library = kr31::loadAlsaLibrary(file.constData(), &told);
    QCOMPARE(library != nullptr, loads);
    QVERIFY2(told.contains(why), qPrintable(told));
    if (library) {
        QVERIFY(library->snd_pcm_open && library->snd_mixer_selem_id_sizeof && library->snd_pcm_writei);
        QCOMPARE(library->snd_mixer_selem_id_sizeof(), snd_mixer_selem_id_sizeof());
    }
    QVERIFY(kr31::alsa());
}

#include "tst_AlsaSoundOutput.moc"
