#pragma once

#include "core/FileRead.h"
#include "editors/flowchart/FlowchartProgram.h"

#include <QString>
#include <QStringList>

namespace kr31::flowfile {

// The marker of a flowchart file: "LED" for a compiled total of at most 47,
// "FURO" for one above (saved only after the over-limit question).
QString markerFor(const QStringList &compiledList);

// The lines of a flowchart file: the marker, the compiled list (at least 47
// lines), "DATA", then one line per page (main program first), each slot
// text followed by "/". program must have been compiled.
QStringList fileLines(const FlowchartProgram &program, const QString &marker);

// What reading a file gave: BrokeOff when page lines are missing.
struct ReadResult : FileRead
{
    // The pages read (those before a missing page line for BrokeOff) and
    // the subroutines that exist; page 0 on show, not marked as modified.
    FlowchartProgram program;
    QString marker;
};

// Reads a flowchart from file lines (marker first). Markers "LED", "FURO"
// and "LITE"; any other gives OtherStep, no lines Unreadable. After a line
// that is exactly "DATA" come the ten page lines: a page whose first field is
// "27" stays empty, otherwise its slots take the "/" fields in order (slots
// a short line lacks stay "27", fields past the 47th are ignored); the last
// page that is not empty sets the number of subroutines. Without "DATA" the
// command lines (up to "TEXT", at most 47) become the main program, with the
// loop lines 221/231 (count − 1) and 222/232 turned into repeat entries.
ReadResult readLines(const QStringList &lines);

// readLines of a code page 932 file; Unreadable when it cannot be read.
ReadResult read(const QString &path);

// True when file lines hold flowchart pages: an "LED" or "FURO" marker and a
// line "DATA" (what the flowchart editor, and no other, opens as pages).
bool hasPages(const QStringList &lines);

} // namespace kr31::flowfile
