#pragma once

#include <QStringList>

namespace kr31 {

// The mixer steps around a transfer. Every step skips silently what the
// hardware lacks (no speakers line, no "wave" line, no volume control...).
class SoundMixer
{
public:
    virtual ~SoundMixer() = default;

    // Notes the current mixer state so that restore() can put it back.
    virtual void noteState() = 0;
    // Speakers and wave line to full volume, centred, unmuted.
    virtual void prepare() = 0;
    // Mutes the speakers line.
    virtual void silence() = 0;
    // Puts back the noted volumes and balances and unmutes the speakers;
    // atExit also puts the speakers' mute back to its noted state.
    virtual void restore(bool atExit) = 0;

    // The mixer state that noteState() found, as text lines for the file that
    // brings it back after the program was killed; empty when nothing was noted.
    virtual QStringList notedState() const { return {}; }
    // Puts back a state given by notedState() (of this run or of one that was
    // killed); false when the lines are not this output's or name a device
    // that is gone.
    virtual bool restoreNoted(const QStringList &lines)
    {
        Q_UNUSED(lines);
        return false;
    }
    // Takes a state given by notedState() (of another run of the program) as
    // the noted one, without setting anything: restore() then puts it back.
    // False when the lines are not this output's.
    virtual bool adoptNoted(const QStringList &lines)
    {
        Q_UNUSED(lines);
        return false;
    }
};

} // namespace kr31
