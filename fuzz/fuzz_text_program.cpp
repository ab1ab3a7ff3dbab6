// A ".kr3" file of any content as the text window opens it, then the language
// checker, compiler and the conversion of its command list into text.
#include "core/Cp932.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "editors/text/TextLanguage.h"
#include "editors/text/WordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList names = kr31::Settings::defaultCommandNames();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = kr31::textfile::splitLines(kr31::cp932::decode(bytes));
    const auto read = kr31::wordfile::readLines(lines, names);
    kr31::textlang::check(read.text, names);
    kr31::textlang::compile(read.text, names);
    kr31::textlang::toText(lines, names);
    return 0;
}
