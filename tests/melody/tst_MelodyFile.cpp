#include "core/TextFile.h"
#include "link/WavFile.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "melody/NoteCode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kr31;

Q_DECLARE_METATYPE(kr31::Melody)

namespace {

QStringList repeated(const QString &line, int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines.append(line);
    return lines;
}

// A file's lines around two sections and a link part.
QStringList fileOf(const QStringList &up, const QStringList &down, const QStringList &link)
{
    return QStringList{"MELODY", "UP"} + up + QStringList{"DOWN"} + down + QStringList{"LINK"} + link;
}

QByteArray cycles(int half, int count)
{
    QByteArray one(half, char(0xFF));
    one.append(QByteArray(half, char(0)));
    return one.repeated(count);
}

} // namespace

class TestMelodyFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void packets_data();
    void packets();
    void fileBytes();
    void savedFileReadsBack();
    void reading_data();
    void reading();
    void longVoiceIsCut();
    void tones_data();
    void tones();
    void voiceStreams();
    void mixing();
    void previewFiles();
};

void TestMelodyFile::packets_data()
{
    QTest::addColumn<Melody>("melody");
    QTest::addColumn<QList<int>>("expected");
    const QList<int> empty96(96, 204);

    Melody empty;
    QTest::newRow("empty") << empty << QList<int>{5} + QList<int>(16, 0) + empty96 + empty96;

    Melody linked;
    linked.link = true;
    QTest::newRow("link on, all 100") << linked
                                      << QList<int>{5, 1} + QList<int>(13, 255) + QList<int>{0, 0} + empty96 + empty96;

    Melody values;
    values.link = true;
    values.linkValues = {30, 50, 0, 10, 70, 90, 100, 1, 2, 3, 4, 5, 99};
    values.notes[0] = {60, 123};
    values.notes[1] = {198};
    QTest::newRow("link values, notes")
        << values
        << QList<int>{5, 1, 76, 128, 0, 26, 178, 230, 255, 3, 5, 8, 10, 13, 252, 0, 0, 60, 123} + QList<int>(94, 204) +
               QList<int>{198} + QList<int>(95, 204);

    Melody off = values;
    off.link = false; // the values stay but are not sent
    QTest::newRow("link off") << off
                              << QList<int>{5} + QList<int>(16, 0) + QList<int>{60, 123} + QList<int>(94, 204) +
                                     QList<int>{198} + QList<int>(95, 204);

    Melody full;
    full.notes[0] = QList<int>(95, 84);
    full.notes[1] = QList<int>(95, 85);
    QTest::newRow("full voices") << full
                                 << QList<int>{5} + QList<int>(16, 0) + QList<int>(95, 84) + QList<int>{204} +
                                        QList<int>(95, 85) + QList<int>{204};

    // A voice longer than the lamp takes never pushes the other voice out of place.
    Melody over;
    over.notes[0] = QList<int>(100, 60);
    QTest::newRow("over-long voice") << over
                                     << QList<int>{5} + QList<int>(16, 0) + QList<int>(95, 60) + QList<int>{204} +
                                            empty96;
}

void TestMelodyFile::packets()
{
    QFETCH(Melody, melody);
    QFETCH(QList<int>, expected);
    QCOMPARE(melodyfile::packet(melody), expected);
    QCOMPARE(melodyfile::packet(melody).size(), 209);
}

void TestMelodyFile::fileBytes()
{
    Melody m;
    m.notes[0] = {60, 85};
    m.notes[1] = {175};
    m.link = true;
    m.linkValues[0] = 30;
    m.linkValues[12] = 0;
    QTemporaryDir dir;
    const QString path = dir.filePath("tune.kr3");
    QVERIFY(textfile::writeLines(path, melodyfile::fileLines(m)));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected = "MELODY\r\nUP\r\n60\r\n85\r\n" + QByteArray("204\r\n").repeated(94) + "DOWN\r\n175\r\n" +
                          QByteArray("204\r\n").repeated(95) + "LINK\r\n1\r\n30\r\n" +
                          QByteArray("100\r\n").repeated(11) + "0\r\n";
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(melodyfile::fileLines(m).size(), 210);
    // The same melody saved twice gives the same file.
    QCOMPARE(textfile::encodeLines(melodyfile::fileLines(m)), expected);
}

