#pragma once
// The report work table "tempreptable.db" that the printed reports and the Excel
// start list read (a copy of a result view, or the order sheet of every team), and
// the check whether a typed number names a present team.
#include <string>
#include <vector>

constexpr const char* kReportTable = "tempreptable.db";

// Copies the result view of the output window into the table: mode 0 the overall
// view, any other the leg view (with the two kana fields). 0; a database failure throws.
int BuildReportTable(int mode);
// One record per present team in the order of the numbers shown: 0 done, 1 refused
// (an alias out of range, reported; the records before it stay).
int BuildOrderSheetTable();
// True when n is the number of a present team: its number card when it has no alias,
// else its alias.
bool IsValidNumberCard(int n);

// The table read whole: its field names and one row of texts per record, in order.
struct ReportTableData {
    std::vector<std::string> Fields;
    std::vector<std::vector<std::string>> Records;
};
ReportTableData LoadReportTable();
