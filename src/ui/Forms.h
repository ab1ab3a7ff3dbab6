#pragma once

#include <QHash>
#include <QList>

#include <functional>
#include <type_traits>

class QWidget;

namespace kr31 {

class ChartShower;
class CommandChooser;
class EditorWindow;
class FormWindow;
class LampRunner;
class MainMenuWindow;
class NotePicker;
class ReportOpener;
class ScorePrinter;
class SendingDialog;
class TransferModeWindow;
struct Services;

// The system's windows, created once at start in their fixed order and kept
// for the whole run. A window reaches another only through here: by its
// number as a plain window, or through what it does for others (the lamp
// runner, the report opener...), never by casting a window.
class Forms
{
public:
    explicit Forms(Services &services);

    Services &services() { return m_services; }

    // Registers a window (windows are added in creation order) with every
    // part it plays for the others, which the accessors below hand out.
    template <class Window>
    Window *add(Window *window)
    {
        m_forms.append(window);
        take(m_lampRunner, window);
        take(m_reportOpener, window);
        take(m_chartShower, window);
        take(m_commandChooser, window);
        take(m_notePicker, window);
        take(m_scorePrinter, window);
        take(m_sendingDialog, window);
        take(m_mainMenu, window);
        take(m_transferModePage, window);
        if constexpr (std::is_base_of_v<EditorWindow, Window>)
            m_editors.insert(window->number(), Part<EditorWindow>{window, window});
        return window;
    }
    // The window TForm<number> with its contents made, or nullptr before it exists.
    FormWindow *form(int number) const;
    // The same window as it stands: its contents may not be made yet.
    FormWindow *existing(int number) const;
    // The windows in creation order.
    const QList<FormWindow *> &all() const { return m_forms; }

    // What the windows do for each other, with the contents of the window
    // that does it made (as form() makes them); nullptr before it exists.
    LampRunner *lampRunner() const { return reach(m_lampRunner); }
    ReportOpener *reportOpener() const { return reach(m_reportOpener); }
    ChartShower *chartShower() const { return reach(m_chartShower); }
    CommandChooser *commandChooser() const { return reach(m_commandChooser); }
    NotePicker *notePicker() const { return reach(m_notePicker); }
    ScorePrinter *scorePrinter() const { return reach(m_scorePrinter); }
    MainMenuWindow *mainMenu() const { return reach(m_mainMenu); }
    // The transfer mode page as it stands: its contents may not be made yet.
    TransferModeWindow *transferModePage() const { return m_transferModePage.role; }
    // The editor TForm<number> with its contents made; nullptr when that
    // window is no editor.
    EditorWindow *editor(int number) const { return reach(m_editors.value(number)); }

    // Hides from (when given) and shows window number.
    void open(FormWindow *from, int number);
    // Hides from and shows the main menu.
    void backToMenu(FormWindow *from);
    // Closes the main menu, which ends the program.
    void quit();
    // Opens the user guide "Navi/KR-31navi.html" through the shell; false when
    // the page is missing or the shell could not open it, with *failure (if
    // given) set to the message that says which and where the guide is.
    bool openHelp(QString *failure = nullptr);

    // The sending dialog used around transfers.
    SendingDialog &sendingDialog();

    // Shows a window modally and returns when it is hidden again. Tests
    // replace it to record the call instead of blocking.
    std::function<void(QWidget *)> runModal;

private:
    // A part a window plays for the others, and that window.
    template <class Role>
    struct Part
    {
        Role *role = nullptr;
        FormWindow *form = nullptr;
    };
    template <class Role, class Window>
    static void take(Part<Role> &part, Window *window)
    {
        if constexpr (std::is_base_of_v<Role, Window>)
            part = {window, window};
    }
    template <class Role>
    static Role *reach(const Part<Role> &part)
    {
        ensureBuilt(part.form);
        return part.role;
    }
    static void ensureBuilt(FormWindow *form);

    Services &m_services;
    QList<FormWindow *> m_forms;
    Part<LampRunner> m_lampRunner;
    Part<ReportOpener> m_reportOpener;
    Part<ChartShower> m_chartShower;
    Part<CommandChooser> m_commandChooser;
    Part<NotePicker> m_notePicker;
    Part<ScorePrinter> m_scorePrinter;
    Part<SendingDialog> m_sendingDialog;
    Part<MainMenuWindow> m_mainMenu;
    Part<TransferModeWindow> m_transferModePage;
    QHash<int, Part<EditorWindow>> m_editors;
};

} // namespace kr31
