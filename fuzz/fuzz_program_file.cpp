// A ".kr3" file of any content: the icon editor's reader, its check and
// compilation, and the command-list check and packet of an "LED" file.
#include "core/Cp932.h"
#include "core/TextFile.h"
#include "editors/icon/IconFile.h"
#include "link/Packets.h"
#include "program/CommandList.h"
#include "program/ProgramFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = kr31::textfile::splitLines(kr31::cp932::decode(bytes));
    const auto read = kr31::iconfile::readLines(lines);
    read.program.checkProgram();
    read.program.compileSlots();
    read.program.slotTotal();
    kr31::ProgramFile file{lines.value(0), lines.mid(1)};
    const QStringList list = file.commandSection();
    if (file.isLedList() && kr31::commandlist::check(list).ok)
        kr31::packet::ledProgram(list);
    return 0;
}
