#pragma once

#include <cstdint>

#include "wintypes/WinTypes.h"

// What the device contract tests need from the platform around the device: a card that
// serves given bytes, a look at what the card holds now, and a way to give a handle back.
// Each build of the cases supplies them for its device: the emulated card over a file, the
// configuration driver, the test double.

// The next open of the device serves these bytes (size may be wrong on purpose). 1 on success.
int PrepareContractCard(const std::uint8_t* bytes, int size);

// What the card holds now, straight from its storage. Returns the bytes read, -1 on failure.
int ReadContractCard(std::uint8_t* bytes, int size);

// Releases a handle the test opened (the program itself never closes the device).
void CloseContractHandle(HANDLE device);

// Takes the prepared card away again.
void RemoveContractCard();

// Where the card behind the device answers otherwise than the emulated one, said per platform.
struct CContractDifferences {
    // The open's error when the card file has the wrong size: the emulated card refuses the
    // open as invalid data; a driver that checks the file when it starts has no device then.
    DWORD wrongSizedCardOpenError;
    // A second open while one is held: refused as a sharing violation, or (where the system
    // hands out the handle before the driver has answered) a handle on which every request
    // fails with the sharing violation.
    bool refusedOpenYieldsAHandle;
    // The system's English text for the sharing violation, line ending included.
    const char* sharingViolationText;
};
const CContractDifferences& ContractDifferences();
