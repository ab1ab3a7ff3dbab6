#pragma once

#include "core/Services.h"

#include <QElapsedTimer>

namespace kr31 {

// The clock of a running program: a monotonic millisecond count and a wait
// that processes events (painting, timers; user input is dropped).
class RealClock : public Clock
{
public:
    RealClock();
    quint32 tickCount() override;
    void wait(int ms) override;

private:
    QElapsedTimer m_timer;
};

// True once `start` lies at least ms ticks behind `now`; unsigned 32-bit
// arithmetic, so a wrap of the counter does no harm.
inline bool waited(quint32 start, quint32 now, quint32 ms)
{
    return quint32(now - start) >= ms;
}

} // namespace kr31
