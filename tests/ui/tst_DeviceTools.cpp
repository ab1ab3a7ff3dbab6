#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "support/ui/UiRig.h"
#include "tools/ui/AlarmSoundWindow.h"
#include "tools/ui/BrightnessWindow.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWindow>

using namespace kr31;
using namespace kr31::test;

namespace {

struct ToolRig : UiRig
{
    ToolRig() { settings.setWizardStart(0); }

    // Shows window number as the main menu does and lets it settle.
    FormWindow *show(int number)
    {
        forms.open(nullptr, number);
        FormWindow *window = forms.form(number);
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        settle();
        log.clear();
        return window;
    }

    // A click as the user makes it, on the middle of a named child.
    static void click(QWidget *window, const char *name)
    {
        auto *child = window->findChild<QWidget *>(QString::fromLatin1(name));
        QVERIFY2(child, name);
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, child->mapTo(window, child->rect().center()));
        settle();
    }

    QByteArray wavOf(const Packet &packet, int mode) const
    {
        return wav::fileBytes(tone::transferSound(packet, [=] { return mode; }));
    }
};

} // namespace

class TestDeviceTools : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // GIVEN a transfer mode in set.ini WHEN either tool is shown THEN Label1 shows it,
    // read again at every showing.
    void modeDigitAtEveryShowing_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("brightness") << 3;
        QTest::newRow("alarm sound") << 13;
    }
    void modeDigitAtEveryShowing()
    {
        QFETCH(int, number);
        ToolRig rig;
        rig.settings.setWaveMode(1);
        FormWindow *window = rig.show(number);
        QVERIFY(window);
        auto *digit = window->findChild<QLabel *>("Label1");
        QCOMPARE(digit->text(), QStringLiteral("1"));
        window->hide();
        rig.settings.setWaveMode(3);
        rig.show(number);
        QCOMPARE(digit->text(), QStringLiteral("3"));
        ToolRig::click(window, "Menu");
        QVERIFY(!window->isVisible());
        QVERIFY(rig.forms.form(2)->isVisible());
    }

    void brightnessSendsItsByte_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("byte");
        QTest::newRow("start") << 50 << 128;
        QTest::newRow("off") << 0 << 0;
        QTest::newRow("full") << 100 << 255;
        QTest::newRow("ten") << 10 << 26;
        QTest::newRow("half up to even") << 30 << 76;
    }
    // GIVEN the slider at a percent WHEN Tenso is clicked THEN header 6 and the byte play at
    // once, in the mode of set.ini, without the sending dialog or a pause.
    void brightnessSendsItsByte()
    {
        QFETCH(int, percent);
        QFETCH(int, byte);
        ToolRig rig;
        rig.settings.setWaveMode(2);
        auto *window = static_cast<BrightnessWindow *>(rig.show(3));
        auto *slider = window->findChild<QSlider *>("LMDTrackBar1");
        QCOMPARE(slider->value(), 50);
        slider->setValue(percent);
        QCOMPARE(window->findChild<QLabel *>("Label2")->text(), QString::number(percent));
        QVERIFY(rig.log.isEmpty()); // moving sends nothing

        ToolRig::click(window, "Tenso");
        ToolRig::click(window, "Tenso");
        QCOMPARE(rig.log, (EventLog{"prepare", "play", "silence", "prepare", "play", "silence"}));
        QVERIFY(!rig.forms.form(7)->isVisible());
        const QByteArray expected = rig.wavOf({6, byte}, 2);
        QCOMPARE(rig.sound.played, (QList<QByteArray>{expected, expected}));
        QCOMPARE(rig.home.readWorkFile("Creat.WAV"), expected);
    }

    void sliderFollowsTheKeys()
    {
        ToolRig rig;
        auto *window = rig.show(3);
        auto *slider = window->findChild<QSlider *>("LMDTrackBar1");
        auto *value = window->findChild<QLabel *>("Label2");
        QCOMPARE(value->text(), QStringLiteral("50"));
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(value->text(), QStringLiteral("100"));
        QTest::keyClick(slider, Qt::Key_Left);
        QCOMPARE(value->text(), QStringLiteral("99"));
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(value->text(), QStringLiteral("0"));
    }

    void alarmSendsThePattern_data()
    {
        QTest::addColumn<int>("pattern");
        QTest::addColumn<int>("code");
        QTest::newRow("as opened") << 0 << 200;
        for (int k = 1; k <= 4; ++k)
            QTest::addRow("pattern %d", k) << k << 199 + k;
    }
    // GIVEN a pattern chosen (or none touched) WHEN Tenso is clicked THEN the sending dialog
    // stands over the window for the wait and the play, and the melody packet carries the code.
    void alarmSendsThePattern()
    {
        QFETCH(int, pattern);
        QFETCH(int, code);
        ToolRig rig;
        const QByteArray settingsBefore = "[Wizard]\r\nStart=0\r\n[Wave]\r\nname=1\r\n";
        rig.home.writeWorkFile("set.ini", settingsBefore);
        FormWindow *window = rig.show(13);
        if (pattern)
            ToolRig::click(window, QStringLiteral("RadioButton%1").arg(pattern).toLatin1().constData());
        QCOMPARE(static_cast<AlarmSoundWindow *>(window)->pattern(), pattern ? pattern : 1);

        bool dialogDuringPlay = false;
        rig.clock.duringWait = [&] { dialogDuringPlay = rig.forms.form(7)->isVisible(); };
        ToolRig::click(window, "Tenso");
        QVERIFY(dialogDuringPlay);
        QVERIFY(!rig.forms.form(7)->isVisible());
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "play", "silence"}));

        Packet expected{5};
        expected << QList<int>(16, 0) << code << QList<int>(191, 204);
        QCOMPARE(expected.size(), 209);
        QCOMPARE(rig.sound.played, QList<QByteArray>{rig.wavOf(expected, 1)});
        QCOMPARE(rig.home.readWorkFile("set.ini"), settingsBefore); // sending stores nothing
    }

    void failedPlayIsReported()
    {
        ToolRig rig;
        rig.sound.failWith = QStringLiteral("no device");
        FormWindow *window = rig.show(13);
        ToolRig::click(window, "Tenso");
        QCOMPARE(rig.dialogs.warnings, QStringList{"no device"});
        QVERIFY(!rig.forms.form(7)->isVisible());
    }
};

QTEST_MAIN(TestDeviceTools)
#include "tst_DeviceTools.moc"
