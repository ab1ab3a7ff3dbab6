#include "cli/CliCommands.h"

#include "cli/SendProgress.h"
#include "core/CommandLineError.h"
#include "core/Messages.h"
#include "core/RealClock.h"
#include "core/Settings.h"
#include "core/TextTools.h"
#include "link/Packets.h"
#include "sound/SoundOutput.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "link/Transmitter.h"
#include "link/WavFile.h"
#include "core/Resources.h"
#include "core/TextFile.h"
#include "editors/flowchart/FlowchartFile.h"
#include "editors/icon/IconFile.h"
#include "editors/text/TextLanguage.h"
#include "editors/text/WordFile.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "program/CommandList.h"
#include "program/ProgramFile.h"
#include "report/ReportPage.h"
#include "sound/ThreadedSoundOutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <functional>
#include <optional>

namespace kr31 {

namespace {

// Messages go to standard error; a question is answered No (nothing is asked).
class StreamDialogs : public Dialogs
{
public:
    explicit StreamDialogs(QTextStream &err)
        : m_err(err)
    {
    }
    void warning(const QString &text) override { show(text); }
    void information(const QString &text) override { show(text); }
    Answer question(const QString &text, AnswerButtons, BoxKind) override
    {
        show(text);
        return Answer::No;
    }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }

