#pragma once

#include <QString>
#include <QStringList>

// The report page: the learner's name line, impressions and the 47 command
// slots of a program as one HTML page in code page 932.
namespace kr31::report {

inline const QString InitialImpressions = QStringLiteral("感想をご記入下さい。");
// The page's file name in the work folder.
inline const QString PageFile = QStringLiteral("Report.html");
// The command pictures, relative to the program folder.
inline const QString PictureFolder = QStringLiteral("HTML/DD/Img/");
// Table rows; each shows slot k on the left and slot k + Rows on the right.
inline constexpr int Rows = 24;

// text with &, <, >, " written as entities, and every character that code
// page 932 lacks as a numeric reference, so that the page keeps it.
QString escaped(const QString &text);

// True when grade, class and name are all non-empty.
bool namesComplete(const QString &grade, const QString &cls, const QString &name);

// grade + "年" + class + "組　" + name, as the learner typed them (not escaped).
QString nameLine(const QString &grade, const QString &cls, const QString &name);

// The picture file of a command code ("18" gives "D_light.jpg"); empty for a
// code without one (the filler "27", anything unknown).
QString pictureFile(const QString &code);

// The page's fixed head up to the program table's header row, with the
// placeholders "E1" (name line) and "Kanso" (impressions) in place.
const QStringList &templateLines();

// The whole page. commandList holds 47 lines (a missing line reads as empty);
// impressions may hold several lines (CR LF, LF or CR), each shown followed by
// "<BR>"; programFolder ends with '/'. The learner's texts are escaped. Names
// are not checked here: see namesComplete.
QStringList pageLines(const QString &grade, const QString &cls, const QString &name, const QString &impressions,
                      const QStringList &commandList, const QString &programFolder);

// Writes the page in code page 932 with CR LF, atomically (an old page stays
// whole on failure). On failure returns false and sets *error (if given).
bool writePage(const QString &path, const QStringList &lines, QString *error = nullptr);

// The page as the browser pane shows and prints it (the file keeps its bytes):
// the tables get thin ruled borders and some room around the texts instead of
// a black background showing through their cell spacing (which the pane draws
// as a thick bar at the right), fill the width so that their captions stand
// at their left edge, the program's cells keep "明るさ　50" and the numbers on
// one line, row 24's fifth blank cell (a ninth, empty column) goes, and the
// program's header row becomes the table's head, repeated on every page.
QString displayHtml(const QString &html);

} // namespace kr31::report
