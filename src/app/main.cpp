// kr31: the desktop programming environment. Creates the windows in their
// fixed order, runs until the main menu closes, and puts the mixer back.
#include "core/Messages.h"
#include "core/RealClock.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "melody/MelodyFile.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "program/ProgramFile.h"
#include "core/Settings.h"
#include "sound/MixerGuard.h"
#include "sound/SoundTurn.h"
#include "sound/SystemSoundOutput.h"
#include "link/Transmitter.h"
#include "ui/Forms.h"
#include "ui/FormWindow.h"
#include "ui/QtDialogs.h"
#include "ui/Pictures.h"
#include "ui/Printing.h"
#include "ui/QtShell.h"
#include "core/Recovery.h"
#include "ui/RecoveryOffer.h"
#include "ui/SendingDialogWindow.h"
#include "sound/ThreadedSoundOutput.h"
#include "ui/UiServices.h"
#include "ui/menu/MainMenuWindow.h"
#include "app/FirstPaint.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"

#include "core/CommandLineError.h"
#include "core/ExitSignals.h"
#include "core/QtNoise.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QWindow>

#include <cstdio>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>

using namespace kr31;

namespace {

const char *const Usage =
    "使い方: kr31 [オプション] [FILE.kr3]\n"
    "KR-31 プログラミング環境を起動します。FILE.kr3 を指定すると、そのファイルを作ったエディタで開きます。\n"
    "\n"
    "オプション:\n"
    "  -h, --help     この説明を表示する\n"
    "  --version      版を表示する\n"
    "\n"
    "終了コード: 0 正常終了 / 2 使い方の誤り\n"
    "詳しくは man kr31\n";

// Reads the command line before any window exists, so that --help, --version
// and a mistake answer on a terminal without a display. Qt's own options
// (-platform, -style...) are accepted and left to QApplication. Returns the
// exit code when the program is to end at once, else sets *file (may be empty).
std::optional<int> parseCommandLine(int argc, char *argv[], QString *file)
{
    if (argc <= 1)
        return std::nullopt; // the usual start: nothing to read
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({{{"h", "help"}, ""}, {"version", ""}});
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                             "qwindowicon", "qwindowtitle", "session", "style", "stylesheet", "display", "geometry"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    const bool parsed = parser.parse(args);
    if (parsed && parser.isSet(QStringLiteral("help"))) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (parsed && parser.isSet(QStringLiteral("version"))) {
        std::printf("kr31 %s\n", KR31_VERSION);
        return 0;
    }
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString why = parsed ? msg::OneFileOnly : commandLineError(parser);
        std::fprintf(stderr, "%s\n\n%s", why.toLocal8Bit().constData(), Usage);
        return 2;
    }
    *file = parser.positionalArguments().value(0);
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    quietQtNoise();
    ignoreBrokenPipes();
    QString file;
    if (const auto exitCode = parseCommandLine(argc, argv, &file))
        return *exitCode;

