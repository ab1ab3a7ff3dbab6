#pragma once

#include "ui/Pictures.h"

#include <QLabel>

#include <functional>

namespace kr31 {

// A button that is a picture: folder + name + ".jpg" when released,
// folder + name + "1.jpg" while the mouse is pressed on it. A picture that
// cannot be loaded leaves the button working (it shows its name instead).
// Tab reaches it, a ring over the picture shows that it has the focus, and
// Space or Enter presses it as the mouse does. The ring shows while the
// keyboard is in use (see keys::keyboardInUse).
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
    // Presses the button as a click does (a shortcut's way in); nothing when disabled.
    void click();
    // The words of the tooltip, before the keys are added.
    QString caption() const;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void load(const QString &file);
    QString m_folder;
    QString m_picture;
    bool m_keyDown = false;

};

} // namespace kr31
