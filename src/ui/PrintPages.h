#pragma once

// Drawing a print job's pages on a printer the user has set up. Header only:
// used by the printer module and by tests that print to PDF files, never by
// the program itself (which does not link the printer library).
#include "ui/Printing.h"

#include <QPrinter>

namespace kr31 {

inline Printing::Result printPagesOn(QPrinter &printer, const Printing::Pages &pages)
{
    return pages(printer) && printer.printerState() != QPrinter::Error ? Printing::Result::Printed
                                                                       : Printing::Result::Failed;
}

} // namespace kr31
