// Passing data through the clipboard and the cell commands of the passing grids: the
// tab-text copies of the input, split and entry grids, the two readers of pasted
// number/time pairs, the input grid's pop-up menu (column insert and delete, cell
// copy and paste, column clear, pair paste), the split panel's cell commands and the
// clearing of either grid.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/GridText.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace {

constexpr size_t kMaxNumberDigits = 9; // more is no number a cell can hold

struct PastedPair {
    bool hasDigits = false;
    int number = 0;
    int time = 0;
};

int fieldValue(const std::string& digits) {
    if (digits.empty() || digits.size() > kMaxNumberDigits) return 0;
    return StrToIntDef(digits, 0);
}

// A line gives at most two fields: only digits are collected, a TAB or a comma
// closes a field and what follows the second separator is ignored.
PastedPair readPair(const std::string& line) {
    PastedPair p;
    std::string fields[2];
    int field = 0;
    for (char ch : line) {
        if (ch == '\t' || ch == ',') {
            if (++field == 2) break;
        } else if (ch >= '0' && ch <= '9') {
            fields[field] += ch;
            p.hasDigits = true;
        }
    }
    p.number = fieldValue(fields[0]);
    p.time = fieldValue(fields[1]);
    return p;
}

// Whole lines, ended by CR, LF or CR LF as in imported files.
std::vector<PastedPair> readPairs(const std::string& text) {
    std::vector<PastedPair> pairs;
    for (const std::string& line : SplitLines(text))
        pairs.push_back(readPair(line));
    return pairs;
}

// Lines left over when the grid ran out of rows are told, not dropped silently.
void reportUnpasted(const std::vector<PastedPair>& pairs, size_t from) {
    const auto left = std::count_if(pairs.begin() + static_cast<long>(std::min(from, pairs.size())),
                                    pairs.end(), [](const PastedPair& p) { return p.hasDigits; });
    if (left > 0) Dlg().ShowMessage(Format("%d 行は貼り付けできませんでした。", static_cast<int>(left)));
}

bool yes(const std::string& question) {
    return Dlg().MessageDlg(question, MsgKind::Confirmation, Btn::YesNo) == mrYes;
}

const char* kNoText = "クリップボードの中身はテキストではありません。";
const char* kEmptyClipboard = "クリップボードは空です。";

} // namespace

// ---- Copies ----

void TMainForm::CopyGridToClipboard(bool toSplit) {
    const StringGrid& grid = toSplit ? tempKukanGrid : InputGrid;
    const std::string name = toSplit ? "ｽﾘｯﾄｸﾞﾘｯﾄﾞ" : "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞ";
    if (GridIsEmpty(grid)) return Dlg().ShowMessage(name + "は空です。");
    Clip().SetText(GridToTabText(grid, 0));
    Dlg().ShowMessage(name + "をクリップボードにコピーしました。");
}

void TMainForm::ActionCopyTeamGridExecute() {
    Clip().SetText(GridToTabText(runnerTabShown() ? RunnerEntryGrid : TeamEntryGrid, 0));
    Dlg().ShowMessage("クリップボードにコピーしました。");
}

// ---- Pastes ----

int TMainForm::StoredCellBytes(const StringGrid& grid, int col) const {
    namespace B = EntryFieldBytes;
    const struct {
        const StringGrid* grid;
        int firstCol, lastCol, bytes;
    } columns[] = {
        {&TeamEntryGrid, 1, 1, B::TeamName},          {&TeamEntryGrid, 2, 2, B::TeamKana},
        {&TeamEntryGrid, 3, 3, B::TeamAlias},         {&TeamEntryGrid, 5, 5, B::TeamClass},
        {&RunnerEntryGrid, 1, 4, B::RunnerText},      {&KukanInfGrid, 1, 1, kGoalNameStoredBytes},
        {&taikaiBestGrid, 2, 2, kStartPlaceBytes},
    };
    for (const auto& c : columns)
        if (c.grid == &grid && col >= c.firstCol && col <= c.lastCol) return c.bytes;
    return 0;
}

int TMainForm::ClipboardSeparatorKind() {
    if (!Clip().HasText()) return -1;
    const std::string text = Clip().GetText();
    if (text.find(',') != std::string::npos) return 0;
    return text.find('\t') != std::string::npos ? 1 : 2;
}

void TMainForm::ActionClipPasteExecute() {
    if (GridRowsCheck(tempKukanGrid) == 2) return Dlg().ShowMessage("空白行が途中に含まれています。");
    if (PasteIntoSplitGrid(tempKukanGrid, 2) != 0) return;
    RefreshSplitGridLegs(tempKukanGrid, true);
    splitGridEdited();
}

