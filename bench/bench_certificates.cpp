// Times the three prize documents on a finished 200-team, 50-leg race with classes
// A-D: the team certificates (AllPrize.RTF), the leg certificates of every leg
// (Kukan00.RTF) and the prize list (ALL_List.RTF). The documents go to a recording
// shell (nothing is opened). Prints "<file>: <ms> ms", median of the runs, and leaves
// the race with its documents in bench_certificates.race beside the program.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/Ranking.h"
#include "database/ResultTable.h"
#include "database/TDataMdl.h"
#include "bench/BenchRace.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "output/Certificates.h"
#include "output/TOutputForm.h"
#include "platform/Files.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/HeadlessProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kTeams = 200, kLegs = 50, kRuns = 7;
const char* const kFamily[] = {"山田", "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "中村"};
const char* const kGiven[] = {"太郎", "次郎", "花子", "一郎", "三郎", "美咲", "健", "翔太"};

void setUpRace(TMainForm& f, const std::filesystem::path& folder) {
    BenchRace::OpenEmptyRace(f, folder, kLegs, 2, kTeams, true);
    f.ReceName.SetText("第50回タヴレン記念駅伝");
    f.taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    f.taikaiBestGrid.SetCells(3, 1, "1000000");
    for (int k = 1; k <= kLegs; ++k) {
        f.KukanInfGrid.SetCells(1, k, Format("第%d中継所", k));
        f.KukanInfGrid.SetCells(2, k, k % 3 ? "5.25" : "10");
        f.KukanInfGrid.SetCells(3, k, "1040");
    }
    std::mt19937 rng(3);
    for (int t = 1; t <= kTeams; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%03d", t));
        f.TeamEntryGrid.SetCells(2, t, Format("ﾁｰﾑ%03d", t));
        f.TeamEntryGrid.SetCells(5, t, std::string(1, static_cast<char>('A' + t % 4)));
        f.TeamEntryGrid.SetCells(6, t,
                                 IntToStr(f.SecondsToDigits(kLegs * 650 + static_cast<int>(rng() % 600))));
        EnsureTeamRunnerRecords(t);
    }
    Transaction tx(RaceDb());
    for (int t = 1; t <= kTeams; ++t)
        for (int slot = 0; slot <= kLegs + 2; ++slot)
            RaceDb().Exec(
                "UPDATE " + RunnerTableName(1) +
                    " SET R_SEI=?1, R_MEI=?2, R_SEIKANA='ﾔﾏﾀﾞ', "
                    "R_MEIKANA='ﾀﾛｳ' WHERE Team_Kukan=?3",
                {Value(kFamily[(t + slot) % 8]), Value(kGiven[(t * 7 + slot) % 8]), Value(t * 100 + slot)});
    tx.Commit();
}

// Every team passes every relay point; leg times in 5 s steps, so ties occur.
void typePassings(TMainForm& f) {
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> pace(120, 140);
    std::vector<int> clock(kTeams + 1, 0);
    for (int k = 1; k <= kLegs; ++k) {
        std::vector<std::pair<int, int>> legs;
        for (int t = 1; t <= kTeams; ++t) {
            clock[t] += pace(rng) * 5;
            legs.emplace_back(clock[t], t);
        }
        std::stable_sort(legs.begin(), legs.end());
        for (int r = 0; r < kTeams; ++r) {
            f.InputGrid.SetCells(2 * k - 1, r + 2, IntToStr(legs[r].second));
            f.InputGrid.SetCells(2 * k, r + 2, IntToStr(f.SecondsToDigits(legs[r].first)));
        }
    }
}

using Clock = std::chrono::steady_clock;

} // namespace

int main(int, char** argv) {
    HeadlessProgram bench;
    TMainForm& f = *MainForm;
    const auto folder = std::filesystem::absolute(argv[0]).parent_path() / "bench_certificates.race";
    setUpRace(f, folder);
    typePassings(f);
    if (!SaveTaikaiFields(false)) {
        std::fprintf(stderr, "saving the race failed: %s\n", bench.dialogs.Joined().c_str());
        return 1;
    }
    bench.shell.Executable = "viewer"; // recorded, never started
    f.PRTCHG_NO = false;
    OutputForm->LockGraceMs = 0;
    OutputForm->Tag = 0;
    OutputForm->ShowResults();
    if (!bench.dialogs.Texts().empty() || !f.ResultFinal) {
        std::fprintf(stderr, "results not final: %s\n", bench.dialogs.Joined().c_str());
        return 1;
    }
    struct Doc {
        const char* file;
        std::function<void()> write;
        std::vector<double> ms;
    };
    TOutputForm& w = *OutputForm;
    std::vector<Doc> docs = {{"AllPrize.RTF", [&w] { WriteTeamPrizeRtf(w); }, {}},
                             {"Kukan00.RTF", [&w] { WriteKojinPrizeRtf(w, 0); }, {}},
                             {"ALL_List.RTF", [&w] { WritePrizeListRtf(w); }, {}}};
    for (int run = 0; run < kRuns; ++run)
        for (Doc& d : docs) {
            const auto t0 = Clock::now();
            d.write();
            d.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    if (!bench.dialogs.Texts().empty()) {
        std::fprintf(stderr, "a document failed: %s\n", bench.dialogs.Joined().c_str());
        return 1;
    }
    double total = 0;
    std::printf("prize documents, %d teams x %d legs, classes A-D, median of %d runs\n", kTeams, kLegs,
                kRuns);
    for (Doc& d : docs) {
        std::sort(d.ms.begin(), d.ms.end());
        const double median = d.ms[d.ms.size() / 2];
        total += median;
        std::printf("%s: %.1f ms (%lld bytes)\n", d.file, median, FileSizeOf(folder / d.file));
    }
    std::printf("together: %.1f ms (target 200 ms)\n", total);
    return 0;
}
