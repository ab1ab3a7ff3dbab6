#include "core/Messages.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/ui/UiRig.h"
#include "ui/menu/MainMenuWindow.h"
#include "ui/menu/TransferModeWindow.h"
#include "ui/menu/WizardWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QWindow>

using namespace kr31;
using namespace kr31::test;

Q_DECLARE_METATYPE(kr31::Answer)

namespace {

const QString LeavePrompt = QStringLiteral("転送モードの設定を終了します。よろしいですか？");

// Clicks the named picture button where the user sees it: a button of a page
// that is not showing cannot be hit.
void click(QWidget *window, const QString &name)
{
    auto *child = window->findChild<QWidget *>(name);
    QVERIFY2(child, qPrintable(name));
    QVERIFY2(child->isVisible(), qPrintable(name + QStringLiteral(" is not on the page shown")));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, child->mapTo(window, child->rect().center()));
    UiRig::settle();
}

void clickAll(QWidget *window, const QStringList &names)
{
    for (const QString &name : names) {
        click(window, name);
        if (QTest::currentTestFailed())
            return;
    }
}

QString pageName(WizardWindow *wizard)
{
    return wizard->findChild<QStackedWidget *>("PageControl1")->currentWidget()->objectName();
}

QImage picture(const QString &relativePath)
{
    return QImage(resourcePath(relativePath)).convertToFormat(QImage::Format_RGB32);
}

