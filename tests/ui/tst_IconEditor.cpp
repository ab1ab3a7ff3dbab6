#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/flowchart/ui/CommandDialogWindow.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/icon/ui/ChartViewWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "report/ui/ReportWindow.h"
#include "support/ui/UiRig.h"
#include "ui/menu/MainMenuWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace kr31;
using namespace kr31::test;

namespace {

struct EditorRig : UiRig
{
    IconEditorWindow *editor = nullptr;
    explicit EditorRig(const QString &resources = binDir())
        : UiRig(resources)
    {
        settings.setWizardStart(0);
        editor = form<IconEditorWindow>(8);
        editor->runDrag = [](QDrag *) {};
        forms.open(nullptr, 8);
        settle();
        log.clear();
    }

    // A drop as the palette makes it, at the middle of a slot's picture.
    bool drop(int slot, int code)
    {
        auto *picture = editor->findChild<QLabel *>(QStringLiteral("Drop_image%1").arg(slot + 1));
        QWidget *strip = picture->parentWidget();
        QMimeData mime;
        mime.setData(CommandMimeType, QByteArray::number(code));
        const QPointF at = picture->geometry().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(strip, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropEvent(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(strip, &dropEvent);
        return true;
    }

    template <class T>
    T *child(const QString &name)
    {
        return editor->findChild<T *>(name);
    }

    QString total() { return child<QLabel>("Label1")->text(); }
    int gauge(int bar) { return child<QLabel>(QStringLiteral("Image%1").arg(12 + bar))->width(); }

    void typeInto(const QString &name, const QString &text)
    {
        auto *edit = child<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    void slotMenu(int slot, const char *action)
    {
        editor->openSlotMenu(slot, QPoint(0, 0));
        auto *menu = child<QMenu>("PopupMenu1");
        for (QAction *a : menu->actions()) {
            if (a->objectName() == QLatin1String(action))
                a->trigger();
        }
        menu->hide();
    }
};

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

} // namespace

// Something another window may do with a pointer it kept before the window
// was made; true when it did what it would do on a made window.
using KeptUse = std::function<bool(FormWindow *)>;
Q_DECLARE_METATYPE(KeptUse)

class TestIconEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dropPlacesACommandWithItsControls_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("gauge");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("ON") << 16 << "1" << 12 << QStringList{};
        QTest::newRow("Light") << 18 << "2" << 24 << QStringList{"P1_Bar0", "P1_Edit0"};
        QTest::newRow("F_In") << 19 << "3" << 36 << QStringList{"P1_Bar0", "P1_Edit0", "P2_Bar0", "P2_Edit0"};
        QTest::newRow("Time") << 21 << "3" << 36
                              << QStringList{"Spin_Edit_Hour0", "Spin_Edit_Minute0", "Spin_Edit_Second0"};
    }
    void dropPlacesACommandWithItsControls()
    {
        QFETCH(int, code);
        QFETCH(QString, total);
        QFETCH(int, gauge);
        QFETCH(QStringList, controls);
        EditorRig rig;
        QVERIFY(rig.drop(0, code));
        QCOMPARE(rig.total(), total);
        QCOMPARE(rig.gauge(1), gauge);
        QVERIFY(rig.editor->isModified());
        for (const QString &name : controls) {
            auto *control = rig.child<QWidget>(name);
            QVERIFY2(control && control->isVisible(), qPrintable(name));
        }
        if (controls.isEmpty())
            QVERIFY(!rig.child<QWidget>("P1_Edit0") || !rig.child<QWidget>("P1_Edit0")->isVisible());
    }

