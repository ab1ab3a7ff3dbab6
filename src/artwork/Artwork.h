// The pictures the program reads beside its executable ("Img/...", "HTML/DD/Img/..."),
// described as one table and drawn by a few painters per kind of picture.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kr31::art {

// What a picture is; each kind has its own painter.
enum class Kind {
    Background,   // a window's whole background (title strip included)
    TitleStrip,   // the top 73 pixels of a background, as a picture of its own
    MenuTile,     // a main-menu tool picture, normal and highlighted
    Button,       // a picture button, released and pressed
    CommandSlot,  // a slot picture of the icon editor (100 x 170)
    PaletteIcon,  // a 55 x 55 palette icon
    DragBitmap,   // the drag picture of a palette icon (white is transparent)
    ReportIcon,   // a command picture of the report page
    Gauge,        // one bar of the program size gauge
    PageTab,      // a flowchart page tab
    PageTitle,    // the title picture of a flowchart page
    PianoKey,     // a key of the melody keyboard, plain and pressed
    Panel,        // a dialog background or an illustrated panel
    StaffName,    // the small picture naming a staff of the score
    Thumb,        // the slider thumb of the icon editor
    Splash,
    AppIcon,
};

// The LED commands as the pictures know them (code order of the command table).
enum class Cmd { None, On, Off, Light, FadeIn, FadeOut, Time, Repeat, Touch, TouchFadeIn, TouchFadeOut, Beep, Stop, Empty };

// Small drawings on buttons.
enum class Glyph {
    None, Open, Save, Chart, Report, Trash, Send, Play, Home, Help, Close, Check, Cross, Back, Next,
    Circle, Flag, Note, Refresh, Hand, Printer, Magnifier, Plus, Memory, Link, Speaker, Bulb, Wand, Gear,
};

// How the second file of a picture is named.
enum class Pair {
    Single,     // one file
    Pressed,    // name + "1": the button while pressed
    Highlight,  // name + "1": the menu picture under the mouse
    DashOne,    // name + "-1": the piano key while pressed
};

struct Entry {
    QString path;     // relative to the output folder, without the extension
    QSize size;
    Kind kind = Kind::Panel;
    QString label;    // text on the picture ('\n' breaks lines)
    QColor colour;    // main colour
    Cmd cmd = Cmd::None;
    Glyph glyph = Glyph::None;
    Pair pair = Pair::Single;
    QString ext = QStringLiteral("jpg");
    QString bgRef;    // the background the picture sits on, for its corners (path of another entry)
    QPoint at;        // where it sits on that background
    int style = 0;    // a painter-specific variant (for example which window a background is)
};

struct OutputFile {
    QString path;     // relative, with extension
    QSize size;
    int entry = -1;   // index into table()
    int variant = 0;  // 0 = plain, 1 = pressed / highlighted
};

// Every picture, in a fixed order.
const QList<Entry>& table();

// The files the table expands to (two per button, menu picture and key).
QList<OutputFile> outputFiles();

// Draws one variant of an entry at its exact size.
QImage render(const Entry& entry, int variant);

// Writes every picture below outDir and "Img/manifest.txt"; returns the manifest lines
// ("path WxH", sorted), or an empty list with *error set when a file cannot be written.
QStringList generate(const QString& outDir, QString* error = nullptr);

// The relative file name of a variant ("Img/Menu/DD1.jpg").
QString variantPath(const Entry& entry, int variant);

}  // namespace kr31::art
