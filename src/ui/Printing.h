#pragma once

class QPrinter;
class QWidget;

namespace kr31 {

// The print dialog: lets the user choose and set up a printer. Tests answer
// with a PDF file printer instead.
class Printing
{
public:
    virtual ~Printing() = default;
    // Sets printer up; false when the user cancelled.
    virtual bool choose(QPrinter &printer, QWidget *parent) = 0;
};

// The system's print dialog.
class QtPrinting : public Printing
{
public:
    bool choose(QPrinter &printer, QWidget *parent) override;
};

} // namespace kr31
