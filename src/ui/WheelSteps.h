#pragma once

#include <QWheelEvent>

namespace kr31 {

// Whole steps of a mouse wheel (120 eighths of a degree each); the small
// turns of a finer (high-resolution) wheel add up to steps.
class WheelSteps
{
public:
    int take(const QWheelEvent *event)
    {
        m_rest += event->angleDelta().y();
        const int steps = m_rest / 120;
        m_rest -= steps * 120;
        return steps;
    }

private:
    int m_rest = 0;
};

} // namespace kr31
