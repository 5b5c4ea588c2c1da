// Times the text outputs of the result window on the 200-team, 50-leg final race
// (one team named "<東&西>"): the prize data file, each clipboard text and the
// scoreboard file of the overall view. The race folder stays beside the program as
// bench_texts.race/ for a look at the files, the clipboard texts in it as clip_*.txt.
#include "database/RankingQueries.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/TOutputForm.h"
#include "platform/Dialogs.h"
#include "bench/BenchRace.h"
#include "support/HeadlessProgram.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace BenchRace;
constexpr int kRuns = 5;

// The median of the runs; false when the output said something unexpected. What the
// output put on the clipboard is saved as clipFile in the race folder, so that a
// change can be checked against the texts before it.
bool timeIt(HeadlessProgram& p, const std::string& what, const std::string& notice, const std::function<void()>& run,
            const std::string& clipFile = {}) {
    p.clipboard.SetNoText();
    const bool ok = PrintMedianOf(what, kRuns, [&] {
        p.dialogs.ClearLog();
        run();
        const std::string said = p.dialogs.Joined();
        return said.find(notice) == std::string::npos ? said : std::string();
    });
    if (!ok || clipFile.empty()) return ok;
    std::ofstream out(MainForm->DataFolder / clipFile, std::ios::binary);
    out << p.clipboard.GetText();
    return out.good() && p.clipboard.HasText();
}

// The prize data steps of a final showing of the overall view.
void writePrizeData(TOutputForm& w) {
    OutputReads reads;
    if (!w.BeginPrizeResult()) return;
    for (int k = 1; k <= kLegs; ++k)
        w.AddPrizeResultLeg(k);
    BuildResultLines(w.PrizeCsvText);
    if (w.WritePrizeResultCsv()) Dlg().ShowMessage("prize_result.csv");
}

} // namespace

int main(int, char** argv) {
    const std::filesystem::path race = std::filesystem::absolute(argv[0]).parent_path() / "bench_texts.race";
    std::filesystem::remove_all(race);
    HeadlessProgram p;
    TMainForm& f = *MainForm;
    SetUpRace(f, race);
    NameEverything(f);
    f.TeamEntryGrid.SetCells(1, 1, "<東&西>");
    f.useDnkoDefault = true;
    TypePassings(f, Simulate(f));
    TOutputForm& w = *OutputForm;
    w.Tag = 0;
    w.ShowResults();
    if (!f.ResultFinal || !p.dialogs.Texts().empty()) {
        std::fprintf(stderr, "no final overall view: %s\n", p.dialogs.Joined().c_str());
        return 1;
    }
    std::printf("text outputs of the overall view, %d teams x %d legs, median of %d runs\n", kTeams, kLegs, kRuns);
    const bool ok =
        timeIt(p, "prize_result.csv", "prize_result.csv", [&] { writePrizeData(w); }) &&
        timeIt(p, "clipboard result grid", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました", [&] { w.CopyResultToClipboard(); },
               "clip_grid.txt") &&
        timeIt(p, "clipboard team totals and passing places", "通過順位をクリップボード", [&] { w.CopyTeamResultText(0); },
               "clip_team_passing.txt") &&
        timeIt(p, "clipboard team totals", "ﾁｰﾑ総合成績をクリップボード", [&] { w.CopyTeamResultText(1); },
               "clip_team.txt") &&
        timeIt(p, "clipboard individual results", "全個人成績をクリップボード", [&] { w.CopyTeamResultText(2); },
               "clip_runners.txt") &&
        timeIt(p, "scoreboard file", "を保存しました", [&] { w.PutToDenkoExecute(); });
    return ok ? 0 : 1;
}
