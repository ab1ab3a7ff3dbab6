#include "core/Cp932.h"
#include "core/IniFile.h"
#include "core/Messages.h"
#include "core/TextFile.h"
#include "link/WavFile.h"
#include "program/ProgramSave.h"
#include "report/ReportPage.h"
#include "support/Fakes.h"
#include "support/TinyDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>

using namespace kr31;

namespace {

// Each kind of file the program writes, through the function that writes it.
using Writer = std::function<bool(const QString &path, QString *error)>;

const QList<QPair<QString, Writer>> &writers()
{
    static const QList<QPair<QString, Writer>> all{
        {"program file", [](const QString &p, QString *e) { return textfile::writeLines(p, {"DD", "16"}, e); }},
        {"set.ini",
         [](const QString &p, QString *) { return IniFile(p).setValue("Wave", "name", "2"); }},
        {"Report.html", [](const QString &p, QString *e) { return report::writePage(p, {"<HTML>", "</HTML>"}, e); }},
        {"WAV", [](const QString &p, QString *e) { return wav::write(p, QByteArray(300, '\x80'), e); }},
        {"transfer sound, not synced",
         [](const QString &p, QString *e) {
             return wav::write(p, QByteArray(300, '\x80'), e, textfile::Durability::Scratch);
         }},
    };
    return all;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

QString fileMode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? QString::number(st.st_mode & 0777, 8) : "-";
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void refusesWhatIsNoSmallRegularFile_data();
    void refusesWhatIsNoSmallRegularFile();
    void readsUpToTheLimit();
    void readingIntoMemoryRefusesAFileThatChanges_data();
    void readingIntoMemoryRefusesAFileThatChanges();
    void iniReadsThroughTheBoundedReader();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void saveReplacesKeepingModeAndLink();
    void charactersTheFileCannotHoldAreRefused_data();
    void charactersTheFileCannotHoldAreRefused();

private:
    QTemporaryDir m_dir;
};

void TestTextFile::refusesWhatIsNoSmallRegularFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");

    const QString fifo = m_dir.filePath("pipe.kr3");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    const QString large = m_dir.filePath("large.kr3");
    QFile file(large);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(textfile::TextLimit + 1)); // sparse: costs nothing

    QTest::newRow("pipe nobody writes to") << fifo << "ふつうのファイルではありません";
    QTest::newRow("endless device") << "/dev/zero" << "ふつうのファイルではありません";
    QTest::newRow("folder") << m_dir.path() << "フォルダー";
    QTest::newRow("one byte over the limit") << large << "大きすぎます";
    QTest::newRow("missing") << m_dir.filePath("nowhere.kr3") << "見つかりません";
}

void TestTextFile::refusesWhatIsNoSmallRegularFile()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);

    QElapsedTimer clock;
    clock.start();
    QString error;
    QVERIFY(!textfile::readLines(path, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    if (!path.endsWith("large.kr3")) { // a WAV may be that large
        QVERIFY(!textfile::readBytes(path, textfile::SoundLimit));
        bool asked = false;
        QVERIFY(!textfile::readBytesInto(path, textfile::SoundLimit, [&](qint64) {
            asked = true;
            return nullptr;
        }));
        QVERIFY2(!asked, "no memory asked for what is refused");
    }
    QVERIFY2(clock.elapsed() < 1000, "refused without reading");
}

void TestTextFile::readsUpToTheLimit()
{
    const QString path = m_dir.filePath("limit.bin");
    QByteArray bytes(4096, 'a');
    bytes += "\r\nb";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QCOMPARE(textfile::readBytes(path, bytes.size()), bytes);
    QVERIFY(!textfile::readBytes(path, bytes.size() - 1));
    QCOMPARE(textfile::readLines(path)->size(), 2);

    // Into the caller's memory: size + 1 bytes are asked for; nothing read
    // when the caller has none.
    QByteArray into;
    const auto read = textfile::readBytesInto(path, bytes.size(), [&](qint64 size) {
        into.resize(size + 1);
        return into.data();
    });
    QCOMPARE(read, std::optional<qint64>(bytes.size()));
    QCOMPARE(into.left(bytes.size()), bytes);
    QString error;
    QVERIFY(!textfile::readBytesInto(path, bytes.size(), [](qint64) { return nullptr; }, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!textfile::readBytesInto(path, bytes.size() - 1, [&](qint64) { return into.data(); }, &error));
    QVERIFY2(error.contains("大きすぎます"), qPrintable(error));
}

// What is read into the caller's memory is the file as it was opened: one
// that grows or shrinks meanwhile is refused, not cut short or run past.
void TestTextFile::readingIntoMemoryRefusesAFileThatChanges_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("left as it was") << 0;
    QTest::newRow("grows") << 1;
    QTest::newRow("shrinks") << -1;
}

void TestTextFile::readingIntoMemoryRefusesAFileThatChanges()
{
    QFETCH(int, change);
    const QString path = m_dir.filePath("changing.bin");
    const QByteArray bytes(1000, 'c');
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QByteArray into;
    const auto read = textfile::readBytesInto(path, 1 << 20, [&](qint64 size) {
        if (change != 0)
            QFile::resize(path, size + change);
        into.resize(size + 2);
        return into.data();
    });
    QCOMPARE(read.has_value(), change == 0);
    if (read)
        QCOMPARE(into.left(*read), bytes);
}

void TestTextFile::iniReadsThroughTheBoundedReader()
{
    bool readError = false;
    QCOMPARE(IniFile("/dev/zero").value("Wave", "name", &readError), std::nullopt);
    QVERIFY(readError);
    QVERIFY(!IniFile(m_dir.path()).setValue("Wave", "name", "1"));
    // A missing file is no error: it reads as empty and is created on write.
    const QString fresh = m_dir.filePath("fresh.ini");
    QCOMPARE(IniFile(fresh).value("Wave", "name", &readError), std::nullopt);
    QVERIFY(!readError);
    QVERIFY(IniFile(fresh).setValue("Wave", "name", "1"));
    QCOMPARE(contents(fresh), QByteArray("[Wave]\r\nname=1\r\n"));
}

void TestTextFile::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("reason");

    for (int w = 0; w < writers().size(); ++w) {
        const QByteArray kind = writers().at(w).first.toUtf8();
        QTest::addRow("%s, full disk", kind.constData()) << w << "full" << "ディスクの空きが足りません";
        QTest::addRow("%s, read-only disk", kind.constData()) << w << "read-only" << "書き込みのできない場所";
        QTest::addRow("%s, missing folder", kind.constData()) << w << "missing" << "見つかりません";
        QTest::addRow("%s, folder in its place", kind.constData()) << w << "folder" << "フォルダー";
        QTest::addRow("%s, pipe in its place", kind.constData()) << w << "pipe" << "装置やパイプ";
        QTest::addRow("%s, link to a pipe", kind.constData()) << w << "link to a pipe" << "装置やパイプ";
    }
}

