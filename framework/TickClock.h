#pragma once

#include <cstdint>

// The system's millisecond tick count (GetTickCount on Windows: every Windows has it, and it
// never jumps with the wall clock) made into a clock that does not wrap. The tick count goes
// back to 0 after 2^32 ms, about 49.7 days; a program running across that moment must not see
// its timers' due times lie 49 days ahead. Readings must come at least once per wrap, which any
// running message loop does many times a second.
class CTickClock {
public:
    // The time of the reading ticks, in milliseconds since the first reading's wrap period began.
    std::uint64_t Extend(std::uint32_t ticks);

private:
    std::uint64_t m_wraps = 0;
    std::uint32_t m_last = 0;
};
