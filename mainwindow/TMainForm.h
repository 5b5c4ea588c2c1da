#pragma once
// The main window: race information, entry and passing-time input pages.
// Headless: controls are models, behaviour lives in the handlers; gui/ shows it.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class Program;
class TimingLegs;

constexpr const char* kVersionText = "Version 4.33";
constexpr int kMaxLegs = 50;
constexpr int kMaxSubs = 20;
constexpr int kMaxTeams = 200;
constexpr int kMaxAlias = 999;

// Tells the desk that a command of a window not built yet cannot run.
void ShowNotBuilt(const std::string& caption);
// Tells the desk that a settings file could not be written.
void ShowSettingsNotSaved(const std::filesystem::path& file);

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
    bool MacroBookDeclined = false; // the print macro workbook was refused: not offered again this run

    // ---- Race state ----
    std::filesystem::path DataFolder; // the open race's folder
    int TaikaiNo = -1;
    int SelectedTaikaiNo = -1;
    int AddedTaikaiNo = 0;
    int SourceTaikaiNo = 0;
    std::string NewTaikaiDir;
    bool TaikaiOpen = false;
    int CurrTeamNo = 0;
    int RunnerGridTeam = 0; // the team whose runners RunnerEntryGrid holds; 0 none
    int KukanNum = 1, HoketuNum = 1, TeamNum = 1;
    int PrevKukanNum = 0;
    int EntryTeamNum = 0;
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
    PageControl EntryTab{"EntryTab", {"参加チーム", "参加選手"}};
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
    // Beside ProgressBar1: why the automatic import holds, what the last import of the
    // timing file left out or found missing, and what its transfer did not write.
    Label LabelAutoImport{"LabelAutoImport"};
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
    Action ActionFillDummy{"ActionFillDummy", "欠場ﾀﾞﾐｰ値付加"};
    Action ActionInputGridToClipboard{"ActionInputGridToClipboard", "入力ｸﾞﾘｯﾄﾞをｸﾘｯﾌﾟﾎﾞｰﾄﾞへ"};
    Action ClearInputGrid{"ClearInputGrid", "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞｸﾘｱ"};
    Action ToolButtonSlitPanel{"ToolButtonSlitPanel", "ｽﾌﾟﾘｯﾄ"};
    Action ToolButtonInputGridCopy{"ToolButtonInputGridCopy", "入力Gｺﾋﾟｰ"};
    Action showHtml{"showHtml", "ウェブ確認ﾓﾊﾞｲﾙ"};
    Action showHtmlPC{"showHtmlPC", "ウェブ確認PC"};
    Action killHtml{"killHtml", "ウェブ削除"};
    Action OpenExcelMacro{"OpenExcelMacro", "ｴｸｾﾙﾌﾟﾘﾝﾄﾏｸﾛを開く"};
    Action swaprows{"swaprows", "登録入れ替え"};
    Action Adelete{"Adelete", "行消去"};
    Action Acopy{"Acopy", "行複写"};
    Action Apaste{"Apaste", "行貼付"};
    Action CopyRunner{"CopyRunner", "選手コピー"};
    Action denkoStartList{"denkoStartList", "ｽﾀｰﾄﾘｽﾄ"};
    Action NGakunen{"NGakunen", "学年繰変更"};
    Action HelpContents{"HelpContents", "バージョン情報とヘルプ(&H)"};
    Action HelpIndex{"HelpIndex", "ヘルプ目次"};
    std::vector<MenuDef> MainMenu;

    // ---- Life cycle and program settings ----
    void FormShow();
    // True when the window may close.
    bool FormClose();
    void FormActivate();
    // False (after the message) when the file could not be written.
    bool WriteMainIni();
    // Both settings files of an open edition, as the close writes them.
    void WriteSettingsFiles();
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
    void DropCellsBeyondCounts();
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
    void taikaiBestGridExit();
    void SetInfoGridIme(StringGrid& grid, int col);
    void ActEnterAsTAB(char32_t& key);
    std::filesystem::path TaikaiIniPath(int taikaiNo) const;
    void ReadTaikaiIni();
    void CopyTaikaiIni();
    bool WriteTaikaiIni();
    // The per-edition settings are read once per opened edition, at its first layout.
    bool TaikaiIniPending = false;

    // The counts of an edition row as it is loaded, each applied as its spin edit does.
    void SetEditionCounts(int legs, int subs, int teams);

