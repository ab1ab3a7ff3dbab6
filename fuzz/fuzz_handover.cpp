// A line on the hand-over socket, as any process of this user may send it:
// the path it asks for, read back into a request, must come out the same.
#include "core/HandOverRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray line(reinterpret_cast<const char *>(data), qsizetype(size));
    const qint64 now = 1'800'000'000'000;
    const std::optional<QString> path = kr31::handover::requestedPath(line, now, 2000);
    if (path) {
        const QByteArray again = kr31::handover::request(*path, now);
        if (kr31::handover::requestedPath(again.chopped(1), now, 2000) != path)
            __builtin_trap();
    }
    return 0;
}
