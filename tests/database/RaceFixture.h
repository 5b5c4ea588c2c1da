#pragma once
// A program with a race folder open on one edition, as the database tests need it.
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/TFormKuriage.h"
#include "platform/TableEngine.h"
#include "support/ProgramFixture.h"

#include <filesystem>
#include <string>

class RaceFixture : public ProgramFixture {
  protected:
    std::filesystem::path raceFolder() const { return home.path() / "tvnData" / "race"; }

    // Creates (or reopens) the race file with edition `no` in use and lays out the counts.
    void openRace(int legs, int subs, int teams, int no = 1) {
        std::filesystem::create_directories(raceFolder());
        form().DataFolder = raceFolder();
        form().NewTaikaiDir = "race";
        form().TaikaiNo = no;
        OpenTaikaiTable();
        form().TaikaiOpen = true;
        setCounts(legs, subs, teams);
    }

    void setCounts(int legs, int subs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().HoketuSpinNum.SetValue(subs);
        form().SankaSpinNum.SetValue(teams);
        form().ApplyCountsAndLayout();
    }

    // One value read with SQL on the open race folder; null when no row matches.
    Value sqlValue(const std::string& sql, const std::vector<Value>& params = {}) {
        Query q = RaceDb().Prepare(sql);
        q.BindAll(params);
        Value v = q.Step() ? q.Column(0) : Value();
        q.Reset();
        return v;
    }

    Value editionField(const std::string& field, int no = 1) {
        return sqlValue("SELECT " + field + " FROM 大会情報.db WHERE IDN=?", {Value(no)});
    }

    int rowCount(const std::string& file) { return sqlValue("SELECT count(*) FROM " + file).AsInteger(); }

    StringGrid& kuriageGrid() { return program->formKuriage->KuriageGrid; }
};
