// A teacher's impressions file and the names typed beside it: decoding (UTF-8
// or code page 932) and the report page built around them.
#include "core/TextFile.h"
#include "report/ReportPage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = kr31::textfile::decodeText(bytes);
    const QString name = text.left(8);
    const QStringList page = kr31::report::pageLines(name, name, name, text, kr31::textfile::splitLines(text),
                                                     QStringLiteral("/p/"));
    kr31::textfile::encodeLines(page);
    return 0;
}
