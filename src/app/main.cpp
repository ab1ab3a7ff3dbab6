// kr31: the desktop programming environment. Creates the windows in their
// fixed order, runs until the main menu closes, and puts the mixer back.
#include "core/Messages.h"
#include "core/RealClock.h"
#include "editors/icon/IconEditorWindow.h"
#include "program/ProgramFile.h"
#include "core/Settings.h"
#include "link/AlsaSoundOutput.h"
#include "link/Transmitter.h"
#include "ui/Forms.h"
#include "ui/FormWindow.h"
#include "ui/QtDialogs.h"
#include "ui/Printing.h"
#include "ui/QtShell.h"
#include "ui/RecoveryOffer.h"
#include "ui/SendingDialogWindow.h"
#include "ui/ThreadedSoundOutput.h"
#include "ui/UiServices.h"
#include "ui/menu/MainMenuWindow.h"
#include "app/Startup.h"

#include <QApplication>
#include <QLocale>

#include <memory>

using namespace kr31;

namespace {

void openFromCommandLine(Forms &forms, const QString &path)
{
    const auto file = ProgramFile::read(path);
    if (!file) {
        forms.services().dialogs.information(msg::CannotOpen111);
        return;
    }
    if (file->marker == QLatin1String("LED") || file->marker == QLatin1String("DD") ||
        file->marker == QLatin1String("LITE")) {
        forms.open(forms.form(2), 8);
        static_cast<IconEditorWindow *>(forms.form(8))->openFile(path);
        return;
    }
    forms.services().dialogs.information(msg::OtherStep112);
}

} // namespace

int main(int argc, char *argv[])
{
    useJapaneseLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kr31"));
    QApplication::setApplicationDisplayName(QStringLiteral("KR-31"));
    QApplication::setQuitOnLastWindowClosed(false);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    installJapaneseTranslation();
    installFontSubstitutions();

    AlsaSoundOutput alsa;
    ThreadedSoundOutput sound(alsa);
    alsa.noteState();
    QtDialogs dialogs;
    QtShell shell;
    RealClock clock;
    Settings settings;
    Transmitter transmitter(dialogs, sound, clock, settings);
    QtPrinting printing;
    Services services{dialogs, sound, shell, clock, settings, transmitter, printing};

    Forms forms(services);
    createWindows(forms);
    std::vector<std::unique_ptr<FormWindow>> owned;
    for (FormWindow *form : forms.all())
        owned.emplace_back(form);

    auto *sending = static_cast<SendingDialogWindow *>(forms.form(7));
    sound.onProgress = [sending](int played, int total) { sending->setProgress(played, total); };

    auto *menu = static_cast<MainMenuWindow *>(forms.form(2));
    QObject::connect(menu, &MainMenuWindow::closed, &app, &QApplication::quit);
    // Work left unsaved by a crash: read before any editor writes, offered
    // after the first-run wizard.
    RecoveryOffer recovery(forms);
    QObject::connect(menu, &MainMenuWindow::started, menu, [&recovery] { recovery.ask(); });
    menu->show();

    // A .kr3 file given on the command line (a double-click in the file
    // manager) opens in the editor that its marker names.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        openFromCommandLine(forms, args.at(1));
    const int result = app.exec();
    RecoveryOffer::discardAll(forms);
    alsa.restore(true);
    return result;
}
