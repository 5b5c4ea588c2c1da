// Main window pages and grid layouts for the counts of legs, substitutes and teams,
// the question before a lower team count cuts passings, the page-change saves, the
// key filters and painters of the information grids, and the per-edition settings file.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TimeCodes.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

#include <set>

namespace {

std::string Xs(int n) { return std::string(n, 'X'); }

void setTitles(StringGrid& g, int row, const std::vector<std::string>& titles, int firstCol = 0) {
    for (size_t i = 0; i < titles.size(); ++i) g.SetCellsQuiet(firstCol + static_cast<int>(i), row, titles[i]);
}

void setSamples(StringGrid& g, const std::vector<std::string>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) g.SetColSample(static_cast<int>(i), samples[i]);
}

void shape(StringGrid& g, int cols, int rows, int fixedCols, int fixedRows) {
    g.SetColCount(cols);
    g.SetRowCount(rows);
    g.SetFixedCols(fixedCols);
    g.SetFixedRows(fixedRows);
}

} // namespace

void TMainForm::ApplyCountsAndLayout() {
    TeamNum = SankaSpinNum.Value();
    TeamUpDown.SetRange(1, TeamNum);
    KukanNum = KukanSpinNum.Value();
    HoketuNum = HoketuSpinNum.Value();
    // Until the first page change the input grid's painter needs it too.
    EntryTeamNum = TeamNum - CountAbsentTeams();
    FormKuriage->FollowLegCount(KukanNum);
    SetupRunnerEntryGrid();
    SetupTeamEntryGrid();
    SetupInputGrid();
    ToolButtonSlitPanel.SetChecked(showSlitPanel);
    SlitGridPanel.SetVisible(ToolButtonSlitPanel.Checked());
    if (!SlitGridPanel.Visible()) Timer1.SetEnabled(false);
    Splitter1.SetVisible(ToolButtonSlitPanel.Checked());
    SetupSplitGrid();
    SetupKukanInfGrid();
    MainPage.SetVisible(TaikaiOpen);
    KukanInfPanel.SetVisible(TaikaiOpen);
    NGakunen.SetEnabled(TaikaiOpen);
    RunnerCopied = false;
}

// Cells kept beyond the counts belong to the edition they were typed in.
void TMainForm::DropCellsBeyondCounts() {
    for (StringGrid* g : {&InputGrid, &tempKukanGrid, &TeamEntryGrid, &RunnerEntryGrid, &KukanInfGrid,
                          &taikaiBestGrid, &FormKuriage->KuriageGrid})
        g->DropHiddenCells();
}

void TMainForm::SetupInputGrid() {
    if (TaikaiIniPending) {
        TaikaiIniPending = false;
        ReadTaikaiIni();
    }
    StringGrid& g = InputGrid;
    bool modified = g.Modified();
    g.SetTag(9);
    shape(g, 1 + 2 * KukanNum, 2 + TeamNum, 1, 2);
    g.SetCellsQuiet(0, 1, "順");
    g.SetColSample(0, "XXXX");
    for (int i = 1; i <= TeamNum; ++i) g.SetCellsQuiet(0, i + 1, Format("%d", i));
    for (int leg = 1; leg <= KukanNum; ++leg) {
        g.SetCellsQuiet(2 * leg - 1, 1, "No.");
        g.SetColSample(2 * leg - 1, Xs(6));
        g.SetCellsQuiet(2 * leg, 0, Format("%d 区", leg));
        g.SetCellsQuiet(2 * leg, 1, "通過ﾀｲﾑ");
        g.SetColSample(2 * leg, Xs(chk100.Checked() ? 11 : 9));
    }
    g.SetRowHeight(0, 2.5, "区");
    g.SetModified(modified);
}

