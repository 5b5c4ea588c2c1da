#include "database/EntryTables.h"
#include "database/RaceFixture.h"
#include "platform/Text.h"

class TeamTable : public RaceFixture {
  protected:
    std::string teamText(const char* field, int team, int no = 1) {
        return sqlValue(Format("SELECT %s FROM チーム情報%03d.db WHERE NOCD=?", field, no), {Value(team)})
            .AsString();
    }
    Value teamValue(const char* field, int team, int no = 1) {
        return sqlValue(Format("SELECT %s FROM チーム情報%03d.db WHERE NOCD=?", field, no), {Value(team)});
    }
    // A team table of edition `no` with these rows (NOCD, name, thisTime).
    void makeTeamTable(int no, const std::vector<std::tuple<int, std::string, int>>& rows) {
        Table t;
        t.SetDatabase(&RaceDb());
        t.SetTableName(TeamTableName(no));
        t.CreateTable({{"NOCD", FieldType::Integer},
                       {"T_NAME", FieldType::FixedChar, 40},
                       {"T_KANA", FieldType::FixedChar, 40},
                       {"T_CLS", FieldType::FixedChar, 3},
                       {"REMARK", FieldType::Smallint},
                       {"MyClass", FieldType::FixedChar, 1},
                       {"LastTime", FieldType::Integer},
                       {"thisTime", FieldType::Integer}},
                      {"NOCD"});
        t.Open();
        for (const auto& [team, name, time] : rows) {
            t.Append();
            t.SetField("NOCD", team);
            t.SetField("T_NAME", name);
            t.SetField("LastTime", 1);
            t.SetField("thisTime", time);
            t.Post();
        }
        t.Close();
    }
};

TEST_F(TeamTable, OlderFiveFieldLayoutIsMigrated) {
    openRace(2, 1, 3);
    {
        Table old;
        old.SetDatabase(&RaceDb());
        old.SetTableName("チーム情報001.db");
        old.CreateTable({{"NOCD", FieldType::Integer},
                         {"T_NAME", FieldType::FixedChar, 40},
                         {"T_KANA", FieldType::FixedChar, 40},
                         {"T_CLS", FieldType::FixedChar, 3},
                         {"REMARK", FieldType::Smallint}},
                        {"NOCD"});
        old.Open();
        for (int team : {2, 1}) {
            old.Append();
            old.SetField("NOCD", team);
            old.SetField("T_NAME", Format("チーム%d", team));
            old.SetField("T_KANA", "ﾁｰﾑ");
            old.SetField("T_CLS", Format("%d", 100 + team));
            old.SetField("REMARK", team);
            old.Post();
        }
        old.Close();
    }
    OpenTeamTable();
    EXPECT_EQ(DataMdl->Table2.FieldCount(), 8);
    EXPECT_EQ(rowCount("チーム情報001.db"), 2);
    EXPECT_EQ(teamText("T_NAME", 2), "チーム2");
    EXPECT_EQ(teamText("T_KANA", 1), "ﾁｰﾑ");
    EXPECT_EQ(teamText("T_CLS", 1), "101");
    EXPECT_EQ(teamValue("REMARK", 2).AsInteger(), 2);
    EXPECT_TRUE(teamValue("MyClass", 1).IsNull());
    EXPECT_TRUE(teamValue("LastTime", 1).IsNull());
    EXPECT_TRUE(teamValue("thisTime", 2).IsNull());
    EXPECT_EQ(rowCount("cpytemptable.db"), 2);

    LoadTeamsToGrid();
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 2), "チーム2");
    EXPECT_EQ(form().TeamEntryGrid.Cells(6, 2), "0");
}

TEST_F(TeamTable, NewEditionTakesTheSourceResultAsPreviousTime) {
    openRace(2, 1, 3);
    makeTeamTable(4, {{1, "北", 3723}, {2, "南", 0}, {3, "東", 4000}});
    form().TaikaiNo = 5;
    form().SourceTaikaiNo = 4;
    OpenTeamTable();
    EXPECT_EQ(rowCount("チーム情報005.db"), 3);
    EXPECT_EQ(teamText("T_NAME", 1, 5), "北");
    EXPECT_EQ(teamValue("LastTime", 1, 5).AsInteger(), 3723);
    EXPECT_EQ(teamValue("thisTime", 1, 5).AsInteger(), 0);
    EXPECT_EQ(teamValue("LastTime", 2, 5).AsInteger(), 0);
    EXPECT_EQ(teamValue("LastTime", 3, 5).AsInteger(), 4000);
    EXPECT_EQ(teamValue("thisTime", 3, 4).AsInteger(), 4000); // the source stays as it was
}

