#pragma once
// Runs part of a test in a forked child, for limits that must not touch the test
// process: a full disk (RLIMIT_FSIZE; tests run as root, so permissions prove nothing)
// or no descriptors left (RLIMIT_NOFILE). The child's report comes back as text.
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The child's report, or "child failed: ..." when it threw or did not end normally.
inline std::string RunInChild(const std::function<std::string()>& body) {
    int out[2];
    if (pipe(out) != 0) return "child failed: no pipe";
    const pid_t pid = fork();
    if (pid < 0) return "child failed: no fork";
    if (pid == 0) {
        close(out[0]);
        std::string report;
        try {
            report = body();
        } catch (const std::exception& e) {
            report = std::string("child failed: ") + e.what();
        } catch (...) {
            report = "child failed: unknown exception";
        }
        for (size_t at = 0; at < report.size();) {
            const ssize_t n = write(out[1], report.data() + at, report.size() - at);
            if (n <= 0) _exit(3);
            at += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(out[1]);
    std::string report;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;)
        report.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed: status " + std::to_string(status);
    return report;
}

// From here on no file can be opened: the limit is the lowest descriptor still free.
inline void UseUpFileDescriptors() {
    const int probe = open("/dev/null", O_RDONLY);
    close(probe);
    rlimit lim{};
    getrlimit(RLIMIT_NOFILE, &lim);
    lim.rlim_cur = static_cast<rlim_t>(probe);
    setrlimit(RLIMIT_NOFILE, &lim);
}

// From here on no file grows beyond `bytes`: writes past it fail as on a full disk.
inline void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lim);
}

// The child's answer of work() under a file size limit of `bytes`; false also when the
// child died.
inline bool WithFileSizeLimit(rlim_t bytes, const std::function<bool()>& work) {
    return RunInChild([&] {
               LimitFileSize(bytes);
               return std::string(work() ? "yes" : "no");
           }) == "yes";
}
