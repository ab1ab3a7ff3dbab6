#include "sound/PulseLibrary.h"

#include <dlfcn.h>

#include <memory>

namespace kr31 {

namespace {

const PulseLibrary *loadPulseLibrary(const char *file, QString *why)
{
    void *handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        *why = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    auto library = std::make_unique<PulseLibrary>();
    const char *missing = nullptr;
#define KR31_PULSE_FIND(name)                                                                                         \
    library->name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                         \
    if (!library->name)                                                                                               \
        missing = #name;
    KR31_PULSE_FUNCTIONS(KR31_PULSE_FIND)
#undef KR31_PULSE_FIND
    if (missing) {
        *why = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(file), QString::fromLatin1(missing));
        dlclose(handle);
        return nullptr;
    }
    return library.release(); // kept with the library for the run
}

} // namespace

const PulseLibrary *pulse(QString *why)
{
    static QString reason;
    static const PulseLibrary *const library = loadPulseLibrary("libpulse.so.0", &reason);
    if (!library && why)
        *why = reason;
    return library;
}

} // namespace kr31
