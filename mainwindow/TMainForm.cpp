// Main window life cycle: construction with the program settings, first show,
// activation, close with its saves, and the about/help box.
#include "mainwindow/TMainForm.h"

#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "mainwindow/PendingParts.h"
#include "mainwindow/TFormEnv.h"
#include "mainwindow/Program.h"
#include "database/TDataMdl.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Guard.h"
#include "platform/IniFile.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <stdexcept>

namespace {
constexpr const char* kWorkFiles = "WorkFiles";
constexpr const char* kParams = "Params";
constexpr const char* kDefaultHelpUrl = "https://www.example.com/tavren/manual/";
} // namespace

TMainForm::TMainForm(Program& program) : FormBase("MainForm"), program_(program) {
    KukanSpinNum.SetRange(1, kMaxLegs);
    HoketuSpinNum.SetRange(1, kMaxSubs);
    SankaSpinNum.SetRange(1, kMaxTeams);
    KukanSpinNum.SetValue(1);
    HoketuSpinNum.SetValue(1);
    SankaSpinNum.SetValue(1);
    TeamUpDown.SetRange(1, 1);
    TeamUpDown.SetValue(1);
    chk100.SetCaption("1/100秒");
    HelpUrl = kDefaultHelpUrl;
    readMainIni();
    buildMenus();
    wireHandlers();
    disableRaceActions();
}

std::filesystem::path TMainForm::DataRoot() const { return program_.DataRoot(); }

void TMainForm::readMainIni() {
    IniFile ini(program_.IniPath());
    exCsvFilePath = ini.ReadString(kWorkFiles, "exCsvFilePath", "");
    if (!DirectoryExists(exCsvFilePath)) exCsvFilePath = program_.ProgramFolder().string();
    FromPath = ini.ReadString(kWorkFiles, "FromPath", "");
    if (!FileExists(FromPath)) FromPath.clear();
    Edit1.SetText(FromPath);
    exDenkoFilePath = ini.ReadString(kWorkFiles, "exDenkoFilePath", "");
    exDenkoFileName = ini.ReadString(kWorkFiles, "exDenkoFileName", "dnkodata.txt");
    exExcelMacroName = ini.ReadString(kWorkFiles, "exExcelMacroName", "theTavrenPrintStd.xls");
    bool click = ini.ReadBool(kParams, "ClickEntry", true);
    RadioClickEntry.SetChecked(click);
    RadioTenkeyEntry.SetChecked(!click);
    CSVEntryGetOpt = ini.ReadBool(kParams, "CSVEntryGetOpt", false);
    useDnkoDefault = ini.ReadBool(kParams, "useDnkoDefault", false);
    useFuriganaCTR = ini.ReadBool(kParams, "useFuriganaCTR", false);
    closeAutoRecForm = ini.ReadBool(kParams, "closeAutoRecForm", false);
    showSlitPanel = ini.ReadBool(kParams, "showSlitPanel", false);
    lstDBS_Path = ini.ReadString(kWorkFiles, "lstDBS_Path", "");
    PRTCHG_NO = ini.ReadBool(kParams, "PRTCHG_NO", false);
    NoUseOleFont = ini.ReadBool(kParams, "NoUseOleFont", false);
}

bool TMainForm::WriteMainIni() {
    IniFile ini(program_.IniPath());
    // One file write for the fourteen keys: a crash keeps the old file or the new one.
    ini.BeginUpdate();
    ini.WriteString(kWorkFiles, "exCsvFilePath", exCsvFilePath);
    ini.WriteBool(kParams, "ClickEntry", RadioClickEntry.Checked());
    ini.WriteBool(kParams, "CSVEntryGetOpt", CSVEntryGetOpt);
    ini.WriteString(kWorkFiles, "exDenkoFilePath", exDenkoFilePath);
    ini.WriteString(kWorkFiles, "exDenkoFileName", exDenkoFileName);
    ini.WriteString(kWorkFiles, "exExcelMacroName", exExcelMacroName);
    ini.WriteBool(kParams, "useDnkoDefault", useDnkoDefault);
    ini.WriteBool(kParams, "useFuriganaCTR", useFuriganaCTR);
    ini.WriteBool(kParams, "closeAutoRecForm", closeAutoRecForm);
    ini.WriteString(kWorkFiles, "FromPath", FromPath);
    ini.WriteBool(kParams, "showSlitPanel", showSlitPanel);
    ini.WriteString(kWorkFiles, "lstDBS_Path", lstDBS_Path);
    ini.WriteBool(kParams, "PRTCHG_NO", PRTCHG_NO);
    ini.WriteBool(kParams, "NoUseOleFont", NoUseOleFont);
    const bool ok = ini.EndUpdate();
    if (!ok) ShowSettingsNotSaved(ini.FileName());
    return ok;
}

