#include "editors/text/TextLanguage.h"

#include "core/Messages.h"
#include "core/TextTools.h"
#include "program/CommandList.h"
#include "program/LedCommands.h"

#include <algorithm>
#include <optional>

namespace kr31::textlang {

namespace {

const QString Semicolon = QStringLiteral(";");
const QString Brace = QStringLiteral("{");

// The commands that take values, by code; the others take none.
bool takesValues(int code)
{
    return code == code::Light || code == code::FadeIn || code == code::FadeOut || code == code::Time ||
           code == code::Repeat;
}

int codeAt(int key)
{
    return ledCommands().at(key).code;
}

// The value command whose configured name is exactly name; 0 when none.
int exactValueCode(const QString &name, const QStringList &names)
{
    for (int key = 0; key < names.size() && key < ledCommands().size(); ++key) {
        if (takesValues(codeAt(key)) && names.at(key) == name)
            return codeAt(key);
    }
    return 0;
}

// "i" in either case followed by rest, exactly.
bool matchesLoopVariable(const QString &text, QLatin1String rest)
{
    return text.size() == rest.size() + 1 && (text.at(0) == u'i' || text.at(0) == u'I') &&
           QStringView(text).mid(1) == rest;
}

bool hasFullWidth(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == QChar(0x3000) || (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E);
    });
}

// One line, understood without regard to the loop it may stand in.
struct Line
{
    enum Kind { Blank, Close, Command, Loop, Faulty } kind = Blank;
    int code = 0;       // command code, or the loop code for a header
    QStringList values; // the command's values; for a header its bound
    Fault fault = Fault::None;
    QString hint;
};

Line faulty(Fault fault, QString hint)
{
    Line line;
    line.kind = Line::Faulty;
    line.fault = fault;
    line.hint = std::move(hint);
    return line;
}

QString rangeHint(const QString &name, const LedCommand &command)
{
    QStringList parts;
    for (const ArgumentRange &argument : command.arguments)
        parts.append(msg::argumentRange(argument.label, argument.min, argument.max));
    return msg::valuesHint(name, parts);
}

QString argumentsHint(const QString &name, const LedCommand &command)
{
    if (command.arguments.isEmpty())
        return msg::noArgumentsHint(name);
    QStringList labels;
    for (const ArgumentRange &argument : command.arguments)
        labels.append(argument.label);
    return msg::argumentCountHint(name, labels);
}

// The condition of a loop header: "i<" N (2..256, bound N - 1) or "i<=" N
// (1..255, bound N). A bound that is no integer is a fault like any other.
std::optional<std::pair<bool, int>> loopCondition(const QString &condition)
{
    const bool upTo = condition.startsWith(QLatin1String("i<="));
    if (!upTo && !condition.startsWith(QLatin1String("i<")))
        return std::nullopt;
    const QString number = condition.mid(upTo ? 3 : 2);
    if (!text::isInteger(number))
        return std::nullopt;
    const int n = *text::toInt(number);
    if (upTo ? (n < 1 || n > 255) : (n < 2 || n > 256))
        return std::nullopt;
    return std::pair{upTo, upTo ? n : n - 1};
}

