#include "platform/Shell.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvGuard {
  public:
    void set(const std::string& name, const std::string& value) {
        remember(name);
        ::setenv(name.c_str(), value.c_str(), 1);
    }
    ~EnvGuard() {
        for (auto& [name, old] : saved_) {
            if (old)
                ::setenv(name.c_str(), old->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

  private:
    void remember(const std::string& name) {
        if (saved_.count(name)) return;
        const char* v = std::getenv(name.c_str());
        saved_[name] = v ? std::optional<std::string>(v) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "tavren-shell-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        bin = dir / "bin";
        ASSERT_TRUE(CreateDir(bin));
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    void script(const std::string& name, const std::string& body) {
        const fs::path p = bin / name;
        ASSERT_TRUE(WriteFileBytes(p, "#!/bin/sh\n" + body));
        fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    }
    // Only our fake programs (and /bin, /usr/bin for sh, cat, sleep) are found.
    void useFakePath(bool withSystem = true) {
        env.set("PATH", bin.string() + (withSystem ? ":/usr/bin:/bin" : ""));
    }
    static bool waitFor(const std::function<bool()>& cond, int ms) {
        for (int waited = 0; waited < ms; waited += 10) {
            if (cond()) return true;
            SleepMs(10);
        }
        return cond();
    }
    fs::path dir, bin;
    EnvGuard env;
    PosixShell shell;
};

} // namespace

TEST_F(ShellTest, RunCollectsOutputAndExitCode) {
    const CommandResult r = shell.Run({"/bin/echo", "hello", "東京"});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Output, "hello 東京\n");

    const CommandResult both = shell.Run({"sh", "-c", "echo out; echo err >&2; exit 3"});
    EXPECT_EQ(both.ExitCode, 3);
    EXPECT_EQ(both.Output, "out\nerr\n");
}

TEST_F(ShellTest, RunPassesArgumentsWithoutAShell) {
    const CommandResult r = shell.Run({"/bin/echo", "$HOME;", "`id`", "a b", "\"q\"", "*"});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Output, "$HOME; `id` a b \"q\" *\n");
}

TEST_F(ShellTest, MissingProgramCannotStart) {
    const CommandResult r = shell.Run({"no-such-program-tavren-xyz", "a"});
    EXPECT_EQ(r.ExitCode, -1);
    EXPECT_EQ(r.Output, "");
    EXPECT_EQ(shell.Run({}).ExitCode, -1);
    EXPECT_EQ(shell.Run({"/nonexistent/dir/prog"}).ExitCode, -1);
    EXPECT_EQ(shell.RunAndWait("no-such-program-tavren-xyz", {}), -1);
    EXPECT_EQ(shell.RunAndWait("", {}), -1);
    // A file that is not executable cannot start either.
    ASSERT_TRUE(WriteFileBytes(dir / "data.txt", "x"));
    EXPECT_EQ(shell.RunAndWait((dir / "data.txt").string(), {}), -1);
    // Nothing is left behind: no child of ours remains.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellTest, RunHandlesLargeOutputAndClosedInput) {
    const CommandResult big = shell.Run({"head", "-c", "1000000", "/dev/zero"});
    EXPECT_EQ(big.ExitCode, 0);
    EXPECT_EQ(big.Output.size(), 1000000u);
    const CommandResult cat = shell.Run({"cat"}); // stdin is empty: ends at once
    EXPECT_EQ(cat.ExitCode, 0);
    EXPECT_EQ(cat.Output, "");
}

TEST_F(ShellTest, RunUsesTheCLocaleForParsableMessages) {
    env.set("LC_ALL", "ja_JP.UTF-8");
    env.set("LANG", "ja_JP.UTF-8");
    const CommandResult r = shell.Run({"sh", "-c", "echo \"$LC_ALL\""});
    EXPECT_EQ(r.Output, "C\n");
}

TEST_F(ShellTest, StartedProgramsInheritNoDescriptors) {
    const int fd = ::open((dir / "lock").c_str(), O_CREAT | O_RDWR, 0600); // no O_CLOEXEC on purpose
    ASSERT_GE(fd, 3);
    const std::string probe = Format("if [ -e /proc/$$/fd/%d ]; then echo leaked; else echo closed; fi", fd);
    const CommandResult r = shell.Run({"sh", "-c", probe});
    ::close(fd);
    EXPECT_EQ(r.Output, "closed\n");
}

