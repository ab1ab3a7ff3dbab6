#include "ui/Printing.h"

#include "core/Messages.h"
#include "core/Services.h"
#include "ui/Modules.h"

#include <cstdio>

namespace kr31 {

QtPrinting::QtPrinting(Dialogs &dialogs, const char *module)
    : m_dialogs(dialogs)
    , m_module(module)
{
}

Printing::Result QtPrinting::print(QWidget *parent, const Pages &pages)
{
    QString why;
    const auto printWithDialog = reinterpret_cast<PrintWithDialog>(moduleFunction(m_module, PrintWithDialogName, &why));
    if (!printWithDialog) {
        std::fprintf(stderr, "kr31: %s\n", qUtf8Printable(why));
        m_dialogs.warning(msg::FileMissing101);
        return Result::Cancelled;
    }
    return printWithDialog(parent, pages);
}

} // namespace kr31
