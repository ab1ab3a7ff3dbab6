#pragma once

#include "ui/Pictures.h"

#include <QLabel>

#include <functional>

namespace kr31 {

// A button that is a picture: folder + name + ".jpg" when released,
// folder + name + "1.jpg" while the mouse is pressed on it. A picture that
// cannot be loaded leaves the button working (it shows its name instead).
class PictureButton : public QLabel
{
    Q_OBJECT
public:
    // folder is relative to the resources ("Img/Menu/"); name is the component
    // name; picture names the files when they are not named after the component.
    PictureButton(const QString &folder, const QString &name, QWidget *parent, const QString &picture = {});

    // Called with the relative path of each picture that cannot be loaded.
    std::function<void(const QString &)> onMissingPicture;

    // Loads the released picture (again).
    void showReleased();

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void load(const QString &file);
    QString m_folder;
    QString m_picture;
};

} // namespace kr31
