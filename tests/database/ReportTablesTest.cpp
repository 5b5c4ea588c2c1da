// The report work table's builders and the number-card check on hand-filled grids.
#include "database/ReportTables.h"
#include "support/F1Race.h"

using Row = std::vector<std::string>;

class ReportTables : public F1Race {};

TEST_F(ReportTables, NumberCardNamesPresentTeamsByNumberOrAlias) {
    OpenRace(1, 20);
    Alias(7, 120);
    Op(9, 2);
    const std::pair<int, bool> cases[] = {{7, false}, {120, true}, {9, false},  {3, true},
                                          {0, false}, {-5, false}, {121, false}};
    for (auto [n, valid] : cases)
        EXPECT_EQ(IsValidNumberCard(n), valid) << n;
    Op(7, 2);
    EXPECT_FALSE(IsValidNumberCard(120));
}

TEST_F(ReportTables, OrderSheetSkipsAbsentTeamsAndRefusesBadAliases) {
    OpenRace(2, 3, 1);
    form().TeamEntryGrid.SetCells(1, 1, "東京");
    form().TeamEntryGrid.SetCells(1, 2, "大阪AC");
    Op(1, 1);
    form().TeamEntryGrid.SetCells(3, 2, "120"); // its OP cell never set
    Op(3, 2);
    EXPECT_EQ(BuildOrderSheetTable(), 0);
    ReportTableData d = LoadReportTable();
    EXPECT_EQ(d.Fields.size(), 6u); // number, name, coach, 2 legs, 1 substitute
    ASSERT_EQ(d.Records.size(), 2u);
    EXPECT_EQ((Row{d.Records[0][0], d.Records[0][1]}), (Row{"  1", "※東京"}));
    EXPECT_EQ((Row{d.Records[1][0], d.Records[1][1]}), (Row{"120", "大阪AC"}));

    form().TeamEntryGrid.SetCells(3, 2, "2");
    dialogs.ClearLog();
    EXPECT_EQ(BuildOrderSheetTable(), 1);
    EXPECT_EQ(dialogs.Joined(), "ｴﾘｱｽ番号は参加チーム数より大きくなければなりません。");
    EXPECT_EQ(LoadReportTable().Records.size(), 1u);
    form().TeamEntryGrid.SetCells(3, 2, "1000");
    dialogs.ClearLog();
    EXPECT_EQ(BuildOrderSheetTable(), 1);
    EXPECT_EQ(dialogs.Joined(), "ｴﾘｱｽ番号は 999 より小さくなければなりません。");
}

TEST_F(ReportTables, OverallReportShowsClassPlacesAndLegReportReadings) {
    BuildF1();
    Class(1, "A"), Class(2, "B"), Class(3, "A");
    // The overall view of every class: the leg choice, then the class choice.
    for (int i = 0; i < 2; ++i)
        dialogs.AnswerModal([](FormBase& f) {
            auto& d = static_cast<TKukanParamForm&>(f);
            d.KukanListBox.SetItemIndex(0);
            d.KukanListBoxClick();
            d.OKBtn.Execute();
            return f.ModalResultValue();
        });
    form().OutputResultExecute();
    EXPECT_EQ(BuildReportTable(0), 0);
    ReportTableData d = LoadReportTable();
    EXPECT_EQ(d.Fields, (Row{"TCol_0", "TCol_1", "TCol_2"}));
    ASSERT_EQ(d.Records.size(), 9u);
    // 東京 first in A, 大阪AC first in B, 横浜 second in A.
    EXPECT_EQ((Row{d.Records[0][0], d.Records[3][0], d.Records[6][0]}), (Row{"A-1", "B-1", "A-2"}));
    EXPECT_EQ(d.Records[1][0], "1)  東京");

    dialogs.AnswerDlg(mrYes); // 再計算しますか ?
    ShowF1(1);
    EXPECT_EQ(BuildReportTable(1), 0);
    d = LoadReportTable();
    EXPECT_EQ(d.Fields.back(), "KANACol_1");
    ASSERT_EQ(d.Records.size(), 3u);
    ASSERT_EQ(d.Records[0].size(), 10u);
    EXPECT_EQ((Row{d.Records[0][2], d.Records[0][8], d.Records[0][9]}), (Row{"大阪AC", "", "ｻﾄｳ ｲﾁﾛｳ"}));
}
