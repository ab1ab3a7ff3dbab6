// The settings file as anyone may have edited it: read keys the program
// reads (which, from the input's first bytes), then set keys as the settings
// window and the wizard do, in memory. Each read parses the whole file, so
// a run reads two keys, not every one.
#include "core/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const sections[] = {"Wave", "Wizard", "Command", "coment", "back"};
    static const char *const keys[] = {"name", "Start", "12", "color"};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (size_t i = 0; i < 2 && i < size; ++i)
        kr31::ini::valueIn(bytes, QString::fromLatin1(sections[data[i] % 5]), QString::fromLatin1(keys[data[i] / 5 % 4]));
    const QByteArray written = kr31::ini::withValues(bytes, QStringLiteral("Wizard"), {{"Start", "0"}, {"Mode", "2"}});
    if (kr31::ini::valueIn(written, QStringLiteral("wizard"), QStringLiteral("START")) != QStringLiteral("0"))
        __builtin_trap(); // a key just set must read back
    return 0;
}
