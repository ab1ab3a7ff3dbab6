#include "program/LedCommands.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "program/CommandWords.h"

namespace kr31 {

bool ArgumentRange::accepts(const QString &text) const
{
    if (!text::isInteger(text))
        return false;
    const int value = *text::toInt(text);
    return value >= min && value <= max;
}

const QList<LedCommand> &ledCommands()
{
    static const ArgumentRange brightness{QStringLiteral("明るさ(%)"), 0, 100};
    static const ArgumentRange unit{QStringLiteral("更新単位"), 1, 255};
    static const QList<LedCommand> table = {
        {code::On, "ON", "ON", "ON", {}, 1},
        {code::Off, "OFF", "OFF", "OFF", {}, 1},
        {code::Light, "Light", "明るさ設定", "Bright", {brightness}, 2},
        {code::FadeIn, "F_In", "だんだん明るく", "FadeIn", {brightness, unit}, 3},
        {code::FadeOut, "F_Out", "だんだん暗く", "FadeOut", {brightness, unit}, 3},
        {code::Time, "Time", "タイマ", "Timer", {{QStringLiteral("時間(秒)"), 1, limits::MaxTime}}, 3},
        {code::Repeat, "Repeat", "繰り返し", "Repeat",
         {{QStringLiteral("戻り番地"), 0, limits::MaxTotal - 1}, {QStringLiteral("繰返回数(回)"), 1, 255}}, 3},
        {code::Touch, "Touch", "タッチ待ち", "Touch", {}, 1},
        {code::TouchFadeIn, "T_F_In", "タッチ中だんだん明るく", "TouchIn", {}, 1},
        {code::TouchFadeOut, "T_F_Out", "タッチ中だんだん暗く", "TouchOut", {}, 1},
        {code::Beep, "Beep", "確認音", "Beep", {}, 1},
        {code::Stop, "Stop", "動作終了", "Stop", {}, 0},
    };
    return table;
}

const LedCommand *findCommand(int code)
{
    for (const LedCommand &command : ledCommands()) {
        if (command.code == code)
            return &command;
    }
    return nullptr;
}

QString learnerName(int code)
{
    const words::CommandWords *w = words::find(isLoopVariant(code) ? code::Repeat : code);
    return w ? QString::fromUtf8(w->card).remove(u'\n') : QString();
}

bool isLoopVariant(int code)
{
    return code == 221 || code == 222 || code == 231 || code == 232;
}

} // namespace kr31
