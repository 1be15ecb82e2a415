#pragma once

#include "driver/DeviceSeam.h"

// Stands in front of the card for its life and counts the byte write requests that pass it on
// their way to the services below, unchanged; the runner reports the count with each write.
class CWriteCountingDeviceApi final : public CScopedForwardingDeviceApi {
public:
    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override;

    // Byte write requests sent to the card (failed ones too) since the last reset.
    long long Writes() const { return m_writes; }
    void ResetWrites() { m_writes = 0; }

private:
    long long m_writes = 0;
};
