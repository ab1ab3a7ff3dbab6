// The whole road with a real kr31 on an X server (run under xvfb-run): work
// left unsaved is killed with SIGKILL, the program starts again, the learner
// answers the question with the Return key, and the work is back. The edits
// are real input (xdotool types and clicks), so the timings printed are what
// a learner would lose to a kill.
#include "core/Recovery.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "support/TempHome.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSize>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <utility>

using namespace kr31;
using namespace kr31::test;

namespace {

// The copy is due 1.0 s after the last edit (1.5 s at most while typing
// goes on); 2 s is the promise. Under the sanitizers every step of the
// program runs several times slower, so only a gross miss fails there.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 LossWindowMs = 6000;
#else
constexpr qint64 LossWindowMs = 2000;
#endif

// Runs xdotool; its output, or an empty string when it failed.
QString xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(15000) || p.exitCode() != 0)
        return {};
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// The visible windows of kr31 (all are named "KR-31") with their sizes.
QList<std::pair<QString, QSize>> shownWindows()
{
    QList<std::pair<QString, QSize>> shown;
    for (const QString &id : xdotool({"search", "--onlyvisible", "--name", "^KR-31$"}).split('\n', Qt::SkipEmptyParts)) {
        const QString geometry = xdotool({"getwindowgeometry", "--shell", id});
        const auto value = [&geometry](const QString &name) {
            return geometry.section(name + u'=', 1).section(u'\n', 0, 0).toInt();
        };
        shown.append({id, QSize(value(QStringLiteral("WIDTH")), value(QStringLiteral("HEIGHT")))});
    }
    return shown;
}

// The visible message box of kr31, or an empty string. All its windows are
// named "KR-31"; a box is a small one standing beside a big one (the menu or
// an editor; so the splash, alone on the screen, is never taken for a box).
QString messageBox()
{
    QString small;
    bool big = false;
    for (const auto &[id, size] : shownWindows()) {
        if (size.height() >= 400)
            big = true;
        else if (size.height() > 0)
            small = id;
    }
    return big ? small : QString();
}

// Waits up to ms for a message box of kr31.
QString waitForBox(int ms)
{
    QElapsedTimer timer;
    timer.start();
    QString box;
    while ((box = messageBox()).isEmpty() && timer.elapsed() < ms)
        QTest::qWait(20);
    return box;
}

// The visible editor window of kr31 (the editors are 750 pixels wide, the
// menu 600), or an empty string.
QString editorWindow()
{
    for (const auto &[id, size] : shownWindows()) {
        if (size.width() >= 700)
            return id;
    }
    return {};
}

QString waitForEditor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    QString id;
    while ((id = editorWindow()).isEmpty() && timer.elapsed() < ms)
        QTest::qWait(20);
    return id;
}

// What the screen and the program show when an awaited window did not come:
// every kr31 window with its size, whether the program still runs, and what
// it printed. With KR31_STALL_GDB naming a folder, the program's threads'
// stacks are written there too.
QString whatStands(QProcess &process)
{
    QStringList seen;
    for (const auto &[id, size] : shownWindows())
        seen.append(QStringLiteral("%1: %2 x %3").arg(id).arg(size.width()).arg(size.height()));
    QString out = QStringLiteral("windows [%1]; running %2; printed: %3")
                      .arg(seen.join(QStringLiteral("; ")))
                      .arg(process.state() == QProcess::Running)
                      .arg(QString::fromLocal8Bit(process.readAllStandardError()));
    if (qEnvironmentVariableIsSet("KR31_STALL_GDB")) {
        QProcess gdb;
        gdb.start("gdb", {"-p", QString::number(process.processId()), "-batch", "-ex", "thread apply all bt"});
        gdb.waitForFinished(60000);
        QFile dump(qEnvironmentVariable("KR31_STALL_GDB") + "/stall_" + QString::number(process.processId()));
        if (dump.open(QIODevice::WriteOnly))
            dump.write(gdb.readAllStandardOutput());
    }
    return out;
}

// A click on the icon editor's third slot, then Delete.
const QStringList IconThirdSlotDeleted = {"click 463 224", "key Delete"};

// Plays the learner's steps on a window: "click X Y" (inside the window),
// "key K..." (key names as xdotool knows them), "type TEXT".
bool play(const QString &window, const QStringList &steps)
{
    for (const QString &step : steps) {
        const QString verb = step.section(' ', 0, 0);
        const QString rest = step.section(' ', 1);
        QStringList args;
        if (verb == "click")
            args = QStringList{"mousemove", "--sync", "--window", window} + rest.split(' ') + QStringList{"click", "1"};
        else if (verb == "key")
            args = QStringList{"key", "--delay", "40"} + rest.split(' ');
        else if (verb == "type")
            args = {"type", "--delay", "40", rest};
        if (args.isEmpty() || QProcess::execute(QStringLiteral("xdotool"), args) != 0)
            return false;
        QTest::qWait(50); // let the window take the step before the next
    }
    return true;
}

