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
    // Prints to the PDF file pdfPath (in the temporary home); answers as told.
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
