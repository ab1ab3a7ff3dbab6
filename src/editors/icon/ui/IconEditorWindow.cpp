#include "editors/icon/ui/IconEditorWindow.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/TextFile.h"
#include "editors/icon/ChartShower.h"
#include "editors/icon/IconFile.h"
#include "lamp/LampRunner.h"
#include "program/LedCommands.h"
#include "program/ProgramSave.h"
#include "report/ReportOpener.h"
#include "ui/EditorButtons.h"
#include "ui/EditorFiles.h"
#include "ui/Keys.h"
#include "ui/Forms.h"
#include "ui/PageBrowser.h"
#include "ui/PictureButton.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"

#include <QApplication>
#include <QBitmap>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTextBrowser>
#include <QUrl>

namespace kr31 {

namespace {

// The palette: component, place in the panel, command code.
struct PaletteIcon
{
    const char *name;
    int x, y, code;
};
const PaletteIcon Palette[] = {
    {"Image1", 2, 18, 16},   {"Image2", 57, 18, 17},   {"Image3", 112, 18, 18},  {"Image4", 2, 73, 19},
    {"Image5", 57, 73, 20},  {"Image6", 112, 73, 21},  {"Image7", 2, 128, 23},   {"Image8", 57, 128, 24},
    {"Image9", 112, 128, 25}, {"Image10", 2, 183, 22}, {"Image11", 57, 183, 26}, {"Image12", 112, 183, 100},
};

// The editor's own buttons; those every editor has come from EditorWindow.
const Place Buttons[] = {
    {"Pro", 235, 13, 90, 60}, {"furo", 317, 75, 134, 26}, {"Report", 455, 75, 134, 26},
    {"All_Delete", 593, 75, 134, 26},
};

} // namespace

IconEditorWindow::~IconEditorWindow()
{
    keys::unhookEvents(this);
}

IconEditorWindow::IconEditorWindow(Forms &forms)
    : EditorWindow(8, QSize(749, 499), forms)
    , runDrag([](QDrag *drag) { drag->exec(Qt::CopyAction); })
{
}

void IconEditorWindow::buildContents()
{
    const QFont font = addEditorChrome(QStringLiteral("Back"), QStringLiteral("Img/Back/DD.jpg"), QStringLiteral("Img/Title/DD.jpg"));

    addEditorButtons(Buttons, editorButtons(this, {
        {"furo", [this] { furoClick(); }},
        {"Report", [this] { ReportClick(); }},
        {"All_Delete", [this] { All_DeleteClick(); }},
    }));

    reportHelpFailure();
    createPalette();
    createStrip();

    m_browser = new PageBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setGeometry(213, 360, 514, 121);
    m_browser->setOpenExternalLinks(true);

    m_total = new QLabel(QStringLiteral("0"), this);
    m_total->setObjectName(QStringLiteral("Label1"));
    m_total->setGeometry(95, 410, 60, 28);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont totalFont = font;
    totalFont.setPixelSize(23);
    totalFont.setBold(true);
    m_total->setFont(totalFont);

    for (int i = 0; i < 4; ++i) {
        auto *bar = new QLabel(this);
        bar->setObjectName(QStringLiteral("Image%1").arg(13 + i));
        bar->setGeometry(34, 436 + 12 * i, 0, 10);
        showPicture(bar, QStringLiteral("Img/DD/Gauge%1.jpg").arg(i + 1));
        m_gauge[i] = bar;
    }

    addLampButton();

    m_slotMenu = new QMenu(this);
    m_slotMenu->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *insert = m_slotMenu->addAction(QStringLiteral("挿入"), this, [this] { Insert1Click(); });
    insert->setObjectName(QStringLiteral("Insert1"));
    m_slotMenu->addSeparator();
    QAction *remove = m_slotMenu->addAction(QStringLiteral("削除"), this, [this] { Delete1Click(); });
    remove->setObjectName(QStringLiteral("Delete1"));

    m_modified.keepWith(new RecoveryKeeper(
        this, services().clock, QStringLiteral("Icon"), [this] { return fileBytes(); },
        [this](const QStringList &lines) { return showRead(iconfile::readLines(lines), true); }));
    installUndo();
    installShortcuts();
}

int IconEditorWindow::paletteCode(int index)
{
    return Palette[qBound(0, index, int(std::size(Palette)) - 1)].code;
}

void IconEditorWindow::createPalette()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel3"));
    panel->setGeometry(23, 146, 170, 250);
    panel->setAutoFillBackground(true);
    panel->setPalette(QPalette(Qt::white));
    for (const PaletteIcon &entry : Palette) {
        auto *icon = new QLabel(panel);
        icon->setObjectName(QString::fromLatin1(entry.name));
        icon->setGeometry(entry.x, entry.y, 55, 55);
        icon->setProperty("code", entry.code);
        icon->setCursor(Qt::OpenHandCursor);
        icon->setToolTip(findCommand(entry.code)->caption);
        showPicture(icon, icon::palettePath(entry.code));
        icon->installEventFilter(this);
    }
}

void IconEditorWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    // The slot strip's range must reach the last slot whatever the style's scroll bar.
    m_strip->horizontalScrollBar()->setRange(0, icon::StripEnd);
    const QString page = resourcePath(guidePage());
    if (!QFileInfo::exists(page)) {
        services().dialogs.warning(msg::OpenError102);
        return;
    }
    // The guide is longer than its pane: with the scroll bar there from the
    // start the page is laid out once, not again for the narrower width.
    m_browser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_browser->setSource(QUrl::fromLocalFile(page));
}

bool IconEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Wheel:
        break;
    default:
        // The many others (showing, polishing, painting the slots) concern
        // nothing here: let them pass before asking the widget what it is.
        return FormWindow::eventFilter(watched, event);
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    // Palette icons: press arms a drag, a move past the threshold starts it.
    if (widget && widget->property("code").isValid()) {
        auto *icon = static_cast<QLabel *>(widget);
        if (event->type() == QEvent::MouseButtonPress) {
            auto *e = static_cast<QMouseEvent *>(event);
            if (e->button() == Qt::LeftButton) {
                m_dragArmed = true;
                m_pressPoint = e->position().toPoint();
            }
        } else if (event->type() == QEvent::MouseMove && m_dragArmed) {
            const QPoint moved = static_cast<QMouseEvent *>(event)->position().toPoint() - m_pressPoint;
            const int threshold = QApplication::startDragDistance();
            if (qAbs(moved.x()) > threshold || qAbs(moved.y()) > threshold) {
                m_dragArmed = false;
                startDrag(icon, icon->property("code").toInt(), m_pressPoint);
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_dragArmed = false;
        }
        return false;
    }
    // Slot pictures: the right button opens the slot menu.
    if (widget && widget->property("slot").isValid() && event->type() == QEvent::MouseButtonPress) {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::RightButton)
            openSlotMenu(widget->property("slot").toInt(), e->globalPosition().toPoint());
        return false;
    }
    // The strip: every drag is welcome; a palette command lands on the slot under it.
    if (watched == m_stripContent) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            static_cast<QDragMoveEvent *>(event)->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto *e = static_cast<QDropEvent *>(event);
            const QPoint at = e->position().toPoint();
            const int slot = icon::slotAt(at.x(), at.y());
            if (slot >= 0 && e->mimeData()->hasFormat(CommandMimeType)) {
                e->acceptProposedAction();
                dropCommand(slot, QString::fromLatin1(e->mimeData()->data(CommandMimeType)).toInt());
            }
            return true;
        }
    }
    // The wheel anywhere over the strip (its sliders and spin boxes too)
    // moves it by 10 pixels a step and changes no value.
    if (event->type() == QEvent::Wheel &&
        (watched == m_strip->viewport() || (widget && widget->parentWidget() == m_stripContent))) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (delta != 0)
            setStripPosition(stripPosition() + (delta < 0 ? 10 : -10));
        return true;
    }
    return FormWindow::eventFilter(watched, event);
}

void IconEditorWindow::startDrag(QLabel *icon, int code, QPoint pressPoint)
{
    auto *mime = new QMimeData;
    mime->setData(CommandMimeType, QByteArray::number(code));
    auto *drag = new QDrag(icon);
    drag->setMimeData(mime);
    if (QPixmap pixmap = picture(icon::dragPicturePath(code)); !pixmap.isNull()) {
        pixmap.setMask(pixmap.createMaskFromColor(Qt::white));
        drag->setPixmap(pixmap);
        drag->setHotSpot(pressPoint);
    } else {
        services().dialogs.warning(msg::FileMissing101);
    }
    runDrag(drag);
    drag->deleteLater();
}

void IconEditorWindow::dropCommand(int slot, int code)
{
    ensureBuilt();
    if (!m_program.drop(slot, code)) {
        services().dialogs.warning(msg::AddOverLimit503);
        return;
    }
    freeSlotControls(slot);
    showSlot(slot);
    showTotal();
    m_modified = true;
    recordEdit();
    // Bring the following slots into view.
    if (slot <= 2)
        setStripPosition(0);
    else if (slot >= 44)
        setStripPosition(icon::StripEnd);
    else if (stripPosition() < icon::SlotPitch * slot - 235)
        setStripPosition(icon::SlotPitch * slot - 235);
}

void IconEditorWindow::showTotal()
{
    const int total = m_program.slotTotal();
    m_total->setText(QString::number(total));
    // Over the limit the number turns red and the whole gauge fills red, so
    // that it cannot be read as three quarters full.
    const bool over = total > limits::MaxTotal;
    if (over != m_totalOver) {
        m_totalOver = over;
        m_total->setStyleSheet(over ? QStringLiteral("color: #d32f2f;") : QString());
        m_total->setToolTip(over ? QStringLiteral("めいれいが %1こを こえています").arg(limits::MaxTotal) : QString());
        for (int i = 0; i < 4; ++i)
            showPicture(m_gauge[i], QStringLiteral("Img/DD/Gauge%1.jpg").arg(over ? 4 : i + 1));
    }
    for (int i = 0; i < 4; ++i)
        m_gauge[i]->resize(over ? 144 : 12 * qBound(0, total - 12 * i, 12), 10);
}