void TestMelodyFile::savedFileReadsBack()
{
    Melody m;
    m.notes[0] = QList<int>(95, 62);
    m.notes[1] = {48, 123, 199};
    m.link = true;
    m.linkValues = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 55, 45};
    const melodyfile::ReadResult read = melodyfile::readLines(melodyfile::fileLines(m));
    QCOMPARE(read.status, melodyfile::ReadResult::Ok);
    Melody expected = m;
    expected.end = {70 + 95 * 18, 70 + 18 + 36 + 72};
    QCOMPARE(read.melody, expected);
}

void TestMelodyFile::reading_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("up");
    QTest::addColumn<QList<int>>("down");
    QTest::addColumn<bool>("link");
    QTest::addColumn<QList<int>>("values"); // the first three link values
    const QList<int> base{7, 8, 9};          // the editor's values before opening
    const QStringList on{"1", "30", "150", "-5"};

    QTest::newRow("204 in the middle") << fileOf({"60", "204", "62"}, {"85"}, {"0"}) << 0 << QList<int>{60}
                                       << QList<int>{85} << false << base;
    QTest::newRow("link on, values kept in range") << fileOf({}, {}, on) << 0 << QList<int>{} << QList<int>{}
                                                   << true << QList<int>{30, 100, 0};
    QTest::newRow("any other switch text is on") << fileOf({}, {}, {"x"}) << 0 << QList<int>{} << QList<int>{}
                                                 << true << base;
    QTest::newRow("no link section") << QStringList{"MELODY", "UP", "60", "DOWN", "61"} << 0 << QList<int>{60}
                                     << QList<int>{61} << false << base;
    QTest::newRow("the last UP counts") << QStringList{"MELODY", "UP", "60", "UP", "64", "DOWN", "65"} << 0
                                        << QList<int>{64} << QList<int>{65} << false << base;
    QTest::newRow("sections in another order") << QStringList{"MELODY", "DOWN", "61", "UP", "60"} << 0
                                                << QList<int>{60} << QList<int>{61} << false << base;
    QTest::newRow("only a marker") << QStringList{"MELODY"} << 0 << QList<int>{} << QList<int>{} << false << base;
    QTest::newRow("other editor's file") << QStringList{"LED", "16"} << 2 << QList<int>{} << QList<int>{} << false
                                         << base;
    QTest::newRow("marker with a blank") << QStringList{"MELODY ", "UP", "60"} << 2 << QList<int>{} << QList<int>{}
                                         << false << base;
    QTest::newRow("empty file") << QStringList{} << 1 << QList<int>{} << QList<int>{} << false << base;
    QTest::newRow("code no number") << fileOf({"60", "do"}, {"61"}, {"0"}) << 3 << QList<int>{60} << QList<int>{}
                                    << false << base;
    QTest::newRow("code beyond a byte") << fileOf({"300"}, {}, {"0"}) << 3 << QList<int>{} << QList<int>{} << false
                                        << base;
    QTest::newRow("link value no number") << fileOf({"60"}, {}, {"1", "50", "half"}) << 3 << QList<int>{60}
                                          << QList<int>{} << true << QList<int>{50, 8, 9};
    QTest::newRow("14 link values") << fileOf({}, {}, QStringList{"1"} + repeated("20", 14)) << 3 << QList<int>{}
                                    << QList<int>{} << true << QList<int>{20, 20, 20};
}

