#include "core/Messages.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"
#include "link/ToneDecoder.h"
#include "link/WavFile.h"
#include "melody/MelodyFile.h"
#include "melody/MelodyPreview.h"
#include "melody/MelodyTexts.h"
#include "melody/NoteCode.h"
#include "melody/ui/MelodyEditorWindow.h"
#include "melody/ui/MelodyPrintWindow.h"
#include "melody/ui/NoteGlyphs.h"
#include "melody/ui/NotePickerWindow.h"
#include "melody/ui/ScoreView.h"
#include "report/ReportPage.h"
#include "support/ui/UiRig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

using namespace kr31;
using namespace kr31::test;

namespace {

struct MelodyRig : UiRig
{
    MelodyEditorWindow *editor = nullptr;
    NotePickerWindow *picker = nullptr;
    MelodyRig()
    {
        settings.setWizardStart(0);
        editor = form<MelodyEditorWindow>(4);
        picker = form<NotePickerWindow>(12);
        forms.open(nullptr, 4);
        settle();
        log.clear();
    }

    template <class T>
    T *child(const QString &name)
    {
        return editor->findChild<T *>(name);
    }

    // A click on a key picture as the user makes it.
    void clickKey(QWidget *window, int tag)
    {
        auto *key = window->findChild<QLabel *>(note::keyImageName(tag));
        QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
    }
    void choose(const QString &radio) { child<QRadioButton>(radio)->setChecked(true); }
    // A right click on the score at a point of its paint box, then the menu item.
    void menu(int x, int y, const char *item)
    {
        editor->scoreRightClick(QPoint(x, y), QPoint(0, 0));
        auto *popup = child<QMenu>("PopupMenu1");
        const QList<QAction *> actions = popup->findChildren<QAction *>(QString::fromLatin1(item));
        QVERIFY2(!actions.isEmpty(), item);
        actions.first()->trigger();
        popup->hide();
    }
    QByteArray file(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestMelodyEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyClickAppendsToTheChosenVoice_data();
    void keyClickAppendsToTheChosenVoice();
    void computerKeysPlayTheKeyboard();
    void listenModePlaysOneNote();
    void voiceLimit();
    void popupEditsMarkTheMelody();
    void pickerInsertsAndEdits();
    void rightClickOffANoteOpensNothing();
    void saveQuestion_data();
    void saveQuestion();
    void saveAndOpen();
    void refusedFilesKeepTheMelody_data();
    void refusedFilesKeepTheMelody();
    void sendGivesTheMelodyPacket();
    void previewPlaysBothVoicesTogether();
    void linkValuesStayInRange();
    void printedScore();
    void sharpsKeepClearOfTheHeads();
    void helpThatCannotOpenIsReported();
    void contentsWaitForFirstNeed_data();
    void contentsWaitForFirstNeed();
    void keptWindowsMakeThemselvesWhenUsed();
};

void TestMelodyEditor::keyClickAppendsToTheChosenVoice_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("voice");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("width");
    QTest::newRow("black key, half, voice 2") << "RadioButton6" << "RadioButton8" << 61 << 175 << 72;
    QTest::newRow("white key, eighth, voice 1") << "RadioButton3" << "RadioButton7" << 48 << 48 << 18;
    QTest::newRow("rest key, dotted") << "RadioButton5" << "RadioButton7" << 85 << 161 << 54;
    QTest::newRow("C6, quarter") << "RadioButton4" << "RadioButton8" << 84 << 122 << 36;
}

void TestMelodyEditor::keyClickAppendsToTheChosenVoice()
{
    QFETCH(QString, length);
    QFETCH(QString, voice);
    QFETCH(int, tag);
    QFETCH(int, code);
    QFETCH(int, width);
    MelodyRig rig;
    rig.choose(length);
    rig.choose(voice);
    rig.clickKey(rig.editor, tag);
    const int v = rig.editor->voice();
    QCOMPARE(rig.editor->melody().notes[v], QList<int>{code});
    QVERIFY(rig.editor->melody().notes[1 - v].isEmpty());
    QCOMPARE(rig.editor->melody().end[v], width);
    QVERIFY(rig.editor->isModified());
    QVERIFY(rig.sound.played.isEmpty());
    // The score shows it.
    const auto *score = rig.editor->findChild<ScoreView *>("PaintBox1");
    QCOMPARE(score->score(), score::screen(rig.editor->melody()));
}

void TestMelodyEditor::computerKeysPlayTheKeyboard()
{
    MelodyRig rig;
    QTest::keyClick(rig.editor, Qt::Key_F5); // eighth
    QTest::keyClick(rig.editor, Qt::Key_8);
    QTest::keyClick(rig.editor, Qt::Key_A);
    QTest::keyClick(rig.editor, Qt::Key_F8); // half
    QTest::keyClick(rig.editor, Qt::Key_Space);
    QTest::keyClick(rig.editor, Qt::Key_BracketLeft);
    QTest::keyClick(rig.editor, Qt::Key_Z); // no note key
    QCOMPARE(rig.editor->melody().notes[0], (QList<int>{84, 48, 199, 184}));
    QCOMPARE(rig.editor->lengthIndex(), 3);
}

void TestMelodyEditor::listenModePlaysOneNote()
{
    MelodyRig rig;
    rig.choose("RadioButton2");
    rig.choose("RadioButton3");
    rig.clickKey(rig.editor, 48);
    QVERIFY(rig.editor->melody().isEmpty());
    QVERIFY(!rig.editor->isModified());
    QCOMPARE(rig.sound.played, QList<QByteArray>{wav::fileBytes(preview::tone(48))});
    QCOMPARE(rig.log, (QStringList{"restore", "play", "silence"}));
}

void TestMelodyEditor::voiceLimit()
{
    MelodyRig rig;
    for (int i = 0; i < 95; ++i)
        rig.editor->KeyClick(60);
    QVERIFY(rig.dialogs.warnings.isEmpty());
    QCOMPARE(rig.editor->scorePosition(), Melody::scrollFor(95 * 36));
    rig.editor->KeyClick(62);
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::AddOverLimit503});
    QCOMPARE(rig.editor->melody().notes[0].size(), 95);
    // Insertion through the picker is refused before it opens.
    rig.menu(75, 40, "Insert1");
    QCOMPARE(rig.dialogs.warnings.size(), 2);
    QVERIFY(rig.modalShown.isEmpty());
    QCOMPARE(rig.editor->melody().notes[0].size(), 95);
}

