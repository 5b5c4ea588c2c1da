#pragma once
// A race set up by hand for the results computation: edition 1 in home/race,
// the counts, the team numbers, one runner record per team and slot, and
// helpers to type passings, waiting times, remarks and to read the work table.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "mainwindow/TFormKuriage.h"
#include "output/TOutputForm.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"
#include "support/WaitingRows.h"

#include <filesystem>
#include <utility>
#include <vector>

class ResultRace : public ProgramFixture {
  protected:
    void OpenRace(int legs, int teams, int subs = 1) {
        form().DataFolder = home.path() / "race";
        std::filesystem::create_directories(form().DataFolder);
        DataMdl->SetFolder(form().DataFolder);
        form().TaikaiNo = 1;
        form().TaikaiOpen = true;
        form().KukanSpinNum.SetValue(legs);
        form().HoketuSpinNum.SetValue(subs);
        form().SankaSpinNum.SetValue(teams);
        form().ApplyCountsAndLayout();
        FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, legs);
        for (int t = 1; t <= teams; ++t)
            EnsureTeamRunnerRecords(t);
        // A race day, as every final showing writes it into the prize data.
        form().taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    }

    // The passings of one relay point in passing order: {number, time code}.
    void Leg(int leg, const std::vector<std::pair<int, int>>& passings) {
        int row = 2;
        for (auto [number, code] : passings) {
            form().InputGrid.SetCells(2 * leg - 1, row, IntToStr(number));
            form().InputGrid.SetCells(2 * leg, row, IntToStr(code));
            ++row;
        }
    }
    void Cell(int leg, int row, const std::string& number, const std::string& time) {
        form().InputGrid.SetCells(2 * leg - 1, row + 1, number);
        form().InputGrid.SetCells(2 * leg, row + 1, time);
    }

    void Op(int team, int value) { form().TeamEntryGrid.SetCells(4, team, IntToStr(value)); }
    void Class(int team, const std::string& cls) { form().TeamEntryGrid.SetCells(5, team, cls); }
    void Alias(int team, int alias) { form().TeamEntryGrid.SetCells(3, team, IntToStr(alias)); }
    // Advanced start ("3000") or restart ("-10000") at relay point k.
    void Kuriage(int k, const std::string& code) { FormKuriage->KuriageGrid.SetCells(1, k, code); }

    void Remark(int team, int slot, int remark) {
        OpenRunnerTable();
        Table& t = DataMdl->Table3;
        ASSERT_TRUE(t.FindKey({Value(team * 100 + slot)}));
        t.Edit();
        t.SetField("REMARK", remark);
        t.Post();
        t.Close();
    }
    void Waiting(int leg, int number, int code) { AddWaitingRow(leg, number, code); }

    // The field of every team, in team order.
    std::vector<int> Col(LegField field, int leg) {
        Query q = DataMdl->Db()->Prepare("SELECT " + LegFieldName(field, leg) +
                                         " FROM temptable.db ORDER BY TeamID");
        std::vector<int> out;
        while (q.Step())
            out.push_back(q.Column(0).AsInteger());
        q.Reset();
        return out;
    }
    int At(LegField field, int leg, int team) { return Col(field, leg).at(team - 1); }
};
