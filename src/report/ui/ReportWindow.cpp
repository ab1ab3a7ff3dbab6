#include "report/ui/ReportWindow.h"
#include "ui/PlainTextBox.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/WorkFolder.h"
#include "report/ReportPage.h"
#include "ui/Keys.h"
#include "ui/PageBrowser.h"
#include "ui/UiServices.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace kr31 {

namespace {

const QString Folder = QStringLiteral("Img/Report/");
const QString StartPage = QStringLiteral("HTML/Report/blank.html");

// The window's fixed layout: buttons in the title strip, the learner's texts
// on the left, the page on the right.
const Place PreviewPlace = {"Preview", 338, 15, 150, 44};
const Place PrintPlace = {"Print", 500, 15, 150, 44};
const Place ByePlace = {"Bye", 680, 13, 55, 60};
const Place GradePlace = {"Edit1", 22, 112, 52, 30};
const Place ClassPlace = {"Edit2", 112, 112, 52, 30};
const Place NamePlace = {"Edit3", 22, 180, 216, 30};
const Place ImpressionsPlace = {"Memo2", 22, 248, 216, 238};
const Place BrowserPlace = {"WebBrowser1", 252, 84, 486, 402};

struct Caption
{
    const char *text; // UTF-8
    int x, y, w, h;
};
const Caption Captions[] = {
    {"学年と組", 22, 86, 216, 22},
    {"年", 78, 112, 28, 30},
    {"組", 168, 112, 28, 30},
    {"名前", 22, 154, 216, 22},
    {"感想（目的や思ったこと）", 22, 222, 216, 22},
};

const QString Accent = QStringLiteral("#1FB5A8");
const QString Ink = QStringLiteral("#175e58");

// The printed page stands 12 mm from the paper's edges (or within the
// printer's margins when they are wider).
constexpr qreal PaperMarginMm = 12;
// A page a little too long for one sheet is made smaller down to this;
// a longer one goes on over more sheets at its own size.
constexpr qreal LeastScale = 0.8;

// Prints the page as the pane shows it, a pane pixel taking as much of the
// paper as of an inch on the screen: on one sheet, made smaller when need be,
// or over more sheets that each start with the program table's head and are
// numbered at the bottom.
bool printPage(const QTextDocument &shown, QPagedPaintDevice &printer)
{
    // The copy asks the pane's document, and so the pane, for the pictures.
    std::unique_ptr<QTextDocument> doc(shown.clone(const_cast<QTextDocument *>(&shown)));
    doc->setUseDesignMetrics(true);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;

    const int dpi = printer.logicalDpiY();
    const QPageLayout paper = printer.pageLayout();
    const QRect paint = paper.paintRectPixels(dpi); // the device's area on the sheet
    const int margin = qRound(PaperMarginMm / 25.4 * dpi);
    const QRect body = paper.fullRectPixels(dpi)
                           .adjusted(margin, margin, -margin, -margin)
                           .intersected(paint)
                           .translated(-paint.topLeft());
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal toDevice = dpi / (screen ? screen->logicalDotsPerInchY() : 96.0);
    const QSizeF room = QSizeF(body.size()) / toDevice;

    // Made smaller, the page is laid out wider, which keeps it as long or
    // makes it shorter: a few rounds find the scale that fits.
    qreal scale = 1;
    doc->setTextWidth(room.width());
    for (int round = 0; round < 3 && doc->size().height() * scale > room.height(); ++round) {
        const qreal fit = room.height() / doc->size().height();
        if (fit < LeastScale) {
            scale = 1;
            break;
        }
        scale = fit * 0.999; // a hair's room for rounding
        doc->setTextWidth(room.width() / scale);
    }
    const QSizeF page = room / scale;
    doc->setPageSize(page);

    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        painter.save();
        painter.translate(body.topLeft());
        painter.scale(toDevice * scale, toDevice * scale);
        const QRectF view(QPointF(0, i * page.height()), page);
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black); // never the desktop's text colour
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
        if (pages > 1) {
            QFont number = doc->defaultFont();
            number.setPointSize(9);
            painter.setFont(number);
            painter.setPen(Qt::black);
            const int top = qMin(body.bottom() + 1, paint.height() - margin / 2);
            painter.drawText(QRect(body.left(), top, body.width(), margin / 2), Qt::AlignCenter,
                             QStringLiteral("%1 / %2").arg(i + 1).arg(pages));
        }
    }
    return painter.end();
}

void place(QWidget *widget, const Place &p)
{
    widget->setObjectName(QString::fromLatin1(p.name));
    widget->setGeometry(p.x, p.y, p.w, p.h);
}

} // namespace

