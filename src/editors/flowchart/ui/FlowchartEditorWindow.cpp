#include "editors/flowchart/ui/FlowchartEditorWindow.h"

#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/flowchart/CommandChooser.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/flowchart/FlowchartLayout.h"
#include "lamp/LampLink.h"
#include "lamp/LampRunner.h"
#include "program/CommandList.h"
#include "program/ProgramFile.h"
#include "program/ProgramSave.h"
#include "report/ReportOpener.h"
#include "ui/CommandMenu.h"
#include "ui/EditorButtons.h"
#include "ui/EditorFiles.h"
#include "ui/Keys.h"
#include "ui/ChartPainter.h"
#include "ui/Forms.h"
#include "ui/PictureButton.h"
#include "ui/RecoveryKeeper.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"
#include "ui/ValueCoupling.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>

#include <map>

namespace kr31 {

namespace {

// The editor's own buttons; those every editor has come from EditorWindow.
const Place Buttons[] = {
    {"Pro", 235, 13, 90, 60}, {"Command_Number", 317, 75, 134, 26}, {"Report", 455, 75, 134, 26},
    {"All_Delete", 593, 75, 134, 26}, {"Add_Command", 18, 355, 150, 50}, {"Add_Sub", 590, 142, 123, 34},
};

constexpr int PaintBoxHeight = 3000;
constexpr int WheelStep = 80;
constexpr int TabWidth = 126;
const QString TabName = QStringLiteral("Sub_Pro_Image");

QString tabPicture(int page)
{
    return QStringLiteral("Img/Furo/Sub%1.jpg").arg(page);
}

QString titlePicture(int page)
{
    return QStringLiteral("Img/Furo/St%1.jpg").arg(page);
}

} // namespace

FlowchartEditorWindow::~FlowchartEditorWindow()
{
    keys::unhookEvents(this);
}

FlowchartEditorWindow::FlowchartEditorWindow(Forms &forms)
    : EditorWindow(5, QSize(749, 499), forms)
{
}

void FlowchartEditorWindow::buildContents()
{
    const QFont font = addEditorChrome(QStringLiteral("Image38"), QStringLiteral("Img/Back/Furo.jpg"), QStringLiteral("Img/Title/Furo.jpg"));

    addEditorButtons(Buttons, editorButtons(this, {
        {"Command_Number", [this] { Command_NumberClick(); }},
        {"Report", [this] { ReportClick(); }},
        {"All_Delete", [this] { All_DeleteClick(); }},
        {"Add_Command", [this] { Add_CommandClick(); }},
        {"Add_Sub", [this] { Add_SubClick(); }},
    }));

    addLampButton();
    reportHelpFailure();
    createValueControls();

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(185, 114, 375, 374);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette white = m_scroll->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    m_scroll->viewport()->setPalette(white);
    m_scroll->viewport()->setAutoFillBackground(true);
    m_scroll->viewport()->installEventFilter(this);
    m_paintBox = new PaintBox(m_scroll, [this](QPainter &painter, int width) {
        paintChartShapes(painter,
                         flowlayout::layout(m_program.entries(m_program.CurrentPage), flowlayout::ScreenUnit,
                                            flowlayout::centreOf(width)),
                         flowlayout::ScreenUnit, chartScreenFont());
    });
    m_paintBox->setObjectName(QStringLiteral("PaintBox1"));
    m_paintBox->setPalette(white);
    m_paintBox->setAutoFillBackground(true);
    m_paintBox->resize(flowlayout::PaintBoxWidth, PaintBoxHeight);
    m_paintBox->installEventFilter(this);
    m_scroll->setWidget(m_paintBox);

    createPageTabs();

    m_pageTitle = new QLabel(this);
    m_pageTitle->setObjectName(QStringLiteral("Image1"));
    m_pageTitle->setGeometry(32, 448, 126, 26);
    showPicture(m_pageTitle, titlePicture(0));

    m_entryMenu = new QMenu(this);
    m_entryMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_entryMenu->addAction(QStringLiteral("挿入"), this, [this] { Insert1Click(); })
        ->setObjectName(QStringLiteral("Insert1"));
    m_entryMenu->addSeparator();
    m_entryMenu->addAction(QStringLiteral("編集"), this, [this] { Edit3Click(); })
        ->setObjectName(QStringLiteral("Edit3"));
    m_entryMenu->addSeparator();
    m_entryMenu->addAction(QStringLiteral("削除"), this, [this] { Delete1Click(); })
        ->setObjectName(QStringLiteral("Delete1"));

    m_tabMenu = new QMenu(this);
    m_tabMenu->setObjectName(QStringLiteral("PopupMenu2"));
    m_tabMenu->addAction(QStringLiteral("削除"), this, [this] { N3Click(); })->setObjectName(QStringLiteral("N3"));

    m_recovery = new RecoveryKeeper(
        this, services().clock, QStringLiteral("Flowchart"), [this] { return fileBytes(); },
        [this](const QStringList &lines) { return showRead(flowfile::readLines(lines), true); });
    m_recovery->markModified = [this] { m_program.Modified = true; };
    ClearAllPages();
    installUndo();
    installShortcuts();
}

void FlowchartEditorWindow::createValueControls()
{
    m_menu = new CommandMenu(this, {24, 168, 137, 22});
    m_menu->addItems(flow::fixedMenuItems());
    connect(m_menu, &QComboBox::currentIndexChanged, this, [this] { UpdateValueControls(); });

    QFont bold = font();
    bold.setBold(true);
    const auto makeLabel = [&](const char *name, int y) {
        auto *label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(14, y, 94, 16);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setFont(bold);
        return label;
    };
    m_bar1 = makeValueBar(this, "LMDTrackBar1", {24, 228, 137, 22});
    m_edit1 = makeValueBox(this, "Edit1", {112, 253, 45, 20});
    m_label1 = makeLabel("Label1", 255);
    m_bar2 = makeValueBar(this, "LMDTrackBar2", {24, 295, 137, 22});
    m_edit2 = makeValueBox(this, "Edit2", {112, 320, 45, 20});
    m_label2 = makeLabel("Label2", 322);
    coupleValue(m_bar1, m_edit1);
    coupleValue(m_bar2, m_edit2);
    for (QWidget *w : {static_cast<QWidget *>(m_bar1), static_cast<QWidget *>(m_edit1),
                       static_cast<QWidget *>(m_bar2), static_cast<QWidget *>(m_edit2)})
        w->hide();
}

void FlowchartEditorWindow::createPageTabs()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(589, 200, 127, 268);
    panel->setAutoFillBackground(true);
    panel->setPalette(QPalette(Qt::white));
    for (int page = 0; page < flow::PageCount; ++page) {
        auto *tab = new QLabel(panel);
        tab->setObjectName(TabName + QString::number(page));
        tab->setGeometry(0, 27 * page, TabWidth, 25);
        tab->setScaledContents(true);
        tab->setCursor(Qt::PointingHandCursor);
        showPicture(tab, tabPicture(page));
        tab->installEventFilter(this);
        tab->setVisible(page == 0);
        m_tabs[page] = tab;
    }
    m_pageMark = new QLabel(panel);
    m_pageMark->setObjectName(QStringLiteral("PageMark"));
    m_pageMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pageMark->setStyleSheet(QStringLiteral("border: 3px solid #c62828; border-radius: 12px;"));
    m_pageMark->setGeometry(m_tabs[0]->geometry());
}

