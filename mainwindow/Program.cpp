#include "mainwindow/Program.h"

#include "database/TDataMdl.h"
#include "mainwindow/TCSVEntry.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"
#include "mainwindow/TFormEnv.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TSwapTmRunForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOKRightDlg.h"
#include "output/TOutputForm.h"
#include "output/TQuickReport4.h"

#include <cstdlib>
#include <unistd.h>

Program* CurrentProgram = nullptr;
TMainForm* MainForm = nullptr;
TcurrTaikaiDir* currTaikaiDir = nullptr;
TDataMdl* DataMdl = nullptr;
TSelectDataForm* SelectDataForm = nullptr;
TOutputForm* OutputForm = nullptr;
TKukanParamForm* KukanParamForm = nullptr;
TFormKuriage* FormKuriage = nullptr;
TQuickReport4* QuickReport4 = nullptr;
TSwapTmRunForm* SwapTmRunForm = nullptr;
TCSVEntry* CSVEntry = nullptr;
TFormClockInput* FormClockInput = nullptr;
TFormDelayInf* FormDelayInf = nullptr;
TFormEnv* FormEnv = nullptr;
TOKRightDlg* OKRightDlg = nullptr;

// Each object is created and published in the system's order, so a constructor
// may reach the objects made before it, never those after.
Program::Program(ProgramEnv env) : env_(std::move(env)) {
    printers_ = std::make_unique<Printers>(*env_.shell);
    if (!env_.reports) {
        headlessReports_ = std::make_unique<RecordingReports>();
        env_.reports = headlessReports_.get();
    }
    Services& s = CurrentServices();
    s = Services{env_.dialogs, env_.clipboard, env_.shell, printers_.get(), env_.reports};
    CurrentProgram = this;
    mainForm = std::make_unique<TMainForm>(*this);
    MainForm = mainForm.get();
    currTaikaiDir = std::make_unique<TcurrTaikaiDir>();
    ::currTaikaiDir = currTaikaiDir.get();
    dataMdl = std::make_unique<TDataMdl>();
    DataMdl = dataMdl.get();
    selectDataForm = std::make_unique<TSelectDataForm>();
    SelectDataForm = selectDataForm.get();
    outputForm = std::make_unique<TOutputForm>();
    OutputForm = outputForm.get();
    kukanParamForm = std::make_unique<TKukanParamForm>();
    KukanParamForm = kukanParamForm.get();
    formKuriage = std::make_unique<TFormKuriage>();
    FormKuriage = formKuriage.get();
    quickReport4 = std::make_unique<TQuickReport4>();
    QuickReport4 = quickReport4.get();
    swapTmRunForm = std::make_unique<TSwapTmRunForm>();
    SwapTmRunForm = swapTmRunForm.get();
    csvEntry = std::make_unique<TCSVEntry>();
    CSVEntry = csvEntry.get();
    formClockInput = std::make_unique<TFormClockInput>();
    FormClockInput = formClockInput.get();
    formDelayInf = std::make_unique<TFormDelayInf>();
    FormDelayInf = formDelayInf.get();
    formEnv = std::make_unique<TFormEnv>();
    FormEnv = formEnv.get();
    okRightDlg = std::make_unique<TOKRightDlg>();
    OKRightDlg = okRightDlg.get();
    mainForm->WatchResultInputs();
}

Program::~Program() {
    if (dataMdl) dataMdl->CloseAll();
    setGlobals(false);
}

void Program::setGlobals(bool on) {
    if (on || CurrentProgram != this) return;
    CurrentProgram = nullptr;
    MainForm = nullptr;
    ::currTaikaiDir = nullptr;
    DataMdl = nullptr;
    SelectDataForm = nullptr;
    OutputForm = nullptr;
    KukanParamForm = nullptr;
    FormKuriage = nullptr;
    QuickReport4 = nullptr;
    SwapTmRunForm = nullptr;
    CSVEntry = nullptr;
    FormClockInput = nullptr;
    FormDelayInf = nullptr;
    FormEnv = nullptr;
    OKRightDlg = nullptr;
    CurrentServices() = Services{};
}

std::filesystem::path Program::IniPath() const { return env_.ProgramFolder / (env_.ExeName + ".INI"); }

std::filesystem::path Program::DataRoot() const { return env_.ProgramFolder / "tvnData"; }

std::filesystem::path ResolveProgramFolder(const char* argv0) {
    if (const char* home = std::getenv("TAVREN_HOME"); home && *home) return std::filesystem::path(home);
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0 ? argv0 : ".");
    return exe.parent_path();
}
