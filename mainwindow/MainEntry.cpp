// The entry page: the team and runner grids, their keys and input methods, the two
// row marks and the swap, row emptying, runner row copies, the school-year shift and
// the change of the shown team.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RunnerKeys.h"
#include "mainwindow/TMainForm.h"
#include "platform/KanaWidth.h"
#include "platform/Services.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kTeamOpCol = 4, kTeamClassCol = 5, kTeamTimeCol = 6;
constexpr int kRunnerRemarkCol = 6;
constexpr int kMarkColour = clGreen;
constexpr const char* kTwoMarksMissing = "入れ替える情報が２つ指定できていません。";

void swapRowCells(StringGrid& g, int a, int b) {
    for (int c = g.FixedCols(); c < g.ColCount(); ++c) {
        std::string t = g.Cells(c, a);
        g.SetCells(c, a, g.Cells(c, b));
        g.SetCells(c, b, t);
    }
}

void clearRowCells(StringGrid& g, int row) {
    for (int c = g.FixedCols(); c < g.ColCount(); ++c)
        g.SetCells(c, row, "");
}

bool rowIsEmpty(const StringGrid& g, int row) {
    for (int c = g.FixedCols(); c < g.ColCount(); ++c)
        if (!g.Cells(c, row).empty()) return false;
    return true;
}

// A zero (an OP or school year of 0) leaves a cell free; any other text, a name
// included, fills it.
bool rowHoldsData(const StringGrid& g, int row) {
    for (int c = g.FixedCols(); c < g.ColCount(); ++c) {
        const std::string& t = g.Cells(c, row);
        int v = 0;
        if (!t.empty() && !(TryStrToInt(t, v) && v == 0)) return true;
    }
    return false;
}

// Status cells cycle 0 -> 1 -> 2 -> 0; anything else starts over at 0.
std::string nextStatus(const std::string& cell) {
    int v = StrToIntDef(cell, 0);
    return IntToStr(v == 0 || v == 1 ? v + 1 : 0);
}

// The input method is off only where numbers, times or a class letter go: on Linux
// "closed" means no kanji at all, so a name column keeps it on.
ImeMode teamColumnIme(const std::string& title) {
    if (title == "ﾌﾘｶﾞﾅ") return ImeMode::HalfKatakana;
    return title == "チーム名" ? ImeMode::Hiragana : ImeMode::Close;
}

ImeMode runnerColumnIme(const std::string& title) {
    if (title == "ﾌﾘｾｲ" || title == "ﾌﾘﾒｲ") return ImeMode::HalfKatakana;
    if (title == "学年" || title == "OP") return ImeMode::Close;
    return ImeMode::Hiragana;
}

std::string teamOpText(const std::string& cell) {
    int v = 0;
    if (cell.empty() || (TryStrToInt(cell, v) && v == 0)) return {};
    if (TryStrToInt(cell, v) && v == 1) return "OP";
    if (TryStrToInt(cell, v) && v == 2) return "欠";
    return cell;
}

std::string runnerRemarkText(const std::string& cell) {
    static const char* const labels[] = {"", "OP", "記録なし", "記録なし"};
    int v = 0;
    if (TryStrToInt(cell, v) && v >= 0 && v <= 3) return labels[v];
    return cell;
}

bool isAsciiLetter(char32_t k) {
    return (k >= U'a' && k <= U'z') || (k >= U'A' && k <= U'Z');
}

} // namespace

void TMainForm::wireEntryHandlers() {
    EntryTab.OnChange = [this] { EntryTabChange(); };
    swaprows.OnExecute = [this] { swaprowsExecute(); };
    Adelete.OnExecute = [this] { AdeleteExecute(); };
    Acopy.OnExecute = [this] { AcopyExecute(); };
    Apaste.OnExecute = [this] { ApasteExecute(); };
    CopyRunner.OnExecute = [this] { CopyRunnerClick(); };
    N14.OnExecute = [this] { N14Click(); };
    N15.OnExecute = [this] { N15Click(); };
    RadioClickEntry.OnClick = [this] { RadioClickEntryClick(RadioClickEntry); };
    RadioTenkeyEntry.OnClick = [this] { RadioClickEntryClick(RadioTenkeyEntry); };
    showEntryTabControls(EntryTab.ActivePageIndex() == 0);
}