Line loopHeader(const Statement &s, bool isFor)
{
    const QString example = isFor ? QStringLiteral("For(i:=1,i<3,i++){") : QStringLiteral("While(i<3){");
    const QString formHint = msg::loopFormHint(example);
    if (!s.hasParentheses)
        return faulty(Fault::Parentheses, formHint);
    if (s.tail != Brace)
        return faulty(Fault::Tail, msg::openBraceHint(s.name));
    QString condition = s.arguments;
    if (isFor) {
        const QStringList fields = s.arguments.split(u',');
        if (fields.size() != 3 || !matchesLoopVariable(fields.at(0), QLatin1String(":=1")) ||
            !matchesLoopVariable(fields.at(2), QLatin1String("++")))
            return faulty(Fault::LoopHeader, formHint);
        condition = fields.at(1);
    } else if (condition.contains(u',')) {
        return faulty(Fault::LoopHeader, formHint);
    }
    const auto bound = loopCondition(condition);
    if (!bound) {
        const bool looksLikeCondition = condition.startsWith(QLatin1String("i<"));
        return faulty(looksLikeCondition ? Fault::Value : Fault::LoopHeader,
                      looksLikeCondition ? msg::LoopBoundHint : formHint);
    }
    Line line;
    line.kind = Line::Loop;
    line.code = isFor ? (bound->first ? ForUpTo : ForBelow) : (bound->first ? WhileUpTo : WhileBelow);
    line.values = {QString::number(bound->second)};
    return line;
}

Line commandLine(const Statement &s, int code, bool exact)
{
    const LedCommand &command = *findCommand(code);
    if (!exact)
        return faulty(Fault::NameCase, {});
    if (!s.hasParentheses)
        return faulty(Fault::Parentheses, msg::ParenthesesHint);
    if (s.tail != Semicolon) {
        if (s.tail.startsWith(Semicolon))
            return faulty(Fault::Tail, msg::OneCommandPerLineHint);
        return faulty(Fault::Tail, msg::SemicolonHint);
    }
    const QStringList values = s.arguments.isEmpty() ? QStringList{} : s.arguments.split(u',');
    if (values.size() != command.arguments.size())
        return faulty(Fault::Arguments, argumentsHint(s.name, command));
    for (int i = 0; i < values.size(); ++i) {
        if (!command.arguments.at(i).accepts(values.at(i)))
            return faulty(Fault::Value, rangeHint(s.name, command));
    }
    Line line;
    line.kind = Line::Command;
    line.code = code;
    for (const QString &value : values) // "+5" and "007" are written as 5 and 7
        line.values.append(QString::number(*text::toInt(value)));
    return line;
}

Line parseLine(const QString &raw, const QStringList &names)
{
    const QString cleaned = cleanLine(raw);
    if (cleaned.isEmpty())
        return {};
    if (cleaned == QLatin1String("}")) {
        Line line;
        line.kind = Line::Close;
        return line;
    }
    const Statement s = splitStatement(cleaned);
    Line line;
    if (const int code = exactValueCode(s.name, names))
        line = commandLine(s, code, true);
    else if (s.name == keyword::For || s.name == keyword::While)
        line = loopHeader(s, s.name == keyword::For);
    else if (const int anyCase = codeOfName(s.name, names))
        line = commandLine(s, anyCase, !takesValues(anyCase));
    else if (s.name.compare(keyword::For, Qt::CaseInsensitive) == 0 ||
             s.name.compare(keyword::While, Qt::CaseInsensitive) == 0)
        line =
            faulty(Fault::LoopWordCase,
                   msg::letterCaseHint(
                       s.name, s.name.compare(keyword::For, Qt::CaseInsensitive) == 0 ? keyword::For : keyword::While));
    else
        line = faulty(Fault::UnknownName, s.name.isEmpty() ? msg::NoCommandNameHint : msg::unknownNameHint(s.name));
    if (line.fault == Fault::NameCase) {
        const QString configured = nameOfCode(codeOfName(s.name, names), names);
        line.hint = msg::letterCaseHint(s.name, configured);
    }
    if (line.kind == Line::Faulty && hasFullWidth(cleaned))
        line.hint = msg::FullWidthHint;
    return line;
}

// One pass over the text as both the check and the compiler see it.
struct Walk
{
    QStringList compiled;
    QList<int> sources;        // text line of each compiled line
    int faultLine = -1;        // first faulty line
    Fault fault = Fault::None;
    QString hint;
    int openLoopLine = -1;     // header line of a loop still open at the end
};

