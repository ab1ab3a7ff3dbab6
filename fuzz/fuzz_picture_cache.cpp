// Any file found in the cache of decoded pictures.
#include "core/PictureCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto entry = kr31::picturecache::parse(bytes)) {
        // A whole entry written again is the same bytes.
        if (kr31::picturecache::serialize(*entry) != bytes)
            __builtin_trap();
    }
    return 0;
}
