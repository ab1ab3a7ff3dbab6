#include "core/IniFile.h"
#include "core/Settings.h"
#include "core/WorkFolder.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <chrono>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>

using namespace kr31;
using namespace std::chrono_literals;

namespace {

timespec modificationTime(const QString &path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

bool setModificationTime(const QString &path, timespec when)
{
    const timespec times[2] = {when, when};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

// An hour before now: far outside the window in which a change is read again at every use.
timespec anHourAgo()
{
    return {time(nullptr) - 3600, 0};
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        IniFile::setRecentChangeWindow(50ms);
        IniFile::setFolderWatch(true);
    }

    void workFolderPath_data()
    {
        QTest::addColumn<QString>("personal");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no trailing separator") << "/home/a/Documents" << "/home/a/Documents/KR-31Temp/";
        QTest::newRow("trailing separator") << "/home/a/Documents/" << "/home/a/Documents/KR-31Temp/";
        QTest::newRow("root") << "/" << "/KR-31Temp/";
    }
    void workFolderPath()
    {
        QFETCH(QString, personal);
        QFETCH(QString, expected);
        QCOMPARE(workfolder::pathIn(personal), expected);
    }

    void workFolderIsCreatedAgainAfterDeletion()
    {
        test::TempHome home;
        const QString folder = workfolder::path();
        QVERIFY(folder.endsWith(QLatin1String("/KR-31Temp/")));
        QVERIFY(folder.startsWith(home.home()));
        QVERIFY(QDir(folder).exists());
        // The documents folder goes too: every missing parent comes back.
        QVERIFY(QDir(workfolder::personalFolder()).removeRecursively());
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(workfolder::path(), folder);
        QVERIFY(QDir(folder).exists());
    }

    void defaultsWithoutFile()
    {
        test::TempHome home;
        Settings settings;
        QCOMPARE(settings.waveMode(), 0);
        QCOMPARE(settings.wizardStart(), 1);
        QCOMPARE(settings.commandNames(), Settings::defaultCommandNames());
        QCOMPARE(settings.commandName(3), QStringLiteral("Bright"));
        QVERIFY(!settings.unreadable());
    }

    void readsFromFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("wizard");
        QTest::newRow("plain") << QByteArray("[Wave]\r\nname=2\r\n[Wizard]\r\nStart=0\r\n") << 2 << 0;
        QTest::newRow("case-insensitive names") << QByteArray("[wave]\r\nNAME=3\r\n[WIZARD]\r\nstart=0\r\n") << 3 << 0;
        QTest::newRow("blanks trimmed, LF only") << QByteArray("  [ Wave ]  \nname =  1 \n") << 1 << 1;
        QTest::newRow("not an integer") << QByteArray("[Wave]\r\nname=x\r\n[Wizard]\r\nStart=yes\r\n") << 0 << 1;
        QTest::newRow("mode out of range") << QByteArray("[Wave]\r\nname=7\r\n") << 0 << 1;
        QTest::newRow("negative mode") << QByteArray("[Wave]\r\nname=-1\r\n") << 0 << 1;
        QTest::newRow("key in another section") << QByteArray("[Other]\r\nname=2\r\n") << 0 << 1;
        QTest::newRow("comment line") << QByteArray("[Wave]\r\n;name=2\r\n") << 0 << 1;
        QTest::newRow("empty file") << QByteArray() << 0 << 1;
        QTest::newRow("garbled bytes") << QByteArray("\x00\xff\x81[\x9f\r\n=\x00==\r\n[Wave\r\n", 21) << 0 << 1;
        QTest::newRow("first of two sections") << QByteArray("[Wave]\r\nname=1\r\n[Wave]\r\nname=2\r\n") << 1 << 1;
        QTest::newRow("first of two keys") << QByteArray("[Wave]\r\nname=3\r\nName=2\r\n") << 3 << 1;
    }
    void readsFromFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, mode);
        QFETCH(int, wizard);
        test::TempHome home;
        home.writeWorkFile(QStringLiteral("set.ini"), content);
        Settings settings;
        QCOMPARE(settings.waveMode(), mode);
        QCOMPARE(settings.wizardStart(), wizard);
    }

    void readsCodePage932Names()
    {
        test::TempHome home;
        // "[Command]", "1=点灯", "12=おわり" in code page 932
        home.writeWorkFile(QStringLiteral("set.ini"),
                           QByteArray("[Command]\r\n1=\x93\x5f\x93\x94\r\n12=\x82\xa8\x82\xed\x82\xe8\r\n"));
        Settings settings;
        QCOMPARE(settings.commandName(1), QStringLiteral("点灯"));
        QCOMPARE(settings.commandName(12), QStringLiteral("おわり"));
        QCOMPARE(settings.commandName(2), QStringLiteral("OFF"));
    }

    void writeKeepsOtherLinesByteForByte()
    {
        test::TempHome home;
        const QByteArray before("; my notes \x93\x5f\r\n[Wave]\r\nname=1\r\nother = kept \r\n\r\n[Extra]\r\nx=\x82\xa0\r\n");
        home.writeWorkFile(QStringLiteral("set.ini"), before);
        Settings settings;
        QVERIFY(settings.setWaveMode(3));
        QCOMPARE(home.readWorkFile(QStringLiteral("set.ini")),
                 QByteArray("; my notes \x93\x5f\r\n[Wave]\r\nname=3\r\nother = kept \r\n\r\n[Extra]\r\nx=\x82\xa0\r\n"));
        QCOMPARE(settings.waveMode(), 3);
    }

    void writeAddsKeyAtEndOfItsSection()
    {
        test::TempHome home;
        home.writeWorkFile(QStringLiteral("set.ini"), "[wizard]\r\nA=1\r\n\r\n[Wave]\r\nname=2\r\n");
        Settings settings;
        QVERIFY(settings.setWizardStart(0));
        QCOMPARE(home.readWorkFile(QStringLiteral("set.ini")),
                 QByteArray("[wizard]\r\nA=1\r\nStart=0\r\n\r\n[Wave]\r\nname=2\r\n"));
    }

    void writeCreatesFileAndSections()
    {
        test::TempHome home;
        Settings settings;
        QVERIFY(settings.setWaveMode(2));
        QVERIFY(settings.setWizardStart(0));
        QCOMPARE(home.readWorkFile(QStringLiteral("set.ini")),
                 QByteArray("[Wave]\r\nname=2\r\n\r\n[Wizard]\r\nStart=0\r\n"));
    }

    void commandNamesRoundTripInCodePage932()
    {
        test::TempHome home;
        Settings settings;
        QStringList names = Settings::defaultCommandNames();
        names[0] = QStringLiteral("てんとう");
        names[11] = QStringLiteral("ストップ");
        QVERIFY(settings.setCommandNames(names));
        QCOMPARE(settings.commandNames(), names);
        QVERIFY(home.readWorkFile(QStringLiteral("set.ini")).contains("1=\x82\xc4\x82\xf1\x82\xc6\x82\xa4\r\n"));
    }

    void changeByHandAppliesAtNextRead()
    {
        test::TempHome home;
        Settings settings;
        QCOMPARE(settings.waveMode(), 0);
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=1\r\n");
        QCOMPARE(settings.waveMode(), 1);
    }

    void unchangedFileIsReadOnce()
    {
        test::TempHome home;
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=2\r\n[Wizard]\r\nStart=0\r\n");
        QVERIFY(setModificationTime(home.workFolder() + "set.ini", anHourAgo()));
        IniFile::setRecentChangeWindow(0ns); // the file's change time is a moment ago
        Settings settings;
        const quint64 before = IniFile::fileReads();
        for (int i = 0; i < 300; ++i) {
            QCOMPARE(settings.waveMode(), 2);
            QCOMPARE(settings.wizardStart(), 0);
        }
        QCOMPARE(IniFile::fileReads() - before, quint64(1));
        // A write of our own is read back once.
        QVERIFY(settings.setWaveMode(1));
        for (int i = 0; i < 300; ++i)
            QCOMPARE(settings.waveMode(), 1);
        QCOMPARE(IniFile::fileReads() - before, quint64(2));
    }

    // What was kept is used only while the file stays the same file with the
    // same size and times; every other change is seen at the next read.
    void changeByAnotherProgramIsSeen_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("watched"); // the folder watched, or the file compared at every call
        for (const bool watched : {true, false}) {
            const char *how = watched ? "watched" : "stat";
            QTest::addRow("%s: removed", how) << "remove" << 0 << watched;
            QTest::addRow("%s: other size", how) << "other size" << 3 << watched;
            QTest::addRow("%s: same size, rewritten in place", how) << "in place" << 2 << watched;
            QTest::addRow("%s: same size and times, another file renamed over it", how) << "replace" << 2 << watched;
            QTest::addRow("%s: the folder renamed, another put in its place", how) << "new folder" << 3 << watched;
        }
    }
    void changeByAnotherProgramIsSeen()
    {
        QFETCH(QString, change);
        QFETCH(int, mode);
        QFETCH(bool, watched);
        test::TempHome home;
        const QString path = home.workFolder() + "set.ini";
        std::optional<IniFile::FolderWatch> watch;
        if (watched)
            watch.emplace(IniFile(path));
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=1\r\n");
        const timespec old = anHourAgo();
        QVERIFY(setModificationTime(path, old));
        IniFile::setRecentChangeWindow(0ns);
        Settings settings;
        QCOMPARE(settings.waveMode(), 1);
        if (change == "remove") {
            QVERIFY(QFile::remove(path));
        } else if (change == "other size") {
            home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname = 3\r\n");
        } else if (change == "in place") {
            home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=2\r\n");
        } else if (change == "new folder") {
            const QString folder = home.workFolder().chopped(1);
            QVERIFY(QDir().rename(folder, folder + "-old"));
            home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=3\r\n");
            QVERIFY(setModificationTime(path, old));
        } else {
            home.writeWorkFile(QStringLiteral("new.ini"), "[Wave]\r\nname=2\r\n");
            QVERIFY(setModificationTime(home.workFolder() + "new.ini", old));
            QVERIFY(::rename(QFile::encodeName(home.workFolder() + "new.ini").constData(),
                             QFile::encodeName(path).constData()) == 0);
        }
        QCOMPARE(settings.waveMode(), mode);
    }

    // A change within the same tick of the file system's clock as the last
    // reading can leave size and times as they were: such a file is read again.
    void changeRightAfterReadingIsSeen_data()
    {
        QTest::addColumn<bool>("watched");
        QTest::newRow("watched") << true;
        QTest::newRow("stat") << false;
    }
    void changeRightAfterReadingIsSeen()
    {
        QFETCH(bool, watched);
        test::TempHome home;
        const QString path = home.workFolder() + "set.ini";
        std::optional<IniFile::FolderWatch> watch;
        if (watched)
            watch.emplace(IniFile(path));
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=1\r\n");
        Settings settings;
        QCOMPARE(settings.waveMode(), 1);
        const timespec modified = modificationTime(path);
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=3\r\n");
        QVERIFY(setModificationTime(path, modified));
        QCOMPARE(settings.waveMode(), 3);
    }

    // Files written beside set.ini (the transfer sound, saved programs) do
    // not make it read again.
    void otherFilesOfTheFolderLeaveItKept()
    {
        test::TempHome home;
        const IniFile::FolderWatch watch(IniFile(home.workFolder() + "set.ini"));
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=2\r\n");
        QVERIFY(setModificationTime(home.workFolder() + "set.ini", anHourAgo()));
        Settings settings;
        QCOMPARE(settings.waveMode(), 2);
        const quint64 before = IniFile::fileReads();
        for (int i = 0; i < 20; ++i) {
            home.writeWorkFile(QStringLiteral("Creat.WAV"), QByteArray(100 + i, 'x'));
            QCOMPARE(settings.waveMode(), 2);
        }
        QCOMPARE(IniFile::fileReads(), before);
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=1\r\n");
        QCOMPARE(settings.waveMode(), 1);
    }

    // Once the last watch of a folder ends, its files are compared with
    // stat() again, and a change is still seen.
    void changeAfterTheWatchEndedIsSeen()
    {
        test::TempHome home;
        const QString path = home.workFolder() + "set.ini";
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=1\r\n");
        QVERIFY(setModificationTime(path, anHourAgo()));
        Settings settings;
        {
            const IniFile::FolderWatch outer(IniFile{path});
            {
                const IniFile::FolderWatch inner(IniFile{path});
                QCOMPARE(settings.waveMode(), 1);
            }
            // The outer one still watches.
            home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=2\r\n");
            QVERIFY(setModificationTime(path, anHourAgo()));
            QCOMPARE(settings.waveMode(), 2);
        }
        home.writeWorkFile(QStringLiteral("set.ini"), "[Wave]\r\nname=3\r\n");
        QCOMPARE(settings.waveMode(), 3);
    }

    void unwritableFileReportsFailure()
    {
        test::TempHome home;
        // A folder where the file should be: no write can succeed, even as root.
        QVERIFY(QDir().mkpath(home.workFolder() + "set.ini"));
        Settings settings;
        QVERIFY(!settings.setWaveMode(2));
        QVERIFY(!settings.setCommandNames(Settings::defaultCommandNames()));
        QCOMPARE(settings.waveMode(), 0);
        QVERIFY(settings.unreadable());
    }

    void colours_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rgb");
        QTest::newRow("name") << "clGreen" << 0x008000;
        QTest::newRow("name any case") << "CLRED" << 0xFF0000;
        QTest::newRow("decimal BGR") << "255" << 0xFF0000;
        QTest::newRow("hex BGR") << "$00FF0000" << 0x0000FF;
        QTest::newRow("C hex") << "0x00FF00" << 0x00FF00;
        QTest::newRow("garbage") << "green" << -1;
        QTest::newRow("too large") << "$1000000" << -1;
    }
    void colours()
    {
        QFETCH(QString, text);
        QFETCH(int, rgb);
        const auto colour = parseColour(text);
        QCOMPARE(colour ? int(*colour) : -1, rgb);
    }

    void commentColoursFile()
    {
        test::TempHome home;
        QCOMPARE(readCommentColours(home.workFolder()).text, quint32(0x008000));
        QCOMPARE(readCommentColours(home.workFolder()).background, quint32(0xFFFFFF));
        QDir(home.workFolder()).mkpath(QStringLiteral("Data"));
        home.writeWorkFile(QStringLiteral("Data/set.ini"), "[coment]\r\ncolor=clBlue\r\n[back]\r\ncolor=nonsense\r\n");
        const CommentColours c = readCommentColours(home.workFolder());
        QCOMPARE(c.text, quint32(0x0000FF));
        QCOMPARE(c.background, quint32(0xFFFFFF));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
