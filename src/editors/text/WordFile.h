#pragma once

#include "core/FileRead.h"

#include <QString>
#include <QStringList>

// The text window's ".kr3" files.
namespace kr31::wordfile {

// The lines of a saved text program: "LED", the compiled list, "TEXT" and the
// text when the program passed its check; "WORD" and the text otherwise.
QStringList fileLines(const QStringList &text, const QStringList &compiled, bool passedCheck);

// What opening a file gives the text window (it never breaks off).
struct ReadResult : FileRead
{
    QStringList text;       // the program text
    bool converted = false; // made from a command list (the file had no text)
    bool fromText = false;  // the file carries a program text ("WORD", or a "TEXT" section)
};

// The program text of file lines (marker first): "LED", "FURO" and "LITE"
// files give the lines after their "TEXT" line, or, without one, their
// command lines (up to "DATA") converted into text with names; "WORD" files
// give the lines after the marker; anything else is OtherStep.
ReadResult readLines(const QStringList &lines, const QStringList &names);

// readLines of a code page 932 file; Unreadable when it cannot be read or is empty.
ReadResult read(const QString &path, const QStringList &names);

} // namespace kr31::wordfile
