#pragma once

#include <string>

// A fresh, empty folder under the system's folder for temporary files, removed with everything
// in it when the object goes. Folder() is empty when none could be made.
class CTemporaryFolder {
public:
    explicit CTemporaryFolder(const char* prefix);
    ~CTemporaryFolder();
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

// The process's environment, with the same meaning on every system.
void SetProcessVariable(const char* name, const char* value);
void RemoveProcessVariable(const char* name);