QList<int> FlowchartEditorWindow::entryTops() const
{
    return flowlayout::entryTops(m_program.entries(m_program.CurrentPage));
}

void FlowchartEditorWindow::UpdateValueControls()
{
    const int item = m_menu->currentIndex();
    const int min1 = flow::valueMin1(item);
    setValueControls(m_bar1, m_edit1, min1, flow::valueMax1(item), min1);
    setValueControls(m_bar2, m_edit2, flow::ValueMin2, flow::valueMax2(item), flow::ValueMin2);
    m_bar1->setVisible(flow::hasValue1(item));
    m_edit1->setVisible(flow::hasValue1(item));
    m_bar2->setVisible(flow::hasValue2(item));
    m_edit2->setVisible(flow::hasValue2(item));
    m_label1->setText(flow::valueLabel1(item));
    m_label2->setText(flow::valueLabel2(item));
}

void FlowchartEditorWindow::showModel()
{
    // One menu item per subroutine after the twelve commands.
    while (m_menu->count() > flow::FixedItems + m_program.SubroutineCount)
        m_menu->removeItem(m_menu->count() - 1);
    while (m_menu->count() < flow::FixedItems + m_program.SubroutineCount)
        m_menu->addItem(flow::subroutineItem(m_menu->count() - flow::StopItem));
    for (int page = 0; page < flow::PageCount; ++page)
        m_tabs[page]->setVisible(page <= m_program.SubroutineCount);
    m_pageMark->setGeometry(m_tabs[m_program.CurrentPage]->geometry());
    m_pageMark->raise();
    showPicture(m_pageTitle, titlePicture(m_program.CurrentPage));
    // Room for the longest page: 47 repeats or calls reach past the 3000 pixels.
    const int bottom = flowlayout::bottom(m_program.entries(m_program.CurrentPage)) + 40;
    m_paintBox->resize(flowlayout::PaintBoxWidth, qMax(PaintBoxHeight, bottom));
    m_paintBox->update();
    // Every change of the pages comes here: it is one step of the undo
    // history, and the recovery copy follows the mark.
    m_undo.commit(m_program);
    if (m_program.Modified)
        m_recovery->edited();
    else
        m_recovery->discard();
}

