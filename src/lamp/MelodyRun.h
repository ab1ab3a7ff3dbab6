#pragma once

#include <QByteArray>
#include <QList>

#include <array>

// The lamp playing the alarm melody of a melody packet, with its LED
// following the link values: a pure state machine fed with elapsed time.
namespace kr31::lamp {

struct MelodyState
{
    int brightness = 0;              // 0..255
    std::array<int, 2> note{-1, -1}; // the note sounding in each voice; -1 before, between voices' ends and after
    qint64 elapsedMs = 0;
    bool stopped = false;            // both voices have ended (or the packet was no melody)
    bool operator==(const MelodyState &) const = default;
};

// One note of a voice as the lamp sounds it: a pitch as the preview plays it,
// with its gap; a rest as long as a note of its length with the gap (an
// eighth rest 0.25 s, a half rest 1 s), so the two voices keep in step.
QByteArray noteSound(int code);
// A whole voice: its notes' sounds one after another.
QByteArray voiceSound(const QList<int> &notes);

class MelodyRun
{
public:
    // body: the 208 values after the header 5: the link block, then each
    // voice's 96 slots, read up to its first 204.
    explicit MelodyRun(const QList<int> &body);
    // A whole decoded packet; a header other than 5 plays nothing.
    static MelodyRun fromPacket(const QList<int> &packet);

    const std::array<QList<int>, 2> &voices() const { return m_voices; }
    bool linked() const { return m_linked; }
    // How long the longer voice plays, as voiceSound sounds it.
    qint64 lengthMs() const;
    const MelodyState &state() const { return m_state; }
    void advance(qint64 ms);

private:
    int brightnessOf(int code) const;

    std::array<QList<int>, 2> m_voices;
    std::array<QList<qint64>, 2> m_starts; // sample at which each note begins, then the voice's end
    bool m_linked = false;
    std::array<int, 13> m_link{};
    MelodyState m_state;
};

} // namespace kr31::lamp
