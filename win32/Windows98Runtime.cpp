// What the 32-bit programs take from the compiler's runtime, cut down to pieces that run on
// Windows 98 and on the CPUs of its machines.
//
// Two reasons. The runtime makes its mutexes from CreateSemaphoreW, which Windows 98 and ME
// export only as a stub that fails. And the runtime's libraries are compiled for the Pentium
// Pro: their exception machinery, their operator new, their string instantiations and
// mingw-w64's own printf use CMOV and FCOMI, which a Pentium MMX or a K6-2 does not have. The
// 32-bit build compiles our code without exceptions, RTTI and thread-safe statics (the program
// throws nothing, catches nothing and runs on one thread), and this file gives the few runtime
// entry points that are left, compiled with our code's flags:
//   - operator new and delete over malloc and free; an allocation that fails ends the program,
//     as the uncaught std::bad_alloc did;
//   - the std::__throw_* functions the library's inline code calls on misuse (an index out of
//     range, a length that cannot be): they end the program with a message instead of throwing;
//   - snprintf, vsnprintf and fprintf through msvcrt's own formatting, for the plain
//     conversions the program uses (%d, %x, %s);
//   - the one shared_ptr helper that make_shared needs without RTTI;
//   - CreateSemaphoreW through the ANSI function.
// This must be an object linked into each program (an object library): the linker takes a name
// from here only if it sees these definitions before the runtime's archives.
#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

[[noreturn]] void EndProgram(const char* what) {
    std::fputs("runtime error: ", stderr);
    std::fputs(what != nullptr ? what : "?", stderr);
    std::fputc('\n', stderr);
    std::abort();
}

void* Allocate(std::size_t size) {
    // malloc(0) may answer nullptr; new never does.
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        EndProgram("out of memory");
    }
    return block;
}

#if defined(__i386__)
HANDLE WINAPI CreateUnnamedSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, LPCWSTR name) {
    if (name != nullptr) {
        // A named one would need the name converted; the runtime never asks for one.
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
}
#endif

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

// Every function of the library's functexcept.h, so that the library's own object holding them
// (and with it the exception machinery) is never linked.
namespace std {
void __throw_bad_exception() {
    EndProgram("bad exception");
}
void __throw_bad_alloc() {
    EndProgram("out of memory");
}
void __throw_bad_array_new_length() {
    EndProgram("bad array length");
}
void __throw_bad_cast() {
    EndProgram("bad cast");
}
void __throw_bad_typeid() {
    EndProgram("bad typeid");
}
void __throw_logic_error(const char* what) {
    EndProgram(what);
}
void __throw_domain_error(const char* what) {
    EndProgram(what);
}
void __throw_invalid_argument(const char* what) {
    EndProgram(what);
}
void __throw_length_error(const char* what) {
    EndProgram(what);
}
void __throw_out_of_range(const char* what) {
    EndProgram(what);
}
void __throw_out_of_range_fmt(const char* what, ...) {
    EndProgram(what);  // the format as it stands: enough to tell which check failed
}
void __throw_runtime_error(const char* what) {
    EndProgram(what);
}
void __throw_range_error(const char* what) {
    EndProgram(what);
}
void __throw_overflow_error(const char* what) {
    EndProgram(what);
}
void __throw_underflow_error(const char* what) {
    EndProgram(what);
}
void __throw_ios_failure(const char* what) {
    EndProgram(what);
}
void __throw_ios_failure(const char* what, int) {
    EndProgram(what);
}
void __throw_system_error(int) {
    EndProgram("system error");
}
void __throw_future_error(int) {
    EndProgram("future error");
}
void __throw_bad_function_call() {
    EndProgram("bad function call");
}
}  // namespace std

// With the library's C99 printf family switched on, snprintf and vsnprintf are mingw-w64's
// own. msvcrt's _vsnprintf formats the same for our conversions; it does not terminate a text
// that fills the buffer and answers -1 then, so terminate it here (a cut text is what the
// callers expect) and answer the C99 way where that is known: the count without the cut.
extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format,
                                 va_list arguments) {
    if (size == 0 || buffer == nullptr) {
        return -1;
    }
    const int written = ::_vsnprintf(buffer, size, format, arguments);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        buffer[size - 1] = '\0';
    }
    return written;
}
extern "C" int __mingw_snprintf(char* buffer, std::size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int written = __mingw_vsnprintf(buffer, size, format, arguments);
    va_end(arguments);
    return written;
}

// The header turns vfprintf itself into __mingw_vfprintf, which would come straight back here;
// __ms_vfprintf is msvcrt's under a name it leaves alone.
extern "C" int __mingw_vfprintf(std::FILE* stream, const char* format, va_list arguments) {
    return __ms_vfprintf(stream, format, arguments);
}
extern "C" int __mingw_fprintf(std::FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int written = __ms_vfprintf(stream, format, arguments);
    va_end(arguments);
    return written;
}

// make_shared asks whether a deleter query names its own tag; compiled without RTTI it asks the
// library, whose answer compares against the real type_info of the tag. Nothing in a program
// without RTTI can hold that type_info, so the answer is no; the library's object holding the
// function would bring the exception machinery with it.
bool std::_Sp_make_shared_tag::_S_eq(const std::type_info&) noexcept {
    return false;
}

#if defined(__i386__)
// The runtime calls CreateSemaphoreW through its import pointer; defining the pointer here
// makes the program import CreateSemaphoreA instead. The name is the one the 32-bit linker
// spells (stdcall, 16 bytes of arguments). (The 64-bit build links this file only into the
// start-up probe, which runs where the wide function works.)
extern "C" {
extern decltype(&CreateUnnamedSemaphore)
    const g_createSemaphoreWImport __asm__("__imp__CreateSemaphoreW@16");
decltype(&CreateUnnamedSemaphore) const g_createSemaphoreWImport = &CreateUnnamedSemaphore;
}
#endif
