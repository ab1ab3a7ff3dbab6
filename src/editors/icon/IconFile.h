#pragma once

#include "editors/icon/IconProgram.h"
#include "program/ProgramFile.h"

#include <QString>
#include <QStringList>

namespace kr31::iconfile {

inline const QString Filter = programfile::Filter;

// The 48 lines of an icon program file: "LED" when the program passed its
// check, "DD" when it is saved anyway; then the 47 compiled lines.
QStringList fileLines(const IconProgram &program, bool passedCheck);

// The name a save writes: ".kr3" appended unless the name already ends in
// ".kr3" in any letter case ("abc" -> "abc.kr3", "a.txt" -> "a.txt.kr3").
QString saveName(const QString &chosen);

// True when the name's extension is ".kr3" in any letter case.
bool hasProgramExtension(const QString &path);

// What reading a file gave: BrokeOff at a bad line.
struct ReadResult : FileRead
{
    // The slots filled from the file (up to a bad line, the rest empty).
    IconProgram program;
    QString marker;
};

// Reads an icon program from file lines (marker first): markers "LED", "DD"
// and "LITE"; reading stops at "DATA" or "TEXT" and after 47 command lines;
// "27" leaves a slot empty; other lines fill their slot as the editor does.
// A first field that is no integer stops reading with BrokeOff.
ReadResult readLines(const QStringList &lines);

// readLines of a code page 932 file; Unreadable when it cannot be read or is empty.
ReadResult read(const QString &path);

} // namespace kr31::iconfile
