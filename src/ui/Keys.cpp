#include "ui/Keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace kr31::keys {

namespace {

struct Caption
{
    const char *folder;
    const char *picture;
    const char *caption;
};

// The words on the pictures of the buttons.
const Caption Captions[] = {
    {"Img/Menu/", "SetUp", "せってい"},
    {"Img/Menu/", "Bye", "おわる"},
    {"Img/Common_Button/", "Send", "おくる"},
    {"Img/Common_Button/", "Tenso", "おくる"},
    {"Img/Common_Button/", "Action", "うごかす"},
    {"Img/Common_Button/", "Menu", "メニュー"},
    {"Img/Common_Button/", "Help", "ヘルプ"},
    {"Img/Common_Button/", "Bye", "おわる"},
    {"Img/Common_Button/", "File_Open", "ひらく"},
    {"Img/Common_Button/", "File_Save", "ほぞん"},
    {"Img/Common_Button/", "furo", "チャート"},
    {"Img/Common_Button/", "Command_Number", "メモリ"},
    {"Img/Common_Button/", "Command_Total", "メモリ"},
    {"Img/Common_Button/", "Report", "レポート"},
    {"Img/Common_Button/", "All_Delete", "ぜんぶけす"},
    {"Img/Common_Button/", "saisei", "きいてみる"},
    {"Img/Common_Button/", "Melo_Print", "いんさつ"},
    {"Img/Common_Button/", "note", "おんぷ"},
    {"Img/Common_Button/", "Link", "リンク"},
    {"Img/Common_Button/", "Add_Command", "ついか"},
    {"Img/Common_Button/", "Add_Sub", "サブをふやす"},
    {"Img/Common_Button/", "OK", "OK"},
    {"Img/Common_Button/", "cancel", "やめる"},
    {"Img/Common_Button/", "FuroBye", "とじる"},
    {"Img/Common_Button/", "MelodyBye", "とじる"},
    {"Img/SetUp/", "OK", "OK"},
    {"Img/SetUp/", "cancel", "やめる"},
    {"Img/SetUp/", "Test", "てんそうモード"},
    {"Img/SetUp/", "LED", "LEDをもどす"},
    {"Img/SetUp/", "melo", "メロディをもどす"},
    {"Img/SetUp/", "Test_Start", "けってい"},
    {"Img/SetUp/", "Wiza", "ウィザード"},
    {"Img/SetUp/", "Bye", "もどる"},
    {"Img/Disp_Furo/", "Out", "いんさつ"},
    {"Img/Disp_Furo/", "Bye", "とじる"},
    {"Img/Report/", "Preview", "みてみる"},
    {"Img/Report/", "Print", "いんさつ"},
    {"Img/Report/", "Bye", "とじる"},
    {"Img/Wizard/", "Next", "つぎへ"},
    {"Img/Wizard/", "Cancel", "やめる"},
    {"Img/Wizard/", "Yes", "はい"},
    {"Img/Wizard/", "No", "いいえ"},
    {"Img/Wizard/", "Finish", "おわる"},
    {"Img/Wizard/", "Test", "テスト"},
    {"Img/Wizard/", "Jikko", "じっこう"},
    {"Img/Wizard/", "Back", "もどる"},
    {"Img/Wizard/", "tojiru", "とじる"},
    {"Img/Wizard/", "renew", "こうしん"},
    {"Img/Wizard/", "shudo", "しゅどう"},
};

class EventHook : public QObject
{
    Q_OBJECT
public:
    EventHook(QObject *owner, std::function<bool(QObject *, QEvent *)> handler)
        : QObject(owner)
        , m_handler(std::move(handler))
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override { return m_handler(watched, event); }

private:
    std::function<bool(QObject *, QEvent *)> m_handler;
};

constexpr const char *MarkedFocus = "kr31MarkedFocus";

// Follows the last kind of input for the whole program.
class InputKind : public QObject
{
    Q_OBJECT
public:
    static InputKind &instance()
    {
        static auto *kind = [] {
            auto *k = new InputKind(qApp);
            qApp->installEventFilter(k);
            return k;
        }();
        return *kind;
    }
    bool keyboard = false;
    void set(bool inUse)
    {
        if (keyboard == inUse)
            return;
        keyboard = inUse;
        Q_EMIT changed();
    }

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            set(false);
        } else if (event->type() == QEvent::KeyPress && !keyboard) {
            set(true);
            const auto *key = static_cast<QKeyEvent *>(event);
            const QWidget *focus = QApplication::focusWidget();
            const bool showsFocus = !(key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) &&
                                    (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                                    key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                                    key->key() == Qt::Key_Enter);
            // This key only shows where the focus is.
            if (showsFocus && focus && focus->property(MarkedFocus).toBool())
                return true;
        }
        return false;
    }

