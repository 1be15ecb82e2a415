#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A fresh, empty folder under the system's folder for temporary files, removed with everything
// in it (read-only parts included) when the object goes. Folder() is empty when none could be
// made.
class CTemporaryFolder {
public:
    // Keep: a whole-program test that failed, however it ended, leaves its card, scripts and
    // outputs where they can be looked at; the folder stays and its place is printed.
    enum class WhenTestFails { Remove, Keep };

    explicit CTemporaryFolder(const std::string& prefix,
                              WhenTestFails whenTestFails = WhenTestFails::Remove);
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    const std::string& Folder() const { return m_folder; }
    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }

private:
    std::string m_folder;
    WhenTestFails m_whenTestFails;
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
