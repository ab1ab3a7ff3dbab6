#include "support/TestPaths.h"
#include "core/Messages.h"
#include "core/Resources.h"
#include "report/ReportPage.h"
#include "report/ui/ReportWindow.h"
#include "support/ui/UiRig.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

using namespace kr31;
using namespace kr31::test;

namespace {

// The learner and program of tests/data/report/expected_Report.html.
const QString Grade = QStringLiteral("4");
const QString Class = QStringLiteral("1");
const QString Name = QStringLiteral("佐藤　ひかり");
const QString Impressions = QStringLiteral("だんだん明るくなる & ピッと鳴る\nうまくできた");

QStringList sampleProgram()
{
    QStringList lines = {"18,50", "19,80,2", "21,3", "22,0,5", "26", "100"};
    while (lines.size() < 47)
        lines.append(QStringLiteral("27"));
    return lines;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <class T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

// A click as the user makes it, at the centre of the named control.
void clickChild(QWidget *window, const char *name)
{
    auto *widget = child<QWidget>(window, name);
    QVERIFY2(widget, name);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, widget->rect().center()));
    UiRig::settle();
}

void fill(QWidget *window, const QString &grade, const QString &cls, const QString &name,
          const QString &impressions = Impressions)
{
    child<QLineEdit>(window, "Edit1")->setText(grade);
    child<QLineEdit>(window, "Edit2")->setText(cls);
    child<QLineEdit>(window, "Edit3")->setText(name);
    child<QPlainTextEdit>(window, "Memo2")->setPlainText(impressions);
}

