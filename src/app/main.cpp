#include "core/WorkFolder.h"
#include "link/AlsaSoundOutput.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("KR-31"));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    kr31::AlsaSoundOutput sound;
    sound.noteState();
    kr31::workfolder::path();

    QLabel window(QStringLiteral("KR-31 プログラミング環境"));
    window.setObjectName(QStringLiteral("TForm2"));
    window.setAlignment(Qt::AlignCenter);
    window.resize(640, 480);
    window.show();
    const int result = app.exec();
    sound.restore(true);
    return result;
}