ReportWindow::ReportWindow(Forms &forms)
    : FormWindow(14, QSize(750, 500), forms)
{
}

void ReportWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Back/Report.jpg"));

    QFont captionFont = font();
    captionFont.setPixelSize(14);
    captionFont.setBold(true);
    for (const Caption &c : Captions) {
        auto *label = new QLabel(QString::fromUtf8(c.text), this);
        label->setGeometry(c.x, c.y, c.w, c.h);
        label->setFont(captionFont);
        label->setStyleSheet(QStringLiteral("color: %1").arg(Ink));
    }

    const QString boxStyle = QStringLiteral("background: white; color: black; border: 2px solid %1;"
                                            " border-radius: 6px; padding: 1px 4px;")
                                 .arg(Accent);
    QFont textFont = font();
    textFont.setPixelSize(15);
    auto lineEdit = [&](const Place &p) {
        auto *edit = new QLineEdit(this);
        place(edit, p);
        edit->setFont(textFont);
        edit->setStyleSheet(QStringLiteral("QLineEdit { %1 }").arg(boxStyle));
        return edit;
    };
    m_grade = lineEdit(GradePlace);
    m_grade->setAlignment(Qt::AlignCenter);
    m_class = lineEdit(ClassPlace);
    m_class->setAlignment(Qt::AlignCenter);
    m_name = lineEdit(NamePlace);

    m_impressions = new PlainTextBox(report::InitialImpressions, this);
    place(m_impressions, ImpressionsPlace);
    m_impressions->setFont(textFont);
    m_impressions->setStyleSheet(QStringLiteral("QPlainTextEdit { %1 }").arg(boxStyle));

    m_browser = new PageBrowser(this);
    place(m_browser, BrowserPlace);
    m_browser->displayFilter = report::displayHtml;
    m_browser->setStyleSheet(QStringLiteral("QTextBrowser { background: white; border: 2px solid %1; }").arg(Accent));

    setTabOrder(m_grade, m_class);
    setTabOrder(m_class, m_name);
    setTabOrder(m_name, m_impressions);

    addButton(Folder, PreviewPlace, [this] { PreviewClick(); });
    addButton(Folder, PrintPlace, [this] { PrintClick(); });
    addButton(Folder, ByePlace, [this] { ByeClick(); });
    bindKey(keys::Print, {QStringLiteral("Print")});
    bindKey(keys::Cancel, {QStringLiteral("Bye")});
    keys::markBoxFocus(m_browser);
}

void ReportWindow::setProgram(const QStringList &commandList)
{
    m_program = commandList;
}

void ReportWindow::showOver(QWidget *opener)
{
    showCentredOver(opener);
}

void ReportWindow::openReport(const QStringList &commandList, QWidget *opener)
{
    setProgram(commandList);
    showOver(opener);
}

void ReportWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    const QString path = resourcePath(StartPage);
    if (QFile(path).open(QIODevice::ReadOnly))
        load(path);
    else
        pictureMissing(StartPage); // (101), once per showing with any missing picture
}

void ReportWindow::load(const QString &path)
{
    // The same address again (a preview after a preview) only scrolls unless reloaded.
    const QUrl url = QUrl::fromLocalFile(path);
    if (m_browser->source() == url)
        m_browser->reload();
    else
        m_browser->setSource(url);
}

void ReportWindow::PreviewClick()
{
    ensureBuilt();
    if (!report::namesComplete(m_grade->text(), m_class->text(), m_name->text())) {
        services().dialogs.warning(msg::NamesMissing);
        return;
    }
    const QStringList lines = report::pageLines(m_grade->text(), m_class->text(), m_name->text(),
                                                m_impressions->toPlainText(), m_program, resourceFolder());
    const QString path = workfolder::file(report::PageFile);
    QString error;
    if (!report::writePage(path, lines, &error)) {
        services().dialogs.warning(msg::ReportNotWritten + u'\n' + path + u'\n' + error);
        return;
    }
    load(path);
}

void ReportWindow::PrintClick()
{
    ensureBuilt();
    services().printing.print(this, [this](QPagedPaintDevice &printer) {
        return printPage(*m_browser->document(), printer);
    });
}

void ReportWindow::ByeClick()
{
    if (isBuilt()) { // a window never made has nothing typed in it
        m_grade->clear();
        m_class->clear();
        m_name->clear();
        m_impressions->setPlainText(report::InitialImpressions);
    }
    hide();
}

} // namespace kr31
