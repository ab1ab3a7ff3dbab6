#pragma once

#include <QList>
#include <QString>

#include <array>

// The lamp running an LED program as it hears it: a pure state machine fed
// with the body values of the LED program packet, the elapsed time and the
// touch sensor, answering what the lamp shows.
namespace kr31::lamp {

// How the lamp times its commands. This is the one place that decides it;
// the virtual lamp's help page states the same table.
struct Timing
{
    int fadeUnitMs = 10;      // a fade moves one brightness step (of 255) every update unit × 10 ms
    int touchFadeStepMs = 10; // while touched, TouchIn/TouchOut move one step every 10 ms (0 to 255: 2.55 s)
    int beepMs = 150;         // a Beep sounds 150 ms, then the program goes on
    int firstLevel = 255;     // what ON lights before any Light or fade set a level
    int repeatRuns = 0;       // a repeat count n runs its body n + repeatRuns times in all
    int maxInstantSteps = 4096; // commands that take no time run at most this many per advance
};
inline constexpr Timing timing{};

// Codes the lamp knows. The loop codes 221, 222, 231 and 232 are sent as 22;
// should one reach the lamp all the same, it runs as a Repeat.
bool isRepeatCode(int code);
// Values a command takes in the packet, its code included; 0 for a value that is no command.
int commandSize(int code);

// One command as the lamp reads it from the packet body.
struct Step
{
    int code = 0;
    int position = 0;           // 0-based index of its code in the packet body
    std::array<int, 2> args{};  // Light: level; fades: level, unit; Time: seconds; Repeat: target step, count
};

// Why a run ended early.
enum class Fault {
    None,
    UnknownCode, // a value that is no command where a command begins
    Cut,         // a command whose values go past the end of the packet
    BadReturn,   // a repeat whose return address is not 208 + an earlier command
    NotLedProgram, // the packet's header is not 4
};

// What the lamp shows at a moment.
struct LampState
{
    int brightness = 0;       // 0..255 as the LED glows
    int step = -1;            // the command running (index into steps()); -1 before the start and at the end
    int position = -1;        // that command's position in the packet body
    bool waitingForTouch = false;
    bool touchFading = false; // a TouchIn/TouchOut that follows the held touch
    bool beeping = false;
    bool stopped = false;     // ended (at the end, at a Stop or at a fault)
    qint64 remainingMs = 0;   // of the running Time, in the lamp's own milliseconds
    Fault fault = Fault::None;
    int faultPosition = -1;   // packet body position of the fault
    bool operator==(const LampState &) const = default;
};

// The commands of a packet body, read from its start up to its end, a Stop
// value or the first value that cannot be read (then *fault and
// *faultPosition say why and where).
QList<Step> readSteps(const QList<int> &body, Fault *fault = nullptr, int *faultPosition = nullptr);

class LampMachine
{
public:
    // body: the 48 values after the header 4 (any other length is read as it stands).
    explicit LampMachine(const QList<int> &body);
    // A whole decoded packet: a header other than 4 runs nothing and stops with NotLedProgram.
    static LampMachine fromPacket(const QList<int> &packet);

    const QList<Step> &steps() const { return m_steps; }
    const LampState &state() const { return m_state; }
    // How often a Beep has begun since the start (the window beeps once for each).
    int beepCount() const { return m_beeps; }

    // Time commands count factor times faster (1, 10, 60...); fades and touches keep their pace.
    void setSpeed(int factor);
    int speed() const { return m_speed; }
    // The touch sensor: pressed or released.
    void setTouch(bool down);
    // Runs the program on by ms milliseconds of real time. advance(0) runs
    // the commands that take no time up to the first that waits.
    void advance(qint64 ms);

private:
    void enter();
    // Runs the timed part of the current command; false while it goes on.
    bool runCurrent(qint64 &budget);
    void next();
    void finish();

    QList<Step> m_steps;
    QList<int> m_loopsLeft; // per step: jumps back still to do; -1 while that loop is not running
    LampState m_state;
    int m_pc = 0;
    bool m_entered = false;
    qint64 m_elapsed = 0;  // in the running command
    int m_from = 0;        // brightness when the running fade began
    int m_level;           // the level ON lights
    int m_speed = 1;
    bool m_touch = false;
    int m_presses = 0;
    int m_pressesAtEnter = 0;
    int m_beeps = 0;
    int m_faultStep = -1;  // the step index at which the run faults (== m_steps.size() then)
    Fault m_pendingFault = Fault::None;
    int m_pendingFaultPosition = -1;
};

} // namespace kr31::lamp
