// The overall and leg views of the result window over the worked example: 4 teams,
// 2 legs, team 3 OP.
#include "database/ResultRaceFixture.h"
#include "output/TOutputForm.h"

using Row = std::vector<std::string>;

class ResultViews : public ResultRace {
  protected:
    void WorkedExample() {
        OpenRace(2, 4);
        form().ReceName.SetText("春の駅伝");
        for (int t = 1; t <= 4; ++t) {
            form().TeamEntryGrid.SetCells(1, t, "チーム" + IntToStr(t));
            for (int slot = 1; slot <= 2; ++slot)
                RaceDb().Exec(
                    "UPDATE " + RunnerTableName(1) + " SET R_SEI=?1, R_MEI=?2 WHERE Team_Kukan=?3",
                    {Value("走" + IntToStr(t)), Value("区" + IntToStr(slot)), Value(t * 100 + slot)});
        }
        Op(3, 1);
        Leg(1, {{2, 2500}, {1, 2510}, {3, 2510}, {4, 2600}});
        Leg(2, {{1, 5000}, {2, 5000}, {4, 5050}, {3, 5100}});
    }
    void LegRecord(int leg, const std::string& code) { form().KukanInfGrid.SetCells(3, leg, code); }
    void RaceRecord(const std::string& code) { form().taikaiBestGrid.SetCells(3, 1, code); }

    // The window shown as the result action shows it, for leg `tag` (0 overall).
    void Show(int tag) {
        out().Tag = tag;
        out().ShowResults();
    }
    TOutputForm& out() { return *OutputForm; }
    std::string runner(int team, int leg) { return form().RunnerNameText(team, leg, 0); }
    Row legRow(int row) { return out().OutputGrid.Row(row); }
    const std::string& total(int col, int row) { return out().OutputTTLGrid.Cells(col, row); }
    int thisTime(int team) {
        Query q = RaceDb().Prepare("SELECT thisTime FROM " + TeamTableName(1) + " WHERE NOCD=?1");
        const int v = q.Bind(1, Value(team)).Step() ? q.Column(0).AsInteger() : -1;
        q.Reset();
        return v;
    }
};

TEST_F(ResultViews, OverallViewOfTheWorkedExample) {
    WorkedExample();
    Show(0);
    ASSERT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();
    const StringGrid& g = out().OutputTTLGrid;
    EXPECT_TRUE(g.Visible());
    EXPECT_FALSE(out().OutputGrid.Visible());
    ASSERT_EQ(g.RowCount(), 13);
    ASSERT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.Row(0), (Row{"総合成績", "第 1 区", "第 2 区"}));
    EXPECT_EQ(out().ResultTTL.Caption(), "春の駅伝 総合成績     ★ = 区間賞、◎ = 新、▽ = タイ");
    // Blocks in total-place order: teams 1, 2, 4, then the OP team 3.
    EXPECT_EQ(g.Row(1), (Row{"1", runner(1, 1), runner(1, 2)}));
    EXPECT_EQ(g.Row(2), (Row{"    1)  チーム1", "[ 2] 25'10\"", "[ 1] 50'00\""}));
    EXPECT_EQ(g.Row(3), (Row{"        50'00\"", "( 2) 25'10\"", "★( 1) 24'50\""}));
    EXPECT_EQ(g.Row(5), (Row{"    2)  チーム2", "[ 1] 25'00\"", "[ 2] 50'00\""}));
    EXPECT_EQ(g.Row(6), (Row{"        50'00\"", "★( 1) 25'00\"", "( 3) 25'00\""}));
    EXPECT_EQ(g.Row(8), (Row{"    3)  チーム4", "[ 3] 26'00\"", "[ 3] 50'50\""}));
    EXPECT_EQ(g.Row(9), (Row{"        50'50\"", "( 4) 26'00\"", "★( 1) 24'50\""}));
    EXPECT_EQ(g.Row(10)[0], "3");
    EXPECT_EQ(g.Row(11), (Row{"OP) チーム3", "25'10\"", "51'00\""}));
    EXPECT_EQ(g.Row(12), (Row{"        51'00\"", "( 3) 25'10\"", "( 4) 25'50\""}));
    // Final results: this time goes to the team table, an OP team's as 0.
    EXPECT_TRUE(form().ResultFinal);
    EXPECT_EQ(thisTime(1), 3000);
    EXPECT_EQ(thisTime(4), 3050);
    EXPECT_EQ(thisTime(3), 0);
}

