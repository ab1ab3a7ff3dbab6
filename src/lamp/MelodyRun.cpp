#include "lamp/MelodyRun.h"

#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "melody/MelodyPreview.h"
#include "melody/NoteCode.h"

#include <algorithm>

namespace kr31::lamp {

namespace {

constexpr int LinkBlock = 16;
constexpr int VoiceSlots = 96;

// A quarter of a second: the length of an eighth note.
constexpr int EighthSamples = tone::SampleRate / 4;

qint64 restSamples(int code)
{
    return qint64(note::lengthFactor(code)) * EighthSamples + preview::GapSamples;
}

qint64 noteSamples(int code)
{
    if (note::frequency(code) == 0)
        return restSamples(code);
    return preview::tone(code).size() + preview::GapSamples;
}

} // namespace

QByteArray noteSound(int code)
{
    if (note::frequency(code) == 0)
        return QByteArray(restSamples(code), tone::Low);
    return preview::tone(code) + QByteArray(preview::GapSamples, tone::Low);
}

QByteArray voiceSound(const QList<int> &notes)
{
    QByteArray samples;
    for (int code : notes)
        samples += noteSound(code);
    return samples;
}

MelodyRun::MelodyRun(const QList<int> &body)
{
    m_linked = !body.isEmpty() && body.first() == 1;
    for (int i = 0; i < 13; ++i)
        m_link[i] = body.value(1 + i);
    for (int voice = 0; voice < 2; ++voice) {
        const int first = LinkBlock + voice * VoiceSlots;
        qint64 at = 0;
        for (int slot = 0; slot < VoiceSlots && first + slot < body.size(); ++slot) {
            const int code = body.at(first + slot);
            if (code == note::EmptySlot)
                break;
            m_voices[voice].append(code);
            m_starts[voice].append(at);
            at += noteSamples(code);
        }
        m_starts[voice].append(at);
    }
    advance(0);
}

MelodyRun MelodyRun::fromPacket(const QList<int> &packet)
{
    if (packet.isEmpty() || packet.first() != packet::MelodyHeader)
        return MelodyRun({});
    return MelodyRun(packet.mid(1));
}

qint64 MelodyRun::lengthMs() const
{
    const qint64 samples = std::max(m_starts[0].last(), m_starts[1].last());
    return (samples * 1000 + tone::SampleRate - 1) / tone::SampleRate;
}

int MelodyRun::brightnessOf(int code) const
{
    if (!m_linked)
        return 0;
    const int pitch = note::pitchIndex(code);
    if (pitch < 0 || pitch == note::RestPitch)
        return m_link[12];
    return m_link[pitch % 12];
}

void MelodyRun::advance(qint64 ms)
{
    m_state.elapsedMs += std::max<qint64>(0, ms);
    const qint64 sample = m_state.elapsedMs * tone::SampleRate / 1000;
    for (int voice = 0; voice < 2; ++voice) {
        const QList<qint64> &starts = m_starts[voice];
        // The last note that began at or before this sample, if the voice has not ended.
        const auto after = std::upper_bound(starts.begin(), starts.end(), sample);
        const int index = int(after - starts.begin()) - 1;
        m_state.note[voice] = index < m_voices[voice].size() ? index : -1;
    }
    m_state.stopped = m_state.elapsedMs >= lengthMs();
    // The light follows Melody 1 and, once it has ended, Melody 2.
    const int leading = m_state.note[0] >= 0 ? 0 : 1;
    const int index = m_state.note[leading];
    m_state.brightness = index >= 0 ? brightnessOf(m_voices[leading].at(index)) : 0;
}

} // namespace kr31::lamp
