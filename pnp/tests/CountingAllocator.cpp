#include "pnp/tests/CountingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

// Every global allocation of the test program passes through here and is counted, so a
// test can tell whether the code it calls touched the heap.

namespace {
std::atomic<std::size_t> allocations{0};

void* CountedAllocate(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* CountedAllocateAligned(std::size_t size, std::align_val_t alignment) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
#ifdef _WIN32
    // The C runtime here has no aligned_alloc; its aligned blocks must go back through
    // _aligned_free, which the aligned forms of operator delete below do.
    return _aligned_malloc(rounded == 0 ? align : rounded, align);
#else
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
#endif
}

void ReleaseAligned(void* memory) {
#ifdef _WIN32
    _aligned_free(memory);
#else
    std::free(memory);
#endif
}

void* OrThrow(void* memory) {
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}
}  // namespace

std::size_t AllocationCount() {
    return allocations.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) {
    return OrThrow(CountedAllocate(size));
}
void* operator new[](std::size_t size) {
    return OrThrow(CountedAllocate(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return CountedAllocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return OrThrow(CountedAllocateAligned(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return OrThrow(CountedAllocateAligned(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return CountedAllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return CountedAllocateAligned(size, alignment);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    ReleaseAligned(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    ReleaseAligned(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    ReleaseAligned(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    ReleaseAligned(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    ReleaseAligned(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    ReleaseAligned(memory);
}
