#include "testsupport/ScratchFolder.h"

#include <algorithm>
#include <fstream>

void CScratchFolder::SetVariable(const char* name, const std::optional<std::string>& value) {
    if (value) {
        m_variables.Set(name, *value);
    } else {
        m_variables.Remove(name);
    }
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