// The window shown with the sample program, ready for clicks.
bool showReport(ReportWindow &report)
{
    report.setProgram(sampleProgram());
    report.showOver(nullptr);
    const bool exposed = QTest::qWaitForWindowExposed(&report);
    UiRig::settle();
    return exposed;
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReportWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layoutAndStartPage()
    {
        UiRig rig;
        ReportWindow report(rig.forms);
        QCOMPARE(report.objectName(), QStringLiteral("TForm14"));
        QCOMPARE(report.size(), QSize(750, 500));
        QVERIFY(showReport(report));
        for (const char *name : {"Image1", "Edit1", "Edit2", "Edit3", "Memo2", "WebBrowser1", "Preview", "Print", "Bye"}) {
            auto *w = child<QWidget>(&report, name);
            QVERIFY2(w && w->isVisible(), name);
            QVERIFY2(report.rect().contains(w->geometry()), name);
        }
        QCOMPARE(child<QPlainTextEdit>(&report, "Memo2")->toPlainText(), report::InitialImpressions);
        auto *browser = child<QTextBrowser>(&report, "WebBrowser1");
        QCOMPARE(browser->source(), QUrl::fromLocalFile(resourcePath("HTML/Report/blank.html")));
        // Decoded from code page 932, not shown as mojibake.
        QVERIFY(browser->toPlainText().contains(QStringLiteral("レポートを作ろう")));
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void missingStartPageReported()
    {
        // Pictures present, pages absent.
        QTemporaryDir resources;
        QVERIFY(QFile::link((binDir() + QStringLiteral("/Img")), resources.filePath(QStringLiteral("Img"))));
        UiRig rig(resources.path());
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        UiRig::settle();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::FileMissing101});
    }

    void showOverCentresOnOpener_data()
    {
        QTest::addColumn<QRect>("opener");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("larger") << QRect(0, 0, 800, 600) << QPoint(25, 50);
        QTest::newRow("half rounds to even") << QRect(10, 10, 751, 503) << QPoint(10, 12);
    }
    void showOverCentresOnOpener()
    {
        QFETCH(QRect, opener);
        QFETCH(QPoint, expected);
        UiRig rig;
        QWidget editor(nullptr, Qt::Window | Qt::FramelessWindowHint);
        editor.setGeometry(opener);
        editor.show();
        ReportWindow report(rig.forms);
        report.showOver(&editor);
        UiRig::settle();
        QVERIFY(report.isVisible());
        QVERIFY(!report.isModal());
        QCOMPARE(report.pos(), expected);
    }

    void previewWritesAndShowsThePage()
    {
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        fill(&report, Grade, Class, Name);
        clickChild(&report, "Preview");

        QVERIFY(rig.dialogs.warnings.isEmpty());
        QByteArray expected = readFile(testData(QStringLiteral("report/expected_Report.html")));
        expected.replace("/opt/kr31/", resourceFolder().toUtf8());
        QCOMPARE(rig.home.readWorkFile(report::PageFile), expected);

        auto *browser = child<QTextBrowser>(&report, "WebBrowser1");
        QCOMPARE(browser->source(), QUrl::fromLocalFile(rig.home.workFolder() + report::PageFile));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("4年1組　佐藤　ひかり")));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("明るさ　50")));
        // The pictures resolve to the program folder's files.
        const QVariant light = browser->document()->resource(
            QTextDocument::ImageResource, QUrl(resourceFolder() + QStringLiteral("HTML/DD/Img/D_light.jpg")));
        QVERIFY(!qvariant_cast<QImage>(light).isNull() || !light.toByteArray().isEmpty());

        // A second preview of the same file shows the new text, not the old page.
        fill(&report, Grade, Class, QStringLiteral("鈴木"));
        clickChild(&report, "Preview");
        QVERIFY(browser->toPlainText().contains(QStringLiteral("4年1組　鈴木")));
        QVERIFY(!browser->toPlainText().contains(Name));
    }

    void previewRefusesAnEmptyName()
    {
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        fill(&report, Grade, Class, QString());
        clickChild(&report, "Preview");
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::NamesMissing});
        QVERIFY(!QFile::exists(rig.home.workFolder() + report::PageFile));
        QCOMPARE(child<QTextBrowser>(&report, "WebBrowser1")->source(),
                 QUrl::fromLocalFile(resourcePath("HTML/Report/blank.html")));
    }

    void failedWriteIsReported()
    {
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        // A folder where the page should go: the page cannot be written.
        QVERIFY(QDir().mkpath(rig.home.workFolder() + report::PageFile));
        fill(&report, Grade, Class, Name);
        clickChild(&report, "Preview");
        QCOMPARE(rig.dialogs.warnings.size(), 1);
        QVERIFY(rig.dialogs.warnings.first().startsWith(msg::ReportNotWritten));
        QCOMPARE(child<QTextBrowser>(&report, "WebBrowser1")->source(),
                 QUrl::fromLocalFile(resourcePath("HTML/Report/blank.html")));
    }

    void printAfterTheDialog()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        fill(&report, Grade, Class, Name);
        clickChild(&report, "Preview");

        rig.printing.accept = false;
        clickChild(&report, "Print");
        QCOMPARE(rig.printing.shown, 1);
        QVERIFY(!QFile::exists(rig.printing.pdfPath));

        rig.printing.accept = true;
        clickChild(&report, "Print");
        const QString text = pdfText(rig.printing.pdfPath);
        QVERIFY2(text.contains(QStringLiteral("佐藤")), qPrintable(text.left(400)));
        QVERIFY(text.contains(QStringLiteral("プログラム")));
        QVERIFY(text.contains(QStringLiteral("繰返回数")));
    }

    // The printout fits one A4 page; impressions too long for it go on more
    // pages, each starting with the table's header.
    void printedPages_data()
    {
        QStringList longest; // all 47 slots with their widest arguments
        while (longest.size() < 47)
            longest += QStringList{"19,255,255", "22,45,255", "21,64800", "18,255", "24"};
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<int>("impressionLines");
        QTest::addColumn<int>("pages");
        QTest::newRow("longest program") << longest.mid(0, 47) << 5 << 1;
        QTest::newRow("long impressions") << longest.mid(0, 47) << 40 << 2;
    }
    void printedPages()
    {
        QFETCH(QStringList, program);
        QFETCH(int, impressionLines);
        QFETCH(int, pages);
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        report.setProgram(program);
        fill(&report, Grade, Class, Name, QStringLiteral("感想\n").repeated(impressionLines));
        report.PreviewClick();
        report.PrintClick();
        const QStringList printed = pdfText(rig.printing.pdfPath).split('\f', Qt::SkipEmptyParts);
        QCOMPARE(printed.size(), pages);
        for (const QString &page : printed) // both halves' header on every page
            QCOMPARE(page.count(QStringLiteral("番号")), 2);
    }

    void byeResetsAndHides()
    {
        UiRig rig;
        ReportWindow report(rig.forms);
        QVERIFY(showReport(report));
        fill(&report, Grade, Class, Name, QStringLiteral("たのしかった"));
        clickChild(&report, "Bye");
        QVERIFY(!report.isVisible());
        for (const char *edit : {"Edit1", "Edit2", "Edit3"})
            QCOMPARE(child<QLineEdit>(&report, edit)->text(), QString());
        QCOMPARE(child<QPlainTextEdit>(&report, "Memo2")->toPlainText(), report::InitialImpressions);
        QCOMPARE(report.program(), sampleProgram());
    }
};

QTEST_MAIN(TestReportWindow)
#include "tst_ReportWindow.moc"