void TestMelodyFile::reading()
{
    QFETCH(QStringList, lines);
    QFETCH(int, status);
    QFETCH(QList<int>, up);
    QFETCH(QList<int>, down);
    QFETCH(bool, link);
    QFETCH(QList<int>, values);
    Melody base;
    base.notes[0] = {99};
    base.end = {500, 500};
    base.linkValues[0] = 7;
    base.linkValues[1] = 8;
    base.linkValues[2] = 9;
    const melodyfile::ReadResult read = melodyfile::readLines(lines, base);
    QCOMPARE(int(read.status), status);
    if (read.status == melodyfile::ReadResult::OtherStep || read.status == melodyfile::ReadResult::Unreadable)
        return;
    QCOMPARE(read.melody.notes[0], up);
    QCOMPARE(read.melody.notes[1], down);
    QCOMPARE(read.melody.link, link);
    QCOMPARE((QList<int>{read.melody.linkValues[0], read.melody.linkValues[1], read.melody.linkValues[2]}), values);
    QCOMPARE(read.melody.end[0], read.melody.lastPosition(0));
    QCOMPARE(read.melody.end[1], read.melody.lastPosition(1));
    QVERIFY(read.cutVoices.isEmpty());
}

void TestMelodyFile::longVoiceIsCut()
{
    const melodyfile::ReadResult read = melodyfile::readLines(fileOf(repeated("60", 100), repeated("61", 95), {"0"}));
    QCOMPARE(read.status, melodyfile::ReadResult::Ok);
    QCOMPARE(read.melody.notes[0], QList<int>(95, 60));
    QCOMPARE(read.melody.notes[1], QList<int>(95, 61));
    QCOMPARE(read.cutVoices, QList<int>{0});
}

void TestMelodyFile::tones_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("samples");
    QTest::newRow("C3 eighth") << 48 << cycles(183, 33);
    QTest::newRow("C3 half") << 162 << cycles(183, 131);
    QTest::newRow("C4 eighth") << 60 << cycles(92, 66);
    QTest::newRow("A4 eighth") << 69 << cycles(55, 111);
    QTest::newRow("A4 half") << 183 << cycles(55, 440);
    QTest::newRow("C6 eighth") << 84 << cycles(23, 263);
    QTest::newRow("C6 half") << 198 << cycles(23, 1047);
    QTest::newRow("eighth rest") << 85 << QByteArray(10100, 0);
    QTest::newRow("half rest") << 199 << QByteArray(10100, 0);
    QTest::newRow("empty slot") << 204 << QByteArray(10100, 0);
}

void TestMelodyFile::tones()
{
    QFETCH(int, code);
    QFETCH(QByteArray, samples);
    QCOMPARE(preview::tone(code), samples);
}

void TestMelodyFile::voiceStreams()
{
    QCOMPARE(preview::voiceStream({123}), QByteArray(10100, 0)); // a rest gets no gap
    QCOMPARE(preview::voiceStream({48}), cycles(183, 33) + QByteArray(930, 0));
    QCOMPARE(preview::voiceStream({48, 85, 84}),
             cycles(183, 33) + QByteArray(930 + 10100, 0) + cycles(23, 263) + QByteArray(930, 0));
    QCOMPARE(preview::voiceStream({}), QByteArray());
}

void TestMelodyFile::mixing()
{
    const QByteArray upper("\xFF\xFF\x00\x00\xFF", 5);
    const QByteArray lower("\xFF\x00\xFF\x00", 4);
    // Both high, one high, one high, both low; then the longer alone at full level.
    const QByteArray mixed("\xFF\x7F\x7F\x00\xFF", 5);
    QCOMPARE(preview::mix(upper, lower), mixed);
    QCOMPARE(preview::mix(lower, upper), mixed);
    QCOMPARE(preview::mix(upper, {}), upper);
}

void TestMelodyFile::previewFiles()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    Melody m;
    QVERIFY(preview::writeVoiceFiles(m, folder));
    QVERIFY(QDir(folder).isEmpty());
    m.notes[1] = {86, 123};
    QVERIFY(preview::writeVoiceFiles(m, folder));
    QVERIFY(!QFile::exists(folder + "UP.WAV"));
    QFile down(folder + "DOWN.WAV");
    QVERIFY(down.open(QIODevice::ReadOnly));
    QCOMPARE(down.readAll(), wav::fileBytes(cycles(183, 66) + QByteArray(930 + 10100, 0)));
    QString error;
    QVERIFY(!preview::writeVoiceFiles(m, folder + "missing/", &error));
    QVERIFY(error.contains("DOWN.WAV"));
}

QTEST_GUILESS_MAIN(TestMelodyFile)
#include "tst_MelodyFile.moc"
