#pragma once

#include <string>
#include <string_view>

// Joins texts into one string by appending them in order. Messages are put together this way
// rather than with operator+ on a literal and a temporary string, which one compiler we build
// with warns about wrongly (a false overlap in the inlined copy).
template <typename... Parts>
std::string JoinText(const Parts&... parts) {
    std::string text;
    (text.append(std::string_view(parts)), ...);
    return text;
}

// A text in double quotes, as messages cite what the user wrote (a script's words, a name).
inline std::string Quoted(std::string_view text) {
    return JoinText("\"", text, "\"");
}
