#include "cli/CliCommands.h"

#include "core/Cp932.h"
#include "core/Messages.h"
#include "core/RealClock.h"
#include "core/Settings.h"
#include "core/TextTools.h"
#include "link/Packets.h"
#include "link/SoundOutput.h"
#include "link/ToneBurst.h"
#include "link/ToneDecoder.h"
#include "link/Transmitter.h"
#include "link/WavFile.h"
#include "core/Resources.h"
#include "core/TextFile.h"
#include "editors/icon/IconFile.h"
#include "program/CommandList.h"
#include "program/ProgramFile.h"
#include "report/ReportPage.h"

#include <QMap>

#include <optional>

namespace kr31 {

namespace {

const char *const Usage =
    "使い方:\n"
    "  kr31-cli packet FILE.kr3                      送信するパケットを1行に1つの値で表示\n"
    "  kr31-cli sound FILE.kr3 -o OUT.wav [--mode N] パケットの転送音をWAVに書く\n"
    "  kr31-cli wav [--mode N] -o OUT.wav VALUE...   値の転送音をWAVに書く\n"
    "  kr31-cli decode IN.wav                        転送音を読み、モードと値を表示\n"
    "  kr31-cli play FILE.kr3                        ファイルのプログラムをランプへ送る\n"
    "  kr31-cli report FILE.kr3 --grade G --class C --name N [--impressions TEXTFILE] -o Report.html\n"
    "                                                レポートのページを書く\n"
    "N は転送モード 0..3 (省略すると set.ini の設定)。";

// Messages go to standard error; a question is answered No (nothing is asked).
class StreamDialogs : public Dialogs
{
public:
    explicit StreamDialogs(QTextStream &err)
        : m_err(err)
    {
    }
    void warning(const QString &text) override { m_err << text << '\n'; }
    void information(const QString &text) override { m_err << text << '\n'; }
    Answer question(const QString &text, AnswerButtons, BoxKind) override
    {
        m_err << text << '\n';
        return Answer::No;
    }
    QString openFileName(const QString &) override { return {}; }
    QString saveFileName(const QString &) override { return {}; }

private:
    QTextStream &m_err;
};

struct Failure
{
    QString message;
};

// (111) with the file and why it cannot be read.
QString cannotOpen(const QString &path, const QString &why)
{
    return msg::CannotOpen111 + QStringLiteral("\n") + path + QStringLiteral(": ") + why;
}

// The program of a file as the icon editor holds it after opening the file.
std::optional<IconProgram> iconProgramOf(const QString &path, Failure &failure)
{
    QString why;
    const auto lines = textfile::readLines(path, &why);
    if (!lines) {
        failure.message = cannotOpen(path, why);
        return std::nullopt;
    }
    const iconfile::ReadResult read = iconfile::readLines(*lines);
    if (read.status != iconfile::ReadResult::Ok) {
        failure.message = read.message();
        return std::nullopt;
    }
    return read.program;
}

// The command list that a program file sends, checked as the lamp needs it:
// an "LED" or "LITE" list as it stands, a "DD" file as the icon editor sends it.
std::optional<QStringList> commandListOf(const QString &path, Failure &failure)
{
    QString why;
    const auto file = ProgramFile::read(path, &why);
    if (!file) {
        failure.message = cannotOpen(path, why);
        return std::nullopt;
    }
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
        failure.message = check.line >= 0
                              ? QStringLiteral("%1\n(%2 行目: %3)").arg(check.message).arg(check.line + 2).arg(list.at(check.line))
                              : check.message;
        return std::nullopt;
    }
    return list;
}

std::optional<Packet> packetOf(const QString &path, Failure &failure)
{
    const auto list = commandListOf(path, failure);
    if (!list)
        return std::nullopt;
    const auto result = packet::ledProgram(*list);
    if (!result)
        failure.message = msg::ProgramError502;
    return result;
}

// Options shared by the commands: "-o FILE", "--mode N"; the rest are positional.
struct Options
{
    QString output;
    std::optional<int> mode;
    QMap<QString, QString> named; // --grade, --class, --name, --impressions
    QStringList positional;
};

std::optional<Options> parseOptions(const QStringList &args, Failure &failure)
{
    Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        static const QStringList named{"--grade", "--class", "--name", "--impressions"};
        if (named.contains(a)) {
            if (i + 1 >= args.size()) {
                failure.message = QStringLiteral("%1 の後に値がありません。").arg(a);
                return std::nullopt;
            }
            options.named.insert(a.mid(2), args.at(++i));
        } else if (a == QLatin1String("-o") || a == QLatin1String("--mode")) {
            if (i + 1 >= args.size()) {
                failure.message = QStringLiteral("%1 の後に値がありません。").arg(a);
                return std::nullopt;
            }
            const QString value = args.at(++i);
            if (a == QLatin1String("-o")) {
                options.output = value;
                continue;
            }
            const auto mode = text::toInt(value);
            if (!mode || *mode < 0 || *mode > 3) {
                failure.message = QStringLiteral("転送モードは 0 から 3 の数字で指定して下さい: %1").arg(value);
                return std::nullopt;
            }
            options.mode = *mode;
        } else {
            options.positional.append(a);
        }
    }
    return options;
}

} // namespace