TEST_F(TeamTable, MissingSourceStartsLikeTheFirstEdition) {
    openRace(2, 1, 3);
    OpenTeamTable();
    EXPECT_EQ(rowCount("チーム情報001.db"), 1);
    form().TaikaiNo = 3;
    form().SourceTaikaiNo = 2;
    OpenTeamTable();
    EXPECT_EQ(rowCount("チーム情報003.db"), 1);
    EXPECT_EQ(teamValue("NOCD", 1, 3).AsInteger(), 1);
}

TEST_F(TeamTable, GridRowsRoundTrip) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    StringGrid& g = f.TeamEntryGrid;
    const std::string longName = std::string(39, 'N') + "名前"; // 43 bytes: cut before the kanji
    g.SetCells(1, 1, longName);
    g.SetCells(2, 1, std::string(45, 'k'));
    g.SetCells(3, 1, "12");
    g.SetCells(4, 1, "1");
    g.SetCells(5, 1, "A");
    g.SetCells(6, 1, "12345");
    g.SetCells(1, 2, "二番");
    g.SetCells(4, 2, "2");
    SaveTeamRows();
    EXPECT_FALSE(g.Modified());
    EXPECT_EQ(teamText("T_NAME", 1), std::string(39, 'N'));
    EXPECT_EQ(teamText("T_KANA", 1), std::string(40, 'k'));
    EXPECT_EQ(teamValue("LastTime", 1).AsInteger(), 5025);
    EXPECT_EQ(rowCount("チーム情報001.db"), 3);

    g.SetCells(4, 2, ""); // an emptied OP cell is stored as 0
    SaveTeamRows();
    EXPECT_EQ(teamValue("REMARK", 2).AsInteger(), 0);

    for (int c = 1; c <= 6; ++c)
        g.SetCells(c, 1, "x");
    LoadTeamsToGrid();
    EXPECT_EQ(g.Row(1), (std::vector<std::string>{"1", std::string(39, 'N'), std::string(40, 'k'), "12", "1",
                                                  "A", "12345"}));
    EXPECT_EQ(g.Cells(1, 2), "二番");
    EXPECT_EQ(g.Cells(6, 3), "0");
    EXPECT_FALSE(g.Modified());
}

TEST_F(TeamTable, PurgeRemovesTeamsAboveTheCount) {
    openRace(2, 1, 12);
    SaveTeamRows();
    {
        Transaction tx(RaceDb());
        for (int team : {150, 201})
            RaceDb().Exec("INSERT INTO チーム情報001.db (NOCD) VALUES (?)", {Value(team)});
        tx.Commit();
    }
    setCounts(2, 1, 10);
    PurgeTeamsAboveCount();
    EXPECT_EQ(rowCount("チーム情報001.db"), 10);
    EXPECT_EQ(sqlValue("SELECT max(NOCD) FROM チーム情報001.db").AsInteger(), 10);
}

TEST_F(TeamTable, ThisTimeAndClearing) {
    openRace(2, 1, 2);
    form().TeamEntryGrid.SetCells(1, 2, "名");
    form().TeamEntryGrid.SetCells(6, 2, "100");
    SaveTeamRows();
    SaveTeamThisTime(2, 4321);
    SaveTeamThisTime(7, 1); // no such team: nothing happens
    EXPECT_EQ(teamValue("thisTime", 2).AsInteger(), 4321);
    EXPECT_EQ(rowCount("チーム情報001.db"), 2);
    ClearTeamRecords();
    EXPECT_EQ(teamText("T_NAME", 2), "");
    EXPECT_EQ(teamValue("thisTime", 2).AsInteger(), 0);
    EXPECT_EQ(teamValue("LastTime", 2).AsInteger(), 0);
    EXPECT_EQ(rowCount("チーム情報001.db"), 2);
}

// ---- Runner table ----

class RunnerTable : public RaceFixture {
  protected:
    Value runner(const char* field, int key) {
        return sqlValue(Format("SELECT %s FROM 選手情報001.db WHERE Team_Kukan=?", field), {Value(key)});
    }
    void fillRunner(int row, const std::vector<std::string>& cells) {
        for (size_t c = 0; c < cells.size(); ++c)
            form().RunnerEntryGrid.SetCells(static_cast<int>(c) + 1, row, cells[c]);
    }
};

