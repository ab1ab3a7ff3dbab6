// kr31-artgen OUTDIR: draws every picture of the program below OUTDIR ("Img/...",
// "HTML/DD/Img/...") and lists them in OUTDIR/Img/manifest.txt.
#include "Artwork.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Pictures only: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: kr31-artgen OUTDIR\n";
        return 2;
    }
    QString error;
    const QStringList written = kr31::art::generate(args.at(1), &error);
    if (written.isEmpty()) {
        err << "kr31-artgen: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << written.size() << " pictures written to " << args.at(1) << '\n';
    return 0;
}