TEST_F(ResultViews, RecordMarksInTheOverallView) {
    WorkedExample();
    LegRecord(2, "2450"); // 24'50" equalled by teams 1 and 4
    LegRecord(1, "2559"); // beaten by all but team 4
    RaceRecord("5000");
    Show(0);
    EXPECT_EQ(total(2, 3), "▽★( 1) 24'50\"");
    EXPECT_EQ(total(1, 3), "◎( 2) 25'10\"");
    EXPECT_EQ(total(1, 9), "( 4) 26'00\"");
    EXPECT_EQ(total(2, 6), "( 3) 25'00\"");
    // The race record: equalled, and not beaten (two blanks).
    EXPECT_EQ(total(0, 3), "        ▽50'00\"");
    EXPECT_EQ(total(0, 9), std::string(10, ' ') + "50'50\"");
}

TEST_F(ResultViews, ClassPrizeAndClassTitleWhenEveryTeamHasAClass) {
    WorkedExample();
    for (int t : {1, 2})
        Class(t, "A");
    for (int t : {3, 4})
        Class(t, "B");
    Show(0);
    EXPECT_EQ(out().ResultTTL.Caption(), "春の駅伝 総合成績     ★ = 区間賞、◇ = ｸﾗｽ賞、◎ = 新、▽ = タイ");
    EXPECT_TRUE(out().ClassRankOn);
    // Class B's best leg-1 place is team 3's third place.
    EXPECT_EQ(total(1, 12), "◇( 3) 25'10\"");
    EXPECT_EQ(total(1, 9), "( 4) 26'00\"");
}

TEST_F(ResultViews, NoRecordRunnerMarksTheLegAndEveryTotalFromThere) {
    WorkedExample();
    Remark(2, 2, 2);
    Show(0);
    // Team 2 leaves the ranking at leg 2: team 4 moves up.
    EXPECT_EQ(total(0, 5), "    2)  チーム4");
    EXPECT_EQ(total(0, 8), "OP) チーム2");
    EXPECT_EQ(total(1, 8), "[ 1] 25'00\"");
    EXPECT_EQ(total(1, 9), "★( 1) 25'00\"");
    EXPECT_EQ(total(2, 8), "記録なし");
    EXPECT_EQ(total(2, 9), "記録なし");
    EXPECT_EQ(total(0, 9), "         記録なし");

    dialogs.AnswerDlg(mrYes);
    Show(2);
    EXPECT_TRUE(dialogs.Saw("処理はすでに実行されています\n再計算しますか ?"));
    EXPECT_EQ(legRow(3), (Row{"OP", "2", "チーム2", "記録なし", runner(2, 2), "OP", "記録なし", ""}));
}

TEST_F(ResultViews, LegViewInTeamAndIndividualOrder) {
    WorkedExample();
    LegRecord(2, "2450");
    RaceRecord("5000");
    Show(2);
    EXPECT_EQ(out().Caption(), "第 2 区成績");
    EXPECT_EQ(out().ResultTTL.Caption(), "春の駅伝 第 2 区成績 (チーム順) ★=区間賞、◎=新、▽=タイ");
    ASSERT_EQ(out().OutputGrid.RowCount(), 5);
    EXPECT_EQ(legRow(0),
              (Row{"通過順位", "Noｶｰﾄﾞ", "チーム名", "通過ﾀｲﾑ", "選手名", "区間順位", "区間ﾀｲﾑ", "繰上"}));
    EXPECT_EQ(legRow(1), (Row{"1", "1", "チーム1", "▽50'00\"", "★" + runner(1, 2), "1", "▽24'50\"", ""}));
    EXPECT_EQ(legRow(2), (Row{"2", "2", "チーム2", "▽50'00\"", runner(2, 2), "3", "25'00\"", ""}));
    EXPECT_EQ(legRow(3), (Row{"3", "4", "チーム4", "50'50\"", "★" + runner(4, 2), "1", "▽24'50\"", ""}));
    EXPECT_EQ(legRow(4), (Row{"OP", "3", "チーム3", "51'00\"", runner(3, 2), "4", "25'50\"", ""}));
    EXPECT_TRUE(out().UpDownBtn.Enabled());
    EXPECT_EQ(out().FocusedControl, "OutputGrid");

    out().UpDownBtn.Execute();
    EXPECT_EQ(out().OrderMode, 1);
    EXPECT_EQ(out().UpDownBtn.ImageIndex(), TOutputForm::kRunnerOrderImage);
    EXPECT_EQ(out().ResultTTL.Caption(), "春の駅伝 第 2 区成績 (個人順) ★=区間賞、◎=新、▽=タイ");
    std::vector<std::string> teams;
    for (int r = 1; r <= 4; ++r)
        teams.push_back(legRow(r)[2]);
    EXPECT_EQ(teams, (Row{"チーム1", "チーム4", "チーム2", "チーム3"}));
    out().UpDownBtn.Execute();
    EXPECT_EQ(out().OrderMode, 0);
    EXPECT_EQ(legRow(2)[2], "チーム2");
}