void FlowchartEditorWindow::refused(const FlowOutcome &outcome)
{
    if (!outcome.message.isEmpty())
        services().dialogs.warning(outcome.message);
}

void FlowchartEditorWindow::Add_CommandClick()
{
    ensureBuilt();
    const FlowOutcome outcome = m_program.append(m_menu->currentIndex(), m_edit1->text(), m_edit2->text());
    if (!outcome.ok())
        return refused(outcome);
    showModel();
}

void FlowchartEditorWindow::Add_SubClick()
{
    ensureBuilt();
    const FlowOutcome outcome = m_program.addSubroutine();
    if (!outcome.ok())
        return refused(outcome);
    m_scroll->verticalScrollBar()->setValue(0);
    showModel();
}

void FlowchartEditorWindow::SelectPage(int page)
{
    ensureBuilt();
    if (page < 0 || page > m_program.SubroutineCount)
        return;
    m_program.CurrentPage = page;
    m_scroll->verticalScrollBar()->setValue(0);
    showModel();
}

bool FlowchartEditorWindow::compile()
{
    const FlowOutcome outcome = m_program.compileChart();
    if (!outcome.ok())
        refused(outcome);
    return outcome.ok();
}

bool FlowchartEditorWindow::compileForLamp()
{
    if (!compile())
        return false;
    const FlowOutcome check = m_program.checkForLamp();
    if (!check.ok())
        refused(check);
    return check.ok();
}

void FlowchartEditorWindow::SendClick()
{
    // Checked before the sending dialog shows: one message for a fault, never the dialog under it.
    if (!compileForLamp())
        return;
    sendOver(Transfer::ledProgram(m_program.CompiledList));
}

void FlowchartEditorWindow::VirtualLampClick()
{
    if (!compileForLamp())
        return;
    LampRunner *lamp = forms().lampRunner();
    if (!lamp)
        return;
    const QList<int> entries = lamp::flowchartLineEntries(m_program);
    lamp->runProgram(m_program.CompiledList, this, [this, entries](int line) {
        showLampStep(line >= 0 && line < entries.size() ? entries.at(line) : -1);
    }, [entries](int line) {
        // The learner counts the boxes of the main page from 1, as the compile messages do.
        const int entry = entries.value(line, -1);
        return entry >= 0 ? entry + 1 : line;
    });
}