void TMainForm::SetupSplitGrid() {
    StringGrid& g = tempKukanGrid;
    bool modified = g.Modified();
    g.SetTag(9);
    int rows = TeamNum * KukanNum;
    shape(g, 5, 2 + rows, 1, 2);
    g.SetCellsQuiet(0, 1, "順");
    for (int i = 1; i <= rows; ++i) g.SetCellsQuiet(0, i + 1, Format("%d", i));
    g.SetCellsQuiet(1, 1, "No.");
    g.SetCellsQuiet(2, 0, "到着");
    g.SetCellsQuiet(2, 1, "通過ﾀｲﾑ");
    g.SetCellsQuiet(3, 1, "区");
    g.SetCellsQuiet(4, 0, "チーム");
    g.SetCellsQuiet(4, 1, "チーム名");
    setSamples(g, {"XXXX", Xs(6), Xs(9), Xs(6), Xs(27)});
    g.SetRowHeight(0, 1.8, "区");
    g.SetModified(modified);
}

void TMainForm::SetupTeamEntryGrid() {
    StringGrid& g = TeamEntryGrid;
    bool modified = g.Modified();
    shape(g, 7, 1 + TeamNum, 1, 1);
    setTitles(g, 0, {"Noｶｰﾄﾞ", "チーム名", "ﾌﾘｶﾞﾅ", "ｴﾘｱｽNo", "OP", "ｸﾗｽ", "前回のﾀｲﾑ"});
    setSamples(g, {Xs(7), Xs(21), Xs(21), Xs(9), Xs(5), Xs(4), Xs(11)});
    for (int i = 1; i <= TeamNum; ++i) g.SetCellsQuiet(0, i, Format("%d", i));
    g.SetModified(modified);
}

void TMainForm::SetupRunnerEntryGrid() {
    StringGrid& g = RunnerEntryGrid;
    bool modified = g.Modified();
    if (TaikaiOpen) CurrTeamNo = runnerTeamToShow();
    shape(g, 7, 1 + KukanNum + HoketuNum + 1, 1, 1);
    g.SetCellsQuiet(0, 0, Format("%d", CurrTeamNo));
    setTitles(g, 0, {"姓", "名", "ﾌﾘｾｲ", "ﾌﾘﾒｲ", "学年", "OP"}, 1);
    setSamples(g, {Xs(7), Xs(8), Xs(8), Xs(12), Xs(12), Xs(5), Xs(9)});
    g.SetCellsQuiet(0, 1, "監督");
    for (int k = 1; k <= KukanNum; ++k) g.SetCellsQuiet(0, k + 1, Format("%2d 区", k));
    for (int s = KukanNum + 1; s <= KukanNum + HoketuNum; ++s) g.SetCellsQuiet(0, s + 1, "補欠");
    CurrTeamName.SetCaption("Noｶｰﾄﾞ " + Format("%d", CurrTeamNo) + " " + TeamEntryGrid.Cells(1, CurrTeamNo));
    g.SetModified(modified);
    if (TaikaiOpen) LoadRunnersToGrid();
}

void TMainForm::SetupKukanInfGrid() {
    StringGrid& g = KukanInfGrid;
    bool modified = g.Modified();
    g.SetTag(1);
    shape(g, 5, 1 + KukanNum, 1, 1);
    setTitles(g, 0, {"区", "ｺﾞｰﾙ地名", "距離", "区間記録", "ｽﾌﾟﾘｯﾄ回数"});
    setSamples(g, {Xs(4), Xs(18), Xs(9), Xs(9), Xs(12)});
    for (int k = 1; k <= KukanNum; ++k) g.SetCellsQuiet(0, k, Format("%2d", k));
    g.SetModified(modified);

    StringGrid& e = taikaiBestGrid;
    e.SetTag(0);
    shape(e, 4, 2, 1, 1);
    setTitles(e, 0, {"回数", "開催日", "ｽﾀｰﾄ地点", "大会記録"});
    setSamples(e, {"9999", "1999/12/12XX", Xs(17), "X99:99:99XXXXX"});
}

void TMainForm::KukanSpinNumChange() {
    if (KukanSpinNum.Text().empty()) return;
    ApplyCountsAndLayout();
}

