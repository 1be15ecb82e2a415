#include "pnp/tests/GuardedBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace {
std::size_t PageSize() {
    return static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
}  // namespace

GuardedBuffer::GuardedBuffer(std::size_t size) : size_(size) {
    const std::size_t page = PageSize();
    dataPages_ = (size + page - 1) / page + 1;
    mappedSize_ = (dataPages_ + 1) * page;
    void* mapping =
        mmap(nullptr, mappedSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) {
        std::abort();
    }
    mapping_ = static_cast<std::uint8_t*>(mapping);
    if (mprotect(mapping_ + dataPages_ * page, page, PROT_NONE) != 0) {
        std::abort();
    }
    data_ = mapping_ + dataPages_ * page - size;
}

GuardedBuffer::~GuardedBuffer() {
    munmap(mapping_, mappedSize_);
}

const std::uint8_t (&GuardedBuffer::Image() const)[EEPROM_SIZE] {
    if (size_ != EEPROM_SIZE) {
        std::abort();
    }
    return *reinterpret_cast<const std::uint8_t(*)[EEPROM_SIZE]>(data_);
}

void GuardedBuffer::Freeze() {
    if (mprotect(mapping_, dataPages_ * PageSize(), PROT_READ) != 0) {
        std::abort();
    }
}

void GuardedBuffer::Thaw() {
    if (mprotect(mapping_, dataPages_ * PageSize(), PROT_READ | PROT_WRITE) != 0) {
        std::abort();
    }
}
