#pragma once

#include <cstddef>

// Number of calls to any form of global operator new since the test program started.
std::size_t AllocationCount();
