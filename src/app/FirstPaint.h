#pragma once

// How a program started for timing tells when its first paint is done: one
// line "first paint <ns>" on standard output, the moment on the system's
// monotonic clock, which the benchmark that started it sets against its own
// start. Shared by kr31 and the bare window it is measured against; header
// only, so the bare window links nothing of ours.
#include <cstdio>
#include <ctime>

namespace kr31::firstpaint {

inline constexpr char Prefix[] = "first paint ";

inline long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

inline void announce()
{
    std::printf("%s%lld\n", Prefix, nowNs());
    std::fflush(stdout);
}

} // namespace kr31::firstpaint
