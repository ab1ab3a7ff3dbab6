#pragma once

#include "editors/flowchart/CommandChooser.h"
#include "ui/FormWindow.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace kr31 {

// The command dialog of the flowchart editor: shows the entry being edited
// (nothing when inserting), offers the editor's command menu with the value
// sliders and boxes, and answers the choice made with OK. Shown modally;
// FuroBye closes it without a choice.
class CommandDialogWindow : public FormWindow, public CommandChooser
{
    Q_OBJECT
public:
    explicit CommandDialogWindow(Forms &forms);

    // Shows question (its picture says insert or edit) modally through Forms::runModal.
    std::optional<Choice> chooseCommand(const Question &question, QWidget *opener) override;
    // The question of the last showing.
    const Question &question() const { return m_question; }
    // The command menu, as the editor's (fixed items, then its subroutines).
    void setMenuItems(const QStringList &items);

    // Notes the choice and closes the dialog.
    void OKClick();
    void FuroByeClick();
    // Closing only hides the dialog.
    void ByeClick() override { FuroByeClick(); }

protected:
    // The picture, the captions, the command menu and the value controls:
    // made before the dialog first shows or is first reached.
    void buildContents() override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void ComboBox1Change();
    void setValueVisibility(int item);
    void createCaptions(const QFont &font);
    // The timer's hours, minutes and seconds changed: their seconds go to the first value.
    void TimeChange();
    // Shows the first value's seconds as hours, minutes and seconds.
    void showTime();

    Question m_question;
    std::optional<Choice> m_choice;
    QLabel *m_background = nullptr;
    QLabel *m_labels[3] = {};
    QComboBox *m_menu = nullptr;
    QSlider *m_bar1 = nullptr, *m_bar2 = nullptr;
    QLineEdit *m_edit1 = nullptr, *m_edit2 = nullptr;
    QLabel *m_captions[2] = {}, *m_units[2] = {};
    QLabel *m_timePrompt = nullptr;
    QSpinBox *m_time[3] = {};
    QLabel *m_timeUnits[3] = {};
    bool m_filling = false;
};

} // namespace kr31
