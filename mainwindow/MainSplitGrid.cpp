// The split grid beside the input grid: one passing per row as they arrive at the
// relay points, all legs mixed. It works out each passing's leg from how often the
// team has appeared, distributes the rows into the leg columns of the input grid and
// rebuilds the stream from the input grid in time order; its row editing, key
// handling, painter and the panel's show/hide.
#include "database/Comparators.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <vector>

namespace {

constexpr int kNumberCol = 1, kTimeCol = 2, kLegCol = 3, kNameCol = 4;

void setIfChanged(StringGrid& g, int col, int row, const std::string& text) {
    if (g.Cells(col, row) != text) g.SetCells(col, row, text);
}

bool splitRowEmpty(const StringGrid& g, int row) {
    for (int c = kNumberCol; c <= kNameCol; ++c)
        if (!g.Cells(c, row).empty()) return false;
    return true;
}

int cellInt(const StringGrid& g, int col, int row) {
    return StrToIntDef(g.Cells(col, row), 0);
}

// An empty cell, or one that holds the value already.
bool cellTakes(const StringGrid& g, int col, int row, int value) {
    const std::string t = Trim(g.Cells(col, row));
    return value <= 0 || t.empty() || StrToIntDef(t, -1) == value;
}

} // namespace

int TMainForm::SlitAbsentRow() const {
    return (TeamNum - CountAbsentTeams()) * KukanNum + 2;
}

bool TMainForm::splitHoldsImport() const {
    const StringGrid& g = tempKukanGrid;
    if (SplitImportRows.empty()) return false;
    const int first = g.FixedRows(), end = first + static_cast<int>(SplitImportRows.size());
    if (end > g.RowCount()) return false;
    for (int r = first; r < end; ++r) {
        const ImportedSplitRow& row = SplitImportRows[static_cast<size_t>(r - first)];
        if (g.Cells(kNumberCol, r) != row.Number || g.Cells(kTimeCol, r) != row.Time) return false;
    }
    for (int r = end; r < g.RowCount(); ++r)
        if (!g.Cells(kNumberCol, r).empty() || !g.Cells(kTimeCol, r).empty()) return false;
    return true;
}

// The n-th appearance of a team is its passing at the end of leg n, unless the timing
// file's import gave the rows their legs from the points they were read at.
int TMainForm::RefreshSplitGridLegs(StringGrid& grid, bool all) {
    const TeamNumberTable teams(*this);
    if (&grid == &tempKukanGrid && splitHoldsImport()) {
        for (size_t i = 0; i < SplitImportRows.size(); ++i) {
            const int r = grid.FixedRows() + static_cast<int>(i);
            setIfChanged(grid, kLegCol, r, SplitImportRows[i].Leg);
            setIfChanged(grid, kNameCol, r, TeamFieldText(teams.Find(cellInt(grid, kNumberCol, r)), 0));
        }
        return 0;
    }
    std::vector<int> counts(kMaxTeams + 1, 0);
    for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) {
        const bool current = r == grid.CurRow();
        // A typed 0 is a number no team runs under: it stops the walk as any unknown one.
        const bool typed = !Trim(grid.Cells(kNumberCol, r)).empty();
        const int number = cellInt(grid, kNumberCol, r);
        const int team = typed && number == 0 ? -1 : teams.Find(number);
        if (team == -1) return r;
        std::string leg;
        if (team >= 1 && team <= TeamNum && team <= kMaxTeams) {
            const int n = ++counts[team];
            leg = n <= KukanNum ? IntToStr(n) : IntToStr(n) + "Err";
        }
        // A row without a number has no leg: its leg cell is emptied, not counted.
        if (all || current) setIfChanged(grid, kLegCol, r, leg);
        setIfChanged(grid, kNameCol, r, TeamFieldText(team, 0));
        if (!all && current) break;
    }
    return 0;
}

