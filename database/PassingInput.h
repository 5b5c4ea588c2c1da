#pragma once
// Reading the passing-time input grid as the results computation does: the checks
// and messages per row, the totals with advanced-start corrections and waiting times.
// The computation and the second reading before the ranking passes share it.
#include <stdexcept>
#include <vector>

// Waiting times of the edition, read once: key leg * 1000 + number as typed.
class WaitingTimes {
  public:
    // Reads the waiting table of the open edition.
    void Load();
    // Sum of the waiting times of legs 1..leg of the number (time value).
    int Sum(int leg, int number) const;

  private:
    std::vector<std::vector<int>> sums_; // [number][leg]: running sums over legs 1..leg
};

// One reading of the passing-time input grid, leg after leg, with the checks and
// messages of the computation. The per-team values run on from leg to leg.
class PassingReader {
  public:
    // announcePartial: the first incomplete leg shows "途中情報" (the computation does;
    // the second reading only clears ResultFinal).
    PassingReader(int legs, bool announcePartial);
    // Reads leg k; false after an input error, whose message has been shown.
    // The teams read up to the error count as seen.
    bool ReadLeg(int k);

    // Team indexes (0-based) that passed the relay point of the last leg read, in passing order.
    const std::vector<int>& Seen() const { return seen_; }
    int Total(int team) const { return total_[team]; }
    int Order(int team) const { return order_[team]; }
    int AdjSw(int team) const { return adjSw_[team]; }
    // Where the reading stands, for the message of an unexpected failure.
    int Leg() const { return leg_; }
    int Row() const { return row_; }

  private:
    enum class RowResult { Taken, Skipped, Error };
    RowResult readRow(int k, int r, int kind);
    int teamOfNumber(int k, int r, int number);

    int legs_;
    bool announcePartial_;
    int teams_;
    WaitingTimes waiting_;
    std::vector<int> adj_, total_, order_, adjSw_;
    std::vector<int> seen_;
    std::vector<int> seenRow_; // per team: 1-based row at this relay point, 0 = not seen
    int leg_ = 0, row_ = 0;
};

// Shows the message of an unexpected failure inside a computation.
void ReportComputationFault(int leg, int row, const std::exception& fault);
