// Any file handed to "kr31-cli decode": the WAV reader, then the decoder.
#include "link/ToneDecoder.h"
#include "link/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto audio = kr31::wav::parse(bytes))
        kr31::tone::decode(audio->samples);
    kr31::tone::decode(bytes);
    return 0;
}
