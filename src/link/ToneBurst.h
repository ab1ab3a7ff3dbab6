#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

namespace kr31::tone {

inline constexpr int SampleRate = 48000;
inline constexpr char High = char(0xFF);
inline constexpr char Low = char(0x00);

// The leader that starts every transfer sound, in signal variant 0..3.
// Any other variant gives an empty leader.
QByteArray leader(int variant);

// Appends the samples of one byte: a start bit (when startBit), the eight
// bits most significant first, and the trailer. Only the low eight bits of
// value count (256 encodes like 0). Any variant outside 0..3 appends nothing.
void appendByte(QByteArray &samples, int value, bool startBit, int variant);

// The samples of one byte, as appendByte.
QByteArray encodeByte(int value, bool startBit, int variant);

// A whole transfer sound: the leader, then every value with its start bit.
// variant() is asked afresh for the leader and for each byte, so a mode
// changed meanwhile takes effect at once.
QByteArray transferSound(const QList<int> &values, const std::function<int()> &variant);

} // namespace kr31::tone
