#include "sound/SystemSoundOutput.h"

#include "sound/PulseSoundOutput.h"

namespace kr31 {

SystemSoundOutput::SystemSoundOutput(int marginMs)
    : m_marginMs(marginMs)
    , m_alsa(marginMs)
{
}

SystemSoundOutput::~SystemSoundOutput() = default;

void SystemSoundOutput::choose() const
{
    std::call_once(m_chosen, [this] {
        auto pulse = std::make_unique<PulseSoundOutput>(m_marginMs);
        if (pulse->connect())
            m_pulse = std::move(pulse);
    });
}

SoundOutput &SystemSoundOutput::active() const
{
    choose();
    if (m_pulse)
        return *m_pulse;
    return m_alsa;
}

void SystemSoundOutput::noteState() { active().noteState(); }
void SystemSoundOutput::prepare() { active().prepare(); }
void SystemSoundOutput::silence() { active().silence(); }
void SystemSoundOutput::restore(bool atExit) { active().restore(atExit); }
bool SystemSoundOutput::play(const QString &path, QString *error) { return active().play(path, error); }
bool SystemSoundOutput::playTransfer(const QString &path, int mode, QString *error, QString *warning)
{
    return active().playTransfer(path, mode, error, warning);
}
void SystemSoundOutput::stopPlaying() { active().stopPlaying(); }
QStringList SystemSoundOutput::notedState() const { return active().notedState(); }
bool SystemSoundOutput::restoreNoted(const QStringList &lines) { return active().restoreNoted(lines); }
bool SystemSoundOutput::adoptNoted(const QStringList &lines) { return active().adoptNoted(lines); }

} // namespace kr31
