#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"
#include "driver/tests/ContractCard.h"

namespace {
std::string g_cardPath;
}

int PrepareContractCard(const std::uint8_t* bytes, int size) {
    RemoveContractCard();
    char name[] = "/tmp/vymcnf-contract-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
        return 0;
    }
    const bool written = write(fd, bytes, static_cast<std::size_t>(size)) == size;
    close(fd);
    g_cardPath = name;
    if (!written) {
        RemoveContractCard();
        return 0;
    }
    return setenv(EEPROM_FILE_VARIABLE, name, 1) == 0 ? 1 : 0;
}

int ReadContractCard(std::uint8_t* bytes, int size) {
    std::FILE* file = std::fopen(g_cardPath.c_str(), "rb");
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

void RemoveContractCard() {
    if (!g_cardPath.empty()) {
        unlink(g_cardPath.c_str());
        g_cardPath.clear();
    }
    unsetenv(EEPROM_FILE_VARIABLE);
}

const CContractDifferences& ContractDifferences() {
    static const CContractDifferences differences{
        ERROR_INVALID_DATA, false,
        "The process cannot access the file because it is being used by another process.\r\n"};
    return differences;
}
