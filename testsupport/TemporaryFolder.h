#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A fresh, empty folder under the system's folder for temporary files, removed with everything
// in it (read-only parts included) when the object goes, unless KeepIfFailed() found the test
// failed. Folder() is empty when none could be made.
class CTemporaryFolder {
public:
    explicit CTemporaryFolder(const std::string& prefix);
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    const std::string& Folder() const { return m_folder; }
    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }

    // A failed whole-program test leaves its card, scripts and outputs where they can be looked
    // at: the folder stays, and its place is printed.
    void KeepIfFailed();

private:
    std::string m_folder;
    bool m_keep = false;
};

// The process's environment, with the same meaning on every system.
void SetProcessVariable(const char* name, const char* value);
void RemoveProcessVariable(const char* name);

// Changes to the environment that are undone, last first, when the object goes, so a test
// never leaves its variables to the next one.
class CScopedVariables {
public:
    CScopedVariables() = default;
    ~CScopedVariables();
    CScopedVariables(const CScopedVariables&) = delete;
    CScopedVariables& operator=(const CScopedVariables&) = delete;

    void Set(const char* name, const std::string& value);
    void Remove(const char* name);

private:
    void Remember(const char* name);

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};
