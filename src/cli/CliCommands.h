#pragma once

#include <QStringList>
#include <QTextStream>

namespace kr31 {

class SoundOutput;

namespace exitcode {
// kr31-cli's exit codes.
inline constexpr int Ok = 0;
inline constexpr int Refused = 1; // an input it cannot use (a broken file, a failed write, a value out of range)
inline constexpr int Usage = 2;   // an unknown command or option, a missing argument
} // namespace exitcode

// The names of kr31-cli's commands, in the order the usage text lists them.
QStringList cliCommandNames();

// The usage text (Japanese), as --help prints it.
QString cliUsage();

// Runs kr31-cli with args (without the program name), writing results to out
// and messages to err. --help and --version answer on out. With progress, a
// transfer to the lamp shows a one-line bar on err while it runs (for a
// terminal). Returns the exit code (exitcode::Ok, exitcode::Refused, exitcode::Usage).
int runCli(const QStringList &args, QTextStream &out, QTextStream &err, SoundOutput &sound, bool progress = false);

} // namespace kr31