void TestMelodyEditor::popupEditsMarkTheMelody()
{
    MelodyRig rig;
    rig.editor->KeyClick(48); // quarter C3 at 70
    rig.editor->KeyClick(85); // quarter rest at 106
    QVERIFY(rig.editor->File_SaveClick() == false); // cancelled: still marked
    rig.dialogs.fileNames = {rig.home.home() + "/a.kr3"};
    QVERIFY(rig.editor->File_SaveClick());
    QVERIFY(!rig.editor->isModified());

    rig.menu(110, 40, "Length2"); // the rest becomes an eighth rest
    QCOMPARE(rig.editor->melody().notes[0], (QList<int>{86, 85}));
    QVERIFY(rig.editor->isModified());
    QCOMPARE(rig.editor->melody().end[0], 72); // the menu leaves the end alone

    rig.dialogs.fileNames = {rig.home.home() + "/a.kr3"};
    rig.dialogs.answers = {Answer::Yes};
    QVERIFY(rig.editor->File_SaveClick());
    rig.menu(75, 40, "Delete1");
    rig.menu(75, 40, "Delete1");
    QVERIFY(rig.editor->melody().notes[0].isEmpty());
    QVERIFY(rig.editor->isModified());
    // The clef goes with the last note.
    const auto *score = rig.editor->findChild<ScoreView *>("PaintBox1");
    for (const score::Glyph &g : score->score().glyphs)
        QVERIFY(g.letter != QChar(u'e'));
}

