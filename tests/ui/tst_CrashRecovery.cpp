// The whole road with a real kr31 on an X server (run under xvfb-run): work
// left unsaved is killed with SIGKILL, the program starts again, the learner
// answers the question with the Return key, and the work is back.
#include "core/Recovery.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "support/TempHome.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

using namespace kr31;
using namespace kr31::test;

namespace {

// Runs xdotool; its output, or an empty string when it failed.
QString xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(15000) || p.exitCode() != 0)
        return {};
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

// The visible message box of kr31, or an empty string. All its windows are
// named "KR-31"; a box is a small one standing beside a big one (the menu or
// an editor; so the splash, alone on the screen, is never taken for a box).
QString messageBox()
{
    QString small;
    bool big = false;
    for (const QString &id : xdotool({"search", "--onlyvisible", "--name", "^KR-31$"}).split('\n', Qt::SkipEmptyParts)) {
        const QString geometry = xdotool({"getwindowgeometry", "--shell", id});
        const int h = geometry.section(QStringLiteral("HEIGHT="), 1).section('\n', 0, 0).toInt();
        if (h >= 400)
            big = true;
        else if (h > 0)
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

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A file that breaks off is the edit: it is opened and stays marked
    // modified (its (102) box then stands; the program runs on behind it).
    void killedWorkComesBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("copy"); // what the first run must leave; empty: any
        QStringList icon = {"LED", "16", "18,40"};
        while (icon.size() < 48)
            icon.append("27");
        QTest::newRow("icon") << "Icon" << QStringList{"LED", "16", "18,40", "oops", "17"} << icon;
        // The main program and the first subroutine of a flowchart; its other page lines are cut off.
        const auto worked = textfile::readLines(testData("flowchart/worked.kr3"));
        QVERIFY(worked && worked->size() > 51);
        QTest::newRow("flowchart") << "Flowchart" << worked->mid(0, 51) << QStringList{};
    }
    void killedWorkComesBack()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, file);
        QFETCH(QStringList, copy);
        if (qEnvironmentVariableIsEmpty("DISPLAY") || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("needs an X display and xdotool");
        TempHome home;
        QVERIFY(Settings().setWizardStart(0));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.home());
        env.insert("QT_QPA_PLATFORM", "xcb");
        const QString path = home.home() + "/broken.kr3";
        QVERIFY(textfile::writeLines(path, file));
        const QString copyPath = recovery::copyPath(key);
        const QString copyName = "Recovery/" + key + ".kr3";

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(binDir() + "/kr31", {path});
        QVERIFY(first.waitForStarted());
        QVERIFY(!waitForBox(20000).isEmpty());
        QElapsedTimer sinceEdit;
        sinceEdit.start();
        while (!QFile::exists(copyPath) && sinceEdit.elapsed() < 10000)
            QTest::qWait(5);
        const qint64 lag = sinceEdit.elapsed();
        QVERIFY(QFile::exists(copyPath));
        qInfo("copy written %lld ms after the box of the edit was seen", lag);
        QVERIFY(lag <= 2000);
        killNow(first);
        const QByteArray left = home.readWorkFile(copyName);
        if (!copy.isEmpty())
            QCOMPARE(left, textfile::encodeLines(copy));
        // The pages opened stand in the copy of a flowchart.
        const QStringList leftLines = textfile::splitLines(QString::fromLatin1(left));
        for (const QString &line : file.mid(file.indexOf("DATA") + 1)) {
            if (file.contains("DATA"))
                QVERIFY(leftLines.contains(line));
        }

        // Started again: the question comes, Return answers Yes.
        const ino_t before = inode(copyPath);
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(binDir() + "/kr31", {});
        QVERIFY(second.waitForStarted());
        const QString box = waitForBox(20000);
        if (box.isEmpty()) {
            qInfo() << "windows:" << xdotool({"search", "--onlyvisible", "--name", "^KR-31$"}) << second.state()
                    << second.readAllStandardError();
        }
        QVERIFY(!box.isEmpty());
        xdotool({"windowfocus", "--sync", box});
        xdotool({"key", "Return"});
        // The restored program is marked modified, so the editor writes its own
        // copy of what it now holds: the same bytes again.
        QTRY_VERIFY_WITH_TIMEOUT(inode(copyPath) != before && inode(copyPath) != 0, 10000);
        QCOMPARE(home.readWorkFile(copyName), left);
        QVERIFY(messageBox().isEmpty()); // one question, no other box
        killNow(second);
    }
};

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "tst_CrashRecovery.moc"
