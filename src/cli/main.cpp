// kr31-cli: the core of the KR-31 programming environment without windows.
#include "cli/CliCommands.h"
#include "core/ExitSignals.h"
#include "core/Messages.h"
#include "core/QtNoise.h"
#include "sound/MixerGuard.h"
#include "sound/SoundTurn.h"
#include "sound/SystemSoundOutput.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    kr31::quietQtNoise();
    kr31::ignoreBrokenPipes();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kr31-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KR31_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    // The progress bar is for a person watching a terminal, not for a log file.
    const bool progress = isatty(fileno(stderr));
    kr31::SystemSoundOutput output;
    // Each send notes the mixer and puts it back; a Ctrl+C in between puts it
    // back too, and a kill -9 is made good by the next send's noting.
    kr31::MixerGuard guard(output);
    kr31::SoundTurn sound(guard, [progress](bool waiting) {
        if (!waiting)
            return;
        // On its own line, also when the bar is drawn on the current one.
        const QByteArray line = kr31::msg::WaitingForTurn.toLocal8Bit() + '\n';
        std::fputs(((progress ? "\n" : "") + line).constData(), stderr);
        std::fflush(stderr);
    });
    const kr31::ExitSignals exitSignals([&guard] {
        guard.stopPlaying();
        guard.restore(true);
    });
    return kr31::runCli(app.arguments().mid(1), out, err, sound, progress);
}
