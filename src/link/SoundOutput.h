#pragma once

#include <QString>

#include <functional>

namespace kr31 {

// The computer's sound output as the transfers use it: blocking playback of a
// WAV file and the mixer steps around it. Every mixer step skips silently what
// the hardware lacks (no speakers line, no "wave" line, no volume control...).
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // Notes the current mixer state so that restore() can put it back.
    virtual void noteState() = 0;
    // Speakers and wave line to full volume, centred, unmuted.
    virtual void prepare() = 0;
    // Mutes the speakers line.
    virtual void silence() = 0;
    // Puts back the noted volumes and balances and unmutes the speakers;
    // atExit also puts the speakers' mute back to its noted state.
    virtual void restore(bool atExit) = 0;
    // Plays the WAV file at path and returns when it has finished. On failure
    // returns false and sets *error to a message for the user; never hangs.
    virtual bool play(const QString &path, QString *error) = 0;

    // Starts playing the WAV file at path and returns without waiting; done
    // gets (played, error) on the calling thread when the sound has ended.
    // False (done not called) while an earlier background sound still plays.
    // This default plays the file to its end before it returns.
    virtual bool playInBackground(const QString &path, std::function<void(bool, const QString &)> done)
    {
        QString error;
        const bool ok = play(path, &error);
        done(ok, error);
        return true;
    }
};

} // namespace kr31
