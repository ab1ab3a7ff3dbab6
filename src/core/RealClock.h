#pragma once

#include "core/Services.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

namespace kr31 {

// The clock of a running program: a monotonic millisecond count, and later
// steps on the event loop's timers (gone with the clock).
class RealClock : public Clock
{
public:
    RealClock();
    quint32 tickCount() override;
    void after(int ms, std::function<void()> then) override;

private:
    QElapsedTimer m_timer;
    std::unique_ptr<QObject> m_context = std::make_unique<QObject>();
};

// True once `start` lies at least ms ticks behind `now`; unsigned 32-bit
// arithmetic, so a wrap of the counter does no harm.
inline bool waited(quint32 start, quint32 now, quint32 ms)
{
    return quint32(now - start) >= ms;
}

} // namespace kr31
