#pragma once
// The one running program: its folder, its services and the fourteen objects
// created at start-up in their fixed order. The system's global references point here.
#include "platform/Services.h"

#include <filesystem>
#include <memory>
#include <string>

class TMainForm;
class TcurrTaikaiDir;
class TDataMdl;
class TSelectDataForm;
class TOutputForm;
class TKukanParamForm;
class TFormKuriage;
class TQuickReport4;
class TSwapTmRunForm;
class TCSVEntry;
class TFormClockInput;
class TFormDelayInf;
class TFormEnv;
class TOKRightDlg;

struct ProgramEnv {
    std::filesystem::path ProgramFolder; // folder of the executable, or TAVREN_HOME
    std::string ExeName = "tavren";
    Dialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    Shell* shell = nullptr;
    ReportService* reports = nullptr; // none: reports are laid out headless, never shown
};

class Program {
public:
    explicit Program(ProgramEnv env);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const std::filesystem::path& ProgramFolder() const { return env_.ProgramFolder; }
    std::filesystem::path IniPath() const;
    std::filesystem::path DataRoot() const;
    Dialogs& dialogs() { return *env_.dialogs; }

    std::unique_ptr<TMainForm> mainForm;
    std::unique_ptr<TcurrTaikaiDir> currTaikaiDir;
    std::unique_ptr<TDataMdl> dataMdl;
    std::unique_ptr<TSelectDataForm> selectDataForm;
    std::unique_ptr<TOutputForm> outputForm;
    std::unique_ptr<TKukanParamForm> kukanParamForm;
    std::unique_ptr<TFormKuriage> formKuriage;
    std::unique_ptr<TQuickReport4> quickReport4;
    std::unique_ptr<TSwapTmRunForm> swapTmRunForm;
    std::unique_ptr<TCSVEntry> csvEntry;
    std::unique_ptr<TFormClockInput> formClockInput;
    std::unique_ptr<TFormDelayInf> formDelayInf;
    std::unique_ptr<TFormEnv> formEnv;
    std::unique_ptr<TOKRightDlg> okRightDlg;

private:
    void setGlobals(bool on);
    ProgramEnv env_;
    std::unique_ptr<Printers> printers_;
    std::unique_ptr<ReportService> headlessReports_;
};

// The program folder: TAVREN_HOME when set, else the folder of the executable.
std::filesystem::path ResolveProgramFolder(const char* argv0);

// The system's global references, valid while a Program exists.
extern Program* CurrentProgram;
extern TMainForm* MainForm;
extern TcurrTaikaiDir* currTaikaiDir;
extern TDataMdl* DataMdl;
extern TSelectDataForm* SelectDataForm;
extern TOutputForm* OutputForm;
extern TKukanParamForm* KukanParamForm;
extern TFormKuriage* FormKuriage;
extern TQuickReport4* QuickReport4;
extern TSwapTmRunForm* SwapTmRunForm;
extern TCSVEntry* CSVEntry;
extern TFormClockInput* FormClockInput;
extern TFormDelayInf* FormDelayInf;
extern TFormEnv* FormEnv;
extern TOKRightDlg* OKRightDlg;