private:
    bool teamCountLoweringAgreed(int count);
    std::string passingsBeyondTeamCount(int count) const;
    int waitingRowsCut(int count) const;
    bool keepingTeamCount_ = false; // the spin edit shows the count in use again
    bool countsFromEdition_ = false;

public:

    // ---- Race information ----
    // The edition cell ("回数") always shows TaikaiNo: the edition row is addressed by it.
    // True when the cell differed (it is put back, with a message).
    bool RestoreTaikaiNoCell();

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
    // First (smallest >= 1) and, in last, the latest passing-time code typed at relay
    // point leg; 0 when nobody has passed there.
    int PassingTimeRange(int leg, int& last) const;
    void OpenKuriageFormExecute();

    // ---- Results computation ----
    // Waiting times of legs 1..leg of the team typed as `number` at the relay points.
    int SumWaitingTime(int leg, int number);
    // The entry page's pack action, run when the team table holds rows beyond the team count.
    void SpeedButtonPackEntryClick();

    // ---- CSV entry and packing ----
    Action openCSVForm{"openCSVForm", "CSVﾌｧｲﾙｵｰﾌﾟﾝ(&C)"};
    void wireCsvEntryHandlers();
    void SpeedButtonOpenCSVClick();
    void openCSVFormExecute();
    // Runner records for every slot of teams 1..TeamNum, none above; team rows above the count go.
    void PackEntries();
    // Asks "エントリー情報を整理しますか?"; true when the entries were packed.
    bool packEntriesAsked();

    // ---- Lookups on the entry grids and the runner table ----
    int CountAbsentTeams() const;
    int TeamStateByAlias(int slot, int number) const;
    int TeamAliasNumber(int team) const;
    int FindTeamRowByAlias(int number) const;
    int TeamOpValue(int team) const;
    bool IsAbsentTeam(int team) const;
    // kind 0 name, 1 kana, 2 class.
    std::string TeamFieldText(int team, int kind) const;
    bool HasOpTeam() const;
    // runners: readings in the runner table; else readings of the teams.
    bool HasKanaData(bool runners) const;
    // Warns once per run when some teams have a class and some not.
    bool AllTeamsHaveClass();
    bool ClassMixWarned = false;
    std::string MaxClassLetter() const;
    int MaxTeamNameLength() const;
    int RunnerRemark(int team, int slot) const;
    int MaxRunnerRemark(int team, int leg) const;
    bool DetectNoRecordRunner(int legs) const;
    std::string RunnerKanaName(int team, int slot, int mode) const;
    // kind 0 school year, 1 reading.
    std::string RunnerFieldText(int team, int slot, int kind) const;
    std::string RunnerNameText(int team, int slot, int mode) const;
    static std::string JoinRunnerName(const std::string& family, const std::string& given, int mode);
    std::string RunnerListText(int legIndex, bool withKana) const;
    int MaxRunnerNameLength(int leg) const;
    // Texts over the result work table "temptable.db".
    std::string LegWinnersText(int leg) const;
    std::string LegRunnersText(int leg) const;
    std::string LegTopNameText(int leg, bool individual) const;
    static bool IsGridRangeEmpty(const StringGrid& grid, int firstRow);
    static void ClearGridRowsFrom(StringGrid& grid, int firstRow);
    // Widths in Shift-JIS bytes, cut at whole characters.
    // The sum of the leg distances in km as the leg grid holds them now (each leg as
    // the stored single-precision value), so distances typed since the open count.
    double TotalDistance() const;
    static std::string TruncateToBytes(const std::string& text, int n);
    // mode 0 (or below) full-width, 1 half-width, 2 hiragana, 3 katakana.
    static std::string ConvertTextWidth(const std::string& text, int mode);
    static std::string ToFullWidth(const std::string& text);
    static bool TextsMatchLoosely(const std::string& a, const std::string& b);

    // ---- Entry pages ----
    // The dirty flags of the two grids are their Modified flags.
    int MarkedRowA = 0, MarkedRowB = 0; // rows marked in the visible entry grid; 0 = none
    bool MarkFlip = false;              // which mark a third marking replaces
    int CopiedRunnerKey = 0;            // runner key remembered by "行複写"; <= 0 nothing
    Action N14{"N14", "繰り上げ"};
    Action N15{"N15", "繰り下げ"};
    MenuDef NGakunenMenu{"学年繰変更", {&N14, &N15}};
    // Pop-up menu of both entry grids (right button).
    MenuDef EntryGridPopup{"", {&swaprows, &Adelete, &Acopy, &Apaste, &CopyRunner}};
    // Buttons of the entry page that the tab change shows and hides.
    Action StartListPrev{"StartListPrev", "ｵｰﾀﾞｰ用紙ﾚﾎﾟｰﾄ出力"};
    Action StartListExcel{"StartListExcel", "ｽﾀｰﾄﾘｽﾄｴｸｾﾙ出力"};
    Action SwapTeamRunner{"SwapTeamRunner", "選手交換"};
    Action SpeedButtonOpenCSV{"SpeedButtonOpenCSV", "CSVエントリー"};
    Action SpeedButtonPackEntry{"SpeedButtonPackEntry", "エントリー詰め"};
    Action startListWeb{"startListWeb", "ｽﾀｰﾄﾘｽﾄWEB出力"};
    Action SB_TeamCopy{"SB_TeamCopy", "チームコピー"};
    Action SetOrder{"SetOrder", "走順設定"};
    Signal<> EntryMarksChanged; // the marked rows changed: repaint column 0
    void wireEntryHandlers();
    void ClearEntryRowMarks();
    void EntryTabChange();
    CellStyle TeamEntryGridDrawCell(int col, int row) const;
    CellStyle RunnerEntryGridDrawCell(int col, int row) const;
    // False when the cell cannot be selected.
    bool TeamEntryGridSelectCell(int col, int row);
    bool RunnerEntryGridSelectCell(int col, int row);
    void TeamEntryGridClick();
    void TeamEntryGridEnter();
    void RunnerEntryGridClick();
    void RunnerEntryGridEnter();
    void TeamEntryGridExit();
    void RunnerEntryGridExit();
    void TeamEntryGridKeyPress(char32_t& key);
    void RunnerEntryGridKeyPress(char32_t& key);
    void TeamEntryGridSetEditText(int col, int row, const std::string& text);
    void RunnerEntryGridSetEditText(int col, int row, const std::string& text);
    // Mouse down on a cell of either entry grid; with the right button in column 0 the
    // view opens EntryGridPopup and nothing else happens.
    void RunnerEntryGridMouseDown(StringGrid& grid, bool rightButton, int col, int row);
    // TeamUpDownChanging before the position changes, TeamUpDownMouseDown after.
    void TeamUpDownChanging();
    void TeamUpDownMouseDown();
    void TeamUpDownEnter() {}
    // Saves the runners shown, then shows team's.
    void ShowRunnerTeam(int team);
    void swaprowsExecute();
    void AdeleteExecute();
    void AcopyExecute();
    void ApasteExecute();
    void CopyRunnerClick();
    void N14Click() { ShiftSchoolYears(1); }
    void N15Click() { ShiftSchoolYears(2); }
    void ShiftSchoolYears(int mode);
    void ClearAllRemarks();
    void RadioClickEntryClick(RadioButton& clicked);
    // The reading the input method composed (its pre-edit text), handed over by the view
    // when the composition is committed.
    void EntryGridComposition(const std::string& reading);

