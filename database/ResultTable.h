#pragma once
// The result work table "temptable.db": one row per team and, per leg, the total
// time, leg time, total place, leg place, passing order and advanced-start switch.
// Every computation rebuilds it from the passing-time input grid.
#include <string>
#include <vector>

class Database;
class Table;

constexpr const char* kResultTable = "temptable.db";
constexpr int NoPlace = 999;       // no place (OP team, or not placed yet)
constexpr int OutOfRanking = 1000; // absent team, or another class under the class filter

// The six fields of a leg, in their order in the table.
enum class LegField { Ttime, Ktime, Tplace, Kplace, Iplace, AdjSw };
constexpr int kFieldsPerLeg = 6;
// "Ttime_3", "Kplace_12" ...
std::string LegFieldName(LegField field, int leg);

// The work table in memory. The computation and the ranking passes read it with
// one query, work on it and write it back in one transaction.
class ResultImage {
public:
    explicit ResultImage(int legs = 0) : legs_(legs) {}
    // Every row in key order; no rows and no legs when the table does not exist.
    static ResultImage Load(Database& db);

    int Legs() const { return legs_; }
    int Count() const { return static_cast<int>(teams_.size()); }
    int TeamID(int row) const { return teams_[row]; }
    // Row of the team, -1 when the table has none.
    int RowOfTeam(int team) const;
    int Get(int row, LegField field, int leg) const { return values_[row][slot(field, leg)]; }
    void Set(int row, LegField field, int leg, int value);
    void AddRow(int team, const std::vector<int>& values);

    // Creates the table for Legs() legs (replacing an existing one) and writes every row.
    void Create(Database& db) const;
    // Writes the rows changed since loading; one transaction.
    void SaveChanges(Database& db);

private:
    static int slot(LegField field, int leg) { return (leg - 1) * kFieldsPerLeg + static_cast<int>(field); }

    int legs_;
    std::vector<int> teams_;
    std::vector<std::vector<int>> values_; // per row: the fields after TeamID
    std::vector<bool> changed_;
};

// The status of a team in the computation: its OP value (0 normal, 1 OP, 2 absent),
// or 3 when the class filter is set and the team's class is another.
int TeamStatus(int team);

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

// DataMdl.tmpTable pointed at the work table (left open if it already was).
Table& ResultWorkTable();

// Shows the message of an unexpected failure inside a reading of the input.
void ReportComputationFault(int leg, int row);

// Computes the work table for n legs: 0 done, 1 input error, 2 the user kept the existing table.
int BuildResultTable(int n);
// Takes the leg records and the race record that the last computation beat into the grids.
void UpdateRecordsFromResults();
// Removes the work table; failures are of no concern.
void DeleteTempTable();
// Number of legs the work table holds, 0 when there is none.
int ResultTableLegs();
