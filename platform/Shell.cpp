#include "platform/Shell.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#if __has_include(<linux/close_range.h>)
#include <linux/close_range.h>
#endif

extern char** environ;

namespace {

// argv and environment prepared before fork(): the child only calls async-signal-safe functions.
struct ExecArgs {
    std::vector<std::string> args, env;
    std::vector<char*> argv, envp;

    ExecArgs(const std::vector<std::string>& a, bool cLocale) : args(a) {
        for (auto& s : args)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        for (char** e = environ; e && *e; ++e) {
            if (cLocale && (StartsWith(*e, "LC_ALL=") || StartsWith(*e, "LANGUAGE="))) continue;
            env.emplace_back(*e);
        }
        if (cLocale) env.emplace_back("LC_ALL=C");
        for (auto& s : env)
            envp.push_back(s.data());
        envp.push_back(nullptr);
    }
};

enum class Output { Inherit, Pipe };

void closeBoth(int fds[2]) {
    for (int i = 0; i < 2; ++i)
        if (fds[i] >= 0) {
            ::close(fds[i]);
            fds[i] = -1;
        }
}

// In the child, after fork(): clean signal state, no inherited descriptors, then exec.
// On failure the errno goes through errFd (close-on-exec) and the child ends.
[[noreturn]] void childExec(const ExecArgs& ex, int errFd) {
    sigset_t all;
    sigemptyset(&all);
    sigprocmask(SIG_SETMASK, &all, nullptr);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &dfl, nullptr);
#ifdef CLOSE_RANGE_CLOEXEC
    // Descriptors of the program (lock file, tables) must not leak into the started program.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
    ::execvpe(ex.argv[0], ex.argv.data(), ex.envp.data());
    int err = errno;
    ssize_t w = ::write(errFd, &err, sizeof err);
    (void)w;
    ::_exit(127);
}

// Reads the error pipe until the child has exec'd (EOF) or reported a failure.
// Returns true when the exec succeeded.
bool execSucceeded(int errFd) {
    int err = 0;
    for (;;) {
        ssize_t n = ::read(errFd, &err, sizeof err);
        if (n < 0 && errno == EINTR) continue;
        return n == 0;
    }
}

int waitExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Starts argv; stdout and stderr go to outFd when it is >= 0. Returns the pid or -1.
pid_t spawn(const ExecArgs& ex, int outFd, int inFd) {
    int errPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0) return -1;
    pid_t pid = ::fork();
    if (pid < 0) {
        closeBoth(errPipe);
        return -1;
    }
    if (pid == 0) {
        ::close(errPipe[0]);
        if (inFd >= 0) ::dup2(inFd, 0);
        if (outFd >= 0) {
            ::dup2(outFd, 1);
            ::dup2(outFd, 2);
        }
        childExec(ex, errPipe[1]);
    }
    ::close(errPipe[1]);
    errPipe[1] = -1;
    const bool ok = execSucceeded(errPipe[0]);
    closeBoth(errPipe);
    if (!ok) {
        waitExit(pid);
        return -1;
    }
    return pid;
}

std::string trimmedOutput(const CommandResult& r) {
    return Trim(r.Output);
}

// Lines of the text, each trimmed; empty lines left out.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (const std::string& l : Split(text, '\n')) {
        std::string t = Trim(l);
        if (!t.empty()) out.push_back(t);
    }
    return out;
}

// The words of a desktop entry's Exec value, with the quoting of the desktop entry rules.
std::vector<std::string> execWords(const std::string& exec) {
    std::vector<std::string> words;
    size_t i = 0;
    const size_t n = exec.size();
    while (i < n && words.size() < 64) {
        while (i < n && (exec[i] == ' ' || exec[i] == '\t'))
            ++i;
        if (i >= n) break;
        std::string w;
        if (exec[i] == '"') {
            ++i;
            while (i < n && exec[i] != '"') {
                if (exec[i] == '\\' && i + 1 < n) ++i;
                w += exec[i++];
            }
            ++i; // closing quote
        } else {
            while (i < n && exec[i] != ' ' && exec[i] != '\t')
                w += exec[i++];
        }
        words.push_back(w);
    }
    return words;
}

// The first word of a desktop entry's Exec value, leaving out a leading "env VAR=value ...".
std::string programOfExec(const std::string& exec) {
    const std::vector<std::string> words = execWords(exec);
    size_t k = 0;
    if (k < words.size() && ExtractFileName(words[k]) == "env") {
        ++k;
        while (k < words.size() && (words[k].find('=') != std::string::npos || StartsWith(words[k], "-")))
            ++k;
    }
    return k < words.size() ? words[k] : std::string();
}

