#include "core/Messages.h"
#include "editors/icon/IconProgram.h"

#include <QTest>

using namespace kr31;

Q_DECLARE_METATYPE(kr31::ArgumentState)

namespace {

// A program from short slot texts: "16", "18,50", "19,100,5"... empty strings stay empty.
IconProgram program(const QStringList &texts)
{
    IconProgram p;
    for (int i = 0; i < texts.size(); ++i) {
        if (texts.at(i).isEmpty())
            continue;
        const QStringList f = texts.at(i).split(u',');
        p.Slots[i] = IconSlot{f.value(0), f.value(1), f.value(2)};
    }
    return p;
}

QStringList withFiller(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

} // namespace

class TestIconProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tables()
    {
        QCOMPARE(icon::iconPath(22), QStringLiteral("Img/DD/Icon/Repeat.jpg"));
        QCOMPARE(icon::iconPath(231), QStringLiteral("Img/DD/Icon/Repeat.jpg"));
        QCOMPARE(icon::iconPath(27), QStringLiteral("Img/DD/Icon/Empty.jpg"));
        QCOMPARE(icon::iconPath(5), QStringLiteral("Img/DD/Icon/Empty.jpg"));
        QCOMPARE(icon::iconPath(24), QStringLiteral("Img/DD/Icon/T_F_In.jpg"));
        QCOMPARE(icon::dragPicturePath(100), QStringLiteral("Img/DD/Icon/Stop.bmp"));
        QCOMPARE(icon::iconWeight(5), 1);
        QCOMPARE(icon::iconWeight(27), 0);
        QCOMPARE(icon::iconWeight(100), 0);
        QCOMPARE(icon::iconWeight(222), 3);
        QCOMPARE(icon::value1Max(21), 64800);
        QCOMPARE(icon::value1Max(22), 46);
        QCOMPARE(icon::value1Max(231), 100);
        QCOMPARE(icon::pageStep(100), 10);
        QCOMPARE(icon::pageStep(46), 5);
        QCOMPARE(icon::pageStep(255), 26);
        QVERIFY(!icon::showsValue1(16) && !icon::showsValue2(16));
        QVERIFY(icon::showsValue1(18) && !icon::showsValue2(18));
        QVERIFY(icon::showsValue1(5) && icon::showsValue2(5));
        QVERIFY(!icon::showsValue2(21));
    }

    void freshProgramCompilesToFillers()
    {
        QCOMPARE(IconProgram().compileSlots(), QStringList(47, "27"));
        QCOMPARE(IconProgram().slotTotal(), 0);
        QVERIFY(IconProgram().checkProgram().ok);
    }

    void compileAndTotal()
    {
        const IconProgram p = program({"16", "18,50", "", "19,100,5", "100"});
        QCOMPARE(p.compileSlots(), withFiller({"16", "18,50", "27", "19,100,5", "100"}));
        QCOMPARE(p.slotTotal(), 3); // counting stops at the empty slot 2
        QCOMPARE(p.chartSteps(), (QStringList{"16", "18,50"}));
        const IconProgram loop = program({"16", "221,5,3", "21,90,9", "26,0,1"});
        QCOMPARE(loop.compileSlots(), withFiller({"16", "22,5,3", "21,90", "26"}));
    }

