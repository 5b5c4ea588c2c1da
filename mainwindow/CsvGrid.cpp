#include "mainwindow/CsvGrid.h"

#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

std::string unquoted(std::string field) {
    field = Trim(field);
    if (field.empty() || field.front() != '"') return field;
    field.erase(0, 1);
    if (!field.empty() && field.back() == '"') field.pop_back();
    return Trim(field);
}

} // namespace

std::optional<std::string> ReadImportBytes(const std::filesystem::path& path) {
    if (DirectoryExists(path)) return std::nullopt;
    const long long size = FileSizeOf(path);
    if (size < 0 || size > kMaxImportFileBytes) return std::nullopt;
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadImportText(const std::filesystem::path& path) {
    std::optional<std::string> bytes = ReadImportBytes(path);
    if (!bytes) return std::nullopt;
    return DecodeText(*bytes).Text;
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"') quoted = !quoted;
        if (ch == ',' && !quoted) {
            fields.push_back(unquoted(field));
            field.clear();
        } else {
            field += ch;
        }
    }
    fields.push_back(unquoted(field));
    return fields;
}

namespace {

// Empty, with one fixed row and column, before the lines go in: the cells of the file
// read before and their memory are gone.
void resetForLoad(StringGrid& grid) {
    grid.ClearAll();
    grid.SetRowCount(2);
    grid.SetColCount(2);
    grid.DropHiddenCells();
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
}

} // namespace

bool LoadCsvToGrid(StringGrid& grid, const std::filesystem::path& path) {
    const std::optional<std::string> text = ReadImportText(path);
    if (text) {
        LoadCsvTextToGrid(grid, *text);
        return true;
    }
    resetForLoad(grid);
    Dlg().ShowMessage("Cannot open file");
    return false;
}

void LoadCsvTextToGrid(StringGrid& grid, const std::string& text) {
    const int keepCol = grid.Col(), keepRow = grid.CurRow();
    resetForLoad(grid);
    std::vector<std::vector<std::string>> rows;
    size_t width = 2;
    for (const std::string& line : SplitLines(text)) {
        rows.push_back(SplitCsvLine(Trim(line)));
        width = std::max(width, rows.back().size());
        // A row holds its cells up to its last one with text: a line of commas holds none.
        std::vector<std::string>& row = rows.back();
        while (!row.empty() && row.back().empty())
            row.pop_back();
    }
    // Sized once: the view lays the grid out per change of its counts.
    grid.SetColCount(static_cast<int>(width));
    grid.SetRowCount(std::max(2, static_cast<int>(rows.size()) + 1));
    grid.ReplaceCells(std::move(rows));
    if (keepCol < grid.ColCount() && keepRow < grid.RowCount()) grid.SetCurrent(keepCol, keepRow);
}
