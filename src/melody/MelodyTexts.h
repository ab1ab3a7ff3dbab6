#pragma once

#include "melody/NoteCode.h"

#include <QString>

// The captions of the melody windows.
namespace kr31::melodytext {

inline const QString Lengths[4] = {QStringLiteral("八分音符"), QStringLiteral("四分音符"),
                                   QStringLiteral("付点四分音符"), QStringLiteral("二分音符")};
inline const QString Hint = QStringLiteral("音符の上で右クリックすると音符の編集が行えます。");
inline const QString AddNote = QStringLiteral("　音符を追加する");
inline const QString Listen = QStringLiteral("　音を聴いてみる");
inline const QString Voice1 = QStringLiteral("　メロディ１");
inline const QString Voice2 = QStringLiteral("　メロディ２");
inline const QString LinkOff = QStringLiteral("リンクなし");
inline const QString LinkOn = QStringLiteral("リンクあり");
inline const QString InsertItem = QStringLiteral("音符を挿入する");
inline const QString EditItem = QStringLiteral("音符を編集する");
inline const QString LengthItem = QStringLiteral("音の長さを変える");
inline const QString DeleteItem = QStringLiteral("音符を削除する");

// The picker's caption for the selected note: its pitch name and length.
inline QString selectedNote(int code, bool insert)
{
    const QString name = note::solfege(note::pitchIndex(code));
    const int length = note::lengthIndex(code);
    const QString what = name + (length >= 0 && length < 4 ? QStringLiteral("（") + Lengths[length] + QStringLiteral("）")
                                                           : QString());
    return insert ? what + QStringLiteral(" の まえに いれる 音符を えらんでね")
                  : what + QStringLiteral(" を どの 音符に かえる？");
}

} // namespace kr31::melodytext
