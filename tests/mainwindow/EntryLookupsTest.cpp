#include "mainwindow/EntryRaceFixture.h"

class EntryLookups : public EntryRace {
  protected:
    StringGrid& teams() { return form().TeamEntryGrid; }
};

// ---- Team lookups ----

TEST_F(EntryLookups, AliasNumbersBothWays) {
    openRace(2, 1, 20);
    TMainForm& f = form();
    teams().SetCells(3, 7, "120");
    EXPECT_EQ(f.FindTeamRowByAlias(120), 7);
    EXPECT_EQ(f.FindTeamRowByAlias(5), 5);
    EXPECT_EQ(f.FindTeamRowByAlias(121), -1);
    EXPECT_EQ(f.FindTeamRowByAlias(21), -1);
    EXPECT_EQ(f.FindTeamRowByAlias(0), 0);
    EXPECT_EQ(f.TeamAliasNumber(7), 120);
    EXPECT_EQ(f.TeamAliasNumber(3), 3);
    EXPECT_EQ(f.TeamAliasNumber(0), 0);
    EXPECT_EQ(f.TeamAliasNumber(21), 0);

    // Aliases outside 1..999 or not numbers leave the team number.
    teams().SetCells(3, 2, "0");
    teams().SetCells(3, 3, "1000");
    teams().SetCells(3, 4, "abc");
    teams().SetCells(3, 5, " 12 ");
    EXPECT_EQ(f.TeamAliasNumber(2), 2);
    EXPECT_EQ(f.TeamAliasNumber(3), 3);
    EXPECT_EQ(f.TeamAliasNumber(4), 4);
    EXPECT_EQ(f.TeamAliasNumber(5), 12);
    EXPECT_EQ(f.FindTeamRowByAlias(12), 12) << "row 1 has no alias: 12 is number card 12";

    // Aliases met before the first row without one win over number cards.
    teams().SetCells(3, 1, "101");
    teams().SetCells(3, 2, "5");
    EXPECT_EQ(f.FindTeamRowByAlias(5), 2);
    EXPECT_EQ(f.FindTeamRowByAlias(3), 3);
}

TEST_F(EntryLookups, OpenAndAbsentTeams) {
    openRace(3, 1, 5);
    TMainForm& f = form();
    teams().SetCells(4, 2, "1");
    teams().SetCells(4, 3, "2");
    teams().SetCells(4, 5, "0");
    EXPECT_EQ(f.TeamOpValue(2), 1);
    EXPECT_EQ(f.TeamOpValue(3), 2);
    EXPECT_EQ(f.TeamOpValue(5), 0);
    EXPECT_EQ(f.TeamOpValue(4), -1) << "an empty cell";
    EXPECT_EQ(f.TeamOpValue(6), -1);
    EXPECT_TRUE(f.IsAbsentTeam(3));
    EXPECT_FALSE(f.IsAbsentTeam(2));
    EXPECT_TRUE(f.IsAbsentTeam(0));
    EXPECT_TRUE(f.IsAbsentTeam(6));
    EXPECT_TRUE(f.HasOpTeam());
    EXPECT_EQ(f.CountAbsentTeams(), 1);
    teams().SetCells(4, 2, "");
    EXPECT_FALSE(f.HasOpTeam());
}

TEST_F(EntryLookups, TeamStateByAliasGivesAbsenceOrTheRunnerRemark) {
    openRace(3, 1, 5);
    TMainForm& f = form();
    teams().SetCells(3, 1, "");
    teams().SetCells(4, 3, "2");
    putRunner(3, 2, "欠", "場", "", "", 0, 1);
    putRunner(4, 2, "記", "録", "", "", 0, 3);
    putRunner(4, 1, "普", "通");
    EXPECT_EQ(f.TeamStateByAlias(2, 3), 2);
    EXPECT_EQ(f.TeamStateByAlias(2, 4), 3);
    EXPECT_EQ(f.TeamStateByAlias(1, 4), 0);
    EXPECT_EQ(f.TeamStateByAlias(2, 99), 0) << "no team behind the number";
}

TEST_F(EntryLookups, TeamTextsAndTheirByteWidths) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    setRow(teams(), 1, {" 東京 ", "ﾄｳｷｮｳ", "", "", "B"});
    setRow(teams(), 2, {"ABC"});
    setRow(teams(), 3, {"大阪ﾁｰﾑ"});
    EXPECT_EQ(f.TeamFieldText(1, 0), "東京");
    EXPECT_EQ(f.TeamFieldText(1, 1), "ﾄｳｷｮｳ");
    EXPECT_EQ(f.TeamFieldText(1, 2), "B");
    EXPECT_EQ(f.TeamFieldText(1, 3), "");
    EXPECT_EQ(f.TeamFieldText(4, 0), "");
    // The last team counts; half-width katakana are one byte each: 4 + 3.
    EXPECT_EQ(f.MaxTeamNameLength(), 7);
    EXPECT_TRUE(f.HasKanaData(false));
    teams().SetCells(2, 1, "  ");
    EXPECT_FALSE(f.HasKanaData(false));
}

