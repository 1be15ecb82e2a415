#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pnp/ResourceTags.h"

// Bytes that end right before an inaccessible page: a parser that reads one byte too far
// stops the test with a fault instead of passing by luck.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t size);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    std::span<std::uint8_t> Bytes() { return {data_, size_}; }
    // The same bytes as an EEPROM image; only for a buffer of EEPROM_SIZE bytes.
    const std::uint8_t (&Image() const)[EEPROM_SIZE];
    // Makes the bytes read-only, so that a write to them faults as well.
    void Freeze();
    void Thaw();

private:
    std::uint8_t* mapping_ = nullptr;
    std::size_t mappedSize_ = 0;
    std::size_t dataPages_ = 0;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// Runs a record's parser over bytes that end right at an inaccessible page.
template <typename Record>
int ParseGuarded(Record& record, const std::vector<std::uint8_t>& bytes) {
    GuardedBuffer buffer(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.Bytes().begin());
    return record.Parse(buffer.Bytes());
}
