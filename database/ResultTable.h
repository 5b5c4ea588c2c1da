#pragma once
// The result work table "temptable.db": one row per team and, per leg, the total
// time, leg time, total place, leg place, passing order and advanced-start switch.
// Every computation rebuilds it from the passing-time input grid.
#include <initializer_list>
#include <memory>
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

// The work table in memory. A computation builds it (or reads a kept table with one
// query), the ranking passes work on it, and it is written in one transaction.
class ResultImage {
  public:
    explicit ResultImage(int legs = 0) : legs_(legs) {}
    // Every row in key order with the given fields of every leg (all fields when none
    // are given); no rows and no legs when the table does not exist.
    static ResultImage Load(Database& db, std::initializer_list<LegField> fields = {});

    int Legs() const { return legs_; }
    int Count() const { return static_cast<int>(teams_.size()); }
    int TeamID(int row) const { return teams_[row]; }
    // Row of the team, -1 when the table has none.
    int RowOfTeam(int team) const;
    int Get(int row, LegField field, int leg) const { return values_[row][slot(field, leg)]; }
    void Set(int row, LegField field, int leg, int value);
    void AddRow(int team, const std::vector<int>& values);

    // Rebuilds the table for Legs() legs with every row.
    void Create(Database& db) const;
    // Creates the table, empty, when it is missing or of another layout.
    void CreateLayout(Database& db) const;
    // Writes the fields set since loading, in the rows they changed; one transaction.
    void SaveChanges(Database& db);

  private:
    static constexpr unsigned kAllFields = (1u << kFieldsPerLeg) - 1;
    static int slot(LegField field, int leg) { return (leg - 1) * kFieldsPerLeg + static_cast<int>(field); }
    void writeRows(Database& db, const std::string& sql, const std::vector<int>& slots,
                   bool changedOnly) const;

    int legs_;
    unsigned loaded_ = kAllFields, written_ = 0; // a bit per LegField
    std::vector<int> teams_;
    std::vector<std::vector<int>> values_; // per row: the fields after TeamID, leg after leg
    std::vector<bool> changed_;
};

// The status of a team in the computation: its OP value (0 normal, 1 OP, 2 absent),
// or 3 when the class filter is set (and asked for) and the team's class is another.
int TeamStatus(int team, bool classFilter = true);

// DataMdl.tmpTable pointed at the work table (left open if it already was).
Table& ResultWorkTable();

// The image of the computation in progress: the one BuildResultTable made or, for a
// kept table, the table as read. It is written to the table once, when the table is
// next used (a view, a query, a cursor); empty (no legs) when there is no table.
std::shared_ptr<ResultImage> ComputationImage(Database& db);
// The computation's image when one is waiting to be written, else null.
std::shared_ptr<ResultImage> HeldComputationImage(Database& db);

// Computes the work table for n legs: 0 done, 1 input error, 2 the user kept the existing table.
int BuildResultTable(int n);
// Takes the leg records and the race record that the last computation beat into the grids.
void UpdateRecordsFromResults();
// Removes the work table; failures are of no concern.
void DeleteTempTable();
// Number of legs the work table holds, 0 when there is none.
int ResultTableLegs();
