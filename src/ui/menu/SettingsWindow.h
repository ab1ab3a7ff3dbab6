#pragma once

#include "ui/FormWindow.h"

#include <QList>

class QLineEdit;

namespace kr31 {

// The settings window: the text language's twelve command words, the way to
// the transfer mode page, and the resets of the lamp's LED program and melody.
class SettingsWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit SettingsWindow(Forms &forms);

    // The command words as they stand in the fields (the text window reads
    // them); the stored words before the fields are made.
    QStringList commandNames() const;

    void OKClick();
    void cancelClick();
    void TestClick();
    void LEDClick();
    void meloClick();

protected:
    void buildContents() override;
    void showEvent(QShowEvent *event) override;

private:
    void loadNames();
    void fillNames();
    QList<QLineEdit *> m_edits;
};

} // namespace kr31
