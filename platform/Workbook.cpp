#include "platform/Workbook.h"

#include "platform/Text.h"

#include <cstdio>
#include <regex>
#include <system_error>
#include <unistd.h>
#include <xlsxwriter.h>

namespace {

bool isPlainNumber(const std::string& trimmed) {
    static const std::regex number(R"(^[+-]?(\d+(\.\d*)?|\.\d+)$)");
    return std::regex_match(trimmed, number);
}

SheetCell cellOf(const std::string& text) {
    if (text.empty()) return std::monostate{};
    const std::string t = Trim(text);
    if (isPlainNumber(t)) return std::strtod(t.c_str(), nullptr);
    return text;
}

std::vector<std::string> splitKeepingEmpty(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t p; (p = s.find(sep, start)) != std::string::npos; start = p + 1)
        parts.push_back(s.substr(start, p - start));
    parts.push_back(s.substr(start));
    return parts;
}

std::string lxwText(lxw_error e) {
    return Format("ワークブックを作成できませんでした: %s", lxw_strerror(e));
}

lxw_error writeCells(lxw_worksheet* sheet, const SheetRows& rows) {
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const SheetCell& cell = rows[r][c];
            lxw_error e = LXW_NO_ERROR;
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (const double* d = std::get_if<double>(&cell))
                e = worksheet_write_number(sheet, row, col, *d, nullptr);
            else if (const std::string* s = std::get_if<std::string>(&cell))
                e = worksheet_write_string(sheet, row, col, s->c_str(), nullptr);
            if (e != LXW_NO_ERROR) return e;
        }
    return LXW_NO_ERROR;
}

} // namespace

SheetRows PasteCells(const std::string& tabText) {
    SheetRows rows;
    std::vector<std::string> lines = splitKeepingEmpty(tabText, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    for (const std::string& line : lines) {
        std::vector<std::string> cells = splitKeepingEmpty(line, '\t');
        if (cells.size() > 1 && cells.back().empty()) cells.pop_back();
        std::vector<SheetCell> row;
        for (const std::string& c : cells)
            row.push_back(cellOf(c));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string WriteWorkbook(const std::filesystem::path& path, const std::string& tabText) {
    const SheetRows rows = PasteCells(tabText);
    if (rows.size() > LXW_ROW_MAX) return lxwText(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
    const std::filesystem::path tmp = path.string() + Format(".%d.tmp", static_cast<int>(getpid()));
    lxw_workbook* book = workbook_new(tmp.c_str());
    if (!book) return lxwText(LXW_ERROR_CREATING_XLSX_FILE);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Sheet1");
    lxw_error e = sheet ? writeCells(sheet, rows) : LXW_ERROR_MEMORY_MALLOC_FAILED;
    const lxw_error closed = workbook_close(book);
    if (e == LXW_NO_ERROR) e = closed;
    std::error_code ec;
    if (e == LXW_NO_ERROR) {
        std::filesystem::rename(tmp, path, ec);
        if (!ec) return {};
    }
    std::filesystem::remove(tmp, ec);
    return e != LXW_NO_ERROR ? lxwText(e) : lxwText(LXW_ERROR_CREATING_XLSX_FILE);
}

std::string WorkbookFileName(const std::string& chosen) {
    const std::filesystem::path p(chosen);
    const std::string ext = LowerAscii(p.extension().string());
    if (ext.empty()) return chosen + ".xlsx";
    if (ext == ".xls") return std::filesystem::path(chosen).replace_extension(".xlsx").string();
    return chosen;
}
