#pragma once
// Reading the desk's CSV files: the text of an import file (Shift-JIS or UTF-8), and a
// CSV file laid into a string grid cell by cell.
#include "platform/StringGrid.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Larger files are no entry or timing lists: they are refused unread.
constexpr long long kMaxImportFileBytes = 16LL * 1024 * 1024;

// The file's bytes as they are. Nothing for a missing, unreadable or too large file or
// for a folder.
std::optional<std::string> ReadImportBytes(const std::filesystem::path& path);
// The file's text in UTF-8, read as DecodeText reads it. Nothing for a missing,
// unreadable or too large file or for a folder.
std::optional<std::string> ReadImportText(const std::filesystem::path& path);

// The fields of one CSV line: a comma between double quotes does not cut, also when
// the quote never closes. A field opening with a quote loses its enclosing quotes;
// every field is trimmed.
std::vector<std::string> SplitCsvLine(const std::string& line);

// The CSV file into the grid: line i into row i (CR, LF or CR LF ends a line), field j
// into column j, one fixed row and column; the grid grows to hold every line and field,
// each row only its own. False (after "Cannot open
// file") when the file cannot be read.
bool LoadCsvToGrid(StringGrid& grid, const std::filesystem::path& path);
// The same for a text already read.
void LoadCsvTextToGrid(StringGrid& grid, const std::string& text);