void FlowchartEditorWindow::showLampStep(int entry)
{
    ensureBuilt();
    if (!m_lampMark) {
        m_lampMark = new QLabel(m_paintBox);
        m_lampMark->setObjectName(QStringLiteral("LampMark"));
        m_lampMark->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_lampMark->setStyleSheet(QStringLiteral("border: 4px solid #ffb300; border-radius: 10px;"));
    }
    const QList<int> tops = flowlayout::entryTops(m_program.entries(0));
    m_lampMark->setVisible(m_program.CurrentPage == 0 && entry >= 0 && entry < tops.size());
    if (!m_lampMark->isVisible())
        return;
    const QString &text = m_program.entries(0).at(entry);
    const int centre = flowlayout::centreOf(m_paintBox->width());
    const int half = flowlayout::halfWidth(text, flowlayout::ScreenUnit) + 10;
    m_lampMark->setGeometry(centre - half, tops.at(entry) - 6, 2 * half, flow::entryHitHeight(text) + 12);
    m_lampMark->raise();
    m_scroll->ensureVisible(centre, tops.at(entry) + 20, 0, 80);
}

void FlowchartEditorWindow::ActionClick()
{
    services().transmitter.sendShortCommand(1);
}

void FlowchartEditorWindow::Command_NumberClick()
{
    if (compile())
        services().dialogs.information(msg::memoryUsage(commandlist::total(m_program.CompiledList)));
}

void FlowchartEditorWindow::ReportClick()
{
    ReportOpener *report = forms().reportOpener();
    if (!report || !compile())
        return;
    report->openReport(m_program.CompiledList, this);
}

bool FlowchartEditorWindow::File_SaveClick()
{
    ensureBuilt();
    Dialogs &dialogs = services().dialogs;
    const QString chosen = dialogs.saveFileName(programfile::Filter);
    if (chosen.isEmpty() || !compile())
        return false;
    const QString marker = flowfile::markerFor(m_program.CompiledList);
    if (marker == QLatin1String("FURO") && dialogs.question(msg::TotalPrompt, AnswerButtons::YesNo) != Answer::Yes)
        return false;
    if (!writeProgramFile(dialogs, chosen, flowfile::fileLines(m_program, marker)))
        return false;
    m_program.Modified = false;
    m_recovery->discard();
    m_undo.markSaved(m_program);
    return true;
}

void FlowchartEditorWindow::openFile(const QString &path)
{
    ensureBuilt();
    if (editorfiles::acceptsPath(services().dialogs, path))
        showRead(flowfile::read(path), false);
}

bool FlowchartEditorWindow::showRead(const flowfile::ReadResult &read, bool quiet)
{
    if (!editorfiles::takes(services().dialogs, read, quiet))
        return false;
    ClearAllPages();
    m_program = read.program;
    // A copy that broke off is not what the editor now holds: keep it marked.
    m_program.Modified = read.status == FileRead::BrokeOff;
    m_undo.reset(m_program, !m_program.Modified);
    showModel();
    return true;
}

QByteArray FlowchartEditorWindow::fileBytes() const
{
    // As File_Save writes it; pages whose compilation fails keep the marker
    // only this editor opens.
    FlowchartProgram compiled = m_program;
    const bool ok = compiled.compileChart().ok();
    const QString marker = ok ? flowfile::markerFor(compiled.CompiledList) : QStringLiteral("FURO");
    return textfile::encodeLines(flowfile::fileLines(compiled, marker));
}

void FlowchartEditorWindow::ClearAllPages()
{
    m_program.reset();
    m_menu->setCurrentIndex(0);
    UpdateValueControls();
    m_scroll->verticalScrollBar()->setValue(0);
    m_undo.reset(m_program);
    showModel();
}

void FlowchartEditorWindow::leaving()
{
    ensureBuilt();
    ClearAllPages();
}

void FlowchartEditorWindow::All_DeleteClick()
{
    ensureBuilt();
    if (saveQuestion())
        ClearAllPages();
}