TEST_F(ShellTest, RunAndWaitGivesTheExitCode) {
    EXPECT_EQ(shell.RunAndWait("true", {}), 0);
    EXPECT_EQ(shell.RunAndWait("false", {}), 1);
    EXPECT_EQ(shell.RunAndWait("sh", {"-c", "exit 7"}), 7);
    EXPECT_EQ(shell.RunAndWait("sh", {"-c", "kill -TERM $$"}), 128 + 15);
    const fs::path out = dir / "written by child.txt";
    EXPECT_EQ(shell.RunAndWait("sh", {"-c", "printf %s \"$1\" > \"$2\"", "sh", "第1区", out.string()}), 0);
    std::string b;
    ASSERT_TRUE(ReadFileBytes(out, b)); // it has ended when RunAndWait returns
    EXPECT_EQ(b, "第1区");
}

TEST_F(ShellTest, OpenDocumentStartsXdgOpenDetachedWithoutWaiting) {
    const fs::path marker = dir / "opened.txt";
    const fs::path done = dir / "done.txt";
    script("xdg-open", "printf '%s|%s' \"$1\" \"$PPID\" > '" + marker.string() + "'\nsleep 2\ntouch '" +
                           done.string() + "' 2>/dev/null\n");
    useFakePath();
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(shell.OpenDocument("/path/with space/結果.html"));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1500)); // it did not wait
    ASSERT_TRUE(waitFor([&] { return FileSizeOf(marker) > 0; }, 5000));
    std::string b;
    ASSERT_TRUE(ReadFileBytes(marker, b));
    const auto bar = b.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_EQ(b.substr(0, bar), "/path/with space/結果.html");
    EXPECT_NE(StrToIntDef(b.substr(bar + 1), 0), static_cast<int>(::getpid())); // not our child
    EXPECT_FALSE(FileExists(done));
    // No zombie and no child of ours: the opener belongs to someone else.
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellTest, OpenDocumentFailsWithoutXdgOpen) {
    useFakePath(false);
    EXPECT_FALSE(shell.OpenDocument("https://example.org/"));
    EXPECT_FALSE(shell.OpenDocument(""));
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellTest, FindExecutableFollowsXdgMimeToTheDesktopFile) {
    script("xdg-mime",
           "if [ \"$1 $2\" = 'query filetype' ]; then\n"
           "  case \"$3\" in *.rtf) echo 'application/rtf';; *.txt) echo 'text/plain';;\n"
           "  *.csv) echo 'text/csv';; *.html) echo 'text/html';; *) exit 2;; esac; exit 0; fi\n"
           "if [ \"$1 $2\" = 'query default' ]; then\n"
           "  case \"$3\" in application/rtf) echo 'vendor-writer.desktop';;\n"
           "  text/plain) echo 'editor.desktop';; text/csv) echo 'missing.desktop';; esac; exit 0; fi\n"
           "exit 1\n");
    useFakePath();
    const fs::path data = dir / "data";
    ASSERT_TRUE(ForceDirectories(data / "applications" / "vendor"));
    ASSERT_TRUE(ForceDirectories(dir / "sys" / "applications"));
    env.set("XDG_DATA_HOME", data.string());
    env.set("XDG_DATA_DIRS", (dir / "sys").string());
    // "vendor-writer.desktop" may live in a vendor sub-folder.
    ASSERT_TRUE(WriteFileBytes(data / "applications" / "vendor" / "writer.desktop",
                               "[Desktop Entry]\nName=Writer\nType=Application\n"
                               "Exec=\"/opt/my apps/writer\" --nologo %U\n"
                               "[Desktop Action new]\nExec=other-program\n"));
    ASSERT_TRUE(WriteFileBytes(dir / "sys" / "applications" / "editor.desktop",
                               "[Desktop Action x]\nExec=not-this\n[Desktop Entry]\n"
                               "Exec=env LANG=ja_JP.UTF-8 mousepad %F\n"));
    EXPECT_EQ(shell.FindExecutable((dir / "cert.rtf").string()), "/opt/my apps/writer");
    EXPECT_EQ(shell.FindExecutable((dir / "a.txt").string()), "mousepad");
    EXPECT_EQ(shell.FindExecutable((dir / "a.csv").string()), "");  // its .desktop file is missing
    EXPECT_EQ(shell.FindExecutable((dir / "a.html").string()), ""); // no default application
    EXPECT_EQ(shell.FindExecutable((dir / "a.bin").string()), "");  // xdg-mime fails
    EXPECT_EQ(shell.FindExecutable(""), "");
    // The whole Exec line, field codes filled with the document.
    const std::string rtf = (dir / "cert 1.rtf").string(), txt = (dir / "a.txt").string();
    EXPECT_EQ(shell.OpenCommand(rtf), (std::vector<std::string>{"/opt/my apps/writer", "--nologo", rtf}));
    EXPECT_EQ(shell.OpenCommand(txt), (std::vector<std::string>{"env", "LANG=ja_JP.UTF-8", "mousepad", txt}));
    EXPECT_TRUE(shell.OpenCommand((dir / "a.csv").string()).empty());
    ASSERT_TRUE(WriteFileBytes(data / "applications" / "vendor" / "writer.desktop",
                               "[Desktop Entry]\nExec=writer --icon %i %c 100%% --file=%f\n"));
    EXPECT_EQ(shell.OpenCommand(rtf), (std::vector<std::string>{"writer", "--icon", "100%", "--file=" + rtf}));
    ASSERT_TRUE(WriteFileBytes(data / "applications" / "vendor" / "writer.desktop", "[Desktop Entry]\nExec=writer\n"));
    EXPECT_EQ(shell.OpenCommand(rtf), (std::vector<std::string>{"writer", rtf})); // no code: appended
}

