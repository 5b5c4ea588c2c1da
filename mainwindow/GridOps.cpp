#include "mainwindow/GridOps.h"

#include "platform/Text.h"

#include <algorithm>

namespace {

bool rowEmpty(const StringGrid& g, int row) {
    for (int c = g.FixedCols(); c < g.ColCount(); ++c)
        if (!g.Cells(c, row).empty()) return false;
    return true;
}

} // namespace

bool GridIsEmpty(const StringGrid& grid) {
    return GridRowsEmpty(grid, grid.RowCount());
}

bool GridRowsEmpty(const StringGrid& grid, int rowLimit) {
    const int end = std::min(rowLimit, grid.RowCount());
    for (int r = grid.FixedRows(); r < end; ++r)
        if (!rowEmpty(grid, r)) return false;
    return true;
}

bool GridColumnsPaired(const StringGrid& grid, int colA, int colB) {
    for (int r = grid.FixedRows(); r < grid.RowCount(); ++r)
        if (Trim(grid.Cells(colA, r)).empty() != Trim(grid.Cells(colB, r)).empty()) return false;
    return true;
}

bool GridPairFilled(const StringGrid& grid, int col, int row) {
    return !Trim(grid.Cells(col, row)).empty() || !Trim(grid.Cells(col + 1, row)).empty();
}

int GridFilledPairRows(const StringGrid& grid, int col, int from, int end) {
    int n = 0;
    const int last = std::min(end, grid.RowCount());
    for (int r = from; r < last; ++r)
        n += GridPairFilled(grid, col, r) ? 1 : 0;
    return n;
}

int GridRowsCheck(const StringGrid& grid) {
    bool seenData = false, seenGap = false;
    for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) {
        if (rowEmpty(grid, r)) {
            seenGap = true;
        } else {
            if (seenGap) return 2;
            seenData = true;
        }
    }
    return seenData ? 1 : 0;
}

void ClearGridRange(StringGrid& grid, int start, int end) {
    const int rows = std::min(end, grid.RowCount());
    for (int r = start; r < rows; ++r)
        for (int c = start; c < grid.ColCount(); ++c)
            if (!grid.Cells(c, r).empty()) grid.SetCells(c, r, "");
}
