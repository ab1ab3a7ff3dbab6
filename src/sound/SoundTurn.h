#pragma once

#include "sound/SoundOutputDecorator.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>

namespace kr31 {

// The file on which the processes of this program take turns to play:
// kr31-sound.lock in this user's runtime folder (never one users share).
QString soundTurnPath();

// A SoundOutput around another that lets one sound of this program play at a
// time on this computer: every play takes an exclusive lock (flock) on a file
// shared by all our processes and waits while another holds it. A transfer
// takes its turn at prepare(), before it writes its sound file (which every
// process of ours names alike), and keeps it until silence() or restore(), so
// that its muting cannot fall into the next transfer. Another sound (a
// preview) takes its turn at play(); a sound file that another process wrote
// over while it waited is written back before it plays. A play that cannot
// open the lock file plays without a turn.
class SoundTurn final : public SoundOutputDecorator
{
public:
    // waiting(true) when a play starts waiting for another's sound and
    // waiting(false) when that wait ends (its turn came, it was stopped or it
    // gave up), called on the playing thread. giveUpMs: the longest wait;
    // after it the play fails with a message saying so.
    explicit SoundTurn(SoundOutput &inner, std::function<void(bool waiting)> waiting = {}, int giveUpMs = 120000,
                       QString lockPath = soundTurnPath());
    // Gives the turn up if it still holds it.
    ~SoundTurn() override;

    void prepare() override;
    // Passes the turn on after the inner output has muted.
    void silence() override;
    void restore(bool atExit) override;
    // Waits for the turn first; a wait ended by stopPlaying() returns true
    // without playing.
    bool play(const QString &path, QString *error) override;
    bool playTransfer(const QString &path, int mode, QString *error, QString *warning) override;
    // Ends a wait for the turn as well as the sound.
    void stopPlaying() override;

private:
    enum class Turn { Taken, Stopped, GaveUp };
    Turn takeTurn(QString *error);
    bool playInTurn(const QString &path, const std::function<bool()> &play, QString *error);
    void release();

    std::function<void(bool)> m_waiting;
    int m_giveUpMs;
    QString m_lockPath;
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    bool m_prepared = false;
    // Why the turn a prepare() waited for did not come (empty: stopped).
    std::optional<QString> m_refusal;
    int m_fd = -1; // the locked file while this output has the turn
};

} // namespace kr31
