#pragma once

#include <cstdint>

// The contract hooks of the emulated card over a file that every system shares; each system's
// hooks (ContractCardPosix.cpp, ContractCardFileWindows.cpp) say where the file lies.

// The card file the cases use now; nullptr when there is none.
const char* ContractCardPath();

// Writes size bytes as the card file at path. 1 on success.
int WriteContractCardFile(const char* path, const std::uint8_t* bytes, int size);