private:
    using QObject::QObject;
};

} // namespace

bool keyboardInUse()
{
    return InputKind::instance().keyboard;
}

void setKeyboardInUse(bool inUse)
{
    InputKind::instance().set(inUse);
}

void whenKeyboardInUseChanges(QObject *context, std::function<void()> onChange)
{
    QObject::connect(&InputKind::instance(), &InputKind::changed, context, std::move(onChange));
}

void markFocusOf(QWidget *widget)
{
    widget->setProperty(MarkedFocus, true);
    whenKeyboardInUseChanges(widget, [widget] {
        if (widget->hasFocus())
            widget->update();
    });
}

void hookEvents(QObject *owner, const QList<QObject *> &watched, std::function<bool(QObject *, QEvent *)> handler)
{
    auto *hook = new EventHook(owner, std::move(handler));
    for (QObject *object : watched)
        object->installEventFilter(hook);
}

void unhookEvents(QObject *owner)
{
    const auto hooks = owner->findChildren<EventHook *>(Qt::FindDirectChildrenOnly);
    for (EventHook *hook : hooks)
        delete hook;
}

void takeKeysFirst(QWidget *window, std::function<bool(QKeyEvent *)> handler)
{
    QList<QObject *> watched{window};
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->focusPolicy() != Qt::NoFocus)
            watched.append(child);
    }
    hookEvents(window, watched, [handler = std::move(handler)](QObject *, QEvent *event) {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        return handler(static_cast<QKeyEvent *>(event));
    });
}

void tabToCheckedButton(QButtonGroup *group)
{
    QList<QObject *> buttons;
    for (QAbstractButton *button : group->buttons())
        buttons.append(button);
    hookEvents(group, buttons, [group](QObject *watched, QEvent *event) {
        if (event->type() != QEvent::FocusIn)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        QAbstractButton *checked = group->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && checked && checked != watched &&
            checked->isVisible())
            checked->setFocus(reason);
        return false;
    });
}

QString caption(const QString &folder, const QString &picture)
{
    for (const Caption &c : Captions) {
        if (folder == QLatin1String(c.folder) && picture == QLatin1String(c.picture))
            return QString::fromUtf8(c.caption);
    }
    return {};
}

QString keyText(const QKeySequence &key)
{
    QString text = key.toString(QKeySequence::PortableText);
    text.replace(QLatin1String("Return"), QLatin1String("Enter"));
    text.replace(QLatin1String("Escape"), QLatin1String("Esc"));
    return text;
}

QString tip(const QString &caption, const QList<QKeySequence> &keys)
{
    QStringList texts;
    for (const QKeySequence &key : keys) {
        const QString text = keyText(key);
        if (!texts.contains(text))
            texts.append(text);
    }
    if (texts.isEmpty())
        return caption;
    const QString joined = texts.join(QStringLiteral(", "));
    return caption.isEmpty() ? joined : caption + QStringLiteral(" (") + joined + QLatin1Char(')');
}

void markBoxFocus(QWidget *box)
{
    // A style sheet writes a class's namespace with "--" for "::".
    const QString name = QString::fromLatin1(box->metaObject()->className()).replace(QLatin1String("::"), QLatin1String("--"));
    box->setStyleSheet(QStringLiteral("%1 { border: 3px solid transparent; } %1:focus { border-color: #1a237e; }").arg(name));
}

void paintFocusRing(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // As thick as the picture allows without covering its words: 4 pixels
    // on a 26-pixel button, 8 on the large ones.
    const qreal band = qBound(4, qMin(area.width(), area.height()) / 7, 8);
    const QRectF r = QRectF(area).adjusted(band / 2, band / 2, -band / 2, -band / 2);
    painter.setPen(QPen(QColor(0x1a, 0x23, 0x7e), band)); // dark edge
    painter.drawRoundedRect(r, 6, 6);
    painter.setPen(QPen(Qt::white, band * 3 / 8)); // a light line inside it
    painter.drawRoundedRect(r, 6, 6);
    painter.restore();
}

SelectionFrame::SelectionFrame(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void SelectionFrame::frame(const QRect &area)
{
    const QRect framed = area.adjusted(-5, -5, 5, 5);
    if (geometry() == framed)
        return;
    setGeometry(framed);
    raise();
    update();
}

void SelectionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintFocusRing(painter, rect());
}

} // namespace kr31::keys

#include "Keys.moc"
