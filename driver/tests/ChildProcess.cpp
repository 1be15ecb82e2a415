#include "driver/tests/ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

int RunInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunBoundByPermissions(const std::vector<std::string>& owned, const std::function<int()>& body) {
    constexpr uid_t kNobody = 65534;
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        for (const std::string& path : owned) {
            if (chown(path.c_str(), kNobody, kNobody) != 0) {
                return -1;
            }
        }
    }
    return RunInChild([asRoot, &body] {
        if (asRoot && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            return 100;
        }
        return body();
    });
}

CHoldingChild::CHoldingChild(const std::function<bool()>& take) {
    int ready[2];
    int release[2];
    if (pipe(ready) != 0 || pipe(release) != 0) {
        return;
    }
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        close(release[1]);
        const char took = take() ? 'y' : 'n';
        (void)!write(ready[1], &took, 1);
        char ignored;
        (void)!read(release[0], &ignored, 1);  // returns at EOF when the parent lets go
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    m_release = release[1];
    char took = 'n';
    m_holding = m_pid > 0 && read(ready[0], &took, 1) == 1 && took == 'y';
    close(ready[0]);
}

void CHoldingChild::Release() {
    if (m_release >= 0) {
        close(m_release);
        m_release = -1;
    }
    if (m_pid > 0) {
        int status;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
}
