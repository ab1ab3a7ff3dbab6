#pragma once

#include "core/Services.h"

#include <QString>
#include <QTextStream>

namespace kr31 {

// A one-line bar on a terminal while a transfer runs: how much of the whole
// sequence (its waits and the sound) has passed, and the seconds left. Each
// drawing starts with a carriage return so it overwrites the last one.
class SendProgress
{
public:
    SendProgress(QTextStream &err, int totalMs);

    // A step of totalMs has finished (a wait, a slice of one).
    void advance(int ms);
    // The current step (the sound) has got ms far.
    void during(int ms);
    // Ends the line of the bar (before a message), if one is drawn.
    void breakLine();
    // Draws the full bar when the transfer completed, and ends the line.
    void finish(bool completed);

    // The text of the bar after doneMs of totalMs, e.g. "[####----] 残り 3 秒".
    static QString line(int doneMs, int totalMs);

private:
    void draw(int doneMs);

    QTextStream &m_err;
    int m_total;
    int m_done = 0;
    QString m_last;
    bool m_open = false; // a bar stands on the current line
};

// A clock whose waits move a SendProgress on in short slices.
class ProgressClock : public Clock
{
public:
    ProgressClock(Clock &inner, SendProgress &progress);
    quint32 tickCount() override { return m_inner.tickCount(); }
    void after(int ms, std::function<void()> then) override;

private:
    Clock &m_inner;
    SendProgress &m_progress;
};

} // namespace kr31
