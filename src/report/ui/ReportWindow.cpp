#include "report/ui/ReportWindow.h"
#include "ui/PlainTextBox.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/WorkFolder.h"
#include "report/ReportPage.h"
#include "ui/Keys.h"
#include "ui/PageBrowser.h"
#include "ui/UiServices.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPagedPaintDevice>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

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
        services().dialogs.warning(report::NamesMissing);
        return;
    }
    const QStringList lines = report::pageLines(m_grade->text(), m_class->text(), m_name->text(),
                                                m_impressions->toPlainText(), m_program, resourceFolder());
    const QString path = workfolder::file(report::PageFile);
    QString error;
    if (!report::writePage(path, lines, &error)) {
        services().dialogs.warning(report::CannotWrite + u'\n' + path + u'\n' + error);
        return;
    }
    load(path);
}

void ReportWindow::PrintClick()
{
    ensureBuilt();
    services().printing.print(this, [this](QPagedPaintDevice &printer) {
        m_browser->document()->print(&printer);
        return true;
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
