#pragma once

#include "core/FileRead.h"
#include "core/TextFile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace kr31 {

// A ".kr3" file as read from disk: the marker line and the lines after it.
struct ProgramFile
{
    QString marker;     // "LED", "DD", "LITE", "FURO", "WORD", "MELODY"...
    QStringList lines;  // every line after the marker

    // Reads a code page 932 file with any line ends; nullopt when it cannot be read.
    static std::optional<ProgramFile> read(const QString &path);
    // The same, with *error (if given) set to why the file cannot be read.
    static std::optional<ProgramFile> read(const QString &path, QString *error);

    // The lines after the marker up to (not including) the first line
    // "DATA" or "TEXT", or to the end.
    QStringList commandSection() const;

    // True for the markers whose command section is a checked command list.
    bool isLedList() const;
};

// Names of program files, shared by the editors' file dialogs and saves.
namespace programfile {

inline const QString Filter = QStringLiteral("KR-31ファイル(*.kr3)|*.kr3");

// The section markers after a file's command lines: flowchart pages follow
// DataMarker, a program text follows TextMarker.
inline const QString DataMarker = QStringLiteral("DATA");
inline const QString TextMarker = QStringLiteral("TEXT");

// The editor that opens a file (a double-click on it): "FURO", or "LED" with
// pages after "DATA": the flowchart editor; "WORD", or a list with a "TEXT"
// section: the text editor; another list ("LED", "DD", "LITE"): the icon
// editor; "MELODY": the melody editor; anything else: none.
enum class Editor { None, Icon, Flowchart, Text, Melody };
Editor editorOf(const ProgramFile &file);

// True when the name's extension is ".kr3" in any letter case.
bool hasProgramExtension(const QString &path);

// The name a save writes: ".kr3" appended unless the name already ends in
// ".kr3" in any letter case ("abc" -> "abc.kr3", "a.txt" -> "a.txt.kr3").
QString saveName(const QString &chosen);

// An editor's file read through the bounded reader and given to readLines,
// the result naming the file; a file that cannot be read gives status
// Unreadable with the bounded reader's reason.
template<typename Result, typename ReadLines>
Result readFile(const QString &path, ReadLines readLines)
{
    Result result;
    QString why;
    if (const auto lines = textfile::readLines(path, &why))
        result = readLines(*lines);
    else
        result.fail(FileRead::Unreadable, why);
    result.path = path;
    return result;
}

// The first step of an editor's read: the marker from the first line. No line
// ends the read as Unreadable, a marker that accepted() refuses as OtherStep;
// true when the read goes on.
template<typename Result, typename Accepted>
bool readMarker(Result &result, const QStringList &lines, Accepted accepted)
{
    if (lines.isEmpty())
        return result.fail(FileRead::Unreadable, msg::EmptyFile);
    result.marker = lines.first();
    if (!accepted(result.marker))
        return result.fail(FileRead::OtherStep);
    return true;
}

} // namespace programfile
} // namespace kr31
