#pragma once

// A signal that asks the program to end while the card is being written (Ctrl-C, a hang-up, a
// termination request) must not cut the write short: half an image is worse than either. While
// a CWriteSignalScope is in place the handler only notes the signal; the writer finishes the
// byte in flight (and, as it chooses, the rest of the write and its read-back), tells the user
// what it did and then ends with a failure status.

// Puts the noting handler in place for the life of this object (SIGINT, SIGTERM and SIGHUP; on
// Windows the console's Ctrl-C and Ctrl-Break), clears any earlier note, and puts the previous
// handling back at the end. Interrupted system calls are restarted, so the card's reads and
// writes and the program's output go on; keep the scope around the write alone, where nothing
// waits for anything but the card.
class CWriteSignalScope {
public:
    CWriteSignalScope();
    ~CWriteSignalScope();
    CWriteSignalScope(const CWriteSignalScope&) = delete;
    CWriteSignalScope& operator=(const CWriteSignalScope&) = delete;
};

// The first signal noted since the last scope began (its number: SIGINT, SIGTERM, SIGHUP, ...),
// or 0. It stays noted after the scope ends.
int NotedWriteSignal();
// What the handler does; tests send a signal the same way.
void NoteWriteSignal(int signalNumber);

// The exit status of a program that ended because of signalNumber, as a shell reports a
// program the signal ended: 128 and the number.
int ExitStatusAfterSignal(int signalNumber);
