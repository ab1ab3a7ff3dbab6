#include "editors/icon/ui/ChartViewWindow.h"

#include "core/Geometry.h"
#include "core/Messages.h"
#include "core/TextTools.h"
#include "editors/icon/ChartLayout.h"
#include "ui/ChartPainter.h"
#include "ui/Keys.h"
#include "ui/UiServices.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <functional>

namespace kr31 {

namespace {

const Place kScrollBox{"ScrollBox1", 7, 8, 486, 425};
const Place kOut{"Out", 15, 440, 150, 50};
const Place kBye{"Bye", 184, 440, 300, 50};
const QString kFolder = QStringLiteral("Img/Disp_Furo/");

constexpr int kPaintBoxWidth = 457;
constexpr int kPaintBoxHeight = 3650; // room for 47 repeat steps
constexpr int kScreenUnit = 50;
constexpr int kScreenTop = 10;
constexpr int kWheelStep = 80;

} // namespace

ChartViewWindow::ChartViewWindow(Forms &forms, QWidget *parent)
    : FormWindow(10, QSize(499, 499), forms, parent)
{
}

void ChartViewWindow::buildContents()
{
    setBackground(QStringLiteral("Img/Back/Chart.jpg"));

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QString::fromLatin1(kScrollBox.name));
    m_scroll->setGeometry(kScrollBox.x, kScrollBox.y, kScrollBox.w, kScrollBox.h);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scroll->setWidgetResizable(false);
    QPalette white = m_scroll->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    m_scroll->viewport()->setPalette(white);
    m_scroll->viewport()->setAutoFillBackground(true);
    m_scroll->viewport()->installEventFilter(this);

    m_paintBox = new PaintBox(m_scroll, [this](QPainter &painter, int width) {
        paintChart(painter, kScreenUnit, int(text::roundHalfEven(width, 2)), kScreenTop);
    });
    m_paintBox->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox->setPalette(white);
    m_paintBox->setAutoFillBackground(true);
    m_paintBox->resize(kPaintBoxWidth, kPaintBoxHeight);
    m_scroll->setWidget(m_paintBox);

    addButton(kFolder, kOut, [this] { OutClick(); });
    addButton(kFolder, kBye, [this] { ByeClick(); });
    bindKey(keys::Print, {QStringLiteral("Out")});
    bindKey(keys::Cancel, {QStringLiteral("Bye")});
}

void ChartViewWindow::setSteps(const QStringList &steps)
{
    ensureBuilt();
    m_steps = steps;
    m_stepTops = chart::stepTops(m_steps, kScreenUnit, kScreenTop);
    // 3650 holds any program the editors hand over; a longer list from
    // elsewhere still scrolls to its end.
    const int bottom = chart::chartBottom(m_steps, kScreenUnit, kScreenTop) + 40;
    m_paintBox->resize(kPaintBoxWidth, qMax(kPaintBoxHeight, bottom));
    m_paintBox->update();
}

void ChartViewWindow::showOver(QWidget *opener)
{
    ensureBuilt();
    m_scroll->verticalScrollBar()->setValue(0);
    showCentredOver(opener);
}

void ChartViewWindow::showChart(const QStringList &steps, QWidget *opener)
{
    setSteps(steps);
    showOver(opener);
}

void ChartViewWindow::ByeClick()
{
    hide();
}

void ChartViewWindow::paintChart(QPainter &painter, int u, int x, int y) const
{
    paintChartShapes(painter, chart::layout(m_steps, u, x, y), u, chartScreenFont());
}

void ChartViewWindow::OutClick()
{
    const auto result = services().printing.print(this, [this](QPagedPaintDevice &printer) { return print(printer); });
    if (result == Printing::Result::Failed)
        services().dialogs.warning(msg::OpenError102);
}

bool ChartViewWindow::print(QPagedPaintDevice &printer) const
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int dx = printer.logicalDpiX(), dy = printer.logicalDpiY();
    // One page: one inch from the top, centred on an 8-inch column; the steps
    // that fit whole above half an inch from the bottom of the printable area
    // are printed, and a note marks where the paper cuts the chart off.
    chart::Frame frame;
    frame.u = chart::scaled(dx, 1, 2);
    frame.x = 4 * dx;
    frame.top = dy;
    frame.pageBottom = printer.height() - chart::scaled(dy, 1, 2);
    paintChartShapes(painter, chart::layoutPage(m_steps, frame), frame.u, chartPaperFont());
    return painter.end();
}

bool ChartViewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_scroll && watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        QScrollBar *bar = m_scroll->verticalScrollBar();
        bar->setValue(bar->value() - m_wheel.take(static_cast<QWheelEvent *>(event)) * kWheelStep); // 80 pixels a step
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

} // namespace kr31