void TestMelodyEditor::pickerInsertsAndEdits()
{
    MelodyRig rig;
    rig.editor->KeyClick(60); // C4 quarter at 70
    rig.editor->KeyClick(64); // E4 quarter at 106
    rig.choose("RadioButton8");
    rig.editor->KeyClick(48);

    // Length item ticked for the note under the click.
    rig.editor->scoreRightClick(QPoint(110, 40), QPoint());
    const QList<QAction *> items = rig.editor->findChild<QMenu *>("PopupMenu1")->findChildren<QAction *>("Length3");
    QVERIFY(items.first()->isChecked());
    rig.editor->findChild<QMenu *>("PopupMenu1")->hide();

    rig.menu(110, 40, "Insert1");
    QCOMPARE(rig.modalShown, QStringList{"TForm12"});
    QCOMPARE(rig.picker->mode(), NotePickerWindow::Mode::Insert);
    rig.picker->findChild<QRadioButton *>("RadioButton1")->setChecked(true); // eighth
    rig.clickKey(rig.picker, 62);
    QCOMPARE(rig.editor->melody().notes[0], (QList<int>{98, 62, 102}));
    QVERIFY(rig.picker->isHidden());

    rig.menu(75, 100, "Edit1"); // voice 2's note
    QCOMPARE(rig.picker->mode(), NotePickerWindow::Mode::Edit);
    QCOMPARE(rig.picker->lengthIndex(), 0); // the choice stays
    rig.clickKey(rig.picker, 85);
    QCOMPARE(rig.editor->melody().notes[1], QList<int>{85});

    // The close button changes nothing.
    const Melody before = rig.editor->melody();
    rig.menu(75, 100, "Edit1");
    rig.picker->MelodyByeClick();
    QCOMPARE(rig.editor->melody(), before);
}

void TestMelodyEditor::rightClickOffANoteOpensNothing()
{
    MelodyRig rig;
    rig.editor->KeyClick(48);
    auto *popup = rig.editor->findChild<QMenu *>("PopupMenu1");
    for (QPoint at : {QPoint(100, 40), QPoint(75, 85), QPoint(75, 100), QPoint(75, 195)}) {
        rig.editor->scoreRightClick(at, QPoint());
        QVERIFY2(!popup->isVisible(), qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
    }
    QCOMPARE(rig.editor->selectedVoice(), -1);
}

void TestMelodyEditor::saveQuestion_data()
{
    QTest::addColumn<QString>("handler");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<bool>("marked");
    QTest::newRow("All_Delete, No") << "All_Delete" << Answer::No << true << false;
    QTest::newRow("All_Delete, Cancel") << "All_Delete" << Answer::Cancel << false << true;
    QTest::newRow("All_Delete, Yes, save cancelled") << "All_Delete" << Answer::Yes << false << true;
    QTest::newRow("Menu, No") << "Menu" << Answer::No << true << false;
    QTest::newRow("Menu, Cancel") << "Menu" << Answer::Cancel << false << true;
    QTest::newRow("Open, Yes, save cancelled") << "File_Open" << Answer::Yes << false << true;
}

void TestMelodyEditor::saveQuestion()
{
    QFETCH(QString, handler);
    QFETCH(Answer, answer);
    QFETCH(bool, cleared);
    QFETCH(bool, marked);
    MelodyRig rig;
    rig.choose("RadioButton10"); // link on
    rig.child<QRadioButton>("RadioButton10")->click();
    rig.editor->KeyClick(60);
    rig.dialogs.answers = {answer};
    if (handler == "All_Delete")
        rig.editor->All_DeleteClick();
    else if (handler == "Menu")
        rig.editor->MenuClick();
    else
        rig.editor->File_OpenClick();
    QCOMPARE(rig.dialogs.questions, QStringList{msg::SavePrompt});
    QCOMPARE(rig.editor->melody().isEmpty(), cleared);
    QCOMPARE(rig.editor->isModified(), marked);
    if (cleared) {
        QVERIFY(!rig.editor->melody().link);
        QVERIFY(!rig.child<QSlider>("LMDTrackBar1")->isEnabled());
    }
    QCOMPARE(rig.editor->isVisible(), !(handler == "Menu" && cleared));
}

void TestMelodyEditor::saveAndOpen()
{
    MelodyRig rig;
    rig.editor->KeyClick(60);
    rig.choose("RadioButton8");
    rig.editor->KeyClick(85);
    rig.child<QRadioButton>("RadioButton10")->click();
    rig.child<QSlider>("LMDTrackBar2")->setValue(30);
    const QString path = rig.home.home() + "/tune";
    rig.dialogs.fileNames = {path};
    QVERIFY(rig.editor->File_SaveClick());
    QVERIFY(!rig.editor->isModified());
    QCOMPARE(rig.file(path + ".kr3"), textfile::encodeLines(melodyfile::fileLines(rig.editor->melody())));

    // Overwriting asks; No writes nothing.
    rig.dialogs.fileNames = {path + ".kr3"};
    rig.dialogs.answers = {Answer::No};
    rig.editor->KeyClick(62);
    QVERIFY(!rig.editor->File_SaveClick());
    QCOMPARE(rig.dialogs.questions, QStringList{msg::OverwritePrompt});
    QVERIFY(rig.editor->isModified());
    // A folder of that name is said to be there; nothing is asked or written.
    QVERIFY(QDir().mkpath(path + "dir.kr3"));
    rig.dialogs.fileNames = {path + "dir"};
    QVERIFY(!rig.editor->File_SaveClick());
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::folderInTheWay(path + "dir.kr3")});
    QCOMPARE(rig.dialogs.questions.size(), 1);

    const Melody saved = melodyfile::read(path + ".kr3").melody;
    rig.dialogs.answers = {Answer::No};
    rig.editor->All_DeleteClick();
    rig.editor->openFile(path + ".kr3");
    QCOMPARE(rig.editor->melody().notes, saved.notes);
    QCOMPARE(rig.editor->melody().end[0], 106);
    QCOMPARE(rig.child<QLineEdit>("Edit2")->text(), QStringLiteral("30"));
    QVERIFY(rig.child<QSlider>("LMDTrackBar2")->isEnabled());
}