void TMainForm::HoketuSpinNumChange() {
    if (HoketuSpinNum.Text().empty()) return;
    ApplyCountsAndLayout();
}

void TMainForm::SankaSpinNumChange() {
    if (SankaSpinNum.Text().empty() || keepingTeamCount_) return;
    const bool lowered = SankaSpinNum.Value() < TeamNum && !countsFromEdition_;
    if (lowered && !teamCountLoweringAgreed(SankaSpinNum.Value())) return;
    if (TaikaiOpen) EnsureTeamRunnerRecords(SankaSpinNum.Value());
    ApplyCountsAndLayout();
}

// The grids are loaded after the counts: what they held before is not the edition's,
// so a lower stored count asks nothing.
void TMainForm::SetEditionCounts(int legs, int subs, int teams) {
    countsFromEdition_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{countsFromEdition_};
    KukanSpinNum.SetValue(legs);
    HoketuSpinNum.SetValue(subs);
    SankaSpinNum.SetValue(teams);
}

// Rows are passing order, not teams: a lower count cuts the last passings of every leg
// and of the split stream, which the next save would drop. The desk is asked first;
// No shows the count in use again and lays nothing out.
bool TMainForm::teamCountLoweringAgreed(int count) {
    const std::string cut = passingsBeyondTeamCount(count);
    if (cut.empty()) return true;
    const std::string question = Format("参加ﾁｰﾑ数を %d にすると、次の通過ﾃﾞｰﾀが範囲外になり保存されません。", count) +
                                 cut + Format("\n\n参加ﾁｰﾑ数を %d にしますか？", count);
    if (Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) == mrYes) return true;
    keepingTeamCount_ = true;
    SankaSpinNum.SetValue(TeamNum);
    keepingTeamCount_ = false;
    return false;
}

// One line per leg and for the split grid and the waiting rows, as the transfer tells
// passings left below its stream; empty when nothing would be cut.
std::string TMainForm::passingsBeyondTeamCount(int count) const {
    std::string lines;
    const int fixed = InputGrid.FixedRows();
    for (int leg = 1; leg <= KukanNum; ++leg)
        lines += legPassingsBelow(leg, count, fixed + TeamNum);
    const int split = GridFilledPairRows(tempKukanGrid, 1, 2 + count * KukanNum, 2 + TeamNum * KukanNum);
    if (split > 0) lines += Format("\nｽﾌﾟﾘｯﾄｸﾞﾘｯﾄﾞ：%d 行目より後に %d 件", count * KukanNum, split);
    if (int waiting = lines.empty() ? 0 : waitingRowsCut(count)) lines += Format("\n待機情報：%d 件", waiting);
    return lines;
}

// Waiting rows whose number stands at their relay point only in rows the count cuts:
// their waiting time would belong to no passing.
int TMainForm::waitingRowsCut(int count) const {
    if (!TaikaiOpen || TaikaiNo < 1) return 0;
    const int fixed = InputGrid.FixedRows();
    std::set<int> kept, cut; // waiting keys of the numbers above and below the new count
    for (int leg = 1; leg <= KukanNum; ++leg)
        for (int r = fixed; r < fixed + TeamNum && r < InputGrid.RowCount(); ++r) {
            const std::string number = Trim(InputGrid.Cells(2 * leg - 1, r));
            if (!number.empty()) (r < fixed + count ? kept : cut).insert(WaitingKey(leg, StrToIntDef(number, 0)));
        }
    int n = 0;
    try {
        Database& db = RaceDb();
        const std::string table = DelayTableName(TaikaiNo);
        if (!db.TableExists(table)) return 0;
        Query q = db.Prepare("SELECT Kukan_Team FROM " + table);
        while (q.Step()) {
            const int key = q.Column(0).AsInteger();
            n += cut.count(key) && !kept.count(key) ? 1 : 0;
        }
    } catch (const std::exception&) {
        return 0; // an unreadable waiting table is told where it is read; the question stands
    }
    return n;
}

