#include "melody/ui/MelodyPrintWindow.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "melody/ScoreLayout.h"
#include "melody/ui/NoteGlyphs.h"
#include "report/ReportPage.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/UiServices.h"

#include <QLineEdit>
#include <QPainter>
#include <QPagedPaintDevice>

namespace kr31 {

namespace {

// The boxes beside the captions of the background picture.
const Place Boxes[] = {
    {"Edit1", 30, 58, 50, 28},
    {"Edit2", 124, 58, 50, 28},
    {"Edit3", 292, 58, 368, 28},
    {"Edit4", 114, 102, 546, 28},
};

} // namespace

MelodyPrintWindow::MelodyPrintWindow(Forms &forms)
    : FormWindow(16, QSize(700, 220), forms)
{
}

void MelodyPrintWindow::printScore(const Melody &melody, QWidget *opener)
{
    setMelody(melody);
    placeCentredOver(opener);
    forms().runModal(this);
}

void MelodyPrintWindow::buildContents()
{
    const QFont font = useWindowFont(14);
    setBackground(QStringLiteral("Img/Panel/Melo_Print.jpg"));
    for (int i = 0; i < 4; ++i) {
        const Place &b = Boxes[i];
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(b.name));
        edit->setGeometry(b.x, b.y, b.w, b.h);
        m_edits[i] = edit;
    }
    m_edits[0]->setAlignment(Qt::AlignCenter);
    m_edits[1]->setAlignment(Qt::AlignCenter);
    addButton(QStringLiteral("Img/Common_Button/"), {"OK", 340, 154, 150, 50}, [this] { OKClick(); });
    addButton(QStringLiteral("Img/Common_Button/"), {"cancel", 510, 154, 150, 50}, [this] { cancelClick(); });
    bindKey(keys::Accept, {QStringLiteral("OK")});
    bindKey(keys::Print, {QStringLiteral("OK")});
    bindKey(keys::Cancel, {QStringLiteral("cancel")});
}

QString MelodyPrintWindow::text(int box) const
{
    return m_edits[box] ? m_edits[box]->text() : QString();
}

void MelodyPrintWindow::OKClick()
{
    const QString grade = text(0);
    const QString cls = text(1);
    const QString name = text(2);
    if (grade.isEmpty() || cls.isEmpty() || name.isEmpty()) {
        services().dialogs.warning(msg::NamesMissing);
        return;
    }
    const auto result = services().printing.print(this, [this](QPagedPaintDevice &printer) { return print(printer); });
    if (result == Printing::Result::Cancelled)
        return;
    if (result == Printing::Result::Failed)
        services().dialogs.warning(msg::OpenError102);
    hide();
}

void MelodyPrintWindow::cancelClick()
{
    hide();
}

bool MelodyPrintWindow::print(QPagedPaintDevice &printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    const score::PrintGeometry g = score::printGeometry(dpiX, dpiY);

    QFont heading(QStringLiteral("ＭＳ　ゴシック"));
    heading.setPointSize(20);
    painter.setFont(heading);
    const QString names = text(0) + QStringLiteral("年") + text(1) + QStringLiteral("組　　　") + text(2);
    painter.drawText(QRect(0, 0, g.lineWidth, dpiY / 2), Qt::AlignCenter, names);
    painter.drawText(QRect(0, dpiY / 2, g.lineWidth, dpiY / 2), Qt::AlignCenter, text(3));

    const QList<score::Layout> pages = score::printPages(m_melody, g, printer.height());
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        glyphs::paint(painter, pages.at(i), g.scale);
    }
    return painter.end();
}

} // namespace kr31
