#pragma once

#include <QString>
#include <QStringList>

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

    // Plays a transfer sound built in transfer mode `mode` (0..3). An output
    // that sees more than the plain device (a sound server sees the output's
    // real rate, the program's own stream volume and what left the speakers)
    // refuses, or reports as a failure, what the lamp could not hear; a sound
    // that left but may not be heard exactly is played and *warning says why.
    // This default plays it as play() does.
    virtual bool playTransfer(const QString &path, int mode, QString *error, QString *warning)
    {
        Q_UNUSED(mode);
        Q_UNUSED(warning);
        return play(path, error);
    }

    // A transfer's steps as a send job takes them: each returns at once when
    // the output works on a thread of its own, and done then runs on the
    // calling thread once the step has ended; these defaults do the step
    // here and call done before they return.
    // prepare(), which may first wait for another program's transfer.
    virtual void startPrepare(std::function<void()> done)
    {
        prepare();
        done();
    }
    // playTransfer(); done gets (played, error, warning).
    virtual void startTransfer(const QString &path, int mode,
                               std::function<void(bool, const QString &, const QString &)> done)
    {
        QString error, warning;
        const bool played = playTransfer(path, mode, &error, &warning);
        done(played, error, warning);
    }
    // The silence() that ends a transfer begun by startPrepare(): from then
    // on other sounds and mixer steps are taken again.
    virtual void finishTransfer() { silence(); }

    // Ends the sound that play() plays on another thread as soon as it can;
    // that play() then returns true (the sound was ended on purpose). Safe
    // from any thread; nothing happens when nothing plays.
    virtual void stopPlaying() {}

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
    // Ends a sound that playInBackground() started (its done still runs, as
    // played); nothing when none plays.
    virtual void stopBackground() {}
};

} // namespace kr31
