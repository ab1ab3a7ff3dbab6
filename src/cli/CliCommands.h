#pragma once

#include <QStringList>
#include <QTextStream>

namespace kr31 {

class SoundOutput;

// Runs one kr31-cli command (args without the program name), writing results
// to out and messages to err. Returns the exit code: 0 on success, 1 on failure.
int runCli(const QStringList &args, QTextStream &out, QTextStream &err, SoundOutput &sound);

} // namespace kr31