int runCli(const QStringList &args, QTextStream &out, QTextStream &err, SoundOutput &sound)
{
    Failure failure;
    const auto finish = [&](bool ok) {
        if (!ok)
            err << (failure.message.isEmpty() ? QString::fromUtf8(Usage) : failure.message) << '\n';
        out.flush();
        err.flush();
        return ok ? 0 : 1;
    };
    if (args.isEmpty())
        return finish(false);
    const QString command = args.first();
    const auto options = parseOptions(args.mid(1), failure);
    if (!options)
        return finish(false);
    const QStringList &pos = options->positional;
    Settings settings;
    const auto variant = [&] { return options->mode.value_or(-1) >= 0 ? *options->mode : settings.waveMode(); };
    const auto writeOut = [&](const QByteArray &samples) {
        if (options->output.isEmpty()) {
            failure.message = QStringLiteral("書き出すファイルを -o で指定して下さい。");
            return false;
        }
        QString why;
        if (!wav::write(options->output, samples, &why)) {
            failure.message = msg::SettingsWrite105 + QStringLiteral("\n") + options->output + QStringLiteral(": ") + why;
            return false;
        }
        return true;
    };

    if (command == QLatin1String("packet") && pos.size() == 1) {
        const auto p = packetOf(pos.at(0), failure);
        if (!p)
            return finish(false);
        for (int v : *p)
            out << v << '\n';
        return finish(true);
    }
    if (command == QLatin1String("sound") && pos.size() == 1) {
        const auto p = packetOf(pos.at(0), failure);
        return finish(p && writeOut(tone::transferSound(*p, variant)));
    }
    if (command == QLatin1String("wav") && !pos.isEmpty()) {
        Packet values;
        for (const QString &v : pos) {
            const auto n = text::toInt(v);
            if (!n || *n < 0 || *n > 255) {
                failure.message = QStringLiteral("値は 0 から 255 の整数で指定して下さい: %1").arg(v);
                return finish(false);
            }
            values.append(*n);
        }
        return finish(writeOut(tone::transferSound(values, variant)));
    }
    if (command == QLatin1String("decode") && pos.size() == 1) {
        QString why;
        const auto bytes = textfile::readBytes(pos.at(0), textfile::SoundLimit, &why);
        if (!bytes) {
            failure.message = cannotOpen(pos.at(0), why);
            return finish(false);
        }
        const auto audio = wav::parse(*bytes, &why);
        if (audio && (audio->sampleRate != tone::SampleRate || audio->channels != 1 || audio->bitsPerSample != 8))
            why = QStringLiteral("48000 Hz・モノラル・8ビットのWAVファイルではありません。");
        const auto decoded = (audio && why.isEmpty()) ? tone::decode(audio->samples, &why) : std::nullopt;
        if (!decoded) {
            failure.message = why;
            return finish(false);
        }
        out << "mode " << decoded->variant << '\n';
        for (int v : decoded->values)
            out << v << '\n';
        return finish(true);
    }
    if (command == QLatin1String("play") && pos.size() == 1) {
        const auto list = commandListOf(pos.at(0), failure);
        if (!list)
            return finish(false);
        StreamDialogs dialogs(err);
        RealClock clock;
        Transmitter transmitter(dialogs, sound, clock, settings);
        sound.noteState();
        const bool sent = transmitter.sendLedProgram(*list);
        sound.restore(true); // leave the speakers as they were found
        if (!sent)
            failure.message = QStringLiteral("送信できませんでした。");
        return finish(sent);
    }
    if (command == QLatin1String("report") && pos.size() == 1) {
        const QString grade = options->named.value("grade");
        const QString cls = options->named.value("class");
        const QString name = options->named.value("name");
        if (!report::namesComplete(grade, cls, name)) {
            failure.message = report::NamesMissing;
            return finish(false);
        }
        if (options->output.isEmpty()) {
            failure.message = QStringLiteral("書き出すファイルを -o で指定して下さい。");
            return finish(false);
        }
        QString impressions = report::InitialImpressions;
        if (options->named.contains("impressions")) {
            const QString path = options->named.value("impressions");
            QString why;
            const auto bytes = textfile::readBytes(path, textfile::TextLimit, &why);
            if (!bytes) {
                failure.message = cannotOpen(path, why);
                return finish(false);
            }
            impressions = textfile::decodeText(*bytes);
        }
        const auto program = iconProgramOf(pos.at(0), failure);
        if (!program)
            return finish(false);
        const QStringList lines = report::pageLines(grade, cls, name, impressions, program->compileSlots(),
                                                    resourceFolder());
        QString why;
        if (!report::writePage(options->output, lines, &why)) {
            failure.message = report::CannotWrite + QStringLiteral("\n") + options->output + QStringLiteral(": ") + why;
            return finish(false);
        }
        return finish(true);
    }
    return finish(false);
}

} // namespace kr31
