#pragma once

#include "sound/PulseLibrary.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <initializer_list>
#include <optional>

// The plumbing of the sound server output: one short connection with a main
// loop of its own, and what the server says of and does to its outputs.
namespace kr31::pulsesession {

inline constexpr int ConnectMs = 1000;
inline constexpr int StepMs = 2000;

// The loaded client library; call only after pulse() has answered.
const PulseLibrary &P();

// One connection to the server with a main loop of its own, driven by the
// calling thread.
class Session
{
public:
    Session()
    {
        m_loop = P().pa_mainloop_new();
        pa_proplist *props = P().pa_proplist_new();
        P().pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "KR-31");
        P().pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "kr31");
        P().pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "kr31");
        m_context = P().pa_context_new_with_proplist(P().pa_mainloop_get_api(m_loop), "KR-31", props);
        P().pa_proplist_free(props);
    }
    ~Session()
    {
        if (m_context) {
            P().pa_context_disconnect(m_context);
            P().pa_context_unref(m_context);
        }
        P().pa_mainloop_free(m_loop);
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    pa_context *context() const { return m_context; }

    // Connects without starting a server; false when none answers in time.
    bool connect()
    {
        if (!m_context || P().pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        return until(ConnectMs, [this] {
            const pa_context_state_t state = P().pa_context_get_state(m_context);
            return state == PA_CONTEXT_READY ? 1 : PA_CONTEXT_IS_GOOD(state) ? 0 : -1;
        });
    }

    // Runs the loop until ready() answers 1 (true) or -1 (false), at most ms milliseconds (false).
    template<typename Ready>
    bool until(int ms, Ready ready)
    {
        QElapsedTimer clock;
        clock.start();
        for (int answer = ready(); answer == 0; answer = ready()) {
            if (clock.elapsed() > ms)
                return false;
            iterate(10);
        }
        return ready() > 0;
    }

    // Runs the loop for at most ms milliseconds, or until something happened.
    void iterate(int ms)
    {
        if (P().pa_mainloop_prepare(m_loop, ms * 1000) >= 0 && P().pa_mainloop_poll(m_loop) >= 0)
            P().pa_mainloop_dispatch(m_loop);
    }

    // Waits for an operation to end (false when it could not start or took too long).
    bool await(pa_operation *op, int ms = StepMs) { return awaitAll({op}, ms); }
    // Waits for operations sent together, so that they take one round trip.
    bool awaitAll(std::initializer_list<pa_operation *> ops, int ms = StepMs)
    {
        const auto running = [&] {
            return std::any_of(ops.begin(), ops.end(), [](pa_operation *op) {
                return op && P().pa_operation_get_state(op) == PA_OPERATION_RUNNING;
            });
        };
        QElapsedTimer clock;
        clock.start();
        while (running() && clock.elapsed() < ms)
            iterate(10);
        bool done = true;
        for (pa_operation *op : ops) {
            done = done && op && P().pa_operation_get_state(op) == PA_OPERATION_DONE;
            if (op)
                P().pa_operation_unref(op);
        }
        return done;
    }

private:
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
};

// What the server says of an output.
struct OutputInfo
{
    bool found = false;
    QString name;
    quint32 index = 0;
    quint32 rate = 0;
    QString monitor;
    pa_cvolume volume{};
    bool mute = false;
};

// The default output's name; empty when the server names none.
QString defaultOutputName(Session &session);
// The output of that name or number; found is false when there is none.
OutputInfo outputNamed(Session &session, const QString &name);
OutputInfo outputNumbered(Session &session, quint32 index);
// channels channels at 100 %.
pa_cvolume fullVolume(int channels);
// Sets an output's volume and mute, each where given.
void setOutput(Session &session, const QString &name, const pa_cvolume *volume, std::optional<bool> mute);

// Runs step on a fresh connection to the server; nothing when none answers.
template<typename Step>
void withServer(Step step)
{
    if (!pulse())
        return;
    Session session;
    if (session.connect())
        step(session);
}

} // namespace kr31::pulsesession
