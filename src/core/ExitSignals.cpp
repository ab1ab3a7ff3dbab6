#include "core/ExitSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace kr31 {

namespace {

constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr unsigned char StopWatching = 0;

// Made once and never closed: a handler that runs as the watcher goes still
// writes into an open pipe.
int g_pipe[2] = {-1, -1};
std::atomic<int> g_caught{0};

void onSignal(int signal)
{
    const int savedErrno = errno;
    if (g_caught.exchange(signal) != 0) {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void setAction(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : Signals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

void ignoreBrokenPipes()
{
    ::signal(SIGPIPE, SIG_IGN);
}

ExitSignals::ExitSignals(std::function<void()> beforeExit)
    : m_beforeExit(std::move(beforeExit))
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC) != 0)
        return;
    g_caught = 0;
    m_watcher = std::thread([this] { watch(); });
    setAction(onSignal);
}

ExitSignals::~ExitSignals()
{
    if (!m_watcher.joinable())
        return;
    setAction(SIG_DFL);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &StopWatching, 1);
    m_watcher.join();
}

void ExitSignals::watch()
{
    unsigned char byte = StopWatching;
    while (::read(g_pipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    if (byte == StopWatching)
        return;
    m_beforeExit();
    const int signal = byte;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal); // not reached: the default action ends the process
}

} // namespace kr31
