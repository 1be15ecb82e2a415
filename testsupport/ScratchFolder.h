#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

// A folder of one test's own, gone with all it holds when the test ends, environment variables
// put back as they were, and the few file looks the store's tests take.
class CScratchFolder {
public:
    CScratchFolder() = default;
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    std::filesystem::path Path() const { return m_folder.Folder(); }
    std::string In(const std::string& relative) const { return (Path() / relative).string(); }

    // Sets (or, with nullopt, removes) a variable until the folder goes.
    void SetVariable(const char* name, const std::optional<std::string>& value);

    static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
    // The names of the entries of folder, sorted.
    static std::vector<std::string> Names(const std::string& folder);

private:
    CScopedVariables m_variables;  // put back before the folder goes
    CTemporaryFolder m_folder{"vym-backup-test-"};
};
