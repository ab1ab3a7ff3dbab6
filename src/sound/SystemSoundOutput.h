#pragma once

#include "sound/AlsaSoundOutput.h"

#include <mutex>
#include <memory>

namespace kr31 {

class PulseSoundOutput;

// This computer's sound output: through the desktop's sound server where one
// answers (PulseAudio, or PipeWire through pipewire-pulse), otherwise straight
// to ALSA. The choice is made once, when the mixer state is first noted (or
// at the first sound), and holds for the run.
class SystemSoundOutput final : public SoundOutput
{
public:
    // marginMs: how much longer than the sound itself a playback may take.
    explicit SystemSoundOutput(int marginMs = 5000);
    ~SystemSoundOutput() override;

    void noteState() override;
    void prepare() override;
    void silence() override;
    void restore(bool atExit) override;
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    void stopPlaying() override;
    QStringList notedState() const override;
    bool restoreNoted(const QStringList &lines) override;
    bool adoptNoted(const QStringList &lines) override;

private:
    SoundOutput &active() const;
    void choose() const;

    int m_marginMs;
    mutable AlsaSoundOutput m_alsa;
    mutable std::unique_ptr<PulseSoundOutput> m_pulse;
    mutable std::once_flag m_chosen;
};

} // namespace kr31
