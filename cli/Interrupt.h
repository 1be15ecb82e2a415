#pragma once

// Ctrl-C during a write: the handler only notes it, and the write loop looks between bytes, so
// the byte in flight is finished and the user is told what was written.

// Puts the handler in place for the life of this object (SIGINT and SIGTERM; on Windows the
// console's Ctrl-C and Ctrl-Break), clears any earlier request, and puts the previous handling
// back at the end.
class CInterruptScope {
public:
    CInterruptScope();
    ~CInterruptScope();
    CInterruptScope(const CInterruptScope&) = delete;
    CInterruptScope& operator=(const CInterruptScope&) = delete;
};

bool InterruptRequested();
// What the handler does; tests ask for a stop the same way.
void RequestInterrupt();
