#pragma once

#include "core/FileRead.h"
#include "link/Packets.h"
#include "melody/Melody.h"

#include <QString>
#include <QStringList>

// The melody packet and the melody file (".kr3" with the marker "MELODY").
namespace kr31::melodyfile {

inline const QString Marker = QStringLiteral("MELODY");

// Header 5; the link block (sixteen 0 when the link is off, else 1, the 13
// brightness bytes, 0, 0); each voice's first 95 notes, then 204 to 96 values.
Packet packet(const Melody &melody);

// The 210 lines of the file: "MELODY", "UP", 96 codes, "DOWN", 96 codes,
// "LINK", "0" or "1", the 13 link values.
QStringList fileLines(const Melody &melody);

// What reading a file gave: BrokeOff at a bad line.
struct ReadResult : FileRead
{
    // What the file gave: the voices up to a bad line, the link from its
    // section (a link value not in the file keeps the value of base).
    Melody melody;
    // Voices (0, 1) that held more than 95 notes and were cut to 95.
    QList<int> cutVoices;
};

// Reads file lines (marker first). Each voice is taken from after the last
// "UP" (or "DOWN") up to the next section line or the first "204"; the line
// after the last "LINK" switches the link ("0" off, anything else on) and the
// following up to 13 lines are the link values, kept within 0..100. A code
// that is no integer 0..255, a link value that is no integer, or a 14th link
// value stops reading with BrokeOff.
ReadResult readLines(const QStringList &lines, const Melody &base = {});

// readLines of a code page 932 file; Unreadable when it cannot be read or is empty.
ReadResult read(const QString &path, const Melody &base = {});

} // namespace kr31::melodyfile
