#include "mainwindow/GridText.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

constexpr int kPassingGridTag = 9;

std::string cellText(const StringGrid& grid, int col, int row) {
    std::string text = Trim(grid.Cells(col, row));
    if (row != 0 || grid.Tag() != kPassingGridTag || col % 2 == 0 || !text.empty() || !MainForm) return text;
    const int code = MainForm->KuriageTimeCode(col / 2);
    return code != 0 ? IntToStr(code) : text;
}

} // namespace

std::string GridToTabText(const StringGrid& grid, int startRow) {
    std::string out;
    for (int r = std::max(startRow, 0); r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c) {
            if (c > 0) out += '\t';
            out += cellText(grid, c, r);
        }
        out += "\r\n";
    }
    return out;
}