void TestMelodyEditor::refusedFilesKeepTheMelody_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong extension") << "a.txt" << QByteArray("MELODY\r\n") << msg::CannotOpen111;
    QTest::newRow("icon file") << "b.kr3" << QByteArray("LED\r\n16\r\n") << msg::OtherStep112;
    QTest::newRow("unreadable") << "missing.kr3" << QByteArray() << msg::notOpened("~/missing.kr3", msg::NotFound);
}

void TestMelodyEditor::refusedFilesKeepTheMelody()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    MelodyRig rig;
    rig.editor->KeyClick(60);
    const QString path = rig.home.home() + "/" + name;
    if (!content.isEmpty())
        QVERIFY(textfile::writeAtomically(path, content));
    rig.editor->openFile(path);
    QCOMPARE(rig.dialogs.warnings + rig.dialogs.informations, QStringList{message.replace(u'~', rig.home.home())});
    QCOMPARE(rig.editor->melody().notes[0], QList<int>{98});
}

void TestMelodyEditor::sendGivesTheMelodyPacket()
{
    MelodyRig rig;
    const QString path = rig.home.home() + "/long.kr3";
    QStringList lines{"MELODY", "UP"};
    for (int i = 0; i < 97; ++i)
        lines.append("60");
    lines += QStringList{"DOWN", "175", "LINK", "1", "30", "150"};
    QVERIFY(textfile::writeLines(path, lines));
    rig.editor->openFile(path);
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::melodyCut(0)});
    QVERIFY(rig.editor->isModified());
    rig.log.clear();
    rig.editor->SendClick();
    QCOMPARE(rig.sound.played.size(), 1);
    const auto audio = wav::parse(rig.sound.played.first());
    QVERIFY(audio);
    const auto decoded = tone::decode(audio->samples);
    QVERIFY(decoded);
    const QList<int> expected = QList<int>{5, 1, 76, 255} + QList<int>(11, 255) + QList<int>{0, 0} +
                                QList<int>(95, 60) + QList<int>{204, 175} + QList<int>(95, 204);
    QCOMPARE(decoded->values, expected);
    QCOMPARE(rig.log, (QStringList{"wait 500", "prepare", "play", "silence"}));
}

