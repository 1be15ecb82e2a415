#include "script/WriteCountingDeviceApi.h"

#include "driver/ConfigDriver.h"

BOOL CWriteCountingDeviceApi::DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer,
                                              DWORD inBufferSize, LPVOID outBuffer,
                                              DWORD outBufferSize, LPDWORD bytesReturned,
                                              LPOVERLAPPED overlapped) {
    if (ioControlCode == IOCTL_CNF_WRITE_BYTE) {
        ++m_writes;
    }
    return CScopedForwardingDeviceApi::DeviceIoControl(device, ioControlCode, inBuffer,
                                                       inBufferSize, outBuffer, outBufferSize,
                                                       bytesReturned, overlapped);
}
