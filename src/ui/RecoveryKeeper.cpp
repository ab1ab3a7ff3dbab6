#include "ui/RecoveryKeeper.h"

#include <QDebug>

namespace kr31 {

RecoveryKeeper::RecoveryKeeper(QObject *editor, Clock &clock, QString key, Snapshot snapshot, Restore restore)
    : QObject(editor)
    , m_clock(clock)
    , m_key(std::move(key))
    , m_snapshot(std::move(snapshot))
    , m_restore(std::move(restore))
{
    setObjectName(QStringLiteral("Recovery_") + m_key);
    // Woken when the copy falls due, to the millisecond: the delay is what a kill can lose.
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::poll);
}

void RecoveryKeeper::edited()
{
    const quint32 now = m_clock.tickCount();
    m_debounce.edited(now);
    m_timer.start(int(m_debounce.msUntilDue(now)));
}

void RecoveryKeeper::discard()
{
    m_debounce.clear();
    m_timer.stop();
    if (m_wrote)
        recovery::removeCopy(m_key);
    m_wrote = false;
}

void RecoveryKeeper::poll()
{
    const quint32 now = m_clock.tickCount();
    if (!m_debounce.due(now)) {
        if (m_debounce.pending())
            m_timer.start(int(m_debounce.msUntilDue(now))); // woken early
        else
            m_timer.stop();
        return;
    }
    write();
}

void RecoveryKeeper::write()
{
    m_debounce.clear();
    m_timer.stop();
    if (!recovery::keepsCopies())
        return; // another kr31 running keeps the copies of this work folder
    QString error;
    // A copy that cannot be written (a full disk) is no reason to interrupt
    // the learner: the next edit tries again.
    if (recovery::writeCopy(m_key, m_snapshot(), &error))
        m_wrote = true;
    else
        qWarning().noquote() << "recovery copy" << m_key << "not written:" << error;
}

bool RecoveryKeeper::restore(const QStringList &lines)
{
    if (!m_restore(lines))
        return false;
    if (markModified)
        markModified();
    write();
    return true;
}

} // namespace kr31