// Only the tab change shows a tab, so the tab, the grid shown and the actions agree.
bool TMainForm::runnerTabShown() const {
    return EntryTab.ActivePageIndex() == 1;
}

StringGrid& TMainForm::visibleEntryGrid() {
    return runnerTabShown() ? RunnerEntryGrid : TeamEntryGrid;
}

void TMainForm::reloadRunnerGrid() {
    SetupRunnerEntryGrid();
}

// The team the team grid's current row names; TeamUpDown follows it.
int TMainForm::teamGridTeam() const {
    return std::clamp(TeamEntryGrid.CurRow(), 1, std::max(TeamNum, 1));
}

// A runner grid with an edition open always holds a team, so no typing there is lost:
// the one shown before while it is still a team, else the team grid's (1 on an open).
int TMainForm::runnerTeamToShow() const {
    return CurrTeamNo >= 1 && CurrTeamNo <= TeamNum ? CurrTeamNo : teamGridTeam();
}

// Every change of the shown team comes here: the rows in the grid are stored under
// the team they were loaded for before another team's are read.
void TMainForm::ShowRunnerTeam(int team) {
    if (RunnerEntryGrid.Modified()) SaveRunnerRows();
    CurrTeamNo = team;
    reloadRunnerGrid();
}

// ---- Tabs, marks and the actions they enable ----

void TMainForm::ClearEntryRowMarks() {
    MarkedRowA = MarkedRowB = 0;
    enableTeamExchange(false);
    EntryMarksChanged();
}

// The exchange takes its two teams from the marks of the team grid: only while that
// grid is shown with two rows marked.
void TMainForm::enableTeamExchange(bool bothMarked) {
    const bool on = bothMarked && !runnerTabShown();
    SwapTeamRunner.SetEnabled(on);
    SwapTmRunnr.SetEnabled(on);
}

void TMainForm::setCopiedRunnerKey(int key) {
    CopiedRunnerKey = key;
    RunnerCopied = key >= 1;
}

// A layout rebuild forgets the copy through RunnerCopied.
bool TMainForm::runnerCopied() const {
    return RunnerCopied && CopiedRunnerKey >= 1;
}

void TMainForm::EntryTabChange() {
    ClearEntryRowMarks();
    swaprows.SetEnabled(false);
    CopyRunner.SetEnabled(false);
    Apaste.SetEnabled(false);
    const bool teams = EntryTab.ActivePageIndex() == 0;
    showEntryTabControls(teams);
    Adelete.SetEnabled(true);
    Acopy.SetEnabled(!teams);
    if (!teams) {
        // A tab click never takes the focus from the team grid: the team is taken here.
        ShowRunnerTeam(teamGridTeam());
        Apaste.SetEnabled(runnerCopied());
    }
    KukanSpinDisable(MainPage.ActivePageIndex());
}

void TMainForm::showEntryTabControls(bool teams) {
    for (Control* c :
         std::initializer_list<Control*>{&TeamEntryGrid, &StartListPrev, &StartListExcel, &SwapTeamRunner,
                                         &SpeedButtonOpenCSV, &SpeedButtonPackEntry, &startListWeb})
        c->SetVisible(teams);
    for (Control* c : std::initializer_list<Control*>{&RunnerEntryGrid, &TeamUpDown, &SetOrder,
                                                      &RadioClickEntry, &RadioTenkeyEntry})
        c->SetVisible(!teams);
    SB_TeamCopy.SetVisible(true);
    enableTeamExchange(false);
}

void TMainForm::markEntryRow(int row) {
    if (row == MarkedRowA)
        MarkedRowA = 0;
    else if (row == MarkedRowB)
        MarkedRowB = 0;
    else if (MarkedRowA == 0)
        MarkedRowA = row;
    else if (MarkedRowB == 0)
        MarkedRowB = row;
    else {
        MarkFlip = !MarkFlip;
        (MarkFlip ? MarkedRowB : MarkedRowA) = row;
    }
    if (MarkedRowA == MarkedRowB) MarkedRowB = 0;
    EntryMarksChanged();
}

