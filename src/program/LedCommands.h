#pragma once

#include <QList>
#include <QString>

namespace kr31 {

// One argument of an LED command: its label in the editors and its range.
struct ArgumentRange
{
    QString label;
    int min;
    int max;

    // True when text is a decimal integer (not "-0") within min..max.
    bool accepts(const QString &text) const;
};

// One of the twelve LED commands.
struct LedCommand
{
    int code;
    QString name;     // the system's name: "ON", "Light", "F_In"...
    QString caption;  // Japanese label in the flowchart's command box
    QString textName; // default name in the text language (Command/1..12)
    QList<ArgumentRange> arguments;
    int weight;       // bytes of device memory
};

namespace code {
inline constexpr int On = 16, Off = 17, Light = 18, FadeIn = 19, FadeOut = 20, Time = 21, Repeat = 22, Touch = 23,
                     TouchFadeIn = 24, TouchFadeOut = 25, Beep = 26, Filler = 27, Stop = 100;
} // namespace code

// The twelve commands in the order of the text language's keys 1..12.
const QList<LedCommand> &ledCommands();

// The command with this code; nullptr for anything else (27, loop variants...).
const LedCommand *findCommand(int code);

// The command's name as the learner reads it on its card, on one line
// ("だんだんつける"); the loop variants are named as Repeat; empty for others.
QString learnerName(int code);

// 221, 222 (For loops) and 231, 232 (While loops): repeats written by the text language.
bool isLoopVariant(int code);

} // namespace kr31
