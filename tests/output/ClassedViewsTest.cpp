// The views of a small classed race, kept as the texts they showed before the
// ranking answers were read once per leg: the class prizes (◇), ties within a class,
// an OP team and a class whose best runner also won the leg must come out the same.
#include "database/ResultRaceFixture.h"
#include "output/TOutputForm.h"

namespace {

std::string gridText(const StringGrid& g) {
    std::string out;
    for (int r = 0; r < g.RowCount(); ++r) {
        for (int c = 0; c < g.ColCount(); ++c)
            out += (c ? "|" : "") + g.Cells(c, r);
        out += "\n";
    }
    return out;
}


const char* const kOverall = R"x(総合成績|第 1 区|第 2 区|第 3 区
3|走3    区1|走3    区2|走3    区3
    1)  チーム3|[ 3] 10'05"|[ 3] 20'15"|[ 1] 30'00"
        30'00"|▽◇( 3) 10'05"|( 6) 10'10"|★( 1)  9'45"
2|走2    区1|走2    区2|走2    区3
    2)  チーム2|[ 2] 10'05"|[ 1] 20'00"|[ 2] 30'02"
        30'02"|▽◇( 2) 10'05"|◇( 2)  9'55"|( 5) 10'02"
1|走1    区1|走1    区2|走1    区3
    3)  チーム1|[ 1] 10'00"|[ 2] 20'03"|[ 3] 30'10"
        30'10"|◎★( 1) 10'00"|◇( 5) 10'03"|◇( 6) 10'07"
6|走6    区1|走6    区2|走6    区3
    4)  チーム6|[ 5] 10'20"|[ 4] 20'15"|[ 4] 30'15"
        30'15"|( 6) 10'20"|( 2)  9'55"|( 4) 10'00"
9|走9    区1|走9    区2|走9    区3
    5)  チーム9|[ 8] 10'40"|[ 6] 20'30"|[ 5] 30'20"
        30'20"|( 9) 10'40"|★( 1)  9'50"|( 2)  9'50"
4|走4    区1|走4    区2|走4    区3
    6)  チーム4|[ 4] 10'10"|[ 5] 20'20"|[ 6] 30'30"
        30'30"|( 4) 10'10"|( 6) 10'10"|( 7) 10'10"
8|走8    区1|走8    区2|走8    区3
    7)  チーム8|[ 7] 10'30"|[ 8] 20'41"|[ 7] 30'40"
        30'40"|( 8) 10'30"|( 9) 10'11"|◇( 3)  9'59"
7|走7    区1|走7    区2|走7    区3
    8)  チーム7|[ 6] 10'30"|[ 7] 20'40"|[ 8] 30'50"
        30'50"|( 7) 10'30"|( 6) 10'10"|( 7) 10'10"
5|走5    区1|走5    区2|走5    区3
OP) チーム5|10'12"|20'10"|30'20"
        30'20"|( 5) 10'12"|( 4)  9'58"|( 7) 10'10"
)x";

const char* const kLeg2TeamOrder = R"x(通過順位|Noｶｰﾄﾞ|チーム名|通過ﾀｲﾑ|選手名|区間順位|区間ﾀｲﾑ|繰上
1|2|チーム2|20'00"|◇走2    区2|2| 9'55"|
2|1|チーム1|20'03"|◇走1    区2|5|10'03"|
3|3|チーム3|20'15"|走3    区2|6|10'10"|
4|6|チーム6|20'15"|走6    区2|2| 9'55"|
5|4|チーム4|20'20"|走4    区2|6|10'10"|
6|9|チーム9|20'30"|★走9    区2|1| 9'50"|
7|7|チーム7|20'40"|走7    区2|6|10'10"|
8|8|チーム8|20'41"|走8    区2|9|10'11"|
OP|5|チーム5|20'10"|走5    区2|4| 9'58"|
)x";

const char* const kLeg2RunnerOrder = R"x(通過順位|Noｶｰﾄﾞ|チーム名|通過ﾀｲﾑ|選手名|区間順位|区間ﾀｲﾑ|繰上
6|9|チーム9|20'30"|★走9    区2|1| 9'50"|
1|2|チーム2|20'00"|◇走2    区2|2| 9'55"|
4|6|チーム6|20'15"|走6    区2|2| 9'55"|
OP|5|チーム5|20'10"|走5    区2|4| 9'58"|
2|1|チーム1|20'03"|◇走1    区2|5|10'03"|
3|3|チーム3|20'15"|走3    区2|6|10'10"|
5|4|チーム4|20'20"|走4    区2|6|10'10"|
7|7|チーム7|20'40"|走7    区2|6|10'10"|
8|8|チーム8|20'41"|走8    区2|9|10'11"|
)x";

} // namespace

class ClassedViews : public ResultRace {
  protected:
    // 3 legs, 9 teams in classes A, B, C; team 5 OP; leg 1 with a record.
    void ClassedRace() {
        OpenRace(3, 9);
        form().ReceName.SetText("クラス駅伝");
        form().taikaiBestGrid.SetCells(1, 1, "2024/02/04");
        const char* classes = "ABCABCABC";
        for (int t = 1; t <= 9; ++t) {
            form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
            Class(t, std::string(1, classes[t - 1]));
            for (int slot = 1; slot <= 3; ++slot)
                RaceDb().Exec("UPDATE " + RunnerTableName(1) + " SET R_SEI=?1, R_MEI=?2 WHERE Team_Kukan=?3",
                              {Value("走" + IntToStr(t)), Value("区" + IntToStr(slot)), Value(t * 100 + slot)});
        }
        Op(5, 1);
        form().KukanInfGrid.SetCells(3, 1, "1005");
        Leg(1, {{1, 1000}, {2, 1005}, {3, 1005}, {4, 1010}, {5, 1012}, {6, 1020}, {7, 1030}, {8, 1030}, {9, 1040}});
        Leg(2, {{2, 2000}, {1, 2003}, {5, 2010}, {3, 2015}, {6, 2015}, {4, 2020}, {9, 2030}, {7, 2040}, {8, 2041}});
        Leg(3, {{3, 3000}, {2, 3002}, {1, 3010}, {6, 3015}, {5, 3020}, {9, 3020}, {4, 3030}, {8, 3040}, {7, 3050}});
    }
    void Show(int tag) {
        OutputForm->Tag = tag;
        OutputForm->ShowResults();
    }
};

TEST_F(ClassedViews, TextsStayAsTheyWere) {
    ClassedRace();
    Show(0);
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    EXPECT_EQ(gridText(OutputForm->OutputTTLGrid), kOverall);
    dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
    Show(2);
    EXPECT_EQ(gridText(OutputForm->OutputGrid), kLeg2TeamOrder);
    dialogs.ClearLog();
    OutputForm->UpDownBtnClick();
    EXPECT_EQ(gridText(OutputForm->OutputGrid), kLeg2RunnerOrder);
}