void TMainForm::updateMarkActions(bool runnerGridClicked) {
    const bool both = MarkedRowA > 0 && MarkedRowB > 0;
    swaprows.SetEnabled(both);
    enableTeamExchange(both);
    CopyRunner.SetEnabled(both && runnerTabShown());
    Apaste.SetEnabled(runnerCopied() && runnerGridClicked);
}

bool TMainForm::bothRowsMarked() {
    if (MarkedRowA > 0 && MarkedRowB > 0) return true;
    Dlg().ShowMessage(kTwoMarksMissing);
    swaprows.SetEnabled(false);
    return false;
}

void TMainForm::RunnerEntryGridMouseDown(StringGrid& grid, bool rightButton, int col, int row) {
    const bool teamGrid = &grid == &TeamEntryGrid;
    if (row < 1 || row >= grid.RowCount()) return;
    if ((teamGrid && col == kTeamOpCol) || (!teamGrid && col == kRunnerRemarkCol && row >= 2)) {
        grid.SetCells(col, row, nextStatus(grid.Cells(col, row)));
        return;
    }
    if (col == 0) {
        if (rightButton) return;
        grid.SetRow(row);
        markEntryRow(row);
    }
    updateMarkActions(!teamGrid);
}

// ---- Drawing ----

CellStyle TMainForm::TeamEntryGridDrawCell(int col, int row) const {
    CellStyle st;
    st.Text = TeamEntryGrid.Cells(col, row);
    if (col == 0 && row >= 1 && (row == MarkedRowA || row == MarkedRowB)) st.Background = kMarkColour;
    if (row < TeamEntryGrid.FixedRows() || col < TeamEntryGrid.FixedCols()) {
        st.Align = CellAlign::Center;
        return st;
    }
    if (col == kTeamOpCol) {
        st.Align = CellAlign::Center;
        st.Text = teamOpText(st.Text);
    } else if (col == kTeamTimeCol) {
        st.Align = CellAlign::Right;
        st.Text = StrToIntDef(st.Text, 0) != 0 ? TimeToDisplayText(st.Text) : std::string();
    } else {
        st.Align = col == kTeamClassCol ? CellAlign::Center : CellAlign::Left;
    }
    return st;
}

CellStyle TMainForm::RunnerEntryGridDrawCell(int col, int row) const {
    CellStyle st;
    st.Text = RunnerEntryGrid.Cells(col, row);
    if (col == 0 && row >= 1 && (row == MarkedRowA || row == MarkedRowB)) st.Background = kMarkColour;
    if (row < RunnerEntryGrid.FixedRows() || col < RunnerEntryGrid.FixedCols()) {
        st.Align = CellAlign::Center;
        if (col == 0 && row == 0) st.Text = "No." + st.Text;
        return st;
    }
    if (col == kRunnerRemarkCol) {
        st.Align = CellAlign::Center;
        st.Text = runnerRemarkText(st.Text);
    }
    return st;
}

// ---- Selection, focus and input methods ----

void TMainForm::setEntryGridIme(StringGrid& grid, int col) {
    const std::string& title = grid.Cells(col, 0);
    ImeMode m = &grid == &TeamEntryGrid ? teamColumnIme(title) : runnerColumnIme(title);
    if (&grid == &TeamEntryGrid) grid.SetEditing(true);
    grid.SetIme(m);
    SetImeMode(m);
}

bool TMainForm::TeamEntryGridSelectCell(int col, int row) {
    if (col == kTeamOpCol && row >= 1) return false;
    setEntryGridIme(TeamEntryGrid, col);
    return true;
}

bool TMainForm::RunnerEntryGridSelectCell(int col, int row) {
    if (col == kRunnerRemarkCol && row >= 1) return false;
    setEntryGridIme(RunnerEntryGrid, col);
    return true;
}

void TMainForm::TeamEntryGridClick() {
    setEntryGridIme(TeamEntryGrid, TeamEntryGrid.Col());
}

void TMainForm::TeamEntryGridEnter() {
    SetFocus(TeamEntryGrid);
    setEntryGridIme(TeamEntryGrid, TeamEntryGrid.Col());
}

void TMainForm::RunnerEntryGridClick() {
    setEntryGridIme(RunnerEntryGrid, RunnerEntryGrid.Col());
}

void TMainForm::RunnerEntryGridEnter() {
    SetFocus(RunnerEntryGrid);
    RunnerEntryGrid.SetEditing(true);
}

