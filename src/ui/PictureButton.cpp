#include "ui/PictureButton.h"

#include "core/Resources.h"

#include <QHash>
#include <QMouseEvent>
#include <QPixmap>

namespace kr31 {

namespace {

// Pictures are read once; a highlight moving across the menu must not hit the disk.
const QPixmap *cachedPixmap(const QString &relativePath)
{
    static QHash<QString, QPixmap> cache;
    const QString path = resourcePath(relativePath);
    auto it = cache.find(path);
    if (it == cache.end()) {
        QPixmap pixmap;
        if (!pixmap.load(path))
            return nullptr;
        it = cache.insert(path, pixmap);
    }
    return &it.value();
}

} // namespace

bool loadPicture(QLabel *label, const QString &relativePath, const std::function<void(const QString &)> &onMissing)
{
    const QPixmap *pixmap = cachedPixmap(relativePath);
    if (!pixmap) {
        if (onMissing)
            onMissing(relativePath);
        return false;
    }
    label->setScaledContents(true);
    label->setPixmap(*pixmap);
    return true;
}

PictureButton::PictureButton(const QString &folder, const QString &name, QWidget *parent, const QString &picture)
    : QLabel(parent)
    , m_folder(folder)
    , m_picture(picture.isEmpty() ? name : picture)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
}

void PictureButton::load(const QString &file)
{
    if (!loadPicture(this, m_folder + file, onMissingPicture) && pixmap().isNull())
        setText(objectName()); // still usable without its picture
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
