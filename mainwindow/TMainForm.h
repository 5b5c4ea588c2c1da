#pragma once
// The main window: race information, entry and passing-time input pages.
// Headless: controls are models, behaviour lives in the handlers; gui/ shows it.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

class Program;

constexpr const char* kVersionText = "Version 4.33";
constexpr int kMaxTeams = 200;
constexpr int kMaxAlias = 999;

struct MenuDef {
    std::string Caption;
    std::vector<Action*> Items; // nullptr = separator
};

class TMainForm : public FormBase {
public:
    explicit TMainForm(Program& program);

    // ---- Program settings (program INI file) ----
    std::string exCsvFilePath;
    std::string FromPath;
    std::string exDenkoFilePath;
    std::string exDenkoFileName = "dnkodata.txt";
    std::string exExcelMacroName = "theTavrenPrintStd.xls";
    bool CSVEntryGetOpt = false;
    bool useDnkoDefault = false;
    bool useFuriganaCTR = false;
    bool closeAutoRecForm = false;
    bool showSlitPanel = false;
    std::string lstDBS_Path;
    bool PRTCHG_NO = false;
    bool NoUseOleFont = false;
    std::string HelpUrl;
    bool OfferMacroBook = false;

    // ---- Race state ----
    std::filesystem::path DataFolder; // the open race's folder
    int TaikaiNo = -1;
    int SelectedTaikaiNo = -1;
    int AddedTaikaiNo = 0;
    int SourceTaikaiNo = 0;
    std::string NewTaikaiDir;
    bool TaikaiOpen = false;
    int CurrTeamNo = 0;
    int KukanNum = 1, HoketuNum = 1, TeamNum = 1;
    int PrevKukanNum = 0;
    int EntryTeamNum = 0;
    double TotalDistance = 0;
    bool ResultFinal = false;
    bool HasNoRecordRunner = false;
    bool AutoImportOn = false;
    bool AutoTransferNoAsk = false;
    std::string ClassFilter;
    // The dirty flags of the team, runner, leg and input data are the Modified
    // flags of their grids (TeamEntryGrid, RunnerEntryGrid, KukanInfGrid, InputGrid).
    bool RunnerCopied = false; // a runner row was copied ("選手コピー")

    // ---- Controls ----
    PageControl MainPage{"MainPage", {"大会情報", "エントリー", "データ入力"}};
    PageControl EntryTab{"EntryTab", {"チーム", "選手"}};
    Label Splash{"Splash"};
    Edit ReceName{"ReceName"};
    Memo OrgName{"OrgName"};
    Label KisoTaikaiText{"KisoTaikaiText"};
    StringGrid taikaiBestGrid{"taikaiBestGrid"};
    StringGrid KukanInfGrid{"KukanInfGrid"};
    StringGrid TeamEntryGrid{"TeamEntryGrid"};
    StringGrid RunnerEntryGrid{"RunnerEntryGrid"};
    StringGrid InputGrid{"InputGrid"};
    StringGrid tempKukanGrid{"tempKukanGrid"};
    SpinEdit KukanSpinNum{"KukanSpinNum"};
    SpinEdit HoketuSpinNum{"HoketuSpinNum"};
    SpinEdit SankaSpinNum{"SankaSpinNum"};
    SpinEdit TeamUpDown{"TeamUpDown"};
    CheckBox chk100{"chk100"};
    Label CurrTeamName{"CurrTeamName"};
    Label LabelBonrei{"LabelBonrei"};
    Control KukanInfPanel{"KukanInfPanel"};
    Control SlitGridPanel{"SlitGridPanel"};
    Control Splitter1{"Splitter1"};
    Edit Edit1{"Edit1"}; // auto-import file path
    RadioButton RadioClickEntry{"RadioClickEntry"};
    RadioButton RadioTenkeyEntry{"RadioTenkeyEntry"};
    Timer Timer1{"Timer1"};
    ProgressBar ProgressBar1{"ProgressBar1"};
    StatusBar StatusBar1{"StatusBar1"};
    // The control that has the keyboard focus, by name ("" = none); the view follows it.
    std::string FocusedControl;
    void SetFocus(const Control& c);
    // Input method state asked for by the handlers; the view applies it.
    ImeMode Ime = ImeMode::DontCare;
    void SetImeMode(ImeMode m);
    Signal<> FocusChanged;
    Signal<> ImeChanged;

