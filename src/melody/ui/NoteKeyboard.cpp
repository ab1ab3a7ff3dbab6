#include "melody/ui/NoteKeyboard.h"

#include "melody/NoteCode.h"

#include <QMouseEvent>

namespace kr31 {

namespace {
const QString White = QStringLiteral("Img/Onpu/Ken_White");
const QString Black = QStringLiteral("Img/Onpu/Ken_Black");
constexpr int RestGap = 8;
const QColor NameInk(0x55, 0x55, 0x55);
} // namespace

NoteKeyboard::NoteKeyboard(QWidget *parent, int whiteWidth, int height,
                           std::function<bool(QLabel *, const QString &)> showPicture)
    : QWidget(parent)
    , m_showPicture(std::move(showPicture))
{
    setObjectName(QStringLiteral("Keyboard"));
    resize(23 * whiteWidth + RestGap, height);
    const auto makeKey = [this](int tag, QRect place, bool black) {
        auto *key = new QLabel(this);
        key->setObjectName(note::keyImageName(tag));
        key->setGeometry(place);
        key->setProperty("tag", tag);
        key->setProperty("black", black);
        key->setToolTip(note::solfege(note::pitchIndex(tag)));
        key->setCursor(Qt::PointingHandCursor);
        key->installEventFilter(this);
        showKey(key, false);
        if (!black) {
            // The pitch name at the foot of a white key, for those who read no keyboard yet.
            const int pitch = note::pitchIndex(tag);
            auto *name = new QLabel(pitch == note::RestPitch ? QStringLiteral("休") : note::solfege(pitch), key);
            name->setObjectName(QStringLiteral("Name"));
            name->setAttribute(Qt::WA_TransparentForMouseEvents);
            name->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            name->setGeometry(0, place.height() - 40, place.width(), 22);
            QFont font = name->font();
            font.setPixelSize(qMax(9, place.width() / 2));
            name->setFont(font);
            // A label paints no background of its own; the ink comes from the
            // palette (a style sheet per label would slow the first showing).
            QPalette palette = name->palette();
            palette.setColor(QPalette::WindowText, NameInk);
            name->setPalette(palette);
        }
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
        makeKey(tag, QRect((white + 1) * whiteWidth - blackWidth / 2, 0, blackWidth, height * 62 / 100), true)
            ->raise();
    }
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
