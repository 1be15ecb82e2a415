#include "testsupport/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

CTemporaryFolder::CTemporaryFolder(const std::string& prefix, WhenTestFails whenTestFails)
    : m_whenTestFails(whenTestFails) {
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
            base / (prefix + std::to_string(names() % 1000000000u));
        if (std::filesystem::create_directory(candidate, error) && !error) {
            m_folder = candidate.string();
            return;
        }
    }
}

CTemporaryFolder::~CTemporaryFolder() {
    if (m_folder.empty()) {
        return;
    }
    // Decided here rather than at the test's end, so that a test an ASSERT ended early keeps
    // its folder too (the test is still the current one while its fixture goes).
    if (m_whenTestFails == WhenTestFails::Keep && ::testing::Test::HasFailure()) {
        std::printf("the failed test's folder is kept: %s\n", m_folder.c_str());
        return;
    }
    // A test may have taken rights away to make a write fail; they come back first.
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(m_folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    }
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_folder, error);
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

CScopedVariables::~CScopedVariables() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second) {
            SetProcessVariable(it->first.c_str(), it->second->c_str());
        } else {
            RemoveProcessVariable(it->first.c_str());
        }
    }
}

void CScopedVariables::Remember(const char* name) {
    const char* old = std::getenv(name);
    m_saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
}

void CScopedVariables::Set(const char* name, const std::string& value) {
    Remember(name);
    SetProcessVariable(name, value.c_str());
}

void CScopedVariables::Remove(const char* name) {
    Remember(name);
    RemoveProcessVariable(name);
}
