#pragma once

#include <string>

#include "terminal/KeyTable.h"

// What one read of the terminal brought.
struct CTerminalInput {
    enum class EType {
        kNothing,  // the time ran out
        kKey,
        kClick,  // mouse button 1 pressed at row, col
        kWheelUp,
        kWheelDown,
        kResized,  // the screen has its new size already
        kHangUp,   // the terminal is gone, or a signal asks the program to end
    };
    EType type = EType::kNothing;
    CKeyEvent key;
    int row = 0;
    int col = 0;
};

// The terminal for the life of the program: ncurses set up on standard input and output, the
// signals that concern the screen caught, and the screen put back as it was on every way out
// (normal end, hang-up or termination signal, a crash signal).
class CTerminalSession {
public:
    CTerminalSession() = default;
    ~CTerminalSession();
    CTerminalSession(const CTerminalSession&) = delete;
    CTerminalSession& operator=(const CTerminalSession&) = delete;

    // False, with error set, when there is no usable terminal.
    bool Start(std::string& error);
    // Puts the screen back; harmless when it is back already.
    void Stop();

    // Waits up to timeoutMs (-1: without end) for the user. Input typed while the program was
    // busy is read now in the order it came.
    CTerminalInput Read(int timeoutMs);
    // Takes the new size of a screen resized since the last look, without reading anything the
    // user typed (it stays queued for Read). True when the screen has a new size.
    bool FollowResize();
    // Drops everything typed so far.
    void DiscardTypeAhead();

    // The terminal was lost or a signal asked to end; stays true.
    bool HangUpSeen() const;
    // The signal that asked the program to end (SIGHUP, SIGTERM, SIGINT, SIGQUIT), or 0.
    int EndingSignal() const;

private:
    bool ApplyPendingResize();
    CTerminalInput ReadOneKey(bool& consumed);

    bool m_started = false;
    int m_altDownKey = 0;
};
