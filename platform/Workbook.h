#pragma once
// Spreadsheet workbooks: a tab-separated text laid into "Sheet1" as a paste into a
// sheet lays it, saved as .xlsx (libxlsxwriter).
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

// One cell of a pasted text: nothing, a number or a text kept verbatim.
using SheetCell = std::variant<std::monostate, double, std::string>;
using SheetRows = std::vector<std::vector<SheetCell>>;

// Rows at "\n", cells at "\t"; a final "\n" or tab opens no new row or cell. A cell
// whose trimmed text is a plain decimal number becomes that number.
SheetRows PasteCells(const std::string& tabText);

// Writes the text as "Sheet1" of a new workbook at path (through a temporary file, so
// a failed write leaves an existing file as it was). Empty on success, else the error.
std::string WriteWorkbook(const std::filesystem::path& path, const std::string& tabText);

// The workbook name a user typed: no extension gets ".xlsx", ".xls" in any case becomes
// ".xlsx", any other extension is kept.
std::string WorkbookFileName(const std::string& chosen);