TEST_F(EntryLookups, ClassesAndTheOneTimeWarning) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    EXPECT_FALSE(f.AllTeamsHaveClass());
    EXPECT_EQ(f.MaxClassLetter(), " ");
    EXPECT_TRUE(dialogs.Log().empty()) << "no class at all is no mixture";

    teams().SetCells(5, 1, "A");
    teams().SetCells(5, 3, "C");
    EXPECT_FALSE(f.AllTeamsHaveClass());
    EXPECT_FALSE(f.AllTeamsHaveClass());
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0].Text, "空白のｸﾗｽが混在しています。\n※設定は無視されます。");

    teams().SetCells(5, 2, "B");
    EXPECT_TRUE(f.AllTeamsHaveClass());
    EXPECT_EQ(f.MaxClassLetter(), "C");
}

// ---- Runner lookups ----

TEST_F(EntryLookups, RunnerNameInEveryMode) {
    openRace(3, 1, 2);
    TMainForm& f = form();
    putRunner(2, 1, "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", 3, 2);
    EXPECT_EQ(f.RunnerNameText(2, 1, 1), "山田 太郎③");
    EXPECT_EQ(f.RunnerNameText(2, 1, 3), "山田  太郎");
    EXPECT_EQ(f.RunnerNameText(2, 1, 4), "山田太郎");
    EXPECT_EQ(f.RunnerNameText(2, 1, 5), "*山田  太郎③");
    EXPECT_EQ(f.RunnerNameText(2, 1, 6), "山田 太郎");
    EXPECT_EQ(f.RunnerNameText(2, 1, 7), "山田 太郎\t3");
    EXPECT_EQ(f.RunnerNameText(2, 1, 0), "山田  太郎③");
    EXPECT_EQ(f.RunnerNameText(2, 2, 1), "") << "no record";

    // REMARK 3 gets no "*"; a year outside 1..9 no circled digit; 10 bytes need no blanks.
    putRunner(1, 1, "長谷川", "太郎", "", "", 10, 3);
    EXPECT_EQ(f.RunnerNameText(1, 1, 5), "長谷川太郎");
    putRunner(1, 2, "林", "", "", "", 9, 0);
    EXPECT_EQ(f.RunnerNameText(1, 2, 1), "林 ⑨");
    EXPECT_EQ(f.RunnerNameText(1, 2, 6), "林");
}

TEST_F(EntryLookups, JoinedNamesArePaddedInShiftJisBytes) {
    EXPECT_EQ(TMainForm::JoinRunnerName("ﾔﾏﾀﾞ", "ﾀﾛｳ", 3), "ﾔﾏﾀﾞ   ﾀﾛｳ");
    EXPECT_EQ(TMainForm::JoinRunnerName(" 佐藤", "一 ", 0), "佐藤    一");
    EXPECT_EQ(TMainForm::JoinRunnerName("", "", 1), "");
    EXPECT_EQ(TMainForm::JoinRunnerName("Smith", "John", 4), "SmithJohn");
    EXPECT_EQ(TMainForm::JoinRunnerName("Smith", "Johnny", 3), "SmithJohnny");
}

