// kr31-cli: the core of the KR-31 programming environment without windows.
#include "cli/CliCommands.h"
#include "core/QtNoise.h"
#include "link/SystemSoundOutput.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    kr31::quietQtNoise();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kr31-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KR31_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    kr31::SystemSoundOutput sound;
    // The progress bar is for a person watching a terminal, not for a log file.
    const bool progress = isatty(fileno(stderr));
    return kr31::runCli(app.arguments().mid(1), out, err, sound, progress);
}