// The Exec words with their field codes filled: %f %F %u %U become the document (the
// path; a viewer takes a local path for a URL too), %% a percent sign, the other codes
// go. Without a file code the document is appended, as desktop launchers do.
std::vector<std::string> expandExec(const std::string& exec, const std::string& document) {
    std::vector<std::string> argv;
    bool used = false;
    for (const std::string& w : execWords(exec)) {
        std::string out;
        bool dropped = false;
        for (size_t i = 0; i < w.size(); ++i) {
            if (w[i] != '%' || i + 1 >= w.size()) {
                out += w[i];
                continue;
            }
            const char code = w[++i];
            if (code == '%') out += '%';
            else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                out += document;
                used = true;
            } else if (w.size() == 2) dropped = true; // %i %c %k and the deprecated codes
        }
        if (!dropped && !out.empty()) argv.push_back(out);
    }
    if (!argv.empty() && !used) argv.push_back(document);
    return argv;
}

// The Exec value of the [Desktop Entry] group of a .desktop file, "" when there is none.
std::string execOfDesktopFile(const fs::path& file) {
    std::string text;
    if (!ReadFileBytes(file, text)) return {};
    bool inEntry = false;
    for (std::string line : Split(text, '\n')) {
        line = Trim(line);
        if (StartsWith(line, "[")) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || !StartsWith(line, "Exec")) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos || Trim(line.substr(0, eq)) != "Exec") continue;
        // General escapes of desktop entry values first.
        std::string v = Trim(line.substr(eq + 1)), out;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i] == '\\' && i + 1 < v.size()) {
                const char c = v[++i];
                switch (c) {
                case 's':
                    out += ' ';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case '\\':
                    out += "\\\\";
                    break; // still an escape for the quoting rules
                default:
                    out += '\\';
                    out += c;
                    break;
                }
            } else {
                out += v[i];
            }
        }
        return out;
    }
    return {};
}

// Folders that hold .desktop files, most specific first (XDG base directories).
std::vector<fs::path> applicationDirs() {
    std::vector<fs::path> dirs;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (dataHome && *dataHome)
        dirs.push_back(fs::path(dataHome) / "applications");
    else if (home && *home)
        dirs.push_back(fs::path(home) / ".local/share/applications");
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::string list = (dataDirs && *dataDirs) ? dataDirs : "/usr/local/share:/usr/share";
    for (const std::string& d : Split(list, ':'))
        if (!d.empty()) dirs.push_back(fs::path(d) / "applications");
    if (std::find(dirs.begin(), dirs.end(), fs::path("/usr/share/applications")) == dirs.end())
        dirs.push_back("/usr/share/applications");
    return dirs;
}

} // namespace

bool PosixShell::OpenDocument(const std::string& target) {
    if (target.empty()) return false;
    const ExecArgs ex({"xdg-open", target}, false);
    int errPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0) return false;
    pid_t mid = ::fork();
    if (mid < 0) {
        closeBoth(errPipe);
        return false;
    }
    if (mid == 0) {
        // The middle child starts the opener in its own session and ends at once, so the
        // opener belongs to init and never becomes a zombie of ours.
        ::close(errPipe[0]);
        ::setsid();
        pid_t pid = ::fork();
        if (pid < 0) {
            int err = errno;
            ssize_t w = ::write(errPipe[1], &err, sizeof err);
            (void)w;
            ::_exit(127);
        }
        if (pid == 0) {
            // Detached: it holds none of our pipes (stdout/stderr may be read by someone waiting for EOF).
            int devnull = ::open("/dev/null", O_RDWR);
            if (devnull >= 0) {
                ::dup2(devnull, 0);
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
            }
            childExec(ex, errPipe[1]);
        }
        ::_exit(0);
    }
    ::close(errPipe[1]);
    errPipe[1] = -1;
    const bool ok = execSucceeded(errPipe[0]);
    closeBoth(errPipe);
    waitExit(mid);
    return ok;
}

