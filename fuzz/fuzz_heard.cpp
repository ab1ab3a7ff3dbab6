// What a sound server hands back: a recording of the output compared with a
// transfer sound, and the lines of the mixer state file read as an output's state.
#include "link/HeardCheck.h"
#include "sound/PulseSoundOutput.h"
#include "link/ToneBurst.h"
#include "core/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QByteArray sent = kr31::tone::transferSound({5, 0, 200, 204}, [] { return 2; });
    kr31::heard::compare(sent, bytes, kr31::heard::clipAllowance(2));
    kr31::PulseSoundOutput::stateOf(kr31::textfile::splitLines(kr31::textfile::decodeText(bytes)));
    return 0;
}
