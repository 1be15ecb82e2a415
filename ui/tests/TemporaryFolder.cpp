#include "ui/tests/TemporaryFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

CTemporaryFolder::CTemporaryFolder(const char* prefix) {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) {
        return;
    }
    // create_directory reports whether it made the folder, so a name another test program
    // took meanwhile is never shared.
    std::mt19937_64 names(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / (std::string(prefix) + std::to_string(names() % 1000000000u));
        if (std::filesystem::create_directory(candidate, error) && !error) {
            m_folder = candidate.string();
            return;
        }
    }
}

CTemporaryFolder::~CTemporaryFolder() {
    if (!m_folder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
}

void SetProcessVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);  // the C runtime here has no setenv
#else
    setenv(name, value, 1);
#endif
}

void RemoveProcessVariable(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");  // an empty value removes the variable
#else
    unsetenv(name);
#endif
}
