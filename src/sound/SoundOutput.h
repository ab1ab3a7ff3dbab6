#pragma once

#include "sound/SoundMixer.h"
#include "sound/SoundPlayer.h"

#include <QString>

#include <functional>

namespace kr31 {

// The computer's sound output: the mixer steps and the player together, and
// the ways a window or a send job plays without waiting for the sound.
class SoundOutput : public SoundMixer, public SoundPlayer
{
public:
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
