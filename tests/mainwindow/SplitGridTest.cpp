// The split grid: legs from each team's appearances, the transfer into the input
// grid's leg columns, the restore from it in time order, and its row editing.
#include "mainwindow/PassingGridFixture.h"
#include "mainwindow/TeamNumberTable.h"
#include "platform/Text.h"

using SplitGrid = PassingGridFixture;

namespace {
int filledCells(const StringGrid& g) {
    int n = 0;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        for (int c = g.FixedCols(); c < g.ColCount(); ++c)
            n += !g.Cells(c, r).empty();
    return n;
}
} // namespace

TEST_F(SplitGrid, LegsComeFromAppearancesAndTheTransferFillsLegColumns) {
    race(3, 12);
    fillSplit({{"12", "10000"}, {"12", "20000"}, {"12", "30000"}, {"12", "40000"}});
    dialogs.AnswerDlg(mrYes);
    form().Slit2InpGrid.Execute();
    EXPECT_EQ(column(split(), 3, 2, 5), (Cells{"1", "2", "3", "4Err"}));
    EXPECT_EQ(dialogs.Joined(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞにﾃﾞｰﾀを書き込んでもいいですか？");
    EXPECT_EQ(in().Row(2), (Cells{"1", "12", "10000", "12", "20000", "12", "30000"}));
    EXPECT_EQ(filledCells(in()), 6); // the fourth passing has no leg

    // Two legs mixed; a cell the transfer does not reach keeps what it held.
    race(2, 12);
    TMainForm::ClearGridData(in(), -1);
    TMainForm::ClearGridData(split(), -1);
    in().SetCells(1, 4, "3");
    in().ClearModified();
    fillSplit({{"12", "10000"}, {"7", "10005"}, {"12", "20010"}, {"7", "20100"}});
    form().AutoTransferNoAsk = true;
    form().Slit2InpGridExecute();
    EXPECT_EQ(in().Row(2), (Cells{"1", "12", "10000", "12", "20010"}));
    EXPECT_EQ(in().Row(3), (Cells{"2", "7", "10005", "7", "20100"}));
    EXPECT_EQ(filledCells(in()), 9);
    EXPECT_TRUE(in().Modified());
}

TEST_F(SplitGrid, UnknownNumberOrBrokenRowsRefuseAndWriteNothing) {
    race(2, 20);
    struct Case {
        std::vector<std::pair<std::string, std::string>> rows;
        const char* message;
    } cases[] = {
        {{}, "ｽﾘｯﾄｸﾞﾘｯﾄﾞ空です。"},
        {{{"12", "10000"}, {"99", "10010"}, {"7", "10020"}}, "2 行目のNo.99 はチームにありません。"},
        {{{"12", "10000"}, {"0", "10010"}, {"7", "10020"}}, "2 行目のNo.0 はチームにありません。"},
        {{{"12", "10000"}, {"", ""}, {"7", "10020"}}, "空白行が途中に含まれています。"},
        {{{"12", "10000"}, {"7", ""}}, "空セルが含まれています。"},
    };
    for (const Case& c : cases) {
        TMainForm::ClearGridData(split(), -1);
        fillSplit(c.rows);
        dialogs.ClearLog();
        form().Slit2InpGridExecute(); // no question is answered: none may come
        EXPECT_EQ(dialogs.Joined(), c.message);
        EXPECT_EQ(filledCells(in()), 0);
    }
    // An empty number gets no leg, not "0Err"; the walk goes on below it.
    TMainForm::ClearGridData(split(), -1);
    fillSplit({{"", "10000"}, {"5", "10010"}});
    form().ActionRepaintSlitGridExecute();
    EXPECT_EQ(column(split(), 3, 2, 3), (Cells{"", "1"}));
}

TEST_F(SplitGrid, RestoreSortsByTimeAndLeavesAbsentTeamsOut) {
    race(2, 4);
    for (int t = 1; t <= 4; ++t)
        form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
    form().TeamEntryGrid.SetCells(3, 4, "301");
    form().TeamEntryGrid.SetCells(4, 4, "2");
    race(2, 4);
    const char* legs[][4] = {
        {"1", "10000", "2", "20000"}, {"2", "10005", "1", "20030"}, {"3", "10010", "3", ""}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            in().SetCells(1 + c, 2 + r, legs[r][c]);
    form().FillAbsentTeamRows();
    EXPECT_EQ(in().Cells(1, 5), "301");
    for (int r = 2; r < split().RowCount(); ++r) {
        split().SetCells(1, r, "9");
        split().SetCells(2, r, "99999");
    }

    dialogs.AnswerDlg(mrYes);
    form().InputGrid2SlitGrid.Execute();
    EXPECT_TRUE(dialogs.Saw("ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞから復元しますか？"));
    EXPECT_EQ(column(split(), 1, 2, 9), (Cells{"1", "2", "3", "2", "1", "3", "", ""}));
    EXPECT_EQ(column(split(), 2, 2, 9), (Cells{"10000", "10005", "10010", "20000", "20030", "", "", ""}));
    EXPECT_EQ(column(split(), 3, 2, 7), (Cells{"1", "1", "1", "2", "2", "2"}));
    EXPECT_EQ(split().Cells(4, 3), "チーム2");

    // The rows kept for the absent team are silver and cannot be chosen, nor the derived columns.
    EXPECT_EQ(form().SlitAbsentRow(), 8);
    EXPECT_EQ(form().tempKukanGridDrawCell(1, 8).Background, clSilver);
    EXPECT_EQ(form().tempKukanGridDrawCell(1, 7).Background, -1);
    EXPECT_FALSE(form().tempKukanGridSelectCell(1, 8));
    EXPECT_FALSE(form().tempKukanGridSelectCell(3, 2));
    EXPECT_TRUE(form().tempKukanGridSelectCell(2, 7));
}

TEST_F(SplitGrid, RowEditsAskAndEnterShowsTheLeg) {
    race(1, 4); // rows 2..5
    fillSplit({{"1", "100"}, {"2", "200"}, {"3", "300"}});
    split().SetCurrent(1, 5);
    form().ActionInsertRowExecute();
    form().ActionDelRowExecute();
    EXPECT_EQ(
        dialogs.Joined(),
        "その行(4)は空です。空行への挿入できません。|次の行(5)が空ですので、その行は削除はできません。");

    dialogs.ClearLog();
    split().SetCurrent(1, 3);
    form().ActionInsertRowExecute(); // the last row is empty: no question
    EXPECT_EQ(column(split(), 1, 2, 5), (Cells{"1", "", "2", "3"}));
    form().ActionDelRowExecute(); // an empty row with a filled one below goes without a question
    EXPECT_EQ(column(split(), 1, 2, 5), (Cells{"1", "2", "3", ""}));
    split().SetCells(1, 5, "4");
    dialogs.AnswerDlg(mrNo);
    form().ActionInsertRowExecute();
    dialogs.AnswerDlg(mrYes);
    form().ActionDelRowExecute();
    EXPECT_EQ(dialogs.Joined(),
              "2行目に空行を挿入してもいいですか？\n※最終行は削除されます。|2行目を削除してもいいですか？");
    EXPECT_EQ(column(split(), 1, 2, 5), (Cells{"1", "3", "4", ""}));
    EXPECT_EQ(column(split(), 2, 2, 5), (Cells{"100", "300", "", ""}));

    split().SetCurrent(1, 4);
    char32_t key = Key::Enter;
    form().tempKukanGridKeyPress(key);
    EXPECT_EQ(split().Cells(3, 4), "1");
    EXPECT_EQ(split().Cells(3, 2), ""); // only the current row is refreshed
    EXPECT_EQ(split().CurRow(), 5);
}

TEST_F(SplitGrid, NumberTableAnswersAsTheAliasLookup) {
    race(1, 8);
    const char* aliases[] = {"101", "", "3", "abc", "101", "7", "", " 205 "};
    for (int t = 1; t <= 8; ++t)
        form().TeamEntryGrid.SetCells(3, t, aliases[t - 1]);
    for (bool plainFirst : {false, true}) {
        if (plainFirst) form().TeamEntryGrid.SetCells(3, 1, ""); // answers every number within the count
        const TeamNumberTable table(form());
        for (int n = -2; n <= 1000; ++n)
            ASSERT_EQ(table.Find(n), form().FindTeamRowByAlias(n)) << n;
    }
}

// Enter stays above the absent team's rows; an asked transfer tells of earlier passings
// it left below a leg's end (not the absent team's), and keeps them.
TEST_F(SplitGrid, EnterStopsAboveTheAbsentRowsAndLeftoversAreTold) {
    form().TeamEntryGrid.SetCells(4, 4, "2");
    race(2, 4); // split rows 2..7 in use
    in().SetCells(1, 5, "4");
    using Rows = std::vector<std::pair<std::string, std::string>>;
    for (const Rows& stream : {Rows{{"1", "100"}, {"2", "110"}, {"3", "120"}}, Rows{{"2", "105"}, {"1", "106"}}}) {
        TMainForm::ClearGridData(split(), -1);
        fillSplit(stream);
        dialogs.AnswerDlg(mrYes);
        form().Slit2InpGridExecute();
    }
    EXPECT_EQ(dialogs.Texts().back(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞに今回の書き込みより後の通過ﾃﾞｰﾀが残っています。確認してください。"
                                      "\n1区：2 行目より後に 1 件");
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"2", "1", "3", "4"}));
    split().SetCells(2, 6, "10010");
    split().SetCells(2, 7, "30");
    for (auto [row, next] : {std::pair{6, 7}, {7, 7}}) {
        split().SetCurrent(2, row);
        char32_t key = Key::Enter;
        form().tempKukanGridKeyPress(key);
        EXPECT_EQ(split().CurRow(), next);
    }
    EXPECT_EQ(split().Cells(2, 7), "10030");
}