bool TMainForm::TransferSplitGrid(bool toInput) {
    const char* question =
        toInput ? "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞにﾃﾞｰﾀを書き込んでもいいですか？" : "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞから復元しますか？";
    if (!AutoTransferNoAsk && Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) != mrYes)
        return false;
    StringGrid& split = tempKukanGrid;
    if (toInput) {
        const SplitTransfer t = writeSplitToInput(false);
        // Handed on unasked (the timing file's own mode) no box comes up in front of the desk.
        if (!AutoTransferNoAsk) reportPassingsBelowStream(t.filled);
        return true;
    }
    std::vector<PassingRec> recs;
    recs.reserve(static_cast<size_t>(KukanNum) * TeamNum);
    for (int leg = 1; leg <= KukanNum; ++leg)
        for (int r = 2; r < TeamNum + 2; ++r)
            recs.push_back({leg, cellInt(InputGrid, 0, r), cellInt(InputGrid, 2 * leg - 1, r),
                            cellInt(InputGrid, 2 * leg, r)});
    SortPassingRecs(recs);
    // Old rows would otherwise show through below the restored ones.
    ClearGridData(split, -1);
    const TeamNumberTable teams(*this);
    int row = split.FixedRows();
    for (const PassingRec& p : recs) {
        if (row >= split.RowCount()) break;
        // An absent team's dummy rows carry its alias: the team is found through it.
        if (TeamOpValue(teams.Find(p.number)) == 2) continue;
        // An empty input row is no passing; a row for it would leave a gap in the stream.
        if (p.number == 0 && p.time == 0) continue;
        if (p.number != 0) split.SetCells(kNumberCol, row, IntToStr(p.number));
        if (p.time != 0) split.SetCells(kTimeCol, row, IntToStr(p.time));
        ++row;
    }
    return true;
}

// The k-th passing of a leg goes to its k-th input row, or, for a timing file that took
// over from another, to the k-th row after those filled before.
TMainForm::SplitTransfer TMainForm::writeSplitToInput(bool keepFilled) {
    const StringGrid& split = tempKukanGrid;
    const bool imported = splitHoldsImport();
    SplitTransfer t;
    t.filled.assign(kMaxLegs + 1, 0);
    std::vector<int> counter(kMaxLegs + 1, 0);
    for (int r = 1; r < split.RowCount(); ++r) {
        const int leg = cellInt(split, kLegCol, r);
        if (leg < 1 || leg > KukanNum || leg > kMaxLegs) continue;
        const int base =
            imported && leg < static_cast<int>(AutoImportRowBase.size()) ? AutoImportRowBase[leg] : 0;
        const int target = base + ++counter[leg] + 1;
        const int number = cellInt(split, kNumberCol, r), time = cellInt(split, kTimeCol, r);
        if (keepFilled && !(cellTakes(InputGrid, 2 * leg - 1, target, number) &&
                            cellTakes(InputGrid, 2 * leg, target, time))) {
            t.kept++;
            t.keptLeg = leg;
            t.keptRow = target - 1;
            continue;
        }
        if (number > 0) InputGrid.SetCells(2 * leg - 1, target, IntToStr(number));
        if (time > 0) InputGrid.SetCells(2 * leg, target, IntToStr(time));
        t.filled[leg] = target - 1;
    }
    return t;
}

// A transfer writes over, never clears: passings an earlier, longer stream left below
// the end of a leg it filled now follow it in that leg. They are told, not deleted.
void TMainForm::reportPassingsBelowStream(const std::vector<int>& filled) const {
    const int inUseEnd = InputGrid.FixedRows() + TeamNum - CountAbsentTeams(); // absent teams' rows below
    std::string lines;
    for (int leg = 1; leg <= KukanNum && leg < static_cast<int>(filled.size()); ++leg)
        if (filled[leg] > 0) lines += legPassingsBelow(leg, filled[leg], inUseEnd);
    if (!lines.empty())
        Dlg().ShowMessage("ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞに今回の書き込みより後の通過ﾃﾞｰﾀが残っています。確認してください。" + lines);
}

std::string TMainForm::legPassingsBelow(int leg, int row, int end) const {
    const int n = GridFilledPairRows(InputGrid, 2 * leg - 1, InputGrid.FixedRows() + row, end);
    return n > 0 ? Format("\n%d区：%d 行目より後に %d 件", leg, row, n) : std::string();
}

void TMainForm::Slit2InpGridExecute() {
    StringGrid& g = tempKukanGrid;
    if (GridIsEmpty(g)) return Dlg().ShowMessage("ｽﾘｯﾄｸﾞﾘｯﾄﾞ空です。");
    if (GridRowsCheck(g) == 2) return Dlg().ShowMessage("空白行が途中に含まれています。");
    if (!GridColumnsPaired(g, kNumberCol, kTimeCol)) return Dlg().ShowMessage("空セルが含まれています。");
    // Rows below an unknown number would keep legs counted without it: nothing is written.
    if (int bad = RefreshSplitGridLegs(g, true)) {
        return Dlg().ShowMessage(
            Format("%d 行目のNo.%d はチームにありません。", bad - 1, cellInt(g, kNumberCol, bad)));
    }
    TransferSplitGrid(true);
}

void TMainForm::InputGrid2SlitGridExecute() {
    if (TransferSplitGrid(false)) RefreshSplitGridLegs(tempKukanGrid, true);
}

