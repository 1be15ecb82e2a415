#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "driver/EepromFileLocation.h"
#include "driver/tests/ContractCard.h"
#include "driver/tests/ContractCardFile.h"

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
    close(fd);
    g_cardPath = name;
    if (WriteContractCardFile(name, bytes, size) != 1) {
        RemoveContractCard();
        return 0;
    }
    return setenv(EEPROM_FILE_VARIABLE, name, 1) == 0 ? 1 : 0;
}

const char* ContractCardPath() {
    return g_cardPath.empty() ? nullptr : g_cardPath.c_str();
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
