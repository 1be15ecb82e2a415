// What the compiler's own runtime needs from the system and Windows 98 does not give it.
//
// libgcc makes its mutexes (which libstdc++ takes for its locale and exception bookkeeping)
// from CreateSemaphoreW. Windows 98 and ME export that name, but only as a stub that fails, so
// the first mutex would come back as a null handle. The runtime only ever asks for unnamed
// semaphores, and for those the ANSI function, which every Windows has, is the same call.
//
// The runtime calls through its import pointer; this file defines that pointer, so the linker
// takes it instead of the one in libkernel32.a and the program imports CreateSemaphoreA
// instead. The object must be linked into the program directly (an object library): a member
// of a static library would only be looked at before the runtime asked for the name.
#include <windows.h>

namespace {

HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, LPCWSTR name) {
    if (name != nullptr) {
        // A named one would need the name converted; nothing in the program asks for one.
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}

}  // namespace

// The import pointer's name as the 32-bit linker spells it (stdcall, 16 bytes of arguments).
extern "C" {
extern decltype(&CreateUnnamedSemaphore) const g_createSemaphoreWImport __asm__(
    "__imp__CreateSemaphoreW@16");
decltype(&CreateUnnamedSemaphore) const g_createSemaphoreWImport = &CreateUnnamedSemaphore;
}
