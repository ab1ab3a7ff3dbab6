#pragma once

#include "support/TestPaths.h"
#include "core/Resources.h"
#include "core/Settings.h"
#include "link/Transmitter.h"
#include "support/Fakes.h"
#include "support/TempHome.h"
#include "ui/FormWindow.h"
#include "ui/Forms.h"
#include "ui/UiServices.h"
#include "app/Startup.h"

#include <QCoreApplication>
#include "ui/PrintPages.h"
#include <QWidget>

#include <memory>
#include <vector>

namespace kr31::test {

// All seventeen windows wired to fakes that share one event log, in a
// temporary home, reading the pictures and pages of the build.
struct UiRig
{
    explicit UiRig(const QString &resources = binDir())
    {
        setResourceFolder(resources);
        printing.pdfPath = home.home() + QStringLiteral("/printed.pdf");
        forms.runModal = [this](QWidget *w) { modalShown.append(w->objectName()); };
        createWindows(forms); // the splash goes at once (the program lets it go after the menu's first paint)
        for (FormWindow *f : forms.all())
            owned.emplace_back(f);
    }
    ~UiRig() { setResourceFolder({}); }

    template <class T = FormWindow>
    T *form(int number)
    {
        return dynamic_cast<T *>(forms.form(number));
    }

    // Lets queued calls (deferred showings, boxes) run.
    static void settle() { QCoreApplication::processEvents(); }

    // Checks that window `number`, not reached yet, has no components, and
    // that Forms::form() hands it out built with each of components. Empty
    // when so, else what is wrong.
    QString madeWhenFirstReached(int number, const QStringList &components)
    {
        FormWindow *window = forms.existing(number);
        if (!window || window->isBuilt() || !window->findChildren<QWidget *>().isEmpty())
            return QStringLiteral("TForm%1 was made before it was reached").arg(number);
        if (forms.form(number) != window || !window->isBuilt())
            return QStringLiteral("TForm%1 was not built when reached").arg(number);
        for (const QString &name : components) {
            if (!window->findChild<QWidget *>(name))
                return QStringLiteral("TForm%1 lacks %2").arg(number).arg(name);
        }
        return {};
    }

    TempHome home;
    EventLog log;
    FakeDialogs dialogs{&log};
    FakeSoundOutput sound{&log};
    FakeClock clock{&log};
    struct NullShell : Shell
    {
        QStringList opened;
        bool succeeds = true;
        bool open(const QString &path) override
        {
            opened.append(path);
            return succeeds;
        }
    } shell;
    // Prints to the PDF file pdfPath (in the temporary home) on A4 paper; answers as told.
    struct PdfPrinting : Printing
    {
        QString pdfPath;
        bool accept = true;
        int shown = 0;
        Result print(QWidget *, const Pages &pages) override
        {
            ++shown;
            if (!accept)
                return Result::Cancelled;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            printer.setPageSize(QPageSize(QPageSize::A4)); // whatever the locale's paper
            return printPagesOn(printer, pages);
        }
    } printing;
    Settings settings;
    Transmitter transmitter{dialogs, sound, clock, settings};
    Services services{dialogs, sound, shell, clock, settings, transmitter, printing};
    Forms forms{services};

    QStringList modalShown;
    std::vector<std::unique_ptr<FormWindow>> owned;
};

} // namespace kr31::test
