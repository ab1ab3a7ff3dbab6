#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kr31 {

// A transfer packet: the header value (none for a short command) and the
// body values, each 0..255.
using Packet = QList<int>;

namespace packet {

inline constexpr int LedProgramHeader = 4;
inline constexpr int MelodyHeader = 5;
inline constexpr int BrightnessHeader = 6;
inline constexpr int LedProgramBody = 48;
inline constexpr int MelodyBody = 208;
inline constexpr int MelodyFiller = 204;

// A brightness percentage as the byte the lamp takes: percent × 255 / 100,
// rounded to nearest with halves to even (50 gives 128).
int brightnessByte(int percent);

// The device values of a command list, read up to its first "100": codes as
// they stand (loop variants as 22), brightness as bytes, times as high and
// low byte, return addresses + 208, further fields unchanged. nullopt (and
// *badLine set to the 0-based line) when a field it converts is no integer.
std::optional<QList<int>> commandValues(const QStringList &commandList, int *badLine = nullptr);

// Header 4, then the first 48 command values, filled up with 27.
std::optional<Packet> ledProgram(const QStringList &commandList, int *badLine = nullptr);

// The single value of a short command (1 runs the LED program, 2 plays the melody).
Packet shortCommand(int value);

// Header 6 and the brightness byte of percent.
Packet brightness(int percent);

// Header 5, sixteen settings values, then melodyValues padded with 204 to 208 body values.
Packet melody(const QList<int> &settings, const QList<int> &melodyValues);

// The list that puts the lamp's first LED program back (48 lines).
QStringList ledResetList();
Packet ledReset();
Packet melodyReset();
// pattern 1..4 gives the alarm sound codes 200..203.
Packet alarmSound(int pattern);
Packet wizardTestMelody();

} // namespace packet
} // namespace kr31
