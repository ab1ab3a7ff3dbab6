// The program against its yardsticks, each pair measured side by side
// (interleaved rounds, medians), printed with their ratios:
//  - start-up: kr31 (KR31_QUIT_AFTER_FIRST_PAINT=1) against an empty Qt window
//    that quits after its first paint: wall time, CPU time, peak resident memory;
//  - the transfer sound of a melody packet built and written (the mode read from
//    set.ini at the leader and at every byte) against a plain write of its bytes;
//  - decoding that sound against its playing time;
//  - a Send through a private sound server: from the click to the first
//    sample at the output (the two 500 ms waits included), and the checks a
//    transfer makes before its sound (output rate, stream volume, monitor)
//    as the time from play to the first sample against a plain play;
//  - each window's first showing (click to painted), in several fresh
//    processes, and the repaint of the icon editor with 47 filled slots and of
//    the chart view of 47 steps.
// Run: build/bin/bench_ratios [ROUNDS]   (make bench runs it under Xvfb when
// there is no display)
#include "QuietServices.h"
#include "app/Startup.h"
#include "core/RealClock.h"
#include "core/Settings.h"
#include "core/WorkFolder.h"
#include "editors/icon/ui/ChartViewWindow.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "sound/MixerGuard.h"
#include "link/Packets.h"
#include "sound/PulseSoundOutput.h"
#include "sound/SoundTurn.h"
#include "sound/SystemSoundOutput.h"
#include "support/PrivateSoundServer.h"
#include "sound/ThreadedSoundOutput.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "link/Transmitter.h"
#include "link/WavFile.h"
#include "program/LedCommands.h"
#include "ui/FormWindow.h"
#include "ui/Forms.h"
#include "ui/menu/MainMenuWindow.h"
#include "app/FirstPaint.h"
#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QDeadlineTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <thread>
#include <vector>

extern char **environ;

using namespace kr31;