TEST_F(ResultViews, EarlierLegShowsNoRaceRecordAndAliases) {
    WorkedExample();
    Alias(4, 44);
    for (int t : {1, 2})
        Class(t, "A");
    for (int t : {3, 4})
        Class(t, "B");
    RaceRecord("2500");
    SaveTeamRows(); // as the switch to the input page does: the class queries read the table
    Leg(1, {{2, 2500}, {1, 2510}, {3, 2510}, {44, 2600}});
    Leg(2, {{1, 5000}, {2, 5000}, {44, 5050}, {3, 5100}});
    Show(1);
    EXPECT_EQ(legRow(1), (Row{"1", "2", "チーム2", "25'00\"", "★" + runner(2, 1), "1", "25'00\"", ""}));
    EXPECT_EQ(legRow(3), (Row{"3", "44", "チーム4", "26'00\"", runner(4, 1), "4", "26'00\"", ""}));
    EXPECT_EQ(legRow(4), (Row{"OP", "3", "チーム3", "25'10\"", "◇" + runner(3, 1), "3", "25'10\"", ""}));
}

TEST_F(ResultViews, InterimLegViewHasNoPrizesAndKeepsItsRowCount) {
    WorkedExample();
    Leg(2, {{1, 5000}, {2, 5000}, {3, 5100}});
    form().InputGrid.SetCells(3, 5, "");
    form().InputGrid.SetCells(4, 5, "");
    Show(2);
    EXPECT_TRUE(dialogs.Saw("途中情報"));
    EXPECT_FALSE(form().ResultFinal);
    ASSERT_EQ(out().OutputGrid.RowCount(), 5);
    EXPECT_EQ(legRow(1)[4], runner(1, 2));
    EXPECT_EQ(legRow(3)[2], "チーム3");
    EXPECT_EQ(legRow(4), Row(8, ""));
    EXPECT_TRUE(out().PutKojinPrize.Enabled());
}

TEST_F(ResultViews, AdvancedStartCorrectionIsMarkedAndShaded) {
    WorkedExample();
    Kuriage(1, "2530"); // team 4 passes at 26'00": corrected by 30"
    Show(2);
    EXPECT_EQ(legRow(3)[2], "チーム4");
    EXPECT_EQ(legRow(3)[7], "#");
    EXPECT_EQ(out().OutputGridDrawCell(2, 3).Background, TOutputForm::kSkyBlue);
    EXPECT_EQ(out().OutputGridDrawCell(2, 2).Background, -1);
    EXPECT_EQ(out().OutputGridDrawCell(3, 2).Align, CellAlign::Right);
    EXPECT_EQ(out().OutputGridDrawCell(6, 2).Align, CellAlign::Right);
    EXPECT_EQ(out().OutputGridDrawCell(4, 2).Align, CellAlign::Center);
    EXPECT_EQ(out().OutputGridDrawCell(3, 0).Align, CellAlign::Center);
    EXPECT_EQ(out().OutputGridDrawCell(3, 0).Background, TOutputForm::kSkyBlue);
}

TEST_F(ResultViews, OverallDrawingHidesTeamNumbersAndClosesEachBlock) {
    WorkedExample();
    Show(0);
    const TOutputForm& o = out();
    EXPECT_EQ(o.OutputTTLGridDrawCell(0, 4).Text, "");
    EXPECT_EQ(o.OutputTTLGrid.Cells(0, 4), "2");
    EXPECT_EQ(o.OutputTTLGridDrawCell(0, 5).Text, "    2)  チーム2");
    EXPECT_EQ(o.OutputTTLGridDrawCell(0, 5).Align, CellAlign::Left);
    EXPECT_EQ(o.OutputTTLGridDrawCell(1, 5).Align, CellAlign::Center);
    EXPECT_EQ(o.OutputTTLGridDrawCell(0, 0).Align, CellAlign::Center);
    for (int row : {0, 3, 6, 12})
        EXPECT_TRUE(o.OutputTTLGridDrawCell(1, row).LineBelow) << row;
    for (int row : {1, 2, 4, 11})
        EXPECT_FALSE(o.OutputTTLGridDrawCell(1, row).LineBelow) << row;
    EXPECT_EQ(o.OutputTTLGridDrawCell(0, 5).Background, TOutputForm::kSkyBlue);
    EXPECT_EQ(o.OutputTTLGridDrawCell(1, 5).Background, -1);
}
