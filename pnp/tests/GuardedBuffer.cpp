#include "pnp/tests/GuardedBuffer.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdlib>

// The guard page is a page of the same mapping with no access at all; the data pages can be
// made read-only and writable again. Any failure of the system calls ends the test program:
// a buffer without its guard would let an overread pass unnoticed.
namespace {
enum class Access { None, ReadOnly, ReadWrite };

#ifdef _WIN32
std::size_t PageSize() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<std::size_t>(info.dwPageSize);
}

std::uint8_t* MapPages(std::size_t size) {
    void* mapping = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (mapping == nullptr) {
        std::abort();
    }
    return static_cast<std::uint8_t*>(mapping);
}

void UnmapPages(std::uint8_t* mapping, std::size_t) {
    VirtualFree(mapping, 0, MEM_RELEASE);
}

void Protect(std::uint8_t* pages, std::size_t size, Access access) {
    const DWORD protection = access == Access::None       ? PAGE_NOACCESS
                             : access == Access::ReadOnly ? PAGE_READONLY
                                                          : PAGE_READWRITE;
    DWORD previous = 0;
    if (VirtualProtect(pages, size, protection, &previous) == 0) {
        std::abort();
    }
}
#else
std::size_t PageSize() {
    return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::uint8_t* MapPages(std::size_t size) {
    void* mapping = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        std::abort();
    }
    return static_cast<std::uint8_t*>(mapping);
}

void UnmapPages(std::uint8_t* mapping, std::size_t size) {
    munmap(mapping, size);
}

void Protect(std::uint8_t* pages, std::size_t size, Access access) {
    const int protection = access == Access::None       ? PROT_NONE
                           : access == Access::ReadOnly ? PROT_READ
                                                        : PROT_READ | PROT_WRITE;
    if (mprotect(pages, size, protection) != 0) {
        std::abort();
    }
}
#endif
}  // namespace

GuardedBuffer::GuardedBuffer(std::size_t size) : size_(size) {
    const std::size_t page = PageSize();
    dataPages_ = (size + page - 1) / page + 1;
    mappedSize_ = (dataPages_ + 1) * page;
    mapping_ = MapPages(mappedSize_);
    Protect(mapping_ + dataPages_ * page, page, Access::None);
    data_ = mapping_ + dataPages_ * page - size;
}

GuardedBuffer::~GuardedBuffer() {
    UnmapPages(mapping_, mappedSize_);
}

const std::uint8_t (&GuardedBuffer::Image() const)[EEPROM_SIZE] {
    if (size_ != EEPROM_SIZE) {
        std::abort();
    }
    return *reinterpret_cast<const std::uint8_t(*)[EEPROM_SIZE]>(data_);
}

void GuardedBuffer::Freeze() {
    Protect(mapping_, dataPages_ * PageSize(), Access::ReadOnly);
}

void GuardedBuffer::Thaw() {
    Protect(mapping_, dataPages_ * PageSize(), Access::ReadWrite);
}
