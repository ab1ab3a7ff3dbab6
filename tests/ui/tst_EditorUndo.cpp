#include "core/Messages.h"
#include "core/Recovery.h"
#include "core/TextFile.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "support/ui/UiRig.h"
#include "ui/RecoveryKeeper.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>

#include <sys/stat.h>

using namespace kr31;
using namespace kr31::test;

namespace {

// One editor seen the same way for every editor: its n-th edit as the learner
// makes it, what it holds, its mark, its save and its open.
struct Subject
{
    FormWindow *window = nullptr;
    std::function<void(int)> edit;
    std::function<QString()> state;
    std::function<bool()> modified;
    std::function<void()> save; // through the save dialog, answered by the rig
    std::function<void(const QString &)> open;
};

struct UndoRig : UiRig
{
    Subject subject;

    explicit UndoRig(const QString &editor)
    {
        settings.setWizardStart(0);
        if (editor == QLatin1String("icon"))
            subject = icon();
        else if (editor == QLatin1String("flowchart"))
            subject = flowchart();
        else if (editor == QLatin1String("text"))
            subject = text();
        else
            subject = melody();
        forms.open(nullptr, subject.window->number());
        settle();
        subject.window->activateWindow();
        QApplication::setActiveWindow(subject.window);
        log.clear();
    }

    Subject icon()
    {
        auto *w = form<IconEditorWindow>(8);
        // Slots 0..20 in turn: a slot comes round again with the other command.
        return {w, [w](int n) { w->dropCommand(n % 21, n % 2 ? 17 : 16); },
                [w] { return w->program().compileSlots().join(u' '); }, [w] { return w->isModified(); },
                [w] { w->File_SaveClick(); }, [w](const QString &path) { w->openFile(path); }};
    }

    Subject flowchart()
    {
        auto *w = form<FlowchartEditorWindow>(5);
        return {w,
                [w](int n) {
                    w->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentIndex(n % 2);
                    w->Add_CommandClick();
                },
                [w] { return w->program().pageLines().join(u' '); }, [w] { return w->isModified(); },
                [w] { w->File_SaveClick(); }, [w](const QString &path) { w->openFile(path); }};
    }

    Subject text()
    {
        auto *w = form<TextEditorWindow>(9);
        return {w,
                [w](int n) {
                    // Typed at the start, so that the control keeps each as a step of its own.
                    w->textControl()->setCursorPosition(0, 0);
                    QTest::keyClicks(w->textControl(), n % 2 ? QStringLiteral("OFF();\r") : QStringLiteral("ON();\r"));
                },
                [w] { return w->textControl()->text(); }, [w] { return w->isModified(); },
                [w] { w->File_SaveClick(); }, [w](const QString &path) { w->openFile(path); }};
    }

    Subject melody()
    {
        auto *w = form<MelodyEditorWindow>(4);
        // Notes from the keyboard into Melody 1, from the 90th on into Melody 2.
        return {w,
                [w](int n) {
                    if (n >= 90)
                        w->findChild<QRadioButton *>(QStringLiteral("RadioButton8"))->setChecked(true);
                    QTest::keyClick(w, n % 2 ? Qt::Key_S : Qt::Key_A);
                },
                [w] {
                    QStringList codes;
                    for (const auto &voice : w->melody().notes) {
                        for (int code : voice)
                            codes.append(QString::number(code));
                        codes.append(QStringLiteral("|"));
                    }
                    for (int value : w->melody().linkValues)
                        codes.append(QString::number(value));
                    return codes.join(u' ') + (w->melody().link ? " link" : "");
                },
                [w] { return w->isModified(); }, [w] { w->File_SaveClick(); },
                [w](const QString &path) { w->openFile(path); }};
    }

    // The keys as the learner presses them, to the widget with the focus.
    void press(QKeyCombination keys)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != subject.window)
            target = subject.window;
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
    }
    void undo() { press(Qt::CTRL | Qt::Key_Z); }
    void redo() { press(Qt::CTRL | Qt::Key_Y); }

    bool copyOwed() { return subject.window->findChild<RecoveryKeeper *>()->active(); }
    QString path(const QString &name) const { return home.home() + u'/' + name; }
};

