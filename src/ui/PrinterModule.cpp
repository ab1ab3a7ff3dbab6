// The printer module: the system's print dialog and printers (see Printing.h).
#include "ui/PrintPages.h"

#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT kr31::Printing::Result kr31_printWithDialog(QWidget *parent,
                                                                     const kr31::Printing::Pages &pages)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return kr31::Printing::Result::Cancelled;
    return kr31::printPagesOn(printer, pages);
}