    // ---- Actions (menus and tool bars) ----
    Action MakeKeyName{"MakeKeyName", "大会情報作成(&N)"};
    Action OpenKeyName{"OpenKeyName", "大会情報を開く(&O)"};
    Action saveInputData{"saveInputData", "ｲﾝﾌﾟｯﾄﾃﾞｰﾀ保存(&S)"};
    Action OpenEnvForm{"OpenEnvForm", "環境設定(&P)"};
    Action Exit{"Exit", "終了(&X)"};
    Action OutputResult{"OutputResult", "結果出力(&C)"};
    Action OpenKuriageForm{"OpenKuriageForm", "繰上/再出発(&K)"};
    Action OpenClockInputForm{"OpenClockInputForm", "起ﾀｲﾑ変換(&G)"};
    Action OpenDelayInfForm{"OpenDelayInfForm", "待機情報(&D)"};
    Action deleteClockLog{"deleteClockLog", "起ﾀｲﾑﾛｸﾞ削除"};
    Action ActionFillDummy{"ActionFillDummy", "欠場ﾁｰﾑにﾀﾞﾐｰ値"};
    Action ActionInputGridToClipboard{"ActionInputGridToClipboard", "入力ｸﾞﾘｯﾄﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"};
    Action ClearInputGrid{"ClearInputGrid", "入力ｸﾞﾘｯﾄﾞｸﾘｱ"};
    Action ToolButtonSlitPanel{"ToolButtonSlitPanel", "ｽﾌﾟﾘｯﾄ"};
    Action ToolButtonInputGridCopy{"ToolButtonInputGridCopy", "入力Gｺﾋﾟｰ"};
    Action showHtml{"showHtml", "ウェブ確認ﾓﾊﾞｲﾙ"};
    Action showHtmlPC{"showHtmlPC", "ウェブ確認PC"};
    Action deleteHtml{"deleteHtml", "ウェブ削除"};
    Action Macro{"Macro", "印刷ﾏｸﾛ"};
    Action swaprows{"swaprows", "行入替"};
    Action Adelete{"Adelete", "行削除"};
    Action Acopy{"Acopy", "行ｺﾋﾟｰ"};
    Action Apaste{"Apaste", "行貼付"};
    Action CopyRunner{"CopyRunner", "選手コピー"};
    Action denkoStartList{"denkoStartList", "ｽﾀｰﾄﾘｽﾄ"};
    Action NGakunen{"NGakunen", "学年"};
    Action HelpContents{"HelpContents", "バージョン情報とヘルプ(&H)"};
    Action HelpIndex{"HelpIndex", "ヘルプ目次"};
    std::vector<MenuDef> MainMenu;

    // ---- Life cycle and program settings ----
    void FormShow();
    // True when the window may close.
    bool FormClose();
    void FormActivate();
    void WriteMainIni();
    void HelpContentsExecute();
    void HelpIndexExecute() {}
    void MainPageChanging() {}
    void FormResize() {}
    void ExitExecute();
    void OpenEnvFormExecute();
    std::filesystem::path DataRoot() const;
    bool CloseRequested() const { return closeRequested_; }

    // ---- Pages, grid layouts, counts, per-edition settings ----
    void ApplyCountsAndLayout();
    void SetupInputGrid();
    void SetupSplitGrid();
    void SetupTeamEntryGrid();
    void SetupRunnerEntryGrid();
    void SetupKukanInfGrid();
    void KukanSpinNumChange();
    void HoketuSpinNumChange();
    void SankaSpinNumChange();
    void MainPageChange();
    void KukanSpinDisable(int page);
    int CheckSplitCounts() const;
    static bool FilterNumberKey(char32_t& key, int mode);
    static bool FilterDateKey(char32_t& key);
    void KukanInfGridKeyPress(StringGrid& grid, char32_t& key);
    CellStyle KukanInfGridDrawCell(const StringGrid& grid, int col, int row) const;
    void KukanInfGridSetEditText(int col, int row, const std::string& text);
    void taikaiBestGridExit() {}
    void ActEnterAsTAB(char32_t& key);
    std::filesystem::path TaikaiIniPath(int taikaiNo) const;
    void ReadTaikaiIni();
    void CopyTaikaiIni();
    void WriteTaikaiIni();
    // The per-edition settings are read once per opened edition, at its first layout.
    bool TaikaiIniPending = false;

    // ---- Time codes, read with the race's hundredths setting at the call ----
    int TimeDigitsToSeconds(int code) const;
    int SecondsToDigits(int value) const;
    std::string SecondsToClockText(int value) const;
    std::string SecondsToMarkText(int value) const;
    std::string TimeToDisplayText(const std::string& cellText) const;
    std::string SecondsToKanjiText(int value) const;
    std::string SecondsToKanjiTextPadded(int value) const;
    std::string DateTextToKanji(const std::string& dateText, int mode) const;

    // ---- Advanced starts, read from the advanced-start window's grid ----
    int GetKuriageKind(int row) const;
    int KuriageTimeGap(int row, int passing, int kind) const;
    int KuriageTimeCode(int row) const;

    // ---- Lookups on the entry grids and the runner table ----
    int CountAbsentTeams() const;
    int TeamStateByAlias(int slot, int number) const;

    // ---- Entry pages ----
    void ClearEntryRowMarks() {}

    // ---- Passing-time input ----
    void saveInputDataExecute();

    Program& program() { return program_; }

private:
    void readMainIni();
    void buildMenus();
    void wireHandlers();
    void disableRaceActions();

    Program& program_;
    bool closeRequested_ = false;
};