void TMainForm::MainPageChange() {
    int page = MainPage.ActivePageIndex();
    EntryTeamNum = TeamNum - CountAbsentTeams();
    KukanSpinDisable(page);
    ActionFillDummy.SetEnabled(page == 2 && CountAbsentTeams() > 0);
    Timer1.SetEnabled(page == 2 && SlitGridPanel.Visible());
    ClearEntryRowMarks();
    swaprows.SetEnabled(false);
    SwapTeamRunner.SetChecked(false);
    CopyRunner.SetEnabled(false);
    Apaste.SetEnabled(false);
    SaveTeamRows();
    if (KukanSpinNum.Value() != PrevKukanNum) {
        saveInputDataExecute();
        PrevKukanNum = KukanSpinNum.Value();
    }
    if (CheckSplitCounts() == 2) Dlg().ShowMessage("ｽﾌﾟﾘｯﾄの入力値に誤りがあります。");
}

void TMainForm::KukanSpinDisable(int page) {
    auto inputPageTools = [this](bool on) {
        for (Action* a : {&ToolButtonSlitPanel, &ToolButtonInputGridCopy, &ActionInputGridToClipboard, &ClearInputGrid})
            a->SetEnabled(on);
        // Off the input page the passing grids have no focus: what needs them is off too.
        if (!on) enableInputActions(false);
    };
    auto spinners = [this](bool on) {
        for (SpinEdit* s : {&KukanSpinNum, &HoketuSpinNum, &SankaSpinNum}) s->SetEnabled(on);
    };
    LabelBonrei.SetCaption("※通過ﾀｲﾑ：赤字は繰上実施、青字は繰上対象、緑字は再ｽﾀｰﾄ");
    LabelBonrei.SetVisible(page == 2);
    spinners(page == 0);
    Adelete.SetEnabled(false);
    Apaste.SetEnabled(false);
    Acopy.SetEnabled(false);
    if (page == 0) {
        SetFocus(ReceName);
        inputPageTools(false);
    } else if (page == 1) {
        bool teamTab = EntryTab.ActivePageIndex() == 0;
        denkoStartList.SetVisible(teamTab);
        CurrTeamName.SetVisible(!teamTab);
        Adelete.SetEnabled(true);
        Acopy.SetEnabled(!teamTab);
        Apaste.SetEnabled(!teamTab && RunnerCopied);
        SetFocus(teamTab ? static_cast<const Control&>(TeamEntryGrid) : RunnerEntryGrid);
        inputPageTools(false);
    } else if (page == 2) {
        SetImeMode(ImeMode::Close);
        SetFocus(InputGrid);
        inputPageTools(true);
    }
    KukanSpinNum.SetColor(KukanSpinNum.Enabled() ? clWhite : clSilver);
}

int TMainForm::CheckSplitCounts() const {
    int positive = 0;
    for (int k = 1; k <= KukanNum; ++k) {
        int v = StrToIntDef(KukanInfGrid.Cells(4, k), 0);
        if (v > 0 && v < k) return 2;
        if (v > 0) ++positive;
    }
    if (positive == 0) return 0;
    return positive == KukanNum ? 1 : 2;
}

bool TMainForm::FilterNumberKey(char32_t& key, int mode) {
    if (Key::PassesFilters(key)) return true;
    bool pass = (key >= U'0' && key <= U'9') || key == Key::Backspace || (mode == 0 && key == U'.');
    if (!pass) key = Key::None;
    return pass;
}

bool TMainForm::FilterDateKey(char32_t& key) {
    if (Key::PassesFilters(key)) return true;
    bool pass = (key >= U'0' && key <= U'9') || key == U'/' || key == Key::Backspace;
    if (!pass) key = Key::None;
    return pass;
}

