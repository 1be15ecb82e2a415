#pragma once

#include <cstdio>

// Where vymcnf speaks: results on out, failures and the progress bar on err. Tests give files of
// their own; the program gives its standard output and error.
struct CConsole {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool errIsTerminal = false;  // a progress bar only where a person watches
};

// Exit statuses.
constexpr int VYMCNF_DONE = 0;
constexpr int VYMCNF_FAILED = 1;
constexpr int VYMCNF_USAGE = 2;

// "vymcnf: " and the message on err, a line of its own, after what is waiting on out; returns
// VYMCNF_FAILED.
int Fail(CConsole& console, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// A line on out.
void Say(CConsole& console, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Whether file is a terminal (or a Windows console).
bool IsTerminal(std::FILE* file);
