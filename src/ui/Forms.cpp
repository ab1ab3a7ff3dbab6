#include "ui/Forms.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/Services.h"
#include "link/Transmitter.h"
#include "ui/FormWindow.h"
#include "ui/UiServices.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QEvent>

namespace kr31 {

namespace {

// Ends a local event loop when the watched window hides.
class HideWatcher : public QObject
{
public:
    HideWatcher(QWidget *window, QEventLoop &loop)
        : m_loop(loop)
    {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

void runModalLoop(QWidget *window)
{
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    QEventLoop loop;
    HideWatcher watcher(window, loop);
    loop.exec();
    window->setWindowModality(Qt::NonModal);
}

} // namespace

Forms::Forms(Services &services)
    : runModal(&runModalLoop)
    , m_services(services)
{
}

void Forms::ensureBuilt(FormWindow *form)
{
    if (form)
        form->ensureBuilt();
}

FormWindow *Forms::existing(int number) const
{
    for (FormWindow *f : m_forms) {
        if (f->number() == number)
            return f;
    }
    return nullptr;
}

FormWindow *Forms::form(int number) const
{
    FormWindow *f = existing(number);
    if (f)
        f->ensureBuilt();
    return f;
}

void Forms::open(FormWindow *from, int number)
{
    if (from)
        from->hide();
    if (FormWindow *target = form(number)) {
        target->show();
        target->raise();
        target->activateWindow();
    }
}

void Forms::backToMenu(FormWindow *from)
{
    open(from, 2);
}

void Forms::quit()
{
    for (FormWindow *f : m_forms) {
        if (f->number() != 2)
            f->hide();
    }
    if (FormWindow *menu = form(2))
        menu->close();
}

bool Forms::openHelp(QString *failure)
{
    const QString page = resourcePath(QStringLiteral("Navi/KR-31navi.html"));
    const bool missing = !QFileInfo(page).isFile();
    if (!missing && m_services.shell.open(page))
        return true;
    if (failure)
        *failure = msg::helpNotOpened(QDir::toNativeSeparators(page), missing);
    return false;
}

SendingDialog &Forms::sendingDialog()
{
    SendingDialog *dialog = reach(m_sendingDialog);
    Q_ASSERT(dialog);
    return *dialog;
}

} // namespace kr31
