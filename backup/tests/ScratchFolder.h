#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A folder of one test's own under the system's temporary folder, gone with all it holds when
// the test ends, and environment variables put back as they were.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string In(const std::string& relative) const { return (m_path / relative).string(); }

    // Sets (or, with nullopt, removes) a variable until the folder goes.
    void SetVariable(const char* name, std::optional<std::string> value);

    static std::vector<std::uint8_t> ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
    // The names of the entries of folder, sorted.
    static std::vector<std::string> Names(const std::string& folder);

private:
    std::filesystem::path m_path;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};
