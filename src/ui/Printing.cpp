#include "ui/Printing.h"

#include <QPrintDialog>
#include <QPrinter>

namespace kr31 {

bool QtPrinting::choose(QPrinter &printer, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kr31