    // Runs before each message (a progress bar ends its line).
    std::function<void()> beforeMessage;

private:
    void show(const QString &text)
    {
        if (beforeMessage)
            beforeMessage();
        m_err << text << '\n';
    }
    QTextStream &m_err;
};

struct Failure
{
    QString message;
    bool usage = false; // a missing argument: the usage follows the message, exit 2
};

// (111) with the file and why it cannot be read.
QString cannotOpen(const QString &path, const QString &why)
{
    return msg::CannotOpen111 + QStringLiteral("\n") + path + QStringLiteral(": ") + why;
}

// The program of a file as the icon editor holds it after opening the file.
std::optional<IconProgram> iconProgramOf(const QString &path, Failure &failure)
{
    const iconfile::ReadResult read = iconfile::read(path);
    if (!read.ok()) {
        failure.message = read.status == FileRead::Unreadable ? cannotOpen(path, read.reason) : read.message();
        return std::nullopt;
    }
    return read.program;
}

// The compiled list of a file with flowchart pages, as the flowchart editor
// compiles it after opening the file (the file's own command list may be
// stale or hand-edited and is not used). forSending adds the send's limit.
std::optional<QStringList> flowchartListOf(const QString &path, const ProgramFile &file, bool forSending,
                                           Failure &failure)
{
    flowfile::ReadResult read = flowfile::readLines(QStringList{file.marker} + file.lines);
    read.path = path;
    if (!read.ok()) {
        failure.message = read.message();
        return std::nullopt;
    }
    const FlowOutcome compiled = read.program.compileChart();
    if (!compiled.ok()) {
        failure.message = compiled.message;
        return std::nullopt;
    }
    if (forSending) {
        if (const FlowOutcome check = read.program.checkForLamp(); !check.ok()) {
            failure.message = check.message;
            return std::nullopt;
        }
    }
    return read.program.CompiledList;
}

// True for the files the text window opens as a program text.
bool isTextProgram(const ProgramFile &file)
{
    return programfile::editorOf(file) == programfile::Editor::Text;
}

// The checked command list of a text program file, compiled from its text with
// the command names of set.ini, as the text window sends it after opening the file.
std::optional<QStringList> textCommandList(const QString &path, Failure &failure)
{
    const QStringList names = Settings().commandNames();
    const wordfile::ReadResult read = wordfile::read(path, names);
    if (read.status != wordfile::ReadResult::Ok) {
        failure.message = read.status == wordfile::ReadResult::Unreadable ? msg::CannotOpen111 : read.message();
        return std::nullopt;
    }
    const textlang::CheckResult check = textlang::check(read.text, names);
    if (!check.ok()) {
        QStringList message{check.message()};
        if (check.line >= 0)
            message.append(msg::atLine(check.line + 1, read.text.value(check.line)));
        if (!check.hint.isEmpty())
            message.append(check.hint);
        failure.message = message.join(u'\n');
        return std::nullopt;
    }
    return check.compiled;
}

// The command list that a program file sends, checked as the lamp needs it:
// an "LED" or "LITE" list as it stands, a "DD" file as the icon editor sends
// it, a file with flowchart pages as the flowchart editor sends it, a text
// program ("WORD", or a list with its text) compiled from its text.
std::optional<QStringList> commandListOf(const QString &path, Failure &failure)
{
    QString why;
    const auto file = ProgramFile::read(path, &why);
    if (!file) {
        failure.message = cannotOpen(path, why);
        return std::nullopt;
    }
    if (flowfile::hasPages(QStringList{file->marker} + file->lines))
        return flowchartListOf(path, *file, true, failure);
    if (isTextProgram(*file))
        return textCommandList(path, failure);
    if (file->marker == QLatin1String("DD")) {
        const auto program = iconProgramOf(path, failure);
        if (!program)
            return std::nullopt;
        const IconCheck check = program->checkProgram();
        if (!check.ok) {
            failure.message = (check.messages + QStringList{msg::ProgramError502}).join(u'\n');
            return std::nullopt;
        }
        return program->compileSlots();
    }
    if (!file->isLedList()) {
        failure.message = msg::OtherStep112;
        return std::nullopt;
    }
    const QStringList list = file->commandSection();
    const auto check = commandlist::check(list);
    if (!check.ok) {
        failure.message =
            check.line >= 0 ? check.message + u'\n' + msg::atLine(check.line + 2, list.at(check.line)) : check.message;
        return std::nullopt;
    }
    return list;
}

// The melody of a "MELODY" file as the melody editor holds it after opening
// the file; a voice of more than 95 notes is cut, which is added to notes.
std::optional<Melody> melodyOf(const QString &path, Failure &failure, QStringList &notes)
{
    const melodyfile::ReadResult read = melodyfile::read(path);
    if (read.status != melodyfile::ReadResult::Ok) {
        failure.message = read.status == melodyfile::ReadResult::Unreadable ? msg::CannotOpen111 : read.message();
        return std::nullopt;
    }
    for (int voice : read.cutVoices)
        notes.append(msg::melodyCut(voice));
    return read.melody;
}

bool isMelodyFile(const QString &path)
{
    const auto file = ProgramFile::read(path);
    return file && file->marker == melodyfile::Marker;
}

// The packet a file sends: a melody file's as the melody editor sends it, a
// program file's as packetOf below.
std::optional<Packet> packetOf(const QString &path, Failure &failure, QTextStream &err)
{
    if (isMelodyFile(path)) {
        QStringList notes;
        const auto melody = melodyOf(path, failure, notes);
        for (const QString &note : notes)
            err << note << '\n';
        if (!melody)
            return std::nullopt;
        return melodyfile::packet(*melody);
    }
    const auto list = commandListOf(path, failure);
    if (!list)
        return std::nullopt;
    const auto result = packet::ledProgram(*list);
    if (!result)
        failure.message = msg::ProgramError502;
    return result;
}


// What a command gets: its positional arguments, the options, the streams.
struct Context
{
    Context(const QStringList &args, const QCommandLineParser &options, QTextStream &out, QTextStream &err,
            SoundOutput &sound, bool progress)
        : args(args), options(options), out(out), err(err), sound(sound), progress(progress)
    {
    }

    QStringList args;
    const QCommandLineParser &options;
    QTextStream &out;
    QTextStream &err;
    SoundOutput &sound;
    bool progress;
    Settings settings;
    Failure failure;