void addEditors()
{
    QTest::addColumn<QString>("editor");
    for (const char *name : {"icon", "flowchart", "text", "melody"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

} // namespace

class TestEditorUndo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void undoAndRedoKeys_data() { addEditors(); }
    void undoAndRedoKeys();
    void undoToTheSavedStateClearsTheMark_data() { addEditors(); }
    void undoToTheSavedStateClearsTheMark();
    void openingForgetsTheHistory_data() { addEditors(); }
    void openingForgetsTheHistory();
    void aFailedOpenKeepsTheWork_data();
    void aFailedOpenKeepsTheWork();
    void aHundredStepsBack_data();
    void aHundredStepsBack();
    void iconSliderDragIsOneStep();
    void typedValueIsOneStepAndUndoneFromItsBox_data();
    void typedValueIsOneStepAndUndoneFromItsBox();
    void iconTimeAndInsertDeleteAreSteps();
    void flowchartUndoShowsThePageOfTheEdit();
    void flowchartClearPageIsOneStep();
    void melodyLinkSliderAndSwitch();
    void melodyUndoKeyAddsNoNote();
    void textUndoFromTheHelpPane();
    void resetForgetsTheHistory_data();
    void resetForgetsTheHistory();
    void recoveredWorkStaysModified_data();
    void recoveredWorkStaysModified();
    void recoveryCopyHoldsTheUndoneWork_data() { addEditors(); }
    void recoveryCopyHoldsTheUndoneWork();
};

// GIVEN an editor with two edits, WHEN Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z are
// pressed, THEN it goes back and forth one edit at a time and the modified
// mark and the recovery copy follow.
void TestEditorUndo::undoAndRedoKeys()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    const QString empty = s.state();
    s.edit(0);
    const QString one = s.state();
    s.edit(1);
    const QString two = s.state();
    QVERIFY(one != empty && two != one);
    QVERIFY(s.modified());

    rig.undo();
    QCOMPARE(s.state(), one);
    QVERIFY(s.modified());
    rig.undo();
    QCOMPARE(s.state(), empty);
    QVERIFY(!s.modified());
    QVERIFY(!rig.copyOwed());
    rig.undo(); // nothing more to undo
    QCOMPARE(s.state(), empty);

    rig.redo();
    QCOMPARE(s.state(), one);
    QVERIFY(s.modified());
    QVERIFY(rig.copyOwed());
    rig.press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(s.state(), two);
    rig.redo(); // nothing more to redo
    QCOMPARE(s.state(), two);

    // A new edit after an undo drops what could be redone.
    rig.undo();
    s.edit(2);
    const QString three = s.state();
    rig.redo();
    QCOMPARE(s.state(), three);
    rig.undo();
    QCOMPARE(s.state(), one);
}

void TestEditorUndo::undoToTheSavedStateClearsTheMark()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    s.edit(0);
    rig.dialogs.fileNames = {rig.path("saved")};
    s.save();
    QVERIFY(!s.modified());
    const QString saved = s.state();
    s.edit(1);
    QVERIFY(s.modified());

    rig.undo();
    QCOMPARE(s.state(), saved);
    QVERIFY(!s.modified());
    QVERIFY(!rig.copyOwed());
    rig.undo(); // past the save: modified again
    QVERIFY(s.modified());
    QVERIFY(rig.copyOwed());
    rig.redo();
    QCOMPARE(s.state(), saved);
    QVERIFY(!s.modified());
    rig.redo();
    QVERIFY(s.modified());
}

void TestEditorUndo::openingForgetsTheHistory()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    s.edit(0);
    rig.dialogs.fileNames = {rig.path("file")};
    s.save();
    const QString file = rig.path("file.kr3");
    QVERIFY(QFileInfo::exists(file));
    s.edit(1);
    s.edit(2);
    rig.undo(); // steps to undo and one to redo

    s.open(file);
    const QString opened = s.state();
    QVERIFY(!s.modified() || editor == QLatin1String("melody")); // the melody editor keeps its mark on open
    rig.undo();
    QCOMPARE(s.state(), opened);
    rig.redo();
    QCOMPARE(s.state(), opened);
}

