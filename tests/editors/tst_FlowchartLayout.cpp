#include "editors/flowchart/FlowchartLayout.h"

#include <QTest>

using namespace kr31;
using chart::Shape;

namespace {

constexpr int X = 172; // the centre of the 345-pixel paint box

QList<Shape> ofKind(const chart::Shapes &shapes, Shape::Kind kind)
{
    QList<Shape> found;
    for (const Shape &s : shapes) {
        if (s.kind == kind)
            found.append(s);
    }
    return found;
}

} // namespace

class TestFlowchartLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void emptyPageDrawsNothing()
    {
        QVERIFY(flowlayout::layout({}, 50, X).isEmpty());
        QCOMPARE(flowlayout::centreOf(345), X);
    }

    void oneEntry()
    {
        const chart::Shapes shapes = flowlayout::layout({"16"}, 50, X);
        const QList<Shape> terminals = ofKind(shapes, Shape::Terminal);
        QCOMPARE(terminals.size(), 2);
        QCOMPARE(terminals[0].box, (chart::Edges{122, 10, 222, 35}));
        QCOMPARE(terminals[0].text, QStringLiteral("プログラム開始"));
        QCOMPARE(terminals[1].box, (chart::Edges{122, 110, 222, 135}));
        QCOMPARE(terminals[1].text, QStringLiteral("プログラム終了"));
        const QList<Shape> lines = ofKind(shapes, Shape::Line);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].points, (QList<QPoint>{{X, 35}, {X, 60}}));
        QCOMPARE(lines[1].points, (QList<QPoint>{{X, 85}, {X, 110}}));
        QCOMPARE(ofKind(shapes, Shape::Arrowhead).first().points, (QList<QPoint>{{X, 60}, {X + 3, 53}, {X - 3, 53}}));
        const QList<Shape> boxes = ofKind(shapes, Shape::Box);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].box, (chart::Edges{122, 60, 222, 85}));
        QCOMPARE(boxes[0].text, QStringLiteral("LED ON"));
    }

    // A repeat returning to entry 0 rejoins the middle of the first arrow, at y 48.
    void loopBackLine()
    {
        const QStringList entries{"16", "21,90", "22,0,3"};
        QCOMPARE(flowlayout::entryTops(entries), (QList<int>{60, 110, 160}));
        const chart::Shapes shapes = flowlayout::layout(entries, 50, X);
        const QList<Shape> diamonds = ofKind(shapes, Shape::Diamond);
        QCOMPARE(diamonds.size(), 1);
        QCOMPARE(diamonds[0].points, (QList<QPoint>{{X, 160}, {X - 125, 185}, {X, 210}, {X + 125, 185}}));
        const QList<Shape> lines = ofKind(shapes, Shape::Line);
        QCOMPARE(lines[3].points, (QList<QPoint>{{X - 125, 185}, {X - 150, 185}, {X - 150, 48}, {X, 48}}));
        QStringList labels;
        for (const Shape &s : ofKind(shapes, Shape::Label))
            labels.append(s.text);
        QCOMPARE(labels, (QStringList{"繰り返し　4回？", "No", "YES"}));
        // The end terminal follows the diamond's 50 pixels and an arrow.
        QCOMPARE(ofKind(shapes, Shape::Terminal).last().box.top, 235);
    }

    void shapesOfEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("halfWidth");
        QTest::newRow("light") << "18,50" << "明るさ設定　明るさ50" << 65;
        QTest::newRow("fade in") << "19,40,3" << "だんだん明るく　明るさ40　単位3" << 90;
        QTest::newRow("fade out") << "20,40,3" << "だんだん暗く　明るさ40　単位3" << 90;
        QTest::newRow("timer") << "21,90" << "タイマ　時間90" << 50;
        QTest::newRow("touch fade") << "24" << "タッチ中だんだん明るく" << 75;
        QTest::newRow("stop") << "100" << "動作終了" << 50;
        QTest::newRow("call") << "Sub,2" << "サブルーチン 2" << 50;
        QTest::newRow("no command (a hand-edited file)") << "99" << "99" << 50;
    }
    void shapesOfEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, text);
        QFETCH(int, halfWidth);
        QCOMPARE(flowlayout::entryText(entry), text);
        QCOMPARE(flowlayout::halfWidth(entry, 50), halfWidth);
    }

    void callPentagon()
    {
        const chart::Shapes shapes = flowlayout::layout({"Sub,1", "16"}, 50, X);
        const Shape pentagon = ofKind(shapes, Shape::Diamond).first();
        QCOMPARE(pentagon.points, (QList<QPoint>{{X - 50, 60}, {X - 50, 98}, {X, 110}, {X + 50, 98}, {X + 50, 60}}));
        QCOMPARE(ofKind(shapes, Shape::Label).first().box, (chart::Edges{X - 50, 60, X + 50, 110}));
        QCOMPARE(ofKind(shapes, Shape::Box).first().box.top, 135); // 75 below the call
        // An entry that is no command is a plain box in a plain step: nothing overlaps the next one.
        const chart::Shapes plain = flowlayout::layout({"99", "16"}, 50, X);
        QVERIFY(ofKind(plain, Shape::Diamond).isEmpty());
        QCOMPARE(ofKind(plain, Shape::Box).at(1).box.top, 110);
    }

    void hitTest_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("entry");
        // Tops: 16 at 60, the repeat at 110, the call at 185, 17 at 260.
        QTest::newRow("box top") << QPoint(X, 60) << 0;
        QTest::newRow("box bottom edge") << QPoint(X, 85) << 0;
        QTest::newRow("below a box") << QPoint(X, 86) << -1;
        QTest::newRow("lower half of a diamond") << QPoint(X, 150) << 1;
        QTest::newRow("lower half of a pentagon") << QPoint(X, 230) << 2;
        QTest::newRow("between two shapes") << QPoint(X, 250) << -1;
        QTest::newRow("last box") << QPoint(X, 270) << 3;
        QTest::newRow("x 50") << QPoint(50, 60) << -1;
        QTest::newRow("x 51") << QPoint(51, 60) << 0;
        QTest::newRow("x 300") << QPoint(300, 60) << -1;
        QTest::newRow("x 299") << QPoint(299, 60) << 0;
        QTest::newRow("start terminal") << QPoint(X, 20) << -1;
    }
    void hitTest()
    {
        QFETCH(QPoint, at);
        QFETCH(int, entry);
        QCOMPARE(flowlayout::hitEntry({"16", "22,0,1", "Sub,1", "17"}, at), entry);
    }

    void longestPageReachesPastTheDefaultHeight()
    {
        QStringList calls;
        for (int i = 0; i < 47; ++i)
            calls.append("Sub,1");
        QCOMPARE(flowlayout::bottom(calls), 60 + 46 * 75 + 50 + 50);
    }
};

QTEST_APPLESS_MAIN(TestFlowchartLayout)
#include "tst_FlowchartLayout.moc"
