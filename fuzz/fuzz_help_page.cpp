// The text window's help page, built from its template and the command
// names of the settings, both as anyone may have edited them: the names are
// the input's first lines (up to a blank one), the template the rest.
#include "core/Cp932.h"
#include "core/TextFile.h"
#include "editors/text/HelpPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = kr31::textfile::splitLines(kr31::cp932::decode(bytes));
    const qsizetype blank = lines.indexOf(QString());
    const QStringList names = blank < 0 ? lines.mid(0, 13) : lines.mid(0, blank);
    const QStringList page = blank < 0 ? lines : lines.mid(blank + 1);
    const QStringList built = kr31::helppage::build(page, names, QStringLiteral("/usr/share/kr31/"));
    if (built.size() != page.size())
        __builtin_trap(); // a line for each line of the template
    return 0;
}
