#pragma once
// The desktop as the certificate opening sees it: CUPS printers with a default that
// can be switched, the installed fonts, the document's program, and one log of what
// was done in order ("default P2", "drop P2", "run viewer /path", "open /path").
#include "platform/Shell.h"

#include <functional>
#include <string>
#include <vector>

class FakeDesk : public Shell {
  public:
    std::vector<std::string> Printers{"P1", "P2"};
    std::string DefaultPrinter = "P1";
    std::vector<std::string> Fonts{"Noto Sans CJK JP", "Noto Serif CJK JP"};
    std::string Viewer = "viewer"; // "" = no program for the document
    int ViewerExit = 0;            // -1 = could not start
    std::vector<std::string> Log;
    std::function<void()> WhileViewing; // what the user does before the viewer ends

    bool OpenDocument(const std::string& target) override {
        Log.push_back("open " + target);
        return true;
    }
    std::string FindExecutable(const std::string&) override { return Viewer; }
    int RunAndWait(const std::string& program, const std::vector<std::string>& args) override {
        std::string line = "run " + program;
        for (const std::string& a : args)
            line += " " + a;
        Log.push_back(line);
        if (WhileViewing) WhileViewing();
        return ViewerExit;
    }
    CommandResult Run(const std::vector<std::string>& argv) override {
        if (argv == std::vector<std::string>{"lpstat", "-e"}) return {0, joined(Printers)};
        if (argv == std::vector<std::string>{"lpstat", "-d"})
            return {0, DefaultPrinter.empty() ? "no system default destination\n"
                                              : "system default destination: " + DefaultPrinter + "\n"};
        if (argv.size() == 3 && argv[0] == "lpoptions" && argv[1] == "-d") {
            DefaultPrinter = argv[2];
            Log.push_back("default " + argv[2]);
            return {0, ""};
        }
        if (argv.size() == 3 && argv[0] == "lpoptions" && argv[1] == "-x") {
            if (DefaultPrinter == argv[2]) DefaultPrinter.clear();
            Log.push_back("drop " + argv[2]);
            return {0, ""};
        }
        if (!argv.empty() && argv[0] == "fc-list") return {0, joined(Fonts)};
        return {-1, ""};
    }

  private:
    static std::string joined(const std::vector<std::string>& v) {
        std::string out;
        for (const std::string& s : v)
            out += s + "\n";
        return out;
    }
};
