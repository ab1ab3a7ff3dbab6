#include "lamp/LampMachine.h"

#include "link/Packets.h"
#include "program/LedCommands.h"

#include <algorithm>

namespace kr31::lamp {

namespace {

constexpr int ReturnBase = 208;

qint64 ceilDiv(qint64 a, qint64 b)
{
    return (a + b - 1) / b;
}

} // namespace

bool isRepeatCode(int code)
{
    return code == code::Repeat || isLoopVariant(code);
}

int commandSize(int code)
{
    switch (code) {
    case code::On: case code::Off: case code::Touch: case code::TouchFadeIn: case code::TouchFadeOut:
    case code::Beep: case code::Filler: case code::Stop:
        return 1;
    case code::Light:
        return 2;
    case code::FadeIn: case code::FadeOut: case code::Time:
        return 3;
    default:
        return isRepeatCode(code) ? 3 : 0;
    }
}

QList<Step> readSteps(const QList<int> &body, Fault *fault, int *faultPosition)
{
    QList<Step> steps;
    Fault found = Fault::None;
    int at = -1;
    for (int pos = 0; pos < body.size();) {
        Step step;
        step.code = body.at(pos);
        step.position = pos;
        const int size = commandSize(step.code);
        if (size == 0) {
            found = Fault::UnknownCode;
            at = pos;
            break;
        }
        if (pos + size > body.size()) {
            found = Fault::Cut;
            at = pos;
            break;
        }
        if (step.code == code::Light) {
            step.args[0] = body.at(pos + 1);
        } else if (step.code == code::Time) {
            step.args[0] = body.at(pos + 1) * 256 + body.at(pos + 2);
        } else if (size == 3) {
            step.args = {body.at(pos + 1), body.at(pos + 2)};
            if (isRepeatCode(step.code)) {
                // The return address names an earlier command, counted as the lamp reads them.
                step.args[0] -= ReturnBase;
                if (step.args[0] < 0 || step.args[0] >= steps.size()) {
                    found = Fault::BadReturn;
                    at = pos;
                    break;
                }
            }
        }
        steps.append(step);
        if (step.code == code::Stop)
            break;
        pos += size;
    }
    if (fault)
        *fault = found;
    if (faultPosition)
        *faultPosition = at;
    return steps;
}

LampMachine::LampMachine(const QList<int> &body)
    : m_level(timing.firstLevel)
{
    m_steps = readSteps(body, &m_pendingFault, &m_pendingFaultPosition);
    m_loopsLeft = QList<int>(m_steps.size(), -1);
}

LampMachine LampMachine::fromPacket(const QList<int> &packet)
{
    if (packet.isEmpty() || packet.first() != packet::LedProgramHeader) {
        LampMachine machine({});
        machine.m_pendingFault = Fault::NotLedProgram;
        machine.m_pendingFaultPosition = -1;
        machine.advance(0);
        return machine;
    }
    return LampMachine(packet.mid(1));
}

void LampMachine::setSpeed(int factor)
{
    m_speed = std::max(1, factor);
}

void LampMachine::setTouch(bool down)
{
    if (down && !m_touch)
        ++m_presses;
    m_touch = down;
}

void LampMachine::advance(qint64 ms)
{
    qint64 budget = std::max<qint64>(0, ms);
    int instant = 0;
    while (!m_state.stopped) {
        if (m_pc >= m_steps.size()) {
            finish();
            break;
        }
        if (!m_entered) {
            enter();
            if (m_state.stopped)
                break;
        }
        const qint64 before = budget;
        if (!runCurrent(budget))
            break;
        next();
        // A loop of commands that take no time must not hold the caller.
        if (budget == before && ++instant >= timing.maxInstantSteps)
            break;
    }
}

void LampMachine::enter()
{
    const Step &step = m_steps.at(m_pc);
    m_entered = true;
    m_elapsed = 0;
    m_from = m_state.brightness;
    m_pressesAtEnter = m_presses;
    m_state.step = m_pc;
    m_state.position = step.position;
    switch (step.code) {
    case code::On:
        m_state.brightness = m_level;
        break;
    case code::Off:
        m_state.brightness = 0;
        break;
    case code::Light:
        m_state.brightness = m_level = step.args[0];
        break;
    case code::Beep:
        ++m_beeps;
        break;
    case code::Stop:
        m_state.stopped = true;
        break;
    default:
        break;
    }
}

bool LampMachine::runCurrent(qint64 &budget)
{
    const Step &step = m_steps.at(m_pc);
    m_state.waitingForTouch = m_state.touchFading = m_state.beeping = false;
    m_state.remainingMs = 0;
    const auto timed = [&](qint64 duration) {
        const qint64 take = std::min(budget, duration - m_elapsed);
        m_elapsed += take;
        budget -= take;
        return m_elapsed >= duration;
    };
    switch (step.code) {
    case code::FadeIn:
    case code::FadeOut: {
        const int target = step.args[0];
        const qint64 unit = qint64(std::max(1, step.args[1])) * timing.fadeUnitMs;
        const int distance = std::abs(target - m_from);
        const bool done = timed(distance * unit);
        const int moved = int(std::min<qint64>(distance, m_elapsed / unit));
        m_state.brightness = m_from + (target >= m_from ? moved : -moved);
        if (done)
            m_level = target;
        return done;
    }
    case code::Time: {
        const qint64 duration = qint64(step.args[0]) * 1000;
        const qint64 need = ceilDiv(duration - m_elapsed, m_speed);
        if (budget >= need) {
            budget -= need;
            m_elapsed = duration;
            return true;
        }
        m_elapsed += budget * m_speed;
        budget = 0;
        m_state.remainingMs = duration - m_elapsed;
        return false;
    }
    case code::Beep:
        m_state.beeping = !timed(timing.beepMs);
        return !m_state.beeping;
    case code::Touch:
        m_state.waitingForTouch = m_presses == m_pressesAtEnter;
        return !m_state.waitingForTouch;
    case code::TouchFadeIn:
    case code::TouchFadeOut: {
        if (m_presses == m_pressesAtEnter) {
            m_state.waitingForTouch = true;
            return false;
        }
        if (!m_touch)
            return true;
        // Only the time the touch is held moves the light.
        m_elapsed += budget;
        budget = 0;
        const int moved = int(std::min<qint64>(255, m_elapsed / timing.touchFadeStepMs));
        m_state.brightness = step.code == code::TouchFadeIn ? std::min(255, m_from + moved)
                                                            : std::max(0, m_from - moved);
        m_level = m_state.brightness;
        m_state.touchFading = true;
        return false;
    }
    default:
        return true;
    }
}

void LampMachine::next()
{
    const Step &step = m_steps.at(m_pc);
    m_entered = false;
    m_state.waitingForTouch = m_state.touchFading = m_state.beeping = false;
    m_state.remainingMs = 0;
    if (isRepeatCode(step.code)) {
        int &left = m_loopsLeft[m_pc];
        if (left < 0)
            left = std::max(1, step.args[1]) + timing.repeatRuns - 1;
        if (left > 0) {
            --left;
            m_pc = step.args[0];
            return;
        }
        left = -1; // an outer loop may run this one again from the start
    }
    ++m_pc;
}

void LampMachine::finish()
{
    m_state.stopped = true;
    m_state.step = -1;
    m_state.position = -1;
    m_state.fault = m_pendingFault;
    m_state.faultPosition = m_pendingFaultPosition;
}

} // namespace kr31::lamp