TEST_F(EntryLookups, RunnerReadingsAndFields) {
    openRace(3, 1, 2);
    TMainForm& f = form();
    EXPECT_FALSE(f.HasKanaData(true));
    putRunner(1, 1, "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", 3);
    putRunner(1, 2, "川上", "花子");
    EXPECT_TRUE(f.HasKanaData(true));
    EXPECT_EQ(f.RunnerKanaName(1, 1, 0), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(f.RunnerKanaName(1, 2, 0), "");
    EXPECT_EQ(f.RunnerKanaName(1, 2, 1), "***");
    EXPECT_EQ(f.RunnerKanaName(1, 3, 1), "***") << "no record";
    EXPECT_EQ(f.RunnerFieldText(1, 1, 0), "3");
    EXPECT_EQ(f.RunnerFieldText(1, 3, 0), "");
}

TEST_F(EntryLookups, NoRecordRemarks) {
    openRace(4, 2, 3);
    TMainForm& f = form();
    putRunner(2, 1, "a", "", "", "", 0, 1);
    putRunner(2, 3, "b", "", "", "", 0, 2);
    putRunner(3, 0, "監督", "", "", "", 0, 3); // the manager runs no leg
    putRunner(3, 5, "補欠", "", "", "", 0, 3); // nor does a substitute
    EXPECT_EQ(f.RunnerRemark(2, 3), 2);
    EXPECT_EQ(f.RunnerRemark(2, 2), 0);
    EXPECT_FALSE(f.DetectNoRecordRunner(2));
    EXPECT_TRUE(f.DetectNoRecordRunner(3));

    f.HasNoRecordRunner = false;
    EXPECT_EQ(f.MaxRunnerRemark(2, 4), 0);
    f.HasNoRecordRunner = true;
    EXPECT_EQ(f.MaxRunnerRemark(2, 2), 1);
    EXPECT_EQ(f.MaxRunnerRemark(2, 4), 2);
    EXPECT_EQ(f.MaxRunnerRemark(2, 0), 0);
}

TEST_F(EntryLookups, RunnerListAndLongestName) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    setRow(f.RunnerEntryGrid, 2, {"山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ"});
    EXPECT_EQ(f.RunnerListText(0, false), "山田 太郎");
    EXPECT_EQ(f.RunnerListText(0, true), "山田 太郎    ﾔﾏﾀﾞ ﾀﾛｳ");

    putRunner(0, 2, "番号のないチームの選手", "名前"); // team 0 is no team
    putRunner(1, 2, "山田", "太郎");
    putRunner(3, 2, "長谷川", "健太郎");
    EXPECT_EQ(f.MaxRunnerNameLength(2), 12);
    EXPECT_EQ(f.MaxRunnerNameLength(1), 0);
}

TEST_F(EntryLookups, LookupsSeeEveryWriteAtOnce) {
    openRace(2, 1, 2);
    TMainForm& f = form();
    putRunner(1, 1, "山田", "太郎", "", "", 1, 2);
    EXPECT_EQ(f.RunnerRemark(1, 1), 2);
    EXPECT_EQ(f.RunnerNameText(1, 1, 4), "山田太郎");
    putRunner(1, 1, "川上", "次郎", "", "", 1, 2);
    EXPECT_EQ(f.RunnerNameText(1, 1, 4), "川上次郎");
    f.ClearAllRemarks();
    EXPECT_EQ(f.RunnerRemark(1, 1), 0);
}

// ---- Texts over the result work table ----

class WorkTableTexts : public EntryLookups {
  protected:
    // Rows: team, leg-1 total time, leg-1 time, total place, leg place.
    void workTable(const std::vector<std::vector<int>>& rows) {
        std::vector<FieldDef> fields{{"TeamID", FieldType::Integer}};
        for (const char* n : {"Ttime_1", "Ktime_1", "Tplace_1", "Kplace_1", "Iplace_1", "AdjSw_1"})
            fields.push_back({n, FieldType::Integer});
        Database& db = RaceDb();
        db.CreateTable("temptable.db", fields, {"TeamID"});
        for (const auto& r : rows)
            db.Exec("INSERT INTO temptable.db (TeamID, Ttime_1, Ktime_1, Tplace_1, Kplace_1) VALUES "
                    "(?1,?2,?3,?4,?5)",
                    {Value(r[0]), Value(r[1]), Value(r[2]), Value(r[3]), Value(r[4])});
    }
    void SetUp() override {
        EntryLookups::SetUp();
        openRace(1, 1, 3);
        setRow(teams(), 1, {"東京", "", "", "", "A"});
        setRow(teams(), 2, {"大阪"});
        setRow(teams(), 3, {"京都", "", "", "", "B"});
        putRunner(1, 1, "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", 3);
        putRunner(2, 1, "川上", "花子", "ｶﾜｶﾐ", "ﾊﾅｺ", 2);
        workTable({{1, 905, 905, 2, 2}, {2, 900, 900, 1, 1}, {3, 0, 0, 1000, 1000}});
    }
};

TEST_F(WorkTableTexts, LegWinnersWithTheirRecordMark) {
    TMainForm& f = form();
    const std::string head = "1区\t川上  花子\t大阪\t" + f.SecondsToMarkText(900) + "\t";
    EXPECT_EQ(f.LegWinnersText(1), head + "\n") << "no leg record set: an empty mark";
    f.KukanInfGrid.SetCells(3, 1, "1500"); // 15 minutes = 900 s
    EXPECT_EQ(f.LegWinnersText(1), head + "区間ﾀｲ\n");
    f.KukanInfGrid.SetCells(3, 1, "1501");
    EXPECT_EQ(f.LegWinnersText(1), head + "区間新\n");
    f.KukanInfGrid.SetCells(3, 1, "1459");
    EXPECT_EQ(f.LegWinnersText(1), head + "\n");
}

