#include "ui/UndoWiring.h"

#include "ui/RecoveryKeeper.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

namespace kr31 {

namespace {

constexpr int Modifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Turns the undo keys away from the window's children (line and spin boxes,
// the text control), so that their shortcut-override request does not keep
// the window's shortcuts from firing.
class ChildKeyFilter : public QObject
{
public:
    explicit ChildKeyFilter(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() != m_window)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!isUndoKey(key->key(), key->modifiers()) && !isRedoKey(key->key(), key->modifiers()))
            return false;
        event->ignore();
        return true;
    }

private:
    QWidget *m_window;
};

} // namespace

bool isUndoKey(int key, int modifiers)
{
    return key == Qt::Key_Z && (modifiers & Modifiers) == Qt::ControlModifier;
}

bool isRedoKey(int key, int modifiers)
{
    const int held = modifiers & Modifiers;
    return (key == Qt::Key_Z && held == (Qt::ControlModifier | Qt::ShiftModifier)) ||
           (key == Qt::Key_Y && held == Qt::ControlModifier);
}

bool isEditing(const QWidget *control)
{
    if (const auto *slider = qobject_cast<const QAbstractSlider *>(control))
        return slider->isSliderDown();
    // A spin box's arrows rewrite its text, which is then no longer typed:
    // each click is a step of its own.
    if (qobject_cast<const QAbstractSpinBox *>(control)) {
        const auto *typed = control->findChild<const QLineEdit *>();
        return control->hasFocus() && typed && typed->isModified();
    }
    return control && control->hasFocus();
}

void onEditEnd(QWidget *control, const std::function<void()> &endGroup)
{
    if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        QObject::connect(slider, &QAbstractSlider::sliderReleased, control, endGroup);
    else if (auto *box = qobject_cast<QLineEdit *>(control))
        QObject::connect(box, &QLineEdit::editingFinished, control, endGroup);
    else if (auto *spin = qobject_cast<QAbstractSpinBox *>(control))
        QObject::connect(spin, &QAbstractSpinBox::editingFinished, control, endGroup);
}

void onRecovered(RecoveryKeeper *keeper, const std::function<void()> &forgetSaved)
{
    if (!keeper)
        return;
    keeper->markModified = [mark = keeper->markModified, forgetSaved] {
        if (mark)
            mark();
        forgetSaved();
    };
}

void installUndoKeys(QWidget *window, std::function<void()> undo, std::function<void()> redo)
{
    const auto bind = [window](QKeyCombination keys, const std::function<void()> &run, const char *name) {
        auto *shortcut = new QShortcut(QKeySequence(keys), window);
        shortcut->setObjectName(QString::fromLatin1(name));
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, run);
    };
    bind(Qt::CTRL | Qt::Key_Z, undo, "UndoKey");
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Z, redo, "RedoKey");
    bind(Qt::CTRL | Qt::Key_Y, redo, "RedoKeyY");
    // Seen before the boxes' own handling, which would otherwise claim the keys.
    QCoreApplication::instance()->installEventFilter(new ChildKeyFilter(window));
}

} // namespace kr31