void TestTextFile::failedSaveKeepsTheOldFile()
{
    QFETCH(int, writer);
    QFETCH(QString, place);
    QFETCH(QString, reason);

    const QByteArray old = "old bytes\r\n";
    test::TinyDisk disk;
    QString path;
    if (place == "full" || place == "read-only") {
        if (!disk.available())
            QSKIP(disk.whyNot());
        disk.put("file", old);
        if (place == "full")
            disk.fill();
        else
            QVERIFY(disk.makeReadOnly());
        path = disk.path("file");
    } else if (place == "missing") {
        path = m_dir.filePath("no/such/folder/file");
    } else if (place == "folder") {
        path = m_dir.filePath("taken");
        QVERIFY(QDir().mkpath(path));
    } else {
        path = m_dir.filePath("pipe");
        QVERIFY(QFileInfo::exists(path) || ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        if (place == "link to a pipe") {
            path = m_dir.filePath("to-pipe");
            QVERIFY(QFileInfo(path).isSymLink() || QFile::link(m_dir.filePath("pipe"), path));
        }
    }

    QString error;
    QVERIFY(!writers().at(writer).second(path, &error));
    if (writer != 1) // set.ini's writer only answers yes or no
        QVERIFY2(error.contains(reason), qPrintable(error));
    if (place == "full" || place == "read-only")
        QCOMPARE(contents(path), old);
    else if (place == "folder")
        QVERIFY(QFileInfo(path).isDir());
    else if (place != "missing")
        QVERIFY(QFileInfo(m_dir.filePath("pipe")).isFile() == false && QFileInfo::exists(m_dir.filePath("pipe")));
    const QStringList left = QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(left.filter(".tmp").isEmpty(), "no half-written file is left behind");
}

void TestTextFile::saveReplacesKeepingModeAndLink()
{
    const QString path = m_dir.filePath("kept.kr3");
    QVERIFY(textfile::writeLines(path, {"LED"}));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    const QString link = m_dir.filePath("link.kr3");
    QVERIFY(QFile::link(path, link));

    QString error;
    QVERIFY2(textfile::writeLines(link, {"DD", "16"}, &error), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("DD\r\n16\r\n"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(fileMode(path), QString("640"));
}

void TestTextFile::charactersTheFileCannotHoldAreRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("kana, kanji, full-width, ①") << "ON(); // ひかる光ＡＢ①～" << QStringList{};
    QTest::newRow("hangul, each once") << "// 한글 한" << QStringList{"한", "글"};
    QTest::newRow("emoji outside the BMP") << "OFF(); // 🎵𠮷" << QStringList{"🎵", "𠮷"};
    QTest::newRow("accents") << "// café ß" << QStringList{"é", "ß"};
}

// Nothing is written with '?' in place of a character: the one write path
// and the program files' save refuse, and the save names the characters.
void TestTextFile::charactersTheFileCannotHoldAreRefused()
{
    QFETCH(QString, text);
    QFETCH(QStringList, refused);
    QCOMPARE(cp932::missing(text), refused);
    const QString path = m_dir.filePath("p.kr3");
    QFile::remove(path);
    QCOMPARE(textfile::writeLines(path, {"WORD", text}), refused.isEmpty());
    QCOMPARE(QFile::exists(path), refused.isEmpty());
    QFile::remove(path);
    test::FakeDialogs dialogs;
    QCOMPARE(writeProgramFile(dialogs, path, {"WORD", text}), refused.isEmpty());
    QCOMPARE(QFile::exists(path), refused.isEmpty());
    if (!refused.isEmpty())
        QCOMPARE(dialogs.warnings, QStringList{msg::unstorable(refused)});
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