    void dropsRefusedAtTheLimit()
    {
        EditorRig rig;
        for (int i = 0; i < 15; ++i)
            rig.drop(i, 21);
        rig.drop(15, 16);
        QCOMPARE(rig.total(), QStringLiteral("46"));
        QCOMPARE(rig.gauge(4), 120);
        rig.drop(16, 18);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::AddOverLimit503});
        QVERIFY(rig.editor->program().Slots[16].isEmpty());
        rig.drop(16, 16);
        QCOMPARE(rig.total(), QStringLiteral("47"));
        QCOMPARE(rig.gauge(4), 132);
        rig.drop(0, 16); // lighter than the Time it would replace, still refused
        QCOMPARE(rig.dialogs.warnings.size(), 2);
        QCOMPARE(rig.editor->program().Slots[0].code, QStringLiteral("21"));
        rig.drop(0, 100);
        QCOMPARE(rig.editor->program().Slots[0].code, QStringLiteral("100"));
        // A gap filled in front counts in what follows it: over the limit, red and plainly full.
        for (const char *action : {"Delete1", "Insert1", "drop", "Insert1", "drop"})
            action == QByteArray("drop") ? void(rig.drop(0, 21)) : rig.slotMenu(0, action);
        QCOMPARE(rig.total(), QStringLiteral("50"));
        QVERIFY(rig.child<QLabel>("Label1")->styleSheet().contains(QStringLiteral("#d32f2f")));
        QCOMPARE(rig.gauge(4), 144);
    }

    void dropScrollsTheStrip()
    {
        EditorRig rig;
        rig.drop(30, 16);
        QCOMPARE(rig.editor->stripPosition(), 2915);
        rig.drop(10, 16);
        QCOMPARE(rig.editor->stripPosition(), 2915);
        rig.drop(45, 16);
        QCOMPARE(rig.editor->stripPosition(), 4426);
        rig.drop(1, 16);
        QCOMPARE(rig.editor->stripPosition(), 0);
    }

    void valueBoxesAndSlidersAreCoupled()
    {
        EditorRig rig;
        rig.drop(0, 18);
        auto *bar = rig.child<QSlider>("P1_Bar0");
        bar->setValue(40);
        QCOMPARE(rig.child<QLineEdit>("P1_Edit0")->text(), QStringLiteral("40"));
        QCOMPARE(rig.editor->program().Slots[0].value1, QStringLiteral("40"));
        rig.typeInto("P1_Edit0", "150");
        QCOMPARE(bar->value(), 100);
        QCOMPARE(rig.child<QLineEdit>("P1_Edit0")->text(), QStringLiteral("100"));
        QCOMPARE(rig.editor->program().Slots[0].value1, QStringLiteral("100"));
        rig.typeInto("P1_Edit0", "abc");
        QCOMPARE(rig.child<QLineEdit>("P1_Edit0")->text(), QString());
        QCOMPARE(rig.editor->program().Slots[0].value1, QStringLiteral("100"));

        rig.drop(1, 22);
        QCOMPARE(rig.child<QSlider>("P1_Bar1")->maximum(), 46);
        QCOMPARE(rig.child<QSlider>("P1_Bar1")->pageStep(), 5);
        QCOMPARE(rig.child<QSlider>("P2_Bar1")->pageStep(), 26);
        rig.drop(2, 21);
        rig.child<QSpinBox>("Spin_Edit_Hour2")->setValue(1);
        rig.child<QSpinBox>("Spin_Edit_Minute2")->setValue(2);
        rig.child<QSpinBox>("Spin_Edit_Second2")->setValue(3);
        QCOMPARE(rig.editor->program().Slots[2].value1, QStringLiteral("3723"));
    }

    void insertAndDeleteThroughTheSlotMenu()
    {
        EditorRig rig;
        for (int i = 0; i < 10; ++i)
            rig.drop(i, i == 3 ? 18 : 16);
        rig.child<QSlider>("P1_Bar3")->setValue(70);
        rig.slotMenu(2, "Insert1");
        QVERIFY(rig.editor->program().Slots[2].isEmpty());
        QCOMPARE(rig.editor->program().Slots[4], (IconSlot{"18", "70", "1"}));
        QCOMPARE(rig.child<QLineEdit>("P1_Edit4")->text(), QStringLiteral("70"));
        QVERIFY(!rig.child<QLineEdit>("P1_Edit3")->isVisible()); // an ON moved there
        QCOMPARE(rig.total(), QStringLiteral("2"));
        rig.slotMenu(2, "Delete1");
        QCOMPARE(rig.editor->program().Slots[3], (IconSlot{"18", "70", "1"}));
        QCOMPARE(rig.total(), QStringLiteral("11"));
        QVERIFY(rig.editor->program().Slots[9].code == QLatin1String("16"));
        QVERIFY(rig.editor->program().Slots[10].isEmpty());
    }

    void sendRefusesAFaultyProgram()
    {
        EditorRig rig;
        rig.drop(0, 21); // a timer of 0 seconds
        rig.editor->SendClick();
        QCOMPARE(rig.dialogs.warnings, (QStringList{msg::OutOfRange507, msg::ProgramError502}));
        QVERIFY(rig.sound.played.isEmpty());
    }

    void sendPlaysTheExactPacket()
    {
        EditorRig rig;
        rig.drop(0, 16);
        rig.drop(1, 18);
        rig.child<QSlider>("P1_Bar1")->setValue(50);
        rig.drop(2, 100);
        rig.editor->SendClick();
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "wait 500", "play", "silence"}));
        const Packet expected = *packet::ledProgram(filled({"16", "18,50", "100"}));
        QCOMPARE(rig.sound.played.first(), wav::fileBytes(tone::transferSound(expected, [] { return 0; })));
        rig.editor->ActionClick();
        QCOMPARE(rig.sound.played.last(), wav::fileBytes(tone::transferSound({1}, [] { return 0; })));
    }

    void saveQuestionAnswers()
    {
        EditorRig rig;
        const QString path = rig.home.home() + "/mine";
        rig.drop(0, 16);
        // Cancel: stays, still modified.
        rig.dialogs.answers = {Answer::Cancel};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isVisible());
        QVERIFY(rig.editor->isModified());
        QCOMPARE(rig.dialogs.questionBoxes.first(), (QPair{AnswerButtons::YesNoCancel, BoxKind::Information}));
        // Yes: saves (here as mine.kr3), stays in the editor, no longer modified.
        rig.dialogs.answers = {Answer::Yes};
        rig.dialogs.fileNames = {path};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isVisible());
        QVERIFY(!rig.editor->isModified());
        QCOMPARE(textfile::readLines(path + ".kr3")->mid(0, 2), (QStringList{"LED", "16"}));
        // Again: no question; the editor empties and the menu shows.
        rig.editor->MenuClick();
        QVERIFY(!rig.editor->isVisible());
        QVERIFY(rig.forms.form(2)->isVisible());
        QCOMPARE(rig.editor->program(), IconProgram());
        QCOMPARE(rig.dialogs.questions.size(), 2);

        // No: leaves without saving.
        rig.forms.open(rig.forms.form(2), 8);
        rig.drop(0, 17);
        rig.dialogs.answers = {Answer::No};
        rig.editor->All_DeleteClick();
        QCOMPARE(rig.editor->program(), IconProgram());
        QCOMPARE(rig.total(), QStringLiteral("0"));
    }

    void cancelledSaveDialogKeepsTheMark()
    {
        EditorRig rig;
        rig.drop(0, 16);
        rig.dialogs.answers = {Answer::Yes};
        rig.editor->MenuClick(); // save dialog cancelled (no file name)
        QVERIFY(rig.editor->isVisible());
        QVERIFY(rig.editor->isModified());
    }

    void saveAndOpenFiles()
    {
        EditorRig rig;
        rig.drop(0, 21);
        // A timer of 0: (507), then the grammar question; No writes nothing.
        rig.dialogs.fileNames = {rig.home.home() + "/t"};
        rig.dialogs.answers = {Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());
        QVERIFY(!QFile::exists(rig.home.home() + "/t.kr3"));
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::OutOfRange507});
        QCOMPARE(rig.dialogs.questions, QStringList{msg::GrammarPrompt});
        QCOMPARE(rig.dialogs.questionBoxes.first(), (QPair{AnswerButtons::YesNo, BoxKind::Question}));
        // Yes writes "DD".
        rig.dialogs.fileNames = {rig.home.home() + "/t.KR3"};
        rig.dialogs.answers = {Answer::Yes};
        QVERIFY(rig.editor->File_SaveClick());
        QCOMPARE(textfile::readLines(rig.home.home() + "/t.KR3")->first(), QStringLiteral("DD"));
        // Saving over it asks first.
        rig.dialogs.fileNames = {rig.home.home() + "/t.KR3"};
        rig.dialogs.answers = {Answer::Yes, Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());
        QCOMPARE(rig.dialogs.questions.last(), msg::OverwritePrompt);

        // Opening it back.
        rig.editor->All_DeleteClick();
        rig.dialogs.answers = {Answer::No};
        rig.dialogs.fileNames = {rig.home.home() + "/t.KR3"};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.editor->program().Slots[0].code, QStringLiteral("21"));
        QVERIFY(rig.child<QSpinBox>("Spin_Edit_Hour0"));
        QVERIFY(!rig.editor->isModified());
    }

    void openRefusals()
    {
        EditorRig rig;
        const QString melody = rig.home.home() + "/m.kr3";
        textfile::writeLines(melody, {"MELODY", "1"});
        rig.drop(0, 16);
        rig.dialogs.answers = {Answer::No};
        rig.dialogs.fileNames = {rig.home.home() + "/x.txt"};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.dialogs.informations, QStringList{msg::CannotOpen111});
        rig.dialogs.answers = {Answer::No};
        rig.dialogs.fileNames = {melody};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.dialogs.informations.last(), msg::OtherStep112);
        QCOMPARE(rig.editor->program().Slots[0].code, QStringLiteral("16")); // unchanged

        const QString values = rig.home.home() + "/v.kr3";
        textfile::writeLines(values, {"LED", "19,120,0"});
        rig.editor->openFile(values);
        QCOMPARE(rig.child<QLineEdit>("P1_Edit0")->text(), QStringLiteral("100"));
        QCOMPARE(rig.child<QLineEdit>("P2_Edit0")->text(), QString());
        QCOMPARE(rig.child<QSlider>("P2_Bar0")->value(), 1);
        QCOMPARE(rig.editor->program().Slots[0], (IconSlot{"19", "100", "0"}));
    }

    void wheelOverTheStripMovesItByTen()
    {
        EditorRig rig;
        auto *strip = rig.child<QScrollArea>("ScrollBox1");
        const auto wheel = [&](int delta) {
            QWheelEvent event(QPointF(50, 50), strip->viewport()->mapToGlobal(QPointF(50, 50)), {}, {0, delta},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(strip->viewport(), &event);
        };
        wheel(-120);
        wheel(-120);
        QCOMPARE(rig.editor->stripPosition(), 20);
        wheel(120);
        QCOMPARE(rig.editor->stripPosition(), 10);
        wheel(120);
        wheel(120);
        QCOMPARE(rig.editor->stripPosition(), 0);
    }

    void wheelOverASliderScrollsInsteadOfChangingIt()
    {
        EditorRig rig;
        rig.drop(0, 18);
        rig.drop(1, 21);
        rig.child<QSlider>("P1_Bar0")->setValue(50);
        rig.editor->setStripPosition(0);
        for (const char *name : {"P1_Bar0", "Spin_Edit_Hour1"}) {
            auto *control = rig.child<QWidget>(name);
            QWheelEvent event(QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(control, &event);
        }
        QCOMPARE(rig.editor->stripPosition(), 20);
        QCOMPARE(rig.child<QSlider>("P1_Bar0")->value(), 50);
        QCOMPARE(rig.editor->program().Slots[0].value1, QStringLiteral("50"));
        QCOMPARE(rig.editor->program().Slots[1].value1, QStringLiteral("0"));
    }

    // Whatever control changes a value marks a program that was just opened,
    // so that leaving asks the save question.
    void controlChangesMarkAnOpenedProgram_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("brightness slider") << "P1_Bar0";
        QTest::newRow("brightness box typed") << "P1_Edit0";
        QTest::newRow("fade speed slider") << "P2_Bar1";
        QTest::newRow("fade speed box typed") << "P2_Edit1";
        QTest::newRow("hours") << "Spin_Edit_Hour2";
        QTest::newRow("minutes") << "Spin_Edit_Minute2";
        QTest::newRow("seconds") << "Spin_Edit_Second2";
    }
    void controlChangesMarkAnOpenedProgram()
    {
        QFETCH(QString, control);
        EditorRig rig;
        const QString path = rig.home.home() + "/opened.kr3";
        QVERIFY(textfile::writeLines(path, {"LED", "18,50", "19,80,2", "21,30", "100"}));
        rig.editor->openFile(path);
        QVERIFY(!rig.editor->isModified());
        if (auto *bar = rig.child<QSlider>(control))
            bar->setValue(bar->value() + 1);
        else if (auto *spin = rig.child<QSpinBox>(control))
            spin->setValue(spin->value() + 1);
        else
            rig.typeInto(control, "7");
        QVERIFY(rig.editor->isModified());
        rig.dialogs.answers = {Answer::Cancel};
        rig.editor->MenuClick();
        QCOMPARE(rig.dialogs.questions, QStringList{msg::SavePrompt});
        QVERIFY(rig.editor->isVisible());
    }

    void insertOrDeleteMarksOnlyWhenTheProgramChanges_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("marked");
        QTest::newRow("insert before a command") << 0 << "Insert1" << true;
        QTest::newRow("delete a command") << 1 << "Delete1" << true;
        QTest::newRow("insert among the empty slots") << 10 << "Insert1" << false;
        QTest::newRow("delete an empty slot") << 10 << "Delete1" << false;
    }
    void insertOrDeleteMarksOnlyWhenTheProgramChanges()
    {
        QFETCH(int, slot);
        QFETCH(QString, action);
        QFETCH(bool, marked);
        EditorRig rig;
        const QString path = rig.home.home() + "/opened.kr3";
        QVERIFY(textfile::writeLines(path, {"LED", "16", "18,50", "17", "100"}));
        rig.editor->openFile(path);
        QVERIFY(!rig.editor->isModified());
        rig.slotMenu(slot, action.toLatin1().constData());
        QCOMPARE(rig.editor->isModified(), marked);
    }

    void missingPagesAndPicturesAreReported()
    {
        QTemporaryDir resources;
        QVERIFY(linkResourcesExcept(resources.path(),
                                    {"HTML/DD/index.html", icon::dragPicturePath(16), "Navi/KR-31navi.html"}));
        EditorRig rig(resources.path());
        // The instruction pane's page, at the showing.
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::OpenError102});
        rig.dialogs.warnings.clear();
        // The drag picture, when a drag starts; the drag goes on without it.
        int dragged = 0;
        rig.editor->runDrag = [&dragged](QDrag *) { ++dragged; };
        auto *icon = rig.child<QLabel>("Image1");
        QTest::mousePress(icon, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(icon, QPoint(40, 40));
        QTest::mouseRelease(icon, Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(dragged, 1);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::FileMissing101});
        rig.dialogs.warnings.clear();
        // The user guide: missing, the shell is not even asked.
        rig.editor->HelpClick();
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.first().startsWith(msg::OpenError102 + "\nヘルプのファイルが見つかりません。\n"));
        QVERIFY(rig.dialogs.warnings.first().endsWith("/Navi/KR-31navi.html"));
        QVERIFY(rig.shell.opened.isEmpty());
    }

    void helpThatTheShellCannotOpenIsReported()
    {
        EditorRig rig;
        rig.editor->HelpClick();
        QCOMPARE(rig.shell.opened.size(), 1);
        QVERIFY(rig.dialogs.warnings.isEmpty());
        rig.shell.succeeds = false;
        rig.editor->HelpClick();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::helpNotOpened(rig.shell.opened.first(), false)});
        // A tool that is not an editor says nothing, as before.
        rig.dialogs.warnings.clear();
        rig.forms.form(6)->HelpClick();
        QCOMPARE(rig.shell.opened.size(), 3);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void failedSaveKeepsTheMarkAndSaysSo()
    {
        EditorRig rig;
        rig.drop(0, 16);
        rig.dialogs.fileNames = {rig.home.home() + "/no/such/folder/p"};
        QVERIFY(!rig.editor->File_SaveClick());
        QVERIFY(rig.editor->isModified());
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.first().startsWith(QStringLiteral("ファイルを保存できませんでした。")));
    }

    void closingFromTheDesktopAsksTheSaveQuestion()
    {
        EditorRig rig;
        rig.drop(0, 16);
        rig.dialogs.answers = {Answer::Cancel};
        QVERIFY(!rig.editor->close());
        QVERIFY(rig.editor->isVisible());
        QCOMPARE(rig.dialogs.questions, QStringList{msg::SavePrompt});
        QCOMPARE(rig.editor->program().Slots[0].code, QStringLiteral("16"));
        // Answered No, the program ends (the main menu closes).
        rig.dialogs.answers = {Answer::No};
        QSignalSpy ended(rig.form<MainMenuWindow>(2), &MainMenuWindow::closed);
        rig.editor->close();
        QCOMPARE(ended.size(), 1);
        QVERIFY(!rig.editor->isVisible());
    }

    // The editors and the command dialog make their components only when
    // first needed, whatever reaches them first.
    void contentsWaitUntilNeeded_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("component");
        QTest::addColumn<KeptUse>("use");
        QTest::newRow("icon editor") << 8 << "Drop_image47" << KeptUse([](FormWindow *w) {
            auto *editor = static_cast<IconEditorWindow *>(w);
            editor->dropCommand(0, 18);
            return editor->program().Slots[0].code == "18" && editor->findChild<QSlider *>("P1_Bar0");
        });
        QTest::newRow("flowchart editor") << 5 << "PaintBox1" << KeptUse([](FormWindow *w) {
            auto *editor = static_cast<FlowchartEditorWindow *>(w);
            editor->Add_CommandClick();
            return editor->isModified();
        });
        QTest::newRow("command dialog") << 11 << "ComboBox1" << KeptUse([](FormWindow *w) {
            static_cast<CommandDialogWindow *>(w)->setMenuItems({"ON", "OFF"});
            return w->findChild<QComboBox *>("ComboBox1")->count() == 2;
        });
    }
    void contentsWaitUntilNeeded()
    {
        QFETCH(int, number);
        QFETCH(QString, component);
        QFETCH(KeptUse, use);
        {
            UiRig rig;
            const QString wrong = rig.madeWhenFirstReached(number, {component});
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
        UiRig rig;
        FormWindow *kept = rig.forms.existing(number);
        QVERIFY(use(kept));
        QVERIFY(kept->isBuilt());
        QVERIFY(kept->findChild<QWidget *>(component));
    }
    void windowsNeverReachedGoCleanly()
    {
        auto rig = std::make_unique<UiRig>();
        for (int number : {5, 8, 11})
            QVERIFY(!rig->forms.existing(number)->isBuilt());
        rig.reset();
    }

    void chartAndReportGetTheProgram()
    {
        EditorRig rig;
        rig.drop(0, 16);
        rig.drop(1, 26);
        rig.editor->furoClick();
        auto *chart = rig.form<ChartViewWindow>(10);
        QCOMPARE(chart->steps(), (QStringList{"16", "26"}));
        QVERIFY(chart->isVisible());
        rig.editor->ReportClick();
        QVERIFY(rig.forms.form(14)->isVisible());
    }
};

QTEST_MAIN(TestIconEditor)
#include "tst_IconEditor.moc"