int TMainForm::PasteIntoSplitGrid(StringGrid& grid, int columns) {
    if (columns != 2) {
        Dlg().ShowMessage("只今この関数はカラム2つまでしか対応していません。");
        return 1;
    }
    if (!Clip().HasText()) {
        Dlg().ShowMessage(kNoText);
        return 1;
    }
    const int numberCol = grid.FixedCols();
    int row = grid.FixedRows();
    if (!GridIsEmpty(grid)) {
        // Only an unbroken run of empty rows at the end takes more: a row holding a number
        // or a time is taken, whichever column is current, so nothing typed is written over.
        int firstEmpty = 0;
        for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) {
            const bool empty = grid.Cells(numberCol, r).empty() && grid.Cells(numberCol + 1, r).empty();
            if (empty && firstEmpty == 0) firstEmpty = r;
            if (!empty && firstEmpty != 0) {
                Dlg().ShowMessage("空セルが連続してないので貼り付けできません。");
                return 1;
            }
        }
        if (firstEmpty == 0) {
            Dlg().ShowMessage("空セルがないので貼り付けできません。");
            return 1;
        }
        if (!yes("追加貼り付けしてもいいですか？")) return 1;
        row = firstEmpty;
    }
    const std::vector<PastedPair> pairs = readPairs(Clip().GetText());
    if (pairs.empty()) {
        Dlg().ShowMessage(kEmptyClipboard);
        return 1;
    }
    size_t i = 0;
    for (; i < pairs.size() && row < grid.RowCount(); ++i, ++row) {
        if (pairs[i].number > 0) grid.SetCells(numberCol, row, IntToStr(pairs[i].number));
        if (pairs[i].time > 0) grid.SetCells(numberCol + 1, row, IntToStr(pairs[i].time));
    }
    reportUnpasted(pairs, i);
    return 0;
}

int TMainForm::PasteNumberTimePairs(StringGrid& grid, bool fromStart) {
    if (!Clip().HasText()) {
        Dlg().ShowMessage(kNoText);
        return 1;
    }
    const int col = fromStart ? grid.FixedCols() : grid.Col();
    int row = fromStart ? grid.FixedRows() : grid.CurRow();
    const std::vector<PastedPair> pairs = readPairs(Clip().GetText());
    if (pairs.empty()) {
        Dlg().ShowMessage(kEmptyClipboard);
        return 0;
    }
    const TeamNumberTable teams(*this);
    size_t i = 0;
    for (; i < pairs.size() && row < grid.RowCount(); ++i, ++row) {
        const PastedPair& p = pairs[i];
        if (!p.hasDigits) continue;
        const bool known = p.number != 0 && teams.Find(p.number) > 0;
        grid.SetCells(col, row, known ? IntToStr(p.number) : "");
        if (p.time > 0) grid.SetCells(col + 1, row, IntToStr(p.time));
    }
    reportUnpasted(pairs, i);
    return 0;
}

// ---- Cell and column commands ----

void TMainForm::ClearGridData(StringGrid& grid, int fromRow) {
    if (fromRow == -1) {
        for (int r = grid.FixedRows(); r < grid.RowCount(); ++r)
            for (int c = grid.FixedCols(); c < grid.ColCount(); ++c)
                if (!grid.Cells(c, r).empty()) grid.SetCells(c, r, "");
        return;
    }
    const int col = grid.Col();
    for (int r = std::max(fromRow, grid.FixedRows()); r < grid.RowCount(); ++r)
        if (!grid.Cells(col, r).empty()) grid.SetCells(col, r, "");
}

void TMainForm::ShiftColumnCells(StringGrid& grid, bool insert) {
    const int col = grid.Col(), cur = grid.CurRow(), last = grid.RowCount() - 1;
    auto put = [&](int r, const std::string& text) {
        if (grid.Cells(col, r) != text) grid.SetCells(col, r, text);
    };
    if (insert) {
        for (int r = last; r > cur; --r)
            put(r, grid.Cells(col, r - 1));
    } else {
        for (int r = cur; r < last; ++r)
            put(r, grid.Cells(col, r + 1));
    }
    put(insert ? cur : last, "");
}

void TMainForm::InsertColumnCell(StringGrid& grid) {
    if (GridIsEmpty(grid)) return;
    if (!grid.Cells(grid.Col(), grid.RowCount() - 1).empty() &&
        !yes("最後のセルが空ではありませんが挿入してもいいですか？"))
        return;
    ShiftColumnCells(grid, true);
    if (&grid == &tempKukanGrid) splitGridEdited();
}

