// A tab text laid into a sheet as a paste lays it, and the workbook file's failures.
#include "platform/Workbook.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/XlsxCells.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(Workbook, PasteSplitsRowsAndCellsAndKeepsTextsVerbatim) {
    const SheetRows rows = PasteCells("a\t 12 \t-3.5\t\t  x\t\n.5\t1e3\t+7.\t1,000\n\nlast");
    ASSERT_EQ(rows.size(), 4u);
    ASSERT_EQ(rows[0].size(), 5u); // the final tab opens no cell
    EXPECT_EQ(std::get<std::string>(rows[0][0]), "a");
    EXPECT_EQ(std::get<double>(rows[0][1]), 12);
    EXPECT_EQ(std::get<double>(rows[0][2]), -3.5);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(rows[0][3]));
    EXPECT_EQ(std::get<std::string>(rows[0][4]), "  x");
    EXPECT_EQ(std::get<double>(rows[1][0]), 0.5);
    EXPECT_EQ(std::get<std::string>(rows[1][1]), "1e3");
    EXPECT_EQ(std::get<double>(rows[1][2]), 7);
    EXPECT_EQ(std::get<std::string>(rows[1][3]), "1,000");
    EXPECT_EQ(rows[2].size(), 1u);
    EXPECT_EQ(PasteCells("x\n").size(), 1u);
}

TEST(Workbook, NamesGetTheWorkbookExtension) {
    const std::pair<const char*, const char*> cases[] = {{"r", "r.xlsx"},
                                                         {"r.xls", "r.xlsx"},
                                                         {"R.XLS", "R.xlsx"},
                                                         {"r.Xls", "r.xlsx"},
                                                         {"r.txt", "r.txt"},
                                                         {"a.b/r", "a.b/r.xlsx"}};
    for (auto [typed, saved] : cases)
        EXPECT_EQ(WorkbookFileName(typed), saved);
}

TEST(Workbook, WrittenSheetReadsBackAndFailuresKeepTheOldFile) {
    TempDir dir;
    const auto path = dir.path() / "r.xlsx";
    ASSERT_EQ(WriteWorkbook(path, "名前\t1\n 東京\t2.5\t\n"), "");
    auto cells = ReadXlsxCells(path.string());
    EXPECT_EQ(cells["A1"].text, "名前");
    EXPECT_TRUE(cells["B2"].number);
    EXPECT_EQ(cells["B2"].text, "2.5");
    EXPECT_EQ(cells["A2"].text, " 東京");
    std::string before;
    ASSERT_TRUE(ReadFileBytes(path, before));

    std::ofstream(dir.path() / "plain") << "x";
    EXPECT_NE(WriteWorkbook(dir.path() / "plain" / "r.xlsx", "a"), "");
    EXPECT_NE(WriteWorkbook(dir.path() / "missing" / "r.xlsx", "a"), "");
    // A full disk: the error comes back and the workbook already there stays whole.
    EXPECT_TRUE(
        WithFileSizeLimit(1000, [&] { return !WriteWorkbook(path, std::string(20000, 'x')).empty(); }));
    std::string after;
    ReadFileBytes(path, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(ListDir(dir.path()), (std::vector<std::string>{"plain", "r.xlsx"}));
}
