#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The text language: one statement per line, written with the twelve command
// names of the settings (key order 1..12) and the fixed loop words "For" and
// "While". Every function is a pure function of the text lines and the names.
namespace kr31::textlang {

// The loop codes of the command list: For with "i<" and "i<=", While with "i<" and "i<=".
inline constexpr int ForBelow = 221, ForUpTo = 222, WhileBelow = 231, WhileUpTo = 232;

// The line without its comment ("//" to the end) and its line end, with every
// ASCII space removed (tabs and full-width spaces stay). Empty means blank.
QString cleanLine(const QString &line);

// A statement as written: name before the first "(", arguments up to the next
// ")", tail from there up to the next "(" or the end. hasParentheses is false
// when the line has no "(" or no ")" after it.
struct Statement
{
    QString name;
    QString arguments;
    QString tail;
    bool hasParentheses = false;
};
Statement splitStatement(const QString &cleaned);

// The code of a command name, compared without regard to letter case with the
// names in key order (the first match wins); 0 when none matches.
int codeOfName(const QString &name, const QStringList &names);

// The configured name of a command code (16..26, 100); empty for any other code.
QString nameOfCode(int code, const QStringList &names);

// What is wrong with a line, for the hint shown beside the line message.
enum class Fault {
    None,
    UnknownName,   // no command or loop word of that name
    NameCase,      // a value command written in another letter case
    LoopWordCase,  // "for", "WHILE"...
    Parentheses,   // no "(" or no ")"
    Tail,          // not ending in ";" (or "{" for a loop), or two statements on a line
    Arguments,     // wrong number of values, or values where none belong
    Value,         // a value that is no integer or lies outside its range
    LoopHeader,    // a For/While header that is not of the loop form
    NestedLoop,    // a loop header inside a loop
    RepeatInLoop,  // the Repeat command inside a loop
    StrayClose,    // "}" with no open loop
};

// The outcome of the check: the first fault stops it.
struct CheckResult
{
    enum Kind { Passed, LineFault, LoopError, OverLimit } kind = Passed;
    int line = -1;          // 0-based text line of the fault (also for a loop error, when known)
    Fault fault = Fault::None;
    QString hint;           // a short explanation for the learner; empty when there is none
    QStringList compiled;   // the compiled list (filled to 47 lines) once the lines passed

    bool ok() const { return kind == Passed; }
    // The system's message: the line message, (501) or (504); empty when passed.
    QString message() const;
};

// Checks the text: every line in the grammar, loops closed and not nested,
// no Repeat inside a loop, total weight at most 47, every repeat and loop
// line returning to an earlier line with no other repeat in between.
CheckResult check(const QStringList &lines, const QStringList &names);

// The command list of the text: one line per command, a loop line
// "kind,start,bound" at each loop end, filled with "27" to 47 lines.
// Lines that the check refuses add nothing, so a faulty text gives the
// commands of its sound lines.
QStringList compile(const QStringList &lines, const QStringList &names);

// The 0-based text line of each line of compile()'s list (before the filler).
QList<int> compiledSources(const QStringList &lines, const QStringList &names);

// A command list turned into program text: one statement per command, loop
// lines into For/While headers that compile back to the same loop line, with
// the loop body between header and "}". Filler and unknown codes are dropped.
QStringList toText(const QStringList &commandLines, const QStringList &names);

} // namespace kr31::textlang
