#include "driver/tests/WindowsContractSupport.h"

#include <cstring>

const char* PathBesideProgram(const char* name, char (&path)[MAX_PATH]) {
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const char* slash = std::strrchr(program, '\\');
    const std::size_t folder = slash != nullptr ? static_cast<std::size_t>(slash - program + 1) : 0;
    if (folder + std::strlen(name) >= MAX_PATH) {
        return nullptr;
    }
    std::memcpy(path, program, folder);
    std::strcpy(path + folder, name);
    return path;
}

bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

const char* SharingViolationText() {
    return RunningOnWine() ? "Sharing violation.\r\n"
                           : "The process cannot access the file because it is being used by "
                             "another process.\r\n";
}
