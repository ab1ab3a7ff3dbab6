#include "core/RealClock.h"

#include <QTimer>

namespace kr31 {

RealClock::RealClock()
{
    m_timer.start();
}

quint32 RealClock::tickCount()
{
    return quint32(m_timer.elapsed());
}

void RealClock::after(int ms, std::function<void()> then)
{
    QTimer::singleShot(qMax(ms, 0), Qt::PreciseTimer, m_context.get(), std::move(then));
}

} // namespace kr31
