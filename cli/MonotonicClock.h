#pragma once

#include <cstdint>

// Milliseconds on a clock that never jumps, for the time a write has left. Windows 98 has
// GetTickCount; elsewhere the monotonic clock.
std::uint64_t MonotonicMs();
