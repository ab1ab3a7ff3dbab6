// The flowchart editor without a mouse: the buttons' keys, and a keyboard
// place on the entries of the page on show. The keys run what the entry menu
// runs (the command dialog to insert or edit, delete at once), on the entry
// the mouse would have right-clicked.
#include "editors/flowchart/ui/FlowchartEditorWindow.h"

#include "editors/flowchart/FlowchartLayout.h"
#include "ui/Keys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QSlider>

#include <iterator>

namespace kr31 {

void FlowchartEditorWindow::installShortcuts()
{
    bindKey(keys::Save, {QStringLiteral("File_Save")});
    bindKey(keys::Open, {QStringLiteral("File_Open")});
    bindKey(keys::Send, {QStringLiteral("Send")});

    m_paintBox->setFocusPolicy(Qt::StrongFocus);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    // Tab follows the work: the command, its values, append, the chart, the pages.
    QWidget *order[] = {m_menu, m_bar1, m_edit1, m_bar2, m_edit2, findChild<QWidget *>(QStringLiteral("Add_Command")),
                        m_paintBox, findChild<QWidget *>(QStringLiteral("Add_Sub"))};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    m_paintBox->setToolTip(QStringLiteral("↑↓ で えらぶ / Enter で へんしゅう / Insert で そうにゅう / "
                                          "Delete で さくじょ / ←→ で ページ"));
    m_entryMark = new keys::SelectionFrame(m_paintBox);
    keys::hookEvents(this, {m_paintBox}, [this](QObject *, QEvent *event) { return keyboardEvent(event); });
    // The window comes up with the keyboard on the command to append.
    m_menu->setFocus(Qt::OtherFocusReason);
}

bool FlowchartEditorWindow::keyboardEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Paint: // every change of the page repaints: the mark follows
        showEntryMark();
        return false;
    case QEvent::MouseButtonPress: {
        // A click chooses the entry for the keyboard as well.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int entry = flowlayout::hitEntry(m_program.entries(m_program.CurrentPage), mouse->position().toPoint());
        m_paintBox->setFocus(Qt::MouseFocusReason);
        if (entry >= 0)
            selectEntry(entry);
        return false;
    }
    case QEvent::ContextMenu: {
        const QStringList entries = m_program.entries(m_program.CurrentPage);
        if (static_cast<QContextMenuEvent *>(event)->reason() != QContextMenuEvent::Keyboard || entries.isEmpty())
            return false;
        selectEntry(m_program.SelectedEntry);
        m_entryMenu->popup(m_paintBox->mapToGlobal(m_entryMark->geometry().center()));
        return true;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            // Past the scroll area, which would scroll to the widget the focus leaves for.
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
        return !(key->modifiers() & ~Qt::KeypadModifier) && entryKey(key->key());
    }
    default:
        return false;
    }
}

bool FlowchartEditorWindow::entryKey(int key)
{
    const int count = m_program.entries(m_program.CurrentPage).size();
    switch (key) {
    case Qt::Key_Up: selectEntry(m_program.SelectedEntry - 1); return true;
    case Qt::Key_Down: selectEntry(m_program.SelectedEntry + 1); return true;
    case Qt::Key_Home: selectEntry(0); return true;
    case Qt::Key_End: selectEntry(count - 1); return true;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        SelectPage(m_program.CurrentPage - 1);
        selectEntry(0);
        return true;
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        SelectPage(m_program.CurrentPage + 1);
        selectEntry(0);
        return true;
    default: break;
    }
    // The entry menu's actions need an entry, as the right-click does.
    if (count == 0)
        return false;
    selectEntry(m_program.SelectedEntry);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Edit3Click(); return true;
    case Qt::Key_Insert: Insert1Click(); return true;
    case Qt::Key_Delete:
        Delete1Click();
        selectEntry(m_program.SelectedEntry); // the last one gone: its predecessor
        return true;
    default: return false;
    }
}

void FlowchartEditorWindow::selectEntry(int entry)
{
    const int count = m_program.entries(m_program.CurrentPage).size();
    m_program.SelectedEntry = qBound(0, entry, qMax(0, count - 1));
    showEntryMark();
    if (m_entryMark->isVisible()) {
        const QRect area = m_entryMark->geometry();
        m_scroll->ensureVisible(area.center().x(), area.center().y(), 0, area.height() / 2 + 20);
    }
}

void FlowchartEditorWindow::showEntryMark()
{
    const QStringList entries = m_program.entries(m_program.CurrentPage);
    const int selected = m_program.SelectedEntry;
    if (!m_paintBox->hasFocus() || selected < 0 || selected >= entries.size()) {
        m_entryMark->hide();
        return;
    }
    const QString &entry = entries.at(selected);
    const int half = flowlayout::halfWidth(entry, flowlayout::ScreenUnit);
    const int top = flowlayout::entryTops(entries).at(selected);
    const int height = flow::isRepeatEntry(entry) || flow::isCallEntry(entry) ? 50 : 25;
    const QRect area(flowlayout::centreOf(m_paintBox->width()) - half, top, 2 * half + 1, height + 1);
    m_entryMark->frame(area);
    m_entryMark->show();
}

} // namespace kr31
