// One kr31 per desktop session: a second start hands its file to the running
// one (here the windows of this test, listening as the program does) and
// ends; the running one opens it as Open would.
#include "app/SingleInstance.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "core/TextFile.h"
#include "support/ui/UiRig.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLocalServer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUrl>

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

    // The listener's side of a request: every character of the path comes
    // through; a request the other side has given up on, and a connection
    // that says nothing, are dropped undone.
    void whatTheListenerTakes_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QStringList>("received");
        const QString odd = "/home/a/100%\nrobot ロボ.kr3";
        QTest::newRow("a newline and a percent sign")
            << "OPEN " + QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + " " + QUrl::toPercentEncoding(odd) + "\n"
            << QStringList{odd};
        QTest::newRow("given up on") << "OPEN " + QByteArray::number(QDateTime::currentMSecsSinceEpoch() - 5000) +
                                            " /x.kr3\n"
                                     << QStringList();
        QTest::newRow("no time") << QByteArray("OPEN /x.kr3\n") << QStringList();
        QTest::newRow("nothing said") << QByteArray("-") << QStringList();
    }
    void whatTheListenerTakes()
    {
        QFETCH(QByteArray, request);
        QFETCH(QStringList, received);
        TempHome home;
        const QString socket = home.home() + "/k.socket";
        QStringList got;
        instance::Listener listener([&got](const QString &path) { got << path; }, nullptr, 200);
        QVERIFY(listener.listen(socket));
        QLocalSocket client;
        client.connectToServer(socket);
        QVERIFY(client.waitForConnected(1000));
        if (request != "-")
            client.write(request);
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(client.readAll(), QByteArray(received.isEmpty() ? "" : "OK\n"));
        QCOMPARE(got, received);
    }

    // Two starts at the same moment: the one holding the lock beside the
    // socket runs; the other waits until it listens and hands over.
    void aStartRacingTheFirstHandsOver()
    {
        TempHome home;
        const QString socket = home.home() + "/kr31-" + QString::number(::getuid()) + ".socket";
        QCOMPARE(instance::handToOrClaim({}, socket), instance::HandOver::NoneRunning);
        QStringList got;
        instance::Listener listener([&got](const QString &path) { got << path; });
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", home.home());
        env.insert("HOME", home.home());
        second.setProcessEnvironment(env);
        second.start(binDir() + "/kr31", {home.home() + "/a.kr3"});
        // The first one listens a moment after the second has started.
        QTimer::singleShot(300, &listener, [&] { QVERIFY(listener.listen(socket)); });
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(got, QStringList{home.home() + "/a.kr3"});
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