private:
    StringGrid& visibleEntryGrid();
    bool runnerTabShown() const;
    void reloadRunnerGrid();
    int teamGridTeam() const;
    int runnerTeamToShow() const;
    void showEntryTabControls(bool teams);
    void setEntryGridIme(StringGrid& grid, int col);
    void markEntryRow(int row);
    bool moveEntryCell(StringGrid& grid, int col, int row);
    void enableTeamExchange(bool bothMarked);
    void updateMarkActions(bool runnerGridClicked);
    void setCopiedRunnerKey(int key);
    bool runnerCopied() const;
    bool bothRowsMarked();
    void swapTeamRecords(int a, int b);

public:

    // ---- Creating and opening a race ----
    void MakeKeyNameExecute();
    void OpenKeyNameExecute();

    // ---- Passing-time input ----
    void saveInputDataExecute();
    // Shared by InputGrid, the split grid (Tag 9) and the clock window's grid (Tag 10).
    void InputGridKeyPress(StringGrid& grid, char32_t& key);
    void InputGridKeyPress(char32_t& key) { InputGridKeyPress(InputGrid, key); }
    std::string CompleteTimeFromAbove(const std::string& typed, const std::string& above) const;
    CellStyle InputGridDrawCell(int col, int row) const;
    // The advanced-start or restart time under a leg title (row 0, time column),
    // drawn bottom-right over the title; empty Text when the relay point has none.
    CellStyle InputGridTitleMark(int col) const;
    void InputGridEnter(StringGrid& grid);
    void InputGridExit(StringGrid& grid);
    // A time typed and not yet completed is completed as leaving its cell would: every
    // action that reads or saves the passing grids runs this first.
    void CompleteEditedTime() { completeLeftTimeCell(nullptr, 0, 0); }
    void InputGridSelectCell(int col, int row);
    void InputGridClick();
    void InputGridSetEditText(StringGrid& grid, int col, int row, const std::string& text);
    void InputGridDblClick();
    void OpenClockInputFormExecute();
    void chk100Click();
    // Connects chk100 and the clock-window action; called once from wireHandlers.
    void wireInputHandlers();

