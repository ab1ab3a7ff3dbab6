#include "cli/CliCommands.h"
#include "link/AlsaSoundOutput.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    kr31::AlsaSoundOutput sound;
    return kr31::runCli(app.arguments().mid(1), out, err, sound);
}
