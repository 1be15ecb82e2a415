// Exercises the emulated card driver through \\.\VymCnf exactly as the program talks to it
// (CreateFileA, DeviceIoControl), and checks every answer against the EEPROM file itself.
//
// usage: vymcnf_contract_test <eeprom-file> <expected-file>
//   <eeprom-file>   the file the driver serves; byte 2047 must not be 0xAB
//   <expected-file> written at the end: the bytes the EEPROM file must hold after this run,
//                   for the calling script to compare
// usage: vymcnf_contract_test --absent
//   checks that no driver serves \\.\VymCnf (after a stop, or a start that must fail)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winioctl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "protocol/CnfProtocol.h"
#include "emulator/tests/CheckLog.h"

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

// A second open must not get the card. Windows refuses it at CreateFileA; Wine hands out a
// handle without waiting for the driver's answer to the open, so there the refusal must come
// with every request made through that handle instead.
void ExpectSecondOpenRefused(CCheckLog& log, const char* when, HANDLE file,
                             const std::uint8_t* image) {
    HANDLE second = OpenDevice();
    if (second == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        log.Expect(error == ERROR_SHARING_VIOLATION,
                   "%s: a second open fails with %lu (expected %lu)", when,
                   static_cast<unsigned long>(error),
                   static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
        return;
    }
    std::uint8_t request[CNF_REQUEST_SIZE];
    CCall read = ReadRequest(second, 0, request);
    CCall write = WriteRequest(second, 0, static_cast<std::uint8_t>(image[0] ^ 0xFF));
    log.Expect(!read.ok && read.error == ERROR_SHARING_VIOLATION && !write.ok &&
                   write.error == ERROR_SHARING_VIOLATION,
               "%s: a second open is handed a handle by the system, and its read and write "
               "fail with %lu and %lu (expected %lu)",
               when, static_cast<unsigned long>(read.error),
               static_cast<unsigned long>(write.error),
               static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    log.Expect(FileByte(file, 0) == image[0], "%s: the refused write changed no byte", when);
    CloseHandle(second);
}

void CheckOpens(CCheckLog& log, HANDLE device, HANDLE file, const std::uint8_t* image) {
    ExpectSecondOpenRefused(log, "while the device is held", file, image);

    HANDLE below = CreateFileA("\\\\.\\VymCnf\\below", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    DWORD error = below == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    log.Expect(below == INVALID_HANDLE_VALUE && error == ERROR_FILE_NOT_FOUND,
               "a name below the device is refused (error %lu, expected %lu)",
               static_cast<unsigned long>(error), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    if (below != INVALID_HANDLE_VALUE) {
        CloseHandle(below);
    }

    std::uint8_t request[CNF_REQUEST_SIZE];
    CCall call = ReadRequest(device, 0, request);
    log.Expect(call.ok && request[CNF_REQUEST_VALUE] == image[0],
               "the holder's handle still serves requests after the refused opens");
}

void CheckReopen(CCheckLog& log, HANDLE file, const std::uint8_t* image) {
    HANDLE again = OpenDevice();
    DWORD error = again == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    std::uint8_t request[CNF_REQUEST_SIZE];
    log.Expect(again != INVALID_HANDLE_VALUE && ReadRequest(again, 0, request).ok,
               "the device opens and serves again once the holder closed it (error %lu)",
               static_cast<unsigned long>(error));
    if (again != INVALID_HANDLE_VALUE) {
        ExpectSecondOpenRefused(log, "after reopening", file, image);
        CloseHandle(again);
    }
}

void CheckReads(CCheckLog& log, HANDLE device, const std::uint8_t* image) {
    CStopwatch watch;
    watch.Start();
    int served = 0;
    std::uint8_t values[CNF_EEPROM_SIZE] = {};
    for (int address = 0; address < static_cast<int>(CNF_EEPROM_SIZE); ++address) {
        std::uint8_t request[CNF_REQUEST_SIZE];
        CCall call = ReadRequest(device, static_cast<std::uint16_t>(address), request);
        if (!call.ok) {
            log.ExpectQuietly(false, "read of %d fails with %lu", address,
                              static_cast<unsigned long>(call.error));
            continue;
        }
        ++served;
        values[address] = request[CNF_REQUEST_VALUE];
        log.ExpectQuietly(call.bytesReturned == CNF_REQUEST_SIZE, "read of %d returns %lu bytes",
                          address, static_cast<unsigned long>(call.bytesReturned));
        log.ExpectQuietly(request[CNF_REQUEST_ADDRESS_LOW] == (address & 0xFF) &&
                              request[CNF_REQUEST_ADDRESS_HIGH] == (address >> 8) &&
                              request[CNF_REQUEST_RESERVED] == 0,
                          "read of %d returns the address as sent and a zero reserved byte",
                          address);
    }
    watch.Stop();
    log.CloseGroup("every read succeeds, returns 4 bytes and keeps the address");

    for (int address = 0; address < static_cast<int>(CNF_EEPROM_SIZE); ++address) {
        log.ExpectQuietly(values[address] == image[address],
                          "address %d reads 0x%02X, the file holds 0x%02X", address,
                          values[address], image[address]);
    }
    log.CloseGroup("the 2048 reads return the file's bytes in order");
    std::printf("measure - %d reads through the driver: %.1f ms (%.1f us a read)\n", served,
                watch.Milliseconds(), watch.Milliseconds() * 1000.0 / (served ? served : 1));

    // What the caller leaves in the value and reserved bytes must not matter.
    std::uint8_t request[CNF_REQUEST_SIZE];
    FillRequest(request, 0x0123, 0x5A);
    request[CNF_REQUEST_RESERVED] = 0xA5;
    CCall call =
        Control(device, IOCTL_CNF_READ_BYTE, request, CNF_REQUEST_SIZE, request, CNF_REQUEST_SIZE);
    log.Expect(call.ok && request[CNF_REQUEST_VALUE] == image[0x0123] &&
                   request[CNF_REQUEST_RESERVED] == 0,
               "a read with stray value and reserved bytes still returns the file's byte");
}

// Each refused request: the call fails with the expected error and reports no bytes moved
// (Windows sets the count to 0, Wine leaves it as it was).
void ExpectRefused(CCheckLog& log, const CCall& call, DWORD expected, const char* what) {
    const bool noBytes = call.bytesReturned == 0 || call.bytesReturned == kUntouchedCount;
    log.Expect(!call.ok && call.error == expected && noBytes,
               "%s: fails with %lu, bytes returned %s (expected error %lu)", what,
               static_cast<unsigned long>(call.error),
               call.bytesReturned == 0 ? "0" : (noBytes ? "untouched" : "set"),
               static_cast<unsigned long>(expected));
}

void CheckRefusedRequests(CCheckLog& log, HANDLE device, HANDLE file, const std::uint8_t* image) {
    std::uint8_t buffer[16] = {};

    FillRequest(buffer, CNF_EEPROM_SIZE, 0);
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 4, buffer, 4),
                  ERROR_INVALID_PARAMETER, "read of address 2048");
    FillRequest(buffer, 0xFFFF, 0);
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 4, buffer, 4),
                  ERROR_INVALID_PARAMETER, "read of address 65535");
    ExpectRefused(log, WriteRequest(device, CNF_EEPROM_SIZE, 0x11), ERROR_INVALID_PARAMETER,
                  "write of address 2048");
    ExpectRefused(log, WriteRequest(device, 0x8000, 0x11), ERROR_INVALID_PARAMETER,
                  "write of address 32768");

    FillRequest(buffer, 5, 0);
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 3, buffer, 4),
                  ERROR_INVALID_PARAMETER, "read with a 3-byte input");
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 5, buffer, 5),
                  ERROR_INVALID_PARAMETER, "read with 5-byte input and output");
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, nullptr, 0, buffer, 4),
                  ERROR_INVALID_PARAMETER, "read with no input");
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 4, buffer, 3),
                  ERROR_INSUFFICIENT_BUFFER, "read with a 3-byte output");
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 4, nullptr, 0),
                  ERROR_INSUFFICIENT_BUFFER, "read with no output");
    ExpectRefused(log, Control(device, IOCTL_CNF_READ_BYTE, buffer, 4, buffer, 5),
                  ERROR_INVALID_PARAMETER, "read with a 5-byte output");

    // Refused writes must leave the file alone: the value differs from the file's byte.
    const std::uint16_t target = 9;
    const std::uint8_t value = static_cast<std::uint8_t>(image[target] ^ 0xFF);
    FillRequest(buffer, target, value);
    ExpectRefused(log, Control(device, IOCTL_CNF_WRITE_BYTE, buffer, 3, nullptr, 0),
                  ERROR_INVALID_PARAMETER, "write with a 3-byte input");
    ExpectRefused(log, Control(device, IOCTL_CNF_WRITE_BYTE, buffer, 5, nullptr, 0),
                  ERROR_INVALID_PARAMETER, "write with a 5-byte input");
    ExpectRefused(log, Control(device, IOCTL_CNF_WRITE_BYTE, nullptr, 0, nullptr, 0),
                  ERROR_INVALID_PARAMETER, "write with no input");
    std::uint8_t output[CNF_REQUEST_SIZE] = {};
    ExpectRefused(log, Control(device, IOCTL_CNF_WRITE_BYTE, buffer, 4, output, 4),
                  ERROR_INVALID_PARAMETER, "write with a 4-byte output buffer");
    log.Expect(FileByte(file, target) == image[target],
               "no refused write reached the file (address %u still 0x%02X)", target,
               image[target]);

    FillRequest(buffer, 5, 0);
    const DWORD unknownCodes[] = {
        CTL_CODE(VYMCNF_DEVICE_TYPE, 0x915, METHOD_BUFFERED, FILE_ANY_ACCESS),
        CTL_CODE(VYMCNF_DEVICE_TYPE, 0x915, METHOD_BUFFERED, FILE_READ_ACCESS),
        CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_READ_BYTE, METHOD_BUFFERED, FILE_ANY_ACCESS),
        IOCTL_CNF_READ_BYTE | METHOD_NEITHER,
        CTL_CODE(FILE_DEVICE_UNKNOWN, VYMCNF_FUNCTION_READ_BYTE, METHOD_BUFFERED, FILE_READ_ACCESS),
        0,
    };
    for (DWORD code : unknownCodes) {
        char what[64];
        std::snprintf(what, sizeof(what), "unknown code 0x%08lX", static_cast<unsigned long>(code));
        ExpectRefused(log, Control(device, code, buffer, 4, buffer, 4), ERROR_INVALID_FUNCTION,
                      what);
    }

    DWORD moved = kUntouchedCount;
    BOOL ok = ReadFile(device, buffer, 4, &moved, nullptr);
    DWORD error = ok ? 0 : GetLastError();
    log.Expect(!ok && error == ERROR_INVALID_FUNCTION, "ReadFile on the device fails with %lu",
               static_cast<unsigned long>(error));
    ok = WriteFile(device, buffer, 4, &moved, nullptr);
    error = ok ? 0 : GetLastError();
    log.Expect(!ok && error == ERROR_INVALID_FUNCTION, "WriteFile on the device fails with %lu",
               static_cast<unsigned long>(error));
}