TEST_F(WorkTableTexts, LegRunnersInLegOrderWithTheClassLetter) {
    TMainForm& f = form();
    const std::string text = f.LegRunnersText(1);
    const std::string line1 = "1\t1\t川上 花子\tｶﾜｶﾐ ﾊﾅｺ\t2\t大阪\t" + f.SecondsToClockText(900) + "\t" +
                              f.SecondsToKanjiTextPadded(900) + "\t\n";
    const std::string line2 = "1\t2\t山田 太郎\tﾔﾏﾀﾞ ﾀﾛｳ\t3\t東京\t" + f.SecondsToClockText(905) + "\t" +
                              f.SecondsToKanjiTextPadded(905) + "\tA\n";
    EXPECT_EQ(text, line1 + line2);
    EXPECT_EQ(text.find('\0'), std::string::npos) << "a team without class writes an empty field";
}

TEST_F(WorkTableTexts, LegTopNames) {
    TMainForm& f = form();
    EXPECT_EQ(f.LegTopNameText(1, true), "川上 花子②");
    EXPECT_EQ(f.LegTopNameText(1, false), "大阪");
    workTable({{3, 0, 0, 1000, 1000}});
    EXPECT_EQ(f.LegTopNameText(1, true), "");
    EXPECT_EQ(f.LegTopNameText(1, false), "");
}

// ---- Grid and text utilities ----

TEST(EntryTextUtilities, TruncateKeepsWholeCharacters) {
    EXPECT_EQ(TMainForm::TruncateToBytes("東京都ABC", 5), "東京");
    EXPECT_EQ(TMainForm::TruncateToBytes("東京都ABC", 8), "東京都AB");
    EXPECT_EQ(TMainForm::TruncateToBytes(" 東 京 ", 3), "東");
    EXPECT_EQ(TMainForm::TruncateToBytes("ｱｲｳ東", 4), "ｱｲｳ");
    EXPECT_EQ(TMainForm::TruncateToBytes("京", 1), "");
    EXPECT_EQ(TMainForm::TruncateToBytes("  short  ", 40), "short");
}

TEST(EntryTextUtilities, WidthConversionAndLooseMatch) {
    EXPECT_EQ(TMainForm::ConvertTextWidth("ﾁｰﾑA", 0), "チームＡ");
    EXPECT_EQ(TMainForm::ConvertTextWidth("ﾁｰﾑA", -3), "チームＡ");
    EXPECT_EQ(TMainForm::ConvertTextWidth("チームＡ", 1), "ﾁｰﾑA");
    EXPECT_EQ(TMainForm::ConvertTextWidth("カタカナ", 2), "かたかな");
    EXPECT_EQ(TMainForm::ConvertTextWidth("ひらがな", 3), "ヒラガナ");
    EXPECT_EQ(TMainForm::ConvertTextWidth("ﾁｰﾑA", 4), "ﾁｰﾑA");
    EXPECT_EQ(TMainForm::ToFullWidth("a1"), "ａ１");

    EXPECT_TRUE(TMainForm::TextsMatchLoosely("abc", "ABC"));
    EXPECT_TRUE(TMainForm::TextsMatchLoosely("ＡＢＣ", "abc"));
    EXPECT_TRUE(TMainForm::TextsMatchLoosely("ｶﾞｯｺｳ", "ガッコウ"));
    EXPECT_FALSE(TMainForm::TextsMatchLoosely("ｶﾞｯｺｳ", "がっこう"));
    EXPECT_FALSE(TMainForm::TextsMatchLoosely("A", "B"));
}

TEST(EntryTextUtilities, GridRangesSpareTheFixedColumn) {
    StringGrid g;
    g.SetColCount(3);
    g.SetRowCount(5);
    for (int r = 0; r < 5; ++r)
        g.SetCellsQuiet(0, r, "row");
    EXPECT_TRUE(TMainForm::IsGridRangeEmpty(g, 1));
    g.SetCellsQuiet(2, 1, "x");
    g.SetCellsQuiet(1, 3, "y");
    EXPECT_FALSE(TMainForm::IsGridRangeEmpty(g, 3));
    EXPECT_TRUE(TMainForm::IsGridRangeEmpty(g, 4));
    TMainForm::ClearGridRowsFrom(g, 2);
    EXPECT_TRUE(g.Modified());
    EXPECT_TRUE(TMainForm::IsGridRangeEmpty(g, 2));
    EXPECT_EQ(g.Cells(2, 1), "x");
    EXPECT_EQ(g.Cells(0, 3), "row");
}