    void dropDefaults_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("total");
        QTest::newRow("ON") << 16 << "16" << 1;
        QTest::newRow("Light") << 18 << "18,0" << 2;
        QTest::newRow("F_In") << 19 << "19,0,1" << 3;
        QTest::newRow("Repeat") << 22 << "22,0,1" << 3;
        QTest::newRow("Time") << 21 << "21,0" << 3;
        QTest::newRow("Stop") << 100 << "100" << 0;
    }
    void dropDefaults()
    {
        QFETCH(int, code);
        QFETCH(QString, line);
        QFETCH(int, total);
        IconProgram p;
        QVERIFY(p.drop(0, code));
        QCOMPARE(p.compileSlots().first(), line);
        QCOMPARE(p.slotTotal(), total);
    }

    void dropLimit()
    {
        IconProgram p;
        for (int i = 0; i < 46; ++i)
            QVERIFY(p.drop(i, 16));
        QCOMPARE(p.slotTotal(), 46);
        IconProgram light = p;
        QVERIFY(!light.drop(46, 18)); // 48 would pass the limit
        QCOMPARE(light, p);
        QVERIFY(p.drop(46, 16));
        QCOMPARE(p.slotTotal(), 47);
        // Full: even a lighter replacement is refused; Stop weighs nothing.
        IconProgram heavy = program(QStringList(15, "21,5") + QStringList{"18,5"});
        QCOMPARE(heavy.slotTotal(), 47);
        QVERIFY(!heavy.drop(0, 16));
        QVERIFY(heavy.drop(0, 100));
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("slot");
        const QStringList none;
        QTest::newRow("repeat to itself at 0") << QStringList{"22,0,1"} << false << QStringList{msg::RepeatError501} << 0;
        QTest::newRow("repeat to itself at 5")
            << QStringList{"16", "16", "16", "16", "16", "22,5,1"} << false << QStringList{msg::RepeatError501} << 5;
        QTest::newRow("repeat to 4 from 5") << QStringList{"16", "16", "16", "16", "16", "22,4,1"} << true << none << -1;
        QTest::newRow("nested repeat between")
            << QStringList{"16", "16", "16", "22,0,1", "16", "16", "22,2,1"} << false << none << 6;
        QTest::newRow("repeat on the return slot")
            << QStringList{"16", "16", "16", "22,0,1", "16", "16", "22,3,1"} << true << none << -1;
        QTest::newRow("loop variant not nested-checked")
            << QStringList{"16", "231,0,1", "22,0,2"} << true << none << -1;
        QTest::newRow("loop variant to itself") << QStringList{"231,0,1"} << false << QStringList{msg::RepeatError501} << 0;
        QTest::newRow("time 0") << QStringList{"21,0"} << false << QStringList{msg::OutOfRange507} << 0;
        QTest::newRow("time 64800") << QStringList{"21,64800"} << true << none << -1;
        QTest::newRow("time 64801") << QStringList{"21,64801"} << false << QStringList{msg::OutOfRange507} << 0;
        QTest::newRow("count 0 from a file") << QStringList{"16", "22,0,0"} << false << QStringList{msg::OutOfRange507} << 1;
        QTest::newRow("unit 0 from a file") << QStringList{"19,50,0"} << false << QStringList{msg::OutOfRange507} << 0;
        QTest::newRow("brightness not a number") << QStringList{"18,abc"} << false << QStringList{msg::OutOfRange507} << 0;
        QTest::newRow("negative repeat address") << QStringList{"16", "16", "22,-3,1"} << false
                                                 << QStringList{msg::OutOfRange507} << 2;
        QTest::newRow("empty repeat address") << QStringList{"16", "22,,3"} << false << QStringList{msg::RepeatError501} << 1;
        QTest::newRow("code that is no command") << QStringList{"5"} << false << none << 0;
        QTest::newRow("commands after Stop still checked")
            << QStringList{"16", "100", "21,0"} << false << QStringList{msg::OutOfRange507} << 2;
        QTest::newRow("over 47 after a gap")
            << QStringList(15, "21,5") + QStringList{"", "21,5", "21,5"} << false
            << QStringList{msg::SendOverLimit504} << -1;
        QTest::newRow("defaults of no-argument commands ignored") << QStringList{"16,0,1", "26,0,1"} << true << none << -1;
    }
    void check()
    {
        QFETCH(QStringList, texts);
        QFETCH(bool, ok);
        QFETCH(QStringList, messages);
        QFETCH(int, slot);
        const IconCheck result = program(texts).checkProgram();
        QCOMPARE(result.ok, ok);
        QCOMPARE(result.messages, messages);
        QCOMPARE(result.slot, slot);
    }

    void typedValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("in range") << "40" << 100 << "40";
        QTest::newRow("above max") << "150" << 100 << "100";
        QTest::newRow("leading zeros normalised") << "007" << 100 << "7";
        QTest::newRow("below min") << "-5" << 100 << "0";
        QTest::newRow("minus zero") << "-0" << 100 << "";
        QTest::newRow("letters") << "abc" << 100 << "";
        QTest::newRow("empty") << "" << 100 << "";
    }
    void typedValues()
    {
        QFETCH(QString, text);
        QFETCH(int, max);
        QFETCH(QString, stored);
        const auto state = icon::typedValue(text, 0, max);
        QCOMPARE(state ? state->slot : QString(), stored);
        if (state)
            QCOMPARE(state->box, state->slot);
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<ArgumentState>("state");
        QTest::newRow("above max") << "120" << 0 << 100 << ArgumentState{100, "100", "100"};
        QTest::newRow("count 0 below min") << "0" << 1 << 255 << ArgumentState{1, "", "0"};
        QTest::newRow("exactly min 0") << "0" << 0 << 100 << ArgumentState{0, "0", "0"};
        QTest::newRow("exactly min 1") << "1" << 1 << 255 << ArgumentState{1, "1", "1"};
        QTest::newRow("in range") << "70" << 0 << 100 << ArgumentState{70, "70", "70"};
        QTest::newRow("not a number kept") << "x" << 0 << 100 << ArgumentState{0, "", "x"};
    }
    void storedValues()
    {
        QFETCH(QString, text);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(ArgumentState, state);
        QCOMPARE(icon::storedValue(text, min, max), state);
    }

    void timeSplitting()
    {
        QCOMPARE(icon::joinTime({1, 2, 3}), 3723);
        QCOMPARE(icon::splitTime(3723), (icon::Hms{1, 2, 3}));
        QCOMPARE(icon::joinTime({18, 0, 0}), 64800);
        QCOMPARE(icon::joinTime({18, 0, 1}), 64801);
        QCOMPARE(icon::splitTime(70000), (icon::Hms{18, 26, 40})); // hours limited to 18
    }

    void loadPassesThroughTheControls()
    {
        IconProgram p;
        p.load(0, 19, "120", "0");
        QCOMPARE(p.Slots[0], (IconSlot{"19", "100", "0"}));
        p.load(1, 21, "70000", "");
        QCOMPARE(p.Slots[1].value1, QStringLiteral("66400"));
        p.load(2, 22, "50", "300");
        QCOMPARE(p.Slots[2], (IconSlot{"22", "46", "255"}));
        p.load(3, 221, "5", "3");
        QCOMPARE(p.Slots[3], (IconSlot{"221", "5", "3"}));
    }

    void insertAndDelete()
    {
        const QStringList ten{"16", "17", "18,10", "18,20", "23", "26", "24", "25", "17", "16"};
        IconProgram p = program(ten);
        p.insertAt(5);
        QCOMPARE(p.compileSlots(),
                 withFiller({"16", "17", "18,10", "18,20", "23", "27", "26", "24", "25", "17", "16"}));
        QCOMPARE(p.slotTotal(), 7); // only slots 0 to 4 count

        IconProgram d = program(ten);
        d.deleteAt(5);
        QCOMPARE(d.compileSlots(), withFiller({"16", "17", "18,10", "18,20", "23", "24", "25", "17", "16"}));

        IconProgram last = program(QStringList(47, "16"));
        last.insertAt(0);
        QVERIFY(last.Slots[0].isEmpty());
        QCOMPARE(last.compileSlots().count("16"), 46); // slot 46 fell off
        last.deleteAt(46);
        QVERIFY(last.Slots[46].isEmpty());
        last.clear();
        QCOMPARE(last, IconProgram());
    }
};

QTEST_GUILESS_MAIN(TestIconProgram)
#include "tst_IconProgram.moc"
