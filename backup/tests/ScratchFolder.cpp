#include "backup/tests/ScratchFolder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::atomic<int> g_folders{0};

void PutVariable(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value ? value->c_str() : "");  // "" removes it
#else
    if (value) {
        setenv(name.c_str(), value->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
#endif
}

}  // namespace

CScratchFolder::CScratchFolder() {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; m_path.empty() && attempt < 50; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("vym-backup-test-" + std::to_string(tick % 100000000) + "-" +
             std::to_string(g_folders++));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
        }
    }
}

CScratchFolder::~CScratchFolder() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        PutVariable(it->first, it->second);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void CScratchFolder::SetVariable(const char* name, std::optional<std::string> value) {
    const char* old = std::getenv(name);
    m_saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    PutVariable(name, value);
}

std::vector<std::uint8_t> CScratchFolder::ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

void CScratchFolder::WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> CScratchFolder::Names(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
