#pragma once
// A race of the given legs and teams with its input grid and split grid laid out and
// the input page shown, and column reads of either grid.
#include "support/ProgramFixture.h"

#include <string>
#include <vector>

using Cells = std::vector<std::string>;

class PassingGridFixture : public ProgramFixture {
  protected:
    void race(int legs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().SankaSpinNum.SetValue(teams);
        form().ApplyCountsAndLayout();
        form().EntryTeamNum = form().TeamNum - form().CountAbsentTeams();
        form().KukanSpinDisable(2); // on the input page, where its tools are enabled
    }
    StringGrid& in() { return form().InputGrid; }
    StringGrid& split() { return form().tempKukanGrid; }
    // Rows from..to of a column.
    static Cells column(const StringGrid& g, int col, int from, int to) {
        Cells out;
        for (int r = from; r <= to; ++r)
            out.push_back(g.Cells(col, r));
        return out;
    }
    // Split rows from the first data row: number and time.
    void fillSplit(const std::vector<std::pair<std::string, std::string>>& rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            split().SetCells(1, 2 + static_cast<int>(i), rows[i].first);
            split().SetCells(2, 2 + static_cast<int>(i), rows[i].second);
        }
    }
};
