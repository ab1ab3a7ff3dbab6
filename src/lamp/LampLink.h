#pragma once

#include "link/Packets.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kr31 {
class FlowchartProgram;
class Transmitter;
}

// How a program reaches the virtual lamp: through the very sound a Send plays.
namespace kr31::lamp {

// What the lamp hears of a packet: the transfer sound built as a Send builds
// it (the transmitter's transfer mode), decoded back. nullopt (and *error
// set) when the sound cannot be read back.
std::optional<QList<int>> heardPacket(const Transmitter &transmitter, const Packet &packet, QString *error = nullptr);

// Where each line of a command list (read up to its first "100") begins in
// the body of its LED program packet. A line whose values cannot be read
// counts one value, as the line of a bare code does.
QList<int> linePositions(const QStringList &commandList);

// The line whose values hold body position; -1 before the first line, past
// the last, or for a position of none (-1).
int lineAt(const QList<int> &linePositions, const QStringList &commandList, int position);

// The lamp's beep as the computer plays it: a 2000 Hz square wave as long as the lamp's beep.
QByteArray beepSound();

// Both voices of a heard melody as one stream, each as voiceSound (MelodyRun.h) sounds it.
QByteArray melodySound(const std::array<QList<int>, 2> &voices);

// For each line of the compiled list of a flowchart, the entry of the main
// page it comes from (a call's expanded lines all come from the call).
QList<int> flowchartLineEntries(const FlowchartProgram &program);

} // namespace kr31::lamp
