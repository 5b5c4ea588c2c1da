// Times the web pages of a 200-team, 50-leg race with named teams and runners: the
// overall pages, the batch of leg 50 in both orders with the 200 team pages, the sheet,
// index and start-list pages. Prints "<what>: <ms> ms" per writer and "all pages" last,
// without the 100 ms wait before each index write; leaves the race and its DataHTML
// folder in bench_pages.race beside the program.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "bench/BenchRace.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTeams = 200, kLegs = 50, kSubs = 2;
constexpr double kIndexWaitMs = 100;

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, kSubs, kTeams, true);
    f.ReceName.SetText("ベンチ駅伝");
    f.OrgName.SetText("主催：ベンチ協会");
    f.taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    f.taikaiBestGrid.SetCells(3, 1, "120000");
    for (int k = 1; k <= kLegs; ++k) {
        f.KukanInfGrid.SetCells(2, k, "5.5");
        f.KukanInfGrid.SetCells(3, k, "1600");
    }
    OpenRunnerTable();
    Transaction tx(RaceDb());
    for (int t = 1; t <= kTeams; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%03d", t));
        f.TeamEntryGrid.SetCells(2, t, Format("ﾁｰﾑ%03d", t));
        f.TeamEntryGrid.SetCells(6, t, "110000");
        for (int slot = 1; slot <= kLegs + kSubs; ++slot)
            RaceDb().Exec("INSERT OR REPLACE INTO " + RunnerTableName(f.TaikaiNo) +
                              " VALUES (?1, ?2, ?3, ?4, ?5, 0, 0)",
                          {Value(t * 100 + slot), Value(Format("選手%d", t)), Value(Format("%d区", slot)),
                           Value("ｾﾝｼｭ"), Value(Format("%d", slot))});
    }
    tx.Commit();
    for (int t = 5; t <= kTeams; t += 40)
        f.TeamEntryGrid.SetCells(4, t, "1"); // OP
}

// Leg times in 5 s steps, so that equal totals occur; every passing typed.
void typePassings(TMainForm& f) {
    std::vector<int> clock(kTeams + 1, 0);
    for (int k = 1; k <= kLegs; ++k) {
        std::vector<int> order;
        for (int t = 1; t <= kTeams; ++t) {
            clock[t] += 900 + 5 * ((t * 37 + k * 11) % 24);
            order.push_back(t);
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return clock[a] < clock[b]; });
        for (int r = 0; r < kTeams; ++r) {
            f.InputGrid.SetCells(2 * k - 1, r + 2, IntToStr(order[r]));
            f.InputGrid.SetCells(2 * k, r + 2, IntToStr(f.SecondsToDigits(clock[order[r]])));
        }
    }
}

using Clock = std::chrono::steady_clock;

double timeMs(const std::function<void()>& work) {
    const auto t0 = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

void show(HeadlessProgram& b, int view) {
    if (FileExists(MainForm->DataFolder / "temptable.db")) b.dialogs.AnswerDlg(mrYes);
    OutputForm->Tag = view;
    OutputForm->ShowResults();
}

} // namespace

int main(int, char** argv) {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    TOutputForm& w = *OutputForm;
    const std::filesystem::path folder =
        std::filesystem::absolute(argv[0]).parent_path() / "bench_pages.race";
    setUpRace(f, folder);
    typePassings(f);
    // Saved as the desk leaves it, so the race left behind opens in the program.
    if (!SaveTaikaiFields(false)) return 1;
    std::vector<std::pair<const char*, double>> times;

    show(bench, 0);
    times.push_back({"overall pages", timeMs([&] { w.PutToWebExecute(); })});
    show(bench, kLegs);
    w.BatchMode = true;
    times.push_back({"sheet pages", timeMs([&] { w.PutSheetHtml(); })});
    double batch = timeMs([&] { w.PutToWebExecute(); });
    w.UpDownBtnClick();
    batch += timeMs([&] { w.PutToWebExecute(); });
    w.UpDownBtnClick();
    times.push_back({"leg 50 batch, both orders, 200 team pages", batch - 2 * kIndexWaitMs});
    times.push_back(
        {"index pages", timeMs([&] { w.WriteHtmlIndexPages(HtmlFolder(), kLegs); }) - kIndexWaitMs});
    w.BatchMode = false;
    // The index exists by now: the start list writes no preparing page and does not wait.
    times.push_back({"start-list pages", timeMs([&] { f.WriteStartListPages(1); })});

    if (!FileExists(HtmlFolder() / "r200.html") || !FileExists(HtmlFolder() / "leg2_50.html")) {
        std::fprintf(stderr, "pages missing: %s\n", bench.dialogs.Joined().c_str());
        return 1;
    }
    double all = 0;
    for (const auto& [what, ms] : times) {
        std::printf("%s: %.1f ms\n", what, ms);
        all += ms;
    }
    std::printf("all pages: %.1f ms\n", all);
    return 0;
}
