#pragma once
// The tab text of every grid copy to the clipboard.
#include "platform/StringGrid.h"

#include <string>

// Rows startRow..last, every column: trimmed cells, a TAB between cells, CR LF after
// every row (the last included). In the title row of a passing-time grid (Tag 9) an
// empty odd column c carries the advanced-start code of relay point c/2 when it has one.
std::string GridToTabText(const StringGrid& grid, int startRow);
