// The passing-time input grid: typing with completion from the cell above, the
// painter's colours for advanced starts, restarts, absent teams and duplicate
// numbers, and the actions that only make sense while the grid has the focus.
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int kPlainCodeChars = 7;     // H MM SS
constexpr int kHundredthsCodeChars = 9; // H MM SS cc

long long powerOfTen(size_t n) {
    long long m = 1;
    // Beyond ten digits every int above is a multiple of m: nothing of it survives.
    for (size_t i = 0; i < std::min<size_t>(n, 10); ++i) m *= 10;
    return m;
}

} // namespace

int TMainForm::timeCodeLimit(const StringGrid& grid) const {
    bool timeGrid = grid.Tag() == 9 || grid.Tag() == 10;
    return timeGrid && chk100.Checked() ? kHundredthsCodeChars : kPlainCodeChars;
}

bool TMainForm::completesAt(const StringGrid& grid, int col, int row) const {
    if (grid.Tag() == 10) return col == 2 && row >= 2;
    return grid.Tag() == 9 && col >= 2 && col % 2 == 0 && row >= 3;
}

void TMainForm::completeTimeCell(StringGrid& grid, int col, int row) {
    const std::string& cell = grid.Cells(col, row);
    std::string done = CompleteTimeFromAbove(Trim(cell), Trim(grid.Cells(col, row - 1)));
    if (done != cell) grid.SetCells(col, row, done);
}

// A time cell left by an arrow, Tab, a click or the focus is completed and checked
// as Enter does it, so no partial time stays behind.
void TMainForm::completeLeftTimeCell(const StringGrid* movingIn, int col, int row) {
    EditedTimeCell left = editedTime_;
    if (!left.Grid || (left.Grid == movingIn && left.Col == col && left.Row == row)) return;
    editedTime_ = {};
    completeTimeCell(*left.Grid, left.Col, left.Row);
}

// The character limit counts the text being typed: typing into a cell that is not being
// edited starts a new text. Enter, Tab and Escape always work (complete, move, restore).
void TMainForm::InputGridKeyPress(StringGrid& grid, char32_t& key) {
    int col = grid.Col(), row = grid.CurRow();
    const std::string& cell = grid.Cells(col, row);
    if (key == Key::Tab || key == Key::Escape) return;
    if (key != Key::Enter) {
        const int typed = grid.TypingLength() >= 0 ? grid.TypingLength() : static_cast<int>(ToU32(cell).size());
        if (typed >= timeCodeLimit(grid) && key != Key::Backspace) key = Key::None;
        else FilterNumberKey(key, 1);
        return;
    }
    editedTime_ = {};
    if (completesAt(grid, col, row)) completeTimeCell(grid, col, row);
    // On the last row Enter is left to the grid: it ends the edit there.
    if (row >= grid.RowCount() - 1) return;
    key = Key::None;
    if (&grid == &InputGrid) InputGridSelectCell(col, row + 1);
    grid.SetRow(row + 1);
}

std::string TMainForm::CompleteTimeFromAbove(const std::string& typed, const std::string& above) const {
    if (typed.empty()) return typed;
    if (above.empty()) {
        Dlg().ShowMessage("前のセルは未入力です。");
        return typed;
    }
    long long upper = StrToIntDef(above, 0);
    long long value = StrToIntDef(typed, 0);
    if (typed.size() < above.size()) {
        long long m = powerOfTen(typed.size());
        value = upper / m * m + value;
        // Only a pasted code of ten digits gets here; it is no time, so it stays as typed.
        if (value > INT_MAX) return typed;
    }
    if (TimeDigitsToSeconds(static_cast<int>(value)) < TimeDigitsToSeconds(static_cast<int>(upper)))
        Dlg().ShowMessage("ﾀｲﾑ確認要！");
    return typed.size() < above.size() ? IntToStr(value) : typed;
}

bool TMainForm::duplicateNumberAbove(int col, int row) const {
    int n = StrToIntDef(InputGrid.Cells(col, row), 0);
    if (n == 0) return false; // 0 and empty both mean no entry
    for (int r = InputGrid.FixedRows(); r < row; ++r)
        if (StrToIntDef(InputGrid.Cells(col, r), 0) == n) return true;
    return false;
}

