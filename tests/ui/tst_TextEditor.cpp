#include "core/Messages.h"
#include "core/TextFile.h"
#include "editors/icon/ui/ChartViewWindow.h"
#include "editors/text/ui/TextEditorWindow.h"
#include "link/Packets.h"
#include "link/ToneBurst.h"
#include "link/WavFile.h"
#include "report/ui/ReportWindow.h"
#include "editors/text/ui/TextFindBar.h"
#include "support/ui/UiRig.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <memory>

using namespace kr31;
using namespace kr31::test;

namespace {

struct TextRig : UiRig
{
    TextEditorWindow *editor = nullptr;
    explicit TextRig(const QStringList &names = {})
    {
        settings.setWizardStart(0);
        if (!names.isEmpty())
            settings.setCommandNames(names);
        editor = form<TextEditorWindow>(9);
        forms.open(nullptr, 9);
        settle();
        log.clear();
    }

    // Replaces the text as the learner would: select all and type.
    void type(const QString &text)
    {
        QsciScintilla *edit = editor->textControl();
        edit->selectAll();
        edit->removeSelectedText();
        QTest::keyClicks(edit, text);
    }

    void setText(const QStringList &lines)
    {
        editor->textControl()->setText(lines.join("\r\n")); // as typed: the text is modified
    }

