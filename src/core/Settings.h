#pragma once

#include "core/IniFile.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kr31 {

// The settings file "set.ini" in the work folder. Each call sees the file as
// it is now: a read costs a stat() while the file stays unchanged (IniFile
// keeps what it parsed), a write goes to the file at once.
class Settings
{
public:
    // folder gives the folder of "set.ini" (ending with '/'); by default the work folder.
    explicit Settings(std::function<QString()> folder = {});

    QString iniPath() const;

    // Wave/name, the transfer mode 0..3: a missing key, a value that is not a
    // decimal integer or one outside 0..3 all read as 0.
    int waveMode() const;
    // waveMode() for a caller that asks many times in a row (a transfer asks
    // at every byte): each call reads the file as it is then, but the file is
    // located once, when the reader is made, and its folder is watched while
    // the reader lives (see IniFile::FolderWatch).
    std::function<int()> waveModeReader() const;
    bool setWaveMode(int mode);

    // Wizard/Start: 1 opens the wizard at the first showing of the main menu.
    int wizardStart() const;
    bool setWizardStart(int value);

    // Command/1..12: the text language's names of the twelve commands.
    QString commandName(int key) const;
    QStringList commandNames() const;
    // Writes all twelve names; false when the file cannot be written.
    bool setCommandNames(const QStringList &names);

    // True when "set.ini" exists but cannot be read.
    bool unreadable() const;

    static QStringList defaultCommandNames();

private:
    // The file for reading (the work folder is not created for that) or writing.
    IniFile ini(bool forWriting = false) const;
    std::function<QString()> m_folder;
};

// The comment colours of the text window, from "Data/set.ini" in the work folder.
struct CommentColours
{
    quint32 text;       // 0xRRGGBB
    quint32 background; // 0xRRGGBB
};

// Reads "Data/set.ini" (section coment and back, key color); a missing or
// unreadable value gives the defaults clGreen on clWhite.
CommentColours readCommentColours(const QString &workFolder);

// A colour as the settings write it: a name like "clGreen", a decimal number
// or a "$"/"0x" hexadecimal number in the 0x00BBGGRR order of those files.
// Returns 0xRRGGBB, or nullopt when the text is none of these.
std::optional<quint32> parseColour(const QString &text);

} // namespace kr31
