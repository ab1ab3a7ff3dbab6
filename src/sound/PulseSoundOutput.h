#pragma once

#include "sound/SoundOutput.h"

#include <QList>

#include <atomic>
#include <mutex>
#include <optional>

namespace kr31 {

// SoundOutput through a sound server's own protocol (PulseAudio, or PipeWire
// through pipewire-pulse). The speakers line is the server's default output;
// the wave line is the program's own stream, which a transfer plays at full
// level and unmuted whatever the server remembers for the program. A transfer
// is checked before it starts (the output must run at 48 kHz) and, where the
// output has a monitor, what left it is recorded and compared with what was
// sent. Every step makes its own short connection, so any thread may call it.
class PulseSoundOutput final : public SoundOutput
{
public:
    // What noteState() found on the default output.
    struct OutputState
    {
        QString name;
        QList<quint32> volumes; // per channel, the server's units (65536 is 100 %)
        bool mute = false;
        bool operator==(const OutputState &) const = default;
    };

    // marginMs: how much longer than the sound itself a playback may take.
    explicit PulseSoundOutput(int marginMs = 5000);
    ~PulseSoundOutput() override;

    // Whether a server answers within a second (none is started for us).
    bool connect();

    // Notes the default output's volume per channel and its mute.
    void noteState() override;
    // The default output to 100 % on every channel (so centred), unmuted.
    void prepare() override;
    // Mutes the default output.
    void silence() override;
    // Puts the noted volumes back exactly (above 100 % too) on the noted
    // output, unmuted unless atExit, which puts its mute back as well.
    void restore(bool atExit) override;
    // Plays for a person (preview, audition, the lamp's melody) on the default
    // output at the volume the server keeps for the program.
    bool play(const QString &path, QString *error) override;
    // Plays a transfer: the program's stream at 100 %, the output's rate
    // checked first (modes 2 and 3 refused below 48 kHz, modes 0 and 1 sent
    // with a warning), a stream that the server corks, moves, starves or
    // kills reported, and what the monitor heard compared with the sound.
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    void stopPlaying() override { m_stop = true; }
    QStringList notedState() const override;
    bool restoreNoted(const QStringList &lines) override;
    bool adoptNoted(const QStringList &lines) override;

    // The state as notedState() writes it, and back; nullopt for lines of
    // another kind.
    static QStringList stateLines(const OutputState &state);
    static std::optional<OutputState> stateOf(const QStringList &lines);

private:
    bool playFile(const QString &path, std::optional<int> transferMode, QString *error, QString *warning);
    void putBack(const OutputState &state, bool mute);

    int m_marginMs;
    mutable std::mutex m_mutex;
    std::optional<OutputState> m_noted;
    std::atomic<bool> m_stop{false};
};

} // namespace kr31
