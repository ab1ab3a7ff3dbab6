#pragma once

#include "ui/FirstPainted.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

class QWidget;

namespace kr31 {

class Forms;

// Creates the seventeen windows in their fixed order (the main menu first,
// with the splash shown while it is made) and registers them in forms.
// The windows are parented to nothing; forms' owner deletes them.
// Returns the splash, hidden once the menu is made. Taking its window down
// waits for the window system, so the caller may let it go after the menu's
// first paint (whenFirstPainted); dropping it at once only takes longer.
std::unique_ptr<QWidget> createWindows(Forms &forms);

// Starts decoding the pictures of the splash and the main menu on other
// threads. createWindows() does so too; the program calls this first, before
// the application object is made, so that they are read meanwhile.
void startDecodingFirstPictures();


// Fills the font database (the system's font configuration read and every
// font listed) on another thread: the database is shared (and locked), so the
// window thread finds it filled when a window first shows text. Fonts
// themselves are not loaded there: each thread keeps its own loaded fonts, so
// the window thread would load them again. Call once the application object
// exists (the program: after the menu's first paint, which needs no font);
// join the thread before it goes.
std::thread lookUpFontsMeanwhile();

// FormWindow::prepareGuidePage of window number, if it exists. The program
// calls prepareGuidePagesOnPointing once the menu has painted: a window's
// guide page is then prepared when the mouse or the keyboard comes onto the
// menu picture that opens it, a moment before the click.
void prepareGuidePage(Forms &forms, int number);
void prepareGuidePagesOnPointing(Forms &forms);

// Opens a program file (given on the command line) from the main menu in
// the editor its marker names; (111) or (112) when none takes it.
void openProgramFile(Forms &forms, const QString &path);

// A file handed over by a second start of the program: the window in front
// comes to the front; a file opens in its editor, after the save question of
// the editor in front (as Open asks) or by way of the main menu. Waits for a
// modal window in front to close and for a send to end.
void receiveFile(Forms &forms, const QString &path);

// Runs action once no modal window (the first-run wizard, a message) stands
// in front, so that what it shows is not hidden behind that window, and no
// send runs (nothing opens under a transfer).
void whenNoModalWindow(Forms &forms, const std::function<void()> &action);

// Maps the Windows font names the windows use to the installed Japanese fonts.
void installFontSubstitutions();

// Makes the program's locale Japanese whatever the session's is, so that Qt's
// own parts (file dialogs: dates, sizes) speak Japanese, with UTF-8 characters
// even where the C library has no Japanese locale. Call before the
// application object exists.
void useJapaneseLocale();

// Where the session has no message bus, makes the program use none, so that
// the first window's showing does not make the bus library start one (a
// fork of this already threaded process, which can hang in the child while
// the window thread waits for it). No assistive technology can listen on a
// bus started that way. A bus in the environment, or at its usual place in
// the runtime folder, is left to be used. Call before any other thread.
void useNoBusUnlessRunning();

// Loads Qt's own Japanese texts (はい, いいえ, キャンセル on the message boxes);
// false when the translation is not installed.
bool installJapaneseTranslation();

} // namespace kr31
