#pragma once

#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QColor>
#include <QFont>
#include <QWidget>

#include <functional>

class QShortcut;

namespace kr31 {

struct Transfer;

class Forms;
class PictureButton;
struct Services;

// One entry of a window's fixed layout: a component name and its place.
struct Place
{
    const char *name;
    int x, y, w, h;
};

// Where every editor keeps its button for the virtual lamp.
inline constexpr Place LampButton{"Lamp", 607, 101, 120, 20};

// The base of the system's borderless picture windows. The window carries its
// number as objectName() ("TForm8"), is centred on the screen at its first
// showing, decodes its pictures then (not when it is created), and shows (101)
// once per showing when any of its pictures could not be loaded.
//
// All windows are created at start, but most make their contents (components,
// keys, pictures) only when first needed: when first shown, or when another
// window reaches them through Forms. The start-up so makes only what the main
// menu shows.
class FormWindow : public QWidget
{
    Q_OBJECT
public:
    FormWindow(int number, QSize size, Forms &forms, QWidget *parent = nullptr);

    int number() const { return m_number; }

    // Makes the window's contents unless that is done already.
    void ensureBuilt();
    bool isBuilt() const { return m_built; }
    // A window makes its contents before it first shows.
    void setVisible(bool visible) override;
    // Whether the window has been shown at least once.
    bool shownBefore() const { return m_shownBefore; }
    // The page the window's guide pane shows (relative to the resources);
    // empty for a window without one.
    virtual QString guidePage() const { return {}; }
    // The first showing of a window with a guide page lays the page out, and
    // the window thread then loads the page's fonts and draws each of its
    // characters for the first time: half of that showing. This does that
    // work ahead, off screen, once, unless the window has shown already; the
    // window itself is left as it is (not even made). It takes milliseconds
    // and the fonts stay loaded, so it is done when the user is about to open
    // the window.
    void prepareGuidePage();
    Forms &forms() { return m_forms; }
    Services &services();
    // Starts the send job of transfer with the sending dialog over this
    // window; done gets whether it was sent. False while another send runs.
    bool sendOver(const Transfer &transfer, std::function<void(bool)> done = {});

    // The background picture `Image1` over the whole window; it is the title strip.
    QLabel *setBackground(const QString &picture);
    // The paper colour shown where a window's picture is missing.
    static inline const QColor PaperColour{0xfd, 0xf6, 0xe3};
    // Fills widget's own background with colour where nothing covers it (a
    // palette, not a style sheet: the first style sheet of the program costs
    // milliseconds of the start-up).
    static void fillBackground(QWidget *widget, const QColor &colour = PaperColour);
    // A picture button of folder at place; onClick runs on a click. picture
    // names its files when they are not named after the component.
    PictureButton *addButton(const QString &folder, const Place &place, std::function<void()> onClick,
                             const QString &picture = {});
    // A picture in a label, reporting a missing file like the buttons do
    // (decoded at the window's first showing, see loadPicture).
    bool showPicture(QLabel *label, const QString &picture);
    // The standard chrome of a tool window: Menu, Help and Bye of folder at their places.
    void addChrome(const QString &folder, const Place &menu, const Place &help, const Place &bye);

    // Places this window centred over opener's window (halves to even) and
    // shows it, in front, without making it modal; opener becomes its opener.
    void showCentredOver(QWidget *opener);
    // The window this one was last opened from (the editor that runs the
    // lamp, shows the chart, asks the command dialog...); null before that,
    // or once that window is gone.
    QWidget *opener() const { return m_opener; }

    // A key of the whole window that runs handler (the button's own handler,
    // so every message and question still comes).
    QShortcut *addShortcut(const QKeySequence &key, std::function<void()> handler);
    // A key that presses the first of the named buttons that is on show, as a
    // click does (fallback runs when none is); the buttons' tooltips show the
    // key. Ctrl+Return and Return also answer to the keypad's Enter.
    void bindKey(const QKeySequence &key, const QStringList &buttons, std::function<void()> fallback = {});
    // The first button of that name that is on show in this window, or null.
    PictureButton *shownButton(const QString &name) const;

    // Called for every picture that could not be loaded.
    virtual void pictureMissing(const QString &path);

    // Hides this window and shows the main menu.
    virtual void MenuClick();
    // Ends the program.
    virtual void ByeClick();
    // Opens the user guide; an editor says (102) when that fails, other
    // windows say nothing.
    void HelpClick();

protected:
    // Makes the contents, once. A window that makes everything in its
    // constructor leaves this empty.
    virtual void buildContents() {}

    // Notes opener's window as this window's opener.
    void setOpener(QWidget *opener);
    // Places this window centred over opener's window (halves to even; left
    // where it is when opener is null), which becomes its opener.
    void placeCentredOver(QWidget *opener);

    // The window font: ＭＳ Ｐゴシック at pixelSize (returned).
    QFont useWindowFont(int pixelSize);
    // The editors' shared frame: the window font (12 px ＭＳ Ｐゴシック, returned),
    // the background picture (component backName, on paper where it is
    // missing) and the title picture Image17 that drags the window.
    QFont addEditorChrome(const QString &backName, const QString &backPicture, const QString &titlePicture,
                          const QColor &paper = PaperColour);
    // Editors report a help page that cannot be opened.
    void reportHelpFailure() { m_helpReportsFailure = true; }
    void showEvent(QShowEvent *event) override;
    // Closing the window from the desktop (Alt+F4, the task bar) acts as its
    // Bye button, so an editor asks its save question and the program never
    // runs on with no window. Windows shown over others just hide instead.
    void closeEvent(QCloseEvent *event) override;

private:
    void reportMissing();
    void showKeysIn(PictureButton *button) const;

    int m_number;
    Forms &m_forms;
    QPointer<QWidget> m_opener;
    bool m_built = false;
    bool m_placed = false;
    bool m_shownBefore = false;
    bool m_guidePrepared = false;
    bool m_missingPending = false;
    bool m_missingShown = false;
    bool m_helpReportsFailure = false;
    QMap<QString, QList<QKeySequence>> m_buttonKeys; // button name -> its keys
};

} // namespace kr31
