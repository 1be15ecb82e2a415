#pragma once

#include <cstdarg>
#include <cstdio>

// Counts and prints the outcome of each check of a console test run; the last line is the
// "N passed, N failed" summary the test runner reads.
class CCheckLog {
public:
    // Records one check; what is a printf format describing it.
    bool Expect(bool ok, const char* what, ...) __attribute__((format(printf, 3, 4))) {
        std::va_list arguments;
        va_start(arguments, what);
        std::printf("%s - ", ok ? "ok" : "FAIL");
        std::vprintf(what, arguments);
        std::printf("\n");
        va_end(arguments);
        ++(ok ? m_passed : m_failed);
        return ok;
    }

    // A check made many times (one per address) is counted once, and only its failures are
    // printed, so the log stays readable.
    bool ExpectQuietly(bool ok, const char* what, ...) __attribute__((format(printf, 3, 4))) {
        if (!ok) {
            std::va_list arguments;
            va_start(arguments, what);
            std::printf("FAIL - ");
            std::vprintf(what, arguments);
            std::printf("\n");
            va_end(arguments);
            ++m_quietFailures;
        }
        return ok;
    }

    // Closes a group of quiet checks as one passed or failed check.
    void CloseGroup(const char* what) {
        Expect(m_quietFailures == 0, "%s", what);
        m_quietFailures = 0;
    }

    int Failed() const { return m_failed; }

    void PrintSummary() const { std::printf("%d passed, %d failed\n", m_passed, m_failed); }

private:
    int m_passed = 0;
    int m_failed = 0;
    int m_quietFailures = 0;
};
