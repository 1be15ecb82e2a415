#include "driver/EmulatedFormatMessage.h"

#include <cstdlib>
#include <cstring>

#include "driver/EmulatedLastError.h"
#include "driver/SystemErrorTexts.h"

DWORD FormatEmulatedMessage(const char* text, DWORD flags, LPSTR buffer, DWORD size) {
    // Only system messages exist here; a caller asking for a string or a module's table gets
    // the refusal it would get for a bad argument rather than a made-up text.
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 ||
        (flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE)) != 0 ||
        buffer == nullptr) {
        EmulatedSetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (text == nullptr) {
        EmulatedSetLastError(ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    // Without FORMAT_MESSAGE_IGNORE_INSERTS the system would read arguments for %1 and the
    // like; nobody here passes any, so such a request is refused instead of guessed at.
    if ((flags & FORMAT_MESSAGE_IGNORE_INSERTS) == 0 && std::strchr(text, '%') != nullptr) {
        EmulatedSetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length = std::strlen(text);
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0) {
        std::size_t blockSize = length + 1;
        if (blockSize < size) {
            blockSize = size;  // the caller's size is the least the block must hold
        }
        char* block = static_cast<char*>(std::malloc(blockSize));
        if (block == nullptr) {
            EmulatedSetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        std::memcpy(block, text, length + 1);
        *reinterpret_cast<char**>(buffer) = block;
        return static_cast<DWORD>(length);
    }
    if (size < length + 1) {
        EmulatedSetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text, length + 1);
    return static_cast<DWORD>(length);
}

DWORD EmulatedFormatMessageA(DWORD flags, LPCVOID /*source*/, DWORD messageId, DWORD /*languageId*/,
                             LPSTR buffer, DWORD size, va_list* /*arguments*/) {
    // English is the only language the emulation has, so every language asks for it.
    return FormatEmulatedMessage(EnglishSystemErrorText(messageId), flags, buffer, size);
}

HLOCAL EmulatedLocalFree(HLOCAL memory) {
    std::free(memory);
    return nullptr;
}
