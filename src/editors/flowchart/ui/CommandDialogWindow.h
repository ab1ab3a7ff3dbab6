#pragma once

#include "ui/FormWindow.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace kr31 {

// The command dialog of the flowchart editor: shows the entry being edited
// (nothing when inserting), offers the editor's command menu with the value
// sliders and boxes, and on OK hands the choice to the editor's insert or
// replace. Shown modally; FuroBye closes it without a change.
class CommandDialogWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit CommandDialogWindow(Forms &forms);

    // Set by the editor before each showing.
    QString EditCode, EditValue1, EditValue2;
    int InsertMode = 1; // 1 insert, 0 replace
    // The command menu, as the editor's (fixed items, then its subroutines).
    void setMenuItems(const QStringList &items);
    // The background picture: insert or edit.
    void setPicture(const QString &path);

    // Set by OK.
    int ChosenItem = 0;
    QString ChosenValue1, ChosenValue2;

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