// The access bits of the two codes hold: a handle opened for reading only may read but not
// write, one opened for writing only may write but not read. Any handle here is the only open.
void CheckAccessRights(CCheckLog& log, HANDLE file, const std::uint8_t* image) {
    const std::uint16_t address = 5;
    std::uint8_t request[CNF_REQUEST_SIZE];

    HANDLE reader = CreateFileA(kDeviceName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (log.Expect(reader != INVALID_HANDLE_VALUE, "the device opens for reading only")) {
        CCall read = ReadRequest(reader, address, request);
        CCall write = WriteRequest(reader, address, static_cast<std::uint8_t>(~image[address]));
        log.Expect(read.ok && request[CNF_REQUEST_VALUE] == image[address],
                   "a read-only handle reads (error %lu)", static_cast<unsigned long>(read.error));
        ExpectRefused(log, write, ERROR_ACCESS_DENIED, "write through a read-only handle");
        log.Expect(FileByte(file, address) == image[address],
                   "the write through a read-only handle changed no byte");
        CloseHandle(reader);
    }

    HANDLE writer = CreateFileA(kDeviceName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (log.Expect(writer != INVALID_HANDLE_VALUE, "the device opens for writing only")) {
        // The byte it holds already, so the image stays as the later checks expect it.
        CCall write = WriteRequest(writer, address, image[address]);
        log.Expect(write.ok, "a write-only handle writes (error %lu)",
                   static_cast<unsigned long>(write.error));
        ExpectRefused(log, ReadRequest(writer, address, request), ERROR_ACCESS_DENIED,
                      "read through a write-only handle");
        CloseHandle(writer);
    }

    HANDLE lowerCase = CreateFileA("\\\\.\\vymcnf", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    DWORD error = lowerCase == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    log.Expect(lowerCase != INVALID_HANDLE_VALUE && ReadRequest(lowerCase, 0, request).ok,
               "the device name is matched without regard to case (error %lu)",
               static_cast<unsigned long>(error));
    if (lowerCase != INVALID_HANDLE_VALUE) {
        CloseHandle(lowerCase);
    }
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

    for (int address = 0; address < static_cast<int>(CNF_EEPROM_SIZE); ++address) {
        std::uint8_t request[CNF_REQUEST_SIZE];
        CCall call = ReadRequest(device, static_cast<std::uint16_t>(address), request);
        log.ExpectQuietly(call.ok && request[CNF_REQUEST_VALUE] == image[address],
                          "after the writes address %d reads 0x%02X, expected 0x%02X", address,
                          request[CNF_REQUEST_VALUE], image[address]);
    }
    log.CloseGroup("reads after the writes return the new bytes and only those changed");
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

    CheckOpens(log, device, file, image);
    CheckReads(log, device, image);
    CheckRefusedRequests(log, device, file, image);
    CheckWrites(log, device, file, image);
    CloseHandle(device);
    CheckReopen(log, file, image);
    CheckAccessRights(log, file, image);
    CloseHandle(file);

    log.Expect(WriteExpected(argv[2], image), "the expected image is written to %s", argv[2]);
    log.PrintSummary();
    return log.Failed() == 0 ? 0 : 1;
}
