#pragma once
// Which leg each passing of a timing file ends. Every leg ends at one timing point.
// Where a point ends one leg, the point names it; where it ends several (one mat for
// every relay on a loop course) the team's passings there are those legs in turn.
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

class TimingLegs {
  public:
    // The point that ends each leg (index 1..legs; 0: none): the split counts when any is
    // set, else point k for leg k, or one point for all legs when the file's leg-end
    // lines (points 1..legs) all carry that one point.
    static std::vector<int> LegEnds(const std::vector<int>& splitCounts, const std::vector<int>& filePoints);

    // teamLegBase[t]: the last leg team t had in the input grid when a new file took over
    // (empty when the file holds the whole race).
    TimingLegs(std::vector<int> legEnds, std::vector<int> teamLegBase);

    enum class Kind {
        NoLeg,  // the point ends no leg
        Leg,    // a passing at the end of leg `Leg`
        Beyond, // the team's `Count`-th passing at a point of fewer legs
        Repeat, // adds no passing: not later than the team's last one there, or its leg is done
    };
    struct Passing {
        Kind Is = Kind::NoLeg;
        int Leg = 0;
        int Count = 0;
    };
    Passing Take(int team, int point, int time);
    bool EndsALeg(int point) const { return legsAt_.count(point) > 0; }

    // Per team that ends a later leg: the first leg before it with no passing in the
    // file nor in the grid (hasLeg), as (team, point of that leg), in team order.
    std::vector<std::pair<int, int>> Missing(const std::function<bool(int team, int leg)>& hasLeg) const;

  private:
    int legBase(int team) const; // the team's last leg before a new start, else 0
    struct AtPoint {
        int taken = 0;
        int lastTime = 0;
    };
    std::vector<int> legEnds_;
    std::vector<int> teamLegBase_;
    std::unordered_map<int, std::vector<int>> legsAt_;    // point -> its legs, ascending
    std::unordered_map<long long, AtPoint> passed_;       // (team, point)
    std::unordered_map<int, std::vector<bool>> teamLegs_; // team -> legs it passed here
};