TEST_F(RunnerTable, SlotsKeysAndTeamCount) {
    openRace(6, 2, 10);
    for (int team = 1; team <= 10; ++team)
        EnsureTeamRunnerRecords(team);
    EXPECT_EQ(rowCount("選手情報001.db"), 90);
    EXPECT_EQ(RunnerTeamCount(), 10);
    EXPECT_FALSE(runner("Team_Kukan", 108).IsNull());
    EXPECT_TRUE(runner("Team_Kukan", 109).IsNull());
    EXPECT_EQ(runner("G_AGE", 305).AsInteger(), 0);

    DeleteTeamRunners(10);
    EXPECT_EQ(rowCount("選手情報001.db"), 81);
    EXPECT_EQ(RunnerTeamCount(), 9);
}

TEST_F(RunnerTable, GridRowsRoundTripForLargeNumbers) {
    openRace(3, 1, 150);
    TMainForm& f = form();
    f.ShowRunnerTeam(150);
    fillRunner(1, {"監督", "太郎", "ｶﾝﾄｸ", "ﾀﾛｳ", "", ""});
    fillRunner(4, {std::string(19, 's') + "姓", "名", "ｾｲ", "ﾒｲ", "3", "1"});
    SaveRunnerRows();
    EXPECT_FALSE(f.RunnerEntryGrid.Modified());
    EXPECT_EQ(runner("R_SEI", 15003).AsString(), std::string(19, 's'));
    EXPECT_EQ(runner("G_AGE", 15003).AsInteger(), 3);
    EXPECT_EQ(runner("REMARK", 15003).AsInteger(), 1);
    EXPECT_EQ(runner("REMARK", 15000).AsInteger(), 0);
    EXPECT_EQ(rowCount("選手情報001.db"), 5);

    fillRunner(4, {"", "", "", "", "", ""}); // an emptied OP cell is stored as 0
    SaveRunnerRows();
    EXPECT_EQ(runner("REMARK", 15003).AsInteger(), 0);

    fillRunner(1, {"x", "x", "x", "x", "x", "x"});
    f.EntryTab.ShowPage(1);
    LoadRunnersToGrid();
    EXPECT_EQ(f.RunnerEntryGrid.Cells(1, 1), "監督");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(5, 1), ""); // school year 0 shows empty
    EXPECT_EQ(f.RunnerEntryGrid.Cells(6, 1), "0");
    EXPECT_EQ(f.EntryTab.ActivePageIndex(), 1); // loading never turns the tab
    EXPECT_EQ(f.TeamUpDown.Value(), 150);
}

TEST_F(RunnerTable, AMissingRowEmptiesTheWholeRow) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.ShowRunnerTeam(1);
    fillRunner(2, {"一", "区", "ｲﾁ", "ｸ", "2", "1"});
    SaveRunnerRows();
    f.CurrTeamNo = 3;
    DeleteTeamRunners(3); // the rows the team count made
    LoadRunnersToGrid();
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(f.RunnerEntryGrid.Cells(c, 2), "") << "column " << c;
}

TEST_F(RunnerTable, TeamZeroIsNeverSaved) {
    openRace(2, 1, 3);
    form().ShowRunnerTeam(0);
    fillRunner(1, {"誰"});
    SaveRunnerRows();
    EXPECT_TRUE(runner("Team_Kukan", 0).IsNull());
}

TEST_F(RunnerTable, ClearKeepsTheRows) {
    openRace(2, 1, 2);
    form().ShowRunnerTeam(2);
    fillRunner(2, {"姓", "名", "ｾｲ", "ﾒｲ", "1", "2"});
    SaveRunnerRows();
    const int rows = rowCount("選手情報001.db");
    ClearRunnerRecords();
    EXPECT_EQ(rowCount("選手情報001.db"), rows);
    EXPECT_EQ(runner("R_SEI", 201).AsString(), "");
    EXPECT_EQ(runner("G_AGE", 201).AsInteger(), 0);
    EXPECT_EQ(runner("REMARK", 201).AsInteger(), 0);
}

// ---- Waiting table ----

TEST_F(RunnerTable, WaitingTableIsCreatedWithItsKey) {
    openRace(2, 1, 2);
    OpenDelayTable();
    Table& t = DataMdl->Table4;
    EXPECT_EQ(t.TableName(), "待機情報001.db");
    EXPECT_EQ(t.FieldCount(), 3);
    EXPECT_EQ(RaceDb().KeyFields("待機情報001.db"), std::vector<std::string>{"Kukan_Team"});
    // Leg 11 number 50 and leg 1 number 150 are different waits.
    EXPECT_NE(WaitingKey(11, 50), WaitingKey(1, 150));
    EXPECT_EQ(WaitingNumber(WaitingKey(1, 150), 1), 150);
}
