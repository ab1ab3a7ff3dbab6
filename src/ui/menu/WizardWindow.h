#pragma once

#include "ui/FormWindow.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QStackedWidget;
class QTimer;

namespace kr31 {

// The first-run wizard that finds a transfer mode the lamp hears: it sends a
// short test melody in one mode after another (0, 2, 1, 3) until the user
// confirms that the lamp played it, and stores that mode. A manual page sets
// the mode directly. Shown modally at the first start and from the transfer
// mode page; every showing starts again on the opening page.
class WizardWindow : public FormWindow
{
    Q_OBJECT
public:
    // Closing it from the desktop only hides it (for the wizard: leaves it).
    void closeEvent(QCloseEvent *event) override { QWidget::closeEvent(event); }

    // The pages in the order of the page stack.
    enum Page { Start, Connect, Den_On, Send, Kakunin, Jikko, ShutDown, Finish, Manual };
    // The modes tried, in order.
    static constexpr std::array<int, 4> Candidates{0, 2, 1, 3};

    explicit WizardWindow(Forms &forms);

    Page page() const;
    // The mode under test and its place in Candidates.
    int candidate() const { return Candidates[m_index]; }
    int candidateIndex() const { return m_index; }
    // Wave/name as it was when the wizard was shown; the inner Cancel buttons put it back.
    int savedMode() const { return m_savedMode; }
    // The mode chosen on the manual page.
    int manualMode() const;
    bool blinking() const;

    // One beat of the blinking lamp picture: toggles Image11. The blink timer
    // calls it every 1000 ms while the power-on page is reached for modes 2 and 3.
    void blinkTick();

    // Opening page: store whether to open at start, then go on / close / go to the manual page.
    void NextClick();
    void cancelClick();
    void Image34Click();
    // Connect and ShutDown: on to the power-on page (the latter with the next candidate).
    void Image5Click();
    void Image23Click();
    // Power-on page: stop blinking and go to the test page.
    void Image8Click();
    // The test transfer in the current candidate; on to the question page when it played.
    void Image12Click();
    // Let the lamp play its stored melody.
    void Image20Click();
    // The user heard it: to the last page with the candidate.
    void Image18Click();
    // Store the candidate, tell the user and close.
    void Image26Click();
    // Manual page: store the chosen mode and show it everywhere / close.
    void renewClick();
    void tojiruClick();
    // The Cancel button of the inner pages: after a Yes, put the saved mode back and close.
    void CancelClick();

protected:
    void buildContents() override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void goTo(Page page);
    void toPowerOn();
    bool confirmLeaving();
    // Shows the information box naming mode, and selects it on the transfer mode page.
    void announce(int mode);
    void selectOnModePage(int mode);

    QStackedWidget *m_pages = nullptr;
    QCheckBox *m_check = nullptr;
    QLabel *m_unlit = nullptr;   // Image10
    QLabel *m_lit = nullptr;     // Image11
    QLabel *m_digit = nullptr;   // Label1 of the last page
    QLabel *m_result = nullptr;  // Image3 of the last page
    QButtonGroup *m_modes = nullptr;
    QTimer *m_blink = nullptr;
    int m_index = 0;
    int m_savedMode = 0;
};

} // namespace kr31
