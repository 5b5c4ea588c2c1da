// Times the split grid on a 200-team, 50-leg race where every team runs under an
// alias: a 999-line paste of number/time pairs, the leg walk over all rows, the
// transfer into the input grid, and the restore of a full input grid (10,000
// passings). Prints the median milliseconds of each step.
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
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
    std::filesystem::create_directories(folder);
    f.DataFolder = folder;
    DataMdl->SetFolder(folder);
    f.TaikaiNo = 1;
    f.TaikaiOpen = true;
    f.KukanSpinNum.SetValue(kLegs);
    f.SankaSpinNum.SetValue(kTeams);
    f.ApplyCountsAndLayout();
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

using Clock = std::chrono::steady_clock;

struct Step {
    const char* name;
    std::function<void()> prepare;
    std::function<bool()> run; // false: the step did not do its work
    std::vector<double> ms;
};

} // namespace

int main() {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    setUpRace(f, bench.home.path() / "race");
    StringGrid& split = f.tempKukanGrid;
    const std::string text = pastedText();
    std::vector<Step> steps = {
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
    for (int run = 0; run < kRuns; ++run) {
        for (Step& s : steps) {
            s.prepare();
            const auto t0 = Clock::now();
            const bool ok = s.run();
            s.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            if (!ok) {
                std::fprintf(stderr, "%s failed: %s\n", s.name, bench.dialogs.Joined().c_str());
                return 1;
            }
        }
    }
    std::printf("split grid, %d teams with aliases, %d legs, median of %d runs\n", kTeams, kLegs, kRuns);
    for (Step& s : steps) {
        std::sort(s.ms.begin(), s.ms.end());
        std::printf("%s: %.2f ms\n", s.name, s.ms[s.ms.size() / 2]);
    }
    return 0;
}
