#pragma once

#include <QList>

#include <functional>

class QWidget;

namespace kr31 {

class FormWindow;
class SendingDialog;
struct Services;

// The system's windows, created once at start in their fixed order and kept
// for the whole run. A window reaches another only through here.
class Forms
{
public:
    explicit Forms(Services &services);

    Services &services() { return m_services; }

    // Registers a window; windows are added in creation order.
    void add(FormWindow *form);
    // The window TForm<number> with its contents made, or nullptr before it exists.
    FormWindow *form(int number) const;
    // The same window as it stands: its contents may not be made yet.
    FormWindow *existing(int number) const;
    // The windows in creation order.
    const QList<FormWindow *> &all() const { return m_forms; }

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
    Services &m_services;
    QList<FormWindow *> m_forms;
};

} // namespace kr31
