#include "ui/PictureButton.h"

#include <QMouseEvent>

namespace kr31 {

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