Walk walk(const QStringList &lines, const QStringList &names)
{
    Walk w;
    int loopCode = 0;
    int loopStart = 0;
    QString loopBound;
    const auto fail = [&w](int i, Fault fault, const QString &hint) {
        if (w.faultLine < 0) {
            w.faultLine = i;
            w.fault = fault;
            w.hint = hint;
        }
    };
    for (int i = 0; i < lines.size(); ++i) {
        const Line line = parseLine(lines.at(i), names);
        const bool inLoop = w.openLoopLine >= 0;
        switch (line.kind) {
        case Line::Blank:
            break;
        case Line::Close:
            if (!inLoop) {
                fail(i, Fault::StrayClose, msg::StrayCloseHint);
                break;
            }
            w.compiled.append(QStringLiteral("%1,%2,%3").arg(loopCode).arg(loopStart).arg(loopBound));
            w.sources.append(i);
            w.openLoopLine = -1;
            break;
        case Line::Loop:
            if (inLoop) {
                fail(i, Fault::NestedLoop, msg::NestedLoopHint);
                break;
            }
            loopCode = line.code;
            loopStart = int(w.compiled.size());
            loopBound = line.values.value(0);
            w.openLoopLine = i;
            break;
        case Line::Command:
            if (inLoop && line.code == code::Repeat) {
                fail(i, Fault::RepeatInLoop, msg::notInLoopHint(nameOfCode(code::Repeat, names)));
                break;
            }
            w.compiled.append((QStringList{QString::number(line.code)} + line.values).join(u','));
            w.sources.append(i);
            break;
        case Line::Faulty:
            fail(i, line.fault, line.hint);
            break;
        }
    }
    return w;
}

QStringList filled(QStringList list)
{
    while (list.size() < limits::MaxTotal)
        list.append(QString::number(code::Filler));
    return list;
}

bool isRepeatLine(const QString &line)
{
    static const QStringList codes = {"22", "221", "222", "231", "232"};
    return codes.contains(commandlist::field(line, 1));
}

} // namespace

QString cleanLine(const QString &line)
{
    QString cleaned = line;
    const qsizetype comment = cleaned.indexOf(QLatin1String("//"));
    if (comment >= 0)
        cleaned.truncate(comment);
    cleaned.remove(u'\r');
    cleaned.remove(u'\n');
    cleaned.remove(u' ');
    return cleaned;
}

Statement splitStatement(const QString &cleaned)
{
    Statement s;
    const qsizetype open = cleaned.indexOf(u'(');
    if (open < 0) {
        s.name = cleaned;
        return s;
    }
    s.name = cleaned.left(open);
    const qsizetype close = cleaned.indexOf(u')', open + 1);
    if (close < 0) {
        s.arguments = cleaned.mid(open + 1);
        return s;
    }
    s.hasParentheses = true;
    s.arguments = cleaned.mid(open + 1, close - open - 1);
    const qsizetype next = cleaned.indexOf(u'(', close + 1);
    s.tail = next < 0 ? cleaned.mid(close + 1) : cleaned.mid(close + 1, next - close - 1);
    return s;
}

int codeOfName(const QString &name, const QStringList &names)
{
    for (int key = 0; key < names.size() && key < ledCommands().size(); ++key) {
        if (names.at(key).compare(name, Qt::CaseInsensitive) == 0)
            return codeAt(key);
    }
    return 0;
}

QString nameOfCode(int code, const QStringList &names)
{
    for (int key = 0; key < names.size() && key < ledCommands().size(); ++key) {
        if (codeAt(key) == code)
            return names.at(key);
    }
    return {};
}

QString CheckResult::message() const
{
    switch (kind) {
    case LineFault: return msg::grammarFault(line + 1);
    case LoopError: return msg::RepeatError501;
    case OverLimit: return msg::SendOverLimit504;
    case Passed: break;
    }
    return {};
}