void TestEditorUndo::aFailedOpenKeepsTheWork_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QStringList>("lines"); // or {"<folder>"}, {"<pipe>"}
    QTest::addColumn<QString>("reason");
    QTest::newRow("icon") << "icon" << QStringList{"LED", "16", "18,40", "oops", "17"} << msg::badLine(4);
    QTest::newRow("flowchart") << "flowchart" << QStringList{"FURO", "16", "DATA", "17/", "26/"}
                               << msg::pagesMissing(5);
    QTest::newRow("melody") << "melody" << QStringList{"MELODY", "UP", "60", "x"} << msg::badLine(4);
    QTest::newRow("melody, link value") << "melody" << QStringList{"MELODY", "LINK", "1", "50", "half"}
                                        << msg::badLine(5);
    QTest::newRow("text, a folder") << "text" << QStringList{"<folder>"} << msg::IsFolder;
    QTest::newRow("icon, a pipe") << "icon" << QStringList{"<pipe>"} << msg::NotRegularFile;
    QTest::newRow("flowchart, too large")
        << "flowchart" << QStringList{QString(textfile::TextLimit, u'1')} << msg::tooLarge(textfile::TextLimit);
    QTest::newRow("melody, empty") << "melody" << QStringList{} << msg::EmptyFile;
    QTest::newRow("text, empty") << "text" << QStringList{} << msg::EmptyFile;
    // Told as a note, not a warning.
    QTest::newRow("text, another step's file (112)") << "text" << QStringList{"MELODY", "60"} << msg::OtherStep112;
}

// An Open that fails shows (102), the file and why (or (112) alone), and leaves the work, its mark, its
// crash copy and its history.
void TestEditorUndo::aFailedOpenKeepsTheWork()
{
    QFETCH(QString, editor);
    QFETCH(QStringList, lines);
    QFETCH(QString, reason);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    s.edit(0);
    s.edit(1);
    const QString work = s.state();
    const QString path = rig.path("broken.kr3");
    if (lines == QStringList{"<folder>"})
        QVERIFY(QDir().mkpath(path));
    else if (lines == QStringList{"<pipe>"})
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(textfile::writeLines(path, lines));
    rig.dialogs.informations.clear();
    s.open(path);
    if (reason == msg::OtherStep112)
        QCOMPARE(rig.dialogs.informations, QStringList{reason});
    else
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::notOpened(path, reason)});
    QCOMPARE(s.state(), work);
    QVERIFY(s.modified());
    QVERIFY(rig.copyOwed()); // its crash copy too
    rig.undo();
    QVERIFY(s.state() != work);
}

void TestEditorUndo::aHundredStepsBack_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("undone");
    // The icon strip has 47 slots; a drop on a slot already used is still an edit.
    QTest::newRow("icon, 120 edits") << "icon" << 120 << 100;
    QTest::newRow("flowchart, 40 edits") << "flowchart" << 40 << 40;
    QTest::newRow("melody, 105 notes") << "melody" << 105 << 100;
    QTest::newRow("text, 110 edits") << "text" << 110 << 110;
}

// At least 100 steps back; past that the oldest are gone (the text control keeps all).
void TestEditorUndo::aHundredStepsBack()
{
    QFETCH(QString, editor);
    QFETCH(int, edits);
    QFETCH(int, undone);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    QStringList states{s.state()};
    for (int n = 0; n < edits; ++n) {
        s.edit(n);
        states.append(s.state());
    }
    for (int n = 0; n < edits + 5; ++n)
        rig.undo();
    QCOMPARE(s.state(), states.at(edits - undone));
    QCOMPARE(s.modified(), undone < edits);
}

// A slider dragged along many positions is one step.
void TestEditorUndo::iconSliderDragIsOneStep()
{
    UndoRig rig("icon");
    auto *w = static_cast<IconEditorWindow *>(rig.subject.window);
    w->dropCommand(0, 19); // F_In: two sliders
    auto *bar = w->findChild<QSlider *>(QStringLiteral("P1_Bar0"));
    bar->setSliderDown(true);
    for (int value = 1; value <= 60; value += 7)
        bar->setValue(value);
    bar->setSliderDown(false);
    QCOMPARE(w->program().Slots[0].value1, QStringLiteral("57"));
    // A second drag of the same slider is a step of its own.
    bar->setSliderDown(true);
    bar->setValue(80);
    bar->setSliderDown(false);

    rig.undo();
    QCOMPARE(w->program().Slots[0].value1, QStringLiteral("57"));
    QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("P1_Edit0"))->text(), QStringLiteral("57"));
    rig.undo();
    QCOMPARE(w->program().Slots[0].value1, QStringLiteral("0"));
    QCOMPARE(w->findChild<QSlider *>(QStringLiteral("P1_Bar0"))->value(), 0);
    rig.undo();
    QVERIFY(w->program().Slots[0].isEmpty());
    QVERIFY(!w->findChild<QSlider *>(QStringLiteral("P1_Bar0")));
    QVERIFY(!w->isModified());
}

