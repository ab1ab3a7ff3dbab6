#include "cli/SendProgress.h"

#include <QtGlobal>

namespace kr31 {

namespace {
constexpr int BarWidth = 30;
constexpr int SliceMs = 100;
} // namespace

SendProgress::SendProgress(QTextStream &err, int totalMs)
    : m_err(err)
    , m_total(qMax(1, totalMs))
{
    draw(0);
}

QString SendProgress::line(int doneMs, int totalMs)
{
    totalMs = qMax(1, totalMs);
    doneMs = qBound(0, doneMs, totalMs);
    const int filled = int(qint64(doneMs) * BarWidth / totalMs);
    const int secondsLeft = (totalMs - doneMs + 999) / 1000;
    return QStringLiteral("送信中 [%1%2] 残り %3 秒")
        .arg(QString(filled, u'#'), QString(BarWidth - filled, u'-'))
        .arg(secondsLeft);
}

void SendProgress::draw(int doneMs)
{
    const QString text = line(doneMs, m_total);
    if (text == m_last)
        return;
    m_last = text;
    m_err << '\r' << text;
    m_err.flush();
    m_open = true;
}

void SendProgress::advance(int ms)
{
    m_done += ms;
    draw(m_done);
}

void SendProgress::during(int ms)
{
    draw(m_done + ms);
}

void SendProgress::breakLine()
{
    if (!m_open)
        return;
    m_err << '\n';
    m_err.flush();
    m_open = false;
    m_last.clear();
}

void SendProgress::finish(bool completed)
{
    if (completed)
        draw(m_total);
    breakLine();
}

ProgressClock::ProgressClock(Clock &inner, SendProgress &progress)
    : m_inner(inner)
    , m_progress(progress)
{
}

void ProgressClock::after(int ms, std::function<void()> then)
{
    if (ms <= 0) {
        then();
        return;
    }
    const int slice = qMin(ms, SliceMs);
    m_inner.after(slice, [this, slice, ms, then = std::move(then)]() mutable {
        m_progress.advance(slice);
        after(ms - slice, std::move(then));
    });
}

} // namespace kr31
