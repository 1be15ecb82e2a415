#pragma once

#include "driver/DeviceSeam.h"

// Stands between the program and the card for the whole run: every request goes on unchanged
// to the device services in place before (the system's, or a test's double), while the byte writes
// are counted and the pause after each written byte can be skipped (an emulated card needs no time
// to settle).
class CCountingDeviceApi {
public:
    CCountingDeviceApi();
    ~CCountingDeviceApi();
    CCountingDeviceApi(const CCountingDeviceApi&) = delete;
    CCountingDeviceApi& operator=(const CCountingDeviceApi&) = delete;

    // Byte write requests sent to the card since the last reset (one count for the process:
    // counters nest, but share it).
    long long Writes() const;
    void ResetWrites();

    // When off, Sleep returns at once.
    void SetPacing(bool on);
    bool Pacing() const;

private:
    const CDeviceApi& m_next;
    const CDeviceApi* m_outerNext;  // an enclosing counter's services, put back at the end
    CScopedDeviceApi m_scope;
};