void TestEditorUndo::typedValueIsOneStepAndUndoneFromItsBox_data()
{
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("before");
    QTest::newRow("icon value box") << "icon" << "P2_Edit0" << "123" << "1";
    QTest::newRow("melody link box") << "melody" << "Edit3" << "45" << "100";
}

// GIVEN a value typed digit by digit into a box that keeps the focus, WHEN
// Ctrl+Z is pressed there, THEN the whole value goes back at once.
void TestEditorUndo::typedValueIsOneStepAndUndoneFromItsBox()
{
    QFETCH(QString, editor);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, before);
    UndoRig rig(editor);
    FormWindow *w = rig.subject.window;
    if (editor == QLatin1String("icon")) {
        static_cast<IconEditorWindow *>(w)->dropCommand(0, 19);
    } else {
        static_cast<MelodyEditorWindow *>(w)->LinkClick();
        QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("RadioButton10")), Qt::LeftButton);
    }
    const QString start = rig.subject.state();
    auto *edit = w->findChild<QLineEdit *>(box);
    edit->setFocus();
    QVERIFY(edit->hasFocus());
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed);

    rig.undo(); // the box has the focus: the window's history answers
    edit = w->findChild<QLineEdit *>(box);
    QCOMPARE(edit->text(), before);
    QCOMPARE(rig.subject.state(), start);
    rig.redo();
    QCOMPARE(w->findChild<QLineEdit *>(box)->text(), typed);
    rig.undo();
    rig.undo(); // and the step before the typing
    QVERIFY(!rig.subject.modified());
}

void TestEditorUndo::iconTimeAndInsertDeleteAreSteps()
{
    UndoRig rig("icon");
    auto *w = static_cast<IconEditorWindow *>(rig.subject.window);
    w->dropCommand(0, 16);
    w->dropCommand(1, 21);
    auto *seconds = w->findChild<QSpinBox *>(QStringLiteral("Spin_Edit_Second1"));
    seconds->setFocus();
    QVERIFY(seconds->hasFocus());
    seconds->selectAll();
    QTest::keyClicks(seconds, "45"); // typed: one step
    auto *minutes = w->findChild<QSpinBox *>(QStringLiteral("Spin_Edit_Minute1"));
    minutes->setFocus();
    QTest::keyClick(minutes, Qt::Key_Up); // arrows: a step each
    QTest::keyClick(minutes, Qt::Key_Up);
    QCOMPARE(w->program().Slots[1].value1, QStringLiteral("165"));
    auto *slotMenu = w->findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    w->openSlotMenu(0, {});
    slotMenu->hide(); // as a click on its item does
    w->Insert1Click();
    QCOMPARE(w->program().Slots[2].code, QStringLiteral("21"));
    w->openSlotMenu(0, {});
    slotMenu->hide();
    w->Delete1Click();
    w->Delete1Click();
    const QString after = rig.subject.state();
    QCOMPARE(w->program().Slots[0].code, QStringLiteral("21"));

    rig.undo(); // the second delete
    QCOMPARE(w->program().Slots[0].code, QStringLiteral("16"));
    rig.undo(); // the first
    rig.undo(); // the insert
    QCOMPARE(w->program().Slots[1].code, QStringLiteral("21"));
    QCOMPARE(w->findChild<QSpinBox *>(QStringLiteral("Spin_Edit_Minute1"))->value(), 2);
    rig.undo(); // the second arrow
    QCOMPARE(w->program().Slots[1].value1, QStringLiteral("105"));
    rig.undo();
    rig.undo(); // the typed seconds at once
    QCOMPARE(w->program().Slots[1].value1, QStringLiteral("0"));
    for (int i = 0; i < 6; ++i)
        rig.redo();
    QCOMPARE(rig.subject.state(), after);
}

