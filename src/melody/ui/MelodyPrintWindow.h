#pragma once

#include "melody/Melody.h"
#include "melody/ScorePrinter.h"
#include "ui/FormWindow.h"

#include <array>

class QLineEdit;
class QPagedPaintDevice;

namespace kr31 {

// The print options of the score (grade, class, name, a title or comment)
// and the printed score itself.
class MelodyPrintWindow : public FormWindow, public ScorePrinter
{
    Q_OBJECT
public:
    explicit MelodyPrintWindow(Forms &forms);

    // The melody the next print shows.
    void setMelody(const Melody &melody) { m_melody = melody; }
    // setMelody, then shows the window through Forms::runModal.
    void printScore(const Melody &melody, QWidget *opener) override;

    // The handlers.
    void OKClick();
    void cancelClick();
    void ByeClick() override { cancelClick(); }

    // Prints the heading and the score on printer; false when the printer failed.
    bool print(QPagedPaintDevice &printer) const;

protected:
    void buildContents() override;

private:
    // What box Edit1..Edit4 holds (empty before the window is first shown).
    QString text(int box) const;

    Melody m_melody;
    std::array<QLineEdit *, 4> m_edits{};
};

} // namespace kr31
