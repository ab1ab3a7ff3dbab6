#pragma once

#include <QString>

namespace kr31 {

// Blocking playback of a WAV file.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;

    // Plays the WAV file at path and returns when it has finished. On failure
    // returns false and sets *error to a message for the user; never hangs.
    virtual bool play(const QString &path, QString *error) = 0;

    // Plays a transfer sound built in transfer mode `mode` (0..3). A player
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

    // Ends the sound that play() plays on another thread as soon as it can;
    // that play() then returns true (the sound was ended on purpose). Safe
    // from any thread; nothing happens when nothing plays.
    virtual void stopPlaying() {}
};

} // namespace kr31
