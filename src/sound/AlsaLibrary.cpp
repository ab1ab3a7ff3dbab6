#include "sound/AlsaLibrary.h"

#include <dlfcn.h>

#include <memory>

namespace kr31 {

const AlsaLibrary *loadAlsaLibrary(const char *file, QString *why)
{
    void *handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (why)
            *why = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    auto library = std::make_unique<AlsaLibrary>();
    bool whole = true;
#define KR31_ALSA_FIND(name)                                                                                          \
    library->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                         \
    if (!library->name) {                                                                                             \
        whole = false;                                                                                                \
        if (why)                                                                                                      \
            *why = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(file), QStringLiteral(#name));                 \
    }
    KR31_ALSA_FUNCTIONS(KR31_ALSA_FIND)
#undef KR31_ALSA_FIND
    if (!whole) {
        dlclose(handle);
        return nullptr;
    }
    return library.release(); // kept with the library for the run
}

const AlsaLibrary *alsa(QString *why)
{
    static QString reason;
    static const AlsaLibrary *const library = loadAlsaLibrary("libasound.so.2", &reason);
    if (!library && why)
        *why = reason;
    return library;
}

} // namespace kr31
