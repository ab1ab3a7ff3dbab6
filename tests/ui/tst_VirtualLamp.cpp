#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "lamp/LampLink.h"
#include "lamp/ui/VirtualLampWindow.h"
#include "link/WavFile.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "support/ui/UiRig.h"
#include "ui/PictureButton.h"

#include <Qsci/qsciscintilla.h>

#include <QFileInfo>
#include <QLabel>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

// Wait for a touch, then blink: light 2 s, dark 1 s, twice; beep; a long timer.
const QStringList TouchLoop{"LED", "23", "18,100", "21,2", "17", "21,1", "22,1,2", "26", "21,3600", "100"};

struct LampRig : UiRig
{
    VirtualLampWindow *lamp = nullptr;
    LampRig()
    {
        settings.setWizardStart(0);
        lamp = form<VirtualLampWindow>(18);
    }

    // Opens an editor with a program file written into the home.
    template <class Editor>
    Editor *open(int number, const QStringList &file)
    {
        const QString path = home.home() + QStringLiteral("/program.kr3");
        textfile::writeLines(path, file);
        auto *editor = form<Editor>(number);
        forms.open(nullptr, number);
        editor->openFile(path);
        settle();
        return editor;
    }

    // A click on a picture button of a window, as the mouse makes it.
    static void click(QWidget *window, const char *name)
    {
        auto *button = window->findChild<PictureButton *>(QString::fromLatin1(name));
        QVERIFY2(button && button->isVisible(), name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    void pass(int ms)
    {
        clock.now += quint32(ms);
        lamp->tick();
    }

    const lamp::LampState &state() const { return lamp->machine()->state(); }
};

} // namespace

class TestVirtualLamp : public QObject
{
    Q_OBJECT

private slots:
    // GIVEN an icon program with a touch and a loop WHEN a child tries it on
    // the virtual lamp THEN the slot running is marked and follows the run.
    void iconEditorRunMarksTheSlots()
    {
        LampRig rig;
        auto *editor = rig.open<IconEditorWindow>(8, TouchLoop);
        LampRig::click(editor, "Lamp");
        QVERIFY(rig.lamp->isVisible());
        QCOMPARE(rig.lamp->objectName(), QStringLiteral("TForm18"));
        QVERIFY(rig.lamp->isRunning());
        QVERIFY(rig.state().waitingForTouch);
        QCOMPARE(rig.lamp->currentLine(), 0);
        auto *mark = editor->findChild<QLabel *>(QStringLiteral("LampMark"));
        QVERIFY(mark && mark->isVisible());
        QCOMPARE(mark->x(), icon::slotLeft(0) - 5);

        rig.pass(5000);
        QCOMPARE(rig.lamp->currentLine(), 0); // still waiting

        // The touch button, held and let go.
        auto *touch = rig.lamp->findChild<PictureButton *>(QStringLiteral("Touch"));
        QTest::mousePress(touch, Qt::LeftButton, {}, touch->rect().center());
        QCOMPARE(rig.lamp->currentLine(), 2);
        QCOMPARE(rig.lamp->brightness(), 255);
        QCOMPARE(mark->x(), icon::slotLeft(2) - 5);
        // Named as the slot's number shows it.
        QVERIFY(rig.lamp->findChild<QLabel *>(QStringLiteral("Label2"))->text().startsWith(QStringLiteral("いま 2ばん")));
        QTest::mouseRelease(touch, Qt::LeftButton, {}, touch->rect().center());

        rig.pass(2000);
        QCOMPARE(rig.lamp->currentLine(), 4);
        QCOMPARE(rig.lamp->brightness(), 0);
        rig.pass(1000); // second round
        QCOMPARE(rig.lamp->currentLine(), 2);
        QCOMPARE(rig.lamp->brightness(), 255);
        rig.sound.played.clear();
        rig.pass(3000); // the loop is over, the beep sounds, the long timer begins
        QCOMPARE(rig.sound.played.size(), 1);
        QCOMPARE(wav::parse(rig.sound.played.first())->samples, lamp::beepSound());
        rig.pass(150);
        QCOMPARE(rig.lamp->currentLine(), 7);
        QCOMPARE(rig.state().remainingMs, qint64(3600000));

        // An hour at 60 times is a minute.
        LampRig::click(rig.lamp, "Speed60");
        rig.pass(59999);
        QCOMPARE(rig.state().remainingMs, qint64(60));
        rig.pass(1);
        QVERIFY(rig.state().stopped);
        QVERIFY(!rig.lamp->isRunning());
        QVERIFY(!mark->isVisible());
        QCOMPARE(rig.dialogs.warnings, QStringList());
    }

    void stopStartAndCloseKeepTheEditorRight()
    {
        LampRig rig;
        auto *editor = rig.open<IconEditorWindow>(8, {"LED", "18,50", "21,10", "100"});
        LampRig::click(editor, "Lamp");
        rig.pass(4000);
        QCOMPARE(rig.state().remainingMs, qint64(6000));
        LampRig::click(rig.lamp, "Halt");
        QVERIFY(!rig.lamp->isRunning());
        rig.pass(4000);
        QCOMPARE(rig.state().remainingMs, qint64(6000));
        // Start runs it again from the beginning.
        LampRig::click(rig.lamp, "Start");
        QVERIFY(rig.lamp->isRunning());
        QCOMPARE(rig.state().remainingMs, qint64(10000));
        auto *mark = editor->findChild<QLabel *>(QStringLiteral("LampMark"));
        QVERIFY(mark->isVisible());
        // Help opens the lamp's own page, which states its timing.
        LampRig::click(rig.lamp, "Help");
        QVERIFY(rig.shell.opened.last().endsWith(QLatin1String("/Navi/VirtualLamp.html")));
        QVERIFY(QFileInfo::exists(rig.shell.opened.last()));
        LampRig::click(rig.lamp, "Bye");
        QVERIFY(!rig.lamp->isVisible());
        QVERIFY(!mark->isVisible());
    }

