// Times the automatic timing-file import on a 200-team, 50-leg race where every team
// runs under an alias and every leg has its split count: a 999-line timing file read,
// filtered to the leg ends, laid into the split grid with its legs and handed on to the
// input grid without a question; then the polling tick that finds the size unchanged.
#include "bench/BenchRace.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <cstdio>

namespace {

using namespace BenchRace;

constexpr int kLines = 999, kRuns = 21, kTicks = 101;

int alias(int team) {
    return 500 + team;
}

// Every team passes points 1..5 in turn; split counts 2, 4, ... make points 2 and 4 the
// ends of legs 1 and 2.
std::string timingFileText(const TMainForm& f) {
    std::string text = ToSjis("時刻,区分,No,通過,地点\r\n");
    for (int i = 0; i < kLines; ++i) {
        const int team = (i * 37) % kTeams + 1, point = i / kTeams + 1;
        text += Format("%d,0,%d,%d,%d\r\n", i, alias(team), f.SecondsToDigits(9 * 3600 + 3 * i), point);
    }
    return text;
}

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    f.showSlitPanel = true;
    OpenEmptyRace(f, folder, kLegs, 2, kTeams);
    for (int t = 1; t <= kTeams; ++t)
        f.TeamEntryGrid.SetCells(3, t, IntToStr(alias(t)));
    for (int k = 1; k <= kLegs; ++k)
        f.KukanInfGrid.SetCells(4, k, IntToStr(2 * k));
    f.EntryTeamNum = kTeams;
    f.AutoTransferNoAsk = true;
    f.AutoImportOn = true;
    f.MainWindowActive = true;
    f.Timer1.SetEnabled(true);
}

} // namespace

int main() {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    setUpRace(f, bench.home.path() / "race");
    f.FromPath = (bench.home.path() / "000.csv").string();
    if (!WriteFileBytes(f.FromPath, timingFileText(f))) return 1;
    const int legEnds = 2 * kTeams; // points 2 and 4 of every team
    auto fault = [&]() -> std::string {
        if (f.tempKukanGrid.Cells(3, legEnds + 1) != "2" || !f.tempKukanGrid.Cells(1, legEnds + 2).empty())
            return "split grid: " + bench.dialogs.Joined();
        if (f.InputGrid.Cells(2 * 2, kTeams + 1).empty()) return "input grid: " + bench.dialogs.Joined();
        return {};
    };
    std::printf("timing file of %d lines, %d teams with aliases, %d legs, median of %d runs\n", kLines,
                kTeams, kLegs, kRuns);
    bool ok = PrintMedianOf("LoadAutoImportFile (read, leg ends, split grid, 区, transfer)", kRuns, [&] {
        return f.LoadAutoImportFile() ? fault() : "not read: " + bench.dialogs.Joined();
    });
    ok = ok && PrintMedianOf("tick after a change of size", kRuns, [&] {
             f.AutoImportSize = -1;
             f.Timer1.Fire();
             return f.AutoImportSize == FileSizeOf(f.FromPath) ? fault() : "the tick did not read";
         });
    // A tick that read the file would empty the loaded grid's marker cell.
    f.TimingCsvGrid.SetCells(0, 0, "idle");
    ok = ok && PrintMedianOf("idle tick", kTicks, [&] {
             const int before = f.ProgressBar1.Position();
             f.Timer1.Fire();
             if (f.TimingCsvGrid.Cells(0, 0) != "idle") return std::string("the idle tick read the file");
             return f.ProgressBar1.Position() != before ? std::string() : std::string("the tick did not run");
         });
    return ok ? 0 : 1;
}