// The Exec value of the default application of the document's file type, "" when there is none.
std::string PosixShell::defaultExec(const std::string& document) {
    if (document.empty()) return {};
    const CommandResult type = Run({"xdg-mime", "query", "filetype", document});
    const std::string mime = trimmedOutput(type);
    if (type.ExitCode != 0 || mime.empty() || mime.find('/') == std::string::npos ||
        mime.find_first_of(" \t\n") != std::string::npos)
        return {};
    const CommandResult def = Run({"xdg-mime", "query", "default", mime});
    if (def.ExitCode != 0) return {};
    // There may be several, separated by ';': the first that can be read counts.
    for (const std::string& id : Split(trimmedOutput(def), ';')) {
        const std::string desktop = Trim(id);
        if (desktop.empty() || !EndsWith(desktop, ".desktop") || desktop.find('/') != std::string::npos)
            continue;
        for (const fs::path& dir : applicationDirs()) {
            // A desktop id "vendor-app.desktop" may also stand for "vendor/app.desktop".
            std::vector<fs::path> candidates{dir / desktop};
            for (size_t p = desktop.find('-'); p != std::string::npos; p = desktop.find('-', p + 1)) {
                std::string sub = desktop;
                sub[p] = '/';
                candidates.push_back(dir / sub);
            }
            for (const fs::path& file : candidates) {
                if (!FileExists(file)) continue;
                const std::string exec = execOfDesktopFile(file);
                if (!programOfExec(exec).empty()) return exec;
            }
        }
    }
    return {};
}

std::string PosixShell::FindExecutable(const std::string& document) {
    return programOfExec(defaultExec(document));
}

std::vector<std::string> PosixShell::OpenCommand(const std::string& document) {
    const std::string exec = defaultExec(document);
    if (programOfExec(exec).empty()) return {};
    return expandExec(exec, document);
}

int PosixShell::RunAndWait(const std::string& program, const std::vector<std::string>& args) {
    if (program.empty()) return -1;
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    const ExecArgs ex(argv, false);
    const pid_t pid = spawn(ex, -1, -1);
    if (pid < 0) return -1;
    return waitExit(pid);
}

CommandResult PosixShell::Run(const std::vector<std::string>& argv) {
    CommandResult r;
    if (argv.empty() || argv[0].empty()) return r;
    const ExecArgs ex(argv, true);
    int outPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) return r;
    int devnull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = spawn(ex, outPipe[1], devnull);
    if (devnull >= 0) ::close(devnull);
    ::close(outPipe[1]);
    outPipe[1] = -1;
    if (pid < 0) {
        closeBoth(outPipe);
        return r;
    }
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(outPipe[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        r.Output.append(buf, static_cast<size_t>(n));
    }
    closeBoth(outPipe);
    r.ExitCode = waitExit(pid);
    return r;
}

std::vector<std::string> Printers::List() {
    const CommandResult e = shell_.Run({"lpstat", "-e"});
    std::vector<std::string> names;
    if (e.ExitCode == 0) {
        for (const std::string& l : lines(e.Output))
            if (l.find_first_of(" \t") == std::string::npos) names.push_back(l);
    }
    if (!names.empty()) return names;
    // Older CUPS: "printer NAME is idle.  enabled since ..." lines.
    const CommandResult p = shell_.Run({"lpstat", "-p"});
    if (p.ExitCode != 0) return names;
    for (const std::string& l : lines(p.Output)) {
        if (!StartsWith(l, "printer ")) continue;
        std::string rest = Trim(l.substr(8));
        const size_t sp = rest.find_first_of(" \t");
        std::string name = rest.substr(0, sp);
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

std::string Printers::Default() {
    const CommandResult r = shell_.Run({"lpstat", "-d"});
    if (r.ExitCode != 0) return {};
    const std::string prefix = "system default destination:";
    for (const std::string& l : lines(r.Output))
        if (StartsWith(l, prefix)) return Trim(l.substr(prefix.size()));
    return {}; // "no system default destination"
}

bool Printers::SetDefault(const std::string& name) {
    if (name.empty()) return false;
    const CommandResult r = shell_.Run({"lpoptions", "-d", name});
    if (r.ExitCode != 0) return false;
    return Default() == name;
}

bool Printers::ClearDefault(const std::string& name) {
    if (name.empty()) return false;
    // lpoptions cannot name "no default": dropping the destination's entry drops its mark.
    const CommandResult r = shell_.Run({"lpoptions", "-x", name});
    return r.ExitCode == 0 && Default() != name;
}

std::vector<std::string> Printers::Fonts() {
    const CommandResult r = shell_.Run({"fc-list", "--format", "%{family[0]}\n"});
    std::vector<std::string> names;
    if (r.ExitCode != 0) return names;
    for (const std::string& l : lines(r.Output))
        names.push_back(l);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}
