#pragma once

#include "link/SoundOutput.h"

namespace kr31 {

// SoundOutput through a sound server's native protocol (PulseAudio, or
// PipeWire through pipewire-pulse).
class PulseSoundOutput final : public SoundOutput
{
public:
    explicit PulseSoundOutput(int marginMs = 5000);
    ~PulseSoundOutput() override;

    // Whether a server answers (none is started for us).
    bool connect();

    void noteState() override {}
    void prepare() override {}
    void silence() override {}
    void restore(bool) override {}
    bool play(const QString &, QString *) override { return false; }

private:
    int m_marginMs;
};

} // namespace kr31
