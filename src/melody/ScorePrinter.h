#pragma once

class QWidget;

namespace kr31 {

class Melody;

// The print window of the score as the melody editor reaches it.
class ScorePrinter
{
public:
    virtual ~ScorePrinter() = default;
    // Shows the print options modally, centred over opener, for a print of melody.
    virtual void printScore(const Melody &melody, QWidget *opener) = 0;
};

} // namespace kr31