void TestMelodyEditor::previewPlaysBothVoicesTogether()
{
    MelodyRig rig;
    rig.editor->saiseiClick(); // nothing to play
    QVERIFY(rig.sound.played.isEmpty());
    const QString folder = workfolder::path();
    QVERIFY(!QFile::exists(folder + "UP.WAV"));

    rig.choose("RadioButton8");
    rig.editor->KeyClick(60);
    rig.editor->KeyClick(85);
    rig.log.clear();
    rig.editor->saiseiClick();
    QVERIFY(!QFile::exists(folder + "UP.WAV"));
    const QByteArray down = preview::voiceStream({98, 123});
    QCOMPARE(rig.file(folder + "DOWN.WAV"), wav::fileBytes(down));
    QCOMPARE(rig.sound.played, QList<QByteArray>{wav::fileBytes(down)});

    rig.choose("RadioButton7");
    rig.editor->KeyClick(72);
    rig.editor->saiseiClick();
    const QByteArray up = preview::voiceStream({110});
    QCOMPARE(rig.file(folder + "UP.WAV"), wav::fileBytes(up));
    QCOMPARE(rig.sound.played.last(), wav::fileBytes(preview::mix(up, down)));

    rig.sound.failWith = "busy";
    rig.dialogs.warnings.clear();
    rig.editor->saiseiClick();
    QCOMPARE(rig.dialogs.warnings, QStringList{"busy"});
    QCOMPARE(rig.log.last(), QStringLiteral("warning: busy"));
}

void TestMelodyEditor::linkValuesStayInRange()
{
    MelodyRig rig;
    auto *edit = rig.child<QLineEdit>("Edit1");
    auto *bar = rig.child<QSlider>("LMDTrackBar1");
    QVERIFY(!edit->isEnabled());
    rig.editor->LinkClick();
    rig.child<QRadioButton>("RadioButton10")->click();
    QVERIFY(rig.editor->isModified());
    QVERIFY(edit->isEnabled());
    struct Typed
    {
        QString text, box;
        int value;
    };
    for (const Typed &t : {Typed{"150", "100", 100}, Typed{"40", "40", 40}, Typed{"abc", "", 40}}) {
        edit->selectAll();
        QTest::keyClicks(edit, t.text);
        QCOMPARE(edit->text(), t.box);
        QCOMPARE(bar->value(), t.value);
        QCOMPARE(rig.editor->melody().linkValues[0], t.value);
    }
    // Digits typed into a box are not note keys.
    QVERIFY(rig.editor->melody().notes[0].isEmpty());
}

void TestMelodyEditor::printedScore()
{
    MelodyRig rig;
    for (int tag : {60, 62, 64, 65, 67})
        rig.editor->KeyClick(tag);
    rig.editor->Melo_PrintClick();
    QCOMPARE(rig.modalShown, QStringList{"TForm16"});
    auto *print = rig.form<MelodyPrintWindow>(16);
    print->findChild<QLineEdit *>("Edit1")->setText("3");
    print->findChild<QLineEdit *>("Edit2")->setText("2");
    print->OKClick();
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::NamesMissing});
    QCOMPARE(rig.printing.shown, 0);

    print->findChild<QLineEdit *>("Edit3")->setText("やまだ はなこ");
    print->findChild<QLineEdit *>("Edit4")->setText("はじめての きょく");
    print->OKClick();
    QCOMPARE(rig.printing.shown, 1);
    const QString text = pdfText(rig.printing.pdfPath);
    // The wide spaces between class and name come back as a gap.
    QVERIFY2(text.contains(QRegularExpression("3年2組\\s+やまだ はなこ")), qPrintable(text));
    QVERIFY(text.contains("はじめての きょく"));
    // The pitch names under the notes.
    QVERIFY2(text.contains("ド") && text.contains("ソ"), qPrintable(text));
    QVERIFY(print->isHidden());

    // Two full voices need more rows than a page holds: the score goes on over pages.
    rig.dialogs.answers = {Answer::No};
    rig.editor->All_DeleteClick();
    for (int voice : {0, 1}) {
        rig.choose(voice == 0 ? "RadioButton7" : "RadioButton8");
        rig.choose("RadioButton6");
        for (int i = 0; i < 95; ++i)
            rig.editor->KeyClick(note::WhiteKeys[(i * 3 + voice * 5) % 22]);
    }
    rig.editor->Melo_PrintClick();
    print->OKClick();
    QProcess info;
    info.start("pdfinfo", {rig.printing.pdfPath});
    info.waitForFinished(30000);
    const QString pages = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(QRegularExpression("Pages:\\s+[2-9]").match(pages).hasMatch(), qPrintable(pages));
    if (qEnvironmentVariableIsSet("KR31_KEEP_PDF"))
        QFile::copy(rig.printing.pdfPath, qEnvironmentVariable("KR31_KEEP_PDF"));
}

