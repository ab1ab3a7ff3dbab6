#pragma once

#include "melody/Melody.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The preview of a melody on the computer: square waves of 0xFF and 0x00 at
// 48000 samples per second, from the pitch table and the note lengths.
namespace kr31::preview {

inline const QString UpFile = QStringLiteral("UP.WAV");
inline const QString DownFile = QStringLiteral("DOWN.WAV");
inline constexpr int RestSamples = 10100;
inline constexpr int GapSamples = 930;

// One note: c cycles of h samples 0xFF and h samples 0x00, with
// h = 24000 / f rounded and c = length factor × (f − 1) / 4 rounded (halves
// to even) + 1; a code without a pitch gives 10100 samples 0x00.
QByteArray tone(int code);

// A voice: each note's tone, and 930 samples 0x00 after every tone with a pitch.
QByteArray voiceStream(const QList<int> &notes);

// Both voices as one stream that starts them together: while both sound
// each sample is their mean (equal to their sum around the centre, clipped,
// for these square waves); past the end of the shorter the longer goes on alone.
QByteArray mix(const QByteArray &upper, const QByteArray &lower);

// Writes "UP.WAV" for a voice 1 with notes and "DOWN.WAV" for a voice 2 with
// notes into folder (ending with '/'); a voice without notes writes no file
// and removes an older one of its name.
// False (and *error set to the message for the user: (105), the file and the
// reason) when a file cannot be written.
bool writeVoiceFiles(const Melody &melody, const QString &folder, QString *error = nullptr);

} // namespace kr31::preview