QImage shown(QLabel *label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QByteArray testMelodyIn(int mode)
{
    return wav::fileBytes(tone::transferSound(packet::wizardTestMelody(), [mode] { return mode; }));
}

// From the opening page to the test page of the first candidate.
const QStringList ToFirstTest{"Next", "Image5", "Image8"};
// A failed candidate: "No", then on to the next one's test page.
const QStringList NextCandidate{"Image21", "Image23", "Image8"};

// Test transfers answered No `noes` times: the test page of candidate index `noes`.
QStringList toTest(int noes)
{
    QStringList path = ToFirstTest;
    for (int i = 0; i < noes; ++i)
        path << "Image12" << NextCandidate;
    return path;
}

WizardWindow *showWizard(UiRig &rig)
{
    auto *wizard = rig.form<WizardWindow>(17);
    wizard->show();
    if (!QTest::qWaitForWindowExposed(wizard))
        return nullptr;
    UiRig::settle();
    return wizard;
}

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noOnKakuninWalksTheCandidates()
    {
        UiRig rig;
        WizardWindow *wizard = showWizard(rig);
        QVERIFY(wizard);
        clickAll(wizard, ToFirstTest);
        QCOMPARE(wizard->candidate(), 0);

        QList<int> candidates;
        QStringList pages;
        for (int round = 0; round < 4; ++round) {
            click(wizard, "Image12");
            QCOMPARE(pageName(wizard), QStringLiteral("Kakunin"));
            click(wizard, "Image21");
            pages << pageName(wizard);
            click(wizard, "Image23");
            pages << pageName(wizard);
            candidates << wizard->candidate();
            click(wizard, "Image8");
        }
        QCOMPARE(candidates, (QList<int>{2, 1, 3, 0}));
        QCOMPARE(pages, (QStringList{"ShutDown", "Den_On", "ShutDown", "Den_On", "ShutDown", "Den_On", "ShutDown",
                                     "Den_On"}));
        // Each test went out in the mode under test.
        QCOMPARE(rig.sound.played,
                 (QList<QByteArray>{testMelodyIn(0), testMelodyIn(2), testMelodyIn(1), testMelodyIn(3)}));
    }

    void testTransferPlaysTheMelodyInTheCandidatesMode()
    {
        UiRig rig;
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, toTest(1));
        QCOMPARE(wizard->candidate(), 2);
        rig.log.clear();
        rig.sound.played.clear();
        FormWindow *sending = rig.forms.form(7);
        bool shownDuringWait = false;
        rig.clock.duringWait = [&] { shownDuringWait = sending->isVisible(); };

        click(wizard, "Image12");

        QVERIFY(shownDuringWait);
        QVERIFY(!sending->isVisible());
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "play", "silence"}));
        QCOMPARE(rig.sound.played, QList<QByteArray>{testMelodyIn(2)});
        QCOMPARE(rig.settings.waveMode(), 2);
        QCOMPARE(pageName(wizard), QStringLiteral("Kakunin"));
    }

    void unplayableTestStaysOnTheTestPage()
    {
        UiRig rig;
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, ToFirstTest);
        rig.sound.failWith = QStringLiteral("no device");
        click(wizard, "Image12");
        QCOMPARE(rig.dialogs.warnings, QStringList{"no device"});
        QCOMPARE(pageName(wizard), QStringLiteral("Send"));
        QVERIFY(!rig.forms.form(7)->isVisible());
    }

    void cancelFromAnInnerPage_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("modeAfter");
        // The mode was 1 when the wizard opened.
        const QStringList afterMode2 = toTest(1) << "Image12";
        QTest::newRow("Connect") << QStringList{"Next"} << "Cancel_Connect" << Answer::Yes << true << 1;
        QTest::newRow("Den_On") << QStringList{"Next", "Image5"} << "Cancel_Den_On" << Answer::Yes << true << 1;
        QTest::newRow("Send") << ToFirstTest << "Cancel_Send" << Answer::Yes << true << 1;
        QTest::newRow("Kakunin after mode 2") << afterMode2 << "Cancel_Kakunin" << Answer::Yes << true << 1;
        QTest::newRow("Jikko after mode 2") << (QStringList(afterMode2) << "Image22") << "Cancel_Jikko"
                                            << Answer::Yes << true << 1;
        QTest::newRow("ShutDown after mode 0") << (toTest(0) << "Image12" << "Image21") << "Cancel_ShutDown"
                                               << Answer::Yes << true << 1;
        QTest::newRow("answered Cancel") << afterMode2 << "Cancel_Kakunin" << Answer::Cancel << false << 2;
        QTest::newRow("answered No") << afterMode2 << "Cancel_Kakunin" << Answer::No << false << 2;
    }
    void cancelFromAnInnerPage()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, cancel);
        QFETCH(Answer, answer);
        QFETCH(bool, closes);
        QFETCH(int, modeAfter);
        UiRig rig;
        rig.settings.setWaveMode(1);
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, path);
        const QString page = pageName(wizard);
        rig.dialogs.answers = {answer};

        click(wizard, cancel);

        QCOMPARE(rig.dialogs.questions, QStringList{LeavePrompt});
        QCOMPARE(rig.dialogs.questionBoxes.first().first, AnswerButtons::YesCancel);
        QCOMPARE(wizard->isVisible(), !closes);
        if (!closes)
            QCOMPARE(pageName(wizard), page);
        QCOMPARE(rig.settings.waveMode(), modeAfter);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void openingPageStoresTheCheckBoxAtOnce_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<int>("start");
        QTest::newRow("ticked") << true << 0;
        QTest::newRow("not ticked") << false << 1;
    }
    void openingPageStoresTheCheckBoxAtOnce()
    {
        QFETCH(bool, ticked);
        QFETCH(int, start);
        UiRig rig;
        rig.settings.setWizardStart(ticked ? 1 : 0);
        WizardWindow *wizard = showWizard(rig);
        wizard->findChild<QCheckBox *>("CheckBox1")->setChecked(ticked);
        click(wizard, "Next");
        QCOMPARE(rig.settings.wizardStart(), start);
        rig.dialogs.answers = {Answer::Yes};
        click(wizard, "Cancel_Connect");
        QVERIFY(!wizard->isVisible());
        QCOMPARE(rig.settings.wizardStart(), start);
    }

    void manualRenewShowsTheModeEverywhereAtOnce()
    {
        UiRig rig;
        rig.settings.setWizardStart(0);
        rig.settings.setWaveMode(2);
        auto *menu = rig.form<MainMenuWindow>(2);
        menu->show();
        auto *modePage = rig.form<TransferModeWindow>(1);
        WizardWindow *wizard = showWizard(rig);
        click(wizard, "Image34");
        QCOMPARE(pageName(wizard), QStringLiteral("Manual"));
        QCOMPARE(wizard->manualMode(), 2); // the stored mode is preselected

        wizard->findChild<QRadioButton *>("Mode3")->setChecked(true);
        click(wizard, "renew");

        QCOMPARE(rig.settings.waveMode(), 3);
        QCOMPARE(menu->findChild<QLabel *>("Label1")->text(), QStringLiteral("3"));
        QCOMPARE(modePage->selectedMode(), 3);
        QCOMPARE(rig.dialogs.informations, QStringList{"転送モードが 3 に設定されました。"});
        QVERIFY(wizard->isVisible());
        QCOMPARE(pageName(wizard), QStringLiteral("Manual"));

        // Closing the manual page keeps the stored mode.
        rig.dialogs.answers = {Answer::Yes};
        click(wizard, "tojiru");
        QCOMPARE(rig.dialogs.questions, QStringList{LeavePrompt});
        QVERIFY(!wizard->isVisible());
        QCOMPARE(rig.settings.waveMode(), 3);
    }

    void finishStoresInformsAndCloses_data()
    {
        QTest::addColumn<int>("noes");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("result");
        QTest::newRow("first candidate") << 0 << 0 << "Img/Panel/Finish-2.jpg";
        QTest::newRow("second") << 1 << 2 << "Img/Panel/Finish-1.jpg";
        QTest::newRow("third") << 2 << 1 << "Img/Panel/Finish-2.jpg";
        QTest::newRow("fourth") << 3 << 3 << "Img/Panel/Finish-1.jpg";
    }
    void finishStoresInformsAndCloses()
    {
        QFETCH(int, noes);
        QFETCH(int, mode);
        QFETCH(QString, result);
        UiRig rig;
        auto *modePage = rig.form<TransferModeWindow>(1);
        modePage->show();
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, toTest(noes) << "Image12" << "Image22");
        QCOMPARE(pageName(wizard), QStringLiteral("Jikko"));
        rig.sound.played.clear();
        click(wizard, "Image20");
        QCOMPARE(rig.sound.played, QList<QByteArray>{wav::fileBytes(tone::transferSound({2}, [mode] { return mode; }))});

        click(wizard, "Image19"); // "No": the user guide helps
        QCOMPARE(rig.shell.opened.size(), 1);
        QVERIFY(rig.shell.opened.first().endsWith(QLatin1String("/Navi/KR-31navi.html")));

        click(wizard, "Image18");
        QCOMPARE(pageName(wizard), QStringLiteral("Finish"));
        QCOMPARE(wizard->findChild<QLabel *>("Label1")->text(), QString::number(mode));
        QCOMPARE(shown(wizard->findChild<QLabel *>("Image3")), picture(result));

        rig.settings.setWaveMode(0); // so that only the finish can bring the mode back
        click(wizard, "Image26");
        QCOMPARE(rig.settings.waveMode(), mode);
        QCOMPARE(rig.dialogs.informations, QStringList{QStringLiteral("転送モードが %1 に設定されました。").arg(mode)});
        QVERIFY(!wizard->isVisible());
        QCOMPARE(modePage->selectedMode(), mode);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void blinkOnlyForModes2And3_data()
    {
        QTest::addColumn<int>("noes");
        QTest::addColumn<bool>("blinks");
        QTest::newRow("mode 0") << 0 << false;
        QTest::newRow("mode 2") << 1 << true;
        QTest::newRow("mode 1") << 2 << false;
        QTest::newRow("mode 3") << 3 << true;
    }
    void blinkOnlyForModes2And3()
    {
        QFETCH(int, noes);
        QFETCH(bool, blinks);
        UiRig rig;
        WizardWindow *wizard = showWizard(rig);
        QStringList path = toTest(noes);
        path.removeLast(); // stay on the power-on page
        clickAll(wizard, path);
        QCOMPARE(pageName(wizard), QStringLiteral("Den_On"));
        auto *unlit = wizard->findChild<QLabel *>("Image10");
        auto *lit = wizard->findChild<QLabel *>("Image11");
        QCOMPARE(unlit->isVisible(), blinks);
        QCOMPARE(lit->isVisible(), blinks);
        QCOMPARE(wizard->blinking(), blinks);
        if (blinks) {
            wizard->blinkTick();
            QVERIFY(!lit->isVisible());
            QVERIFY(unlit->isVisible());
            wizard->blinkTick();
            QVERIFY(lit->isVisible());
        }
        click(wizard, "Image8");
        QVERIFY(!wizard->blinking());
    }

    void everyShowingStartsOver()
    {
        UiRig rig;
        rig.settings.setWaveMode(1);
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, toTest(1) << "Image12");
        QCOMPARE(wizard->candidateIndex(), 1);
        wizard->hide();
        QCOMPARE(rig.settings.waveMode(), 2);

        // Again from the transfer mode page's "Wiza".
        auto *modePage = rig.form<TransferModeWindow>(1);
        modePage->show();
        QVERIFY(QTest::qWaitForWindowExposed(modePage));
        modePage->WizaClick();
        QVERIFY(wizard->isVisible());
        QCOMPARE(pageName(wizard), QStringLiteral("Start"));
        QCOMPARE(wizard->candidateIndex(), 0);
        QCOMPARE(wizard->savedMode(), 2);
        QVERIFY(!wizard->blinking());
    }

    void writeFailureKeepsThePage_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("page");
        QTest::newRow("Next") << QStringList{} << "Next" << "Start";
        QTest::newRow("cancel") << QStringList{} << "cancel" << "Start";
        QTest::newRow("test transfer") << ToFirstTest << "Image12" << "Send";
        QTest::newRow("finish") << (toTest(0) << "Image12" << "Image22" << "Image18") << "Image26" << "Finish";
        QTest::newRow("renew") << QStringList{"Image34"} << "renew" << "Manual";
        QTest::newRow("inner cancel") << QStringList{"Next"} << "Cancel_Connect" << "Connect";
    }
    void writeFailureKeepsThePage()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, button);
        QFETCH(QString, page);
        UiRig rig;
        WizardWindow *wizard = showWizard(rig);
        clickAll(wizard, path);
        rig.sound.played.clear();
        rig.dialogs.answers = {Answer::Yes};
        // A folder in the way of "set.ini" cannot be written, even by root.
        QFile::remove(rig.settings.iniPath());
        QVERIFY(QDir(rig.home.workFolder()).mkdir(QStringLiteral("set.ini")));

        click(wizard, button);

        QCOMPARE(rig.dialogs.warnings, QStringList{msg::SettingsWrite105});
        QVERIFY(wizard->isVisible());
        QCOMPARE(pageName(wizard), page);
        QVERIFY(rig.sound.played.isEmpty());
        QVERIFY(rig.dialogs.informations.isEmpty());
    }

    void unreadableSettings()
    {
        UiRig rig;
        QVERIFY(QDir(rig.home.workFolder()).mkdir(QStringLiteral("set.ini")));
        WizardWindow *wizard = showWizard(rig);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::SettingsRead104});
        QCOMPARE(wizard->savedMode(), 0);
        click(wizard, "Image34");
        QCOMPARE(rig.dialogs.warnings, (QStringList{msg::SettingsRead104, msg::OpenError102}));
        QCOMPARE(pageName(wizard), QStringLiteral("Start"));
    }
};

QTEST_MAIN(TestWizard)
#include "tst_Wizard.moc"
