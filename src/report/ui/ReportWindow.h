#pragma once

#include "report/ReportOpener.h"
#include "ui/FormWindow.h"

#include <QStringList>

class QLineEdit;
class QPlainTextEdit;
class QTextBrowser;
namespace kr31 { class PageBrowser; }

namespace kr31 {

// The report window: the learner types grade, class, name and impressions,
// previews the page of the program handed over by an editor and prints it.
class ReportWindow : public FormWindow, public ReportOpener
{
    Q_OBJECT
public:
    explicit ReportWindow(Forms &forms);

    // The command list the page shows (47 lines from an editor's compile).
    void setProgram(const QStringList &commandList);
    const QStringList &program() const { return m_program; }

    // Shows the window (not modal) centred over opener's window; on the
    // screen when opener is null.
    void showOver(QWidget *opener);
    // setProgram, then showOver.
    void openReport(const QStringList &commandList, QWidget *opener) override;

    // Checks the names (a warning when one is empty), writes "Report.html"
    // into the work folder and shows it; a failed write is reported.
    void PreviewClick();
    // Prints the page the browser shows, after the print dialog; nothing when cancelled.
    void PrintClick();
    // Empties the names, resets the impressions and hides the window.
    void ByeClick() override;

protected:
    // The learner's boxes, the page browser and the buttons with their keys.
    void buildContents() override;
    // Every showing starts from the instructions page "HTML/Report/blank.html".
    void showEvent(QShowEvent *event) override;

private:
    void load(const QString &path);

    QLineEdit *m_grade = nullptr;
    QLineEdit *m_class = nullptr;
    QLineEdit *m_name = nullptr;
    QPlainTextEdit *m_impressions = nullptr;
    PageBrowser *m_browser = nullptr;
    QStringList m_program;
};

} // namespace kr31
