#pragma once
// Outside programs: documents opened with their associated program, commands run
// with an argument list (never through a shell), and the printers (CUPS).
#include <string>
#include <vector>

struct CommandResult {
    int ExitCode = -1;   // -1: could not be started
    std::string Output;  // stdout and stderr together
};

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a document or URL with its associated program, without waiting.
    virtual bool OpenDocument(const std::string& target) = 0;
    // The program associated with a document, or "" when there is none.
    virtual std::string FindExecutable(const std::string& document) = 0;
    // The command that opens the document with its associated program, ready for
    // RunAndWait; empty when there is none.
    virtual std::vector<std::string> OpenCommand(const std::string& document) {
        const std::string program = FindExecutable(document);
        if (program.empty()) return {};
        return {program, document};
    }
    // Runs a program and waits for it to end; the exit code, -1 when it could not start.
    virtual int RunAndWait(const std::string& program, const std::vector<std::string>& args) = 0;
    // Runs a command to completion and collects its output.
    virtual CommandResult Run(const std::vector<std::string>& argv) = 0;
};

// fork/exec with an argument list (PATH searched), never a shell. The started programs
// inherit no descriptors of the program but stdin/stdout/stderr.
// RunAndWait: a program ended by a signal gives 128 + the signal number.
// Run: stdin is /dev/null, and the command runs with LC_ALL=C so that its messages
// (which the program parses, e.g. lpstat's) do not depend on the user's language.
// FindExecutable: xdg-mime's file type and default application, then the first word
// of the Exec line of that .desktop file ($XDG_DATA_HOME, $XDG_DATA_DIRS applications).
class PosixShell : public Shell {
public:
    bool OpenDocument(const std::string& target) override;
    std::string FindExecutable(const std::string& document) override;
    // The desktop entry's whole Exec line, its field codes filled with the document.
    std::vector<std::string> OpenCommand(const std::string& document) override;
    int RunAndWait(const std::string& program, const std::vector<std::string>& args) override;
    CommandResult Run(const std::vector<std::string>& argv) override;

private:
    std::string defaultExec(const std::string& document);
};

// Test double: records every call and answers from its fields.
class RecordingShell : public Shell {
public:
    std::vector<std::string> Opened;
    std::vector<std::vector<std::string>> Commands;
    std::string Executable;       // what FindExecutable answers
    int WaitExitCode = 0;
    CommandResult NextResult{0, ""};
    bool OpenSucceeds = true; // false: a desktop without a program for the document

    bool OpenDocument(const std::string& target) override {
        Opened.push_back(target);
        return OpenSucceeds;
    }
    std::string FindExecutable(const std::string&) override { return Executable; }
    int RunAndWait(const std::string& program, const std::vector<std::string>& args) override {
        std::vector<std::string> c{program};
        c.insert(c.end(), args.begin(), args.end());
        Commands.push_back(c);
        return WaitExitCode;
    }
    CommandResult Run(const std::vector<std::string>& argv) override {
        Commands.push_back(argv);
        return NextResult;
    }
};

// The printer list and the default printer, through the shell's CUPS commands.
class Printers {
public:
    explicit Printers(Shell& shell) : shell_(shell) {}
    std::vector<std::string> List();
    std::string Default();
    // Makes name the default printer; true only when the switch succeeded.
    bool SetDefault(const std::string& name);
    // Takes back name as the user's default printer, so that the default is again the
    // one CUPS gives without it (none when there is none); true when name is no longer it.
    bool ClearDefault(const std::string& name);
    // Font family names of the system (fontconfig), sorted, each once.
    std::vector<std::string> Fonts();

private:
    Shell& shell_;
};
