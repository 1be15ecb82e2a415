#include "cli/MonotonicClock.h"

#ifdef _WIN32
#include "wintypes/WinTypes.h"
#else
#include <time.h>
#endif

std::uint64_t MonotonicMs() {
#ifdef _WIN32
    // The tick count wraps every 49 days; its steps do not, so they are added up.
    static DWORD last = ::GetTickCount();
    static std::uint64_t total = 0;
    const DWORD now = ::GetTickCount();
    total += static_cast<DWORD>(now - last);
    last = now;
    return total;
#else
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
           static_cast<std::uint64_t>(now.tv_nsec / 1000000);
#endif
}
