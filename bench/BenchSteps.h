#pragma once
// Timed steps of a benchmark: each run prepares, then times, every step in order;
// a step that did not do its work stops the program with what the dialogs said.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace BenchSteps {

struct Step {
    const char* name;
    std::function<void()> prepare;
    std::function<bool()> run; // false: the step did not do its work
    std::vector<double> ms{};
};

// Runs every step `runs` times; false (after saying why on stderr) when one failed.
inline bool Run(std::vector<Step>& steps, int runs, const std::function<std::string()>& whatWasSaid) {
    using Clock = std::chrono::steady_clock;
    for (int run = 0; run < runs; ++run)
        for (Step& s : steps) {
            s.prepare();
            const auto t0 = Clock::now();
            const bool ok = s.run();
            s.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            if (!ok) {
                std::fprintf(stderr, "%s failed: %s\n", s.name, whatWasSaid().c_str());
                return false;
            }
        }
    return true;
}

// "<name>: <median> ms" per step, with `decimals` digits.
inline void PrintMedians(std::vector<Step>& steps, int decimals) {
    for (Step& s : steps) {
        std::sort(s.ms.begin(), s.ms.end());
        std::printf("%s: %.*f ms\n", s.name, decimals, s.ms[s.ms.size() / 2]);
    }
}

} // namespace BenchSteps
