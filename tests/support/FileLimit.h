#pragma once
// A full disk, as a test can make one while running as root: the work runs in a child
// process whose RLIMIT_FSIZE is lowered, so every write past `bytes` fails with EFBIG.
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The child's answer of work(); false also when the child died.
inline bool WithFileSizeLimit(rlim_t bytes, const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lim{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &lim);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