void TMainForm::TeamEntryGridExit() {
    const int row = TeamEntryGrid.CurRow();
    if (row != CurrTeamNo || row != RunnerGridTeam) ShowRunnerTeam(row);
}

void TMainForm::RunnerEntryGridExit() {
    SaveRunnerRows();
}

void TMainForm::TeamEntryGridSetEditText(int col, int row, const std::string& text) {
    TeamEntryGrid.SetCells(col, row, text);
}

void TMainForm::RunnerEntryGridSetEditText(int col, int row, const std::string& text) {
    if (RunnerGridTeam >= 1) RunnerEntryGrid.SetCells(col, row, text);
}

// ---- Keys ----

// Moves made by the keys obey the grid's select rule, as the user's own moves do.
bool TMainForm::moveEntryCell(StringGrid& grid, int col, int row) {
    if (col >= grid.ColCount() || row >= grid.RowCount()) return false;
    const bool allowed =
        &grid == &TeamEntryGrid ? TeamEntryGridSelectCell(col, row) : RunnerEntryGridSelectCell(col, row);
    if (allowed) grid.SetCurrent(col, row);
    return allowed;
}

void TMainForm::TeamEntryGridKeyPress(char32_t& key) {
    StringGrid& g = TeamEntryGrid;
    if (key == Key::Enter) {
        moveEntryCell(g, g.Col(), g.CurRow() + 1);
        key = Key::None;
        return;
    }
    const int col = g.Col();
    if (col == 3 || col == kTeamTimeCol) {
        FilterNumberKey(key, 1);
    } else if (col == kTeamClassCol && !Key::PassesFilters(key)) {
        // The class is always one upper-case letter: each typed key replaces the cell.
        g.SetCells(col, g.CurRow(), "");
        if (isAsciiLetter(key))
            key = key >= U'a' ? key - (U'a' - U'A') : key;
        else if (key != Key::Backspace)
            key = Key::None;
    }
}

void TMainForm::RunnerEntryGridKeyPress(char32_t& key) {
    // Rows of no team would have nowhere to be stored.
    if (RunnerGridTeam < 1 && key != Key::Enter && !Key::PassesFilters(key)) key = Key::None;
    if (key != Key::Enter) return;
    key = Key::None;
    StringGrid& g = RunnerEntryGrid;
    const int col = g.Col(), row = g.CurRow(), last = g.ColCount() - 1;
    // A column that cannot be selected ("OP") ends the row like the last column.
    if (col != 2 && col != last && moveEntryCell(g, col + 1, row)) return;
    if (moveEntryCell(g, 1, row + 1)) return;
    if (col == 2) moveEntryCell(g, col + 1, row);
}

// ---- Swap, empty, copy and paste of rows ----

void TMainForm::swaprowsExecute() {
    if (!bothRowsMarked()) return;
    const bool teams = !runnerTabShown();
    swapRowCells(visibleEntryGrid(), MarkedRowA, MarkedRowB);
    if (teams) swapTeamRecords(MarkedRowA, MarkedRowB);
    EntryMarksChanged();
}

// The runners follow their team: the re-keyed runner records and the swapped team
// rows are stored in one transaction, so the tables never pair a team with another
// team's runners. A failure puts the grid back as the tables are.
void TMainForm::swapTeamRecords(int a, int b) {
    if (TaikaiNo < 1 || DataFolder.empty()) return;
    if (RunnerEntryGrid.Modified()) SaveRunnerRows();
    try {
        Transaction t(RaceDb());
        SwapTeamRunners(a, b);
        SaveTeamRows();
        t.Commit();
    } catch (...) {
        swapRowCells(TeamEntryGrid, a, b);
        throw;
    }
    reloadRunnerGrid();
}

void TMainForm::AdeleteExecute() {
    StringGrid& g = visibleEntryGrid();
    const int row = g.CurRow();
    if (row < g.FixedRows()) return;
    if (Dlg().MessageDlg(Format("%s のテキストを消去しますか？", g.Cells(0, row).c_str()),
                         MsgKind::Confirmation, Btn::YesNo) != mrYes)
        return;
    clearRowCells(g, row);
}