void TMainForm::DeleteColumnCell(StringGrid& grid) {
    if (GridIsEmpty(grid)) return;
    if (!grid.Cells(grid.Col(), grid.CurRow()).empty() &&
        !yes("そのセルは空ではありませんが削除してもいいですか？"))
        return;
    ShiftColumnCells(grid, false);
    if (&grid == &tempKukanGrid) splitGridEdited();
}

void TMainForm::PopCopyCellClick() {
    const std::string& cell = InputGrid.Cells(InputGrid.Col(), InputGrid.CurRow());
    if (!cell.empty()) Clip().SetText(cell);
}

// A spreadsheet cell comes with its line end: the text is trimmed before it is read.
void TMainForm::PopPasteCellClick() {
    const std::string text = Trim(Clip().GetText());
    const int value = StrToIntDef(text, -1);
    const int largest = chk100.Checked() ? 24595999 : 245959;
    if (value < 0 || value > largest)
        return Dlg().ShowMessage("クリップボードの値は大きすぎるか小さすぎるので貼り付けできません");
    InputGrid.SetCells(InputGrid.Col(), InputGrid.CurRow(), text);
}

void TMainForm::PopClearColumnClick() {
    const int row = InputGrid.CurRow();
    const int order = StrToIntDef(InputGrid.Cells(0, row), 0);
    if (yes(Format("%d 行から下をｸﾘｱしてもいいですか？", order))) ClearGridData(InputGrid, row);
}

void TMainForm::PopPastePairsClick() {
    const int col = InputGrid.Col();
    if (col < 1 || col % 2 == 0) return Dlg().ShowMessage("ｾﾞｯｹﾝｶﾗﾑでないと貼り付け出来ません！");
    PasteNumberTimePairs(InputGrid, false);
}

bool TMainForm::clearWholeGrid(StringGrid& grid, const std::string& firstQuestion) {
    if (GridIsEmpty(grid)) return false;
    if (!yes(firstQuestion) || !yes("本当に実行してもいいですか？\n本当に元には戻せません!")) return false;
    ClearGridData(grid, -1);
    return true;
}

void TMainForm::ActionClearSlitGridExecute() {
    if (clearWholeGrid(tempKukanGrid, "ｽﾘｯﾄｸﾞﾘｯﾄﾞをｸﾘｱしてもいいですか？\n元には戻せません!"))
        splitGridEdited();
}

void TMainForm::ClearInputGridExecute() {
    clearWholeGrid(InputGrid, "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞをｸﾘｱしてもいいですか？\n元には戻せません!");
}

void TMainForm::wireSplitHandlers() {
    ToolButtonSlitPanel.OnExecute = [this] { ToolButtonSlitPanelClick(); };
    Slit2InpGrid.OnExecute = [this] { Slit2InpGridExecute(); };
    InputGrid2SlitGrid.OnExecute = [this] { InputGrid2SlitGridExecute(); };
    ActionRepaintSlitGrid.OnExecute = [this] { ActionRepaintSlitGridExecute(); };
    ActionInsertRow.OnExecute = [this] { ActionInsertRowExecute(); };
    ActionDelRow.OnExecute = [this] { ActionDelRowExecute(); };
    ActionToClipbord.OnExecute = [this] { ActionToClipbordExecute(); };
    ActionInputGridToClipboard.OnExecute = [this] { ActionInputGridToClipboardExecute(); };
    ToolButtonInputGridCopy.OnExecute = [this] { ActionInputGridToClipboardExecute(); };
    SB_TeamCopy.OnExecute = [this] { ActionCopyTeamGridExecute(); };
    ActionClipPaste.OnExecute = [this] { ActionClipPasteExecute(); };
    ActionCellInsert.OnExecute = [this] { InsertColumnCell(tempKukanGrid); };
    ActionCellDelete.OnExecute = [this] { DeleteColumnCell(tempKukanGrid); };
    ActionClearSlitGrid.OnExecute = [this] { ActionClearSlitGridExecute(); };
    ClearInputGrid.OnExecute = [this] { ClearInputGridExecute(); };
    PopInsertCell.OnExecute = [this] { InsertColumnCell(InputGrid); };
    PopDeleteCell.OnExecute = [this] { DeleteColumnCell(InputGrid); };
    PopCopyCell.OnExecute = [this] { PopCopyCellClick(); };
    PopPasteCell.OnExecute = [this] { PopPasteCellClick(); };
    PopClearColumn.OnExecute = [this] { PopClearColumnClick(); };
    PopPastePairs.OnExecute = [this] { PopPastePairsClick(); };
    // The leg copy of this menu has no command behind it.
    PopCopyLeg.SetEnabled(false);
}
