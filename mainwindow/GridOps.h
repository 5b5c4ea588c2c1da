#pragma once
// Emptiness checks and clearing over the non-fixed part of a string grid, shared by
// the clock-time window and the split grid. Non-fixed: columns from the grid's fixed
// column count and rows from its fixed row count, within its counts.
#include "platform/StringGrid.h"

// Every non-fixed cell is empty.
bool GridIsEmpty(const StringGrid& grid);
// Every non-fixed cell in the rows below min(rowLimit, row count) is empty.
bool GridRowsEmpty(const StringGrid& grid, int rowLimit);
// No non-fixed row has exactly one of its two cells (trimmed) filled.
bool GridColumnsPaired(const StringGrid& grid, int colA, int colB);
// The (number, time) pair of columns col and col + 1 holds a text (trimmed) in the row.
bool GridPairFilled(const StringGrid& grid, int col, int row);
// Rows from..min(end, row count) - 1 whose pair at col holds a text.
int GridFilledPairRows(const StringGrid& grid, int col, int from, int end);
// 0 every non-fixed row empty, 2 a row with data follows an empty row, else 1.
int GridRowsCheck(const StringGrid& grid);
// Empties columns start..last of rows start..min(end, row count) - 1.
void ClearGridRange(StringGrid& grid, int start, int end);
