#include "text/Sentences.h"

#include <cstring>

const char* FullStop(const char* reason) {
    const std::size_t length = std::strlen(reason);
    return length > 0 && reason[length - 1] == '.' ? "" : ".";
}

const char* BytesDifferWords(int differences) {
    return differences == 1 ? "byte differs" : "bytes differ";
}

const char* LogicalDevicesWords(int count) {
    return count == 1 ? "logical device" : "logical devices";
}