namespace {

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

struct ProcessRun
{
    double paintMs = 0; // from the spawn to the end of the first paint, as the program tells it
    double wallMs = 0;
    double cpuMs = 0;
    double rssMb = 0;
    bool ok = false;
    QByteArray output; // what it wrote on its standard output
};

// Runs program (with one argument when given) with the environment plus
// extra, and measures it as a whole.
ProcessRun spawn(const QByteArray &program, const std::vector<QByteArray> &extra, QByteArray argument = {})
{
    std::vector<QByteArray> env(extra);
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        if (std::none_of(extra.begin(), extra.end(), [&](const QByteArray &x) { return x.startsWith(name); }))
            env.push_back(entry);
    }
    std::vector<char *> envp;
    for (QByteArray &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    QByteArray arg0 = program;
    char *argv[] = {arg0.data(), argument.isEmpty() ? nullptr : argument.data(), nullptr};

    ProcessRun run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const long long startNs = firstpaint::nowNs();
    QElapsedTimer wall;
    wall.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    QByteArray said;
    char buffer[256];
    for (ssize_t n; spawned == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(out[0]);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wallMs = wall.nsecsElapsed() / 1e6;
    const qsizetype at = said.indexOf(firstpaint::Prefix);
    if (at >= 0) {
        const qint64 paintNs = said.mid(at + qsizetype(sizeof firstpaint::Prefix) - 1).split('\n').value(0).toLongLong();
        run.paintMs = (paintNs - startNs) / 1e6;
    }
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    run.rssMb = usage.ru_maxrss / 1024.0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.output = said;
    return run;
}

void startUp(int rounds)
{
    const QString bin = QCoreApplication::applicationDirPath();
    std::vector<QByteArray> programs = {QFile::encodeName(bin + QStringLiteral("/bench_bare_window")),
                                        QFile::encodeName(bin + QStringLiteral("/kr31"))};
    std::vector<QByteArray> names = {"bare Qt window", "kr31"};
    // Another build of kr31 (its pictures and pages beside it), measured in
    // the same rounds: a change to the start-up is only seen side by side.
    if (const QByteArray other = qgetenv("KR31_BENCH_ALSO"); !other.isEmpty()) {
        programs.push_back(other);
        names.push_back("kr31 (KR31_BENCH_ALSO)");
    }
    const size_t count = programs.size();
    // One fresh home for all, the wizard switched off as after a first run.
    QTemporaryDir home;
    const QString work = home.filePath(QStringLiteral("Documents/KR-31Temp/"));
    QDir().mkpath(work);
    Settings([&] { return work; }).setWizardStart(0);
    const std::vector<QByteArray> env{"HOME=" + QFile::encodeName(home.path()), "KR31_QUIT_AFTER_FIRST_PAINT=1"};

    std::vector<std::vector<double>> paint(count), wall(count), cpu(count), rss(count);
    for (const QByteArray &program : programs)
        spawn(program, env); // warm the disk cache (and the picture cache) for each
    for (int r = 0; r < rounds; ++r) {
        for (size_t k = 0; k < count; ++k) {
            const size_t which = (size_t(r) + k) % count; // each goes first in turn
            const ProcessRun run = spawn(programs[which], env);
            if (!run.ok) {
                std::printf("start-up: %s failed\n", programs[which].constData());
                return;
            }
            paint[which].push_back(run.paintMs);
            wall[which].push_back(run.wallMs);
            cpu[which].push_back(run.cpuMs);
            rss[which].push_back(run.rssMb);
        }
    }
    std::printf("Start-up to the main menu's first paint (%d interleaved runs each, platform %s)\n", rounds,
                qUtf8Printable(QGuiApplication::platformName()));
    std::printf("  (painted: from the start to the end of the first paint; whole: the process to its end)\n");
    std::printf("  %-26s %11s %10s %10s %14s\n", "", "painted ms", "whole ms", "CPU ms", "peak RSS MB");
    for (size_t i = 0; i < count; ++i)
        std::printf("  %-26s %11.1f %10.1f %10.1f %14.1f\n", names[i].constData(), median(paint[i]),
                    median(wall[i]), median(cpu[i]), median(rss[i]));
    for (size_t i = 1; i < count; ++i)
        std::printf("  %-26s %11.2f %10.2f %10.2f %14.2f\n", i == 1 ? "ratio kr31 / bare" : "ratio the other / bare",
                    ratio(median(paint[i]), median(paint[0])), ratio(median(wall[i]), median(wall[0])),
                    ratio(median(cpu[i]), median(cpu[0])), ratio(median(rss[i]), median(rss[0])));
    std::printf("\n");
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Of the whole process, worker threads included.
double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The processor time work takes (user and system), which other programs
// running on the machine disturb far less than the wall time.
double msOf(const std::function<void()> &work)
{
    const double start = threadCpuMs();
    work();
    return threadCpuMs() - start;
}

double wallMs(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e6;
}

// Wall and CPU times of repeated runs of one piece of work.
struct Timings
{
    std::vector<double> wall;
    std::vector<double> cpu;

    void add(const std::function<void()> &work)
    {
        QElapsedTimer t;
        t.start();
        cpu.push_back(msOf(work));
        wall.push_back(wallMs(t));
    }
    QByteArray text() const { return QByteArray::number(median(wall), 'f', 3) + '/' + QByteArray::number(median(cpu), 'f', 3); }
    QByteArray ratioTo(const Timings &other) const
    {
        return QByteArray::number(ratio(median(wall), median(other.wall)), 'f', 2) + '/' +
               QByteArray::number(ratio(median(cpu), median(other.cpu)), 'f', 2);
    }
};

void sound(int rounds)
{
    // In the work folder of a fresh home, as the program finds it, written
    // the way a transfer writes it.
    Settings settings;
    bench::Quiet quiet;
    RealClock clock;
    Transmitter transmitter(quiet, quiet, clock, settings);
    QDir folder(workfolder::path());
    const Packet packet = packet::melodyReset();
    std::printf("Transfer sound of a melody packet (%lld values), %d interleaved rounds, median wall/CPU ms\n",
                static_cast<long long>(packet.size()), rounds);
    std::printf("  %-4s %13s %13s %13s %13s %11s %13s %8s %9s\n", "mode", "build+write", "build", "write",
                "plain write", "ratio", "decode", "sound", "ratio");
    for (int mode : {0, 2}) {
        settings.setWaveMode(mode);
        // Chosen a while before the Send, as a user does: a file changed in the
        // last moments is read again at every byte (see IniFile).
        QThread::msleep(100);
        const QByteArray plainPath = QFile::encodeName(folder.filePath(QStringLiteral("plain.bin")));
        // As a transfer builds it: the mode asked at the leader and at every byte.
        const QByteArray samples = transmitter.buildSound(packet);
        const QByteArray bytes = wav::fileBytes(samples);
        Timings whole, built, written, plain, decoded;
        for (int r = 0; r < rounds; ++r) {
            whole.add([&] { transmitter.writeSound(transmitter.buildSound(packet)); });
            plain.add([&] {
                const int fd = ::open(plainPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd >= 0) {
                    [[maybe_unused]] const auto n = ::write(fd, bytes.constData(), size_t(bytes.size()));
                    ::close(fd);
                }
            });
            built.add([&] { transmitter.buildSound(packet); });
            written.add([&] { transmitter.writeSound(samples); });
            decoded.add([&] { tone::decode(samples); });
        }
        const double soundMs = samples.size() * 1000.0 / tone::SampleRate;
        std::printf("  %-4d %13s %13s %13s %13s %11s %13s %8.0f %9.5f\n", mode, whole.text().constData(),
                    built.text().constData(), written.text().constData(), plain.text().constData(),
                    whole.ratioTo(plain).constData(), decoded.text().constData(), soundMs,
                    ratio(median(decoded.wall), soundMs));
    }
    std::printf("\n");
}

// Milliseconds from start() until the first sample other than silence
// reaches the server's output, watched on another thread.
double toFirstSample(test::PrivateSoundServer &server, const std::function<void()> &start)
{
    server.clear(QStringLiteral("p48"));
    std::atomic<qint64> heardAt{-1};
    std::atomic<bool> done{false};
    QElapsedTimer clock;
    clock.start();
    std::thread watcher([&] {
        while (!done && heardAt < 0) {
            const QByteArray arrived = server.received(QStringLiteral("p48"));
            if (std::any_of(arrived.begin(), arrived.end(), [](char c) { return c != char(128); }))
                heardAt = clock.nsecsElapsed();
            else
                QThread::usleep(200);
        }
    });
    start();
    done = true;
    watcher.join();
    return heardAt < 0 ? -1 : double(heardAt) / 1e6;
}

void sendToFirstSample(int rounds)
{
    std::printf("A Send through a private sound server, %d rounds, median ms to the first sample at the output\n",
                rounds);
    test::PrivateSoundServer server;
    if (!server.start()) {
        std::printf("  skipped: %s\n\n", qPrintable(server.why()));
        return;
    }
    qputenv("PULSE_SERVER", server.environment().value(QStringLiteral("PULSE_SERVER")).toLocal8Bit());
    // As the program sends: one player over the turn, the guard and the output it finds.
    SystemSoundOutput output;
    MixerGuard guard(output);
    SoundTurn turn(guard);
    ThreadedSoundOutput sound(turn);
    Settings settings;
    settings.setWaveMode(0);
    bench::Quiet quiet;
    RealClock clock;
    Transmitter transmitter(quiet, sound, clock, settings);
    struct NoDialog : SendingDialog
    {
        void showOver(QObject *) override {}
        void close() override {}
    } dialog;
    sound.noteState();
    const QStringList list = packet::ledResetList();
    std::vector<double> send, transfer, plain;
    const QString path = workfolder::file(QStringLiteral("Creat.WAV"));
    PulseSoundOutput direct;
    for (int r = 0; r < rounds; ++r) {
        send.push_back(toFirstSample(server, [&] {
            QEventLoop loop;
            bool ended = false;
            transmitter.start(
                Transfer::ledProgram(list),
                [&](bool) {
                    ended = true;
                    loop.quit();
                },
                &dialog);
            if (!ended)
                loop.exec();
        }));
        QString error, warning;
        direct.prepare(); // the Send muted the speakers after it
        transfer.push_back(toFirstSample(server, [&] { direct.playTransfer(path, 0, &error, &warning); }));
        plain.push_back(toFirstSample(server, [&] { direct.play(path, &error); }));
    }
    sound.restore(true);
    std::printf("  %-44s %8.1f  (goal: 1000 + 20 at most)\n", "Send to the first sample", median(send));
    std::printf("  %-44s %8.1f\n", "transfer play to the first sample", median(transfer));
    std::printf("  %-44s %8.1f\n", "plain play to the first sample", median(plain));
    std::printf("  %-44s %8.1f  (goal: 20 at most)\n\n", "the checks before the sound add",
                median(transfer) - median(plain));
}

struct Showing
{
    double wallMs;
    double cpuMs;
};

// Shows window and measures the time until its first paint has been done.
Showing firstShowing(QWidget *window)
{
    struct PaintSeen : QObject
    {
        QWidget *window;
        bool seen = false;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && watched->isWidgetType() &&
                static_cast<QWidget *>(watched)->window() == window)
                seen = true;
            return false;
        }
    } spy;
    spy.window = window;
    qApp->installEventFilter(&spy);
    QElapsedTimer t;
    t.start();
    const double cpuStart = processCpuMs();
    window->show();
    while (!spy.seen && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const Showing showing{t.nsecsElapsed() / 1e6, processCpuMs() - cpuStart};
    qApp->removeEventFilter(&spy);
    window->hide();
    return showing;
}

// The windows as the program makes them, with services that do nothing.
struct Windows
{
    bench::Quiet quiet;
    RealClock clock;
    Settings settings;
    Transmitter transmitter{quiet, quiet, clock, settings};
    Services services{quiet, quiet, quiet, clock, settings, transmitter, quiet};
    Forms forms{services};
    std::vector<std::unique_ptr<FormWindow>> owned;

    Windows()
    {
        settings.setWizardStart(0);
        installFontSubstitutions();
        createWindows(forms);
        for (FormWindow *form : forms.all())
            owned.emplace_back(form);
    }
};

constexpr char ShowingOption[] = "--first-showing=";

// Moves the mouse onto the menu picture that opens window number, if one
// does, and waits as a user's hand does before clicking.
void pointAt(MainMenuWindow *menu, int number)
{
    const QString name = MainMenuWindow::pictureOpening(number);
    if (auto *picture = name.isEmpty() ? nullptr : menu->findChild<QWidget *>(name)) {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), picture->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &move);
    }
    const QDeadlineTimer hand(200);
    while (!hand.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// In a fresh process: the first showing of window number, as a user meets it.
// The menu is shown first and the font list filled, as the program does after
// the menu's first paint; the mouse rests on the menu picture that opens the
// window (if one does); then the menu hides and the window shows. Prints
// "TFormN wall cpu". The menu itself is measured as the first window shown.
int firstShowingHere(int number)
{
    Windows windows;
    auto *menu = static_cast<MainMenuWindow *>(windows.forms.form(2));
    // Not reached yet: the window makes its contents as it first shows.
    FormWindow *form = windows.forms.existing(number);
    if (!menu || !form)
        return 1;
    if (form != menu) {
        firstShowing(menu);
        lookUpFontsMeanwhile().join();
        prepareGuidePagesOnPointing(windows.forms);
        menu->show(); // firstShowing hid it
        QCoreApplication::processEvents();
        // The mouse comes onto the menu picture that opens the window (the
        // program then prepares its guide page), and clicks a moment later.
        pointAt(menu, number);
        menu->hide();
    }
    const Showing s = firstShowing(form);
    std::printf("%s %.3f %.3f\n", qUtf8Printable(form->objectName()), s.wallMs, s.cpuMs);
    return 0;
}

// Each window's first showing, measured in fresh processes, one window each
// (a window shows for the first time only once, and what one window loads
// must not speed up the next).
void firstShowings(int samples)
{
    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    std::vector<int> numbers;
    {
        Windows windows;
        for (FormWindow *form : windows.forms.all())
            numbers.push_back(form->number());
    }
    std::printf("First showing of each window (show to first paint, %d fresh processes each; median/worst wall "
                "ms, median CPU ms; 50 at most)",
                samples);
    double worstMedian = 0, worst = 0;
    int column = 0;
    for (int number : numbers) {
        std::vector<double> wall, cpu;
        QByteArray name;
        // The first run decodes the window's pictures into the cache, as the
        // program's first run does; the runs measured find them there.
        for (int p = -1; p < samples; ++p) {
            const ProcessRun run = spawn(self, {}, ShowingOption + QByteArray::number(number));
            const QList<QByteArray> fields = run.output.trimmed().split(' ');
            if (!run.ok || fields.size() != 3) {
                std::printf("\nfirst showings: measuring window %d failed\n\n", number);
                return;
            }
            name = fields[0];
            if (p < 0)
                continue;
            wall.push_back(fields[1].toDouble());
            cpu.push_back(fields[2].toDouble());
        }
        const double most = *std::max_element(wall.begin(), wall.end());
        worstMedian = std::max(worstMedian, median(wall));
        worst = std::max(worst, most);
        std::printf("%s%-7s %5.1f/%5.1f %5.1f", column++ % 3 ? "   " : "\n  ", name.constData(), median(wall), most,
                    median(cpu));
        std::fflush(stdout);
    }
    std::printf("\n  slowest: median %.1f ms, worst single showing %.1f ms\n\n", worstMedian, worst);
}

void repaints(int rounds)
{
    Windows windows;
    Forms &forms = windows.forms;
    auto *editor = static_cast<IconEditorWindow *>(forms.form(8));
    const int codes[] = {code::On, code::Off, code::Touch, code::Beep};
    for (int slot = 0; slot < 47; ++slot)
        editor->dropCommand(slot, codes[slot % 4]);
    QStringList steps;
    for (int i = 0; i < 47; ++i)
        steps << QStringLiteral("18,%1").arg(i * 2);
    auto *chart = static_cast<ChartViewWindow *>(forms.form(10));
    chart->setSteps(steps);

    std::printf("Repainting a whole window into an image (%d rounds, CPU time; 4 ms at most)\n", rounds);
    for (FormWindow *form : {static_cast<FormWindow *>(editor), static_cast<FormWindow *>(chart)}) {
        form->show();
        QImage image(form->size(), QImage::Format_ARGB32_Premultiplied);
        std::vector<double> times;
        for (int r = 0; r < rounds; ++r)
            times.push_back(msOf([&] { form->render(&image); }));
        form->hide();
        std::printf("  %-40s median %6.2f ms, max %6.2f ms\n",
                    form == editor ? "icon editor, 47 filled slots" : "chart view, 47 steps", median(times),
                    *std::max_element(times.begin(), times.end()));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // A window measured in a process of its own keeps the home (and the
    // picture cache) of the run that started it.
    const bool showing = argc > 1 && qstrncmp(argv[1], ShowingOption, qstrlen(ShowingOption)) == 0;
    // A runtime folder of the run's own: Qt warns at every start without
    // one, and a kr31 running on the desktop would take the measured starts.
    QTemporaryDir runtime;
    if (!showing)
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QTemporaryDir home;
    if (!showing)
        qputenv("HOME", QFile::encodeName(home.path()));
    // Both programs start with the same message bus: where none runs, kr31
    // asks for none to be started, and so does the bare window here.
    useNoBusUnlessRunning();
    QApplication app(argc, argv);
    if (showing)
        return firstShowingHere(atoi(argv[1] + qstrlen(ShowingOption)));
    const int rounds = argc > 1 ? std::max(3, atoi(argv[1])) : 21;
    if (qgetenv("KR31_BENCH_ONLY") == "send") {
        sendToFirstSample(rounds);
        return 0;
    }
    startUp(rounds);
    sound(rounds * 2 + 1);
    sendToFirstSample(std::max(5, rounds / 2));
    firstShowings(std::max(3, rounds / 6));
    repaints(rounds);
    return 0;
}
