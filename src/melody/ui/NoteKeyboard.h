#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

class QKeyEvent;

namespace kr31 {

namespace keys {
class SelectionFrame;
}

// The 38 key pictures Image1..Image38 of the melody windows: the white keys
// C3..C6 and the rest key (Image1..Image23), the black keys (Image24..Image38).
// Each carries its eighth-note code as tag, shows its pitch name as a hint and
// its "-1" picture while pressed; a click reports the tag. Each is labelled
// with the computer key that plays it, a white key also with its pitch name.
class NoteKeyboard : public QWidget
{
    Q_OBJECT
public:
    // whiteWidth × height is a white key; showPicture loads a picture into a key.
    NoteKeyboard(QWidget *parent, int whiteWidth, int height,
                 std::function<bool(QLabel *, const QString &)> showPicture);

    // The key carrying tag, or nullptr.
    QLabel *key(int tag) const;

    // The tag of the note key a computer key names (the keys of the note
    // table: home row octave 3, the row above octave 4, the digits octave 5,
    // Space the rest); -1 for any other key.
    static int tagForKey(const QKeyEvent *event);
    // Makes Space the rest key of window wherever its focus is (a focused
    // button or radio never takes it): each press runs keyClick with the rest's tag.
    static void takeRestKey(QWidget *window, std::function<void(int)> keyClick);

    // The keyboard's place among the keys (a tag): while the keyboard has
    // the focus, Left / Right move it a semitone, Up / Down an octave, Home /
    // End to the ends, and Enter clicks its key; a ring shows it.
    void setPlace(int tag);
    int place() const { return m_place; }

Q_SIGNALS:
    void keyClicked(int tag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void showKey(QLabel *key, bool pressed);
    void showPlace();
    std::function<bool(QLabel *, const QString &)> m_showPicture;
    int m_place;
    keys::SelectionFrame *m_mark = nullptr;
};

} // namespace kr31
