#pragma once

#include <functional>
#include <thread>

namespace kr31 {

// A write into a pipe whose reader has gone (a sound server or a sound
// plugin's pipe going away mid-transfer) fails with an error that the sound
// output reports, instead of ending the program. Call once at start.
void ignoreBrokenPipes();

// While it lives, SIGINT, SIGTERM and SIGHUP end the program only after
// beforeExit has run (on a thread of its own, as the handler itself may do
// almost nothing); the program then ends by that signal as if it had not been
// caught, with the usual status. A second signal while beforeExit runs ends
// it at once. No signal is blocked: child processes inherit masks. One at a
// time per process.
class ExitSignals
{
public:
    explicit ExitSignals(std::function<void()> beforeExit);
    // Gives the three signals their default action back; waits while
    // beforeExit runs.
    ~ExitSignals();

    ExitSignals(const ExitSignals &) = delete;
    ExitSignals &operator=(const ExitSignals &) = delete;

private:
    void watch();

    std::function<void()> m_beforeExit;
    std::thread m_watcher;
};

} // namespace kr31