void IconEditorWindow::clearAllSlots()
{
    m_program.clear();
    rebuildSlotViews();
    m_modified = false;
    m_undo.reset(m_program);
    showTotal();
    setStripPosition(0);
}

bool IconEditorWindow::programPassesCheck()
{
    const IconCheck check = m_program.checkProgram();
    if (check.ok)
        return true;
    for (const QString &message : check.messages)
        services().dialogs.warning(message);
    services().dialogs.warning(msg::ProgramError502);
    return false;
}

void IconEditorWindow::SendClick()
{
    if (!programPassesCheck())
        return;
    sendOver(Transfer::ledProgram(m_program.compileSlots()));
}

void IconEditorWindow::VirtualLampClick()
{
    if (!programPassesCheck())
        return;
    if (LampRunner *lamp = forms().lampRunner())
        lamp->runProgram(m_program.compileSlots(), this, [this](int slot) { showLampStep(slot); });
}

void IconEditorWindow::showLampStep(int slot)
{
    ensureBuilt();
    if (!m_lampMark) {
        m_lampMark = new QLabel(m_stripContent);
        m_lampMark->setObjectName(QStringLiteral("LampMark"));
        m_lampMark->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_lampMark->setStyleSheet(QStringLiteral("border: 5px solid #ffb300; border-radius: 12px;"));
    }
    m_lampMark->setVisible(slot >= 0 && slot < icon::SlotCount);
    if (!m_lampMark->isVisible())
        return;
    m_lampMark->setGeometry(icon::slotLeft(slot) - 5, 27, 110, 180);
    m_lampMark->raise();
    const int left = icon::slotLeft(slot) - 10;
    if (left < stripPosition() || left + icon::SlotPitch > stripPosition() + m_strip->viewport()->width())
        setStripPosition(left);
}

void IconEditorWindow::ActionClick()
{
    services().transmitter.sendShortCommand(1);
}

bool IconEditorWindow::File_SaveClick()
{
    Dialogs &dialogs = services().dialogs;
    const QString chosen = dialogs.saveFileName(programfile::Filter);
    if (chosen.isEmpty())
        return false;
    const IconCheck check = m_program.checkProgram();
    if (!check.ok) {
        for (const QString &message : check.messages)
            dialogs.warning(message);
        if (dialogs.question(msg::GrammarPrompt, AnswerButtons::YesNo) != Answer::Yes)
            return false;
    }
    if (!writeProgramFile(dialogs, chosen, iconfile::fileLines(m_program, check.ok)))
        return false;
    m_modified = false;
    m_undo.markSaved(m_program);
    return true;
}

void IconEditorWindow::openFile(const QString &path)
{
    ensureBuilt();
    if (editorfiles::acceptsPath(services().dialogs, path))
        showRead(iconfile::read(path), false);
}

bool IconEditorWindow::showRead(const iconfile::ReadResult &read, bool quiet)
{
    if (!editorfiles::takes(services().dialogs, read, quiet))
        return false;
    clearAllSlots();
    m_program = read.program;
    rebuildSlotViews();
    showTotal();
    // A copy that broke off is not what the editor now holds: keep it marked.
    m_modified = read.status == FileRead::BrokeOff;
    m_undo.reset(m_program, !m_modified);
    return true;
}

QByteArray IconEditorWindow::fileBytes() const
{
    return textfile::encodeLines(iconfile::fileLines(m_program, m_program.checkProgram().ok));
}

void IconEditorWindow::furoClick()
{
    if (ChartShower *chart = forms().chartShower())
        chart->showChart(m_program.chartSteps(), this);
}

void IconEditorWindow::ReportClick()
{
    if (ReportOpener *report = forms().reportOpener())
        report->openReport(m_program.compileSlots(), this);
}

void IconEditorWindow::leaving()
{
    ensureBuilt();
    clearAllSlots();
}

void IconEditorWindow::All_DeleteClick()
{
    ensureBuilt();
    if (saveQuestion())
        clearAllSlots();
}

void IconEditorWindow::openSlotMenu(int slot, const QPoint &globalPos)
{
    ensureBuilt();
    m_menuSlot = slot;
    m_slotMenu->popup(globalPos);
}

void IconEditorWindow::Insert1Click()
{
    ensureBuilt();
    const IconProgram before = m_program;
    m_program.insertAt(m_menuSlot);
    rebuildSlotViews();
    showTotal();
    if (m_program != before)
        m_modified = true;
    recordEdit();
}

void IconEditorWindow::Delete1Click()
{
    ensureBuilt();
    const IconProgram before = m_program;
    m_program.deleteAt(m_menuSlot);
    rebuildSlotViews();
    showTotal();
    if (m_program != before)
        m_modified = true;
    recordEdit();
}

} // namespace kr31
