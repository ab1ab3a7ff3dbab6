#include "program/CommandList.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "program/LedCommands.h"

namespace kr31::commandlist {

QString field(const QString &line, int n)
{
    const QStringList fields = line.split(u',');
    return (n >= 1 && n <= fields.size()) ? fields.at(n - 1) : QString();
}

int fieldSeparators(const QString &line)
{
    return int(line.count(u','));
}

int weight(const QString &code)
{
    static const QStringList one = {"16", "17", "23", "24", "25", "26"};
    static const QStringList three = {"19", "20", "21", "22", "221", "222", "231", "232"};
    if (one.contains(code))
        return 1;
    if (code == QLatin1String("18"))
        return 2;
    if (three.contains(code))
        return 3;
    return 0;
}

QStringList body(const QStringList &lines)
{
    const qsizetype stop = lines.indexOf(QStringLiteral("100"));
    return stop < 0 ? lines : lines.mid(0, stop);
}

int total(const QStringList &lines)
{
    int sum = 0;
    for (const QString &line : body(lines))
        sum += weight(field(line, 1));
    return sum;
}

Check checkLine(const QString &line)
{
    const QStringList fields = line.split(u',');
    const auto fail = [](const QString &message) { return Check{false, message, 0}; };
    // Codes are matched on their exact text, as the weights are.
    const auto code = text::toInt(fields.first());
    if (!code || QString::number(*code) != fields.first())
        return fail(msg::ProgramError502);
    if (*code == code::Filler)
        return fields.size() == 1 ? Check{} : fail(msg::ProgramError502);
    const LedCommand *command = findCommand(isLoopVariant(*code) ? code::Repeat : *code);
    if (!command)
        return fail(msg::ProgramError502);
    if (fields.size() != command->arguments.size() + 1)
        return fail(fields.size() <= command->arguments.size() ? msg::OutOfRange507 : msg::ProgramError502);
    for (int a = 0; a < command->arguments.size(); ++a) {
        if (!command->arguments.at(a).accepts(fields.at(a + 1)))
            return fail(msg::OutOfRange507);
    }
    return {};
}

Check check(const QStringList &lines)
{
    const QStringList commands = body(lines);
    for (int i = 0; i < commands.size(); ++i) {
        const QString &line = commands.at(i);
        if (Check one = checkLine(line); !one.ok)
            return Check{false, one.message, i};
        const int code = field(line, 1).toInt();
        if ((code == code::Repeat || isLoopVariant(code)) && field(line, 2).toInt() >= i)
            return Check{false, msg::RepeatError501, i};
    }
    if (total(lines) > limits::MaxTotal)
        return Check{false, msg::SendOverLimit504, -1};
    return {};
}

} // namespace kr31::commandlist
