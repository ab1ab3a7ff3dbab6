// Recovery copies of the icon editor's unsaved work, and the offer at start,
// with the fake clock driving the keeper.
#include "core/Messages.h"
#include "core/Recovery.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "support/TinyDisk.h"
#include "support/ui/UiRig.h"
#include "ui/RecoveryKeeper.h"
#include "ui/RecoveryOffer.h"
#include "ui/menu/MainMenuWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <Qsci/qsciscintilla.h>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

struct RecoveryRig : UiRig
{
    IconEditorWindow *editor = nullptr;
    RecoveryKeeper *keeper = nullptr;
    RecoveryRig()
    {
        settings.setWizardStart(0);
        editor = form<IconEditorWindow>(8);
        keeper = RecoveryOffer::keeperOf(editor);
        forms.open(nullptr, 8);
        settle();
    }
    // Lets ms pass on the clock and the keeper look (as its timer does).
    void pass(quint32 ms)
    {
        clock.now += ms;
        keeper->poll();
    }
    QString copy() const { return recovery::copyPath("Icon"); }
    // The files in the recovery folder, but its lock.
    QStringList recoveryFiles() const
    {
        QStringList names = QDir(recovery::folder()).entryList(QDir::Files, QDir::Name);
        names.removeAll("kr31.lock");
        return names;
    }
    bool hasCopy() const { return QFile::exists(copy()); }
    QByteArray copyBytes() const { return home.readRecoveryFile("Icon.kr3"); }
    // What File_Save writes for the program as it stands.
    QByteArray saved()
    {
        const QString path = home.home() + "/saved.kr3";
        QFile::remove(path);
        dialogs.fileNames = {path};
        dialogs.answers = {Answer::Yes}; // a program that fails its check is saved anyway
        const bool ok = editor->File_SaveClick();
        Q_ASSERT(ok);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

// The four editors: a row name and the window number.
QList<std::pair<const char *, int>> editorList()
{
    return {{"icon", 8}, {"flowchart", 5}, {"text", 9}, {"melody", 4}};
}

void editorRows()
{
    QTest::addColumn<int>("form");
    for (const auto &[name, form] : editorList())
        QTest::newRow(name) << form;
}

// One editor as the learner works in it: a few edits, a save, a reset.
struct EditorDriver
{
    UiRig &rig;
    FormWindow *window = nullptr;
    RecoveryKeeper *keeper = nullptr;
    QString key;
    std::function<void()> edit;
    std::function<bool()> saveClick;
    std::function<bool()> modified;
    std::function<void()> reset; // the reset button, with the save question answered
    std::function<void()> empty; // the work thrown away (a reset, or the text emptied)

    EditorDriver(UiRig &r, int form)
        : rig(r)
        , window(r.forms.form(form))
        , keeper(RecoveryOffer::keeperOf(window))
    {
        key = keeper ? keeper->key() : QString();
        rig.forms.open(nullptr, form);
        if (auto *icon = qobject_cast<IconEditorWindow *>(window)) {
            edit = [icon] {
                icon->dropCommand(0, 16);
                icon->dropCommand(1, 18);
            };
            saveClick = [icon] { return icon->File_SaveClick(); };
            modified = [icon] { return icon->isModified(); };
            reset = [icon] { icon->All_DeleteClick(); };
        } else if (auto *flow = qobject_cast<FlowchartEditorWindow *>(window)) {
            edit = [flow] {
                flow->findChild<QComboBox *>("ComboBox1")->setCurrentIndex(0);
                flow->Add_CommandClick();
                flow->Add_SubClick();
                flow->Add_CommandClick();
            };
            saveClick = [flow] { return flow->File_SaveClick(); };
            modified = [flow] { return flow->isModified(); };
            reset = [flow] { flow->All_DeleteClick(); };
        } else if (auto *text = qobject_cast<TextEditorWindow *>(window)) {
            edit = [text] { text->textControl()->setText(QStringLiteral("ON\r\nWAIT 3\r\nOFF")); };
            saveClick = [text] { return text->File_SaveClick(); };
            modified = [text] { return text->isModified(); };
        } else if (auto *melody = qobject_cast<MelodyEditorWindow *>(window)) {
            edit = [melody] {
                melody->KeyClick(0);
                melody->KeyClick(4);
                melody->KeyClick(7);
                // The link page: on, and the third pitch at 40.
                melody->LinkClick();
                melody->findChild<QAbstractButton *>("RadioButton10")->click();
                melody->findChild<QSlider *>("LMDTrackBar3")->setValue(40);
            };
            saveClick = [melody] { return melody->File_SaveClick(); };
            modified = [melody] { return melody->isModified(); };
            reset = [melody] { melody->All_DeleteClick(); };
        }
        // Leaving keeps the text (and its copy) in its window: emptying it is its reset.
        empty = reset ? reset : [window = window] { static_cast<TextEditorWindow *>(window)->setProgramLines({}); };
    }
    // Lets the edits settle and the keeper look, as its timer does.
    void settle()
    {
        rig.clock.now += recovery::Debounce::SettleMs;
        keeper->poll();
    }
    bool hasCopy() const { return QFile::exists(recovery::copyPath(key)); }
    QByteArray copyBytes() const { return rig.home.readRecoveryFile(key + ".kr3"); }
    // Saves to a fresh file and answers with its bytes (empty when the save failed).
    QByteArray save(QString path = {})
    {
        if (path.isEmpty())
            path = rig.home.home() + "/saved.kr3";
        QFile::remove(path);
        rig.dialogs.fileNames = {path};
        rig.dialogs.answers = {Answer::Yes}; // saved as it stands when it fails its check
        if (!saveClick())
            return {};
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

class TestRecoveryUi : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void anEditIsCopiedOnceItSettles()
    {
        RecoveryRig rig;
        QVERIFY(rig.keeper);
        rig.editor->dropCommand(0, 16);
        rig.pass(400);
        rig.editor->dropCommand(1, 18);
        rig.pass(999);
        QVERIFY(!rig.hasCopy()); // the second edit restarted the wait
        rig.pass(1);
        QVERIFY(rig.hasCopy());
        const QByteArray copy = rig.copyBytes();
        QCOMPARE(copy, rig.saved());
        QVERIFY(!rig.hasCopy()); // the save took it away
    }

    void aSliderDraggedOnIsCopiedWhileItMoves()
    {
        RecoveryRig rig;
        rig.editor->dropCommand(0, 18);
        auto *bar = rig.editor->findChild<QSlider *>("P1_Bar0");
        QVERIFY(bar);
        int writes = 0;
        QByteArray last;
        // One step every 100 ms for 4 s: a copy every 1.5 s, not one per step.
        for (int step = 1; step <= 40; ++step) {
            bar->setValue(step);
            rig.pass(100);
            if (rig.hasCopy() && rig.copyBytes() != last) {
                last = rig.copyBytes();
                ++writes;
            }
        }
        QCOMPARE(writes, 2);
        rig.pass(1000);
        const QByteArray copy = rig.copyBytes();
        QCOMPARE(copy, rig.saved());
    }

    // Every way the learner lets the work go removes the copy.
    void droppingTheWorkRemovesTheCopy_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("save") << "save";
        QTest::newRow("reset") << "reset";
        QTest::newRow("menu, no") << "menu";
        QTest::newRow("bye, no") << "bye";
        QTest::newRow("open another file") << "open";
        QTest::newRow("clean exit") << "exit";
    }
    void droppingTheWorkRemovesTheCopy()
    {
        QFETCH(QString, how);
        RecoveryRig rig;
        rig.editor->dropCommand(0, 16);
        rig.pass(1000);
        QVERIFY(rig.hasCopy());
        rig.dialogs.answers = {Answer::No};
        if (how == "save") {
            rig.saved();
        } else if (how == "reset") {
            rig.editor->All_DeleteClick();
        } else if (how == "menu") {
            rig.editor->MenuClick();
        } else if (how == "bye") {
            rig.editor->ByeClick();
        } else if (how == "open") {
            const QString path = rig.home.home() + "/other.kr3";
            textfile::writeLines(path, {"LED", "17", "100"});
            rig.dialogs.fileNames = {path};
            rig.editor->File_OpenClick();
        } else {
            RecoveryOffer::discardAll(rig.forms);
        }
        QCOMPARE(rig.editor->isModified(), how == "exit");
        QVERIFY(!rig.hasCopy());
        rig.pass(5000);
        QVERIFY(!rig.hasCopy()); // nothing owed any more
    }

    void cancellingTheSaveQuestionKeepsTheCopy()
    {
        RecoveryRig rig;
        rig.editor->dropCommand(0, 16);
        rig.pass(1000);
        rig.dialogs.answers = {Answer::Cancel};
        rig.editor->MenuClick();
        QVERIFY(rig.hasCopy());
    }

    // A copy left by an earlier run is the start-up offer's, not the editor's:
    // an editor that has not been touched does not remove it.
    void anUntouchedEditorLeavesAnEarlierCopy()
    {
        RecoveryRig rig;
        recovery::writeCopy("Icon", textfile::encodeLines({"DD", "16"}));
        rig.editor->All_DeleteClick();
        RecoveryOffer::discardAll(rig.forms);
        QVERIFY(rig.hasCopy());
    }

    void theOfferComesAfterTheWizard()
    {
        RecoveryRig rig;
        auto *menu = rig.form<MainMenuWindow>(2);
        rig.editor->hide();
        rig.settings.setWizardStart(1);
        QSignalSpy started(menu, &MainMenuWindow::started);
        rig.modalShown.clear();
        menu->show();
        QVERIFY(started.isEmpty()); // not within the showing itself
        QTRY_COMPARE(started.size(), 1);
        QCOMPARE(rig.modalShown, QStringList{"TForm17"});
    }

    // answer: the learner's answer; then where the work is and what is left on disk.
    void offerAtStart_data()
    {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("restored");
        // A copy as the keeper writes it: what a save of that program writes.
        QStringList lines = {"LED", "16", "18,40", "21,90"};
        while (lines.size() < 48)
            lines.append("27");
        const QByteArray work = textfile::encodeLines(lines);
        QTest::newRow("yes") << work << Answer::Yes << 1 << true;
        QTest::newRow("no") << work << Answer::No << 1 << false;
        QTest::newRow("closed (Esc)") << work << Answer::Cancel << 1 << false;
        QTest::newRow("foreign file") << QByteArray("\x89PNG\r\n\x1a\n\0\0binary", 16) << Answer::Yes << 0 << false;
        QTest::newRow("melody file") << textfile::encodeLines({"MELODY", "60"}) << Answer::Yes << 0 << false;
        QTest::newRow("empty file") << QByteArray() << Answer::Yes << 0 << false;
    }
    void offerAtStart()
    {
        QFETCH(QByteArray, copy);
        QFETCH(Answer, answer);
        QFETCH(int, questions);
        QFETCH(bool, restored);
        RecoveryRig rig;
        rig.editor->hide();
        recovery::folder();
        rig.home.writeRecoveryFile("Icon.kr3", copy);
        rig.home.writeRecoveryFile("stray.txt", "x");
        RecoveryOffer offer(rig.forms);
        QVERIFY(!QFile::exists(recovery::folder() + "stray.txt"));
        QCOMPARE(offer.offers().size(), questions);
        rig.dialogs.answers = {answer};
        offer.ask();
        offer.ask(); // asked once only
        QCOMPARE(rig.dialogs.questions.size(), questions);
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QVERIFY(rig.dialogs.informations.isEmpty());
        if (questions)
            QVERIFY(rig.dialogs.questions.first().startsWith(msg::RecoveryIconWork));
        QCOMPARE(rig.editor->isVisible(), restored);
        QCOMPARE(rig.editor->isModified(), restored);
        // Restored: the editor's own copy holds the work at once. Only a plain
        // No drops it; a box closed without an answer keeps the copy, set
        // aside under its time, where this run's editor does not write.
        const QStringList left = rig.recoveryFiles();
        const bool closed = answer == Answer::Cancel;
        QCOMPARE(left.size(), restored || closed ? 1 : 0);
        QCOMPARE(rig.hasCopy(), restored);
        if (closed) {
            QVERIFY(left.first().startsWith("Icon-"));
            QCOMPARE(rig.home.readRecoveryFile(left.first()), copy);
            rig.editor->show();
            rig.editor->dropCommand(5, 17);
            rig.pass(1000);
            QVERIFY(rig.hasCopy());
            QCOMPARE(rig.home.readRecoveryFile(left.first()), copy);
            RecoveryOffer::discardAll(rig.forms); // a clean exit leaves it too
            QCOMPARE(rig.recoveryFiles(), left);
            rig.editor->hide();
            rig.dialogs.answers = {Answer::No};
            rig.editor->All_DeleteClick();
            RecoveryOffer again(rig.forms);
            QCOMPARE(again.offers().size(), 1);
            rig.dialogs.answers = {Answer::Yes};
            again.ask();
            QVERIFY(rig.editor->isModified());
            QCOMPARE(rig.recoveryFiles(), QStringList{"Icon.kr3"});
        } else if (!restored) {
            return;
        }
        QCOMPARE(rig.copyBytes(), copy);
        QCOMPARE(rig.saved(), copy);
        QVERIFY(rig.recoveryFiles().isEmpty());
    }

    // Copies of one editor from several earlier runs: the newest is asked
    // first; once one is restored the older ones wait for the next start.
    void theNewestCopyComesFirst()
    {
        RecoveryRig rig;
        rig.editor->hide();
        recovery::folder();
        const QByteArray older = textfile::encodeLines({"DD", "16"});
        const QByteArray newer = textfile::encodeLines({"DD", "17"});
        rig.home.writeRecoveryFile("Icon-20261201-100000.kr3", older);
        rig.home.writeRecoveryFile("Icon.kr3", newer);
        QFile aside(recovery::folder() + "Icon-20261201-100000.kr3");
        QVERIFY(aside.open(QIODevice::Append));
        QVERIFY(aside.setFileTime(QDateTime::currentDateTime().addDays(-7), QFileDevice::FileModificationTime));
        aside.close();
        RecoveryOffer offer(rig.forms);
        QCOMPARE(offer.offers().size(), 2);
        rig.dialogs.answers = {Answer::Yes, Answer::Yes};
        offer.ask();
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QCOMPARE(textfile::splitLines(QString::fromLatin1(rig.copyBytes())).mid(0, 3),
                 (QStringList{"LED", "17", "27"})); // the newer one, as the editor saves it
        QCOMPARE(rig.recoveryFiles(), (QStringList{"Icon-20261201-100000.kr3", "Icon.kr3"}));
    }

    // Each editor: edits, then the copy; the copy is offered after a crash
    // (the editor emptied, the copy put back as a killed run leaves it), Yes
    // restores it, and a save then writes the copy's bytes.
    void everyEditorsWorkComesBack_data() { editorRows(); }
    void everyEditorsWorkComesBack()
    {
        QFETCH(int, form);
        UiRig rig;
        rig.settings.setWizardStart(0);
        EditorDriver editor(rig, form);
        QVERIFY(editor.keeper);
        editor.edit();
        editor.settle();
        const QString copyPath = recovery::copyPath(editor.key);
        const QByteArray copy = editor.copyBytes();
        QVERIFY(!copy.isEmpty());

        rig.dialogs.answers = {Answer::No};
        editor.empty();
        QVERIFY(!QFile::exists(copyPath));
        rig.home.writeRecoveryFile(editor.key + ".kr3", copy);
        editor.window->hide();
        RecoveryOffer offer(rig.forms);
        rig.dialogs.answers = {Answer::Yes};
        offer.ask();
        QVERIFY(editor.window->isVisible());
        QVERIFY(editor.modified());
        QCOMPARE(editor.save(), copy);
        QVERIFY(!QFile::exists(copyPath));
    }

    // The copy stands exactly while the editor holds unsaved work: every way
    // of letting the work go (a save, a reset, Menu or Bye answered No, the
    // end of the program) removes it, in every editor; a save that failed
    // keeps it. The text editor keeps its text when it is left, and with it
    // the copy, until the program ends.
    void lettingTheWorkGoRemovesTheCopy_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("how");
        for (const auto &[name, form] : editorList()) {
            for (const char *how : {"save", "failed save", "reset", "menu, no", "bye, no", "clean exit"}) {
                if (form == 9 && QByteArray(how) == "reset")
                    continue; // the text editor has no reset button
                QTest::addRow("%s, %s", name, how) << form << QString::fromLatin1(how);
            }
        }
    }
    void lettingTheWorkGoRemovesTheCopy()
    {
        QFETCH(int, form);
        QFETCH(QString, how);
        UiRig rig;
        rig.settings.setWizardStart(0);
        EditorDriver editor(rig, form);
        editor.edit();
        editor.settle();
        QVERIFY(editor.hasCopy());

        rig.dialogs.answers = {Answer::No};
        if (how == "save") {
            editor.save();
        } else if (how == "failed save") {
            QVERIFY(editor.save(rig.home.home() + "/no such folder/saved.kr3").isEmpty());
            QVERIFY(!rig.dialogs.warnings.isEmpty()); // the learner is told
        } else if (how == "reset") {
            editor.reset();
        } else if (how == "menu, no") {
            editor.window->MenuClick();
        } else if (how == "bye, no") {
            editor.window->ByeClick();
        }
        const bool byeEnds = how == "bye, no";
        if (!how.endsWith("save"))
            QCOMPARE(rig.dialogs.questions.size(), how == "clean exit" ? 0 : 1); // the save question, answered No
        if (how == "clean exit" || byeEnds) {
            QVERIFY(!byeEnds || !rig.forms.form(2)->isVisible()); // Bye ends the program
            RecoveryOffer::discardAll(rig.forms);
            QVERIFY(!editor.hasCopy());
            return;
        }
        const bool workStays = how == "failed save" || (form == 9 && how == "menu, no");
        QCOMPARE(editor.modified(), workStays);
        QCOMPARE(editor.hasCopy(), workStays);
        editor.settle();
        editor.settle();
        QCOMPARE(editor.hasCopy(), workStays); // nothing owed any more
        if (workStays) {
            RecoveryOffer::discardAll(rig.forms);
            QVERIFY(!editor.hasCopy());
        }
    }

    // A file opened from the command line before the question may already
    // have its own copy: refusing the old work must not remove that one.
    // A state folder that cannot be used is told once, with why, before any question.
    void anUnusableStateFolderIsTold_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("usable") << QString() << QString();
        QTest::newRow("a file in its place") << "file" << msg::NotFound;
        QTest::newRow("a read-only disk") << "read-only" << msg::ReadOnlyPlace;
    }
    void anUnusableStateFolderIsTold()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TinyDisk disk; // outlives the home
        RecoveryRig rig;
        if (fault == "read-only" && !disk.available())
            QSKIP(disk.whyNot());
        const QString state = rig.home.home() + "/.local/state";
        recovery::letGo();
        QVERIFY(QDir(state).removeRecursively() && QDir().mkpath(rig.home.home() + "/.local"));
        if (fault == "file")
            QVERIFY(QDir().mkpath(state) && QFile(state + "/kr31").open(QIODevice::WriteOnly));
        else if (fault == "read-only")
            QVERIFY(QDir().mkpath(disk.path("kr31/recovery")) && QFile::link(disk.path(""), state) &&
                    disk.makeReadOnly());
        RecoveryOffer offer(rig.forms);
        offer.ask();
        offer.ask();
        const QString told = msg::stateFolderUnusable(workfolder::stateLocation(), reason);
        QCOMPARE(rig.dialogs.warnings, reason.isEmpty() ? QStringList{} : QStringList{told});
    }

    void refusingKeepsACopyOfThisRun()
    {
        RecoveryRig rig;
        recovery::writeCopy("Icon", textfile::encodeLines({"DD", "16"}));
        RecoveryOffer offer(rig.forms);
        rig.editor->dropCommand(0, 17);
        rig.pass(1000);
        const QByteArray fresh = rig.copyBytes();
        rig.dialogs.answers = {Answer::No};
        offer.ask();
        QCOMPARE(rig.copyBytes(), fresh);
        RecoveryOffer::discardAll(rig.forms);
        QVERIFY(!rig.hasCopy());
    }
};

QTEST_MAIN(TestRecoveryUi)
#include "tst_RecoveryOffer.moc"
