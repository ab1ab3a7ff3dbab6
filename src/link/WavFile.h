#pragma once

#include "core/TextFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kr31::wav {

// A RIFF WAVE file around 8-bit mono 48000 Hz samples: a 44-byte header, the
// samples, no pad byte after an odd count and no other chunk.
QByteArray fileBytes(const QByteArray &samples);

// Writes fileBytes(samples) to path atomically. False (and *error set) when
// the file cannot be written; an old file of that name is then left whole.
bool write(const QString &path, const QByteArray &samples, QString *error = nullptr,
           textfile::Durability durability = textfile::Durability::Synced);

struct Audio
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    QByteArray samples;
};

// Reads the format and data chunks of a PCM WAV file's bytes. Chunks are
// walked safely; a data chunk longer than the file is cut at the file's end.
// nullopt (and *error set) when the bytes are no PCM WAV.
std::optional<Audio> parse(const QByteArray &bytes, QString *error = nullptr);

// The samples of the 8-bit mono 48000 Hz PCM WAV file at path, the only kind
// the sound outputs play; nullopt with *error, a message for the user, when
// the file cannot be read or is of another kind.
std::optional<QByteArray> readPlayable(const QString &path, QString *error);

} // namespace kr31::wav
