// Times the clock-time window on a 200-team race at leg 2 of 50 with every leg-1
// passing typed: the set-up from the input grid, the forward conversion, the leg-time
// accumulation, a sort and "書込"; then the waiting window's save and load of 200 rows.
// Prints the median milliseconds of each step.
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"
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

constexpr int kTeams = 200, kLegs = 50, kLeg = 2, kRuns = 15;

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, f.HoketuSpinNum.Value(), kTeams);
    // Leg 1 passings 1:00'00" on, one team every 7 s, team numbers in a scrambled order.
    for (int r = 0; r < kTeams; ++r) {
        f.InputGrid.SetCells(1, r + 2, IntToStr((r * 37) % kTeams + 1));
        f.InputGrid.SetCells(2, r + 2, IntToStr(f.SecondsToDigits(3600 + 7 * r)));
    }
}

// What the timekeeper typed for leg 2: the cards and their leg times.
void typeLegTimes(TFormClockInput& c) {
    for (int r = 1; r <= kTeams; ++r) {
        c.ClocInputStringGrid.SetCells(1, r, IntToStr((r * 53) % kTeams + 1));
        c.ClocInputStringGrid.SetCells(2, r, IntToStr(MainForm->SecondsToDigits(1800 + (r * 11) % 600)));
    }
}

void typeWaitingRows(TFormDelayInf& d) {
    d.DelayLeg = kLeg;
    StringGrid& g = d.DelayStringGrid;
    g.SetRowCount(kTeams + 2);
    for (int r = 1; r <= kTeams; ++r) {
        g.SetCells(0, r, IntToStr(r));
        g.SetCells(1, r, IntToStr(r % 60 + 10));
    }
}

} // namespace

int main() {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    TFormClockInput& c = *FormClockInput;
    TFormDelayInf& d = *FormDelayInf;
    setUpRace(f, bench.home.path() / "race");
    c.ClockStartTimes[0] = 9 * 3600;
    c.ClockStartTimes[kLeg] = 9 * 3600 + 30 * 60;
    auto clearColumn = [&c](int col) {
        for (int r = 1; r <= kTeams; ++r)
            c.ClocInputStringGrid.SetCells(col, r, "");
    };
    std::vector<BenchSteps::Step> steps = {
        {"SetupClockGrid",
         [&f] { f.InputGrid.SetCurrent(2 * kLeg, 2); },
         [&c] {
             c.SetupClockGrid();
             c.FormShow();
             return c.KukanNo == kLeg;
         },
         {}},
        {"forward conversion",
         [&] { typeLegTimes(c); },
         [&c] {
             c.timCnvSpeed2Click();
             return !c.ClocInputStringGrid.Cells(3, kTeams).empty();
         },
         {}},
        {"AccumulateLegTimes",
         [&] { clearColumn(3); },
         [&c] {
             c.AccumulateLegTimes();
             return !c.ClocInputStringGrid.Cells(3, kTeams).empty() && c.GridSorted;
         },
         {}},
        {"SortClockGrid",
         [] {},
         [&c] {
             c.SortClockGrid(1);
             return c.ClocInputStringGrid.Cells(1, 1) == "1";
         },
         {}},
        {"書込",
         [&] { // the sorted rows replace those of the run before
             if (!f.InputGrid.Cells(2 * kLeg, 2).empty()) bench.dialogs.AnswerDlg(mrYes);
         },
         [&] {
             c.CnvExeBtnClick();
             return c.DataWritten && !f.InputGrid.Cells(2 * kLeg, kTeams + 1).empty();
         },
         {}},
        {"SaveDelayGrid",
         [&] { typeWaitingRows(d); },
         [&f] {
             f.SaveDelayGrid();
             return true;
         },
         {}},
        {"LoadDelayGrid",
         [] {},
         [&f, &d] { return f.LoadDelayGrid() == 0 && d.DelayStringGrid.RowCount() == kTeams + 2; },
         {}},
    };
    if (!BenchSteps::Run(steps, kRuns, [&] { return bench.dialogs.Joined(); })) return 1;
    if (bench.dialogs.Pending()) {
        std::fprintf(stderr, "a question of \"書込\" was not asked: %s\n", bench.dialogs.Joined().c_str());
        return 1;
    }
    std::printf("clock-time window and waiting rows, %d teams, leg %d of %d, median of %d runs\n", kTeams,
                kLeg, kLegs, kRuns);
    BenchSteps::PrintMedians(steps, 2);
    return 0;
}