    std::optional<int> mode() const
    {
        return options.isSet(QStringLiteral("mode")) ? text::toInt(options.value(QStringLiteral("mode")))
                                                     : std::nullopt;
    }
    int variant() const { return mode().value_or(settings.waveMode()); }
    QByteArray soundOf(const Packet &packet) const
    {
        return tone::transferSound(packet, [this] { return variant(); });
    }
    QString output() const { return options.value(QStringLiteral("output")); }

    bool fail(const QString &message)
    {
        failure.message = message;
        return false;
    }
    // -o is required by the commands that write a file.
    bool needOutput()
    {
        if (!output().isEmpty())
            return true;
        failure.usage = true;
        return fail(msg::OutputFileMissing);
    }
    // The sound to the -o file, or with "-o -" to standard output.
    bool writeOut(const QByteArray &samples)
    {
        if (!needOutput())
            return false;
        if (output() == QLatin1String("-")) {
            out.flush();
            QFile stdOut;
            const QByteArray bytes = wav::fileBytes(samples);
            if (stdOut.open(stdout, QIODevice::WriteOnly) && stdOut.write(bytes) == bytes.size() && stdOut.flush())
                return true;
            return fail(msg::soundNotWritten(QStringLiteral("-"), stdOut.errorString()));
        }
        QString why;
        if (!wav::write(output(), samples, &why))
            return fail(msg::soundNotWritten(output(), why));
        return true;
    }
    // An integer argument within min..max, or a message naming what it is.
    std::optional<int> number(const QString &value, int min, int max, const QString &what)
    {
        const auto n = text::toInt(value);
        if (n && *n >= min && *n <= max)
            return n;
        fail(msg::outOfRange(what, min, max, value));
        return std::nullopt;
    }
};

// Sends a packet to the lamp as the windows do (the transmitter's send job,
// run here to its end), leaving the speakers as they were found; with
// progress, a bar on err follows the wait and the sound.
bool sendToLamp(Context &c, const Transfer &transfer)
{
    const Packet &packet = *transfer.packet;
    const int waitMs = transfer.pause == Transfer::Pause::None ? 0 : 500; // the job's wait before the sound
    StreamDialogs dialogs(c.err);
    RealClock realClock;
    ThreadedSoundOutput threaded(c.sound);
    std::optional<SendProgress> bar;
    std::optional<ProgressClock> barClock;
    if (c.progress) {
        const auto soundMs = c.soundOf(packet).size() / (tone::SampleRate / 1000); // one byte per sample
        bar.emplace(c.err, waitMs + int(soundMs));
        barClock.emplace(realClock, *bar);
        // The end of the sound is drawn by finish(), only when it played.
        threaded.onProgress = [&](int played, int total) {
            if (played < total)
                bar->during(played);
        };
        dialogs.beforeMessage = [&] { bar->breakLine(); };
    }
    SoundOutput &sound = c.progress ? static_cast<SoundOutput &>(threaded) : c.sound;
    Clock &clock = c.progress ? static_cast<Clock &>(*barClock) : realClock;
    Transmitter transmitter(dialogs, sound, clock, c.settings);
    transmitter.setMode(c.mode());
    sound.noteState();
    bool sent = false, ended = false;
    QEventLoop loop;
    transmitter.start(transfer, [&](bool done) {
        sent = done;
        ended = true;
        loop.quit();
    });
    if (!ended)
        loop.exec();
    sound.restore(true);
    if (bar)
        bar->finish(sent);
    return sent || c.fail(msg::NotSent);
}

bool packetCommand(Context &c)
{
    const auto p = packetOf(c.args.at(0), c.failure, c.err);
    if (!p)
        return false;
    for (int v : *p)
        c.out << v << '\n';
    return true;
}

bool soundCommand(Context &c)
{
    if (!c.needOutput())
        return false;
    const auto p = packetOf(c.args.at(0), c.failure, c.err);
    return p && c.writeOut(c.soundOf(*p));
}

bool wavCommand(Context &c)
{
    if (!c.needOutput())
        return false;
    Packet values;
    for (const QString &v : c.args) {
        const auto n = c.number(v, 0, 255, QStringLiteral("値"));
        if (!n)
            return false;
        values.append(*n);
    }
    return c.writeOut(c.soundOf(values));
}

bool decodeCommand(Context &c)
{
    QString why;
    const auto bytes = textfile::readBytes(c.args.at(0), textfile::SoundLimit, &why);
    if (!bytes)
        return c.fail(cannotOpen(c.args.at(0), why));
    const auto audio = wav::parse(*bytes, &why);
    if (audio && (audio->sampleRate != tone::SampleRate || audio->channels != 1 || audio->bitsPerSample != 8))
        why = msg::WavNotTransferFormat;
    const auto decoded = (audio && why.isEmpty()) ? tone::decode(audio->samples, &why) : std::nullopt;
    if (!decoded)
        return c.fail(why);
    c.out << "mode " << decoded->variant << '\n';
    for (int v : decoded->values)
        c.out << v << '\n';
    return true;
}

bool playCommand(Context &c)
{
    if (isMelodyFile(c.args.at(0))) {
        const auto melody = packetOf(c.args.at(0), c.failure, c.err);
        return melody && sendToLamp(c, Transfer::of(*melody));
    }
    const auto list = commandListOf(c.args.at(0), c.failure);
    if (!list)
        return false;
    const Transfer transfer = Transfer::ledProgram(*list);
    return transfer.packet ? sendToLamp(c, transfer) : c.fail(transfer.refusal);
}

// With -o the packet's sound goes to that file; without, to the lamp.
bool sendOrWrite(Context &c, const Transfer &transfer)
{
    if (c.options.isSet(QStringLiteral("output")))
        return c.writeOut(c.soundOf(*transfer.packet));
    return sendToLamp(c, transfer);
}

bool brightnessCommand(Context &c)
{
    const auto percent = c.number(c.args.at(0), 0, 100, QStringLiteral("明るさ（パーセント）"));
    return percent && sendOrWrite(c, Transfer::brightness(*percent));
}

bool alarmCommand(Context &c)
{
    const auto pattern = c.number(c.args.at(0), 1, 4, QStringLiteral("パターン"));
    if (!pattern)
        return false;
    return sendOrWrite(c, Transfer::of(packet::alarmSound(*pattern)));
}

// The preview sounds of a melody file, as the melody editor writes them.
bool previewCommand(Context &c)
{
    if (!c.options.isSet(QStringLiteral("output"))) {
        c.failure.usage = true;
        return c.fail(msg::OutputFolderMissing);
    }
    const QString path = c.args.at(0);
    if (!isMelodyFile(path))
        return c.fail(ProgramFile::read(path) ? msg::OtherStep112 : msg::CannotOpen111);
    QStringList notes;
    const auto melody = melodyOf(path, c.failure, notes);
    for (const QString &note : notes)
        c.err << note << '\n';
    if (!melody)
        return false;
    if (!QDir().mkpath(c.output()))
        return c.fail(msg::soundNotWritten(c.output(), textfile::fileErrorReason(errno)));
    QString why;
    if (!preview::writeVoiceFiles(*melody, QDir(c.output()).absolutePath() + u'/', &why))
        return c.fail(why);
    return true;
}

bool reportCommand(Context &c)
{
    const QString grade = c.options.value(QStringLiteral("grade"));
    const QString cls = c.options.value(QStringLiteral("class"));
    const QString name = c.options.value(QStringLiteral("name"));
    if (!report::namesComplete(grade, cls, name))
        return c.fail(msg::NamesMissing);
    if (!c.needOutput())
        return false;
    QString impressions = report::InitialImpressions;
    if (c.options.isSet(QStringLiteral("impressions"))) {
        const QString path = c.options.value(QStringLiteral("impressions"));
        QString why;
        const auto bytes = textfile::readBytes(path, textfile::TextLimit, &why);
        if (!bytes)
            return c.fail(cannotOpen(path, why));
        impressions = textfile::decodeText(*bytes);
    }
    const auto file = ProgramFile::read(c.args.at(0));
    std::optional<QStringList> list;
    if (file && flowfile::hasPages(QStringList{file->marker} + file->lines))
        list = flowchartListOf(c.args.at(0), *file, false, c.failure);
    else if (file && isTextProgram(*file))
        list = textCommandList(c.args.at(0), c.failure);
    else if (const auto program = iconProgramOf(c.args.at(0), c.failure))
        list = program->compileSlots();
    if (!list)
        return false;
    const QStringList lines = report::pageLines(grade, cls, name, impressions, *list, resourceFolder());
    QString why;
    if (!report::writePage(c.output(), lines, &why))
        return c.fail(msg::ReportNotWritten + QStringLiteral("\n") + c.output() + QStringLiteral(": ") + why);
    return true;
}

// The program text that the text window shows after opening the file.
bool textCommand(Context &c)
{
    const wordfile::ReadResult read = wordfile::read(c.args.at(0), c.settings.commandNames());
    if (read.status != wordfile::ReadResult::Ok)
        return c.fail(read.status == wordfile::ReadResult::Unreadable ? msg::CannotOpen111 : read.message());
    for (const QString &line : read.text)
        c.out << line << '\n';
    return true;
}

// One entry per command: the usage text, --help and the manual page list them
// all (a test holds the manual to this table).
struct CliCommand
{
    const char *name;
    const char *synopsis; // what follows the name
    const char *summary;
    int minArgs;
    int maxArgs; // -1: any number
    bool (*run)(Context &);
};

const CliCommand Commands[] = {
    {"packet", "FILE.kr3", "送信するパケットを1行に1つの値で表示", 1, 1, packetCommand},
    {"sound", "FILE.kr3 -o OUT.wav [--mode N]", "パケットの転送音をWAVに書く", 1, 1, soundCommand},
    {"wav", "[--mode N] -o OUT.wav VALUE...", "値 (0..255) の転送音をWAVに書く", 1, -1, wavCommand},
    {"decode", "IN.wav", "転送音を読み、モードと値を表示", 1, 1, decodeCommand},
    {"play", "FILE.kr3 [--mode N]", "ファイルのプログラムをスピーカーからランプへ送る", 1, 1, playCommand},
    {"brightness", "PERCENT [-o OUT.wav] [--mode N]", "LEDの明るさ (0..100) をランプへ送る (-o: 転送音をWAVに書く)",
     1, 1, brightnessCommand},
    {"alarm", "PATTERN [-o OUT.wav] [--mode N]", "目覚まし音のパターン (1..4) をランプへ送る (-o: 転送音をWAVに書く)",
     1, 1, alarmCommand},
    {"preview", "FILE.kr3 -o DIR", "メロディの試聴音 UP.WAV と DOWN.WAV を DIR に書く", 1, 1, previewCommand},
    {"report", "FILE.kr3 --grade G --class C --name N [--impressions TEXTFILE] -o Report.html",
     "レポートのページを書く", 1, 1, reportCommand},
    {"text", "FILE.kr3", "文字プログラムの画面に出るプログラムを表示", 1, 1, textCommand},
};

const CliCommand *findCommand(const QString &name)
{
    for (const CliCommand &command : Commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

void addOptions(QCommandLineParser &parser)
{
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({
        {{"o", "output"}, "", "FILE"},
        {"mode", "", "N"},
        {"grade", "", "G"},
        {"class", "", "C"},
        {"name", "", "N"},
        {"impressions", "", "TEXTFILE"},
        {{"h", "help"}, ""},
        {"version", ""},
    });
}

// "-5" is a negative number for a command, not an option "5": it is passed
// through as a positional argument (the command then refuses it by its range).
const QChar NumberMark(0x2212);

QStringList markNegativeNumbers(const QStringList &args)
{
    static const QRegularExpression negative(QStringLiteral("^-[0-9]+$"));
    static const QStringList takesValue{"-o", "--output", "--mode", "--grade", "--class", "--name", "--impressions"};
    QStringList marked = args;
    for (int i = 0; i < marked.size(); ++i) {
        if (negative.match(marked.at(i)).hasMatch() && (i == 0 || !takesValue.contains(marked.at(i - 1))))
            marked[i] = NumberMark + marked.at(i).mid(1);
    }
    return marked;
}

} // namespace

QStringList cliCommandNames()
{
    QStringList names;
    for (const CliCommand &command : Commands)
        names.append(QString::fromLatin1(command.name));
    return names;
}

QString cliUsage()
{
    QString text = QStringLiteral("使い方: kr31-cli コマンド [引数...] [オプション]\n\nコマンド:\n");
    for (const CliCommand &command : Commands) {
        const QString call = QString::fromLatin1(command.name) + u' ' + QString::fromLatin1(command.synopsis);
        text += QStringLiteral("  kr31-cli %1\n      %2\n").arg(call, QString::fromUtf8(command.summary));
    }
    text += QStringLiteral(
        "\nオプション:\n"
        "  -o, --output FILE     書き出すファイル\n"
        "  --mode N              転送モード 0..3 (省略すると set.ini の設定)\n"
        "  --grade G, --class C, --name N\n"
        "                        レポートの学年・組・名前\n"
        "  --impressions TEXTFILE\n"
        "                        レポートの感想 (UTF-8 または Shift-JIS のテキスト)\n"
        "  -h, --help            この説明を表示する\n"
        "  --version             版を表示する\n"
        "\n終了コード: 0 成功 / 1 入力を使えない (ファイルが読めない・書けない、値が範囲外など) / 2 使い方の誤り\n"
        "詳しくは man kr31-cli\n");
    return text;
}

int runCli(const QStringList &args, QTextStream &out, QTextStream &err, SoundOutput &sound, bool progress)
{
    const auto finish = [&](int code) {
        out.flush();
        err.flush();
        return code;
    };
    const auto usageError = [&](const QString &message) {
        if (!message.isEmpty())
            err << message << '\n';
        err << '\n' << cliUsage();
        return finish(exitcode::Usage);
    };

    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("kr31-cli")} + markNegativeNumbers(args)))
        return usageError(commandLineError(parser));
    if (parser.isSet(QStringLiteral("help"))) {
        out << cliUsage();
        return finish(exitcode::Ok);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << "kr31-cli " << QCoreApplication::applicationVersion() << '\n';
        return finish(exitcode::Ok);
    }
    QStringList positional = parser.positionalArguments();
    for (QString &a : positional) {
        if (a.startsWith(NumberMark))
            a[0] = u'-';
    }
    if (positional.isEmpty())
        return usageError(msg::NoCommand);
    const CliCommand *command = findCommand(positional.first());
    if (!command)
        return usageError(msg::unknownCommand(positional.first()));
    const QStringList rest = positional.mid(1);
    if (rest.size() < command->minArgs || (command->maxArgs >= 0 && rest.size() > command->maxArgs))
        return usageError(
            msg::badArguments(QString::fromLatin1(command->name), QString::fromLatin1(command->synopsis)));

    Context context(rest, parser, out, err, sound, progress);
    if (parser.isSet(QStringLiteral("mode")) && !context.number(parser.value(QStringLiteral("mode")), 0, 3,
                                                                 QStringLiteral("転送モード")))
        return finish((err << context.failure.message << '\n', exitcode::Refused));
    if (command->run(context))
        return finish(exitcode::Ok);
    if (context.failure.usage)
        return usageError(context.failure.message);
    err << context.failure.message << '\n';
    return finish(exitcode::Refused);
}

} // namespace kr31
