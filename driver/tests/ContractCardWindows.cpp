// The contract cases on Windows run against the emulated card driver, vymcnf.sys, installed as
// the demand-start kernel service "vymcnf". A card is prepared by stopping the service, writing
// the card file beside this test program, naming it in the service's Parameters\EepromFile and
// starting the service again; the driver then serves that file at \\.\VymCnf.
#include <windows.h>
#include <winsvc.h>

#include <cstdio>
#include <cstring>

#include "driver/ConfigDriver.h"
#include "driver/tests/ContractCard.h"
#include "driver/tests/WindowsContractSupport.h"

namespace {

constexpr const char* kServiceName = "vymcnf";
constexpr const char* kParametersKey = "SYSTEM\\CurrentControlSet\\Services\\vymcnf\\Parameters";
constexpr const char* kCardFileName = "contract-card.bin";
constexpr DWORD kPollMs = 100;
constexpr int kPolls = 100;  // every wait is bounded: ten seconds

void Complain(const char* what, DWORD error) {
    std::fprintf(stderr, "contract card: %s (error %lu)\n", what,
                 static_cast<unsigned long>(error));
}

// The card file lies beside the test program, so the runs of several builds never share one.
const char* CardPath() {
    static char path[MAX_PATH];
    return PathBesideProgram(kCardFileName, path);
}

// The service, opened for what the cases do with it; closed again when this goes.
class CService {
public:
    CService() {
        m_manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (m_manager == nullptr) {
            Complain("cannot reach the service manager", GetLastError());
            return;
        }
        m_service = OpenServiceA(m_manager, kServiceName,
                                 SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
        if (m_service == nullptr) {
            Complain("the vymcnf service is not installed", GetLastError());
        }
    }
    ~CService() {
        if (m_service != nullptr) {
            CloseServiceHandle(m_service);
        }
        if (m_manager != nullptr) {
            CloseServiceHandle(m_manager);
        }
    }
    CService(const CService&) = delete;
    CService& operator=(const CService&) = delete;

    bool Usable() const { return m_service != nullptr; }

    DWORD State() const {
        SERVICE_STATUS status{};
        return QueryServiceStatus(m_service, &status) ? status.dwCurrentState : 0;
    }

    bool WaitFor(DWORD state) const {
        for (int i = 0; i < kPolls; ++i) {
            if (State() == state) {
                return true;
            }
            Sleep(kPollMs);
        }
        return false;
    }

    // Stopped, and the device gone with the driver.
    bool Stop() const {
        if (State() != SERVICE_STOPPED) {
            SERVICE_STATUS status{};
            if (!ControlService(m_service, SERVICE_CONTROL_STOP, &status) &&
                GetLastError() != ERROR_SERVICE_NOT_ACTIVE) {
                Complain("the driver does not stop", GetLastError());
                return false;
            }
            if (!WaitFor(SERVICE_STOPPED)) {
                Complain("the driver stays loaded", State());
                return false;
            }
        }
        for (int i = 0; i < kPolls; ++i) {
            HANDLE device =
                CreateFileA("\\\\.\\VymCnf", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (device == INVALID_HANDLE_VALUE) {
                return true;
            }
            CloseHandle(device);
            Sleep(kPollMs);
        }
        Complain("\\\\.\\VymCnf stays after the stop", 0);
        return false;
    }

    // Starts the driver; 0 when it runs, else the error its start failed with. A service
    // manager still busy with the last stop refuses for now; that is waited out.
    DWORD Start() const {
        for (int i = 0; i < kPolls; ++i) {
            if (StartServiceA(m_service, 0, nullptr)) {
                return WaitFor(SERVICE_RUNNING) ? 0 : ERROR_SERVICE_REQUEST_TIMEOUT;
            }
            const DWORD error = GetLastError();
            if (error == ERROR_SERVICE_ALREADY_RUNNING) {
                return 0;
            }
            if (error != ERROR_SERVICE_REQUEST_TIMEOUT && error != ERROR_SERVICE_DATABASE_LOCKED &&
                error != ERROR_SERVICE_CANNOT_ACCEPT_CTRL &&
                error != ERROR_SERVICE_MARKED_FOR_DELETE) {
                return error;
            }
            Sleep(kPollMs);
        }
        return ERROR_SERVICE_REQUEST_TIMEOUT;
    }

private:
    SC_HANDLE m_manager = nullptr;
    SC_HANDLE m_service = nullptr;
};

// The stopped driver lets go of its file a moment after it says so; a refusal meanwhile is
// waited out.
bool WriteCardFile(const char* path, const std::uint8_t* bytes, int size) {
    for (int i = 0; i < kPolls; ++i) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_SHARING_VIOLATION) {
                Complain("cannot write the card file", GetLastError());
                return false;
            }
            Sleep(kPollMs);
            continue;
        }
        DWORD written = 0;
        const BOOL ok =
            size == 0 || WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
        if (!ok || written != static_cast<DWORD>(size)) {
            Complain("the card file was not written whole", GetLastError());
            return false;
        }
        return true;
    }
    Complain("the card file stays in use", ERROR_SHARING_VIOLATION);
    return false;
}

bool NameCardFile(const char* path) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParametersKey, 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        result = RegSetValueExA(key, "EepromFile", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                static_cast<DWORD>(std::strlen(path) + 1));
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
        Complain("cannot name the card file in the service's parameters",
                 static_cast<DWORD>(result));
        return false;
    }
    return true;
}

}  // namespace

int PrepareContractCard(const std::uint8_t* bytes, int size) {
    const char* path = CardPath();
    CService service;
    if (path == nullptr || !service.Usable() || !service.Stop() ||
        !WriteCardFile(path, bytes, size) || !NameCardFile(path)) {
        return 0;
    }
    const DWORD error = service.Start();
    if (size == CNF_EEPROM_SIZE) {
        if (error != 0) {
            Complain("the driver does not start on the card", error);
            return 0;
        }
        return 1;
    }
    // The driver refuses a card of the wrong size at its start, so there is no device then.
    if (error == 0) {
        Complain("the driver started on a card of the wrong size", 0);
        return 0;
    }
    return 1;
}

int ReadContractCard(std::uint8_t* bytes, int size) {
    const char* path = CardPath();
    if (path == nullptr) {
        return -1;
    }
    // The running driver keeps the file open for reading by others.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file, bytes + total, static_cast<DWORD>(size - total), &got, nullptr)) {
            CloseHandle(file);
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<int>(got);
    }
    CloseHandle(file);
    return total;
}

void CloseContractHandle(HANDLE device) {
    CloseHandle(device);
}

void RemoveContractCard() {
    const char* path = CardPath();
    CService service;
    if (service.Usable()) {
        service.Stop();
    }
    if (path != nullptr) {
        DeleteFileA(path);
    }
}

const CContractDifferences& ContractDifferences() {
    static const CContractDifferences differences{
        // The driver does not start on a card file of the wrong size: there is no device.
        ERROR_FILE_NOT_FOUND,
        // Wine opens a device without waiting for its driver's answer, so the driver's refusal
        // of a second open comes with each request made through the handle instead.
        RunningOnWine(), SharingViolationText()};
    return differences;
}