// The copy's lines when it holds every one of lines, else nullopt.
std::optional<QStringList> copyHolding(const QString &path, const QStringList &lines)
{
    if (!QFile::exists(path))
        return std::nullopt;
    const auto read = textfile::readLines(path);
    if (!read)
        return std::nullopt;
    for (const QString &line : lines) {
        if (!read->contains(line))
            return std::nullopt;
    }
    return read;
}

ino_t inode(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

void killNow(QProcess &process)
{
    ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(5000);
}

// A kr31 in its own home, on the X display.
struct Run
{
    TempHome home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    Run()
    {
        Settings().setWizardStart(0);
        env.insert("HOME", home.home());
        env.insert("XDG_RUNTIME_DIR", home.home()); // where a running kr31 listens for the next start
        env.insert("QT_QPA_PLATFORM", "xcb");
    }
    void start(QProcess &process, const QStringList &args)
    {
        process.setProcessEnvironment(env);
        process.start(binDir() + "/kr31", args);
        process.waitForStarted();
    }
};

bool canRun()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") && !QStandardPaths::findExecutable("xdotool").isEmpty();
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // file: opened on the command line; steps: the learner's edits; holds:
    // lines the copy must hold; copy: all of it (empty: any); closeFirst: the
    // first question after the kill is closed with Esc.
    void killedWorkComesBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("holds");
        QTest::addColumn<QStringList>("copy");
        QTest::addColumn<bool>("closeFirst");
        QStringList icon = {"LED", "16", "18,40"};
        while (icon.size() < 48)
            icon.append("27");
        // The third slot chosen with the mouse and emptied with Delete.
        QTest::newRow("icon") << "Icon" << QStringList{"LED", "16", "18,40", "17"} << IconThirdSlotDeleted
                              << QStringList{} << icon << false;
        // The main program's last entry deleted from the keyboard.
        const auto worked = textfile::readLines(testData("flowchart/worked.kr3"));
        QVERIFY(worked);
        QTest::newRow("flowchart") << "Flowchart" << *worked << QStringList{"click 370 300", "key End Delete"}
                                   << QStringList{"16/Sub,1/" + QString("27/").repeated(45)} << QStringList{}
                                   << false;
        // A line typed at the end of the text.
        QTest::newRow("text") << "Text" << QStringList{"WORD", "ON();", "Bright(50);"}
                              << QStringList{"click 200 300", "key ctrl+End Return", "type OFF();"}
                              << QStringList{"ON();", "Bright(50);", "OFF();"} << QStringList{} << true;
        // Three notes from the keyboard, then the link page: on ("1" after "LINK"), and the third pitch at 40.
        QTest::newRow("melody") << "Melody" << QStringList{"MELODY"}
                                << QStringList{"click 75 365", "key a s d", "click 75 395", "click 172 404",
                                               "click 349 482", "key ctrl+a", "type 40"}
                                << QStringList{"86", "88", "90", "LINK", "1", "40"} << QStringList{} << false;
    }
    void killedWorkComesBack()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, file);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, holds);
        QFETCH(QStringList, copy);
        QFETCH(bool, closeFirst);
        if (!canRun())
            QSKIP("needs an X display and xdotool");
        Run run;
        const QString path = run.home.home() + "/work.kr3";
        QVERIFY(textfile::writeLines(path, file));
        const QString copyPath = recovery::copyPath(key);
        const QString copyName = key + ".kr3";

        QProcess first;
        run.start(first, {path});
        const QString editor = waitForEditor(20000);
        if (editor.isEmpty())
            QFAIL(qPrintable(whatStands(first)));
        QVERIFY(play(editor, steps));
        QElapsedTimer sinceEdit;
        sinceEdit.start();
        while (!copyHolding(copyPath, holds) && sinceEdit.elapsed() < 10000)
            QTest::qWait(5);
        const qint64 lag = sinceEdit.elapsed();
        QVERIFY(copyHolding(copyPath, holds));
        qInfo("%s: copy of the last edit written %lld ms after it", qPrintable(key), lag);
        QVERIFY(lag <= LossWindowMs);
        killNow(first);
        const QByteArray left = run.home.readRecoveryFile(copyName);
        if (!copy.isEmpty())
            QCOMPARE(left, textfile::encodeLines(copy));

        QProcess second;
        run.start(second, {});
        if (closeFirst) {
            // Closed without an answer: the copy stays and comes again next time.
            const QString box = waitForBox(20000);
            if (box.isEmpty())
                QFAIL(qPrintable(whatStands(second)));
            xdotool({"windowfocus", "--sync", box});
            xdotool({"key", "Escape"});
            QTRY_VERIFY_WITH_TIMEOUT(messageBox().isEmpty(), 5000);
            QCOMPARE(second.state(), QProcess::Running);
            // Set aside under its time, out of the way of this run's copies.
            QVERIFY(!QFile::exists(copyPath));
            const QStringList aside = QDir(recovery::folder()).entryList({key + "-*.kr3"}, QDir::Files);
            QCOMPARE(aside.size(), 1);
            QCOMPARE(run.home.readRecoveryFile(aside.first()), left);
            killNow(second);
            run.start(second, {});
        }
        // The question comes, Return answers Yes.
        const QString box = waitForBox(20000);
        // The earlier copy is set aside by now (a file of its own, whose
        // number a new copy may take once it is removed).
        const ino_t before = inode(copyPath);
        if (box.isEmpty())
            QFAIL(qPrintable(whatStands(second)));
        xdotool({"windowfocus", "--sync", box});
        xdotool({"key", "Return"});
        // The restored program is marked modified, so the editor writes its own
        // copy of what it now holds: the same bytes again.
        QTRY_VERIFY_WITH_TIMEOUT(inode(copyPath) != before && inode(copyPath) != 0, 10000);
        QCOMPARE(run.home.readRecoveryFile(copyName), left);
        QCOMPARE(QDir(recovery::folder()).entryList({"*.kr3"}, QDir::Files), QStringList{key + ".kr3"});
        QVERIFY(messageBox().isEmpty()); // one question, no other box
        QVERIFY(!editorWindow().isEmpty()); // and the editor stands open with the work
        killNow(second);
    }

    // A second kr31 started while the first holds unsaved work hands over to
    // the first and ends: it asks nothing and leaves the first one's copy.
    void aSecondKr31LeavesTheFirstOnesCopy()
    {
        if (!canRun())
            QSKIP("needs an X display and xdotool");
        Run run;
        const QString path = run.home.home() + "/work.kr3";
        QVERIFY(textfile::writeLines(path, {"LED", "16", "18,40", "17"}));
        const QString copyPath = recovery::copyPath("Icon");
        QProcess first;
        run.start(first, {path});
        const QString editor = waitForEditor(20000);
        if (editor.isEmpty() || !play(editor, IconThirdSlotDeleted))
            QFAIL(qPrintable(whatStands(first)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copyPath), 5000);
        const QByteArray theirs = run.home.readRecoveryFile("Icon.kr3");
        const ino_t before = inode(copyPath);

        QProcess second;
        run.start(second, {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTest::qWait(1500); // time enough for a question, were one coming
        QCOMPARE(shownWindows().size(), 1); // the first one's editor alone
        QCOMPARE(inode(copyPath), before);
        QCOMPARE(run.home.readRecoveryFile("Icon.kr3"), theirs);
        killNow(first);
    }

    // The longest stretch of typing a kill can lose: a key every 100 ms for
    // six seconds, the copy watched all along; for each key, how long until
    // a copy holds it.
    void lossWindowWhileTyping()
    {
        if (!canRun())
            QSKIP("needs an X display and xdotool");
        Run run;
        const QString path = run.home.home() + "/work.kr3";
        QVERIFY(textfile::writeLines(path, {"WORD", "ON();"}));
        const QString copyPath = recovery::copyPath("Text");
        QProcess kr31;
        run.start(kr31, {path});
        const QString editor = waitForEditor(20000);
        if (editor.isEmpty())
            QFAIL(qPrintable(whatStands(kr31)));
        QVERIFY(play(editor, {"click 200 300", "key ctrl+End Return", "type //"}));
        QTRY_VERIFY_WITH_TIMEOUT(copyHolding(copyPath, {"//"}), 5000);

        // The number of keys of the comment line a copy on disk holds.
        const auto keysOnDisk = [&copyPath]() -> int {
            const auto lines = textfile::readLines(copyPath);
            if (!lines)
                return 0;
            for (const QString &line : *lines) {
                if (line.startsWith("//"))
                    return int(line.size()) - 2;
            }
            return 0;
        };
        constexpr int Keys = 60;
        QElapsedTimer clock;
        clock.start();
        QList<qint64> typedAt;
        QList<qint64> onDiskAt(Keys, -1);
        const auto look = [&] {
            const int held = keysOnDisk();
            for (int k = 0; k < held && k < Keys; ++k) {
                if (onDiskAt[k] < 0)
                    onDiskAt[k] = clock.elapsed();
            }
        };
        for (int k = 0; k < Keys; ++k) {
            QVERIFY(QProcess::execute("xdotool", {"key", "x"}) == 0);
            typedAt.append(clock.elapsed());
            while (clock.elapsed() < typedAt.last() + 100) {
                look();
                QTest::qWait(5);
            }
        }
        while (onDiskAt.last() < 0 && clock.elapsed() < typedAt.last() + 10000) {
            look();
            QTest::qWait(5);
        }
        QVERIFY(onDiskAt.last() >= 0);
        qint64 longest = 0;
        for (int k = 0; k < Keys; ++k) {
            QVERIFY(onDiskAt[k] >= 0);
            longest = qMax(longest, onDiskAt[k] - typedAt[k]);
        }
        const qint64 last = onDiskAt.last() - typedAt.last();
        qInfo("typing for %lld ms: a key reached the disk at most %lld ms after it was typed; "
              "the last key %lld ms after it",
              typedAt.last() - typedAt.first(), longest, last);
        QVERIFY(longest <= LossWindowMs);
        killNow(kr31);
    }
};

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "tst_CrashRecovery.moc"
