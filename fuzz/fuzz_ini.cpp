// The settings file as anyone may have edited it: read every key, write one.
#include "core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/set.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qsizetype(size));
    file.close();
    kr31::IniFile ini(path);
    ini.integer(QStringLiteral("Wave"), QStringLiteral("name"), 0);
    ini.value(QStringLiteral("Command"), QStringLiteral("12"));
    ini.setValue(QStringLiteral("Wizard"), QStringLiteral("Start"), QStringLiteral("0"));
    ini.integer(QStringLiteral("Wizard"), QStringLiteral("Start"), 1);
    return 0;
}