void TMainForm::ActionRepaintSlitGridExecute() {
    RefreshSplitGridLegs(tempKukanGrid, true);
}

void TMainForm::EditSplitGridRow(bool insert) {
    StringGrid& g = tempKukanGrid;
    const int row = g.CurRow(), n = row - 1;
    const int last = g.RowCount() - 1;
    if (splitRowEmpty(g, row)) {
        if (insert) return Dlg().ShowMessage("その行(" + IntToStr(n) + ")は空です。空行への挿入できません。");
        if (row >= last || splitRowEmpty(g, row + 1))
            return Dlg().ShowMessage("次の行(" + IntToStr(n + 1) +
                                     ")が空ですので、その行は削除はできません。");
        DeleteGridRow(g);
        return splitGridEdited();
    }
    if (insert) {
        const bool lastFilled = !g.Cells(kNumberCol, last).empty() || !g.Cells(kTimeCol, last).empty();
        if (lastFilled &&
            Dlg().MessageDlg(IntToStr(n) + "行目に空行を挿入してもいいですか？" + "\n※最終行は削除されます。",
                             MsgKind::Confirmation, Btn::YesNo) != mrYes)
            return;
        InsertGridRow(g);
    } else {
        if (Dlg().MessageDlg(IntToStr(n) + "行目を削除してもいいですか？", MsgKind::Confirmation,
                             Btn::YesNo) != mrYes)
            return;
        DeleteGridRow(g);
    }
    splitGridEdited();
}

void TMainForm::DeleteGridRow(StringGrid& grid) {
    const int last = grid.RowCount() - 1;
    for (int r = grid.CurRow(); r < last; ++r)
        for (int c = 1; c < grid.ColCount(); ++c)
            setIfChanged(grid, c, r, grid.Cells(c, r + 1));
    for (int c = 1; c < grid.ColCount(); ++c)
        setIfChanged(grid, c, last, "");
}

void TMainForm::InsertGridRow(StringGrid& grid) {
    const int cur = grid.CurRow();
    for (int r = grid.RowCount() - 1; r > cur; --r)
        for (int c = 1; c < grid.ColCount(); ++c)
            setIfChanged(grid, c, r, grid.Cells(c, r - 1));
    for (int c = 1; c < grid.ColCount(); ++c)
        setIfChanged(grid, c, cur, "");
}

void TMainForm::tempKukanGridKeyPress(char32_t& key) {
    StringGrid& g = tempKukanGrid;
    // The leg of the number just typed shows before the selection moves on.
    const bool moves = static_cast<int>(ToU32(g.Cells(g.Col(), g.CurRow())).size()) < 7;
    if (key == Key::Enter && g.Col() == kNumberCol && moves) RefreshSplitGridLegs(g, false);
    // The rows kept for absent teams take no passing: Enter on the last row before them
    // completes the time and stays, as on the grid's last row.
    if (key == Key::Enter && g.CurRow() + 1 >= SlitAbsentRow()) {
        editedTime_ = {};
        if (completesAt(g, g.Col(), g.CurRow())) completeTimeCell(g, g.Col(), g.CurRow());
        return;
    }
    InputGridKeyPress(g, key);
}

bool TMainForm::tempKukanGridSelectCell(int col, int row) {
    if (col > kTimeCol || row >= SlitAbsentRow()) return false;
    SetImeMode(ImeMode::Close);
    return true;
}

CellStyle TMainForm::tempKukanGridDrawCell(int col, int row) const {
    const StringGrid& g = tempKukanGrid;
    CellStyle st;
    st.Text = g.Cells(col, row);
    if (row >= SlitAbsentRow()) st.Background = clSilver;
    if (row < g.FixedRows() || col < g.FixedCols()) {
        st.LineRight = col % 2 == 0 || row == 1;
        st.Align = row == 0 && col % 2 == 0 ? CellAlign::Left : CellAlign::Center;
        return st;
    }
    if (col == kTimeCol) {
        st.Text = TimeToDisplayText(st.Text);
        st.Align = CellAlign::Right;
        st.StrikeOut = TeamStateByAlias(cellInt(g, kLegCol, row), cellInt(g, kNumberCol, row)) >= 2;
    } else {
        st.Align = col == kNameCol ? CellAlign::Left : CellAlign::Center;
    }
    return st;
}

void TMainForm::ToolButtonSlitPanelClick() {
    showSlitPanel = !showSlitPanel;
    ToolButtonSlitPanel.SetChecked(showSlitPanel);
    SlitGridPanel.SetVisible(showSlitPanel);
    Splitter1.SetVisible(showSlitPanel);
    Timer1.SetEnabled(showSlitPanel);
}
