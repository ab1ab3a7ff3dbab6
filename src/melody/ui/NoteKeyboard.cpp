#include "melody/ui/NoteKeyboard.h"

#include "melody/NoteCode.h"
#include "ui/FitText.h"
#include "ui/Keys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace kr31 {

namespace {
const QString White = QStringLiteral("Img/Onpu/Ken_White");
const QString Black = QStringLiteral("Img/Onpu/Ken_Black");
constexpr int RestGap = 8;
constexpr int FirstTag = 48;              // C3
constexpr int LastTag = FirstTag + 37;    // the rest, after C6
constexpr int StartTag = FirstTag + 12;   // C4, the middle of the keyboard
constexpr int NameFont = 12;              // pixel sizes of the pitch names and the key tops
constexpr int CapFont = 11;

// The Windows virtual-key code of a key as a Japanese keyboard prints it; 0 for others.
int virtualKey(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
        return key;
    switch (key) {
    case Qt::Key_Semicolon: return 0xBB;
    case Qt::Key_Colon: return 0xBA;
    case Qt::Key_At: return 0xC0;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_AsciiCircum: return 0xDE;
    case Qt::Key_yen:
    case Qt::Key_Backslash: return 0xDC;
    default: return 0;
    }
}
const QColor NameInk(0x1E, 0x1E, 0x28);

// The computer key that plays a piano key, drawn as a small key top: dark
// letters on a light cap on a white key, light letters on a dark cap on a black one.
class KeyCap : public QLabel
{
public:
    KeyCap(const QString &text, bool onBlack, QWidget *parent)
        : QLabel(text, parent)
        , m_onBlack(onBlack)
    {
        setObjectName(QStringLiteral("KeyCap"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAlignment(Qt::AlignCenter);
        QPalette palette = this->palette();
        palette.setColor(QPalette::WindowText, onBlack ? Qt::white : NameInk);
        setPalette(palette);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(m_onBlack ? QColor(0x9A, 0x94, 0xA0) : QColor(0x8A, 0x94, 0xA2));
        painter.setBrush(m_onBlack ? QColor(0x5A, 0x54, 0x60) : QColor(0xEE, 0xF1, 0xF5));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter.end();
        QLabel::paintEvent(event);
    }

private:
    bool m_onBlack;
};

// A bold face of pixelSize, narrowed when text would not fit in width.
QFont fittedFont(QFont font, int pixelSize, const QString &text, int width)
{
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return narrowedToFit(font, text, width);
}
} // namespace

NoteKeyboard::NoteKeyboard(QWidget *parent, int whiteWidth, int height,
                           std::function<bool(QLabel *, const QString &)> showPicture)
    : QWidget(parent)
    , m_showPicture(std::move(showPicture))
    , m_place(StartTag)
{
    setObjectName(QStringLiteral("Keyboard"));
    resize(23 * whiteWidth + RestGap, height);
    const int blackHeight = height * 62 / 100;
    const auto makeKey = [this, blackHeight](int tag, QRect place, bool black) {
        auto *key = new QLabel(this);
        key->setObjectName(note::keyImageName(tag));
        key->setGeometry(place);
        key->setProperty("tag", tag);
        key->setProperty("black", black);
        key->setToolTip(note::solfege(note::pitchIndex(tag)));
        key->setCursor(Qt::PointingHandCursor);
        key->installEventFilter(this);
        showKey(key, false);
        // Under the black keys a white key shows its pitch name, for those who
        // read no keyboard yet, and the computer key that plays it; a black
        // key shows its computer key at its foot.
        const int capSide = CapFont + 5;
        const int room = place.width() - 2;
        const QString cap = note::keyLabel(tag);
        const int capWidth = qMin(black ? place.width() : room, capSide);
        auto *keyCap = new KeyCap(cap, black, key);
        keyCap->setFont(fittedFont(keyCap->font(), CapFont, cap, capWidth - 1));
        if (black) {
            keyCap->setGeometry((place.width() - capWidth) / 2, place.height() - capSide - 3, capWidth, capSide);
            return key;
        }
        const int pitch = note::pitchIndex(tag);
        auto *name = new QLabel(pitch == note::RestPitch ? QStringLiteral("休") : note::solfege(pitch), key);
        name->setObjectName(QStringLiteral("Name"));
        name->setAttribute(Qt::WA_TransparentForMouseEvents);
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setFont(fittedFont(name->font(), NameFont, name->text(), room));
        // A label paints no background of its own; the ink comes from the
        // palette (a style sheet per label would slow the first showing).
        QPalette palette = name->palette();
        palette.setColor(QPalette::WindowText, NameInk);
        name->setPalette(palette);
        const int nameTop = blackHeight + 4;
        name->setGeometry(1, nameTop, room, NameFont + 4);
        keyCap->setGeometry((place.width() - capWidth) / 2, nameTop + NameFont + 6, capWidth, capSide);
        return key;
    };
    for (int i = 0; i < 23; ++i) {
        const int x = i * whiteWidth + (i == 22 ? RestGap : 0);
        makeKey(note::WhiteKeys[i], QRect(x, 0, whiteWidth, height), false);
    }
    // A black key sits over the border after the white key a semitone below it.
    const int blackWidth = whiteWidth * 3 / 5;
    for (int tag : note::BlackKeys) {
        int white = 0;
        while (note::WhiteKeys[white] != tag - 1)
            ++white;
        makeKey(tag, QRect((white + 1) * whiteWidth - blackWidth / 2, 0, blackWidth, blackHeight), true)
            ->raise();
    }
}

int NoteKeyboard::tagForKey(const QKeyEvent *event)
{
    // The keypad's keys are no note keys, nor keys with Ctrl or Alt.
    if (event->modifiers() & ~Qt::ShiftModifier)
        return -1;
    return note::keyTag(virtualKey(event));
}

void NoteKeyboard::takeRestKey(QWidget *window, std::function<void(int)> keyClick)
{
    const int rest = note::keyTag(Qt::Key_Space);
    keys::takeKeysFirst(window, [rest, keyClick = std::move(keyClick)](QKeyEvent *key) {
        if (key->key() != Qt::Key_Space || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        if (key->type() == QEvent::KeyPress && !key->isAutoRepeat())
            keyClick(rest);
        return true;
    });
}

void NoteKeyboard::setPlace(int tag)
{
    m_place = qBound(FirstTag, tag, LastTag);
    showPlace();
}

void NoteKeyboard::showPlace()
{
    if (!hasFocus()) {
        if (m_mark)
            m_mark->hide();
        return;
    }
    if (!m_mark)
        m_mark = new keys::SelectionFrame(parentWidget());
    const QLabel *placed = key(m_place);
    m_mark->frame(QRect(mapToParent(placed->pos()), placed->size()));
    m_mark->show();
}

void NoteKeyboard::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: setPlace(m_place - 1); break;
    case Qt::Key_Right: setPlace(m_place + 1); break;
    case Qt::Key_Up: setPlace(m_place + 12); break;
    case Qt::Key_Down: setPlace(m_place - 12); break;
    case Qt::Key_Home: setPlace(FirstTag); break;
    case Qt::Key_End: setPlace(LastTag); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            Q_EMIT keyClicked(m_place);
        break;
    default: QWidget::keyPressEvent(event); return;
    }
}

void NoteKeyboard::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    showPlace();
}

void NoteKeyboard::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    showPlace();
}

QLabel *NoteKeyboard::key(int tag) const
{
    const QString name = note::keyImageName(tag);
    return name.isEmpty() ? nullptr : findChild<QLabel *>(name);
}

void NoteKeyboard::showKey(QLabel *key, bool pressed)
{
    const QString base = key->property("black").toBool() ? Black : White;
    m_showPicture(key, base + (pressed ? QStringLiteral("-1.jpg") : QStringLiteral(".jpg")));
}

bool NoteKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    // Every event of every key passes here: the press and release of the
    // left button are told apart before anything is looked up.
    const QEvent::Type type = event->type();
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) ||
        static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return QWidget::eventFilter(watched, event);
    auto *key = qobject_cast<QLabel *>(watched);
    if (!key || !key->property("tag").isValid())
        return QWidget::eventFilter(watched, event);
    if (type == QEvent::MouseButtonPress) {
        showKey(key, true);
        return true;
    }
    showKey(key, false);
    if (key->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
        Q_EMIT keyClicked(key->property("tag").toInt());
    return true;
}

} // namespace kr31
