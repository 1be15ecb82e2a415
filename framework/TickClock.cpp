#include "framework/TickClock.h"

std::uint64_t CTickClock::Extend(std::uint32_t ticks) {
    if (ticks < m_last) {
        ++m_wraps;
    }
    m_last = ticks;
    return (m_wraps << 32) | ticks;
}
