#include "app/Startup.h"

#include "editors/flowchart/ui/CommandDialogWindow.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/icon/ui/ChartViewWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "lamp/ui/VirtualLampWindow.h"
#include "link/Transmitter.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "melody/ui/MelodyPrintWindow.h"
#include "melody/ui/NotePickerWindow.h"
#include "report/ui/ReportWindow.h"
#include "tools/ui/AlarmSoundWindow.h"
#include "tools/ui/BrightnessWindow.h"
#include "core/Messages.h"
#include "program/ProgramFile.h"
#include "ui/EditorWindow.h"
#include "ui/Forms.h"
#include "ui/UiServices.h"
#include "ui/SendingDialogWindow.h"
#include "ui/ToolWindow.h"
#include "ui/menu/MainMenuWindow.h"
#include "ui/menu/SettingsWindow.h"
#include "ui/Pictures.h"
#include "ui/menu/SplashWindow.h"
#include "ui/menu/TransferModeWindow.h"
#include "ui/menu/WizardWindow.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kr31 {


void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ　ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("FixedSys"), QStringLiteral("IPAGothic"));
}

std::thread lookUpFontsMeanwhile()
{
    return std::thread([] { QFontDatabase::families(); });
}

void prepareGuidePage(Forms &forms, int number)
{
    if (FormWindow *form = forms.existing(number))
        form->prepareGuidePage();
}

void prepareGuidePagesOnPointing(Forms &forms)
{
    MainMenuWindow *menu = forms.mainMenu();
    if (!menu)
        return;
    // Queued: after the picture has lit up.
    QObject::connect(
        menu, &MainMenuWindow::toolPointedAt, menu, [&forms](int number) { prepareGuidePage(forms, number); },
        Qt::QueuedConnection);
}

namespace {

// Texts of Qt's file dialogs that its Japanese translation lacks.
class MissingJapanese : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0 && qstrcmp(context, "QFileSystemModel") != 0)
            return {};
        static const QHash<QByteArray, QString> texts = {
            {"Folder", QStringLiteral("フォルダー")}, {"Drive", QStringLiteral("ドライブ")},
            {"File", QStringLiteral("ファイル")},     {"%1 File", QStringLiteral("%1 ファイル")},
            {"Shortcut", QStringLiteral("ショートカット")}, {"Unknown", QStringLiteral("不明")},
        };
        return texts.value(QByteArray(source));
    }
};

} // namespace

void useNoBusUnlessRunning()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!runtime.isEmpty() && ::stat((runtime + "/bus").constData(), &st) == 0 && S_ISSOCK(st.st_mode))
        return;
    // An address of no known kind: connecting fails at once, quietly.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

void useJapaneseLocale()
{
    qputenv("LC_ALL", "ja_JP.UTF-8");
    qputenv("LANGUAGE", "ja");
    // Where the C library has no Japanese locale, the lines above leave it in
    // the plain "C" one, whose characters are ASCII: the window system's
    // library then cannot give a window a Japanese title in its older form
    // (and is slow to look that locale up). Characters are UTF-8 whatever
    // the language.
    setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        setlocale(LC_CTYPE, "C.UTF-8");
}

bool installJapaneseTranslation()
{
    static QTranslator translator;
    static MissingJapanese missing;
    if (!translator.isEmpty())
        return true;
    // Installed first, so asked last: only for what the real translation lacks.
    QCoreApplication::installTranslator(&missing);
    if (!translator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(&translator);
    return true;
}

void startDecodingFirstPictures()
{
    startDecodingPictures(QStringList{SplashWindow::picture()} + MainMenuWindow::pictures());
}

std::unique_ptr<QWidget> createWindows(Forms &forms)
{
    // The menu's pictures are read on other threads while the splash shows
    // (those already started are left to finish).
    startDecodingFirstPictures();
    // The splash stands while the main menu is made, then goes.
    auto splash = std::make_unique<SplashWindow>(forms);
    splash->show();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    forms.add(new MainMenuWindow(forms));
    splash->hide();
    const QSize tool(750, 500);
    forms.add(new TransferModeWindow(forms));
    forms.add(new BrightnessWindow(forms));
    forms.add(new MelodyEditorWindow(forms));
    forms.add(new FlowchartEditorWindow(forms));
    forms.add(new SettingsWindow(forms));
    forms.add(new SendingDialogWindow(forms));
    forms.add(new IconEditorWindow(forms));
    forms.add(new TextEditorWindow(forms));
    forms.add(new ChartViewWindow(forms));
    forms.add(new CommandDialogWindow(forms));
    forms.add(new NotePickerWindow(forms));
    forms.add(new AlarmSoundWindow(forms));
    forms.add(new ReportWindow(forms));
    forms.add(new SplashWindow(forms));
    forms.add(new MelodyPrintWindow(forms));
    forms.add(new WizardWindow(forms));
    forms.add(new VirtualLampWindow(forms));
    // Every new widget asks to be polished (style, style sheet, fonts) in the
    // next turn of the message loop, which runs before the main menu's first
    // paint. A window polishes itself and its children when it is first
    // shown anyway, so the hidden ones wait until then.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
    return splash;
}


namespace {

// The window number of the editor that opens a file, or 0 (nothing read: 111; no editor: 112).
int editorFormOf(const QString &path, Dialogs &dialogs)
{
    const auto file = ProgramFile::read(path);
    if (!file) {
        dialogs.information(msg::CannotOpen111);
        return 0;
    }
    switch (programfile::editorOf(*file)) {
    case programfile::Editor::Flowchart: return 5;
    case programfile::Editor::Text: return 9;
    case programfile::Editor::Icon: return 8;
    case programfile::Editor::Melody: return 4;
    case programfile::Editor::None: break;
    }
    dialogs.information(msg::OtherStep112);
    return 0;
}

void toFront(QWidget *window)
{
    window->raise();
    window->activateWindow();
}

} // namespace

void openProgramFile(Forms &forms, const QString &path)
{
    if (const int number = editorFormOf(path, forms.services().dialogs)) {
        forms.open(forms.form(2), number);
        forms.editor(number)->openFile(path);
    }
}

void receiveFile(Forms &forms, const QString &path)
{
    whenNoModalWindow(forms, [&forms, path] {
        EditorWindow *editor = nullptr;
        FormWindow *page = nullptr; // a page of its own other than the menu
        for (FormWindow *form : forms.all()) {
            if (!form->isVisible() || form == forms.form(2) || form->number() == 7)
                continue;
            if (EditorWindow *shown = forms.editor(form->number()))
                editor = shown;
            else if (!page)
                page = form;
        }
        toFront(editor ? editor : page ? page : forms.form(2));
        const int target = path.isEmpty() ? 0 : editorFormOf(path, forms.services().dialogs);
        if (target == 0)
            return;
        EditorWindow *opener = forms.editor(target);
        if (editor == opener) {
            editor->openHandedFile(path);
            return;
        }
        if (editor) {
            editor->MenuClick(); // the save question first
            if (editor->isVisible())
                return;
        } else if (page) {
            page->MenuClick();
        }
        forms.open(forms.form(2), target);
        opener->openFile(path);
        toFront(opener);
    });
}

void whenNoModalWindow(Forms &forms, const std::function<void()> &action)
{
    QObject *context = forms.form(2);
    QTimer::singleShot(0, context, [&forms, context, action] {
        if (QApplication::activeModalWidget() || forms.services().transmitter.sending())
            QTimer::singleShot(200, context, [&forms, action] { whenNoModalWindow(forms, action); });
        else
            action();
    });
}

} // namespace kr31
