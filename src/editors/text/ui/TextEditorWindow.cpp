#include "editors/text/ui/TextEditorWindow.h"
#include "editors/text/ui/TextFindBar.h"
#include "ui/PlainTextBox.h"
#include "lamp/LampRunner.h"

#include "program/ProgramSave.h"

#include "core/Messages.h"
#include "core/Resources.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "core/WorkFolder.h"
#include "editors/icon/ChartShower.h"
#include "program/ProgramFile.h"
#include "editors/text/HelpPage.h"
#include "editors/text/WordFile.h"
#include "program/CommandList.h"
#include "report/ReportOpener.h"
#include "ui/EditorButtons.h"
#include "ui/EditorFiles.h"
#include "ui/Forms.h"
#include "ui/Keys.h"
#include "ui/Modules.h"
#include "ui/PageBrowser.h"
#include "ui/PictureButton.h"
#include "ui/RecoveryKeeper.h"
#include "ui/TitleStrip.h"
#include "ui/UiServices.h"

#include <QFileInfo>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QUrl>

#include <functional>
#include <map>

namespace kr31 {

namespace {

// The editor's own buttons; those every editor has come from EditorWindow.
const Place Buttons[] = {
    {"Pro", 235, 13, 90, 60}, {"furo", 317, 75, 134, 26}, {"Report", 455, 75, 134, 26},
    {"Command_Total", 593, 75, 134, 26},
};

QColor rgb(quint32 value)
{
    return QColor::fromRgb(value);
}

} // namespace

TextEditorWindow::TextEditorWindow(Forms &forms)
    : EditorWindow(9, QSize(749, 499), forms)
{
    reportHelpFailure();
    m_names = Settings::defaultCommandNames();
}

void TextEditorWindow::buildContents()
{
    addEditorChrome(QStringLiteral("Image1"), QStringLiteral("Img/Back/Moji.jpg"), QStringLiteral("Img/Title/Moji.jpg"),
                    QColor(0xf3, 0xee, 0xfa));

    addEditorButtons(Buttons, editorButtons(this, {
        {"furo", [this] { furoClick(); }},
        {"Report", [this] { ReportClick(); }},
        {"Command_Total", [this] { Command_TotalClick(); }},
    }));

    makeControl();

    m_browser = new PageBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    // Its top leaves room for the lamp button above it; its bottom stays where it was.
    m_browser->setGeometry(384, LampButton.y + LampButton.h + 3, 339, 481 - (LampButton.y + LampButton.h + 3));
    addLampButton();

    // Holds the text of the compiled list; outside the visible area.
    m_memo = new PlainTextBox(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setGeometry(800, 0, 100, 100);
    m_memo->hide();

    installUndo();
    installShortcuts();
    if (m_edit)
        new TextFindBar(this, m_edit);
}

void TextEditorWindow::makeControl()
{
    const auto make =
        reinterpret_cast<MakeTextControl>(moduleFunction(TextControlModule, MakeTextControlSymbol, &m_controlError));
    m_edit = make ? make(this) : nullptr;
    if (!m_edit)
        return; // setVisible says why
    QWidget *edit = m_edit->widget();
    edit->setObjectName(QStringLiteral("SonEdit1"));
    edit->setGeometry(28, 114, 339, 368);
    // The fixed-pitch "FixedSys" at 19 pixels, as the installed font it maps to.
    QFont fixed(QFontInfo(QFont(QStringLiteral("FixedSys"))).family());
    fixed.setPointSizeF(19.0 * 72.0 / qMax(1, logicalDpiY()));
    QFont hintFont(QStringLiteral("ＭＳ Ｐゴシック"));
    hintFont.setPointSizeF(fixed.pointSizeF() * 0.7);
    m_edit->configure(fixed, hintFont);

    m_edit->onTextChanged = [this] { textChanged(); };
    // The control keeps the modified mark: the recovery copy follows it.
    m_recovery = new RecoveryKeeper(
        this, services().clock, QStringLiteral("Text"), [this] { return fileBytes(); },
        [this](const QStringList &lines) { return restoreLines(lines); });
    // An undo back to the save point drops the copy; a redo away from it owes one again.
    m_edit->onModificationChanged = [this](bool modified) {
        modified ? m_recovery->edited() : m_recovery->discard();
    };
}

void TextEditorWindow::setVisible(bool visible)
{
    if (visible) {
        ensureBuilt();
        if (!m_edit) {
            // Nothing to type in: the menu stays, with the reason for the teacher.
            forms().backToMenu(this);
            services().dialogs.information(msg::textControlMissing(m_controlError));
            return;
        }
    }
    FormWindow::setVisible(visible);
}

void TextEditorWindow::installShortcuts()
{
    bindKey(keys::Save, {QStringLiteral("File_Save")});
    keys::markBoxFocus(m_browser);
    bindKey(keys::Open, {QStringLiteral("File_Open")});
    bindKey(keys::Send, {QStringLiteral("Send")});
    if (m_edit)
        m_edit->widget()->setFocus(Qt::OtherFocusReason); // the window comes up ready to type
}

QStringList TextEditorWindow::programLines() const
{
    if (!m_edit)
        return {QString()}; // as the empty control answers
    QStringList lines;
    const int count = m_edit->lines();
    for (int i = 0; i < count; ++i)
        lines.append(m_edit->lineText(i));
    return lines;
}

void TextEditorWindow::setProgramLines(const QStringList &lines)
{
    ensureBuilt();
    if (!m_edit)
        return;
    m_checkWhileTyping = false;
    m_edit->setText(lines.join(QStringLiteral("\r\n")));
    clearMark();
    m_edit->emptyUndoBuffer();
    m_edit->setModified(false);
    m_edit->setCursorPosition(0, 0);
}

bool TextEditorWindow::isModified() const
{
    return m_edit && m_edit->isModified();
}

void TextEditorWindow::showEvent(QShowEvent *event)
{
    FormWindow::showEvent(event);
    m_names = services().settings.commandNames();
    buildHelpPage();
    colourComments();
    followMark(); // the command names may have changed in the settings window
    if (m_edit)
        m_edit->widget()->setFocus();
}

void TextEditorWindow::buildHelpPage()
{
    const QString guide = resourcePath(guidePage());
    const QString display = workfolder::path() + QStringLiteral("display.html");
    QString why;
    const auto page = textfile::readLines(guide, &why);
    if (!page || !textfile::writeLines(display, helppage::build(*page, m_names, resourceFolder()), &why)) {
        services().dialogs.warning(msg::notOpened(page ? display : guide, why));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(display);
    if (m_browser->source() == url)
        m_browser->reload(); // the same name with new names in it
    else
        m_browser->setSource(url);
    m_browser->clearHistory();
}

void TextEditorWindow::textChanged()
{
    if (m_edit->isModified())
        m_recovery->edited();
    colourComments();
    followMark();
}

void TextEditorWindow::followMark()
{
    // After a failed check the mark follows the learner's corrections.
    if (!m_checkWhileTyping || !m_edit)
        return;
    const textlang::CheckResult result = textlang::check(programLines(), m_names);
    if (result.ok()) {
        m_checkWhileTyping = false;
        clearMark();
    } else {
        markLine(result);
    }
}

// Every stretch from "//" to the line end in the comment colours of
// "Data/set.ini"; quoted lines (">" first) in grey and web addresses in blue.
void TextEditorWindow::colourComments()
{
    if (!m_edit)
        return;
    const CommentColours colours = readCommentColours(workfolder::path());
    m_edit->clearHighlights(rgb(colours.text), rgb(colours.background));
    static const QRegularExpression link(QStringLiteral("(https?://|www\\.)[!-~]+"));
    const int count = m_edit->lines();
    for (int i = 0; i < count; ++i) {
        const QString line = m_edit->lineText(i);
        if (line.startsWith(u'>'))
            m_edit->highlight(TextControl::Highlight::Quote, i, 0, int(line.size()));
        for (auto it = link.globalMatch(line); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            m_edit->highlight(TextControl::Highlight::Link, i, int(match.capturedStart()),
                              int(match.capturedLength()));
        }
        const qsizetype column = line.indexOf(QLatin1String("//"));
        if (column >= 0)
            m_edit->highlight(TextControl::Highlight::Comment, i, int(column), -1);
    }
}

void TextEditorWindow::markLine(const textlang::CheckResult &result)
{
    if (result.line == m_markedLine && result.hint == m_markedHint)
        return;
    clearMark();
    if (result.line < 0 || !m_edit)
        return;
    m_markedLine = result.line;
    m_markedHint = result.hint;
    m_edit->markFault(m_markedLine, m_markedHint.isEmpty() ? QString() : QStringLiteral("↑ ") + m_markedHint);
}

void TextEditorWindow::clearMark()
{
    if (m_edit)
        m_edit->clearFault();
    m_markedLine = -1;
    m_markedHint.clear();
}

bool TextEditorWindow::runCheck()
{
    const textlang::CheckResult result = textlang::check(programLines(), m_names);
    if (result.ok()) {
        m_checkWhileTyping = false;
        clearMark();
        m_compiled = result.compiled;
        m_memo->setPlainText(m_compiled.join(u'\n'));
        return true;
    }
    markLine(result);
    m_checkWhileTyping = true;
    services().dialogs.warning(result.message());
    return false;
}

void TextEditorWindow::compile()
{
    m_compiled = textlang::compile(programLines(), m_names);
    m_memo->setPlainText(m_compiled.join(u'\n'));
}

void TextEditorWindow::SendClick()
{
    ensureBuilt();
    if (!runCheck()) {
        services().dialogs.warning(msg::ProgramError502);
        return;
    }
    compile();
    sendOver(Transfer::ledProgram(m_compiled));
}

void TextEditorWindow::VirtualLampClick()
{
    ensureBuilt();
    if (!runCheck()) {
        services().dialogs.warning(msg::ProgramError502);
        return;
    }
    LampRunner *lamp = forms().lampRunner();
    if (!lamp)
        return;
    compile();
    const QList<int> sources = textlang::compiledSources(programLines(), m_names);
    const auto source = [sources](int line) { return line >= 0 && line < sources.size() ? sources.at(line) : -1; };
    // The lamp names the line as the margin numbers it, from 1.
    lamp->runProgram(m_compiled, this, [this, source](int line) { showLampStep(source(line)); },
                     [source](int line) { return source(line) + 1; });
}

void TextEditorWindow::showLampStep(int line)
{
    ensureBuilt();
    if (m_edit)
        m_edit->markLampLine(line);
}

void TextEditorWindow::ActionClick()
{
    services().transmitter.sendShortCommand(1);
}

void TextEditorWindow::Command_TotalClick()
{
    ensureBuilt();
    if (!runCheck())
        return;
    compile();
    services().dialogs.information(msg::memoryUsage(commandlist::total(m_compiled)));
}

bool TextEditorWindow::File_SaveClick()
{
    ensureBuilt();
    Dialogs &dialogs = services().dialogs;
    const bool passed = runCheck();
    if (!passed && dialogs.question(msg::GrammarPrompt, AnswerButtons::YesNo) != Answer::Yes)
        return false;
    if (passed)
        compile();
    const QStringList lines = wordfile::fileLines(programLines(), m_compiled, passed);
    const QString chosen = dialogs.saveFileName(programfile::Filter);
    if (chosen.isEmpty())
        return false;
    if (!writeProgramFile(dialogs, chosen, lines))
        return false;
    if (m_edit)
        m_edit->setModified(false);
    return true;
}

void TextEditorWindow::openFile(const QString &path)
{
    if (!editorfiles::acceptsPath(services().dialogs, path))
        return;
    const wordfile::ReadResult read = wordfile::read(path, m_names);
    if (editorfiles::takes(services().dialogs, read, false))
        setProgramLines(read.text);
}

bool TextEditorWindow::restoreLines(const QStringList &lines)
{
    const wordfile::ReadResult read = wordfile::readLines(lines, m_names);
    if (read.status != wordfile::ReadResult::Ok)
        return false;
    // As an open does, but without the save point: the text stays modified.
    if (!m_edit)
        return false;
    m_checkWhileTyping = false;
    m_edit->setText(read.text.join(QStringLiteral("\r\n")));
    clearMark();
    m_edit->setCursorPosition(0, 0);
    return true;
}

QByteArray TextEditorWindow::fileBytes() const
{
    // As File_Save writes it, without the check's marks and messages.
    const QStringList lines = programLines();
    const bool passed = textlang::check(lines, m_names).ok();
    const QStringList compiled = passed ? textlang::compile(lines, m_names) : m_compiled;
    return textfile::encodeLines(wordfile::fileLines(lines, compiled, passed));
}

void TextEditorWindow::furoClick()
{
    ensureBuilt();
    ChartShower *chart = forms().chartShower();
    if (!chart)
        return;
    compile();
    QStringList steps;
    for (const QString &line : m_compiled) {
        if (line == QLatin1String("27") || line == QLatin1String("100"))
            break;
        steps.append(line);
    }
    chart->showChart(steps, this);
}

void TextEditorWindow::ReportClick()
{
    ensureBuilt();
    ReportOpener *report = forms().reportOpener();
    if (!report)
        return;
    compile();
    report->openReport(m_compiled, this);
}

} // namespace kr31