// The import reads the split counts, 1/100 and the timing file from these files: they
// are written with every save, not only at a close, so that a crash keeps them.
void TMainForm::WriteSettingsFiles() {
    if (!TaikaiOpen || TaikaiNo < 1) return;
    WriteTaikaiIni();
    WriteMainIni();
}

void ShowSettingsNotSaved(const std::filesystem::path& file) {
    Dlg().ShowMessage(file.string() + "の保存に失敗しました。");
}

void TMainForm::buildMenus() {
    swaprows.ShortCut = "F1";
    MainMenu = {
        {"ファイル(&F)",
         {&MakeKeyName, &OpenKeyName, &saveInputData, nullptr, &OpenEnvForm, nullptr, &showHtml, &showHtmlPC,
          &killHtml, nullptr, &Exit}},
        {"データ入力(&I)",
         {&OpenKuriageForm, &OpenClockInputForm, &OpenDelayInfForm, &deleteClockLog, nullptr, &ActionFillDummy,
          &ActionInputGridToClipboard, &ClearInputGrid}},
        {"エントリー(&E)",
         {&swaprows, &Adelete, &Acopy, &Apaste, &CopyRunner, nullptr, &ArrangeRunner, &SwapTmRunnr, nullptr,
          &denkoStartList, &NGakunen}},
        {"結果(&R)", {&OutputResult, nullptr, &OpenExcelMacro}},
        {"ヘルプ(&H)", {&HelpContents, &HelpIndex}},
    };
}

void TMainForm::wireHandlers() {
    Exit.OnExecute = [this] { ExitExecute(); };
    MakeKeyName.OnExecute = [this] { MakeKeyNameExecute(); };
    OpenKeyName.OnExecute = [this] { OpenKeyNameExecute(); };
    OpenKuriageForm.OnExecute = [this] { OpenKuriageFormExecute(); };
    HelpContents.OnExecute = [this] { HelpContentsExecute(); };
    HelpIndex.OnExecute = [this] { HelpIndexExecute(); };
    OpenEnvForm.OnExecute = [this] { OpenEnvFormExecute(); };
    saveInputData.OnExecute = [this] { saveInputDataExecute(); };
    OpenExcelMacro.OnExecute = [this] { OpenExcelMacroExecute(); };
    wireStartListHandlers();
    MainPage.OnChange = [this] { MainPageChange(); };
    KukanSpinNum.OnChange = [this] { KukanSpinNumChange(); };
    HoketuSpinNum.OnChange = [this] { HoketuSpinNumChange(); };
    SankaSpinNum.OnChange = [this] { SankaSpinNumChange(); };
    wireEntryHandlers();
    wireInputHandlers();
    wireOutputHandlers();
    wireSplitHandlers();
    wireTimingImport();
    wireWebHandlers();
    wireCsvEntryHandlers();
    wireSplitFileHandlers();
    markPendingActions();
}

// Menu entries of windows not built yet say so when chosen, instead of doing nothing.
void TMainForm::markPendingActions() {
    std::vector<Action*> all{&ToolButtonSlitPanel, &ToolButtonInputGridCopy};
    for (const MenuDef& menu : MainMenu) all.insert(all.end(), menu.Items.begin(), menu.Items.end());
    for (Action* a : all)
        if (a && !a->OnExecute) a->OnExecute = [a] { ShowNotBuilt(a->Caption()); };
}

void ShowNotBuilt(const std::string& caption) {
    std::string name = caption.substr(0, caption.find("(&"));
    Dlg().ShowMessage(name + "はまだ使えません。");
}

// Before a race is open nothing that needs passing data or entries can run.
void TMainForm::disableRaceActions() {
    for (Action* a : {&OutputResult, &OpenKuriageForm, &OpenClockInputForm, &OpenDelayInfForm, &deleteClockLog,
                      &saveInputData, &showHtml, &showHtmlPC, &killHtml, &OpenExcelMacro, &ActionFillDummy,
                      &ActionInputGridToClipboard, &ToolButtonInputGridCopy, &ToolButtonSlitPanel, &ClearInputGrid, &swaprows, &Adelete, &Acopy, &Apaste, &CopyRunner, &SwapTmRunnr,
                      &startListWeb, &StartListPrev, &StartListExcel})
        a->SetEnabled(false);
    Timer1.SetEnabled(false);
}

