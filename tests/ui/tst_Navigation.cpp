#include "core/Messages.h"
#include "editors/flowchart/CommandChooser.h"
#include "editors/icon/ChartShower.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "lamp/LampRunner.h"
#include "lamp/ui/VirtualLampWindow.h"
#include "melody/Melody.h"
#include "melody/NotePicker.h"
#include "melody/ScorePrinter.h"
#include "report/ReportOpener.h"
#include "link/WavFile.h"
#include "support/ui/UiRig.h"
#include "tools/ui/AlarmSoundWindow.h"
#include "tools/ui/BrightnessWindow.h"
#include "ui/EditorWindow.h"
#include "ui/PictureButton.h"
#include "ui/SendingDialogWindow.h"
#include "ui/menu/MainMenuWindow.h"
#include "ui/menu/SettingsWindow.h"
#include "ui/menu/TransferModeWindow.h"
#include "ui/menu/WizardWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QWindow>

using namespace kr31;
using namespace kr31::test;

namespace {

// A click as the user makes it: at a point of the window, reaching whatever is there.
void clickAt(QWidget *window, QPoint point)
{
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, point);
    UiRig::settle();
}

void clickChild(QWidget *window, const char *name)
{
    auto *child = window->findChild<QWidget *>(QString::fromLatin1(name));
    QVERIFY2(child, name);
    clickAt(window, child->mapTo(window, child->rect().center()));
}

QStringList visibleForms(UiRig &rig)
{
    QStringList names;
    for (FormWindow *f : rig.forms.all()) {
        if (f->isVisible())
            names.append(f->objectName());
    }
    return names;
}

