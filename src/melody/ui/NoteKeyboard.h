#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

namespace kr31 {

// The 38 key pictures Image1..Image38 of the melody windows: the white keys
// C3..C6 and the rest key (Image1..Image23), the black keys (Image24..Image38).
// Each carries its eighth-note code as tag, shows its pitch name as a hint and
// its "-1" picture while pressed; a click reports the tag.
class NoteKeyboard : public QWidget
{
    Q_OBJECT
public:
    // whiteWidth × height is a white key; showPicture loads a picture into a key.
    NoteKeyboard(QWidget *parent, int whiteWidth, int height,
                 std::function<bool(QLabel *, const QString &)> showPicture);

    // The key carrying tag, or nullptr.
    QLabel *key(int tag) const;

Q_SIGNALS:
    void keyClicked(int tag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showKey(QLabel *key, bool pressed);
    std::function<bool(QLabel *, const QString &)> m_showPicture;
};

} // namespace kr31
