// Saves of the entry grids write only the rows changed since the grid was loaded or
// saved, and the rows the table lacks; loads fill a grid with one notification.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/RaceFixture.h"
#include "platform/Text.h"

class ChangedRowsSave : public RaceFixture {
  protected:
    // 3 legs, 1 substitute (slots 0..4), 5 teams; every team and team 2's runners stored.
    void StoredRace() {
        openRace(3, 1, 5);
        for (int t = 1; t <= 5; ++t)
            form().TeamEntryGrid.SetCells(1, t, Format("チーム%d", t));
        SaveTeamRows();
        form().ShowRunnerTeam(2);
        for (int row = 1; row <= 5; ++row)
            form().RunnerEntryGrid.SetCells(1, row, Format("姓%d", row));
        SaveRunnerRows();
        form().ShowRunnerTeam(1);
        form().ShowRunnerTeam(2);
    }
    // Rows the engine inserted, updated or deleted while `save` ran.
    template <class F> long long RowsWritten(F save) {
        const long long before = RaceDb().TotalChanges();
        save();
        return RaceDb().TotalChanges() - before;
    }
    std::string RunnerName(int key) {
        return sqlValue("SELECT R_SEI FROM 選手情報001.db WHERE Team_Kukan=?", {Value(key)}).AsString();
    }
    std::string TeamName(int team) {
        return sqlValue("SELECT T_NAME FROM チーム情報001.db WHERE NOCD=?", {Value(team)}).AsString();
    }
};

TEST_F(ChangedRowsSave, OneChangedRowWritesThatRowAndNoChangeWritesNothing) {
    StoredRace();
    TMainForm& f = form();
    f.RunnerEntryGrid.SetCells(2, 3, "名");
    EXPECT_EQ(RowsWritten([] { SaveRunnerRows(); }), 1);
    EXPECT_EQ(RunnerName(202), "姓3");
    EXPECT_EQ(sqlValue("SELECT R_MEI FROM 選手情報001.db WHERE Team_Kukan=202").AsString(), "名");

    f.TeamEntryGrid.SetCells(2, 4, "ﾖﾝ");
    EXPECT_EQ(RowsWritten([] { SaveTeamRows(); }), 1);
    EXPECT_EQ(sqlValue("SELECT T_KANA FROM チーム情報001.db WHERE NOCD=4").AsString(), "ﾖﾝ");

    f.PrevKukanNum = f.KukanSpinNum.Value(); // the leg count stands: no input save
    EXPECT_EQ(RowsWritten([&] {
                  f.MainPageChange();
                  SaveRunnerRows();
                  SaveTeamRows();
              }),
              0);
}

// Rows the table does not hold as shown are written although no cell of theirs changed.
TEST_F(ChangedRowsSave, RowsTheTableLacksAreWrittenAgain) {
    StoredRace();
    TMainForm& f = form();
    DeleteTeamRunners(2); // the grid still shows team 2's runners
    EXPECT_EQ(RowsWritten([] { SaveRunnerRows(); }), 5);
    EXPECT_EQ(RunnerName(204), "姓5");

    // A lowered team count purges the rows above it; raised again, the kept rows come back.
    setCounts(3, 1, 3);
    PurgeTeamsAboveCount();
    EXPECT_EQ(rowCount("チーム情報001.db"), 3);
    setCounts(3, 1, 5);
    EXPECT_EQ(RowsWritten([] { SaveTeamRows(); }), 2);
    EXPECT_EQ(TeamName(5), "チーム5");

    // A save rolled back leaves the grid modified: everything is written next time.
    f.TeamEntryGrid.ClearModified();
    f.TeamEntryGrid.SetModified(true);
    EXPECT_EQ(RowsWritten([] { SaveTeamRows(); }), 5);
}

TEST_F(ChangedRowsSave, ALoadNotifiesOnce) {
    StoredRace();
    StringGrid& g = form().RunnerEntryGrid;
    int cells = 0, layouts = 0;
    g.CellChanged.connect([&](int, int) { ++cells; });
    g.LayoutChanged.connect([&] { ++layouts; });
    form().CurrTeamNo = 1;
    LoadRunnersToGrid(); // team 1 has no names: the cells change
    EXPECT_EQ(g.Cells(1, 3), "");
    EXPECT_EQ(cells, 0);
    EXPECT_EQ(layouts, 1);
    for (int row = 1; row <= 5; ++row)
        EXPECT_FALSE(g.RowModified(row));

    // The passing times of an edition likewise.
    StringGrid& input = form().InputGrid;
    input.SetCells(2, 3, "1234");
    ASSERT_TRUE(SaveTaikaiFields(false)); // the counts the blob is read by, and the blob
    input.SetCells(2, 3, "");
    cells = layouts = 0;
    input.CellChanged.connect([&](int, int) { ++cells; });
    input.LayoutChanged.connect([&] { ++layouts; });
    LoadInputBlob();
    EXPECT_EQ(input.Cells(2, 3), "1234");
    EXPECT_EQ(cells, 0);
    EXPECT_EQ(layouts, 1);
}