// The main menu shown (wizard off) with its window ready for clicks.
MainMenuWindow *showMenu(UiRig &rig)
{
    auto *menu = rig.form<MainMenuWindow>(2);
    menu->show();
    if (!QTest::qWaitForWindowExposed(menu))
        return nullptr;
    UiRig::settle();
    return menu;
}

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowsExistInOrder()
    {
        UiRig rig;
        QStringList names;
        for (FormWindow *f : rig.forms.all())
            names.append(f->objectName());
        QCOMPARE(names, (QStringList{"TForm2", "TForm1", "TForm3", "TForm4", "TForm5", "TForm6", "TForm7", "TForm8",
                                     "TForm9", "TForm10", "TForm11", "TForm12", "TForm13", "TForm14", "TForm15",
                                     "TForm16", "TForm17", "TForm18"}));
        QVERIFY(visibleForms(rig).isEmpty());
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // A window reaches what another does for it through Forms, that window's
    // contents made; a window opened for another knows it as its opener.
    void windowsReachEachOtherByWhatTheyDo()
    {
        UiRig rig;
        QWidget *editor = rig.forms.editor(8);
        QCOMPARE(editor, rig.forms.existing(8));
        QVERIFY(!rig.forms.editor(10));
        const QStringList list{"16", "100"};
        const QList<std::pair<int, std::function<void()>>> opened{
            {18, [&] { rig.forms.lampRunner()->runProgram(list, editor); }},
            {14, [&] { rig.forms.reportOpener()->openReport(list, editor); }},
            {10, [&] { rig.forms.chartShower()->showChart(list, editor); }},
            {11, [&] { QVERIFY(!rig.forms.commandChooser()->chooseCommand({}, editor)); }},
            {12, [&] { rig.forms.notePicker()->pickNote(NotePicker::Mode::Insert, 48, editor, {}); }},
            {16, [&] { rig.forms.scorePrinter()->printScore(Melody{}, editor); }},
        };
        for (const auto &[number, open] : opened) {
            FormWindow *window = rig.forms.existing(number);
            QVERIFY(!window->isBuilt() && !window->opener());
            open();
            QVERIFY(window->isBuilt());
            QCOMPARE(window->opener(), editor);
        }
        QCOMPARE(rig.modalShown, (QStringList{"TForm11", "TForm12", "TForm16"}));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void menuOpensEveryToolAndBack_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("tool");
        QTest::newRow("icons") << "Image2" << "TForm8";
        QTest::newRow("flowchart") << "Image3" << "TForm5";
        QTest::newRow("text") << "Image5" << "TForm9";
        QTest::newRow("melody") << "Image4" << "TForm4";
        QTest::newRow("brightness") << "Image6" << "TForm3";
        QTest::newRow("alarm") << "Image7" << "TForm13";
        QTest::newRow("settings") << "SetUp" << "TForm6";
    }
    void menuOpensEveryToolAndBack()
    {
        QFETCH(QString, picture);
        QFETCH(QString, tool);
        UiRig rig;
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        QVERIFY(menu);
        clickChild(menu, picture.toLatin1().constData());
        QCOMPARE(visibleForms(rig), QStringList{tool});

        FormWindow *window = rig.forms.form(tool.mid(5).toInt());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (tool == QLatin1String("TForm6"))
            clickChild(window, "cancel");
        else
            clickChild(window, "Menu");
        QCOMPARE(visibleForms(rig), QStringList{"TForm2"});
    }

    void helpAndByeFromATool()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        clickChild(menu, "Image7");
        FormWindow *alarm = rig.forms.form(13);
        QVERIFY(QTest::qWaitForWindowExposed(alarm));
        clickChild(alarm, "Help");
        QCOMPARE(rig.shell.opened.size(), 1);
        QVERIFY(rig.shell.opened.first().endsWith(QLatin1String("/Navi/KR-31navi.html")));
        QSignalSpy closed(menu, &MainMenuWindow::closed);
        clickChild(alarm, "Bye");
        QCOMPARE(closed.size(), 1);
        QVERIFY(visibleForms(rig).isEmpty());
    }

    void transferModePageWithoutItsPageSays102()
    {
        QTemporaryDir resources;
        QVERIFY(linkResourcesExcept(resources.path(), {"HTML/SetUp/index.html"}));
        UiRig rig(resources.path());
        rig.settings.setWizardStart(0);
        rig.forms.open(nullptr, 1);
        UiRig::settle();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::OpenError102});
    }

    void highlightFollowsThePointer()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        QCOMPARE(menu->highlighted(), -1);
        auto *image2 = menu->findChild<QLabel *>("Image2");
        auto *image3 = menu->findChild<QLabel *>("Image3");
        const QImage normal3 = image3->pixmap().toImage();
        QTest::mouseMove(menu->windowHandle(), image2->geometry().center());
        QCOMPARE(menu->highlighted(), 0);
        QCOMPARE(menu->findChild<QPlainTextEdit *>("Memo1")->toPlainText().remove(u'\n'),
                 QStringLiteral("アイコンのドラッグ＆ドロップでLEDの制御プログラムを作成することが出来ます。"));
        // Straight from one picture onto the next: only the second stays lit.
        QTest::mouseMove(menu->windowHandle(), image3->geometry().center());
        QCOMPARE(menu->highlighted(), 1);
        QVERIFY(image3->pixmap().toImage() != normal3);
        QTest::mouseMove(menu->windowHandle(), QPoint(20, 390));
        QCOMPARE(menu->highlighted(), -1);
        QCOMPARE(image3->pixmap().toImage(), normal3);
        QCOMPARE(menu->findChild<QPlainTextEdit *>("Memo1")->toPlainText(), QString());
    }

    // A hint breaks between words, never inside one, and fits its box, larger where it can.
    void hintBreaksBetweenWords_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("px"); // at least, where a short hint fits larger
        QTest::newRow("icon") << "Image2" << QStringList{"アイコン", "ドラッグ", "ドロップ", "プログラム", "作成"} << 12;
        QTest::newRow("text") << "Image5" << QStringList{"キーボード", "文字", "入力", "LED", "出来ます"} << 13;
        QTest::newRow("brightness") << "Image6" << QStringList{"明るさ", "スライダー", "確認"} << 13;
        QTest::newRow("alarm") << "Image7" << QStringList{"4種類", "電子音", "目覚まし", "転送"} << 13;
        QTest::newRow("settings") << "SetUp" << QStringList{"データ", "転送", "設定", "文字", "プログラミング", "関数",
                                                            "及び", "本体", "メロディ", "初期", "状態", "戻す"} << 12;
    }
    void hintBreaksBetweenWords()
    {
        QFETCH(QString, picture);
        QFETCH(QStringList, words);
        QFETCH(int, px);
        UiRig rig;
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        auto *target = menu->findChild<QWidget *>(picture);
        QTest::mouseMove(menu->windowHandle(), target->geometry().center());
        auto *memo = menu->findChild<QPlainTextEdit *>("Memo1");
        QStringList lines; // as laid out on the screen
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            memo->document()->documentLayout()->blockBoundingRect(block);
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                lines.append(block.text().mid(block.layout()->lineAt(i).textStart(),
                                              block.layout()->lineAt(i).textLength()));
        }
        QCOMPARE(lines.join(QString()), target->property("hint").toString());
        for (const QString &word : words)
            QVERIFY2(lines.join(u'|').contains(word), qPrintable(lines.join(u'|') + " cuts " + word));
        QVERIFY(lines.size() * QFontMetrics(memo->font()).lineSpacing() <= memo->viewport()->height());
        QVERIFY(memo->font().pixelSize() >= px);
    }

    void wizardOnceAtFirstShowing()
    {
        UiRig rig;
        MainMenuWindow *menu = showMenu(rig);
        QCOMPARE(rig.modalShown, QStringList{"TForm17"});
        clickChild(menu, "Image6");
        clickChild(rig.forms.form(3), "Menu");
        UiRig::settle();
        QCOMPARE(rig.modalShown, QStringList{"TForm17"});
    }

    void noWizardWhenSwitchedOff()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        showMenu(rig);
        QVERIFY(rig.modalShown.isEmpty());
    }

    void wizardCancelStoresTheCheckBox()
    {
        UiRig rig;
        FormWindow *wizard = rig.forms.form(17);
        wizard->show();
        QVERIFY(QTest::qWaitForWindowExposed(wizard));
        wizard->findChild<QCheckBox *>("CheckBox1")->setChecked(true);
        clickChild(wizard, "cancel");
        QVERIFY(!wizard->isVisible());
        QCOMPARE(rig.settings.wizardStart(), 0);
    }

    void transferModeIsStoredAndShownAtNextShowing()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        QCOMPARE(menu->findChild<QLabel *>("Label1")->text(), QStringLiteral("0"));
        clickChild(menu, "SetUp");
        clickChild(rig.forms.form(6), "Test");
        auto *page = rig.form<TransferModeWindow>(1);
        QVERIFY(page->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(page));
        QCOMPARE(page->selectedMode(), 0);
        page->findChild<QRadioButton *>("Mode2")->setChecked(true);
        clickChild(page, "Test_Start");
        QCOMPARE(rig.dialogs.informations, QStringList{"転送モードが 2 に設定されました。"});
        QCOMPARE(rig.settings.waveMode(), 2);
        clickChild(page, "Bye");
        QCOMPARE(visibleForms(rig), QStringList{"TForm6"});
        clickChild(rig.forms.form(6), "cancel");
        QCOMPARE(menu->findChild<QLabel *>("Label1")->text(), QStringLiteral("2"));
        // The next transfer uses it.
        rig.transmitter.sendShortCommand(1);
        QCOMPARE(rig.sound.played.last(), wav::fileBytes(tone::transferSound({1}, [] { return 2; })));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void missingPicturesShow101OnceAndButtonsStillWork()
    {
        QTemporaryDir empty;
        UiRig rig(empty.path());
        rig.settings.setWizardStart(0);
        MainMenuWindow *menu = showMenu(rig);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::FileMissing101});
        clickChild(menu, "SetUp");
        QCOMPARE(visibleForms(rig), QStringList{"TForm6"});
        QCOMPARE(rig.dialogs.warnings.count(msg::FileMissing101), 2);
        clickChild(rig.forms.form(6), "cancel");
        QCOMPARE(visibleForms(rig), QStringList{"TForm2"});
    }

    void pressedButtonShowsItsPressedPicture()
    {
        UiRig rig;
        FormWindow *settings = rig.forms.form(6);
        settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        auto *ok = settings->findChild<PictureButton *>("OK");
        const QImage released = ok->pixmap().toImage();
        QTest::mousePress(ok, Qt::LeftButton);
        QVERIFY(ok->pixmap().toImage() != released);
        QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(-5, -5)); // released outside: no click
        QCOMPARE(ok->pixmap().toImage(), released);
        QVERIFY(settings->isVisible());
    }

    void sendingDialogCentredOverItsCaller_data()
    {
        QTest::addColumn<QRect>("caller");
        QTest::addColumn<QPoint>("expected");
        // The dialog is 300 x 150.
        QTest::newRow("even differences") << QRect(100, 50, 600, 400) << QPoint(250, 175);
        QTest::newRow("half rounds to even down") << QRect(0, 0, 601, 401) << QPoint(150, 126);
        QTest::newRow("half rounds to even up") << QRect(0, 0, 603, 403) << QPoint(152, 126);
    }
    void sendingDialogCentredOverItsCaller()
    {
        QFETCH(QRect, caller);
        QFETCH(QPoint, expected);
        UiRig rig;
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setGeometry(caller);
        auto *dialog = rig.form<SendingDialogWindow>(7);
        dialog->showOver(&window);
        QCOMPARE(dialog->pos(), expected);
        QVERIFY(dialog->isVisible());
        dialog->close();
        QVERIFY(!dialog->isVisible());
    }

    void ledResetFromSettingsWindow()
    {
        UiRig rig;
        auto *settings = rig.form<SettingsWindow>(6);
        settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        bool dialogVisibleDuringWait = false;
        rig.clock.duringWait = [&] { dialogVisibleDuringWait = rig.forms.form(7)->isVisible(); };
        clickChild(settings, "LED");
        QVERIFY(dialogVisibleDuringWait);
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "wait 500", "play", "silence"}));
        QCOMPARE(rig.sound.played.size(), 1);
        // The lamp's first program, as the values it must hear.
        Packet reset{4, 23, 19, 5, 36, 26, 23, 19, 44, 8, 26, 23, 19, 255, 4, 26, 26, 23, 20, 0, 5, 26};
        reset.append(QList<int>(27, 27));
        QCOMPARE(rig.sound.played.first(), wav::fileBytes(tone::transferSound(reset, [] { return 0; })));
        QVERIFY(!rig.forms.form(7)->isVisible());

        rig.log.clear();
        clickChild(settings, "melo");
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "play", "silence"}));
        Packet melody{5, 1};
        melody << QList<int>(11, 255) << 0 << 255 << 0 << 0 << 84 << 83 << QList<int>(190, 204);
        QCOMPARE(rig.sound.played.last(), wav::fileBytes(tone::transferSound(melody, [] { return 0; })));
    }

    void commandWordsNeedEveryField()
    {
        UiRig rig;
        auto *settings = rig.form<SettingsWindow>(6);
        settings->show();
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        settings->findChild<QLineEdit *>("Edit3")->clear();
        clickChild(settings, "OK");
        QCOMPARE(rig.dialogs.warnings,
                 QStringList{"関数設定で未入力な項目があります。関数設定を正しく行って下さい。"});
        QVERIFY(!QFile::exists(rig.settings.iniPath()));
        QVERIFY(settings->isVisible());

        settings->findChild<QLineEdit *>("Edit3")->setText(QStringLiteral("あかるさ"));
        clickChild(settings, "OK");
        QCOMPARE(rig.settings.commandName(3), QStringLiteral("あかるさ"));
        QCOMPARE(rig.settings.commandName(1), QStringLiteral("ON"));
        QVERIFY(!settings->isVisible());
    }

    // GIVEN the windows made at start WHEN none was reached THEN a window has
    // no components yet; reached through Forms it has them all.
    void contentsMadeWhenFirstReached_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("components");
        QTest::newRow("transfer mode") << 1 << QStringList{"Image1", "RadioGroup1", "Mode3", "WebBrowser1", "Wiza", "Bye"};
        QTest::newRow("brightness") << 3 << QStringList{"Image1", "Tenso", "Menu", "Label1", "Label2", "LMDTrackBar1"};
        QTest::newRow("settings") << 6 << QStringList{"Image1", "Edit1", "Edit12", "OK", "cancel", "melo"};
        QTest::newRow("sending dialog") << 7 << QStringList{"Image1", "ProgressBar1"};
        QTest::newRow("alarm sound") << 13 << QStringList{"Image1", "Tenso", "Label1", "GroupBox1", "RadioButton4"};
        QTest::newRow("wizard") << 17 << QStringList{"PageControl1", "Manual", "CheckBox1", "Image11", "renew"};
        QTest::newRow("virtual lamp") << 18 << QStringList{"Image1", "PaintBox1", "Touch", "Halt", "Speed60"};
    }
    void contentsMadeWhenFirstReached()
    {
        QFETCH(int, number);
        QFETCH(QStringList, components);
        UiRig rig;
        const QString wrong = rig.madeWhenFirstReached(number, components);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QVERIFY(!rig.forms.existing(number)->isVisible());
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // GIVEN windows never reached WHEN other code asks them, the program
    // quits and the windows go THEN each answers as it would at its first
    // showing, and nothing breaks.
    void windowsNeverReachedAnswerAndGoCleanly()
    {
        auto rig = std::make_unique<UiRig>();
        QStringList words = rig->settings.commandNames();
        words[2] = QStringLiteral("あかるさ");
        QVERIFY(rig->settings.setCommandNames(words));
        Forms &forms = rig->forms;
        QCOMPARE(static_cast<TransferModeWindow *>(forms.existing(1))->selectedMode(), 0);
        QCOMPARE(static_cast<BrightnessWindow *>(forms.existing(3))->percent(), 50);
        QCOMPARE(static_cast<SettingsWindow *>(forms.existing(6))->commandNames(), words);
        QCOMPARE(static_cast<AlarmSoundWindow *>(forms.existing(13))->pattern(), 1);
        auto *wizard = static_cast<WizardWindow *>(forms.existing(17));
        QCOMPARE(wizard->page(), WizardWindow::Start);
        QVERIFY(!wizard->blinking());
        QVERIFY(!static_cast<VirtualLampWindow *>(forms.existing(18))->isRunning());
        for (int number : {1, 3, 6, 13, 17, 18})
            QVERIFY2(!forms.existing(number)->isBuilt(), qPrintable(QString::number(number)));

        // The progress of a sound kept by the player from before the dialog was made.
        auto *sending = static_cast<SendingDialogWindow *>(forms.existing(7));
        sending->setProgress(250, 1000);
        QCOMPARE(sending->findChild<QProgressBar *>("ProgressBar1")->value(), 250);
        QVERIFY(!sending->isVisible());

        forms.quit(); // hides every window, made or not
        QVERIFY(visibleForms(*rig).isEmpty());
        rig.reset();
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_Navigation.moc"