void TMainForm::KukanInfGridKeyPress(StringGrid& grid, char32_t& key) {
    int col = grid.Col();
    if (grid.Tag() == 0) {
        if (col == 0 || col == 3) FilterNumberKey(key, 1);
        else if (col == 1) FilterDateKey(key);
        return;
    }
    if (key == Key::Enter) {
        if (grid.CurRow() < grid.RowCount() - 1) grid.SetRow(grid.CurRow() + 1);
        key = Key::None;
        return;
    }
    if (col == 2) FilterNumberKey(key, 0);
    else if (col == 3 || col == 4) FilterNumberKey(key, 1);
}

CellStyle TMainForm::KukanInfGridDrawCell(const StringGrid& grid, int col, int row) const {
    CellStyle st;
    st.Text = grid.Cells(col, row);
    if (row < grid.FixedRows() || col < grid.FixedCols()) {
        st.Align = CellAlign::Center;
        return st;
    }
    if (grid.Tag() == 0) {
        st.Align = col == 2 ? CellAlign::Left : CellAlign::Right;
    } else {
        st.Align = col == 1 ? CellAlign::Left : col == 2 || col == 3 ? CellAlign::Right : CellAlign::Center;
    }
    if (col == 3) st.Text = TimeToDisplayText(st.Text);
    return st;
}

void TMainForm::KukanInfGridSetEditText(int col, int row, const std::string& text) {
    KukanInfGrid.SetCells(col, row, text);
}

void TMainForm::ActEnterAsTAB(char32_t& key) {
    if (key != Key::Enter) return;
    key = Key::None;
    SetFocus(OrgName);
}

std::filesystem::path TMainForm::TaikaiIniPath(int taikaiNo) const {
    return DataFolder / Format("ini%d.INI", taikaiNo);
}

void TMainForm::ReadTaikaiIni() {
    CopyTaikaiIni();
    IniFile ini(TaikaiIniPath(TaikaiNo));
    chk100.SetChecked(ini.ReadBool("Params", "chk100", false));
    for (int k = 1; k <= KukanNum; ++k)
        KukanInfGrid.SetCellsQuiet(4, k, Format("%d", ini.ReadInteger("Params", Format("s_%d", k), 0)));
}

void TMainForm::CopyTaikaiIni() {
    if (SourceTaikaiNo == 0 || TaikaiNo == 0) return;
    auto from = TaikaiIniPath(SourceTaikaiNo);
    auto to = TaikaiIniPath(TaikaiNo);
    if (FileExists(from) && !FileExists(to)) CopyFileTo(from, to, true);
}

bool TMainForm::WriteTaikaiIni() {
    IniFile ini(TaikaiIniPath(TaikaiNo));
    ini.BeginUpdate();
    ini.WriteBool("Params", "chk100", chk100.Checked());
    for (int k = 1; k <= KukanNum; ++k)
        ini.WriteInteger("Params", Format("s_%d", k), StrToIntDef(KukanInfGrid.Cells(4, k), 0));
    const bool ok = ini.EndUpdate();
    if (!ok) ShowSettingsNotSaved(ini.FileName());
    return ok;
}

int TMainForm::TimeDigitsToSeconds(int code) const { return ::TimeDigitsToSeconds(code, chk100.Checked()); }
int TMainForm::SecondsToDigits(int value) const { return ::SecondsToDigits(value, chk100.Checked()); }
std::string TMainForm::SecondsToClockText(int value) const { return ::SecondsToClockText(value, chk100.Checked()); }
std::string TMainForm::SecondsToMarkText(int value) const { return ::SecondsToMarkText(value, chk100.Checked()); }
std::string TMainForm::TimeToDisplayText(const std::string& t) const { return ::TimeToDisplayText(t, chk100.Checked()); }
std::string TMainForm::SecondsToKanjiText(int value) const { return ::SecondsToKanjiText(value, chk100.Checked()); }
std::string TMainForm::SecondsToKanjiTextPadded(int value) const {
    return ::SecondsToKanjiTextPadded(value, chk100.Checked());
}
std::string TMainForm::DateTextToKanji(const std::string& d, int mode) const { return ::DateTextToKanji(d, mode); }
