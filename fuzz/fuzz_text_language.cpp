// Program text of any content (UTF-8) through the language checker and
// compiler, with command names taken from the first line, so that odd and
// clashing names are tried too. A text that passes must compile to the list
// the check returned, and converting that list into text must pass again.
#include "core/Settings.h"
#include "core/TextFile.h"
#include "editors/text/TextLanguage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace kr31;
    QStringList lines = textfile::splitLines(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    QStringList names = Settings::defaultCommandNames();
    if (!lines.isEmpty() && lines.first().startsWith(QLatin1String("#names "))) {
        const QStringList given = lines.takeFirst().mid(7).split(u' ');
        for (int i = 0; i < 12 && i < given.size(); ++i)
            names[i] = given.at(i);
    }
    const textlang::CheckResult result = textlang::check(lines, names);
    const QStringList compiled = textlang::compile(lines, names);
    if (result.ok()) {
        if (compiled != result.compiled)
            std::abort();
        if (!textlang::check(textlang::toText(compiled, names), names).ok() && names == Settings::defaultCommandNames())
            std::abort();
    }
    return 0;
}
