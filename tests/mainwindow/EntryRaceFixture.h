#pragma once
// A program with an open edition (race folder, edition 1, its team and runner
// tables) for the tests of the entry pages and the lookups over them.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"

#include <filesystem>
#include <string>
#include <vector>

class EntryRace : public ProgramFixture {
  protected:
    void openRace(int legs, int subs, int teams) {
        TMainForm& f = form();
        f.wireEntryHandlers();
        f.KukanSpinNum.SetValue(legs);
        f.HoketuSpinNum.SetValue(subs);
        f.SankaSpinNum.SetValue(teams);
        f.DataFolder = home.path() / "race";
        std::filesystem::create_directories(f.DataFolder);
        f.TaikaiNo = 1;
        f.TaikaiOpen = true;
        f.CurrTeamNo = 1;
        OpenTeamTable();
        OpenRunnerTable();
        f.ApplyCountsAndLayout();
    }
    void putRunner(int team, int slot, const std::string& sei, const std::string& mei,
                   const std::string& seiKana = "", const std::string& meiKana = "", int age = 0,
                   int remark = 0) {
        RaceDb().Exec("INSERT OR REPLACE INTO " + RunnerTableName(1) + " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
                      {Value(team * 100 + slot), Value(sei), Value(mei), Value(seiKana), Value(meiKana),
                       Value(age), Value(remark)});
    }
    // Cells of one row of a grid from column 1 on.
    void setRow(StringGrid& g, int row, const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i)
            g.SetCells(static_cast<int>(i) + 1, row, cells[i]);
    }
    int runnerCount() {
        Query q = RaceDb().Prepare("SELECT COUNT(*) FROM " + RunnerTableName(1));
        int n = q.Step() ? q.Column(0).AsInteger() : -1;
        q.Reset();
        return n;
    }
};