// A sharp stands a pixel of its scale or more from its own head and from the head
// of an eighth note just before it, on screen (scale 1) and on paper (7 at 600 dpi).
void TestMelodyEditor::sharpsKeepClearOfTheHeads()
{
    for (QChar letter : QStringLiteral("mlkj8765")) {
        for (int scale : {1, 7}) {
            const QRectF cell(100 * scale, 40 * scale, 18 * scale, 30 * scale);
            const QRectF sharp = glyphs::sharpBounds(letter, cell), head = glyphs::headBounds(letter, cell);
            QVERIFY2(!sharp.isEmpty() && sharp.right() + scale <= head.left(), qPrintable(QString(letter)));
            QVERIFY(head.right() - cell.width() + scale <= sharp.left());
        }
    }
}

void TestMelodyEditor::helpThatCannotOpenIsReported()
{
    MelodyRig rig;
    rig.shell.succeeds = false;
    rig.editor->HelpClick();
    QCOMPARE(rig.shell.opened.size(), 1);
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::helpNotOpened(rig.shell.opened.first(), false)});
}

// The melody windows exist from the start but make their components only
// when first reached or shown.
void TestMelodyEditor::contentsWaitForFirstNeed_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("components");
    QTest::newRow("editor") << 4 << QStringList{"Send",         "Image17",       "ScrollBox1", "PaintBox1", "Keyboard",
                                                "RadioButton8", "LMDTrackBar13", "Edit13",     "PopupMenu1"};
    QTest::newRow("note picker") << 12 << QStringList{"Image1", "MelodyBye", "Label1", "Keyboard", "RadioButton4"};
    QTest::newRow("print") << 16 << QStringList{"Image1", "Edit4", "OK", "cancel"};
}

void TestMelodyEditor::contentsWaitForFirstNeed()
{
    QFETCH(int, number);
    QFETCH(QStringList, components);
    {
        UiRig untouched; // goes with none of its windows made
        QVERIFY(untouched.forms.existing(number)->findChildren<QWidget *>().isEmpty());
    }
    UiRig rig;
    const QString wrong = rig.madeWhenFirstReached(number, components);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

// Code that kept a window from before its first showing finds it answering
// as it would when shown, and making itself for what changes it.
void TestMelodyEditor::keptWindowsMakeThemselvesWhenUsed()
{
    const auto firstState = [](const MelodyEditorWindow *e) {
        return QList<int>{e->addMode(), e->voice(), e->lengthIndex(), e->scorePosition()};
    };
    UiRig shown;
    shown.forms.open(nullptr, 4);
    UiRig rig;
    auto *editor = static_cast<MelodyEditorWindow *>(rig.forms.existing(4));
    QCOMPARE(firstState(editor), firstState(static_cast<MelodyEditorWindow *>(shown.forms.existing(4))));
    auto *picker = static_cast<NotePickerWindow *>(rig.forms.existing(12));
    QCOMPARE(picker->lengthIndex(), static_cast<NotePickerWindow *>(shown.form(12))->lengthIndex());
    QVERIFY(!editor->isBuilt() && !picker->isBuilt());

    editor->openFile(testData("cli/tune.kr3"));
    QCOMPARE(editor->findChild<QLineEdit *>("Edit1")->text(), QStringLiteral("30"));
    QVERIFY(editor->findChild<QSlider *>("LMDTrackBar1")->isEnabled());
    QVERIFY(!editor->findChild<ScoreView *>()->score().glyphs.isEmpty());
    editor->KeyClick(60);
    editor->Undo();
    QCOMPARE(editor->melody(), melodyfile::read(testData("cli/tune.kr3")).melody);

    picker->start(NotePickerWindow::Mode::Edit, 48);
    QCOMPARE(picker->findChild<QLabel *>("Label1")->text(), melodytext::selectedNote(48, false));

    // Nothing typed yet: the print asks for the names.
    static_cast<MelodyPrintWindow *>(rig.forms.existing(16))->OKClick();
    QCOMPARE(rig.dialogs.warnings, QStringList{msg::NamesMissing});
    QCOMPARE(rig.printing.shown, 0);
}

QTEST_MAIN(TestMelodyEditor)
#include "tst_MelodyEditor.moc"
