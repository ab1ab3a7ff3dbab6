// How long the program takes from an empty process to its main menu on the
// screen, step by step: the application, the seventeen windows created (their
// pictures wait for their first showing), the menu shown with its pictures. Run: QT_QPA_PLATFORM=offscreen build/bin/startup_time
#include "QuietServices.h"
#include "core/RealClock.h"
#include "core/Settings.h"
#include "link/Transmitter.h"
#include "ui/FormWindow.h"
#include "ui/Forms.h"
#include "ui/UiServices.h"
#include "app/Startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

using namespace kr31;


int main(int argc, char *argv[])
{
    QElapsedTimer timer;
    timer.start();
    QApplication app(argc, argv);
    const qint64 appReady = timer.elapsed();
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    bench::Quiet quiet;
    RealClock clock;
    Settings settings;
    settings.setWizardStart(0);
    Transmitter transmitter(quiet, quiet, clock, settings);
    Services services{quiet, quiet, quiet, clock, settings, transmitter, quiet};
    Forms forms(services);
    installFontSubstitutions();
    createWindows(forms);
    std::vector<std::unique_ptr<FormWindow>> owned(forms.all().begin(), forms.all().end());
    const qint64 created = timer.elapsed();
    forms.form(2)->show();
    QApplication::processEvents();
    const qint64 shown = timer.elapsed();
    std::printf("application %lld ms, windows created %lld ms, main menu shown %lld ms\n",
                static_cast<long long>(appReady), static_cast<long long>(created), static_cast<long long>(shown));
    return 0;
}