void FlowchartEditorWindow::openDialog(bool inserting)
{
    CommandChooser *dialog = forms().commandChooser();
    if (!dialog) {
        services().dialogs.warning(msg::OpenError102);
        return;
    }
    CommandChooser::Question question;
    for (int i = 0; i < m_menu->count(); ++i)
        question.menuItems.append(m_menu->itemText(i));
    question.inserting = inserting;
    if (!inserting) {
        const QString entry = m_program.Pages[m_program.CurrentPage][m_program.SelectedEntry];
        question.code = commandlist::field(entry, 1);
        question.value1 = commandlist::field(entry, 2);
        question.value2 = commandlist::field(entry, 3);
    }
    // The dialog has closed when its choice comes (also when the change is then refused).
    const std::optional<CommandChooser::Choice> choice = dialog->chooseCommand(question, this);
    if (!choice)
        return;
    if (inserting)
        InsertEntry(choice->item, choice->value1, choice->value2);
    else
        ReplaceEntry(choice->item, choice->value1, choice->value2);
}

void FlowchartEditorWindow::Insert1Click()
{
    ensureBuilt();
    openDialog(true);
}

void FlowchartEditorWindow::Edit3Click()
{
    ensureBuilt();
    openDialog(false);
}

void FlowchartEditorWindow::InsertEntry(int item, const QString &value1, const QString &value2)
{
    ensureBuilt();
    FlowOutcome outcome = m_program.insertEntry(item, value1, value2);
    if (outcome.status == FlowOutcome::AskLoss) {
        if (services().dialogs.question(outcome.message, AnswerButtons::YesNo) != Answer::Yes)
            return;
        outcome = m_program.insertEntry(item, value1, value2, true);
    }
    if (!outcome.ok())
        return refused(outcome);
    showModel();
}

void FlowchartEditorWindow::ReplaceEntry(int item, const QString &value1, const QString &value2)
{
    ensureBuilt();
    const FlowOutcome outcome = m_program.replaceEntry(item, value1, value2);
    if (!outcome.ok())
        return refused(outcome);
    showModel();
}

void FlowchartEditorWindow::Delete1Click()
{
    ensureBuilt();
    const FlowOutcome outcome = m_program.deleteEntry();
    if (!outcome.ok())
        return refused(outcome);
    showModel();
}

void FlowchartEditorWindow::N3Click()
{
    ensureBuilt();
    const Answer answer = services().dialogs.question(msg::clearPagePrompt(m_program.PageToClear),
                                                      AnswerButtons::YesCancel, BoxKind::Information);
    if (answer == Answer::Yes)
        m_program.clearPage();
    showModel();
}

void FlowchartEditorWindow::PaintBox1MouseDown(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton)
        return;
    const int entry =
        flowlayout::hitEntry(m_program.entries(m_program.CurrentPage), event->position().toPoint());
    if (entry < 0)
        return;
    m_program.SelectedEntry = entry;
    m_entryMenu->popup(event->globalPosition().toPoint());
}

void FlowchartEditorWindow::PageTabMouseDown(int page, QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        SelectPage(page);
        return;
    }
    const int x = event->position().toPoint().x();
    if (event->button() != Qt::RightButton || x <= 0 || x >= TabWidth)
        return;
    m_program.PageToClear = page;
    m_tabMenu->popup(event->globalPosition().toPoint());
}

bool FlowchartEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_paintBox && event->type() == QEvent::MouseButtonPress) {
        PaintBox1MouseDown(static_cast<QMouseEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && watched->objectName().startsWith(TabName)) {
        PageTabMouseDown(watched->objectName().mid(TabName.size()).toInt(), static_cast<QMouseEvent *>(event));
        return true;
    }
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        QScrollBar *bar = m_scroll->verticalScrollBar();
        bar->setValue(bar->value() - m_wheel.take(static_cast<QWheelEvent *>(event)) * WheelStep); // 80 pixels a step
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

} // namespace kr31