// GIVEN an edit on subroutine 1 while the main program is shown, WHEN it is
// undone, THEN subroutine 1 shows without the edit; undoing the subroutine
// itself removes its tab and menu item.
void TestEditorUndo::flowchartUndoShowsThePageOfTheEdit()
{
    UndoRig rig("flowchart");
    auto *w = static_cast<FlowchartEditorWindow *>(rig.subject.window);
    auto *menu = w->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    w->Add_CommandClick();
    w->Add_SubClick();
    QCOMPARE(w->program().CurrentPage, 1);
    w->Add_CommandClick();
    w->SelectPage(0);
    QCOMPARE(menu->count(), 13);

    rig.undo();
    QCOMPARE(w->program().CurrentPage, 1);
    QCOMPARE(w->program().entries(1), QStringList());
    QVERIFY(w->findChild<QLabel *>(QStringLiteral("Sub_Pro_Image1"))->isVisible());
    rig.undo();
    QCOMPARE(w->program().SubroutineCount, 0);
    QCOMPARE(w->program().CurrentPage, 0);
    QCOMPARE(menu->count(), 12);
    QVERIFY(!w->findChild<QLabel *>(QStringLiteral("Sub_Pro_Image1"))->isVisible());
    QCOMPARE(w->program().entries(0), QStringList{"16"});
    QVERIFY(w->isModified());
    rig.redo();
    rig.redo();
    QCOMPARE(w->program().entries(1), QStringList{"16"});
    QCOMPARE(menu->count(), 13);
}

void TestEditorUndo::flowchartClearPageIsOneStep()
{
    UndoRig rig("flowchart");
    auto *w = static_cast<FlowchartEditorWindow *>(rig.subject.window);
    for (int i = 0; i < 3; ++i)
        w->Add_CommandClick();
    rig.dialogs.answers = {Answer::Yes};
    w->N3Click(); // clears page 0 (PageToClear)
    QCOMPARE(w->program().entryCount(0), 0);
    rig.undo();
    QCOMPARE(w->program().entryCount(0), 3);
    // A cancelled clear is no step.
    rig.dialogs.answers = {Answer::Cancel};
    w->N3Click();
    rig.undo();
    QCOMPARE(w->program().entryCount(0), 2);
}

void TestEditorUndo::melodyLinkSliderAndSwitch()
{
    UndoRig rig("melody");
    auto *w = static_cast<MelodyEditorWindow *>(rig.subject.window);
    w->LinkClick();
    QTest::mouseClick(w->findChild<QWidget *>(QStringLiteral("RadioButton10")), Qt::LeftButton);
    QVERIFY(w->melody().link);
    auto *bar = w->findChild<QSlider *>(QStringLiteral("LMDTrackBar5"));
    bar->setSliderDown(true);
    for (int value = 95; value >= 40; value -= 5)
        bar->setValue(value);
    bar->setSliderDown(false);
    QCOMPARE(w->melody().linkValues[4], 40);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click beside the thumb: a step
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // and another
    QCOMPARE(w->melody().linkValues[4], 60);

    rig.undo();
    QCOMPARE(w->melody().linkValues[4], 50);
    rig.undo();
    QCOMPARE(w->melody().linkValues[4], 40);
    QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Edit5"))->text(), QStringLiteral("40"));
    rig.undo(); // the whole drag
    QCOMPARE(w->melody().linkValues[4], 100);
    QCOMPARE(bar->value(), 100);
    QVERIFY(bar->isEnabled());
    rig.undo(); // the switch
    QVERIFY(!w->melody().link);
    QVERIFY(!bar->isEnabled());
    QVERIFY(w->findChild<QRadioButton *>(QStringLiteral("RadioButton9"))->isChecked());
    QVERIFY(!w->isModified());
}

// Y is a key of the note keyboard: with Ctrl it redoes and adds no note.
void TestEditorUndo::melodyUndoKeyAddsNoNote()
{
    UndoRig rig("melody");
    auto *w = static_cast<MelodyEditorWindow *>(rig.subject.window);
    QTest::keyClick(w, Qt::Key_Y);
    QCOMPARE(w->melody().notes[0].size(), 1);
    rig.undo();
    QCOMPARE(w->melody().notes[0].size(), 0);
    rig.redo();
    QCOMPARE(w->melody().notes[0].size(), 1);
    rig.redo();
    QCOMPARE(w->melody().notes[0].size(), 1);
}