TEST_F(ShellTest, FindExecutableWithoutXdgMimeIsEmpty) {
    useFakePath(false);
    EXPECT_EQ(shell.FindExecutable("/etc/hostname"), "");
}

// ---------------------------------------------------------------- printers

namespace {

// Answers each command by its words; lpoptions -d changes what lpstat -d reports, and
// lpoptions -x of the default leaves none.
class CupsShell : public RecordingShell {
  public:
    std::map<std::string, CommandResult> Answers;
    std::string DefaultPrinter;
    int LpoptionsExit = 0;
    bool LpoptionsSwitches = true;

    CommandResult Run(const std::vector<std::string>& argv) override {
        Commands.push_back(argv);
        if (argv.size() == 3 && argv[0] == "lpoptions" && argv[1] == "-d") {
            if (LpoptionsExit == 0 && LpoptionsSwitches) DefaultPrinter = argv[2];
            return {LpoptionsExit, ""};
        }
        if (argv.size() == 3 && argv[0] == "lpoptions" && argv[1] == "-x") {
            if (LpoptionsExit == 0 && LpoptionsSwitches && DefaultPrinter == argv[2]) DefaultPrinter.clear();
            return {LpoptionsExit, ""};
        }
        if (argv == std::vector<std::string>{"lpstat", "-d"})
            return {0, DefaultPrinter.empty() ? "no system default destination\n"
                                              : "system default destination: " + DefaultPrinter + "\n"};
        std::string key;
        for (const auto& a : argv)
            key += (key.empty() ? "" : " ") + a;
        auto it = Answers.find(key);
        return it != Answers.end() ? it->second : CommandResult{-1, ""};
    }
};

} // namespace

TEST(Printers, ListFromLpstatE) {
    CupsShell sh;
    sh.Answers["lpstat -e"] = {0, "HP_LaserJet\nCanon-iP7200\r\n\nPDF/draft\n"};
    Printers pr(sh);
    EXPECT_EQ(pr.List(), (std::vector<std::string>{"HP_LaserJet", "Canon-iP7200", "PDF/draft"}));
    EXPECT_EQ(sh.Commands.front(), (std::vector<std::string>{"lpstat", "-e"}));
}

