#include "ui/MessageText.h"

#include <cstdarg>
#include <cstdio>

void CMessageText::Append(const char* format, ...) {
    if (m_length + 1 >= kSize) {
        return;
    }
    std::va_list arguments;
    va_start(arguments, format);
    const int added = std::vsnprintf(m_text + m_length, kSize - m_length, format, arguments);
    va_end(arguments);
    if (added < 0) {
        m_text[m_length] = '\0';  // nothing of a part that cannot be formatted
        return;
    }
    const std::size_t room = kSize - m_length - 1;
    m_length += static_cast<std::size_t>(added) < room ? static_cast<std::size_t>(added) : room;
}