    useJapaneseLocale();
    useNoBusUnlessRunning();
    SystemSoundOutput output;
    // The user's mixer comes back however the program ends: the guard's state
    // file after a kill -9, the signals' watcher after a Ctrl+C or a logout.
    MixerGuard guard(output);
    SendingDialogWindow *sending = nullptr; // once the windows exist
    SoundTurn turn(guard, [&sending](bool waiting) {
        QMetaObject::invokeMethod(
            qApp,
            [&sending, waiting] {
                if (sending)
                    sending->setWaiting(waiting);
            },
            Qt::QueuedConnection);
    });
    ExitSignals exitSignals([&guard] {
        guard.stopPlaying();
        guard.restore(true);
    });
    // Making the application object takes milliseconds, mostly waiting for
    // the window system: the first pictures are read meanwhile (from the
    // cache; one it lacks waits for the application object).
    holdImageReaders();
    startDecodingFirstPictures();
    QApplication app(argc, argv);
    releaseImageReaders();
    QApplication::setApplicationName(QStringLiteral("kr31"));
    QApplication::setApplicationVersion(QStringLiteral(KR31_VERSION));
    QApplication::setApplicationDisplayName(QStringLiteral("KR-31"));
    QApplication::setQuitOnLastWindowClosed(false);
    // One kr31 per desktop session: a running one takes the file (or just
    // comes to the front) and this one ends; one that does not answer is
    // warned about once the menu stands.
    const instance::HandOver handOver = instance::handToOrClaim(file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath());
    if (handOver == instance::HandOver::Taken) {
        stopDecodingPictures();
        return 0;
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    installFontSubstitutions();
    // Whether this kr31 keeps the recovery copies: the recovery folder's lock
    // is written through to the disk, which can take long on a busy disk, so
    // it is taken on another thread (recovery waits for it when asked).
    auto claiming = std::async(std::launch::async, [] { recovery::keepsCopies(); });
    installJapaneseTranslation();

    ThreadedSoundOutput sound(turn);
    QtDialogs dialogs;
    QtShell shell;
    RealClock clock;
    Settings settings;
    Transmitter transmitter(dialogs, sound, clock, settings);
    QtPrinting printing(dialogs);
    Services services{dialogs, sound, shell, clock, settings, transmitter, printing};

    Forms forms(services);
    std::unique_ptr<QWidget> splash = createWindows(forms);
    std::vector<std::unique_ptr<FormWindow>> owned;
    for (FormWindow *form : forms.all())
        owned.emplace_back(form);

    // Made when a transfer first shows it.
    sending = static_cast<SendingDialogWindow *>(forms.existing(7));
    sound.onProgress = [sending](int played, int total) { sending->setProgress(played, total); };
    // Its やめる (ending a wait for another program's transfer) takes input
    // during a send: through its window and its own widgets.
    transmitter.letInputThrough([sending](const QObject *object) {
        const auto *widget = qobject_cast<const QWidget *>(object);
        return object == sending->windowHandle() || (widget && sending->isAncestorOf(widget)) || object == sending;
    });

    MainMenuWindow *menu = forms.mainMenu();
    instance::Listener listener([&forms](const QString &handed) { receiveFile(forms, handed); });
    if (handOver == instance::HandOver::NoneRunning)
        listener.listen();
    QObject::connect(menu, &MainMenuWindow::closed, &app, &QApplication::quit);
    // Work left unsaved by a crash: read once the menu has painted (an editor
    // writes its copy a second after an edit, so no sooner than that),
    // offered after the first-run wizard and after a file given on the
    // command line has opened (restoring over that file loses nothing; the
    // other way round the file would replace the restored work).
    std::optional<RecoveryOffer> recovery; // made once the menu has painted
    bool started = false;
    // A .kr3 file given on the command line (a double-click in the file
    // manager) opens in the editor that its marker names, after the
    // first-run wizard if that opens over the menu.
    const auto openAndAsk = [&] {
        if (!recovery || !started)
            return;
        whenNoModalWindow(forms, [&forms, &recovery, file, handOver] {
            if (handOver == instance::HandOver::NoAnswer)
                forms.services().dialogs.warning(msg::MaybeRunning);
            if (!file.isEmpty())
                openProgramFile(forms, file);
            recovery->ask();
        });
    };
    if (qEnvironmentVariableIntValue("KR31_QUIT_AFTER_FIRST_PAINT") == 1) {
        // Ahead of the menu's own work after its first paint (its pointing
        // hand reads the cursor theme), which the user does not wait for.
        whenFirstPainted(
            menu,
            [] {
                firstpaint::announce(); // for timing the start-up
                QApplication::quit();
            },
            PaintTurn::BeforeOthers);
    }
    std::thread fonts;
    whenFirstPainted(menu, [&] {
        splash.reset();
        // The mixer as the session left it, noted before anything can sound
        // (loading ALSA for it would hold up the first paint).
        guard.noteStateMeanwhile();
        fonts = lookUpFontsMeanwhile();
        prepareGuidePagesOnPointing(forms);
        recovery.emplace(forms);
        openAndAsk();
    });
    menu->show();

    QObject::connect(menu, &MainMenuWindow::started, menu, [&] {
        started = true;
        openAndAsk();
    });
    const int result = app.exec();
    if (fonts.joinable())
        fonts.join();
    RecoveryOffer::discardAll(forms);
    guard.restore(true);
    stopDecodingPictures();
    return result;
}