TEST(Printers, ListFallsBackToLpstatP) {
    CupsShell sh;
    sh.Answers["lpstat -e"] = {1, "lpstat: invalid option -- 'e'\n"};
    sh.Answers["lpstat -p"] = {0, "printer HP is idle.  enabled since Mon 01 Jan 2024\n"
                                  "printer Canon disabled since Tue 02 Jan 2024 -\n\treason unknown\n"};
    Printers pr(sh);
    EXPECT_EQ(pr.List(), (std::vector<std::string>{"HP", "Canon"}));
}

TEST(Printers, ListIsEmptyWithoutCups) {
    CupsShell sh; // every lpstat call "cannot start"
    Printers pr(sh);
    EXPECT_TRUE(pr.List().empty());
    EXPECT_EQ(pr.Default(), "");
}

TEST(Printers, DefaultFromLpstatD) {
    CupsShell sh;
    Printers pr(sh);
    EXPECT_EQ(pr.Default(), "");
    sh.DefaultPrinter = "HP_LaserJet";
    EXPECT_EQ(pr.Default(), "HP_LaserJet");
    RecordingShell rec;
    rec.NextResult = {1, "system default destination: X\n"};
    EXPECT_EQ(Printers(rec).Default(), ""); // a failed command reports nothing
}

TEST(Printers, SetDefaultSucceedsOnlyWhenTheDefaultChanged) {
    CupsShell sh;
    sh.DefaultPrinter = "HP";
    Printers pr(sh);
    EXPECT_TRUE(pr.SetDefault("Canon"));
    EXPECT_EQ(sh.DefaultPrinter, "Canon");
    EXPECT_EQ(sh.Commands[0], (std::vector<std::string>{"lpoptions", "-d", "Canon"}));
    EXPECT_EQ(sh.Commands[1], (std::vector<std::string>{"lpstat", "-d"}));

    sh.LpoptionsExit = 1; // lpoptions fails
    EXPECT_FALSE(pr.SetDefault("HP"));
    EXPECT_EQ(pr.Default(), "Canon");

    sh.LpoptionsExit = 0;
    sh.LpoptionsSwitches = false; // claims success but nothing changed
    EXPECT_FALSE(pr.SetDefault("HP"));
    EXPECT_FALSE(pr.SetDefault(""));
}

TEST(Printers, ClearDefaultLeavesNoneAndSaysWhetherItDid) {
    CupsShell sh;
    sh.DefaultPrinter = "Canon";
    Printers pr(sh);
    sh.LpoptionsSwitches = false; // claims success but the default stays
    EXPECT_FALSE(pr.ClearDefault("Canon"));
    sh.LpoptionsSwitches = true;
    EXPECT_TRUE(pr.ClearDefault("Canon"));
    EXPECT_EQ(sh.Commands.back(), (std::vector<std::string>{"lpstat", "-d"}));
    EXPECT_EQ(sh.Commands[sh.Commands.size() - 2], (std::vector<std::string>{"lpoptions", "-x", "Canon"}));
    EXPECT_EQ(pr.Default(), "");
    EXPECT_FALSE(pr.ClearDefault(""));
}

TEST(Printers, NameIsOneArgumentAndNeverShellText) {
    RecordingShell rec;
    rec.NextResult = {0, "system default destination: a b\"; rm -rf ~\n"};
    Printers pr(rec);
    EXPECT_TRUE(pr.SetDefault("a b\"; rm -rf ~"));
    ASSERT_EQ(rec.Commands.size(), 2u);
    EXPECT_EQ(rec.Commands[0], (std::vector<std::string>{"lpoptions", "-d", "a b\"; rm -rf ~"}));
    rec.NextResult = {0, "system default destination: P1\n"};
    EXPECT_FALSE(pr.SetDefault("P2"));
}

TEST(Printers, RealCupsCommandsDoNotFailBadly) {
    PosixShell sh;
    Printers pr(sh);
    const auto list = pr.List(); // whatever is installed; without CUPS this is empty
    for (const auto& name : list)
        EXPECT_FALSE(name.empty());
    EXPECT_FALSE(pr.SetDefault("no-such-printer-tavren-xyz"));
}