    QString path(const QString &name) const { return home.home() + u'/' + name; }
};

QStringList filled(QStringList lines)
{
    while (lines.size() < 47)
        lines.append("27");
    return lines;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTextEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The find bar with the keys alone: a step is a key ("Ctrl+F", "Shift+Return")
    // pressed where the keyboard is, "type:text" typed there, or a click on
    // a bar's button ("click:ReplaceAll").
    void findAndReplace_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("selected"); // "line,index,text" of the selection afterwards
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("status");
        const QStringList text{"ON();", "Timer(1);", "on();", "ONE(); // on"};
        QTest::newRow("next, case ignored") << QStringList{"Ctrl+F", "type:on", "Return", "Return", "Return"}
                                            << "3,0,ON" << text << "";
        QTest::newRow("round to the start") << QStringList{"Ctrl+F", "type:on", "Return", "Return", "Return", "Return", "Return"}
                                            << "0,0,ON" << text << "";
        QTest::newRow("previous from the start wraps") << QStringList{"Ctrl+F", "type:on", "Shift+Return"}
                                                       << "3,10,on" << text << "";
        QTest::newRow("match case") << QStringList{"Ctrl+F", "type:on", "click:MatchCase", "Return", "Return"}
                                    << "3,10,on" << text << "";
        QTest::newRow("F3 once the bar is closed") << QStringList{"Ctrl+F", "type:timer", "Esc", "F3", "Shift+F3"}
                                                   << "1,0,Timer" << text << "";
        QTest::newRow("nothing found") << QStringList{"Ctrl+F", "type:Beep", "Return"} << ",,," << text << "みつかりません";
        QTest::newRow("replace one, then the next is shown")
            << QStringList{"Ctrl+H", "type:on", "Return", "Tab", "type:OFF", "Return"} << "2,0,on"
            << QStringList{"OFF();", "Timer(1);", "on();", "ONE(); // on"} << "";
        QTest::newRow("replace all") << QStringList{"Ctrl+H", "type:on", "Tab", "type:Off", "click:ReplaceAll"}
                                     << ",,," << QStringList{"Off();", "Timer(1);", "Off();", "OffE(); // Off"}
                                     << "4こ おきかえました";
        QTest::newRow("replace all is one undo step")
            << QStringList{"Ctrl+H", "type:on", "Tab", "type:Off", "click:ReplaceAll", "Esc", "Ctrl+Z"} << ",,," << text
            << "4こ おきかえました";
        QTest::newRow("a replacement holding the word") << QStringList{"Ctrl+H", "type:ON", "Tab", "type:ONON", "click:ReplaceAll"}
                                                        << ",,," << QStringList{"ONON();", "Timer(1);", "ONON();", "ONONE(); // ONON"}
                                                        << "4こ おきかえました";
    }
    void findAndReplace()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, selected);
        QFETCH(QStringList, lines);
        QFETCH(QString, status);
        TextRig rig;
        rig.editor->setProgramLines({"ON();", "Timer(1);", "on();", "ONE(); // on"});
        QApplication::setActiveWindow(rig.editor);
        QsciScintilla *edit = rig.editor->textControl();
        edit->setFocus();
        auto *bar = rig.editor->findChild<TextFindBar *>();
        QVERIFY(bar && !bar->isVisible());
        for (const QString &step : steps) {
            QWidget *focus = QApplication::focusWidget();
            if (step.startsWith(QLatin1String("type:"))) {
                QTest::keyClicks(focus, step.mid(5));
            } else if (step.startsWith(QLatin1String("click:"))) {
                QTest::mouseClick(bar->findChild<QAbstractButton *>(step.mid(6)), Qt::LeftButton);
            } else {
                const QKeyCombination key = QKeySequence::fromString(step)[0];
                QTest::keyClick(focus, key.key(), key.keyboardModifiers());
            }
        }
        int line, index, lineTo, indexTo;
        edit->getSelection(&line, &index, &lineTo, &indexTo);
        const QString shown = line < 0 ? QStringLiteral(",,,")
                                       : QStringLiteral("%1,%2,%3").arg(line).arg(index).arg(edit->selectedText());
        if (selected != QLatin1String(",,,"))
            QCOMPARE(shown, selected);
        QCOMPARE(rig.editor->programLines(), lines);
        QCOMPARE(bar->status(), status);
        // While it shows, the bar sits under the text, which keeps the rest of its place.
        if (bar->isVisible())
            QCOMPARE(edit->geometry().bottom() + 1, bar->geometry().top());
        else
            QCOMPARE(edit->height(), 368);
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    void typingMakesAModifiedProgram()
    {
        TextRig rig;
        QVERIFY(!rig.editor->isModified());
        rig.type("ON();\rTimer(5);\rOFF();");
        QCOMPARE(rig.editor->programLines(), (QStringList{"ON();", "Timer(5);", "OFF();"}));
        QVERIFY(rig.editor->isModified());
        QCOMPARE(rig.editor->textControl()->text(0), QStringLiteral("ON();\r\n"));
    }

    void sendRefusesAFaultyProgramAndMarksTheLine()
    {
        TextRig rig;
        rig.setText({"ON();", "bright(50);", "OFF();"});
        rig.editor->SendClick();
        QCOMPARE(rig.dialogs.warnings, (QStringList{msg::grammarFault(2), msg::ProgramError502}));
        QVERIFY(rig.sound.played.isEmpty());
        QCOMPARE(rig.editor->markedLine(), 1);
        QVERIFY(rig.editor->markedHint().contains("Bright"));
        QsciScintilla *edit = rig.editor->textControl();
        QVERIFY(edit->markersAtLine(1) != 0);
        QVERIFY(!edit->annotation(1).isEmpty());
        // Mending the line while typing takes the mark away without another check.
        edit->setSelection(1, 0, 1, 1);
        QTest::keyClicks(edit, "B");
        QCOMPARE(rig.editor->programLines().at(1), QStringLiteral("Bright(50);"));
        QCOMPARE(rig.editor->markedLine(), -1);
        QCOMPARE(edit->markersAtLine(1), 0u);
        QCOMPARE(rig.dialogs.warnings.size(), 2);

        // The command names changed in the settings window: the next showing marks afresh.
        rig.setText({"ON();", "bright(50);"});
        rig.editor->SendClick();
        QCOMPARE(rig.editor->markedLine(), 1);
        QStringList names = Settings::defaultCommandNames();
        names[2] = QStringLiteral("bright");
        rig.settings.setCommandNames(names);
        rig.editor->hide();
        rig.editor->show();
        QCOMPARE(rig.editor->markedLine(), -1);
    }

    void sendPlaysTheExactPacket()
    {
        TextRig rig;
        rig.type("Beep();\r\rFor(i:=1,i<=3,i++){\rON();\rOFF();\r}");
        rig.editor->SendClick();
        QVERIFY(rig.dialogs.warnings.isEmpty());
        QCOMPARE(rig.log, (EventLog{"wait 500", "prepare", "wait 500", "play", "silence"}));
        QCOMPARE(rig.editor->compiledList(), filled({"26", "16", "17", "222,1,3"}));
        const Packet expected = *packet::ledProgram(rig.editor->compiledList());
        QCOMPARE(expected.mid(0, 8), (Packet{4, 26, 16, 17, 22, 209, 3, 27}));
        QCOMPARE(rig.sound.played.first(), wav::fileBytes(tone::transferSound(expected, [] { return 0; })));
        rig.editor->ActionClick();
        QCOMPARE(rig.sound.played.last(), wav::fileBytes(tone::transferSound({1}, [] { return 0; })));
    }

    void memoryUsage_data()
    {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("informations");
        QTest::newRow("fine") << QStringList{"ON();", "Bright(50);", "Timer(90);", "Stop();"} << QStringList{}
                              << QStringList{msg::memoryUsage(6)};
        QTest::newRow("loop open") << QStringList{"For(i:=1,i<3,i++){", "ON();"}
                                   << QStringList{msg::RepeatError501} << QStringList{};
        QTest::newRow("over the limit") << QStringList(48, "ON();") << QStringList{msg::SendOverLimit504}
                                        << QStringList{};
    }
    void memoryUsage()
    {
        QFETCH(QStringList, text);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, informations);
        TextRig rig;
        rig.setText(text);
        rig.editor->Command_TotalClick();
        QCOMPARE(rig.dialogs.warnings, warnings);
        QCOMPARE(rig.dialogs.informations, informations);
    }

    void savingAPassingProgramAndOpeningItAgain()
    {
        TextRig rig;
        const QStringList text{"ON(); // つける", "Timer(5);", "OFF();"};
        rig.setText(text);
        rig.dialogs.fileNames = {rig.path("p")};
        QVERIFY(rig.editor->File_SaveClick());
        QVERIFY(!rig.editor->isModified());
        QCOMPARE(readBytes(rig.path("p.kr3")),
                 textfile::encodeLines(QStringList{"LED"} + filled({"16", "21,5", "17"}) + QStringList{"TEXT"} + text));
        // Leaving asks nothing now.
        rig.editor->MenuClick();
        QVERIFY(rig.dialogs.questions.isEmpty());
        QVERIFY(!rig.editor->isVisible());
        // The text stays for the next visit; opening the file restores it line by line.
        rig.forms.open(rig.forms.form(2), 9);
        QCOMPARE(rig.editor->programLines(), text);
        rig.setText({"Beep();"});
        rig.dialogs.answers = {Answer::No};
        rig.dialogs.fileNames = {rig.path("p.kr3")};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.editor->programLines(), text);
        QVERIFY(!rig.editor->isModified());
        // Saving over it asks first; No writes nothing.
        rig.setText({"Beep();"});
        rig.dialogs.fileNames = {rig.path("p.kr3")};
        rig.dialogs.answers = {Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());
        QCOMPARE(rig.dialogs.questions.last(), msg::OverwritePrompt);
        QVERIFY(rig.editor->isModified());
    }

    void savingAFaultyProgramAsks()
    {
        TextRig rig;
        rig.setText({"ON()", "OFF();"});
        rig.dialogs.fileNames = {rig.path("w")};
        rig.dialogs.answers = {Answer::No};
        QVERIFY(!rig.editor->File_SaveClick());
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::grammarFault(1)});
        QCOMPARE(rig.dialogs.questions, QStringList{msg::GrammarPrompt});
        QCOMPARE(rig.dialogs.questionBoxes.first(), (QPair{AnswerButtons::YesNo, BoxKind::Question}));
        QVERIFY(!QFile::exists(rig.path("w.kr3")));
        QCOMPARE(rig.dialogs.fileNames.size(), 1); // no file dialog after No
        rig.dialogs.answers = {Answer::Yes};
        QVERIFY(rig.editor->File_SaveClick());
        QCOMPARE(readBytes(rig.path("w.kr3")), QByteArray("WORD\r\nON()\r\nOFF();\r\n"));
    }

    void saveQuestionAnswers()
    {
        TextRig rig;
        rig.setText({"ON();"});
        rig.dialogs.answers = {Answer::Cancel};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isVisible());
        QCOMPARE(rig.dialogs.questionBoxes.first(), (QPair{AnswerButtons::YesNoCancel, BoxKind::Information}));
        // Yes with a cancelled file dialog: stays, still modified.
        rig.dialogs.answers = {Answer::Yes};
        rig.editor->ByeClick();
        QVERIFY(rig.editor->isVisible());
        QVERIFY(rig.editor->isModified());
        // A failed write keeps the mark and says so.
        rig.dialogs.answers = {Answer::Yes};
        rig.dialogs.fileNames = {rig.path("no/such/folder/p")};
        rig.editor->MenuClick();
        QVERIFY(rig.editor->isModified());
        QVERIFY(rig.dialogs.warnings.last().startsWith(QStringLiteral("ファイルを保存できませんでした。")));
        // No: leaves, the text stays.
        rig.dialogs.answers = {Answer::No};
        rig.editor->MenuClick();
        QVERIFY(!rig.editor->isVisible());
        QCOMPARE(rig.editor->programLines(), QStringList{"ON();"});
    }

    void openingFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QString>("information");
        QTest::newRow("command list") << "list.kr3" << QByteArray("LED\r\n16\r\n17\r\n221,0,3\r\n27\r\n")
                                      << QStringList{"For(i:=1,i<4,i++){", "ON();", "OFF();", "}"} << "";
        QTest::newRow("word") << "w.KR3" << QByteArray("WORD\r\nON()\r\n") << QStringList{"ON()"} << "";
        QTest::newRow("icon file") << "dd.kr3" << QByteArray("DD\r\n16\r\n") << QStringList{"Beep();"}
                                   << msg::OtherStep112;
        QTest::newRow("wrong extension") << "p.txt" << QByteArray("WORD\r\nON();\r\n") << QStringList{"Beep();"}
                                         << msg::CannotOpen111;
    }
    void openingFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, text);
        QFETCH(QString, information);
        TextRig rig;
        rig.editor->setProgramLines({"Beep();"});
        QVERIFY(textfile::writeAtomically(rig.path(name), bytes));
        rig.dialogs.fileNames = {rig.path(name)};
        rig.editor->File_OpenClick();
        QCOMPARE(rig.editor->programLines(), text);
        QCOMPARE(rig.dialogs.informations, information.isEmpty() ? QStringList{} : QStringList{information});
        QVERIFY(!rig.editor->isModified());
    }

    void helpPageHoldsTheConfiguredNames()
    {
        QStringList names = Settings::defaultCommandNames();
        names[0] = QStringLiteral("つける");
        names[2] = QStringLiteral("A<B");
        TextRig rig(names);
        QCOMPARE(rig.editor->commandNames(), names);
        QVERIFY(rig.home.readWorkFile("display.html").contains(QByteArray("\x82\xc2\x82\xaf\x82\xe9"))); // cp932
        const QString shown = rig.editor->findChild<QTextBrowser *>("WebBrowser1")->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("つける();")), qPrintable(shown.left(300)));
        QVERIFY(shown.contains(QStringLiteral("A<B(")));
        QVERIFY(!shown.contains(QStringLiteral("Com_")));
        // A name changed in the settings applies at the next showing.
        names[0] = QStringLiteral("てんとう");
        rig.settings.setCommandNames(names);
        rig.editor->hide();
        rig.editor->show();
        rig.settle();
        QVERIFY(rig.editor->findChild<QTextBrowser *>("WebBrowser1")->toPlainText().contains(QStringLiteral("てんとう")));
        rig.setText({"てんとう();"});
        rig.editor->Command_TotalClick();
        QCOMPARE(rig.dialogs.informations, QStringList{msg::memoryUsage(1)});
    }

    // The comment colour covers "//" to the line end, also after Japanese text
    // (Scintilla counts bytes), and nothing before it.
    void commentsAreColoured()
    {
        TextRig rig;
        rig.setText({"ON();", "Bright(50); // あかるさ", "// メモ", "> 先生より http://kr31.example/a ここ"});
        QsciScintilla *edit = rig.editor->textControl();
        const auto coloured = [edit](int line, int column, int indicator = 8) {
            const QString text = edit->text(line);
            const long pos = edit->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line) +
                             long(text.left(column).toUtf8().size());
            return edit->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, indicator, pos) != 0;
        };
        // A quoted line in grey, its web address in blue.
        QVERIFY(coloured(3, 0, 10));
        QVERIFY(!coloured(3, 6, 11));
        QVERIFY(coloured(3, 7, 11));
        QVERIFY(coloured(3, 27, 11));
        QVERIFY(!coloured(3, 28, 11));
        QVERIFY(!coloured(2, 0, 10));
        QVERIFY(!coloured(0, 0));
        QVERIFY(!coloured(1, 11));
        QVERIFY(coloured(1, 12));
        QVERIFY(coloured(1, 18)); // the last character of the comment
        QVERIFY(!coloured(1, 19)); // the line end
        QVERIFY(coloured(2, 0));
        QVERIFY(coloured(2, 4));
    }

    void helpThatCannotBeOpenedIsReported()
    {
        TextRig rig;
        rig.editor->HelpClick();
        QCOMPARE(rig.shell.opened.size(), 1);
        rig.shell.succeeds = false;
        rig.editor->HelpClick();
        QCOMPARE(rig.dialogs.warnings, QStringList{msg::helpNotOpened(rig.shell.opened.first(), false)});
    }

    void chartAndReportGetTheCompiledProgram()
    {
        TextRig rig;
        rig.setText({"ON();", "For(i:=1,i<3,i++){", "Beep();", "}", "Stop();", "OFF();"});
        rig.editor->furoClick();
        auto *chart = rig.form<ChartViewWindow>(10);
        QCOMPARE(chart->steps(), (QStringList{"16", "26", "221,1,2"}));
        QVERIFY(chart->isVisible());
        rig.editor->ReportClick();
        QCOMPARE(rig.form<ReportWindow>(14)->program(), filled({"16", "26", "221,1,2", "100", "17"}));
        QVERIFY(rig.forms.form(14)->isVisible());
        QVERIFY(rig.dialogs.warnings.isEmpty());
    }

    // The text window, the chart view and the report make their components
    // only when first reached, and have them all then.
    void contentsWaitForFirstUse_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("components");
        QTest::newRow("text window") << 9
                                     << QStringList{"Image1", "Image17", "SonEdit1", "WebBrowser1", "Memo1", "Send",
                                                    "File_Save", "Command_Total", "Lamp"};
        QTest::newRow("chart view") << 10 << QStringList{"Image1", "ScrollBox1", "PaintBox1", "Out", "Bye"};
        QTest::newRow("report") << 14
                                << QStringList{"Image1", "Edit1", "Edit2", "Edit3", "Memo2", "WebBrowser1", "Preview",
                                               "Print", "Bye"};
    }
    void contentsWaitForFirstUse()
    {
        QFETCH(int, number);
        QFETCH(QStringList, components);
        UiRig rig;
        const QString wrong = rig.madeWhenFirstReached(number, components);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // GIVEN windows never reached WHEN asked what needs none of their
    // components, then destroyed THEN nothing is made and nothing breaks.
    void unreachedWindowsAnswerAndEndCleanly()
    {
        auto rig = std::make_unique<UiRig>();
        auto *text = static_cast<TextEditorWindow *>(rig->forms.existing(9));
        auto *chart = static_cast<ChartViewWindow *>(rig->forms.existing(10));
        auto *report = static_cast<ReportWindow *>(rig->forms.existing(14));
        QVERIFY(!text->isModified());
        QCOMPARE(text->programLines(), QStringList{QString()});
        chart->ByeClick();
        report->setProgram(filled({"16"}));
        report->ByeClick();
        for (FormWindow *window : {static_cast<FormWindow *>(text), static_cast<FormWindow *>(chart),
                                   static_cast<FormWindow *>(report)})
            QVERIFY2(!window->isBuilt(), qPrintable(window->objectName()));
        rig.reset();
    }
};

QTEST_MAIN(TestTextEditor)
#include "tst_TextEditor.moc"