private:
    void enableInputActions(bool on);
    // The longest text a cell of these grids takes while typing.
    int timeCodeLimit(const StringGrid& grid) const;
    bool completesAt(const StringGrid& grid, int col, int row) const;
    void completeTimeCell(StringGrid& grid, int col, int row);
    void completeLeftTimeCell(const StringGrid* movingIn, int col, int row);
    // The time cell typed into and not yet completed.
    struct EditedTimeCell {
        StringGrid* Grid = nullptr;
        int Col = 0, Row = 0;
    } editedTime_;
    // The passing grid last entered and not yet left: its exit may come after the next
    // grid's enter.
    const StringGrid* enteredInputGrid_ = nullptr;
    bool duplicateNumberAbove(int col, int row) const;
    void styleTimeCell(CellStyle& st, int col, int row) const;
    // filled[leg]: the rows of that leg's column a split transfer wrote down to.
    void reportPassingsBelowStream(const std::vector<int>& filled) const;
    // "\n<leg>区：<row> 行目より後に <n> 件" for the passings in that leg's input rows after
    // the row-th, up to the grid row end; "" when there are none.
    std::string legPassingsBelow(int leg, int row, int end) const;
    struct SplitTransfer {
        std::vector<int> filled;                // per leg, as reportPassingsBelowStream takes it
        int kept = 0, keptLeg = 0, keptRow = 0; // passings not written over other values; the last
    };
    // The split rows into the leg columns of InputGrid; keepFilled leaves every passing
    // whose cells hold other values there.
    SplitTransfer writeSplitToInput(bool keepFilled);