// Green marks a restart, red the passing at which the advanced start was carried
// out, blue the later passings that the advanced start covers.
void TMainForm::styleTimeCell(CellStyle& st, int col, int row) const {
    int leg = col / 2;
    const std::string& cell = InputGrid.Cells(col, row);
    st.Align = CellAlign::Right;
    st.Text = TimeToDisplayText(cell);
    int kuriage = KuriageTimeCode(leg);
    if (kuriage != 0) {
        int s = TimeDigitsToSeconds(std::abs(kuriage));
        int t = TimeDigitsToSeconds(StrToIntDef(cell, 0));
        if (s <= t) {
            st.FontColor = kuriage < 0 ? clGreen : s == t ? clRed : clBlue;
            st.Bold = kuriage < 0;
        }
    }
    st.StrikeOut = TeamStateByAlias(leg, StrToIntDef(InputGrid.Cells(col - 1, row), 0)) >= 2;
}

CellStyle TMainForm::InputGridDrawCell(int col, int row) const {
    const StringGrid& g = InputGrid;
    CellStyle st;
    if (row >= EntryTeamNum + g.FixedRows()) st.Background = clSilver;
    bool fixed = row < g.FixedRows() || col < g.FixedCols();
    if (fixed) {
        st.LineRight = col % 2 == 0 || row == 1;
        if (row > 0) {
            st.Text = g.Cells(col, row);
            st.Align = CellAlign::Center;
        } else if (col % 2 == 0) {
            st.Text = g.Cells(col, row);
            st.Align = CellAlign::TopLeft;
            st.Bold = true;
        }
        return st;
    }
    if (col % 2 == 0) {
        styleTimeCell(st, col, row);
        return st;
    }
    st.Text = g.Cells(col, row);
    st.Align = CellAlign::Center;
    if (duplicateNumberAbove(col, row)) {
        st.Bold = st.StrikeOut = true;
        st.FontColor = clRed;
    }
    return st;
}

CellStyle TMainForm::InputGridTitleMark(int col) const {
    CellStyle st;
    st.Align = CellAlign::BottomRight;
    if (col < 2 || col % 2 != 0) return st;
    int kuriage = KuriageTimeCode(col / 2);
    if (kuriage == 0) return st;
    st.Text = SecondsToMarkText(TimeDigitsToSeconds(std::abs(kuriage)));
    st.FontColor = kuriage > 0 ? clRed : clGreen;
    st.Bold = kuriage < 0;
    return st;
}

void TMainForm::enableInputActions(bool on) {
    for (Action* a : {&OutputResult, &OpenKuriageForm, &OpenClockInputForm, &OpenDelayInfForm, &deleteClockLog,
                      &saveInputData, &OutputForm->OpenPrintParam})
        a->SetEnabled(on);
}

void TMainForm::InputGridEnter(StringGrid& grid) {
    grid.SetEditing(true);
    if (&grid == &InputGrid || &grid == &tempKukanGrid) enteredInputGrid_ = &grid;
    enableInputActions(true);
}

// Moving between the two passing grids, the focus signals come in either order: the
// actions follow the grid that holds the focus, not the signal that came last.
void TMainForm::InputGridExit(StringGrid& grid) {
    CompleteEditedTime();
    if (enteredInputGrid_ && enteredInputGrid_ != &grid) return;
    enteredInputGrid_ = nullptr;
    enableInputActions(false);
}

void TMainForm::InputGridSelectCell(int col, int row) {
    completeLeftTimeCell(&InputGrid, col, row);
    SetImeMode(ImeMode::Close);
}

void TMainForm::InputGridClick() { SetImeMode(ImeMode::Close); }

// Both grids hold passing data, so an edit of either one needs the input saved.
void TMainForm::InputGridSetEditText(StringGrid& grid, int col, int row, const std::string& text) {
    if (grid.Cells(col, row) == text) return;
    grid.SetCells(col, row, text);
    if (completesAt(grid, col, row)) editedTime_ = {&grid, col, row};
    if (&grid != &InputGrid && grid.Tag() == 9) InputGrid.SetModified(true);
}

void TMainForm::InputGridDblClick() { OpenClockInputFormExecute(); }

// The time codes keep their digits; only their display changes with hundredths.
void TMainForm::chk100Click() { InputGrid.LayoutChanged(); }

void TMainForm::wireInputHandlers() {
    chk100.OnClick = [this] { chk100Click(); };
    OpenClockInputForm.OnExecute = [this] { OpenClockInputFormExecute(); };
    wireClockHandlers();
}
