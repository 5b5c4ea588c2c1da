// The output tests' shared race F1 itself: what its overall view shows and what it
// stored, so a fault in the fixture never hides behind an output's test.
#include "support/F1Race.h"

using Row = std::vector<std::string>;

TEST_F(F1Race, OverallViewAndStoredEdition) {
    BuildF1();
    ShowF1(0);
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    EXPECT_TRUE(form().ResultFinal);
    EXPECT_EQ(OutputForm->RankedTeamCount, 3);
    const StringGrid& g = OutputForm->OutputTTLGrid;
    EXPECT_EQ(g.Row(1), (Row{"1", "鈴木  次郎", "山田  太郎"}));
    EXPECT_EQ(g.Row(3), (Row{"        ▽34'40\"", "( 2) 15'45\"", "★( 1) 18'55\""}));
    EXPECT_EQ(g.Cells(0, 2), "    1)  東京"); // 34'40" equals the race record: ▽
    EXPECT_EQ(g.Cells(2, 2), "[ 1] 34'40\"");
    EXPECT_EQ(g.Cells(0, 5), "    2)  大阪AC");
    EXPECT_EQ(g.Cells(0, 8), "    3)  横浜");
    EXPECT_EQ(form().RunnerNameText(2, 1, 0), "佐藤  一郎");

    Table& t = RaceTable();
    ASSERT_TRUE(SeekEditionRow());
    EXPECT_EQ(t.FieldStr("R_NAME"), "テスト駅伝");
    EXPECT_EQ(t.FieldStr("O_NAME"), "主催：テスト協会");
    EXPECT_EQ(t.FieldInt("E_NUM"), 3);
}

TEST_F(F1Race, LegViewOfTheLastLeg) {
    BuildF1();
    ShowF1(2);
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    EXPECT_EQ(OutputForm->Tag, 2);
    EXPECT_TRUE(OutputForm->OutputGrid.Visible());
}
