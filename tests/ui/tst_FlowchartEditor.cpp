#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/flowchart/ui/CommandDialogWindow.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/flowchart/FlowchartLayout.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "report/ui/ReportWindow.h"
#include "support/ui/UiRig.h"
#include "ui/ChartPainter.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

struct EditorRig : UiRig
{
    FlowchartEditorWindow *editor = nullptr;
    CommandDialogWindow *dialog = nullptr;
    EditorRig()
    {
        settings.setWizardStart(0);
        editor = form<FlowchartEditorWindow>(5);
        dialog = form<CommandDialogWindow>(11);
        // The dialog shows without blocking; the test presses its buttons in
        // inModal, which runs once while it shows.
        forms.runModal = [this](QWidget *w) {
            modalShown.append(w->objectName());
            w->show();
            if (inModal)
                std::exchange(inModal, nullptr)();
        };
        forms.open(nullptr, 5);
        settle();
        log.clear();
    }

    template <class T>
    T *child(const QString &name)
    {
        return editor->findChild<T *>(name);
    }
    template <class T>
    T *inDialog(const QString &name)
    {
        return dialog->findChild<T *>(name);
    }

    // Chooses a command on the left, types its values and appends it.
    void append(int item, const QString &value1 = {}, const QString &value2 = {})
    {
        child<QComboBox>("ComboBox1")->setCurrentIndex(item);
        if (!value1.isEmpty())
            type(child<QLineEdit>("Edit1"), value1);
        if (!value2.isEmpty())
            type(child<QLineEdit>("Edit2"), value2);
        editor->Add_CommandClick();
    }

    static void type(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // A right-click at a point of the drawing, then an item of the entry menu.
    void entryMenu(QPoint at, const char *action)
    {
        QTest::mouseClick(child<QWidget>("PaintBox1"), Qt::RightButton, {}, at);
        auto *menu = child<QMenu>("PopupMenu1");
        QVERIFY(menu->isVisible());
        for (QAction *a : menu->actions()) {
            if (a->objectName() == QLatin1String(action))
                a->trigger();
        }
        menu->hide();
    }

    QStringList page(int n) { return editor->program().entries(n); }

    std::function<void()> inModal;
};

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

} // namespace

class TestFlowchartEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void appendTakesTheValueBoxes()
    {
        EditorRig rig;
        QVERIFY(!rig.child<QSlider>("LMDTrackBar1")->isVisible());
        rig.append(3, "40", "3");
        QCOMPARE(rig.child<QLabel>("Label1")->text(), QStringLiteral("明るさ(%)"));
        QCOMPARE(rig.child<QLabel>("Label2")->text(), QStringLiteral("更新単位"));
        QCOMPARE(rig.child<QSlider>("LMDTrackBar1")->value(), 40);
        rig.append(5); // the timer starts at 1 second
        rig.append(6, "0", "2");
        QCOMPARE(rig.page(0), (QStringList{"19,40,3", "21,1", "22,0,2"}));
        QVERIFY(rig.editor->isModified());
        QCOMPARE(rig.editor->entryTops(), (QList<int>{60, 110, 160}));
        rig.append(6, "0", "2");
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::RepeatError501});
    }

    void valueBoxes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("slider");
        QTest::newRow("letters") << "abc" << "" << 30;
        QTest::newRow("minus zero") << "-0" << "" << 30;
        QTest::newRow("beyond the range") << "150" << "100" << 100;
        QTest::newRow("within") << "70" << "70" << 70;
    }
    void valueBoxes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(int, slider);
        EditorRig rig;
        rig.child<QComboBox>("ComboBox1")->setCurrentIndex(2);
        rig.child<QSlider>("LMDTrackBar1")->setValue(30);
        QCOMPARE(rig.child<QLineEdit>("Edit1")->text(), QStringLiteral("30"));
        auto *edit = rig.child<QLineEdit>("Edit1");
        edit->setText(typed); // as pasted
        Q_EMIT edit->textEdited(typed);
        QCOMPARE(edit->text(), box);
        QCOMPARE(rig.child<QSlider>("LMDTrackBar1")->value(), slider);
    }

    void rightClickOnAnEntryOpensTheDialog()
    {
        EditorRig rig;
        rig.append(0);
        rig.append(3, "40", "3");
        rig.inModal = [&] {
            QVERIFY(rig.dialog->isVisible());
            QCOMPARE(rig.inDialog<QLabel>("Label1")->text(), QStringLiteral("だんだん明るく"));
            QCOMPARE(rig.inDialog<QLabel>("Label2")->text(), QStringLiteral("40"));
            QCOMPARE(rig.inDialog<QLabel>("Label3")->text(), QStringLiteral("3"));
            QCOMPARE(rig.inDialog<QComboBox>("ComboBox1")->currentIndex(), 3);
            QCOMPARE(rig.inDialog<QSlider>("LMDTrackBar1")->value(), 40);
            QCOMPARE(rig.inDialog<QSlider>("LMDTrackBar2")->value(), 3);
            // OK writes the changed values over the entry.
            rig.inDialog<QSlider>("LMDTrackBar1")->setValue(80);
            rig.dialog->OKClick();
        };
        // The second box spans y 110..135 in the drawing.
        rig.entryMenu(QPoint(172, 130), "Edit3");
        QCOMPARE(rig.editor->program().SelectedEntry, 1);
        QCOMPARE(rig.modalShown, QStringList{"TForm11"});
        QVERIFY(!rig.dialog->isVisible());
        QCOMPARE(rig.page(0), (QStringList{"16", "19,80,3"}));

        // Insert before the first entry: empty labels, "ON" chosen.
        rig.inModal = [&] {
            QCOMPARE(rig.inDialog<QLabel>("Label1")->text(), QString());
            QCOMPARE(rig.inDialog<QComboBox>("ComboBox1")->currentIndex(), 0);
            QVERIFY(!rig.inDialog<QSlider>("LMDTrackBar1")->isVisible());
            rig.inDialog<QComboBox>("ComboBox1")->setCurrentIndex(10);
            rig.dialog->OKClick();
        };
        rig.entryMenu(QPoint(172, 70), "Insert1");
        QCOMPARE(rig.page(0), (QStringList{"26", "16", "19,80,3"}));

        // FuroBye after changing the menu changes nothing.
        rig.inModal = [&] {
            rig.inDialog<QComboBox>("ComboBox1")->setCurrentIndex(11);
            rig.dialog->FuroByeClick();
        };
        rig.entryMenu(QPoint(172, 70), "Edit3");
        QVERIFY(!rig.dialog->isVisible());
        QCOMPARE(rig.page(0), (QStringList{"26", "16", "19,80,3"}));

        // A click between two shapes selects nothing.
        QTest::mouseClick(rig.child<QWidget>("PaintBox1"), Qt::RightButton, {}, QPoint(172, 95));
        QVERIFY(!rig.child<QMenu>("PopupMenu1")->isVisible());
        rig.entryMenu(QPoint(172, 70), "Delete1");
        QCOMPARE(rig.page(0), (QStringList{"16", "19,80,3"}));
    }

    void dialogShowsTheEditedEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("values");
        QTest::addColumn<int>("slider1");
        QTest::newRow("call") << "Sub,2" << "サブルーチン2" << 13 << false << 0;
        QTest::newRow("stop") << "100" << "動作終了" << 11 << false << 0;
        QTest::newRow("brightness over its maximum") << "18,150" << "明るさ設定" << 2 << true << 100;
    }
    void dialogShowsTheEditedEntry()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(int, item);
        QFETCH(bool, values);
        QFETCH(int, slider1);
        EditorRig rig;
        rig.editor->Add_SubClick();
        rig.editor->Add_SubClick();
        rig.editor->SelectPage(0);
        const QStringList fields = entry.split(u',');
        const QStringList items = flow::fixedMenuItems() + QStringList{flow::subroutineItem(1), flow::subroutineItem(2)};
        QVERIFY(!rig.dialog->chooseCommand({items, false, fields.value(0), fields.value(1), fields.value(2)}, rig.editor));
        QVERIFY(rig.dialog->isVisible());
        QCOMPARE(rig.inDialog<QLabel>("Label1")->text(), name);
        QCOMPARE(rig.inDialog<QComboBox>("ComboBox1")->currentIndex(), item);
        QCOMPARE(rig.inDialog<QSlider>("LMDTrackBar1")->isVisible(), values);
        QCOMPARE(rig.inDialog<QLineEdit>("Edit1")->isVisible(), values);
        if (values) {
            QCOMPARE(rig.inDialog<QSlider>("LMDTrackBar1")->value(), slider1);
            QCOMPARE(rig.inDialog<QLineEdit>("Edit1")->text(), QString::number(slider1));
        }
        rig.dialog->hide();
    }

    // Each command's value rows as the dialog lays them out: no caption, unit,
    // value or button covers another, every text fits and every slider has its caption.
    void dialogCaptionsKeepClear()
    {
        EditorRig rig;
        rig.append(0);
        rig.entryMenu(QPoint(172, 70), "Edit3");
        auto *menu = rig.inDialog<QComboBox>("ComboBox1");
        for (int item = 0; item < menu->count(); ++item) {
            menu->setCurrentIndex(item);
            QList<QWidget *> shown;
            for (QWidget *w : rig.dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                auto *label = qobject_cast<QLabel *>(w);
                if (w->isVisible() && w->geometry() != rig.dialog->rect() && (!label || !label->text().isEmpty()))
                    shown.append(w);
                QVERIFY(!label || label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
            }
            for (int i = 0; i < shown.size(); ++i) {
                for (int j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(!shown[i]->geometry().intersects(shown[j]->geometry()), qPrintable(shown[j]->objectName()));
            }
            for (const QString n : {"1", "2"})
                QCOMPARE(rig.inDialog<QLabel>("Caption" + n)->text().isEmpty(), !rig.inDialog<QSlider>("LMDTrackBar" + n)->isVisible());
        }
    }

    // The timer in hours, minutes and seconds; the entry keeps its seconds within 1..64800.
    void dialogTimerInHoursMinutesSeconds_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("shown"); // hours:minutes:seconds
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("half an hour") << "1800" << "0:30:0" << "1:2:3" << "1:2:3";
        QTest::newRow("below the minimum") << "0" << "0:0:1" << "0:0:0" << "0:0:1";
        QTest::newRow("over 18 hours") << "64800" << "18:0:0" << "18:59:59" << "18:0:0";
    }
    void dialogTimerInHoursMinutesSeconds()
    {
        QFETCH(QString, seconds);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        EditorRig rig;
        rig.append(0);
        rig.inModal = [&] { rig.dialog->FuroByeClick(); };
        rig.entryMenu(QPoint(172, 70), "Edit3"); // selects the entry
        const QList<QSpinBox *> spins = {rig.inDialog<QSpinBox>("Spin_Edit_Hour"),
                                         rig.inDialog<QSpinBox>("Spin_Edit_Minute"), rig.inDialog<QSpinBox>("Spin_Edit_Second")};
        const auto time = [&] { return QStringLiteral("%1:%2:%3").arg(spins[0]->value()).arg(spins[1]->value()).arg(spins[2]->value()); };
        QString before, after;
        rig.inModal = [&] {
            before = time();
            for (int i = 0; i < 3; ++i)
                spins[i]->setValue(typed.section(u':', i, i).toInt());
            after = time();
            rig.dialog->OKClick();
        };
        const auto choice = rig.dialog->chooseCommand({flow::fixedMenuItems(), false, QStringLiteral("21"), seconds, {}}, rig.editor);
        QCOMPARE(before, shown);
        QCOMPARE(after, kept);
        QVERIFY(choice);
        rig.editor->ReplaceEntry(choice->item, choice->value1, choice->value2);
        QCOMPARE(rig.page(0), QStringList{"21," + QString::number(spins[0]->value() * 3600 + spins[1]->value() * 60 + spins[2]->value())});
    }

    void insertingIntoAFullPageAsks()
    {
        EditorRig rig;
        for (int i = 0; i < 47; ++i)
            rig.append(0);
        rig.append(1);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::AddOverLimit503});
        rig.dialogs.answers = {Answer::No};
        rig.editor->InsertEntry(10, {}, {}); // selected entry 0
        QCOMPARE(rig.page(0).first(), QStringLiteral("16"));
        rig.dialogs.answers = {Answer::Yes};
        rig.editor->InsertEntry(10, {}, {});
        QCOMPARE(rig.page(0).first(), QStringLiteral("26"));
        QCOMPARE(rig.page(0).size(), 47);
        QCOMPARE(rig.dialogs.questions, (QStringList{msg::TotalPrompt, msg::TotalPrompt}));
    }

    void subroutineTabs()
    {
        EditorRig rig;
        auto *menu = rig.child<QComboBox>("ComboBox1");
        rig.editor->Add_SubClick();
        rig.append(2, "50");
        rig.editor->Add_SubClick();
        QCOMPARE(menu->count(), 14);
        QCOMPARE(menu->itemText(13), QStringLiteral("サブルーチン 2"));
        menu->showPopup(); // twelve rows, scrolling for the rest
        QCOMPARE(qRound(menu->view()->height() / double(menu->view()->sizeHintForRow(0))), 12);
        menu->hidePopup();
        QVERIFY(rig.child<QLabel>("Sub_Pro_Image2")->isVisible());
        QVERIFY(!rig.child<QLabel>("Sub_Pro_Image3")->isVisible());
        QCOMPARE(rig.editor->program().CurrentPage, 2);
        QCOMPARE(rig.child<QLabel>("PageMark")->geometry(), rig.child<QLabel>("Sub_Pro_Image2")->geometry());
        // A click on the main program's tab shows it, and marks its tab.
        QTest::mouseClick(rig.child<QLabel>("Sub_Pro_Image0"), Qt::LeftButton, {}, QPoint(60, 12));
        QCOMPARE(rig.editor->program().CurrentPage, 0);
        QCOMPARE(rig.child<QLabel>("PageMark")->geometry(), rig.child<QLabel>("Sub_Pro_Image0")->geometry());
        rig.append(12);
        QCOMPARE(rig.page(0), QStringList{"Sub,1"});
        QCOMPARE(rig.page(1), QStringList{"18,50"});

        // Clearing subroutine 1 through its tab's menu: Cancel keeps it, Yes empties it.
        for (Answer answer : {Answer::Cancel, Answer::Yes}) {
            QTest::mousePress(rig.child<QLabel>("Sub_Pro_Image1"), Qt::RightButton, {}, QPoint(60, 12));
            auto *tabMenu = rig.child<QMenu>("PopupMenu2");
            QVERIFY(tabMenu->isVisible());
            rig.dialogs.answers = {answer};
            tabMenu->actions().first()->trigger();
            tabMenu->hide();
        }
        QCOMPARE(rig.dialogs.questions,
                 (QStringList{"サブルーチン1内のプログラムをすべて削除します。よろしいですか？",
                              "サブルーチン1内のプログラムをすべて削除します。よろしいですか？"}));
        QCOMPARE(rig.dialogs.questionBoxes.last(), (QPair{AnswerButtons::YesCancel, BoxKind::Information}));
        QCOMPARE(rig.page(1), QStringList{});
        QCOMPARE(rig.editor->program().SubroutineCount, 2);

        // Deleting everything takes the subroutines away.
        rig.dialogs.answers = {Answer::No};
        rig.editor->All_DeleteClick();
        QCOMPARE(menu->count(), 12);
        QVERIFY(!rig.child<QLabel>("Sub_Pro_Image1")->isVisible());
        QCOMPARE(rig.editor->program(), FlowchartProgram());
    }

    void saveQuestionAnswers()
    {
        EditorRig rig;
        const QString path = rig.home.home() + "/flow";
        rig.append(0);
        // Cancel: stays, still modified.
        rig.dialogs.answers = {Answer::Cancel};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isVisible());
        QVERIFY(rig.editor->isModified());
        // Yes with the save dialog cancelled: stays, still modified.
        rig.dialogs.answers = {Answer::Yes};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isModified());
        // Yes with a save that cannot be written: told why, still modified.
        rig.dialogs.answers = {Answer::Yes};
        rig.dialogs.fileNames = {rig.home.home() + "/no/such/folder/flow"};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isModified());
        QVERIFY(rig.dialogs.warnings.last().startsWith("ファイルを保存できませんでした。"));
        // Yes: saves as flow.kr3, stays, no longer modified.
        rig.dialogs.answers = {Answer::Yes};
        rig.dialogs.fileNames = {path};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isVisible());
        QVERIFY(!rig.editor->isModified());
        QCOMPARE(textfile::readLines(path + ".kr3")->mid(0, 2), (QStringList{"LED", "16"}));
        // No: leaves for the main menu, emptied.
        rig.append(1);
        rig.dialogs.answers = {Answer::No};
        rig.editor->MenuClick();
        QVERIFY(!rig.editor->isVisible());
        QVERIFY(rig.forms.form(2)->isVisible());
        QCOMPARE(rig.editor->program(), FlowchartProgram());
    }

    void saveAndOpen()
    {
        EditorRig rig;
        rig.editor->Add_SubClick();
        for (int i = 0; i < 16; ++i)
            rig.append(5, "60"); // 48 bytes
        rig.editor->SelectPage(0);
        rig.append(12);
        const QString path = rig.home.home() + "/big.KR3";
        // Over the limit: asked; No writes nothing, Yes writes "FURO".
        rig.dialogs.fileNames = {path};
        rig.dialogs.answers = {Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());
        QVERIFY(!QFile::exists(path));
        rig.dialogs.fileNames = {path};
        rig.dialogs.answers = {Answer::Yes};
        QVERIFY(rig.editor->File_SaveClick());
        const QStringList lines = *textfile::readLines(path);
        QCOMPARE(lines.first(), QStringLiteral("FURO"));
        QCOMPARE(lines.size(), 1 + 47 + 1 + 10);
        // Overwriting asks.
        rig.dialogs.fileNames = {path};
        rig.dialogs.answers = {Answer::Yes, Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());

        // Opening while modified: No reads the file without another question.
        const FlowchartProgram saved = rig.editor->program();
        rig.append(0);
        rig.dialogs.questions.clear();
        rig.dialogs.answers = {Answer::No};
        rig.dialogs.fileNames = {path};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.dialogs.questions, QStringList{msg::SavePrompt});
        QCOMPARE(rig.editor->program().entries(0), saved.entries(0));
        QCOMPARE(rig.editor->program().entries(1), saved.entries(1));
        QVERIFY(!rig.editor->isModified());
        QCOMPARE(rig.child<QComboBox>("ComboBox1")->count(), 13);

        // Another editor's own file and a wrong extension are refused.
        rig.dialogs.fileNames = {rig.home.home() + "/x.txt"};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.dialogs.informations.last(), msg::CannotOpen111);
        QVERIFY(textfile::writeLines(rig.home.home() + "/dd.kr3", {"DD", "16"}));
        rig.dialogs.fileNames = {rig.home.home() + "/dd.kr3"};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.dialogs.informations.last(), msg::OtherStep112);
        QCOMPARE(rig.editor->program().entries(1), saved.entries(1));
    }

    void sendRefusesAndSends()
    {
        EditorRig rig;
        for (int i = 0; i < 16; ++i)
            rig.append(5, "60");
        rig.editor->SendClick();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::SendOverLimit504});
        QVERIFY(rig.sound.played.isEmpty());
        QVERIFY(!rig.log.contains("wait 500")); // refused before the sending dialog shows

        rig.dialogs.answers = {Answer::No};
        rig.editor->All_DeleteClick();
        rig.append(0);
        rig.append(11); // Stop
        rig.editor->Add_SubClick();
        rig.append(2, "50");
        rig.append(10);
        rig.editor->SelectPage(0);
        rig.log.clear();
        // Main program: 16; 100. Put the call before the stop.
        FlowchartProgram expectedPages = rig.editor->program();
        QCOMPARE(expectedPages.entries(0), (QStringList{"16", "100"}));
        rig.editor->InsertEntry(12, {}, {}); // before entry 0
        rig.editor->SendClick();
        QCOMPARE(rig.dialogs.warnings.size(), 1); // the 504 above
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "wait 500", "play", "silence"}));
        const Packet expected = *packet::ledProgram(filled({"18,50", "26", "16", "100"}));
        QCOMPARE(rig.sound.played.first(), wav::fileBytes(tone::transferSound(expected, [] { return 0; })));

        // Memory usage and the report use the same compiled list.
        rig.editor->Command_NumberClick();
        QCOMPARE(rig.dialogs.informations.last(), msg::memoryUsage(4));
        rig.editor->ReportClick();
        auto *report = rig.form<ReportWindow>(14);
        QVERIFY(report->isVisible());
        QCOMPARE(report->program(), filled({"18,50", "26", "16", "100"}));
    }

    // A cycle of calls stops the send, the save, the report and the memory usage.
    void callCycleStopsEverything()
    {
        EditorRig rig;
        rig.editor->Add_SubClick();
        rig.append(0);
        rig.editor->SelectPage(0);
        rig.append(12);
        rig.editor->SelectPage(1);
        rig.editor->ReplaceEntry(12, {}, {}); // subroutine 1 now only calls itself
        rig.editor->SendClick();
        rig.editor->Command_NumberClick();
        rig.editor->ReportClick();
        rig.dialogs.fileNames = {rig.home.home() + "/cycle"};
        QVERIFY(!rig.editor->File_SaveClick());
        QCOMPARE(rig.dialogs.warnings, QStringList(4, msg::OutOfRange507));
        QVERIFY(rig.sound.played.isEmpty());
        QVERIFY(rig.dialogs.informations.isEmpty());
        QVERIFY(!rig.form<ReportWindow>(14)->isVisible());
        QVERIFY(!QFile::exists(rig.home.home() + "/cycle.kr3"));
    }

    void helpThatCannotOpenSaysSo()
    {
        EditorRig rig;
        rig.editor->HelpClick();
        QCOMPARE(rig.shell.opened.size(), 1);
        QVERIFY(rig.dialogs.warnings.isEmpty());
        rig.shell.succeeds = false;
        rig.editor->HelpClick();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::helpNotOpened(rig.shell.opened.first(), false)});
    }

    void wheelScrollsOnlyTheDrawing()
    {
        EditorRig rig;
        auto *scroll = rig.child<QScrollArea>("ScrollBox1");
        const auto wheel = [](QWidget *target, int delta) {
            QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), {}, {0, delta}, Qt::NoButton,
                              {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(target, &event);
        };
        wheel(scroll->viewport(), -120);
        QCOMPARE(scroll->verticalScrollBar()->value(), 80);
        wheel(rig.child<QLabel>("Sub_Pro_Image0"), -120);
        QCOMPARE(scroll->verticalScrollBar()->value(), 80);
        wheel(scroll->viewport(), 120);
        QCOMPARE(scroll->verticalScrollBar()->value(), 0);
    }

    // The drawing of a page printed and read back.
    void printedChartReadsBack()
    {
        TempHome home;
        const QString pdf = home.home() + "/chart.pdf";
        {
            QPdfWriter writer(pdf);
            QPainter painter(&writer);
            const int dpi = writer.resolution();
            const int u = dpi / 2;
            paintChartShapes(painter, flowlayout::layout({"16", "Sub,1", "22,0,2", "100"}, u, 4 * dpi, dpi), u,
                             chartPaperFont());
        }
        QProcess pdftotext;
        pdftotext.start("pdftotext", {pdf, "-"});
        if (!pdftotext.waitForFinished(10000) || pdftotext.exitCode() != 0)
            QSKIP("pdftotext is not available");
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char *expected : {"プログラム開始", "LED ON", "サブルーチン 1", "繰り返し", "3回？", "動作終了", "プログラム終了"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
    }
};

QTEST_MAIN(TestFlowchartEditor)
#include "tst_FlowchartEditor.moc"