void TestEditorUndo::textUndoFromTheHelpPane()
{
    UndoRig rig("text");
    auto *w = static_cast<TextEditorWindow *>(rig.subject.window);
    QTest::keyClicks(w->textControl(), "ON");
    auto *help = w->findChild<QTextBrowser *>(QStringLiteral("WebBrowser1"));
    help->setFocus();
    rig.undo();
    QCOMPARE(w->textControl()->text(), QString());
    QVERIFY(!w->isModified());
    rig.redo();
    QCOMPARE(w->textControl()->text(), QStringLiteral("ON"));
    QVERIFY(w->isModified());
}

void TestEditorUndo::resetForgetsTheHistory_data()
{
    QTest::addColumn<QString>("editor");
    QTest::newRow("icon") << "icon";
    QTest::newRow("flowchart") << "flowchart";
    QTest::newRow("melody") << "melody";
}

// All_Delete (answered No) and leaving by Menu empty the editor and its history.
void TestEditorUndo::resetForgetsTheHistory()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    const QString empty = s.state();
    s.edit(0);
    rig.dialogs.answers = {Answer::No};
    if (editor == QLatin1String("icon"))
        static_cast<IconEditorWindow *>(s.window)->All_DeleteClick();
    else if (editor == QLatin1String("flowchart"))
        static_cast<FlowchartEditorWindow *>(s.window)->All_DeleteClick();
    else
        static_cast<MelodyEditorWindow *>(s.window)->All_DeleteClick();
    QCOMPARE(s.state(), empty);
    rig.undo();
    QCOMPARE(s.state(), empty);
    QVERIFY(!s.modified());

    s.edit(1);
    rig.dialogs.answers = {Answer::No};
    s.window->MenuClick();
    rig.forms.open(rig.forms.form(2), s.window->number());
    s.window->activateWindow();
    QApplication::setActiveWindow(s.window);
    rig.undo();
    QCOMPARE(s.state(), empty);
    QVERIFY(!s.modified());
}

void TestEditorUndo::recoveredWorkStaysModified_data()
{
    resetForgetsTheHistory_data();
}

// Work offered back after a crash is in no file: no undo clears its mark or drops its copy.
void TestEditorUndo::recoveredWorkStaysModified()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    s.edit(0);
    s.edit(1);
    rig.dialogs.fileNames = {rig.path("work")};
    s.save();
    const QString work = s.state();
    const auto lines = textfile::readLines(rig.path("work.kr3"));
    QVERIFY(lines);
    s.window->MenuClick();
    rig.forms.open(rig.forms.form(2), s.window->number());
    s.window->activateWindow();
    QApplication::setActiveWindow(s.window);
    const QString empty = s.state();

    QVERIFY(s.window->findChild<RecoveryKeeper *>()->restore(*lines));
    QCOMPARE(s.state(), work);
    QVERIFY(s.modified());
    rig.undo(); // the recovered work is where the history starts
    QCOMPARE(s.state(), work);
    s.edit(2);
    rig.undo();
    QCOMPARE(s.state(), work);
    QVERIFY(s.modified());
    QVERIFY(rig.copyOwed());
    QVERIFY(s.state() != empty);
}

// An undo is a change: the copy kept against a crash is what a save would now write.
void TestEditorUndo::recoveryCopyHoldsTheUndoneWork()
{
    QFETCH(QString, editor);
    UndoRig rig(editor);
    Subject &s = rig.subject;
    auto *keeper = s.window->findChild<RecoveryKeeper *>();
    s.edit(0);
    s.edit(1);
    rig.clock.now += 5000;
    keeper->poll();
    rig.undo();
    rig.clock.now += 5000;
    keeper->poll();
    QFile copy(recovery::copyPath(keeper->key()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    const QByteArray copied = copy.readAll();
    copy.close();

    rig.dialogs.fileNames = {rig.path("now")};
    s.save();
    QFile saved(rig.path("now.kr3"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(copied, saved.readAll());
    QVERIFY(!copy.exists()); // and the save removed it
}

QTEST_MAIN(TestEditorUndo)
#include "tst_EditorUndo.moc"
