#include "core/Messages.h"
#include "editors/icon/ChartLayout.h"
#include "editors/icon/ui/ChartViewWindow.h"
#include "support/ui/UiRig.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

using namespace kr31;
using namespace kr31::test;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &pdf)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

int pdfPages(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString &line : info.split('\n')) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

QImage paintBoxImage(ChartViewWindow &view)
{
    return view.findChild<QWidget *>(QStringLiteral("PaintBox1"))->grab().toImage();
}

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

void wheel(QWidget *target, int delta)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

class TestChartView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // GIVEN an open view WHEN the editor hands it other steps THEN it draws them at once.
    void refillRepaints()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.setSteps({"16", "18,50"});
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.stepTops(), (QList<int>{60, 110}));
        QImage image = paintBoxImage(view);
        QVERIFY(dark(image, 178, 72));  // left edge of the "LED ON" box
        QVERIFY(dark(image, 163, 122)); // left edge of the light box
        QVERIFY(!dark(image, 103, 185));
        QVERIFY(rig.dialogs.warnings.isEmpty()); // its pictures all exist

        view.setSteps({"16", "21,90", "22,0,3"});
        QCOMPARE(view.steps(), (QStringList{"16", "21,90", "22,0,3"}));
        QCOMPARE(view.stepTops(), (QList<int>{60, 110, 160}));
        image = paintBoxImage(view);
        QVERIFY(!dark(image, 163, 122));
        QVERIFY(dark(image, 103, 185)); // the diamond's left corner
        QVERIFY(dark(image, 78, 120));  // the loop-back line

        view.setSteps({});
        image = paintBoxImage(view);
        QVERIFY(!dark(image, 228, 20));
        QVERIFY(view.stepTops().isEmpty());
    }

    void showOverCentres_data()
    {
        QTest::addColumn<QRect>("opener");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("icon editor") << QRect(100, 50, 749, 499) << QPoint(225, 50);
        QTest::newRow("halves to even") << QRect(0, 0, 750, 500) << QPoint(126, 0);
        QTest::newRow("smaller opener") << QRect(300, 300, 400, 200) << QPoint(250, 150);
    }
    void showOverCentres()
    {
        QFETCH(QRect, opener);
        QFETCH(QPoint, expected);
        UiRig rig;
        QWidget editor(nullptr, Qt::Window | Qt::FramelessWindowHint);
        editor.setGeometry(opener);
        editor.show();
        ChartViewWindow view(rig.forms);
        view.setSteps({"16"});
        view.showOver(&editor);
        UiRig::settle();
        QVERIFY(view.isVisible());
        QVERIFY(!view.isModal());
        QVERIFY(editor.isVisible());
        QCOMPARE(view.pos(), expected);
    }

    void byeHides()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, QPoint(334, 465));
        UiRig::settle();
        QVERIFY(!view.isVisible());
        QCOMPARE(rig.printing.shown, 0);
    }

    void wheelScrollsEightyPixels()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.setSteps(QStringList(47, "22,0,1"));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.findChild<QWidget *>(QStringLiteral("PaintBox1"))->size(), QSize(457, 3650));
        auto *scroll = view.findChild<QScrollArea *>(QStringLiteral("ScrollBox1"));
        QScrollBar *bar = scroll->verticalScrollBar();
        wheel(scroll->viewport(), -120);
        QCOMPARE(bar->value(), 80);
        wheel(scroll->viewport(), -240);
        QCOMPARE(bar->value(), 240);
        wheel(scroll->viewport(), 60); // half a step waits for the other half
        QCOMPARE(bar->value(), 240);
        wheel(scroll->viewport(), 60);
        QCOMPARE(bar->value(), 160);
        // reopening starts at the top
        view.showOver(&view);
        QCOMPARE(bar->value(), 0);
    }

    void printsTheChart()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.setSteps({"16", "18,50", "21,90", "22,0,3", "19,100,5", "26"});
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(view.windowHandle(), Qt::LeftButton, {}, QPoint(90, 465));
        UiRig::settle();
        QCOMPARE(rig.printing.shown, 1);
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QCOMPARE(pdfPages(rig.printing.pdfPath), 1);
        const QString text = pdfText(rig.printing.pdfPath);
        for (const char *expected :
             {"プログラム開始", "LED ON", "明るさ設定", "タイマ", "繰り返し", "4回？", "YES", "No", "だんだん明るく",
              "確認音", "プログラム終了"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }

    void cancelledDialogPrintsNothing()
    {
        UiRig rig;
        rig.printing.accept = false;
        ChartViewWindow view(rig.forms);
        view.setSteps({"16"});
        view.OutClick();
        QCOMPARE(rig.printing.shown, 1);
        QVERIFY(!QFile::exists(rig.printing.pdfPath));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void longChartIsCutOffOnOnePage()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.setSteps(QStringList(47, "22,0,1"));
        view.OutClick();
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QCOMPARE(pdfPages(rig.printing.pdfPath), 1);
        const QString text = pdfText(rig.printing.pdfPath);
        QCOMPARE(text.count(QStringLiteral("繰り返し")), 12); // the diamonds that fit whole on A4
        QVERIFY(text.contains(chart::CutNote));
        QVERIFY(!text.contains(QStringLiteral("プログラム終了")));
    }

    void emptyChartPrintsAnEmptyPage()
    {
        UiRig rig;
        ChartViewWindow view(rig.forms);
        view.OutClick();
        QCOMPARE(pdfPages(rig.printing.pdfPath), 1);
        QVERIFY(pdfText(rig.printing.pdfPath).trimmed().isEmpty());
    }

    void printFailureWarns()
    {
        UiRig rig;
        rig.printing.pdfPath = rig.home.home() + QStringLiteral("/no such folder/chart.pdf");
        ChartViewWindow view(rig.forms);
        view.setSteps({"16"});
        view.OutClick();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::OpenError102});
    }
};

QTEST_MAIN(TestChartView)
#include "tst_ChartView.moc"
