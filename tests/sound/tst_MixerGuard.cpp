#include "core/TextFile.h"
#include "sound/MixerGuard.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace kr31;

namespace {

// Records its steps; notes `lines` and takes back only lines of its own kind.
struct RecordingOutput : SoundOutput
{
    QStringList calls;
    QStringList lines{"fake user"};
    void noteState() override { calls << "note"; }
    void prepare() override { calls << "prepare"; }
    void silence() override { calls << "silence"; }
    void restore(bool atExit) override { calls << (atExit ? "restore at exit" : "restore"); }
    bool play(const QString &, QString *) override { return true; }
    QStringList notedState() const override { return lines; }
    bool restoreNoted(const QStringList &noted) override
    {
        calls << "put back " + noted.join(u'|');
        return noted.value(0).startsWith("fake");
    }
    bool adoptNoted(const QStringList &noted) override
    {
        calls << "adopt " + noted.join(u'|');
        return noted.value(0).startsWith("fake");
    }
};

QByteArray readFile(const QString &path)
{
    return textfile::readBytes(path, 4096).value_or("(none)");
}

} // namespace

class TestMixerGuard : public QObject
{
    Q_OBJECT
    // A process of this same program, running until the tests end, as another kr31 would.
    static pid_t twin()
    {
        static const pid_t pid = [] {
            const pid_t child = fork();
            if (child == 0)
                for (;;)
                    pause();
            return child;
        }();
        return pid;
    }

private slots:
    void cleanupTestCase()
    {
        kill(twin(), SIGKILL);
        waitpid(twin(), nullptr, 0);
    }

    void stateFileOverARun_data()
    {
        QTest::addColumn<QByteArray>("left");    // the state file found at the start
        QTest::addColumn<QStringList>("calls");  // the inner output's steps over a run
        QTest::addColumn<bool>("othersRunning"); // the file is a running process's, kept as it is

        const QByteArray marker = "KR31 MIXER STATE\r\n";
        const QByteArray running = processStamp(twin()).toLatin1() + "\r\n";
        const QByteArray stranger = processStamp(getppid()).toLatin1() + "\r\n"; // alive, but not ours
        const QByteArray ended = QByteArray::number(getpid()) + " 1\r\n"; // our id, but an earlier process
        const QStringList run{"note", "prepare", "silence", "restore at exit"};
        QTest::newRow("none") << QByteArray() << run << false;
        QTest::newRow("of a killed run") << marker + ended + "fake old\r\n"
                                         << QStringList{"put back fake old"} + run << false;
        QTest::newRow("of a killed run, another output's") << marker + ended + "alsa wave 3 50 0\r\n"
                                                           << QStringList{"put back alsa wave 3 50 0"} + run << false;
        // Taken over, it comes back as the output's own noted state would.
        QTest::newRow("of a running process")
            << marker + running + "fake theirs\r\n"
            << QStringList{"note", "adopt fake theirs", "prepare", "silence", "restore at exit"} << true;
        QTest::newRow("of a running process, another output's")
            << marker + running + "alsa wave 3 50 0\r\n"
            << QStringList{"note", "adopt alsa wave 3 50 0", "prepare", "silence", "put back alsa wave 3 50 0"} << true;
        QTest::newRow("of a running process not ours")
            << marker + stranger + "fake theirs\r\n" << QStringList{"put back fake theirs"} + run << false;
        QTest::newRow("broken stamp") << marker + "12x 5\r\nfake old\r\n" << run << false;
        QTest::newRow("no state lines") << marker + ended << run << false;
        QTest::newRow("foreign") << QByteArray("[Sound]\r\nVolume=3\r\nfake\r\n") << run << false;
    }

    void stateFileOverARun()
    {
        QFETCH(QByteArray, left);
        QFETCH(QStringList, calls);
        QFETCH(bool, othersRunning);

        QTemporaryDir dir;
        const QString path = dir.filePath("state/kr31/mixer-state");
        QVERIFY(left.isEmpty() || (QDir().mkpath(dir.filePath("state/kr31")) && textfile::writeAtomically(path, left)));
        RecordingOutput inner;
        MixerGuard guard(inner, path);
        guard.noteState();
        QCOMPARE(QFile::exists(path), othersRunning);

        guard.prepare();
        const QByteArray during =
            othersRunning ? left : "KR31 MIXER STATE\r\n" + processStamp(getpid()).toLatin1() + "\r\nfake user\r\n";
        QCOMPARE(readFile(path), during);
        inner.lines = QStringList{"fake muted"}; // only the first change writes the file
        guard.silence();
        QCOMPARE(readFile(path), during);

        guard.restore(true);
        QCOMPARE(QFile::exists(path), othersRunning);
        QCOMPARE(inner.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestMixerGuard)
#include "tst_MixerGuard.moc"
