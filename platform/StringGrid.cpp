#include "platform/StringGrid.h"

#include <algorithm>

namespace {
const std::string kEmpty;
}

// The cells only ever grow: a count that goes down and up again gives back what was
// there. Reads and writes stay within the counts.
void StringGrid::resizeCells() {
    if (static_cast<int>(cells_.size()) < rows_) cells_.resize(rows_);
    const size_t width = std::max<size_t>(cols_, cells_.empty() ? 0 : cells_.front().size());
    for (auto& r : cells_)
        if (r.size() < width) r.resize(width);
    if (static_cast<int>(colSamples_.size()) < cols_) colSamples_.resize(cols_);
    if (static_cast<int>(rowFactors_.size()) < rows_) rowFactors_.resize(rows_, 0.0);
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
    rows_ = n;
    resizeCells();
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
    if (cells_[row][col] == text) return;
    cells_[row][col] = text;
    CellChanged(col, row);
}

void StringGrid::SetCells(int col, int row, const std::string& text) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    modified_ = true;
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

void StringGrid::ClearAll() {
    for (auto& r : cells_)
        for (auto& c : r) c.clear();
    modified_ = true;
    LayoutChanged();
}

void StringGrid::DropHiddenCells() {
    cells_.resize(rows_);
    for (auto& r : cells_) r.resize(cols_);
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