CheckResult check(const QStringList &lines, const QStringList &names)
{
    const Walk w = walk(lines, names);
    CheckResult result;
    if (w.faultLine >= 0) {
        result.kind = CheckResult::LineFault;
        result.line = w.faultLine;
        result.fault = w.fault;
        result.hint = w.hint;
        return result;
    }
    if (w.openLoopLine >= 0) {
        result.kind = CheckResult::LoopError;
        result.line = w.openLoopLine;
        result.hint = msg::UnclosedLoopHint;
        return result;
    }
    result.compiled = filled(w.compiled);
    if (commandlist::total(result.compiled) > limits::MaxTotal) {
        result.kind = CheckResult::OverLimit;
        return result;
    }
    for (int i = 0; i < result.compiled.size(); ++i) {
        const QString &line = result.compiled.at(i);
        if (!isRepeatLine(line))
            continue;
        const auto r = text::toInt(commandlist::field(line, 2));
        bool fine = r && *r >= 0 && *r < i;
        for (int j = fine ? *r + 1 : i; j < i && fine; ++j)
            fine = !isRepeatLine(result.compiled.at(j));
        if (!fine) {
            result.kind = CheckResult::LoopError;
            result.line = i < w.sources.size() ? w.sources.at(i) : -1;
            result.hint =
                commandlist::field(line, 1) == QLatin1String("22") ? msg::returnAddressHint(i) : msg::EmptyLoopHint;
            return result;
        }
    }
    return result;
}

QStringList compile(const QStringList &lines, const QStringList &names)
{
    return filled(walk(lines, names).compiled);
}

QList<int> compiledSources(const QStringList &lines, const QStringList &names)
{
    return walk(lines, names).sources;
}

QStringList toText(const QStringList &commandLines, const QStringList &names)
{
    QStringList text;
    QStringList pending;
    int consumed = 0;
    const auto statement = [&names](int code, const QStringList &values) {
        return nameOfCode(code, names) + u'(' + values.join(u',') + QStringLiteral(");");
    };
    for (int k = 0; k < commandLines.size(); ++k) {
        const QString &line = commandLines.at(k);
        const QString first = commandlist::field(line, 1);
        const QString second = commandlist::field(line, 2);
        const QString third = commandlist::field(line, 3);
        const auto code = text::toInt(first);
        if (!code || first != QString::number(*code))
            continue;
        switch (*code) {
        case code::On: case code::Off: case code::Touch: case code::TouchFadeIn: case code::TouchFadeOut:
        case code::Beep: case code::Stop:
            pending.append(statement(*code, {}));
            break;
        case code::Light: case code::Time:
            pending.append(statement(*code, {second}));
            break;
        case code::FadeIn: case code::FadeOut: case code::Repeat:
            pending.append(statement(*code, {second, third}));
            break;
        case ForBelow: case ForUpTo: case WhileBelow: case WhileUpTo: {
            // The header is written so that it compiles back to this loop line:
            // a bound B under "i<" is written as B + 1.
            const bool below = *code == ForBelow || *code == WhileBelow;
            const auto bound = text::toInt(third);
            const QString n = below && bound ? QString::number(qint64(*bound) + 1) : third;
            const QString condition = (below ? QStringLiteral("i<") : QStringLiteral("i<=")) + n;
            const auto start = text::toInt(second);
            const qsizetype before = std::clamp<qsizetype>(start ? qsizetype(*start) - consumed : 0, 0, pending.size());
            text.append(pending.mid(0, before));
            text.append(*code < WhileBelow ? keyword::For + QStringLiteral("(i:=1,") + condition + QStringLiteral(",i++){")
                                           : keyword::While + u'(' + condition + QStringLiteral("){"));
            text.append(pending.mid(before));
            text.append(QStringLiteral("}"));
            consumed = k + 1;
            pending.clear();
            break;
        }
        default:
            break;
        }
    }
    text.append(pending);
    return text;
}

} // namespace kr31::textlang