// A program folder named before it exists (TAVREN_HOME) is made with its parents here.
void TMainForm::FormShow() {
    std::filesystem::path root = DataRoot();
    if (!DirectoryExists(root)) {
        if (!ForceDirectories(root)) throw std::runtime_error(root.string() + " の作成に失敗しました。");
        Dlg().ShowMessage(root.string() + " が作成されました。");
    }
    TaikaiNo = -1;
    SelectedTaikaiNo = -1;
    CurrTeamNo = RunnerGridTeam = 0;
    Splash.SetCaption("\n\n\nタヴレン集計プログラム\n");
    SetCaption(Format("theTavren %s", kVersionText));
    TaikaiOpen = false;
    MainPage.ShowPage(0);
    ApplyCountsAndLayout();
    // After the layout, which shows or hides the split panel: the polling follows it.
    Timer1.SetEnabled(SlitGridPanel.Visible());
}

bool TMainForm::FormClose() {
    if (!TaikaiOpen) return true;
    if (taikaiBestGrid.Cells(0, 1).empty()) taikaiBestGrid.SetCellsQuiet(0, 1, "0");
    if (TaikaiNo < 1) {
        Dlg().MessageDlg("回数が設定されていません。", MsgKind::Information, Btn::OK);
        return true;
    }
    if (Dlg().MessageDlg("終了しますか ?", MsgKind::Confirmation, Btn::YesNo) != mrYes) return false;
    // A time being typed is completed as leaving its cell would, never saved half typed.
    CompleteEditedTime();
    if (!SaveTaikaiFields(false)) return closeUnsaved(false);
    WriteClockLog();
    // A settings file that cannot be written is reported; the race data is saved already.
    WriteSettingsFiles();
    ReleaseLockFile();
    if (FocusedControl == RunnerEntryGrid.Name()) {
        Dlg().ShowMessage("選手情報をセーブします。");
        if (!Guard([] { SaveRunnerRows(); })) return closeUnsaved(true);
    }
    OutputForm->SavePrizeParams();
    return true;
}

// After a save that failed the desk decides: close without saving (the lock goes), or
// stay with everything still on screen, and the race still locked.
bool TMainForm::closeUnsaved(bool lockReleased) {
    if (Dlg().MessageDlg("保存できませんでした。保存せずに終了しますか？", MsgKind::Confirmation, Btn::YesNo) !=
        mrYes) {
        if (lockReleased) CreateLockFile();
        return false;
    }
    if (!lockReleased) ReleaseLockFile();
    DataMdl->CloseAll();
    return true;
}

// The desk comes back from another window: a time typed before it left is saved as
// leaving its cell would complete it.
void TMainForm::FormActivate() {
    if (!TaikaiOpen || MainPage.ActivePageIndex() != 2 || !InputGrid.Modified()) return;
    CompleteEditedTime();
    saveInputDataExecute();
}

void TMainForm::ExitExecute() { closeRequested_ = true; }

void TMainForm::OpenEnvFormExecute() { Dlg().ShowModal(*FormEnv); }

void TMainForm::HelpContentsExecute() {
    std::string about = Format("TheTavren %s\n最大ﾁｰﾑ数=%d / 最大ｴﾘｱｽ番号=%d\n\n", kVersionText, kMaxTeams, kMaxAlias);
    std::string url = Trim(HelpUrl);
    if (url.empty()) {
        Dlg().ShowMessage(about + "ヘルプ先のURLが設定されていません。");
        return;
    }
    if (Dlg().MessageDlg(about + url + "\n\nに接続しますか？", MsgKind::Confirmation, Btn::YesNo) == mrYes)
        ShellSvc().OpenDocument(url);
}

// A refused save keeps the window's unsaved texts: no reload over them. The settings
// are the desk's too and do not depend on the tables: they are written either way.
void TMainForm::saveInputDataExecute() {
    if (SaveTaikaiFields(true)) OpenTaikaiTable();
    WriteSettingsFiles();
}

void TMainForm::SetFocus(const Control& c) {
    if (FocusedControl == c.Name()) return;
    FocusedControl = c.Name();
    FocusChanged();
}

void TMainForm::SetImeMode(ImeMode m) {
    Ime = m;
    ImeChanged();
}
