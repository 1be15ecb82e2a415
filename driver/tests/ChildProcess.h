#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Runs body in a forked child and returns its exit code (128 + signal when it was killed),
// -1 when no child could be made. The child never returns into the test runner.
int RunInChild(const std::function<int()>& body);

// RunInChild in a child that file permissions bind: run as root, the child becomes an ordinary
// user, and the files it works on (owned) become that user's first. Returns the child's exit
// code; 100 when the child could not become that user, -1 when the files could not be given.
int RunBoundByPermissions(const std::vector<std::string>& owned, const std::function<int()>& body);

// A child that takes hold of something (take returns whether it could), says so on a pipe and
// keeps it until the parent lets go: another process that holds the card or its file.
class CHoldingChild {
public:
    explicit CHoldingChild(const std::function<bool()>& take);
    ~CHoldingChild() { Release(); }
    CHoldingChild(const CHoldingChild&) = delete;
    CHoldingChild& operator=(const CHoldingChild&) = delete;

    void Release();  // the child lets go and ends
    pid_t pid() const { return m_pid; }
    bool holding() const { return m_holding; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_holding = false;
};
