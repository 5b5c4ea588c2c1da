// Saves and loads a 200-team, 50-leg, 20-substitute edition (edition row with all
// blobs, team rows, runner rows of every team), then saves after one changed runner
// row and after a page change without a change, and prints the times; last the
// median full save plus load.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

namespace {

constexpr int kLegs = 50, kSubs = 20, kTeams = 200, kPasses = 5;

// Wall time and the process's CPU time: the difference is mostly waiting for the disk.
struct Clock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
};

struct Span {
    double wall = 0, cpu = 0;
};

Span since(const Clock& start) {
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start.wall).count(),
            1000.0 * static_cast<double>(std::clock() - start.cpu) / CLOCKS_PER_SEC};
}

void fillEdition(TMainForm& f, int pass) {
    for (int k = 1; k <= kLegs; ++k) {
        f.KukanInfGrid.SetCells(1, k, Format("第%d中継所", k));
        f.KukanInfGrid.SetCells(2, k, Format("%d.%03d", 3 + k % 7, k));
        f.KukanInfGrid.SetCells(3, k, Format("%d", 1500 + k));
        if (k < kLegs) FormKuriage->KuriageGrid.SetCells(1, k, Format("%d", k % 5 == 0 ? 120000 + k : 0));
    }
    for (int t = 1; t <= kTeams; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%d-%d", t, pass));
        f.TeamEntryGrid.SetCells(2, t, Format("ﾁｰﾑ%d", t));
        f.TeamEntryGrid.SetCells(3, t, Format("%d", 100 + t));
        f.TeamEntryGrid.SetCells(6, t, Format("%d", 20000 + t));
        for (int k = 1; k <= kLegs; ++k) {
            f.InputGrid.SetCells(2 * k - 1, t + 1, Format("%d", t));
            f.InputGrid.SetCells(2 * k, t + 1, Format("%d", 10000 + k * 100 + t % 60));
        }
    }
}

void fillRunners(TMainForm& f, int team, int pass) {
    for (int slot = 0; slot <= kLegs + kSubs; ++slot) {
        f.RunnerEntryGrid.SetCells(1, slot + 1, Format("姓%d-%d", team, pass));
        f.RunnerEntryGrid.SetCells(2, slot + 1, Format("名%d", slot));
        f.RunnerEntryGrid.SetCells(3, slot + 1, "ｾｲ");
        f.RunnerEntryGrid.SetCells(4, slot + 1, "ﾒｲ");
        f.RunnerEntryGrid.SetCells(5, slot + 1, Format("%d", slot % 4));
        f.RunnerEntryGrid.SetCells(6, slot + 1, slot % 9 == 0 ? "1" : "0");
    }
}

void add(Span& total, const Span& part) {
    total.wall += part.wall;
    total.cpu += part.cpu;
}

struct Times {
    Span edition, runners, load;
};

Times saveAndLoad(TMainForm& f, int pass) {
    Times t;
    fillEdition(f, pass);
    Clock start;
    if (!SaveTaikaiFields(false)) std::fprintf(stderr, "save failed\n");
    t.edition = since(start);

    {
        // An entry import saves every team's runners as one batch; the typing is not timed.
        Transaction tx(RaceDb());
        for (int team = 1; team <= kTeams; ++team) {
            // The rows typed in go to the team the grid shows.
            f.CurrTeamNo = f.RunnerGridTeam = team;
            fillRunners(f, team, pass);
            start = Clock();
            SaveRunnerRows();
            add(t.runners, since(start));
        }
        start = Clock();
        tx.Commit();
        add(t.runners, since(start));
    }

    start = Clock();
    OpenTaikaiTable();
    LoadKukanBlob();
    LoadInputBlob();
    LoadKuriageBlob();
    LoadTeamsToGrid();
    for (int team = 1; team <= kTeams; ++team) {
        f.CurrTeamNo = team;
        LoadRunnersToGrid();
    }
    t.load = since(start);
    return t;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Each team shown in turn, one name changed, then the save the next team change makes.
Span oneChangedRow(TMainForm& f, int team) {
    f.ShowRunnerTeam(team);
    f.RunnerEntryGrid.SetCells(1, 3, Format("直し%d", team));
    Clock start;
    SaveRunnerRows();
    return since(start);
}

} // namespace

int main() {
    HeadlessProgram run;
    const auto& home = run.home;
    TMainForm& f = *run.program.mainForm;

    const auto folder = home.path() / "tvnData" / "bench";
    std::filesystem::create_directories(folder);
    f.DataFolder = folder;
    f.NewTaikaiDir = "bench";
    f.TaikaiNo = 1;
    OpenTaikaiTable();
    f.TaikaiOpen = true;
    f.KukanSpinNum.SetValue(kLegs);
    f.HoketuSpinNum.SetValue(kSubs);
    f.SankaSpinNum.SetValue(kTeams);
    f.ApplyCountsAndLayout();

    std::printf("edition: %d legs, %d substitutes, %d teams\n", kLegs, kSubs, kTeams);
    std::vector<double> full, fullCpu;
    for (int pass = 1; pass <= kPasses; ++pass) {
        const Times t = saveAndLoad(f, pass);
        const double wall = t.edition.wall + t.runners.wall + t.load.wall;
        const double cpu = t.edition.cpu + t.runners.cpu + t.load.cpu;
        std::printf("pass %d (%s): edition save %.1f ms (cpu %.1f), runner rows save %.1f ms (cpu %.1f), "
                    "load %.1f ms (cpu %.1f); total %.1f ms (cpu %.1f ms)\n",
                    pass, pass == 1 ? "new rows" : "updates", t.edition.wall, t.edition.cpu, t.runners.wall,
                    t.runners.cpu, t.load.wall, t.load.cpu, wall, cpu);
        if (pass > 1) {
            full.push_back(wall);
            fullCpu.push_back(cpu);
        }
    }
    if (f.TeamEntryGrid.Cells(1, kTeams) != Format("チーム%d-%d", kTeams, kPasses))
        std::printf("load back differs!\n");

    std::vector<double> one, oneCpu;
    for (int team = 1; team <= kTeams; team += 10) {
        const Span s = oneChangedRow(f, team);
        one.push_back(s.wall);
        oneCpu.push_back(s.cpu);
    }
    f.ShowRunnerTeam(1);
    Clock start;
    f.MainPageChange();
    const Span unchanged = since(start);

    std::printf("save after one changed runner row: %.2f ms (cpu %.2f ms), median of %zu teams\n",
                median(one), median(oneCpu), one.size());
    std::printf("page change without a change: %.2f ms (cpu %.2f ms)\n", unchanged.wall, unchanged.cpu);
    std::printf("save+load cpu: %.1f ms\n", median(fullCpu));
    std::printf("save+load: %.1f ms\n", median(full));
    return 0;
}
