#include "link/Packets.h"

#include "core/TextTools.h"
#include "program/CommandList.h"
#include "program/LedCommands.h"

namespace kr31::packet {

int brightnessByte(int percent)
{
    return int(text::roundHalfEven(qint64(percent) * 255, 100));
}

std::optional<QList<int>> commandValues(const QStringList &commandList, int *badLine)
{
    QList<int> values;
    const QStringList lines = commandlist::body(commandList);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(u',');
        QList<int> numbers;
        for (const QString &f : fields) {
            const auto n = text::toInt(f);
            if (!n) {
                if (badLine)
                    *badLine = i;
                return std::nullopt;
            }
            numbers.append(*n);
        }
        const int code = numbers.at(0);
        values.append(isLoopVariant(code) ? code::Repeat : code);
        if (numbers.size() == 1)
            continue;
        const int arg = numbers.at(1);
        if (code == code::Light || code == code::FadeIn || code == code::FadeOut) {
            values.append(brightnessByte(arg));
        } else if (code == code::Time) {
            values.append((arg >> 8) & 0xFF);
            values.append(arg & 0xFF);
        } else if (code == code::Repeat || isLoopVariant(code)) {
            values.append(arg + 208);
        } else {
            values.append(arg);
        }
        for (int f = 2; f < numbers.size(); ++f)
            values.append(numbers.at(f));
    }
    return values;
}

std::optional<Packet> ledProgram(const QStringList &commandList, int *badLine)
{
    auto values = commandValues(commandList, badLine);
    if (!values)
        return std::nullopt;
    // Only bytes reach the lamp: a value out of 0..255 (256 would be heard as 0) is refused.
    for (int value : values->mid(0, LedProgramBody)) {
        if (value < 0 || value > 255) {
            if (badLine)
                *badLine = -1;
            return std::nullopt;
        }
    }
    Packet result{LedProgramHeader};
    result.append(values->mid(0, LedProgramBody));
    while (result.size() < LedProgramBody + 1)
        result.append(code::Filler);
    return result;
}

Packet shortCommand(int value)
{
    return {value};
}

Packet brightness(int percent)
{
    return {BrightnessHeader, brightnessByte(percent)};
}

Packet melody(const QList<int> &settings, const QList<int> &melodyValues)
{
    Packet result{MelodyHeader};
    result.append(settings);
    result.append(melodyValues);
    while (result.size() < MelodyBody + 1)
        result.append(MelodyFiller);
    return result;
}

QStringList ledResetList()
{
    QStringList lines;
    for (int v : {23, 19, 5, 36, 26, 23, 19, 44, 8, 26, 23, 19, 255, 4, 26, 26, 23, 20, 0, 5, 26})
        lines.append(QString::number(v));
    while (lines.size() < LedProgramBody)
        lines.append(QStringLiteral("27"));
    return lines;
}

Packet ledReset()
{
    return *ledProgram(ledResetList());
}

Packet melodyReset()
{
    QList<int> settings{1};
    settings.append(QList<int>(11, 255));
    settings.append({0, 255, 0, 0});
    return melody(settings, {84, 83});
}

Packet alarmSound(int pattern)
{
    Q_ASSERT(pattern >= 1 && pattern <= 4);
    return melody(QList<int>(16, 0), {199 + pattern});
}

Packet wizardTestMelody()
{
    return melody(QList<int>(16, 0), {60, 62, 64});
}

} // namespace kr31::packet
