#include "editors/icon/ChartLayout.h"

#include <QTest>

using namespace kr31;
using namespace kr31::chart;

Q_DECLARE_METATYPE(kr31::chart::Shapes)

// Readable failures: a shape as its kind, points, box and text.
namespace kr31::chart {
char *toString(const Shape &s)
{
    QString text = QStringLiteral("kind %1 [%2,%3,%4,%5] %6 %7").arg(s.kind).arg(s.box.left).arg(s.box.top)
                       .arg(s.box.right).arg(s.box.bottom).arg(s.corner).arg(s.text);
    for (const QPoint &p : s.points)
        text += QStringLiteral(" (%1,%2)").arg(p.x()).arg(p.y());
    return qstrdup(text.toUtf8().constData());
}
} // namespace kr31::chart

namespace {

using Points = QList<QPoint>;

Shape terminal(Edges box, int corner, const QString &text)
{
    return {Shape::Terminal, {}, box, corner, text};
}
Shape line(Points points)
{
    return {Shape::Line, points};
}
Shape head(Points points)
{
    return {Shape::Arrowhead, points};
}
Shape box(Edges edges, const QString &text)
{
    return {Shape::Box, {}, edges, 0, text};
}
Shape label(Edges edges, const QString &text)
{
    return {Shape::Label, {}, edges, 0, text};
}

// The screen arrow whose shaft starts at y on the centre line 228.
Shapes screenArrow(int y)
{
    return {line({{228, y}, {228, y + 25}}), head({{228, y + 25}, {231, y + 18}, {225, y + 18}})};
}

QList<Shape> ofKind(const Shapes &shapes, Shape::Kind kind)
{
    QList<Shape> found;
    for (const Shape &s : shapes) {
        if (s.kind == kind)
            found.append(s);
    }
    return found;
}

} // namespace

class TestChartLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void onAndLightOnScreen()
    {
        const Shapes expected = Shapes{terminal({178, 10, 278, 35}, 25, "プログラム開始")} + screenArrow(35)
            + Shapes{box({178, 60, 278, 85}, "LED ON")} + screenArrow(85)
            + Shapes{box({163, 110, 293, 135}, "明るさ設定　明るさ50")} + screenArrow(135)
            + Shapes{terminal({178, 160, 278, 185}, 25, "プログラム終了")};
        QCOMPARE(layout({"16", "18,50"}, 50, 228, 10), expected);
    }

    void repeatOnScreen()
    {
        const Shapes shapes = layout({"16", "21,90", "22,0,3"}, 50, 228, 10);
        const Shapes diamond = Shapes{
            {Shape::Diamond, {{228, 160}, {103, 185}, {228, 210}, {353, 185}}},
            label({118, 175, 338, 195}, "繰り返し　4回？"),
            label({90, 172, 116, 185}, "No"),
            label({228, 210, 253, 222}, "YES"),
            line({{103, 185}, {78, 185}, {78, 48}, {228, 48}}),
            head({{228, 48}, {221, 45}, {221, 51}}),
        };
        const qsizetype at = shapes.indexOf(diamond.first());
        QVERIFY(at > 0);
        QCOMPARE(shapes.mid(at, diamond.size()), diamond);
        // the end follows the diamond's full height
        QCOMPARE(shapes.mid(at + diamond.size()),
                 screenArrow(210) + Shapes{terminal({178, 235, 278, 260}, 25, "プログラム終了")});
    }

    // Each loop-back line rejoins a quarter unit above its return step's box.
    void loopBackHeights_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("heights");
        QTest::newRow("to the first step") << QStringList{"16", "21,90", "22,0,3"} << QList<int>{48};
        QTest::newRow("nested") << QStringList{"16", "22,0,1", "22,1,2"} << QList<int>{48, 98};
        QTest::newRow("to itself") << QStringList{"16", "222,1,1"} << QList<int>{98};
    }
    void loopBackHeights()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, heights);
        QList<int> found;
        for (const Shape &s : ofKind(layout(steps, 50, 228, 10), Shape::Line)) {
            if (s.points.size() == 4)
                found.append(s.points[2].y());
        }
        QCOMPARE(found, heights);
    }

    // At 150 dots per inch every derived length of u = 75 needs its own rounding.
    void repeatOnPaper()
    {
        const Shapes expected = Shapes{terminal({525, 150, 675, 188}, 38, "プログラム開始"),
                                       line({{600, 188}, {600, 226}}),
                                       head({{600, 226}, {605, 215}, {595, 215}}),
                                       box({525, 226, 675, 264}, "LED ON"),
                                       line({{600, 264}, {600, 302}}),
                                       head({{600, 302}, {605, 291}, {595, 291}}),
                                       {Shape::Diamond, {{600, 302}, {412, 340}, {600, 377}, {788, 340}}},
                                       label({435, 324, 765, 354}, "繰り返し　2回？"),
                                       label({394, 321, 431, 340}, "No"),
                                       label({600, 377, 638, 396}, "YES"),
                                       line({{412, 340}, {375, 340}, {375, 207}, {600, 207}}),
                                       head({{600, 207}, {589, 202}, {589, 212}}),
                                       line({{600, 377}, {600, 415}}),
                                       head({{600, 415}, {605, 404}, {595, 404}}),
                                       terminal({525, 415, 675, 453}, 38, "プログラム終了")};
        QCOMPARE(layout({"16", "22,0,1"}, 75, 600, 150), expected);
        QCOMPARE(chart::halfWidth("18", 75), 98); // 97.5 to even
        QCOMPARE(chart::halfWidth("24", 75), 112); // 112.5 to even
    }

    void stepTops_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("tops");
        QTest::newRow("empty") << QStringList() << QList<int>();
        QTest::newRow("boxes") << QStringList{"16", "18,50"} << QList<int>{60, 110};
        QTest::newRow("repeat is taller") << QStringList{"22,0,1", "16", "231,1,1", "17"} << QList<int>{60, 135, 185, 260};
        QTest::newRow("unknown code keeps its place") << QStringList{"99", "16"} << QList<int>{60, 110};
        QTest::newRow("stops at 27") << QStringList{"16", "27", "17"} << QList<int>{60};
        QTest::newRow("27 with arguments") << QStringList{"16", "27,1"} << QList<int>{60};
    }
    void stepTops()
    {
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, tops);
        QCOMPARE(chart::stepTops(steps, 50, 10), tops);
    }

    void fortySevenRepeatsFitThePaintBox()
    {
        const QStringList steps = QStringList(47, "22,0,1");
        QCOMPARE(chart::stepTops(steps, 50, 10).last(), 60 + 46 * 75);
        QCOMPARE(chartBottom(steps, 50, 10), 3610);
        const Shapes shapes = layout(steps, 50, 228, 10);
        QCOMPARE(shapes.last().box, (Edges{178, 3585, 278, 3610}));
        QCOMPARE(ofKind(shapes, Shape::Diamond).size(), 47);
    }

    void unknownCodeLeavesABlank()
    {
        const Shapes expected = Shapes{terminal({178, 10, 278, 35}, 25, "プログラム開始")} + screenArrow(35)
            + screenArrow(85) + Shapes{terminal({178, 110, 278, 135}, 25, "プログラム終了")};
        QCOMPARE(layout({"100"}, 50, 228, 10), expected);
    }

    void nothingToDraw()
    {
        QVERIFY(layout({}, 50, 228, 10).isEmpty());
        QVERIFY(layout({"27", "16"}, 50, 228, 10).isEmpty());
    }

    void texts_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("halfWidth");
        QTest::newRow("on") << "16" << "LED ON" << 50;
        QTest::newRow("off") << "17" << "LED OFF" << 50;
        QTest::newRow("light") << "18,0" << "明るさ設定　明るさ0" << 65;
        QTest::newRow("fade in") << "19,100,5" << "だんだん明るく　明るさ100　単位5" << 100;
        QTest::newRow("fade out") << "20,0,255" << "だんだん暗く　明るさ0　単位255" << 90;
        QTest::newRow("timer") << "21,64800" << "タイマ　時間64800" << 50;
        QTest::newRow("repeat") << "22,0,3" << "繰り返し　4回？" << 125;
        QTest::newRow("for loop") << "221,2,254" << "繰り返し　255回？" << 125;
        QTest::newRow("while loop") << "232,0,1" << "繰り返し　2回？" << 125;
        QTest::newRow("count not a number") << "22,0,x" << "繰り返し　？回？" << 125;
        QTest::newRow("arguments as they stand") << "18,050" << "明るさ設定　明るさ050" << 65;
        QTest::newRow("touch") << "23" << "タッチ待ち" << 50;
        QTest::newRow("touch in") << "24" << "タッチ中だんだん明るく" << 75;
        QTest::newRow("touch out") << "25" << "タッチ中だんだん暗く" << 75;
        QTest::newRow("beep") << "26" << "確認音" << 50;
        QTest::newRow("stop has no box") << "100" << "" << 0;
        QTest::newRow("exact code text") << "016" << "" << 0;
    }
    void texts()
    {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(int, halfWidth);
        QCOMPARE(stepText(line), text);
        QCOMPARE(chart::halfWidth(line.section(',', 0, 0), 50), halfWidth);
    }

    void returnSteps_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("drawn");
        QTest::addColumn<int>("step");
        QTest::newRow("first") << "22,0,3" << 3 << 0;
        QTest::newRow("itself") << "22,1,1" << 2 << 1;
        QTest::newRow("beyond the list") << "22,2,1" << 2 << -1;
        QTest::newRow("negative") << "22,-1,1" << 2 << -1;
        QTest::newRow("not a number") << "22,a,1" << 2 << -1;
        QTest::newRow("missing") << "22" << 2 << -1;
    }
    void returnSteps()
    {
        QFETCH(QString, line);
        QFETCH(int, drawn);
        QFETCH(int, step);
        QCOMPARE(returnStep(line, drawn), step);
    }

    void repeatWithoutReturnStepDrawsNoLoop()
    {
        // the return step 5 lies beyond the steps drawn (a 27 ends them)
        const Shapes shapes = layout({"16", "22,5,1", "27", "16", "16", "16", "16"}, 50, 228, 10);
        QCOMPARE(ofKind(shapes, Shape::Diamond).size(), 1);
        QCOMPARE(ofKind(shapes, Shape::Arrowhead).size(), 3); // the three arrows only
        for (const Shape &s : ofKind(shapes, Shape::Line))
            QCOMPARE(s.points.size(), 2);
        QCOMPARE(shapes.last(), terminal({178, 185, 278, 210}, 25, "プログラム終了"));
    }

    // Paper keeps the steps that fit whole and marks the cut, where a loop-back line to a step cut off ends.
    void cutOffPage_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("pageBottom");
        QTest::addColumn<Shapes>("end");
        const QStringList five = QStringList(5, "16");
        const Shape note = label({78, 200, 378, 225}, CutNote);
        QTest::newRow("end cut off") << five << 334 << Shapes{line({{228, 285}, {228, 334}}), label({78, 334, 378, 359}, CutNote)};
        QTest::newRow("steps cut off") << five << 200 << Shapes{box({178, 160, 278, 185}, "LED ON"), line({{228, 185}, {228, 200}}), note};
        QTest::newRow("loop to a step cut off") << QStringList{"16", "22,2,1", "16"} << 200
                                                << Shapes{line({{103, 135}, {78, 135}, {78, 200}}), head({{78, 200}, {81, 193}, {75, 193}}),
                                                          line({{228, 160}, {228, 200}}), note};
    }
    void cutOffPage()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, pageBottom);
        QFETCH(Shapes, end);
        const Shapes shapes = layoutPage(steps, Frame{50, 228, 10, pageBottom});
        QCOMPARE(shapes.mid(shapes.size() - end.size()), end);
    }
};

QTEST_APPLESS_MAIN(TestChartLayout)
#include "tst_ChartLayout.moc"
