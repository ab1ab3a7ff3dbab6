#include "core/RealClock.h"

#include "core/InputBlocker.h"

#include <QCoreApplication>
#include <QThread>

namespace kr31 {

RealClock::RealClock()
{
    m_timer.start();
}

quint32 RealClock::tickCount()
{
    return quint32(m_timer.elapsed());
}

void RealClock::wait(int ms)
{
    const quint32 start = tickCount();
    InputBlocker blocker;
    while (!waited(start, tickCount(), quint32(qMax(ms, 0)))) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1); // a short nap instead of spinning a core at 100 %
    }
}

} // namespace kr31
