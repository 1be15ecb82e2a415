#include "driver/tests/ContractCardFile.h"

#include <cstdio>

#include "driver/EmulatedCard.h"
#include "driver/tests/ContractCard.h"

int WriteContractCardFile(const char* path, const std::uint8_t* bytes, int size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(bytes, 1, static_cast<std::size_t>(size), file) ==
                         static_cast<std::size_t>(size);
    return std::fclose(file) == 0 && written ? 1 : 0;
}

int ReadContractCard(std::uint8_t* bytes, int size) {
    const char* path = ContractCardPath();
    std::FILE* file = path != nullptr ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr) {
        return -1;
    }
    const std::size_t got = std::fread(bytes, 1, static_cast<std::size_t>(size), file);
    std::fclose(file);
    return static_cast<int>(got);
}

void CloseContractHandle(HANDLE device) {
    CloseEmulatedCard(device);
}
