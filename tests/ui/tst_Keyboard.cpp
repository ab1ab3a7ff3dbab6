#include "core/Messages.h"
#include "editors/flowchart/ui/CommandDialogWindow.h"
#include "editors/flowchart/ui/FlowchartEditorWindow.h"
#include "editors/flowchart/FlowchartLayout.h"
#include "editors/icon/ui/IconEditorWindow.h"
#include "lamp/ui/VirtualLampWindow.h"
#include "melody/NoteCode.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "melody/ui/NoteKeyboard.h"
#include "melody/ui/NotePickerWindow.h"
#include "support/ui/UiRig.h"
#include "ui/Keys.h"
#include "ui/PictureButton.h"
#include "ui/menu/MainMenuWindow.h"
#include "ui/menu/WizardWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

struct KeyRig : UiRig
{
    KeyRig()
    {
        settings.setWizardStart(0);
        // Modal windows show without blocking; the test then works in them.
        forms.runModal = [this](QWidget *w) {
            modalShown.append(w->objectName());
            w->show();
        };
    }

    // Shows window number as the user would have it: in front, with the keyboard.
    FormWindow *showActive(int number)
    {
        FormWindow *window = form(number);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        settle();
        log.clear();
        keys::setKeyboardInUse(true);
        return window;
    }

    bool logged(const QString &start) const
    {
        return std::any_of(log.begin(), log.end(), [&](const QString &e) { return e.startsWith(start); });
    }

    // What a key was seen to do, in the words of the tables below.
    bool observed(const QString &what, FormWindow *window)
    {
        if (what == QLatin1String("help"))
            return shell.opened.size() == 1;
        if (what == QLatin1String("print dialog"))
            return printing.shown == 1;
        if (what == QLatin1String("closed"))
            return !window->isVisible();
        if (what == QLatin1String("stays"))
            return window->isVisible() && log.isEmpty() && modalShown.isEmpty();
        if (what.startsWith(QLatin1String("shows ")))
            return form(what.mid(6).toInt())->isVisible() && !window->isVisible();
        if (what.startsWith(QLatin1String("modal ")))
            return modalShown == QStringList{what.mid(6)};
        return logged(what);
    }
};

// A key named as Qt writes it ("Return", "Delete", "Ctrl+S").
QKeyCombination keyOf(const QString &name)
{
    return QKeySequence::fromString(name, QKeySequence::PortableText)[0];
}

void press(QWidget *target, const QString &name)
{
    const QKeyCombination key = keyOf(name);
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
}

// How many sides of the button show the ring's dark band in their middle (0 to 4).
int ringPixelsOf(QWidget *b)
{
    const QColor ring(0x1a, 0x23, 0x7e);
    const QImage image = b->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    int count = 0;
    for (QPoint p : {QPoint(0, b->height() / 2), QPoint(b->width() - 1, b->height() / 2), QPoint(b->width() / 2, 0),
                     QPoint(b->width() / 2, b->height() - 1)})
        count += image.pixelColor(p * ratio) == ring;
    return count;
}

