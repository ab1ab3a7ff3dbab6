// The settings file as anyone may have edited it: read every key the program
// reads, then set keys as the settings window and the wizard do, in memory.
#include "core/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char *section : {"Wave", "Wizard", "Command", "coment", "back"})
        for (const char *key : {"name", "Start", "12", "color"})
            kr31::ini::valueIn(bytes, QString::fromLatin1(section), QString::fromLatin1(key));
    const QByteArray written = kr31::ini::withValues(bytes, QStringLiteral("Wizard"), {{"Start", "0"}, {"Mode", "2"}});
    if (kr31::ini::valueIn(written, QStringLiteral("wizard"), QStringLiteral("START")) != QStringLiteral("0"))
        __builtin_trap(); // a key just set must read back
    return 0;
}
