#pragma once

#include "lamp/LampMachine.h"

#include <QString>

// The captions of the virtual lamp window.
namespace kr31::lamptext {

inline const QString Ready = QStringLiteral("スタートを おしてね");
inline const QString Running = QStringLiteral("うごいているよ");
inline const QString WaitTouch = QStringLiteral("タッチを まっているよ！");
inline const QString TouchFade = QStringLiteral("タッチしている あいだ かわるよ");
inline const QString Beep = QStringLiteral("ピッ！");
inline const QString Finished = QStringLiteral("おしまい");
inline const QString Halted = QStringLiteral("とめたよ");
inline const QString Playing = QStringLiteral("メロディを ならしているよ ♪");
inline const QString Timer = QStringLiteral("タイマー のこり %1");
inline const QString Step = QStringLiteral("いま %1ばん：%2");
inline const QString Brightness = QStringLiteral("あかるさ %1%");
inline const QString TouchTip = QStringLiteral("おしている あいだ タッチ");
inline const QString Speed = QStringLiteral("タイマーの はやさ");
inline const QString Notes = QStringLiteral("メロディ１：%1　メロディ２：%2");
inline const QString NoNote = QStringLiteral("－");
inline const QString CannotHear = QStringLiteral("おくる おとを ききとれませんでした。");

// Why a run stopped early, for the learner.
inline QString fault(lamp::Fault fault, int position)
{
    switch (fault) {
    case lamp::Fault::UnknownCode:
        return QStringLiteral("%1ばんめの あたいが めいれいでは ありません").arg(position);
    case lamp::Fault::Cut:
        return QStringLiteral("%1ばんめの めいれいが とちゅうで きれています").arg(position);
    case lamp::Fault::BadReturn:
        return QStringLiteral("%1ばんめの くりかえしの もどりさきが ありません").arg(position);
    case lamp::Fault::NotLedProgram:
        return QStringLiteral("LEDの プログラムでは ありません");
    case lamp::Fault::None:
        break;
    }
    return {};
}

} // namespace kr31::lamptext
