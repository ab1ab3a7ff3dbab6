#include "lamp/LampLink.h"

#include "editors/flowchart/FlowchartProgram.h"
#include "lamp/LampMachine.h"
#include "lamp/MelodyRun.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "melody/MelodyPreview.h"
#include "link/Transmitter.h"

namespace kr31::lamp {

std::optional<QList<int>> heardPacket(const Transmitter &transmitter, const Packet &packet, QString *error)
{
    const auto decoded = tone::decode(transmitter.buildSound(packet), error);
    if (!decoded)
        return std::nullopt;
    return decoded->values;
}

QList<int> linePositions(const QStringList &commandList)
{
    QList<int> positions;
    int at = 0;
    for (const QString &line : commandList) {
        if (line == QLatin1String("100"))
            break;
        positions.append(at);
        const auto values = packet::commandValues({line});
        at += values ? int(values->size()) : 1;
    }
    return positions;
}

int lineAt(const QList<int> &linePositions, const QStringList &commandList, int position)
{
    if (position < 0)
        return -1;
    for (int line = int(linePositions.size()) - 1; line >= 0; --line) {
        if (linePositions.at(line) > position)
            continue;
        const auto values = packet::commandValues({commandList.value(line)});
        const int size = values ? int(values->size()) : 1;
        return position < linePositions.at(line) + size ? line : -1;
    }
    return -1;
}

QByteArray beepSound()
{
    constexpr int HalfPeriod = tone::SampleRate / 2000 / 2;
    const int samples = tone::SampleRate / 1000 * timing.beepMs;
    QByteArray sound;
    sound.reserve(samples);
    for (int i = 0; i < samples; ++i)
        sound.append((i / HalfPeriod) % 2 == 0 ? tone::High : tone::Low);
    return sound;
}

QByteArray melodySound(const std::array<QList<int>, 2> &voices)
{
    return preview::mix(voiceSound(voices[0]), voiceSound(voices[1]));
}

QList<int> flowchartLineEntries(const FlowchartProgram &program)
{
    QList<int> entries;
    const QStringList main = program.entries(0);
    for (int i = 0; i < main.size(); ++i) {
        int lines = 1;
        if (flow::isCallEntry(main.at(i))) {
            const auto expanded = expandCalls(program, main.at(i) + u'/', -1);
            lines = expanded ? int(expanded->count(u'/')) : 0;
        }
        for (int k = 0; k < lines; ++k)
            entries.append(i);
    }
    return entries;
}

} // namespace kr31::lamp