public:
    // ---- Split grid and its transfer (MainSplitGrid.cpp) ----
    Action Slit2InpGrid{"Slit2InpGrid", "入力Gへ"};
    Action InputGrid2SlitGrid{"InputGrid2SlitGrid", "入力Gから"};
    Action ActionRepaintSlitGrid{"ActionRepaintSlitGrid", "区"};
    Action ActionInsertRow{"ActionInsertRow", "行挿入"};
    Action ActionDelRow{"ActionDelRow", "行削除"};
    // Pop-up menu of the split grid.
    MenuDef SlitGridPopup{"", {&ActionInsertRow, &ActionDelRow}};
    // The first split row kept for the absent teams.
    int SlitAbsentRow() const;
    // Fills in the legs and team names (all rows, or up to the current one). Returns the
    // row whose number matches no team (where the walk stopped), 0 when none did.
    int RefreshSplitGridLegs(StringGrid& grid, bool all);
    // toInput: the split rows into the leg columns of InputGrid; else the input grid's
    // passings back into the split grid in time order. False when the user said No.
    bool TransferSplitGrid(bool toInput);
    void Slit2InpGridExecute();
    void InputGrid2SlitGridExecute();
    void ActionRepaintSlitGridExecute();
    void ActionInsertRowExecute() { EditSplitGridRow(true); }
    void ActionDelRowExecute() { EditSplitGridRow(false); }
    void EditSplitGridRow(bool insert);
    void DeleteGridRow(StringGrid& grid);
    void InsertGridRow(StringGrid& grid);
    void tempKukanGridKeyPress(char32_t& key);
    bool tempKukanGridSelectCell(int col, int row);
    CellStyle tempKukanGridDrawCell(int col, int row) const;
    void ToolButtonSlitPanelClick();
    // A passing the timing file's import laid into the split grid, with the leg it gave it.
    struct ImportedSplitRow {
        std::string Number, Time, Leg;
    };
    // Those rows: their legs (and, after a new start, their input rows) stand while the
    // split grid holds just these rows; a desk's edit makes the grid the desk's again.
    std::vector<ImportedSplitRow> SplitImportRows;
    bool splitHoldsImport() const;

    // ---- Grid clipboard texts, pasting and cell editing (MainGridClipboard.cpp) ----
    Action ActionToClipbord{"ActionToClipbord", "ｺﾋﾟｰ"};
    Action ActionClipPaste{"ActionClipPaste", "貼付"};
    Action ActionCellInsert{"ActionCellInsert", "セル挿入"};
    Action ActionCellDelete{"ActionCellDelete", "セル削除"};
    Action ActionClearSlitGrid{"ActionClearSlitGrid", "ｽﾘｯﾄｸﾞﾘｯﾄﾞｸﾘｱ"};
    // The split panel's tool bar.
    // Two rows, so that the panel leaves the input grid its width.
    MenuDef SlitToolBar{"", {&Slit2InpGrid, &InputGrid2SlitGrid, &ActionRepaintSlitGrid, nullptr, &ActionToClipbord,
                             &ActionClipPaste, nullptr, &ActionCellInsert, &ActionCellDelete, nullptr,
                             &ActionClearSlitGrid}};
    MenuDef SlitFileToolBar{"", {&OpenSingleCSV, &ActionOpenAllCSV, &ActionSetAllCSV, &ActionGetDeamon, nullptr,
                                 &ActionMergeCSV, &ActionPutSlitText}};
    // Pop-up menu of the input grid (PopupMenu2).
    Action PopInsertCell{"PopInsertCell", "行挿入"};
    Action PopDeleteCell{"PopDeleteCell", "行削除"};
    Action PopCopyCell{"PopCopyCell", "コピー"};
    Action PopPasteCell{"PopPasteCell", "貼り付け"};
    Action PopClearColumn{"PopClearColumn", "列ｸﾘｱ"};
    Action PopPastePairs{"PopPastePairs", "行貼付"};
    Action PopCopyLeg{"PopCopyLeg", "区間内容ｺﾋﾟｰ"};
    MenuDef PopupMenu2{"", {&PopInsertCell, &PopDeleteCell, nullptr, &PopCopyCell, &PopPasteCell, nullptr,
                            &PopClearColumn, &PopPastePairs, nullptr, &PopCopyLeg}};
    void PopupMenu2Popup() {}
    // toSplit: the split grid, else InputGrid.
    void CopyGridToClipboard(bool toSplit);
    void ActionToClipbordExecute() { CopyGridToClipboard(true); }
    void ActionInputGridToClipboardExecute() { CopyGridToClipboard(false); }
    void ActionCopyTeamGridExecute();
    void ActionClipPasteExecute();
    // 0 done, 1 refused.
    int PasteIntoSplitGrid(StringGrid& grid, int columns);
    // 0 done, 1 no text on the clipboard.
    int PasteNumberTimePairs(StringGrid& grid, bool fromStart);
    // -1 no text, 0 it holds ",", 1 a TAB, 2 neither.
    static int ClipboardSeparatorKind();
    // The Shift-JIS bytes the tables keep of a text column, where a paste into a cell
    // stops; 0 for the other columns, which their key rules hold.
    int StoredCellBytes(const StringGrid& grid, int col) const;
    // fromRow -1: every non-fixed cell; else the current column from that row down.
    static void ClearGridData(StringGrid& grid, int fromRow);
    static void ShiftColumnCells(StringGrid& grid, bool insert);
    // "行挿入"/"セル挿入" and "行削除"/"セル削除" on a grid, with their questions.
    void InsertColumnCell(StringGrid& grid);
    void DeleteColumnCell(StringGrid& grid);
    void PopCopyCellClick();
    void PopPasteCellClick();
    void PopClearColumnClick();
    void PopPastePairsClick();
    void ActionClearSlitGridExecute();
    void ClearInputGridExecute();
    void wireSplitHandlers();

    // ---- Timing-file import (MainTimingImport.cpp) ----
    Action OpenSingleCSV{"OpenSingleCSV", "ｼﾝｸﾞﾙCSV取込"};
    Action ActionOpenAllCSV{"ActionOpenAllCSV", "000.csv指定"};
    Action ActionSetAllCSV{"ActionSetAllCSV", "自動取込"};    // automatic import on/off
    Action ActionGetDeamon{"ActionGetDeamon", "自動入力Gへ"}; // transfer without the question
    StringGrid TimingCsvGrid{"TimingCsvGrid"}; // the timing file as read; never shown
    long long AutoImportSize = -1;            // FromPath's size when it was last read
    bool AutoImportTornLine = false;          // its last line had no line end: left for later
    bool AutoTransferHeld = false;            // a transfer waits for the input grid's editor
    bool MainWindowActive = false;            // kept by the window on every activation change
    // FromPath's bytes as last read: a later reading must begin with them, else the file
    // was replaced and the import holds (AutoImportReplaced) until the desk starts it again.
    std::string AutoImportRead;
    bool AutoImportReplaced = false;
    // Where the file's passings begin when it took over from another (a new start): per
    // leg the input rows filled before, per team its last leg there. Empty: from the start.
    std::vector<int> AutoImportRowBase, AutoImportTeamLegBase;
    // What the last import left out or found missing, and what its transfer did not write.
    std::string AutoImportReport, AutoTransferReport;
    void OpenSingleCSVExecute();
    // The single CSV's passings (number 1..998, time >= 1) packed into the split grid.
    void CopyCsvGridToSplitGrid();
    void ActionOpenAllCSVExecute();
    void ActionSetAllCSVExecute();
    void ActionGetDeamonExecute();
    void Edit1KeyDown(char32_t& key);
    void Timer1Timer();
    // FromPath's leg-ending passings into the split grid (and on to the input grid when
    // AutoTransferNoAsk is set); false when the file could not be read. A last line
    // without its line end is taken only with takeTornLine. What was left out goes to
    // LabelAutoImport, never to a box: the timer runs this.
    bool LoadAutoImportFile(bool takeTornLine = false);
    void wireTimingImport();

