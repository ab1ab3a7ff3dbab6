// The icon editor without a mouse: the buttons' keys, and a keyboard place in
// the slot strip and in the palette. Every key runs the handler the mouse
// runs (a drop, the slot menu's Insert and Delete), so the limits, messages
// and the modified mark are the same.
#include "editors/icon/ui/IconEditorWindow.h"

#include "ui/Keys.h"

#include <QKeyEvent>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>

namespace kr31 {

namespace {

constexpr int PaletteColumns = 3;
constexpr int PaletteIcons = 12;

QLabel *paletteIcon(QWidget *palette, int index)
{
    return palette->findChild<QLabel *>(QStringLiteral("Image%1").arg(index + 1), Qt::FindDirectChildrenOnly);
}

// The slot's number and picture, inside the strip's height with its ring.
QRect slotArea(int slot)
{
    return {icon::slotLeft(slot), 6, 100, 196};
}

const QString NumberBadge = QStringLiteral("background: #1a237e; color: white; border-radius: 6px;");

} // namespace

void IconEditorWindow::installShortcuts()
{
    bindKey(keys::Save, {QStringLiteral("File_Save")});
    bindKey(keys::Open, {QStringLiteral("File_Open")});
    bindKey(keys::Send, {QStringLiteral("Send")});

    m_palette = findChild<QWidget *>(QStringLiteral("Panel3"));
    m_palette->setFocusPolicy(Qt::StrongFocus);
    m_palette->setToolTip(QStringLiteral("やじるしキーで えらんで Enter で おく"));
    m_strip->setFocusPolicy(Qt::NoFocus);
    m_stripContent->setFocusPolicy(Qt::StrongFocus);
    m_stripContent->setToolTip(QStringLiteral("←→ で えらぶ / Enter で おく / Insert で あける / Delete で けす"));
    m_iconMark = new keys::SelectionFrame(m_palette);
    m_slotMark = new keys::SelectionFrame(m_stripContent);
    keys::hookEvents(this, {m_palette, m_stripContent},
                     [this](QObject *watched, QEvent *event) { return keyboardEvent(watched, event); });
    keys::markBoxFocus(m_browser);
    // The window comes up with the keyboard on the strip, ready to place.
    m_stripContent->setFocus(Qt::OtherFocusReason);
    showKeyboardMarks();
}

int IconEditorWindow::keyboardCommand() const
{
    return paletteCode(m_keyIcon);
}

bool IconEditorWindow::keyboardEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        showKeyboardMarks();
        return false;
    case QEvent::MouseButtonPress: {
        // The mouse moves the keyboard's place too, so both work on the same slot.
        const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (watched == m_stripContent) {
            if (const int slot = icon::slotAt(at.x(), at.y()); slot >= 0)
                selectSlot(slot);
        } else if (QWidget *icon = m_palette->childAt(at); icon && icon->property("code").isValid()) {
            m_keyIcon = icon->objectName().mid(5).toInt() - 1;
            showKeyboardMarks();
        }
        return false;
    }
    case QEvent::ContextMenu:
        if (watched == m_stripContent && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
            const QRect area = slotArea(m_keySlot);
            openSlotMenu(m_keySlot, m_stripContent->mapToGlobal(area.center()));
            return true;
        }
        return false;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_stripContent && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            // Past the scroll area, which would scroll to the widget the focus leaves for.
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        return watched == m_stripContent ? slotKey(key->key()) : paletteKey(key->key());
    }
    default:
        return false;
    }
}

bool IconEditorWindow::slotKey(int key)
{
    switch (key) {
    case Qt::Key_Left: selectSlot(m_keySlot - 1); return true;
    case Qt::Key_Right: selectSlot(m_keySlot + 1); return true;
    case Qt::Key_Home: selectSlot(0); return true;
    case Qt::Key_End: {
        // The first empty slot after the program, where the next command goes.
        int slot = icon::SlotCount - 1;
        while (slot > 0 && m_program.Slots[slot - 1].isEmpty())
            --slot;
        selectSlot(slot);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: placeKeyboardCommand(); return true;
    case Qt::Key_Insert:
        m_menuSlot = m_keySlot;
        Insert1Click();
        return true;
    case Qt::Key_Delete:
        m_menuSlot = m_keySlot;
        Delete1Click();
        return true;
    default: return false;
    }
}

bool IconEditorWindow::paletteKey(int key)
{
    int next = m_keyIcon;
    switch (key) {
    case Qt::Key_Left: next -= 1; break;
    case Qt::Key_Right: next += 1; break;
    case Qt::Key_Up: next -= PaletteColumns; break;
    case Qt::Key_Down: next += PaletteColumns; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: placeKeyboardCommand(); return true;
    default: return false;
    }
    if (next >= 0 && next < PaletteIcons)
        m_keyIcon = next;
    showKeyboardMarks();
    return true;
}

void IconEditorWindow::selectSlot(int slot)
{
    m_keySlot = qBound(0, slot, icon::SlotCount - 1);
    // Bring the slot into view, with a little of its neighbours.
    const QRect area = slotArea(m_keySlot);
    const int shown = m_strip->viewport()->width();
    if (area.left() - 10 < stripPosition())
        setStripPosition(area.left() - 10);
    else if (area.right() + 10 > stripPosition() + shown)
        setStripPosition(area.right() + 10 - shown);
    showKeyboardMarks();
}

void IconEditorWindow::placeKeyboardCommand()
{
    const int code = keyboardCommand();
    const int slot = m_keySlot;
    dropCommand(slot, code);
    // On to the next slot once the command is in, as a row is written.
    if (m_program.Slots[slot].code == QString::number(code))
        selectSlot(slot + 1);
}

void IconEditorWindow::showKeyboardMarks()
{
    // Both places show while either has the keyboard: Enter in one uses the other.
    const bool active = m_palette->hasFocus() || m_stripContent->hasFocus();
    m_slotMark->setVisible(active);
    m_iconMark->setVisible(active);
    // The chosen slot's number turns white on dark blue, plain even where the ring meets a card of its colour.
    for (int i = 0; i < icon::SlotCount; ++i) {
        const QString style = active && i == m_keySlot ? NumberBadge : QString();
        if (m_views[i].number->styleSheet() != style)
            m_views[i].number->setStyleSheet(style);
    }
    m_slotMark->frame(slotArea(m_keySlot));
    m_iconMark->frame(paletteIcon(m_palette, m_keyIcon)->geometry());
}

} // namespace kr31
