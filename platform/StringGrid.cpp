#include "platform/StringGrid.h"

#include <algorithm>

namespace {
const std::string kEmpty;
}

// The cells only ever grow: a count that goes down and up again gives back what was
// there. Reads and writes stay within the counts. A row holds no cells until one is
// written, and rows laid in whole (ReplaceCells) keep their own length, so one wide
// line of a file does not widen every row.
void StringGrid::resizeCells() {
    if (static_cast<int>(cells_.size()) < rows_) cells_.resize(rows_);
    if (static_cast<int>(colSamples_.size()) < cols_) colSamples_.resize(cols_);
    if (static_cast<int>(rowFactors_.size()) < rows_) rowFactors_.resize(rows_, 0.0);
    if (rowMarks_.size() < cells_.size()) rowMarks_.resize(cells_.size(), false);
}

void StringGrid::SetColCount(int n) {
    n = std::max(n, 1);
    if (n == cols_) return;
    cols_ = n;
    resizeCells();
    fixedCols_ = std::min(fixedCols_, cols_ - 1 < 0 ? 0 : cols_);
    SetCurrent(std::min(col_, cols_ - 1), row_);
    LayoutChanged();
}

void StringGrid::SetRowCount(int n) {
    n = std::max(n, 1);
    if (n == rows_) return;
    const int before = rows_;
    rows_ = n;
    resizeCells();
    for (int r = before; r < rows_; ++r)
        markRow(r);
    SetCurrent(col_, std::min(row_, rows_ - 1));
    LayoutChanged();
}

// The current cell never rests on a fixed cell while there are others.
void StringGrid::SetFixedCols(int n) {
    fixedCols_ = std::clamp(n, 0, cols_);
    if (col_ < fixedCols_ && fixedCols_ < cols_) SetCurrent(fixedCols_, row_);
    LayoutChanged();
}

void StringGrid::SetFixedRows(int n) {
    fixedRows_ = std::clamp(n, 0, rows_);
    if (row_ < fixedRows_ && fixedRows_ < rows_) SetCurrent(col_, fixedRows_);
    LayoutChanged();
}

const std::string& StringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0 || row >= rows_ || col >= cols_) return kEmpty;
    const auto& r = cells_[row];
    return col < static_cast<int>(r.size()) ? r[col] : kEmpty;
}

void StringGrid::SetCellsQuiet(int col, int row, const std::string& text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    auto& cells = cells_[row];
    if (col >= static_cast<int>(cells.size())) {
        if (text.empty()) return; // reads empty already
        std::string kept = text;  // the text may be a cell of this row
        cells.resize(std::max(col + 1, cols_)); // a typed row fills up: one allocation
        cells[col] = std::move(kept);
    } else {
        if (cells[col] == text) return;
        cells[col] = text;
    }
    if (updating_ > 0)
        updatedCells_ = true;
    else
        CellChanged(col, row);
}

void StringGrid::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0 || !updatedCells_) return;
    updatedCells_ = false;
    LayoutChanged();
}

void StringGrid::SetCells(int col, int row, const std::string& text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    modified_ = true;
    markRow(row);
    SetCellsQuiet(col, row, text);
}

std::vector<std::string> StringGrid::Row(int row) const {
    std::vector<std::string> out;
    for (int c = 0; c < cols_; ++c) out.push_back(Cells(c, row));
    return out;
}

void StringGrid::ClearRow(int row) {
    for (int c = 0; c < cols_; ++c) SetCells(c, row, "");
}

void StringGrid::SetModified(bool v) {
    modified_ = v;
    if (v && std::find(rowMarks_.begin(), rowMarks_.end(), true) == rowMarks_.end())
        std::fill(rowMarks_.begin(), rowMarks_.end(), true);
}

void StringGrid::ClearModified() {
    modified_ = false;
    std::fill(rowMarks_.begin(), rowMarks_.end(), false);
}

bool StringGrid::RowModified(int row) const {
    return row >= 0 && row < rows_ && rowMarks_[row];
}

void StringGrid::ClearAll() {
    for (auto& r : cells_)
        r.clear();
    modified_ = true;
    std::fill(rowMarks_.begin(), rowMarks_.end(), true);
    LayoutChanged();
}

// The memory of the dropped cells goes back too: a large file read before stays no
// longer than the grid shows it.
void StringGrid::DropHiddenCells() {
    cells_.resize(rows_);
    cells_.shrink_to_fit();
    rowMarks_.resize(rows_);
    for (auto& r : cells_) {
        if (static_cast<int>(r.size()) > cols_) r.resize(cols_);
        if (r.capacity() > r.size()) r.shrink_to_fit();
    }
}

void StringGrid::ReplaceCells(std::vector<std::vector<std::string>> rows) {
    cells_ = std::move(rows);
    rowMarks_.assign(cells_.size(), true);
    resizeCells();
    modified_ = true;
    LayoutChanged();
}

size_t StringGrid::CellsHeld() const {
    size_t held = cells_.capacity();
    for (const auto& r : cells_)
        held += r.capacity();
    return held;
}

void StringGrid::SetCol(int c) { SetCurrent(c, row_); }
void StringGrid::SetRow(int r) { SetCurrent(col_, r); }

void StringGrid::SetCurrent(int c, int r) {
    c = std::clamp(c, 0, cols_ - 1);
    r = std::clamp(r, 0, rows_ - 1);
    GridRect s{c, r, c, r};
    if (c == col_ && r == row_ && s == sel_) return;
    col_ = c;
    row_ = r;
    sel_ = s;
    CurrentChanged();
}

void StringGrid::SetSelection(GridRect r) {
    sel_ = r;
    col_ = std::clamp(r.Left, 0, cols_ - 1);
    row_ = std::clamp(r.Top, 0, rows_ - 1);
    CurrentChanged();
}

std::string StringGrid::ColSample(int col) const {
    return col >= 0 && col < cols_ ? colSamples_[col] : std::string();
}

void StringGrid::SetColSample(int col, const std::string& sample) {
    if (col < 0 || col >= cols_) return;
    colSamples_[col] = sample;
    LayoutChanged();
}

double StringGrid::RowHeightFactor(int row) const {
    return row >= 0 && row < rows_ ? rowFactors_[row] : 0.0;
}

void StringGrid::SetRowHeight(int row, double factor, const std::string& sample) {
    if (row < 0 || row >= rows_) return;
    rowFactors_[row] = factor;
    rowHeightSample_ = sample;
    LayoutChanged();
}