QStringList slotCodes(const IconProgram &program, int count)
{
    QStringList codes;
    for (int i = 0; i < count; ++i)
        codes.append(program.Slots[i].code);
    return codes;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Each key runs the button's own handler: the same dialogs, questions
    // and transfers come as from a click.
    void keysRunTheButtonsHandlers_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("observed");
        const QString send = QStringLiteral("prepare"); // the sound output readied for the transfer
        for (int editor : {8, 5, 9, 4}) {
            const QByteArray n = QByteArray::number(editor);
            QTest::newRow("TForm" + n + " save") << editor << "Ctrl+S" << "save dialog";
            QTest::newRow("TForm" + n + " open") << editor << "Ctrl+O" << "open dialog";
            QTest::newRow("TForm" + n + " help") << editor << "F1" << "help";
            QTest::newRow("TForm" + n + " send") << editor << "Ctrl+Return" << send;
            QTest::newRow("TForm" + n + " send, keypad") << editor << "Ctrl+Enter" << send;
            QTest::newRow("TForm" + n + " Esc is no way out") << editor << "Esc" << "stays";
        }
        QTest::newRow("melody print") << 4 << "Ctrl+P" << "modal TForm16";
        QTest::newRow("icon editor has nothing to print") << 8 << "Ctrl+P" << "stays";
        QTest::newRow("brightness send") << 3 << "Ctrl+Return" << send;
        QTest::newRow("brightness help") << 3 << "F1" << "help";
        QTest::newRow("alarm send") << 13 << "Ctrl+Return" << send;
        QTest::newRow("main menu help") << 2 << "F1" << "help";
        QTest::newRow("chart print") << 10 << "Ctrl+P" << "print dialog";
        QTest::newRow("chart close") << 10 << "Esc" << "closed";
        QTest::newRow("report print") << 14 << "Ctrl+P" << "print dialog";
        QTest::newRow("report close") << 14 << "Esc" << "closed";
        QTest::newRow("command dialog cancel") << 11 << "Esc" << "closed";
        QTest::newRow("note picker cancel") << 12 << "Esc" << "closed";
        QTest::newRow("melody print cancel") << 16 << "Esc" << "closed";
        QTest::newRow("transfer mode back") << 1 << "Esc" << "shows 6";
        QTest::newRow("settings back, nothing typed") << 6 << "Esc" << "shows 2";
        QTest::newRow("wizard first page cancel") << 17 << "Esc" << "closed";
        QTest::newRow("wizard first page sends nothing") << 17 << "Ctrl+Return" << "stays";
        QTest::newRow("settings keep the words") << 6 << "Ctrl+S" << "shows 2";
    }
    void keysRunTheButtonsHandlers()
    {
        QFETCH(int, window);
        QFETCH(QString, key);
        QFETCH(QString, observed);
        KeyRig rig;
        FormWindow *w = rig.showActive(window);
        press(w, key);
        KeyRig::settle();
        QVERIFY2(rig.observed(observed, w), qPrintable(rig.log.join(QStringLiteral(" | "))));
    }

    // Esc never throws away what the user has not kept.
    void escapeKeepsUnsavedWork()
    {
        KeyRig rig;
        FormWindow *settings = rig.showActive(6);
        auto *word = settings->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        word->setText(QStringLiteral("hikari"));
        QTest::keyClick(settings, Qt::Key_Escape);
        QVERIFY(settings->isVisible());
        QCOMPARE(word->text(), QStringLiteral("hikari"));

        // An inner page of the wizard asks before it leaves.
        auto *wizard = static_cast<WizardWindow *>(rig.showActive(17));
        wizard->NextClick();
        rig.dialogs.answers = {Answer::Cancel};
        QTest::keyClick(wizard, Qt::Key_Escape);
        QCOMPARE(rig.dialogs.questions.size(), 1);
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->page(), WizardWindow::Connect);
    }

    // A modified editor asks its save question before Ctrl+O opens anything.
    void openAsksTheSaveQuestionFirst()
    {
        KeyRig rig;
        auto *editor = static_cast<IconEditorWindow *>(rig.showActive(8));
        editor->dropCommand(0, 16);
        rig.dialogs.answers = {Answer::Cancel};
        QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(rig.log, QStringList{QStringLiteral("question: ") + msg::SavePrompt});
    }

    void tooltipsNameTheKeys_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("tip");
        QTest::newRow("save") << 8 << "File_Save" << "ほぞん (Ctrl+S)";
        QTest::newRow("open") << 5 << "File_Open" << "ひらく (Ctrl+O)";
        QTest::newRow("send") << 9 << "Send" << "おくる (Ctrl+Enter)";
        QTest::newRow("help") << 4 << "Help" << "ヘルプ (F1)";
        QTest::newRow("melody print") << 4 << "Melo_Print" << "いんさつ (Ctrl+P)";
        QTest::newRow("tool send") << 13 << "Tenso" << "おくる (Ctrl+Enter)";
        QTest::newRow("report print") << 14 << "Print" << "いんさつ (Ctrl+P)";
        QTest::newRow("dialog OK") << 11 << "OK" << "OK (Enter)";
        QTest::newRow("dialog close") << 11 << "FuroBye" << "とじる (Esc)";
        QTest::newRow("print window OK") << 16 << "OK" << "OK (Enter, Ctrl+P)";
        QTest::newRow("settings cancel") << 6 << "cancel" << "やめる (Esc)";
        QTest::newRow("settings OK") << 6 << "OK" << "OK (Ctrl+S)";
        QTest::newRow("wizard cancel") << 17 << "Cancel_Send" << "やめる (Esc)";
        QTest::newRow("no key") << 8 << "Menu" << "メニュー";
        QTest::newRow("main menu quit") << 2 << "Bye" << "おわる";
    }
    void tooltipsNameTheKeys()
    {
        QFETCH(int, window);
        QFETCH(QString, button);
        QFETCH(QString, tip);
        KeyRig rig;
        auto *b = rig.form(window)->findChild<PictureButton *>(button);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), tip);
    }

    // Tab goes round every picture button that does something, once each,
    // the row along the top from left to right.
    void tabReachesEveryPictureButton_data()
    {
        QTest::addColumn<int>("window");
        for (int n : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18})
            QTest::newRow(QByteArray("TForm") + QByteArray::number(n)) << n;
    }
    void tabReachesEveryPictureButton()
    {
        QFETCH(int, window);
        KeyRig rig;
        FormWindow *w = rig.showActive(window);
        QList<PictureButton *> expected;
        for (PictureButton *b : w->findChildren<PictureButton *>()) {
            if (b->isVisible() && b->focusPolicy() != Qt::NoFocus)
                expected.append(b);
        }
        QVERIFY(!expected.isEmpty());

        QList<PictureButton *> reached;
        if (!QApplication::focusWidget())
            QTest::keyClick(w, Qt::Key_Tab);
        QWidget *const start = QApplication::focusWidget();
        QVERIFY(start);
        if (auto *b = qobject_cast<PictureButton *>(start))
            reached.append(b);
        for (int step = 0; step < 400; ++step) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus, Qt::Key_Tab);
            // A text box keeps Tab for itself; Ctrl+Tab leaves it.
            if (QApplication::focusWidget() == focus)
                QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
            QWidget *now = QApplication::focusWidget();
            if (now == start)
                break;
            QVERIFY2(now && now != focus, "the focus is stuck");
            if (auto *b = qobject_cast<PictureButton *>(now)) {
                QVERIFY2(!reached.contains(b), qPrintable(b->objectName()));
                QVERIFY(b->hasFocus());
                reached.append(b);
            }
        }
        QCOMPARE(reached.size(), expected.size());
        for (PictureButton *b : expected)
            QVERIFY2(reached.contains(b), qPrintable(b->objectName()));
        // Along the top row (y 13) the order is the reading order: going
        // round, x falls back only once, from the last button to the first.
        QList<int> xs;
        for (PictureButton *b : reached) {
            if (b->y() == 13)
                xs.append(b->x());
        }
        int fallsBack = 0;
        for (int i = 0; i < xs.size(); ++i)
            fallsBack += xs.at(i) < xs.at((i + xs.size() - 1) % xs.size());
        QVERIFY(fallsBack <= 1);
        // A picture without an action is no stop.
        if (auto *pro = w->findChild<PictureButton *>(QStringLiteral("Pro")))
            QVERIFY(!reached.contains(pro));
    }

    // The focused button carries the ring over its picture; another does not.
    void focusedButtonShowsTheRing_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("button");
        QTest::newRow("large") << 8 << "Send";
        QTest::newRow("narrow") << 5 << "File_Save";
        QTest::newRow("small") << 11 << "FuroBye";
        QTest::newRow("wizard") << 17 << "Next";
    }
    void focusedButtonShowsTheRing()
    {
        QFETCH(int, window);
        QFETCH(QString, button);
        KeyRig rig;
        FormWindow *w = rig.showActive(window);
        auto *b = w->findChild<PictureButton *>(button);
        const auto ringPixels = [b] { return ringPixelsOf(b); };
        w->setFocus();
        QCOMPARE(ringPixels(), 0);
        b->setFocus(Qt::TabFocusReason);
        QVERIFY(b->hasFocus());
        QCOMPARE(ringPixels(), 4);
        // The mouse in use: the focus stays, the ring goes.
        QTest::mousePress(w, Qt::RightButton, {}, QPoint(w->width() / 2, w->height() - 2));
        QVERIFY(b->hasFocus());
        QCOMPARE(ringPixels(), 0);
        keys::setKeyboardInUse(true);
        QCOMPARE(ringPixels(), 4);
        w->setFocus();
        QCOMPARE(ringPixels(), 0);
    }

    // While the mouse is in use the focus shows no ring: the first Enter
    // shows it, the second presses the button; a mouse press hides it again.
    // A guide page that Tab lands in shows the same dark blue at its edge.
    void guidePageShowsTheFocus_data()
    {
        QTest::addColumn<int>("window");
        for (int n : {8, 9, 1, 14})
            QTest::newRow(QByteArray("TForm") + QByteArray::number(n)) << n;
    }
    void guidePageShowsTheFocus()
    {
        QFETCH(int, window);
        KeyRig rig;
        FormWindow *w = rig.showActive(window);
        auto *page = w->findChild<QWidget *>(QStringLiteral("WebBrowser1"));
        QVERIFY(page);
        const auto edge = [page] { return page->grab().toImage().pixelColor(1, page->height() / 2); };
        const QColor ring(0x1a, 0x23, 0x7e);
        QVERIFY(edge() != ring);
        page->setFocus(Qt::TabFocusReason);
        QVERIFY(page->hasFocus());
        QCOMPARE(edge(), ring);
    }

    void unseenFocusShowsBeforeItPresses()
    {
        KeyRig rig;
        auto *wizard = static_cast<WizardWindow *>(rig.showActive(17));
        keys::setKeyboardInUse(false);
        auto *next = qobject_cast<PictureButton *>(QApplication::focusWidget());
        QVERIFY(next);
        QCOMPARE(next->objectName(), QStringLiteral("Next"));
        QCOMPARE(ringPixelsOf(next), 0);
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(wizard->page(), WizardWindow::Start);
        QCOMPARE(ringPixelsOf(next), 4);
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(wizard->page(), WizardWindow::Connect);

        // Tab too shows the unseen focus where it is before it moves it.
        wizard->hide();
        rig.showActive(17);
        QCOMPARE(QApplication::focusWidget(), next);
        QCOMPARE(ringPixelsOf(next), 4);
        QTest::mouseClick(wizard, Qt::LeftButton, {}, QPoint(300, 100));
        QCOMPARE(ringPixelsOf(next), 0);
        QTest::keyClick(next, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        QCOMPARE(ringPixelsOf(next), 4);
        QTest::keyClick(next, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != next);
    }

    // Space and Enter press the focused button, even where Enter belongs to
    // another button of the window.
    void spaceAndEnterPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("observed");
        QTest::newRow("space") << 8 << "File_Open" << "Space" << "open dialog";
        QTest::newRow("return") << 8 << "File_Open" << "Return" << "open dialog";
        QTest::newRow("keypad enter") << 8 << "File_Open" << "Enter" << "open dialog";
        QTest::newRow("close, not OK") << 11 << "FuroBye" << "Return" << "closed";
        QTest::newRow("a letter does nothing") << 8 << "File_Open" << "A" << "stays";
    }
    void spaceAndEnterPressTheFocusedButton()
    {
        QFETCH(int, window);
        QFETCH(QString, button);
        QFETCH(QString, key);
        QFETCH(QString, observed);
        KeyRig rig;
        FormWindow *w = rig.showActive(window);
        auto *b = w->findChild<PictureButton *>(button);
        b->setFocus(Qt::TabFocusReason);
        press(b, key);
        KeyRig::settle();
        QVERIFY2(rig.observed(observed, w), qPrintable(rig.log.join(QStringLiteral(" | "))));
    }

    // The icon editor written with the keys alone: the palette chooses, the
    // strip places, Insert opens a gap, Delete closes one.
    void iconStepsWithTheKeyboard_data()
    {
        QTest::addColumn<QStringList>("keys"); // "palette:Right", "strip:Return"...
        QTest::addColumn<QStringList>("codes"); // the first five slots afterwards
        QTest::addColumn<int>("slot");          // the keyboard's slot afterwards
        QTest::addColumn<bool>("modified");
        QTest::newRow("enter places ON and moves on")
            << QStringList{"strip:Return"} << QStringList{"16", "27", "27", "27", "27"} << 1 << true;
        QTest::newRow("space places too")
            << QStringList{"strip:Space", "strip:Space"} << QStringList{"16", "16", "27", "27", "27"} << 2 << true;
        QTest::newRow("palette arrows choose")
            << QStringList{"palette:Right", "palette:Right", "palette:Down", "palette:Return"}
            << QStringList{"21", "27", "27", "27", "27"} << 1 << true;
        QTest::newRow("palette stays inside")
            << QStringList{"palette:Up", "palette:Left", "palette:Return"}
            << QStringList{"16", "27", "27", "27", "27"} << 1 << true;
        QTest::newRow("bottom right is Stop")
            << QStringList{"palette:Down", "palette:Down", "palette:Down", "palette:Down", "palette:Right",
                           "palette:Right", "palette:Right", "palette:Return"}
            << QStringList{"100", "27", "27", "27", "27"} << 1 << true;
        QTest::newRow("arrows move along the strip")
            << QStringList{"strip:Right", "strip:Right", "strip:Return", "strip:Left", "strip:Left"}
            << QStringList{"27", "27", "16", "27", "27"} << 1 << true;
        QTest::newRow("no slot before the first") << QStringList{"strip:Left", "strip:Home"}
                                                  << QStringList{"27", "27", "27", "27", "27"} << 0 << false;
        QTest::newRow("insert opens a gap")
            << QStringList{"strip:Return", "strip:Return", "strip:Home", "strip:Insert"}
            << QStringList{"27", "16", "16", "27", "27"} << 0 << true;
        QTest::newRow("delete closes it")
            << QStringList{"strip:Return", "palette:Right", "strip:Return", "strip:Home", "strip:Delete"}
            << QStringList{"17", "27", "27", "27", "27"} << 0 << true;
        QTest::newRow("end goes after the program")
            << QStringList{"strip:Return", "strip:Return", "strip:Home", "strip:End"}
            << QStringList{"16", "16", "27", "27", "27"} << 2 << true;
        QTest::newRow("modifiers leave the keys alone")
            << QStringList{"strip:Shift+Return", "strip:Alt+Right"}
            << QStringList{"27", "27", "27", "27", "27"} << 0 << false;
    }
    void iconStepsWithTheKeyboard()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, codes);
        QFETCH(int, slot);
        QFETCH(bool, modified);
        KeyRig rig;
        auto *editor = static_cast<IconEditorWindow *>(rig.showActive(8));
        QWidget *palette = editor->findChild<QWidget *>(QStringLiteral("Panel3"));
        QWidget *strip = editor->findChild<QWidget *>(QStringLiteral("StripContent"));
        for (const QString &step : keys) {
            QWidget *target = step.startsWith(QLatin1String("palette")) ? palette : strip;
            target->setFocus(Qt::TabFocusReason);
            press(target, step.section(u':', 1));
        }
        QCOMPARE(slotCodes(editor->program(), 5), codes);
        QCOMPARE(editor->keyboardSlot(), slot);
        QCOMPARE(editor->isModified(), modified);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // Over the limit the key is refused as the drop is, and the place stays.
    void iconKeyboardPlacingKeepsTheLimit()
    {
        KeyRig rig;
        auto *editor = static_cast<IconEditorWindow *>(rig.showActive(8));
        for (int i = 0; i < 47; ++i)
            editor->dropCommand(i, 16);
        QWidget *strip = editor->findChild<QWidget *>(QStringLiteral("StripContent"));
        strip->setFocus(Qt::TabFocusReason);
        QTest::keyClick(strip, Qt::Key_End);
        QCOMPARE(editor->keyboardSlot(), 46);
        QWidget *palette = editor->findChild<QWidget *>(QStringLiteral("Panel3"));
        palette->setFocus(Qt::TabFocusReason);
        QTest::keyClick(palette, Qt::Key_Right); // OFF
        QTest::keyClick(palette, Qt::Key_Return);
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::AddOverLimit503});
        QCOMPARE(editor->program().Slots[46].code, QStringLiteral("16"));
        QCOMPARE(editor->keyboardSlot(), 46);
    }

    // The keyboard's slot is framed while the strip or the palette has the
    // keyboard, kept in view, and follows the mouse.
    void iconSelectionShowsAndFollows()
    {
        KeyRig rig;
        auto *editor = static_cast<IconEditorWindow *>(rig.showActive(8));
        QWidget *strip = editor->findChild<QWidget *>(QStringLiteral("StripContent"));
        const auto frames = [&] {
            QList<QWidget *> shown;
            for (auto *f : strip->findChildren<keys::SelectionFrame *>())
                if (f->isVisible())
                    shown.append(f);
            return shown;
        };
        // The editor comes up with the keyboard on the strip.
        QVERIFY(strip->hasFocus());
        QCOMPARE(frames().size(), 1);
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(strip, Qt::Key_Right);
        const QRect framed = frames().constFirst()->geometry();
        QVERIFY(framed.contains(QRect(icon::slotLeft(9), 32, 100, 170)));
        // In view: the slot lies inside the strip's shown part.
        QVERIFY(editor->stripPosition() <= icon::slotLeft(9));
        QVERIFY(editor->stripPosition() + 514 >= icon::slotLeft(9) + 100);
        // A click on another slot moves the place there.
        const QPoint onSlot(icon::slotLeft(8) + 50, 60);
        QTest::mouseClick(strip, Qt::LeftButton, {}, onSlot);
        QCOMPARE(editor->keyboardSlot(), 8);
        // Tab leaves the strip where it stands.
        const int position = editor->stripPosition();
        QTest::keyClick(strip, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Panel3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(strip->hasFocus());
        QCOMPARE(editor->stripPosition(), position);
        // The focus on a button hides the frame.
        editor->findChild<PictureButton *>(QStringLiteral("Send"))->setFocus(Qt::TabFocusReason);
        QVERIFY(frames().isEmpty());
    }

    // The flowchart's entries with the keys: the arrows choose, Enter edits
    // and Insert inserts through the command dialog, Delete deletes.
    void flowchartStepsWithTheKeyboard_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("dialog"); // the mode the dialog opened in, empty for none
        const QStringList three{"16", "18,50", "17"};
        QTest::newRow("down and up") << QStringList{"Down", "Down", "Up"} << 1 << three << "";
        QTest::newRow("no entry above the first") << QStringList{"Up"} << 0 << three << "";
        QTest::newRow("no entry below the last") << QStringList{"End", "Down"} << 2 << three << "";
        QTest::newRow("enter edits the chosen entry") << QStringList{"Down", "Return"} << 1 << three << "edit 18";
        QTest::newRow("keypad enter too") << QStringList{"Down", "Enter"} << 1 << three << "edit 18";
        QTest::newRow("insert before the chosen entry") << QStringList{"End", "Insert"} << 2 << three << "insert";
        QTest::newRow("delete the chosen entry")
            << QStringList{"Down", "Delete"} << 1 << QStringList{"16", "17"} << "";
        QTest::newRow("delete the last keeps a place")
            << QStringList{"End", "Delete"} << 1 << QStringList{"16", "18,50"} << "";
    }
    void flowchartStepsWithTheKeyboard()
    {
        QFETCH(QStringList, keys);
        QFETCH(int, selected);
        QFETCH(QStringList, entries);
        QFETCH(QString, dialog);
        KeyRig rig;
        auto *editor = static_cast<FlowchartEditorWindow *>(rig.showActive(5));
        auto *menu = editor->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
        for (int item : {0, 2, 1}) {
            menu->setCurrentIndex(item);
            if (item == 2)
                editor->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("50"));
            editor->Add_CommandClick();
        }
        QWidget *chart = editor->findChild<QWidget *>(QStringLiteral("PaintBox1"));
        chart->setFocus(Qt::TabFocusReason);
        for (const QString &key : keys)
            press(chart, key);
        QCOMPARE(editor->program().SelectedEntry, selected);
        QCOMPARE(editor->program().entries(0), entries);
        auto *commandDialog = rig.form<CommandDialogWindow>(11);
        if (dialog.isEmpty()) {
            QVERIFY(rig.modalShown.isEmpty());
        } else {
            QCOMPARE(rig.modalShown, QStringList{QStringLiteral("TForm11")});
            const bool inserting = dialog == QLatin1String("insert");
            QCOMPARE(commandDialog->question().inserting, inserting);
            QCOMPARE(commandDialog->question().code, inserting ? QString() : dialog.section(u' ', 1));
        }
    }

    // On an empty page only the arrows do something; Right and Left turn pages.
    void flowchartEmptyPageAndPages()
    {
        KeyRig rig;
        auto *editor = static_cast<FlowchartEditorWindow *>(rig.showActive(5));
        QWidget *chart = editor->findChild<QWidget *>(QStringLiteral("PaintBox1"));
        chart->setFocus(Qt::TabFocusReason);
        for (const char *key : {"Return", "Insert", "Delete", "Right"})
            press(chart, QString::fromLatin1(key));
        QVERIFY(rig.modalShown.isEmpty());
        QCOMPARE(editor->program().CurrentPage, 0);
        editor->Add_SubClick();
        editor->SelectPage(0);
        press(chart, QStringLiteral("Right"));
        QCOMPARE(editor->program().CurrentPage, 1);
        press(chart, QStringLiteral("PgUp"));
        QCOMPARE(editor->program().CurrentPage, 0);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The chosen entry is framed round its shape while the chart has the keyboard.
    void flowchartSelectionFramesTheShape()
    {
        KeyRig rig;
        auto *editor = static_cast<FlowchartEditorWindow *>(rig.showActive(5));
        auto *menu = editor->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
        menu->setCurrentIndex(0);
        editor->Add_CommandClick();
        menu->setCurrentIndex(6); // repeat
        editor->Add_CommandClick();
        QWidget *chart = editor->findChild<QWidget *>(QStringLiteral("PaintBox1"));
        auto *frame = chart->findChild<keys::SelectionFrame *>();
        QVERIFY(frame);
        QVERIFY(!frame->isVisible());
        chart->setFocus(Qt::TabFocusReason);
        QTest::keyClick(chart, Qt::Key_Down);
        QVERIFY(frame->isVisible());
        const QStringList entries = editor->program().entries(0);
        const int top = flowlayout::entryTops(entries).at(1);
        const int half = flowlayout::halfWidth(entries.at(1), flowlayout::ScreenUnit);
        const int x = flowlayout::centreOf(chart->width());
        QVERIFY(frame->geometry().contains(QRect(x - half, top, 2 * half, 50)));
        QVERIFY(!frame->geometry().intersects(QRect(x - 50, flowlayout::entryTops(entries).at(0), 100, 25)));
        // A left click on the first entry moves the frame there.
        QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(x, flowlayout::entryTops(entries).at(0) + 10));
        QCOMPARE(editor->program().SelectedEntry, 0);
        KeyRig::settle();
        QVERIFY(frame->geometry().contains(QRect(x - 50, flowlayout::entryTops(entries).at(0), 100, 25)));
        // Tab goes on to the pages, the chart staying where it stands.
        QTest::keyClick(chart, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Add_Sub"));
        QCOMPARE(editor->findChild<QScrollArea *>(QStringLiteral("ScrollBox1"))->verticalScrollBar()->value(), 0);
        QVERIFY(!frame->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(chart->hasFocus());
        QVERIFY(frame->isVisible());
    }

    // Tab follows the work on the left: the command, its values, append, then the chart.
    void flowchartTabOrder()
    {
        KeyRig rig;
        FormWindow *editor = rig.showActive(5);
        editor->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentIndex(3); // two values
        QStringList names;
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ComboBox1"));
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            names.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(names, (QStringList{"LMDTrackBar1", "Edit1", "LMDTrackBar2", "Edit2", "Add_Command", "PaintBox1"}));
    }

    // The main menu's tool pictures are Tab stops too: the focus lights the
    // picture and shows its hint as the mouse does, Enter opens the tool.
    void mainMenuToolsWithTheKeyboard_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("opens");
        QTest::newRow("icon editor") << 0 << "Image2" << 8;
        QTest::newRow("flowchart editor") << 1 << "Image3" << 5;
        QTest::newRow("alarm sound") << 5 << "Image7" << 13;
    }
    void mainMenuToolsWithTheKeyboard()
    {
        QFETCH(int, tabs);
        QFETCH(QString, picture);
        QFETCH(int, opens);
        KeyRig rig;
        FormWindow *menu = rig.showActive(2);
        keys::setKeyboardInUse(false);
        // The first picture has the focus, unseen; the first Tab shows it.
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Image2"));
        for (int i = 0; i <= tabs; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *tool = menu->findChild<QWidget *>(picture);
        QVERIFY(tool->hasFocus());
        QCOMPARE(static_cast<MainMenuWindow *>(menu)->highlighted(), tabs);
        QCOMPARE(menu->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText().remove(u'\n'),
                 tool->property("hint").toString());
        QTest::keyClick(tool, Qt::Key_Return);
        QVERIFY(rig.form(opens)->isVisible());
        QVERIFY(!menu->isVisible());
    }

    // The melody editor without a mouse: Space is a rest wherever the focus
    // is, the arrows switch the radio group that Tab reached, and the score's
    // notes are chosen and edited with the keys through the mouse's handlers.
    void melodyWithTheKeyboard_data()
    {
        QTest::addColumn<QString>("focus"); // the control with the focus first ("link:" on the link page); "" the window
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QList<int>>("voice1");
        QTest::addColumn<QList<int>>("voice2");
        QTest::addColumn<QString>("observed"); // "selected v,i", "picker edit", "play", "link on" or as above
        const QList<int> none;
        QTest::newRow("space on a focused button is a rest") << "Send" << QStringList{"Space"} << QList<int>{123} << none << "stays";
        QTest::newRow("space on a focused radio is a rest") << "RadioButton8" << QStringList{"Space"} << QList<int>{123} << none << "stays";
        QTest::newRow("arrows switch the voice") << "RadioButton7" << QStringList{"Down", "A"} << none << QList<int>{86} << "stays";
        QTest::newRow("arrows switch the length") << "RadioButton4" << QStringList{"Down", "A"} << QList<int>{124} << none << "stays";
        QTest::newRow("arrows switch to listening") << "RadioButton1" << QStringList{"Down", "A"} << none << none << "play";
        QTest::newRow("arrows switch the LED link") << "link:RadioButton9" << QStringList{"Down"} << none << none << "link on";
        QTest::newRow("left from none takes the last, delete keeps the place")
            << "" << QStringList{"A", "S", "D", "Left", "Left", "Delete"} << QList<int>{86, 90} << none << "selected 0,1";
        QTest::newRow("right from none takes the first, plus lengthens")
            << "" << QStringList{"A", "S", "Right", "+"} << QList<int>{124, 88} << none << "selected 0,0";
        QTest::newRow("keypad minus shortens, the main minus is F#5")
            << "" << QStringList{"A", "Right", "Num+-", "-"} << QList<int>{48, 116} << none << "selected 0,0";
        QTest::newRow("down goes to the other voice")
            << "RadioButton7" << QStringList{"A", "Down", "S", "Right", "Down"} << QList<int>{86} << QList<int>{88} << "selected 1,0";
        QTest::newRow("no place past the end") << "" << QStringList{"A", "End", "Right", "Right"} << QList<int>{86} << none << "selected 0,0";
        QTest::newRow("enter edits the chosen note") << "Send" << QStringList{"A", "Left", "Return"} << QList<int>{86} << none << "prepare"; // Enter belongs to the focused button
        QTest::newRow("enter on the window edits") << "" << QStringList{"A", "Left", "Return"} << QList<int>{86} << none << "picker edit";
        QTest::newRow("insert inserts") << "" << QStringList{"A", "Left", "Insert"} << QList<int>{86} << none << "picker insert";
    }
    void melodyWithTheKeyboard()
    {
        QFETCH(QString, focus);
        QFETCH(QStringList, keys);
        QFETCH(QList<int>, voice1);
        QFETCH(QList<int>, voice2);
        QFETCH(QString, observed);
        KeyRig rig;
        auto *editor = static_cast<MelodyEditorWindow *>(rig.showActive(4));
        if (focus.startsWith(QLatin1String("link:")))
            editor->LinkClick();
        QWidget *target = focus.isEmpty() ? editor : editor->findChild<QWidget *>(focus.section(u':', -1));
        target->setFocus(Qt::TabFocusReason);
        for (const QString &key : keys)
            press(QApplication::focusWidget(), key);
        QCOMPARE(editor->melody().notes[0], voice1);
        QCOMPARE(editor->melody().notes[1], voice2);
        auto *picker = rig.form<NotePickerWindow>(12);
        if (observed.startsWith(QLatin1String("selected "))) {
            QCOMPARE(QStringLiteral("selected %1,%2").arg(editor->selectedVoice()).arg(editor->selectedIndex()), observed);
        } else if (observed.startsWith(QLatin1String("picker "))) {
            QCOMPARE(rig.modalShown, QStringList{QStringLiteral("TForm12")});
            QCOMPARE(picker->mode() == NotePickerWindow::Mode::Edit, observed.endsWith(QLatin1String("edit")));
        } else if (observed == QLatin1String("link on")) {
            QVERIFY(editor->melody().link && editor->isModified());
        } else {
            QVERIFY2(rig.observed(observed, editor), qPrintable(rig.log.join(QStringLiteral(" | "))));
        }
    }

    // The note picker chooses by a note key, or by the arrows and Enter; the
    // arrows switch its length where Tab brought the keyboard.
    void notePickerWithTheKeyboard_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("chosen"); // -1: none, the picker closed
        QTest::newRow("starts on the note, arrows and enter") << "Keyboard" << QStringList{"Right", "Right", "Return"} << 52 + 38;
        QTest::newRow("up an octave") << "Keyboard" << QStringList{"Up", "Enter"} << 62 + 38;
        QTest::newRow("a note key") << "Keyboard" << QStringList{"Q"} << 60 + 38;
        QTest::newRow("space is the rest, on the close button too") << "MelodyBye" << QStringList{"Space"} << 123;
        QTest::newRow("arrows switch the length") << "RadioButton2" << QStringList{"Up", "A"} << 48;
        QTest::newRow("F8 a half note") << "Keyboard" << QStringList{"F8", "Return"} << 50 + 114;
        QTest::newRow("esc chooses nothing") << "Keyboard" << QStringList{"Esc"} << -1;
    }
    void notePickerWithTheKeyboard()
    {
        QFETCH(QString, focus);
        QFETCH(QStringList, keys);
        QFETCH(int, chosen);
        KeyRig rig;
        auto *picker = rig.form<NotePickerWindow>(12);
        int got = -1;
        // A quarter D3.
        picker->pickNote(NotePickerWindow::Mode::Edit, 50 + 38, nullptr, [&got](int code) { got = code; });
        rig.showActive(12);
        picker->findChild<QWidget *>(focus)->setFocus(Qt::TabFocusReason);
        for (const QString &key : keys)
            press(QApplication::focusWidget(), key);
        QCOMPARE(got, chosen);
        QVERIFY(!picker->isVisible());
    }

    // Every piano key shows the computer key that plays it and, when white,
    // its pitch name: readable sizes, whole, inside the key and clear of the black keys.
    void pianoKeysNameTheirComputerKeys()
    {
        KeyRig rig;
        for (int window : {4, 12}) {
            auto *keyboard = rig.form(window)->findChild<NoteKeyboard *>("Keyboard");
            QList<QRect> blackKeys;
            for (int tag : note::BlackKeys)
                blackKeys.append(keyboard->key(tag)->geometry());
            for (int tag = 48; tag <= 85; ++tag) {
                QLabel *key = keyboard->key(tag);
                auto *cap = key->findChild<QLabel *>("KeyCap");
                QVERIFY2(cap, qPrintable(key->objectName()));
                QKeyEvent typed(QEvent::KeyPress, cap->text() == u"␣" ? int(Qt::Key_Space) : int(cap->text().at(0).unicode()), {});
                QCOMPARE(NoteKeyboard::tagForKey(&typed), tag);
                const bool black = blackKeys.contains(key->geometry());
                for (QLabel *text : {cap, black ? cap : key->findChild<QLabel *>("Name")}) {
                    QVERIFY(text && text->font().pixelSize() >= (text == cap ? 11 : 12));
                    QVERIFY(text->fontMetrics().horizontalAdvance(text->text()) <= text->width());
                    const QRect at(key->mapTo(keyboard, text->pos()), text->size());
                    QVERIFY(key->geometry().contains(at));
                    QVERIFY(black || std::none_of(blackKeys.begin(), blackKeys.end(), [&](const QRect &b) { return b.intersects(at); }));
                }
            }
        }
    }

    // The lamp's touch without a mouse: T or Space while a program runs,
    // whatever has the focus, and Enter on the touch button, held as long as the key.
    void lampTouchWithTheKeyboard_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("observed"); // "touched", "halted" or "waiting"
        QTest::newRow("T on a button") << "Halt" << "T" << "touched";
        QTest::newRow("space touches, never halts") << "Halt" << "Space" << "touched";
        QTest::newRow("enter on the touch button") << "Touch" << "Return" << "touched";
        QTest::newRow("enter on halt halts") << "Halt" << "Return" << "halted";
        QTest::newRow("ctrl+T is no touch") << "Halt" << "Ctrl+T" << "waiting";
    }
    void lampTouchWithTheKeyboard()
    {
        QFETCH(QString, focus);
        QFETCH(QString, key);
        QFETCH(QString, observed);
        KeyRig rig;
        auto *lamp = rig.form<VirtualLampWindow>(18);
        lamp->runProgram({"23", "16", "21,60", "100"}, nullptr); // touch, then a light for a minute
        rig.showActive(18);
        QVERIFY(lamp->machine()->state().waitingForTouch);
        auto *target = lamp->findChild<QWidget *>(focus);
        target->setFocus(Qt::TabFocusReason);
        const QKeyCombination k = keyOf(key);
        QTest::keyPress(target, k.key(), k.keyboardModifiers());
        const bool touched = lamp->brightness() == 255;
        QTest::keyRelease(target, k.key(), k.keyboardModifiers());
        QCOMPARE(touched, observed == QLatin1String("touched"));
        QCOMPARE(lamp->isRunning(), observed != QLatin1String("halted"));
            }

    void keyTexts_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("save") << QKeySequence(keys::Save) << "Ctrl+S";
        QTest::newRow("send") << QKeySequence(keys::Send) << "Ctrl+Enter";
        QTest::newRow("cancel") << QKeySequence(keys::Cancel) << "Esc";
        QTest::newRow("help") << QKeySequence(Qt::Key_F1) << "F1";
    }
    void keyTexts()
    {
        QFETCH(QKeySequence, key);
        QFETCH(QString, text);
        QCOMPARE(keys::keyText(key), text);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_Keyboard.moc"
