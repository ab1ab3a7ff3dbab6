// One kr31 per desktop session: a second start hands its file to the running
// one (here the windows of this test, listening as the program does) and
// ends; the running one opens it as Open would.
#include "app/SingleInstance.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "core/TextFile.h"
#include "support/ui/UiRig.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QProcess>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A second kr31 started with a file, the icon editor in front holding an
    // edit (or not); the save question answered No.
    void aSecondStartHandsItsFileOver_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("opens"); // the window that shows the file
        QTest::newRow("icon file, no edit") << QStringList{"LED", "17"} << false << 8;
        QTest::newRow("icon file over an edit") << QStringList{"LED", "17"} << true << 8;
        QTest::newRow("melody file over an edit") << QStringList{"MELODY", "UP", "60"} << true << 4;
    }
    void aSecondStartHandsItsFileOver()
    {
        QFETCH(QStringList, file);
        QFETCH(bool, edited);
        QFETCH(int, opens);
        UiRig rig;
        rig.settings.setWizardStart(0);
        const QString socket = rig.home.home() + "/kr31-" + QString::number(::getuid()) + ".socket";
        instance::Listener listener([&rig](const QString &path) { receiveFile(rig.forms, path); });
        QVERIFY(listener.listen(socket));
        auto *icon = rig.form<IconEditorWindow>(8);
        rig.forms.open(rig.forms.form(2), 8);
        if (edited)
            icon->dropCommand(0, 16);
        rig.dialogs.answers = {Answer::No};
        const QString path = rig.home.home() + "/handed.kr3";
        QVERIFY(textfile::writeLines(path, file));

        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", rig.home.home());
        env.insert("HOME", rig.home.home());
        second.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        second.start(binDir() + "/kr31", {path});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        qInfo("the second start ended after %lld ms", clock.elapsed());
        QTRY_VERIFY(rig.forms.form(opens)->isVisible());
        QCOMPARE(rig.dialogs.questions.size(), edited ? 1 : 0);
        if (opens == 8)
            QCOMPARE(icon->program().Slots[0].code, QStringLiteral("17"));
        else
            QCOMPARE(rig.form<MelodyEditorWindow>(4)->melody().notes[0], QList<int>{60});
    }

    // Something listens but never answers: the new start goes on by itself
    // after the answer time; a socket file left behind is taken over.
    void aSilentListenerOrAStaleSocket()
    {
        TempHome home;
        const QString socket = home.home() + "/silent.socket";
        QLocalServer silent;
        QVERIFY(silent.listen(socket));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(instance::handTo({}, socket, 300), instance::HandOver::NoAnswer);
        QVERIFY(clock.elapsed() >= 300);
        silent.close();
        QCOMPARE(instance::handTo({}, socket, 300), instance::HandOver::NoneRunning);
        QVERIFY(textfile::writeAtomically(socket, "left"));
        instance::Listener listener([](const QString &) {});
        QVERIFY(listener.listen(socket));
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
