#pragma once

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

// True when the name's extension is ".kr3" in any letter case.
bool hasProgramExtension(const QString &path);

// The name a save writes: ".kr3" appended unless the name already ends in
// ".kr3" in any letter case ("abc" -> "abc.kr3", "a.txt" -> "a.txt.kr3").
QString saveName(const QString &chosen);

} // namespace programfile
} // namespace kr31
