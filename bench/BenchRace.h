#pragma once
// The timing programs' race: 200 teams, 50 legs, every passing typed, with ties,
// OP and absent teams, advanced starts and waiting times. Optionally every team in
// one of four classes, with names and runners as a desk would have entered them.
#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "database/TDataMdl.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/WaitingRows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace BenchRace {

constexpr int kTeams = 200, kLegs = 50;
// Relay points with an advanced start.
constexpr int kKuriagePoints[] = {10, 25, 40};

struct Passing {
    int team; // 1-based
    int clock;
};

// A fresh folder holding edition 1 with these counts, laid out as the open road would.
inline void OpenEmptyRace(TMainForm& f, const std::filesystem::path& folder, int legs, int subs, int teams,
                          bool openRaceTable = false) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    f.DataFolder = folder;
    DataMdl->SetFolder(folder);
    f.TaikaiNo = 1;
    f.TaikaiOpen = true;
    if (openRaceTable) OpenTaikaiTable();
    f.KukanSpinNum.SetValue(legs);
    f.HoketuSpinNum.SetValue(subs);
    f.SankaSpinNum.SetValue(teams);
    f.ApplyCountsAndLayout();
    FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, legs);
}

inline void SetUpRace(TMainForm& f, const std::filesystem::path& folder) {
    OpenEmptyRace(f, folder, kLegs, 2, kTeams);
    for (int t = 1; t <= kTeams; ++t)
        EnsureTeamRunnerRecords(t);
    for (int t = 5; t <= kTeams; t += 40)
        f.TeamEntryGrid.SetCells(4, t, "1"); // OP
    for (int t = 7; t <= kTeams; t += 50)
        f.TeamEntryGrid.SetCells(4, t, "2"); // absent: dummy times
}

// Clock times at every relay point; leg times in whole 5 s steps so that equal
// times and equal totals occur.
inline std::vector<std::vector<Passing>> Simulate(TMainForm& f) {
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> pace(120, 140);
    std::vector<int> clock(kTeams + 1, 0);
    std::vector<std::vector<Passing>> legs(kLegs + 1);
    int kuriageTime = 0;
    for (int k = 1; k <= kLegs; ++k) {
        for (int t = 1; t <= kTeams; ++t) {
            if (kuriageTime && clock[t] > kuriageTime) clock[t] = kuriageTime; // started with the advanced start
            clock[t] += pace(rng) * 5;
            if (t % 37 == 0 && k % 9 == 0) {
                clock[t] += 30; // waited at the relay point
                AddWaitingRow(k, t, 30);
            }
            legs[k].push_back({t, clock[t]});
        }
        std::stable_sort(legs[k].begin(), legs[k].end(),
                         [](const Passing& a, const Passing& b) { return a.clock < b.clock; });
        kuriageTime = 0;
        for (int p : kKuriagePoints)
            if (p == k) kuriageTime = legs[k][kTeams * 3 / 4].clock; // the last quarter is held back
        if (kuriageTime) FormKuriage->KuriageGrid.SetCells(1, k, IntToStr(f.SecondsToDigits(kuriageTime)));
    }
    return legs;
}

inline void TypePassings(TMainForm& f, const std::vector<std::vector<Passing>>& legs) {
    for (int k = 1; k <= kLegs; ++k)
        for (int r = 0; r < kTeams; ++r) {
            f.InputGrid.SetCells(2 * k - 1, r + 2, IntToStr(legs[k][r].team));
            f.InputGrid.SetCells(2 * k, r + 2, IntToStr(f.SecondsToDigits(legs[k][r].clock)));
        }
}

// Team names, last year's times, legs with records, and a named runner in every slot.
inline void NameEverything(TMainForm& f) {
    for (int t = 1; t <= kTeams; ++t) {
        f.TeamEntryGrid.SetCells(1, t, Format("チーム%03d", t));
        f.TeamEntryGrid.SetCells(6, t, IntToStr(f.SecondsToDigits(kLegs * 650 + (t * 37) % 900)));
    }
    for (int k = 1; k <= kLegs; ++k) {
        f.KukanInfGrid.SetCells(1, k, Format("中継所%d", k));
        f.KukanInfGrid.SetCells(2, k, "5.2");
        f.KukanInfGrid.SetCells(3, k, k % 3 == 0 ? "" : "1040");
    }
    f.ReceName.SetText("ベンチ駅伝");
    f.taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    Database& db = RaceDb();
    Transaction tx(db);
    const std::string sql = "UPDATE " + RunnerTableName(f.TaikaiNo) +
                            " SET R_SEI=?1, R_MEI=?2, R_SEIKANA=?3, R_MEIKANA=?4 WHERE Team_Kukan=?5";
    for (int t = 1; t <= kTeams; ++t)
        for (int slot = 0; slot <= kLegs + 2; ++slot)
            db.Exec(sql, {Value(Format("選手%d", t)), Value(Format("区%d", slot)), Value("ｾﾝｼｭ"), Value("ｸ"),
                          Value(t * 100 + slot)});
    tx.Commit();
}

// Every team in one of the classes A..D.
inline void PutClasses(TMainForm& f) {
    for (int t = 1; t <= kTeams; ++t)
        f.TeamEntryGrid.SetCells(5, t, std::string(1, static_cast<char>('A' + t % 4)));
}

using Clock = std::chrono::steady_clock;
inline double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The process's CPU time: on a busy machine closer to what the work itself costs.
inline double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs `run` `runs` times and prints "<what>: <median> ms (cpu <median> ms)";
// false, after saying why, when a run reports a fault (a non-empty text).
inline bool PrintMedianOf(const std::string& what, int runs, const std::function<std::string()>& run) {
    std::vector<double> ms, cpu;
    for (int i = 0; i < runs; ++i) {
        const double cpu0 = CpuMs();
        const auto t0 = Clock::now();
        const std::string fault = run();
        ms.push_back(MsSince(t0));
        cpu.push_back(CpuMs() - cpu0);
        if (!fault.empty()) {
            std::fprintf(stderr, "%s: %s\n", what.c_str(), fault.c_str());
            return false;
        }
    }
    std::printf("%s: %.1f ms (cpu %.1f ms)\n", what.c_str(), Median(ms), Median(cpu));
    return true;
}

} // namespace BenchRace
