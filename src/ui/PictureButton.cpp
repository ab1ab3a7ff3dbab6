#include "ui/PictureButton.h"

#include "ui/Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kr31 {

PictureButton::PictureButton(const QString &folder, const QString &name, QWidget *parent, const QString &picture)
    : QLabel(parent)
    , m_folder(folder)
    , m_picture(picture.isEmpty() ? name : picture)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    // The keyboard reaches it; a mouse click leaves the focus where it was
    // (in the text being typed, on the slot being edited).
    setFocusPolicy(Qt::TabFocus);
    setToolTip(caption());
    keys::markFocusOf(this);
}

QString PictureButton::caption() const
{
    return keys::caption(m_folder, m_picture);
}

void PictureButton::click()
{
    if (isEnabled())
        Q_EMIT clicked();
}

namespace {
bool pressesButton(const QKeyEvent *event)
{
    const int key = event->key();
    return event->modifiers() == Qt::NoModifier &&
           (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter);
}
} // namespace

bool PictureButton::event(QEvent *event)
{
    // Space and Enter belong to the focused button, even where the window
    // gives Enter to another button.
    if (event->type() == QEvent::ShortcutOverride && pressesButton(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QLabel::event(event);
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (!pressesButton(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        m_keyDown = true;
        load(m_picture + QStringLiteral("1.jpg"));
    }
}

void PictureButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!pressesButton(event) || event->isAutoRepeat()) {
        QLabel::keyReleaseEvent(event);
        return;
    }
    if (!m_keyDown)
        return;
    m_keyDown = false;
    showReleased();
    click();
}

void PictureButton::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void PictureButton::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    if (m_keyDown) {
        m_keyDown = false;
        showReleased();
    }
    update();
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus() && keys::keyboardInUse()) {
        QPainter painter(this);
        keys::paintFocusRing(painter, rect());
    }
}

void PictureButton::load(const QString &file)
{
    loadPicture(this, m_folder + file, [this](const QString &path) {
        if (pixmap().isNull())
            setText(objectName()); // still usable without its picture
        if (onMissingPicture)
            onMissingPicture(path);
    });
}

void PictureButton::showReleased()
{
    load(m_picture + QStringLiteral(".jpg"));
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        load(m_picture + QStringLiteral("1.jpg"));
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    showReleased();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace kr31
