#pragma once

// Names the system compares without regard to case (window classes, device names) are ASCII:
// only A to Z fold, whatever the locale says.
constexpr char AsciiLowerCase(char letter) {
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

constexpr bool SameIgnoringAsciiCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (AsciiLowerCase(*a) != AsciiLowerCase(*b)) {
            return false;
        }
    }
    return *a == *b;
}
