// Times the imports of a 200-team race of 10 legs: the CSV entry window's block file
// (No, team name and 10 runners per team under a reading row: 400 lines) read into its
// grid and imported, and a 999-line clock-time file read into the clock-time window and
// placed by number check. Prints the median milliseconds of each as "<what>: <ms> ms".
#include "database/EntryTables.h"
#include "database/RunnerKeys.h"
#include "database/TDataMdl.h"
#include "mainwindow/CsvGrid.h"
#include "mainwindow/GridOps.h"
#include "mainwindow/Program.h"
#include "mainwindow/TCSVEntry.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TMainForm.h"
#include "platform/Files.h"
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

constexpr int kTeams = 200, kLegs = 10, kSubs = 2, kRuns = 9, kClockLines = 999;

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, kSubs, kTeams);
    OpenTeamTable();
    f.PackEntries();
}

std::string blockFile() {
    std::string text = "No,チーム名";
    for (int k = 1; k <= kLegs; ++k) text += Format(",%d区", k);
    text += "\r\n";
    for (int t = 1; t <= kTeams; ++t) {
        text += Format(",ﾁｰﾑ%d", t);
        for (int k = 1; k <= kLegs; ++k) text += Format(",ｾﾝｼｭ%d ｶﾅ%d", t, k);
        text += Format("\r\n%d,\"第%d走友会\"", t, t);
        for (int k = 1; k <= kLegs; ++k) text += Format(",選手%d 太郎%d", t * 100 + k, k % 4 + 1);
        text += "\r\n";
    }
    return ToSjis(text);
}

// Numbers of every team and beyond it, so that the number question comes up.
std::string clockFile() {
    std::string text = "順,No.,経過ﾀｲﾑ,通過ﾀｲﾑ\r\nLeg,2\r\n";
    for (int i = 1; i < kClockLines - 1; ++i)
        text += Format("%d,%d,%d,\r\n", i, (i * 37) % 260 + 1, 10000 + i * 7);
    return ToSjis(text);
}

} // namespace

int main() {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    TCSVEntry& e = *CSVEntry;
    TFormClockInput& c = *FormClockInput;
    setUpRace(f, bench.home.path() / "race");
    const std::filesystem::path block = bench.home.path() / "block.csv";
    const std::filesystem::path clock = bench.home.path() / "002.csv";
    if (!WriteFileBytes(block, blockFile()) || !WriteFileBytes(clock, clockFile())) return 1;
    f.InputGrid.SetCurrent(4, 2);
    c.SetupClockGrid();
    c.FormShow();

    std::vector<BenchSteps::Step> steps = {
        {"block import",
         [&] { bench.dialogs.AnswerDlg(mrYes); },
         [&] {
             if (!LoadCsvToGrid(e.StringGrid1, block)) return false;
             e.StringGrid1MouseDown(false, false, false, 0, 1);
             e.StringGrid1MouseDown(false, true, false, kLegs + 1, 2 * kTeams);
             e.getRunnerNameExeExecute();
             const auto last = ReadRunnerRecord(RunnerKey(kTeams, kLegs));
             return last && last->MeiKana == Format("ｶﾅ%d", kLegs) && last->Age == kLegs % 4 + 1;
         },
         {}},
        {"clock CSV",
         [&] {
             ClearGridRange(c.ClocInputStringGrid, 1, kTeams + 1);
             bench.dialogs.AnswerFiles(std::vector<std::string>{clock.string()});
             bench.dialogs.AnswerDlg(mrYes); // valid numbers only
         },
         [&] {
             f.OpenCsvData.Execute();
             return !c.ClocInputStringGrid.Cells(1, kTeams).empty();
         },
         {}},
    };
    if (!BenchSteps::Run(steps, kRuns, [&] { return bench.dialogs.Joined(); })) return 1;
    BenchSteps::PrintMedians(steps, 1);
    return 0;
}
