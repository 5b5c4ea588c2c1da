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
    std::filesystem::create_directories(folder);
    f.DataFolder = folder;
    DataMdl->SetFolder(folder);
    f.TaikaiNo = 1;
    f.TaikaiOpen = true;
    f.KukanSpinNum.SetValue(kLegs);
    f.HoketuSpinNum.SetValue(kSubs);
    f.SankaSpinNum.SetValue(kTeams);
    f.ApplyCountsAndLayout();
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
    TCSVEntry& e = *CSVEntry;
    TFormClockInput& c = *FormClockInput;
    setUpRace(f, bench.home.path() / "race");
    const std::filesystem::path block = bench.home.path() / "block.csv";
    const std::filesystem::path clock = bench.home.path() / "002.csv";
    if (!WriteFileBytes(block, blockFile()) || !WriteFileBytes(clock, clockFile())) return 1;
    f.InputGrid.SetCurrent(4, 2);
    c.SetupClockGrid();
    c.FormShow();

    std::vector<Step> steps = {
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
    for (Step& s : steps) {
        std::sort(s.ms.begin(), s.ms.end());
        std::printf("%s: %.1f ms\n", s.name, s.ms[s.ms.size() / 2]);
    }
    return 0;
}
