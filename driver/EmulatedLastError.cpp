#include "driver/EmulatedLastError.h"

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD EmulatedGetLastError() {
    return t_lastError;
}

void EmulatedSetLastError(DWORD code) {
    t_lastError = code;
}
