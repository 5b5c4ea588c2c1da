// Times the split grid on a 200-team, 50-leg race where every team runs under an
// alias: a 999-line paste of number/time pairs, the leg walk over all rows, the
// transfer into the input grid, and the restore of a full input grid (10,000
// passings). Prints the median milliseconds of each step.
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "bench/BenchRace.h"
#include "bench/BenchSteps.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTeams = 200, kLegs = 50, kLines = 999, kRuns = 15;

int alias(int team) {
    return 500 + team;
}

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, f.HoketuSpinNum.Value(), kTeams);
    for (int t = 1; t <= kTeams; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%d", t));
        f.TeamEntryGrid.SetCells(3, t, IntToStr(alias(t)));
    }
    f.EntryTeamNum = kTeams;
    f.AutoTransferNoAsk = true;
}

// Passings as a timing tool copies them: "alias<TAB>h:mm:ss", teams in a scrambled order.
std::string pastedText() {
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        const int team = (i * 37) % kTeams + 1;
        const int s = 3600 + 3 * i;
        text += Format("%d\t%d:%02d:%02d\r\n", alias(team), s / 3600, s / 60 % 60, s % 60);
    }
    return text;
}

void fillInputGrid(TMainForm& f) {
    for (int leg = 1; leg <= kLegs; ++leg)
        for (int r = 0; r < kTeams; ++r) {
            f.InputGrid.SetCells(2 * leg - 1, r + 2, IntToStr(alias((r * 53 + leg) % kTeams + 1)));
            f.InputGrid.SetCells(2 * leg, r + 2, IntToStr(f.SecondsToDigits(3600 * leg + 7 * r)));
        }
}

} // namespace

int main() {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    setUpRace(f, bench.home.path() / "race");
    StringGrid& split = f.tempKukanGrid;
    const std::string text = pastedText();
    std::vector<BenchSteps::Step> steps = {
        {"paste of 999 lines",
         [&] {
             TMainForm::ClearGridData(split, -1);
             split.SetCurrent(1, 2);
             bench.clipboard.SetText(text);
         },
         [&] {
             f.ActionClipPasteExecute();
             return !split.Cells(1, kLines + 1).empty() && split.Cells(3, kLines + 1) == "5";
         },
         {}},
        {"RefreshSplitGridLegs(all)",
         [] {},
         [&] { return f.RefreshSplitGridLegs(split, true) == 0 && !split.Cells(4, kLines + 1).empty(); },
         {}},
        {"transfer to InputGrid",
         [] {},
         [&] {
             f.Slit2InpGridExecute();
             return !f.InputGrid.Cells(2 * 5, kTeams).empty();
         },
         {}},
        {"restore of a full InputGrid",
         [&] { fillInputGrid(f); },
         [&] {
             f.InputGrid2SlitGridExecute();
             return !split.Cells(2, kTeams * kLegs + 1).empty() && split.Cells(3, kTeams * kLegs + 1) == "50";
         },
         {}},
    };
    if (!BenchSteps::Run(steps, kRuns, [&] { return bench.dialogs.Joined(); })) return 1;
    std::printf("split grid, %d teams with aliases, %d legs, median of %d runs\n", kTeams, kLegs, kRuns);
    BenchSteps::PrintMedians(steps, 2);
    return 0;
}
