#pragma once

#include <cstdint>

#include "driver/Win32Api.h"

// What the device contract tests need from the platform around the device: a card that
// serves given bytes, a look at what the card holds now, and a way to give a handle back.
// Here the card is the emulated one; a build against a real driver supplies its own.

// The next open of the device serves these bytes (size may be wrong on purpose). 1 on success.
int PrepareContractCard(const std::uint8_t* bytes, int size);

// What the card holds now, straight from its storage. Returns the bytes read, -1 on failure.
int ReadContractCard(std::uint8_t* bytes, int size);

// Releases a handle the test opened (the program itself never closes the device).
void CloseContractHandle(HANDLE device);

// Takes the prepared card away again.
void RemoveContractCard();