void TMainForm::AcopyExecute() {
    const int row = RunnerEntryGrid.CurRow();
    setCopiedRunnerKey(row >= 1 ? RunnerKey(RunnerGridTeam, row - 1) : 0);
    if (runnerCopied()) Apaste.SetEnabled(true);
}

// The stored record is pasted: edits of the source row not yet saved are not.
void TMainForm::ApasteExecute() {
    if (!runnerTabShown()) return;
    auto r = ReadRunnerRecord(CopiedRunnerKey);
    if (!r) {
        Dlg().ShowMessage("貼付に失敗しました。");
        return;
    }
    StringGrid& g = RunnerEntryGrid;
    const int row = g.CurRow();
    if (row < 1) return;
    const std::string texts[] = {r->Sei, r->Mei, r->SeiKana, r->MeiKana, r->Age ? IntToStr(r->Age) : ""};
    for (int c = 1; c <= 5; ++c)
        g.SetCells(c, row, texts[c - 1]);
}

void TMainForm::CopyRunnerClick() {
    if (!runnerTabShown() || !bothRowsMarked()) return;
    StringGrid& g = RunnerEntryGrid;
    if (rowIsEmpty(g, MarkedRowA)) return;
    if (rowHoldsData(g, MarkedRowB)) {
        Dlg().ShowMessage("コピー先が空ではありません。");
        return;
    }
    for (int c = g.FixedCols(); c < g.ColCount(); ++c)
        g.SetCells(c, MarkedRowB, g.Cells(c, MarkedRowA));
}

// ---- The shown team ----

void TMainForm::TeamUpDownChanging() {
    SaveTeamRows();
}

void TMainForm::TeamUpDownMouseDown() {
    SaveRunnerRows();
    ClearEntryRowMarks();
    swaprows.SetEnabled(false);
    CopyRunner.SetEnabled(false);
    Apaste.SetEnabled(runnerCopied());
    const int team = TeamUpDown.Value();
    TeamEntryGrid.SetRow(team);
    ShowRunnerTeam(team);
}

// ---- Runner table statements ----

void TMainForm::ShiftSchoolYears(int mode) {
    if (mode != 1 && mode != 2) return;
    const char* question = mode == 1 ? "学年を繰り上げますか？" : "学年を繰り下げますか？";
    if (Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) != mrYes) return;
    if (TaikaiNo < 1 || DataFolder.empty()) return;
    SaveRunnerRows();
    OpenRunnerTable();
    RaceDb().Exec("UPDATE " + RunnerTableName(TaikaiNo) + " SET G_AGE=G_AGE " + (mode == 1 ? "+" : "-") +
                  "1 WHERE G_AGE >=1");
    MarkInputsChanged();
    reloadRunnerGrid();
}

void TMainForm::ClearAllRemarks() {
    OpenRunnerTable();
    OpenTeamTable();
    Database& db = RaceDb();
    Transaction t(db);
    db.Exec("UPDATE " + RunnerTableName(TaikaiNo) + " SET REMARK=0");
    db.Exec("UPDATE " + TeamTableName(TaikaiNo) + " SET REMARK=0");
    t.Commit();
}

// ---- Entry choice and the reading copy ----

void TMainForm::RadioClickEntryClick(RadioButton& clicked) {
    RadioButton& other = &clicked == &RadioClickEntry ? RadioTenkeyEntry : RadioClickEntry;
    other.SetChecked(!clicked.Checked());
}

void TMainForm::EntryGridComposition(const std::string& reading) {
    if (!useFuriganaCTR) return;
    StringGrid* g = nullptr;
    int target = 0;
    if (FocusedControl == TeamEntryGrid.Name() && TeamEntryGrid.Col() == 1) {
        g = &TeamEntryGrid;
        target = 2;
    } else if (FocusedControl == RunnerEntryGrid.Name() &&
               (RunnerEntryGrid.Col() == 1 || RunnerEntryGrid.Col() == 2)) {
        g = &RunnerEntryGrid;
        target = RunnerEntryGrid.Col() + 2;
    }
    if (!g) return;
    const std::string kana = MapStringChars(MapStringChars(reading, kMapKatakana), kMapHalfWidth);
    if (kana.empty()) return;
    const int row = g->CurRow();
    g->SetCells(target, row, g->Cells(target, row) + kana);
}
