// What only the emulated card driver itself can show, beyond the device contract cases that every
// device passes (driver/tests/DeviceContractTests.cpp, run against this driver too): the EEPROM
// file can be read beside the running driver, every acknowledged write is in that file when the
// request returns, the device refuses plain reads and writes, and after a stop the device is gone.
//
// usage: vymcnf_file_checks <eeprom-file> <expected-file>
//   <eeprom-file>   the file the driver serves; byte 2047 must not be 0xAB
//   <expected-file> written at the end: the bytes the EEPROM file must hold after this run,
//                   for the calling script to compare
// usage: vymcnf_file_checks --absent
//   checks that no driver serves \\.\VymCnf (after a stop, or a start that must fail)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "emulator/tests/CheckLog.h"
#include "protocol/CnfProtocol.h"

// The project's spelling of Windows' rule gives what Windows' own macro gives.
static_assert(CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_READ_BYTE, METHOD_BUFFERED,
                       FILE_READ_ACCESS) == IOCTL_CNF_READ_BYTE);
static_assert(CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_WRITE_BYTE, METHOD_BUFFERED,
                       FILE_WRITE_ACCESS) == IOCTL_CNF_WRITE_BYTE);

namespace {

constexpr const char* kDeviceName = CNF_DEVICE_PATH;
constexpr DWORD kUntouchedCount = 0xDEADBEEF;
constexpr int kTimedWrites = 300;
constexpr std::uint16_t kLastAddress = CNF_EEPROM_SIZE - 1;
constexpr std::uint8_t kLastAddressValue = 0xAB;

HANDLE OpenDevice() {
    return CreateFileA(kDeviceName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

// The outcome of one DeviceIoControl call.
struct CCall {
    BOOL ok;
    DWORD error;
    DWORD bytesReturned;
};

CCall Control(HANDLE device, DWORD code, void* input, DWORD inputSize, void* output,
              DWORD outputSize) {
    CCall call{FALSE, 0, kUntouchedCount};
    SetLastError(0);
    call.ok = DeviceIoControl(device, code, input, inputSize, output, outputSize,
                              &call.bytesReturned, nullptr);
    call.error = call.ok ? 0 : GetLastError();
    return call;
}

void FillRequest(std::uint8_t* request, std::uint16_t address, std::uint8_t value) {
    request[CNF_REQUEST_ADDRESS_LOW] = static_cast<std::uint8_t>(address & 0xFF);
    request[CNF_REQUEST_ADDRESS_HIGH] = static_cast<std::uint8_t>(address >> 8);
    request[CNF_REQUEST_VALUE] = value;
    request[CNF_REQUEST_RESERVED] = 0;
}

CCall ReadRequest(HANDLE device, std::uint16_t address, std::uint8_t* request) {
    FillRequest(request, address, 0);
    return Control(device, IOCTL_CNF_READ_BYTE, request, CNF_REQUEST_SIZE, request,
                   CNF_REQUEST_SIZE);
}

CCall WriteRequest(HANDLE device, std::uint16_t address, std::uint8_t value) {
    std::uint8_t request[CNF_REQUEST_SIZE];
    FillRequest(request, address, value);
    return Control(device, IOCTL_CNF_WRITE_BYTE, request, CNF_REQUEST_SIZE, nullptr, 0);
}

// Reads the EEPROM file directly, past the driver; -1 when it cannot.
int FileByte(HANDLE file, std::uint16_t address) {
    OVERLAPPED at{};
    at.Offset = address;
    std::uint8_t byte = 0;
    DWORD read = 0;
    if (!ReadFile(file, &byte, 1, &read, &at) || read != 1) {
        return -1;
    }
    return byte;
}

bool ReadWholeFile(HANDLE file, std::uint8_t* image) {
    OVERLAPPED at{};
    DWORD read = 0;
    return ReadFile(file, image, CNF_EEPROM_SIZE, &read, &at) && read == CNF_EEPROM_SIZE;
}

class CStopwatch {
public:
    CStopwatch() { QueryPerformanceFrequency(&m_frequency); }
    void Start() { QueryPerformanceCounter(&m_start); }
    void Stop() {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        m_ticks += now.QuadPart - m_start.QuadPart;
    }
    double Milliseconds() const {
        return static_cast<double>(m_ticks) * 1000.0 / static_cast<double>(m_frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
    long long m_ticks = 0;
};

// A plain read or write of the device is no request the driver serves.
void CheckPlainFileRequestsRefused(CCheckLog& log, HANDLE device) {
    std::uint8_t buffer[CNF_REQUEST_SIZE] = {};
    DWORD moved = kUntouchedCount;
    BOOL ok = ReadFile(device, buffer, sizeof buffer, &moved, nullptr);
    DWORD error = ok ? 0 : GetLastError();
    log.Expect(!ok && error == ERROR_INVALID_FUNCTION, "ReadFile on the device fails with %lu",
               static_cast<unsigned long>(error));
    ok = WriteFile(device, buffer, sizeof buffer, &moved, nullptr);
    error = ok ? 0 : GetLastError();
    log.Expect(!ok && error == ERROR_INVALID_FUNCTION, "WriteFile on the device fails with %lu",
               static_cast<unsigned long>(error));
}

std::uint16_t TimedWriteAddress(int index) {
    return static_cast<std::uint16_t>((index * 7) % CNF_EEPROM_SIZE);
}

// 299 bytes spread over the EEPROM, each changed, then 0xAB at the last address; every write
// must be in the file as soon as the request returns.
void CheckWrites(CCheckLog& log, HANDLE device, HANDLE file, std::uint8_t* image) {
    CStopwatch watch;
    for (int index = 0; index < kTimedWrites; ++index) {
        const bool last = index == kTimedWrites - 1;
        const std::uint16_t address = last ? kLastAddress : TimedWriteAddress(index);
        const std::uint8_t value =
            last ? kLastAddressValue
                 : static_cast<std::uint8_t>(image[address] ^ (1 + index % 255));
        watch.Start();
        CCall call = WriteRequest(device, address, value);
        watch.Stop();
        if (!log.ExpectQuietly(call.ok, "write of 0x%02X to %u fails with %lu", value, address,
                               static_cast<unsigned long>(call.error))) {
            continue;
        }
        image[address] = value;
        log.ExpectQuietly(call.bytesReturned == 0, "write to %u returns %lu bytes", address,
                          static_cast<unsigned long>(call.bytesReturned));
        log.ExpectQuietly(FileByte(file, address) == value,
                          "after the write to %u the file holds %d, not 0x%02X", address,
                          FileByte(file, address), value);
    }
    log.CloseGroup("300 writes succeed, return 0 bytes and are in the file when they return");
    std::printf("measure - %d writes through the driver: %.1f ms (%.1f us a write)\n", kTimedWrites,
                watch.Milliseconds(), watch.Milliseconds() * 1000.0 / kTimedWrites);

    CStopwatch reads;
    reads.Start();
    for (int address = 0; address < static_cast<int>(CNF_EEPROM_SIZE); ++address) {
        std::uint8_t request[CNF_REQUEST_SIZE];
        CCall call = ReadRequest(device, static_cast<std::uint16_t>(address), request);
        log.ExpectQuietly(call.ok && request[CNF_REQUEST_VALUE] == image[address],
                          "after the writes address %d reads 0x%02X, expected 0x%02X", address,
                          request[CNF_REQUEST_VALUE], image[address]);
    }
    reads.Stop();
    log.CloseGroup("reads after the writes return the new bytes and only those changed");
    std::printf("measure - %d reads through the driver: %.1f ms (%.1f us a read)\n",
                CNF_EEPROM_SIZE, reads.Milliseconds(),
                reads.Milliseconds() * 1000.0 / CNF_EEPROM_SIZE);
}

bool WriteExpected(const char* path, const std::uint8_t* image) {
    HANDLE out =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(out, image, CNF_EEPROM_SIZE, &written, nullptr);
    return CloseHandle(out) && ok && written == CNF_EEPROM_SIZE;
}

int CheckAbsent() {
    CCheckLog log;
    HANDLE device = OpenDevice();
    DWORD error = device == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    log.Expect(device == INVALID_HANDLE_VALUE && error == ERROR_FILE_NOT_FOUND,
               "%s does not exist (open fails with %lu, expected %lu)", kDeviceName,
               static_cast<unsigned long>(error), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    if (device != INVALID_HANDLE_VALUE) {
        CloseHandle(device);
    }
    log.PrintSummary();
    return log.Failed() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--absent") == 0) {
        return CheckAbsent();
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <eeprom-file> <expected-file> | --absent\n", argv[0]);
        return 2;
    }
    CCheckLog log;

    // The driver keeps the file open for writing and lets others read it.
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    static std::uint8_t image[CNF_EEPROM_SIZE];
    if (!log.Expect(file != INVALID_HANDLE_VALUE && ReadWholeFile(file, image),
                    "the EEPROM file %s can be read beside the driver", argv[1])) {
        log.PrintSummary();
        return 1;
    }
    if (!log.Expect(image[kLastAddress] != kLastAddressValue,
                    "the EEPROM file's last byte is not 0x%02X before the run",
                    kLastAddressValue)) {
        log.PrintSummary();
        return 1;
    }

    HANDLE device = OpenDevice();
    DWORD error = device == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (!log.Expect(device != INVALID_HANDLE_VALUE, "%s opens for reading and writing (error %lu)",
                    kDeviceName, static_cast<unsigned long>(error))) {
        log.PrintSummary();
        return 1;
    }

    CheckPlainFileRequestsRefused(log, device);
    CheckWrites(log, device, file, image);
    CloseHandle(device);
    CloseHandle(file);

    log.Expect(WriteExpected(argv[2], image), "the expected image is written to %s", argv[2]);
    log.PrintSummary();
    return log.Failed() == 0 ? 0 : 1;
}
