#pragma once

#include <cstddef>

// The text of a message box put together from parts, in a buffer of its own: a text that
// would not fit is cut, never overrun, and nothing is allocated.
class CMessageText {
public:
    static constexpr std::size_t kSize = 4096;

    // Appends what the printf-style format makes of the arguments.
    void Append(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    const char* Text() const {
        return m_text;
    }

private:
    char m_text[kSize] = "";
    std::size_t m_length = 0;
};
