#include "mainwindow/TimingLegs.h"

#include <algorithm>

namespace {

long long teamPoint(int team, int point) {
    return static_cast<long long>(team) << 32 | static_cast<unsigned>(point);
}

} // namespace

std::vector<int> TimingLegs::LegEnds(const std::vector<int>& splitCounts,
                                     const std::vector<int>& filePoints) {
    const int legs = std::max(0, static_cast<int>(splitCounts.size()) - 1);
    std::vector<int> ends(legs + 1, 0);
    if (std::any_of(splitCounts.begin() + std::min<size_t>(1, splitCounts.size()), splitCounts.end(),
                    [](int c) { return c > 0; })) {
        for (int k = 1; k <= legs; ++k)
            ends[k] = std::max(splitCounts[k], 0);
        return ends;
    }
    // Without split counts the file tells: one point for every leg end is one mat.
    int one = 0;
    bool several = false;
    for (int p : filePoints) {
        if (p < 1 || p > legs) continue;
        several = several || (one != 0 && p != one);
        one = one == 0 ? p : one;
    }
    for (int k = 1; k <= legs; ++k)
        ends[k] = one != 0 && !several ? one : k;
    return ends;
}

TimingLegs::TimingLegs(std::vector<int> legEnds, std::vector<int> teamLegBase)
    : legEnds_(std::move(legEnds)), teamLegBase_(std::move(teamLegBase)) {
    for (int k = 1; k < static_cast<int>(legEnds_.size()); ++k)
        if (legEnds_[k] > 0) legsAt_[legEnds_[k]].push_back(k);
}

int TimingLegs::legBase(int team) const {
    return team >= 0 && team < static_cast<int>(teamLegBase_.size()) ? teamLegBase_[team] : 0;
}

TimingLegs::Passing TimingLegs::Take(int team, int point, int time) {
    const auto it = legsAt_.find(point);
    if (it == legsAt_.end()) return {};
    const std::vector<int>& legs = it->second;
    AtPoint& at = passed_[teamPoint(team, point)];
    if (at.taken > 0 && time <= at.lastTime) return {Kind::Repeat};
    // After a new start the legs the team had before count as passed here.
    const int base = legBase(team);
    const int before =
        static_cast<int>(std::count_if(legs.begin(), legs.end(), [base](int k) { return k <= base; }));
    const int pick = before + at.taken;
    const int count = static_cast<int>(legs.size());
    // A point that ends one leg is passed once: a later line there adds no passing.
    if (pick >= count && count == 1) return {Kind::Repeat};
    ++at.taken;
    at.lastTime = time;
    if (pick >= count) return {Kind::Beyond, 0, pick + 1};
    std::vector<bool>& passed = teamLegs_[team];
    passed.resize(legEnds_.size(), false);
    passed[legs[pick]] = true;
    return {Kind::Leg, legs[pick], 0};
}

std::vector<std::pair<int, int>> TimingLegs::Missing(const std::function<bool(int, int)>& hasLeg) const {
    std::vector<std::pair<int, int>> missing;
    for (const auto& [team, passed] : teamLegs_) {
        const int last =
            static_cast<int>(std::find(passed.rbegin(), passed.rend(), true).base() - passed.begin()) - 1;
        for (int k = legBase(team) + 1; k < last; ++k) {
            if (legEnds_[k] > 0 && !passed[k] && !hasLeg(team, k)) {
                missing.emplace_back(team, legEnds_[k]);
                break;
            }
        }
    }
    std::sort(missing.begin(), missing.end());
    return missing;
}