    // The lamp runs what it hears in every transfer mode of the settings.
    void everyTransferModeRunsTheSame_data()
    {
        QTest::addColumn<int>("mode");
        for (int mode = 0; mode <= 3; ++mode)
            QTest::addRow("mode %d", mode) << mode;
    }
    void everyTransferModeRunsTheSame()
    {
        QFETCH(int, mode);
        LampRig rig;
        QVERIFY(rig.settings.setWaveMode(mode));
        auto *editor = rig.open<IconEditorWindow>(8, {"LED", "19,100,2", "100"});
        LampRig::click(editor, "Lamp");
        rig.pass(1000);
        QCOMPARE(rig.lamp->brightness(), 50);
        QCOMPARE(rig.lamp->machine()->steps().size(), 48 - 2);
    }

    void aProgramThatFailsItsCheckIsNotRun()
    {
        LampRig rig;
        auto *editor = rig.open<IconEditorWindow>(8, {"DD", "16", "22,1,2"});
        LampRig::click(editor, "Lamp");
        QVERIFY(!rig.lamp->isVisible());
        QCOMPARE(rig.dialogs.warnings.last(), msg::ProgramError502);
    }

    void flowchartMarksTheMainEntry()
    {
        LampRig rig;
        auto *editor = rig.open<FlowchartEditorWindow>(5, {"LED", "16", "21,5", "17", "100"});
        QCOMPARE(editor->program().entries(0).size(), 4); // the Stop is an entry too
        LampRig::click(editor, "Lamp");
        QVERIFY(rig.lamp->isRunning());
        auto *mark = editor->findChild<QLabel *>(QStringLiteral("LampMark"));
        QVERIFY(mark && mark->isVisible());
        QCOMPARE(mark->y(), editor->entryTops().at(1) - 6);
        // The command named as its card names it.
        QCOMPARE(rig.lamp->findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("いま 2ばん：タイマー"));
        rig.pass(5000);
        QVERIFY(!mark->isVisible());
        QCOMPARE(rig.lamp->brightness(), 0);
    }

    void textEditorMarksTheLine()
    {
        LampRig rig;
        auto *editor = rig.form<TextEditorWindow>(9);
        rig.forms.open(nullptr, 9);
        rig.settle();
        editor->setProgramLines({"// blink", "For(i:=1,i<=2,i++){", "  Bright(100);", "  Timer(1);", "  OFF();",
                                 "  Timer(1);", "}", "Touch();"});
        LampRig::click(editor, "Lamp");
        QVERIFY(rig.lamp->isRunning());
        const auto marked = [&](int line) {
            return (editor->textControl()->markersAtLine(line) & (1 << 3)) != 0;
        };
        QVERIFY(marked(3));
        // Named as the margin numbers the line, from 1.
        QVERIFY(rig.lamp->findChild<QLabel *>(QStringLiteral("Label2"))->text().startsWith(QStringLiteral("いま 4ばん")));
        rig.pass(1000);
        QVERIFY(!marked(3));
        QVERIFY(marked(5));
        rig.pass(1500); // the second round
        QVERIFY(marked(3));
        QVERIFY(!marked(5));
        rig.pass(1500);
        QVERIFY(marked(7));
        QVERIFY(rig.state().waitingForTouch);
        rig.lamp->hide();
        QVERIFY(!marked(7));
    }

    void melodyPlaysWithTheLinkedLight()
    {
        LampRig rig;
        auto *editor = rig.form<MelodyEditorWindow>(4);
        rig.forms.open(nullptr, 4);
        rig.settle();
        editor->KeyClick(12);
        editor->KeyClick(16);
        QCOMPARE(editor->melody().notes[0].size(), 2);
        LampRig::click(editor, "Lamp");
        QVERIFY(rig.lamp->isRunning());
        const auto &run = rig.lamp->melodyRun();
        QVERIFY(run);
        QCOMPARE(run->voices()[0], editor->melody().notes[0]);
        QCOMPARE(rig.sound.played.size(), 1);
        QCOMPARE(wav::parse(rig.sound.played.first())->samples, lamp::melodySound(run->voices()));
        rig.pass(int(run->lengthMs()));
        QVERIFY(!rig.lamp->isRunning());
        QVERIFY(!rig.lamp->findChild<PictureButton *>(QStringLiteral("Touch"))->isVisible());
    }

    // The lamp's melody sound ends with the lamp, as a child expects of its stop and close.
    void melodySoundEndsWithTheLamp_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("stop") << "Halt";
        QTest::newRow("close") << "Bye";
    }
    void melodySoundEndsWithTheLamp()
    {
        QFETCH(QString, button);
        LampRig rig;
        rig.sound.holdBackground = true;
        auto *editor = rig.form<MelodyEditorWindow>(4);
        rig.forms.open(nullptr, 4);
        rig.settle();
        editor->KeyClick(12);
        LampRig::click(editor, "Lamp");
        QVERIFY(!rig.log.contains("stop background"));
        LampRig::click(rig.lamp, button.toLatin1().constData());
        QCOMPARE(rig.log.mid(rig.log.lastIndexOf("stop background")), (EventLog{"stop background", "silence"}));
    }
};

QTEST_MAIN(TestVirtualLamp)
#include "tst_VirtualLamp.moc"