private:
    // The held transfer, once no editor of the input grid is open.
    void runHeldTransfer();
    // polled: a tick's reading, which takes nothing of a file that was replaced.
    bool loadTimingFile(bool takeTornLine, bool polled);
    bool readTimingFile(bool takeTornLine, bool polled);
    std::string missingPointsText(const TimingLegs& legs) const;
    // The desk switched the import on or chose the file again.
    void startTimingStream();
    void takeInputGridAsBase();
    void pollTimingFile();
    void importGuarded(const std::function<void()>& import);
    // Why the import holds ("" when it does not), told beside the progress bar.
    std::string autoImportHold() const;
    void showAutoImportState();
    static std::string joinTexts(const std::vector<std::string>& parts);

    // Two Yes clear every data cell of the grid; true when cleared.
    bool clearWholeGrid(StringGrid& grid, const std::string& firstQuestion);
    // A user edit of the split grid needs the input saved, as typing there does.
    void splitGridEdited() { InputGrid.SetModified(true); }

public:
    // ---- Class filter ----
    std::string GetClassFilter() const;
    void SetClassFilter(const std::string& text);
    bool IsClassFilteredOut(char cls) const;

    // ---- Runner order and exchange ----
    // The runner tab's SetOrder and the team tab's SwapTeamRunner buttons run these.
    Action ArrangeRunner{"ArrangeRunner", "走順設定"};
    Action SwapTmRunnr{"SwapTmRunnr", "チーム間選手交換"};
    void ArrangeRunnerExecute();
    void SwapTmRunnrExecute();
    // Exchanges runner (teamA, slotA) with (teamB, slotB), every field with it:
    // 0 done, 1 refused (a record is missing).
    int SwapRunnerRecords(int teamA, int slotA, int slotB, int teamB);

    // ---- Absent teams ----
    // Some team is absent and the input rows kept for absent teams are all empty.
    bool AbsentTeamRowsEmpty() const;
    // Dummy numbers and passing times in the rows kept for the absent teams.
    void FillAbsentTeamRows();
    // Fills those rows, or empties them when they hold anything.
    void ActionFillDummyExecute();

    // ---- CSV merge and the split text file (MainCsvMerge.cpp, MainSplitText.cpp) ----
    Action ActionMergeCSV{"ActionMergeCSV", "CSVの結合"};
    Action ActionPutSlitText{"ActionPutSlitText", "ﾃｷｽﾄ出力"};
    void ActionMergeCSVExecute();
    // Joins the folder's CSV files into its "marged.csv"; true when written.
    bool MergeCsvFiles(const std::filesystem::path& folder);
    void ActionPutSlitTextExecute() { doPutSlitText(); }
    void doPutSlitText();
    // The split rows of running teams as the lines of "slit_text.txt".
    std::string SplitTextLines() const;
    void wireSplitFileHandlers();

    // ---- Workbooks and the print macro workbook ----
    // mode 0 opens the workbook, 1 only probes it: 2 missing, 1 in use elsewhere (or
    // opened), 0 free (mode 0: the desktop could not open it, which is always told);
    // -1 any other mode. messages: report a missing or busy file.
    int OpenExcelMacroBook(const std::string& path, int mode, bool messages);
    // Offers the print macro workbook once per run; true when it was opened.
    bool OfferMacroBook();
    void OpenExcelMacroExecute();
    // The workbook road of the Excel outputs: the user names the file, it is written
    // from the tab text, announced, and opened when the macro workbook was opened too.
    void SaveTextAsWorkbook(const std::string& tabText);

    // ---- Start lists ----
    // tag 1: the real-time list and the Excel start list; else the order sheet.
    void StartListExecute(int tag);
    void WriteMembersCsv();
    void PutToExcel(const std::vector<std::string>& headLines);
    // "とき:%d年%d月%d日" of the edition's date; a cell that is no date throws ConvertError.
    std::string RaceDateLine() const;
    // The organiser lines and the date line; with legs also a line per leg and the total.
    std::vector<std::string> StartListHeadLines(bool withLegs);
    void wireStartListHandlers();

    // ---- Web pages: the DataHTML folder, opening and deleting them, the start list ----
    // False when the page could not be written (its path is shown).
    bool WriteDataHtmlFile(const std::string& text, const std::string& fileName);
    void showHtmlExecute();
    void showHtmlPCExecute();
    void killHtmlExecute();
    int DeleteHtmlFiles(const std::filesystem::path& folder);
    int DeleteFilesWithExt(const std::filesystem::path& folder, const std::string& ext);
    void startListWebClick();
    void WriteStartListPages(int isOrder);
    void wireWebHandlers();

    // ---- Waiting information and the clock-time window's links ----
    // Actions of the clock-time window (category ClockInput); they only forward to it.
    Action OpenCsvData{"OpenCsvData", "CSVを開く(&O)"};
    Action SaveCsvData{"SaveCsvData", "CSV保存(&S)"};
    Action clippeek{"clippeek", "CSV"};
    Action close_clockInput{"close_clockInput", "閉じる"};
    Action accumuClc{"accumuClc", ">>"};
    Action clearGrid{"clearGrid", "画面ｸﾘｱ"};
    void OpenDelayInfFormExecute();
    // 0 ready, 1 refused (no number typed at the relay point).
    int LoadDelayGrid();
    void SaveDelayGrid();
    // 0 valid, -1 a number not typed at the relay point, typed twice or out of range.
    int CheckDelayGrid() const;
    // 0 no file, 1 deleted, 2 failed.
    int DeleteClockLog();
    void deleteClockLogExecute();
    void wireClockHandlers();

    // ---- What the results are computed from (ResultInputs.cpp) ----
    // Counts the changes of everything the results computation reads: the input, split,
    // entry and race grids, the runner and waiting tables, the counts, the hundredths
    // option and the advanced starts. A result view remembers the count it was computed at.
    unsigned long long InputRevision() const { return inputRevision_; }
    void MarkInputsChanged();
    Signal<> InputsChanged;
    // Connects the models; once, when every window of the run exists.
    void WatchResultInputs();

    // ---- Result output ----
    void OutputResultExecute();
    // The starting teams into the scoreboard file.
    void denkoStartListExecute();
    // The scoreboard file written last; empty until a write succeeded.
    std::string LastDenkoFile;
    // Connects the result action, the order set-up and the runner exchange.
    void wireOutputHandlers();

    Program& program() { return program_; }

private:
    bool closeUnsaved(bool lockReleased);
    bool openChosenRace();
    bool openLockedRace(bool& locked);
    void abandonOpen(bool locked);
    void openNewEdition();
    void openExistingEdition();
    void enableRaceOutputs();
    void readMainIni();
    void buildMenus();
    void wireHandlers();
    void disableRaceActions();
    void markPendingActions();

    Program& program_;
    bool closeRequested_ = false;
    unsigned long long inputRevision_ = 0;
};
