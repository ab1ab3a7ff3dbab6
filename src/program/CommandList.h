#pragma once

#include <QString>
#include <QStringList>

namespace kr31 {

// A command list: decimal text lines "code" or "code,arg" or "code,arg,arg",
// read up to the first line "100".
namespace commandlist {

// The n-th comma-separated field of line, counting from 1; empty when the
// line has fewer fields.
QString field(const QString &line, int n);

// The number of commas in line.
int fieldSeparators(const QString &line);

// Device bytes of a code, looked up on its exact text ("016" weighs 0).
int weight(const QString &code);

// Sum of the weights of the lines before the first "100".
int total(const QStringList &lines);

// The lines before the first "100" (all of them when there is none).
QStringList body(const QStringList &lines);

// Outcome of checking a command list before it reaches the device.
struct Check
{
    bool ok = true;
    QString message; // the system's message for the first fault
    int line = -1;   // 0-based line of that fault; -1 for the total
};

// Checks one line as check() does, without the repeat's return address
// (which needs the lines before it) and the total.
Check checkLine(const QString &line);

// Checks a command list as stored in an "LED" file: every line is a known
// command (or the filler 27, or a loop variant) with exactly its arguments,
// each a decimal integer in its range (else (502) or (507)); a repeat's return
// address lies before its own line (else (501)); the total is at most 47
// (else (504)).
Check check(const QStringList &lines);

} // namespace commandlist
} // namespace kr31
