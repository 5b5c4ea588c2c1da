#pragma once
// The questions the outputs ask of the ranked work table joined with the team
// table: leg and class prizes, improvement (躍進) and class places, and the
// overall lines of the prize data.
#include "database/ResultTable.h"
#include "database/RunnerKeys.h"
#include "database/TeamWorkRec.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// An output asks these questions per team and leg. While an OutputReads scope lives,
// the work table (every leg) and the runner records are read once, each leg's winners
// worked out once (for every team and class), and the answers are kept until the
// outermost scope ends. Every computation drops them (DropOutputReads), so a scope
// never answers from an earlier work table. Outside a scope every call reads afresh.
class OutputReads {
  public:
    OutputReads();
    ~OutputReads();
    OutputReads(const OutputReads&) = delete;
    OutputReads& operator=(const OutputReads&) = delete;
};
void DropOutputReads();
// An output scope in which the queries read every team's leg places whatever class
// filter the view was computed under (LegPlacesOfAllTeams): a leg prize goes to the
// leg's winner. What an enclosing scope kept comes back at its end.
class AllTeamsLegPlaces {
  public:
    AllTeamsLegPlaces();
    ~AllTeamsLegPlaces();
    AllTeamsLegPlaces(const AllTeamsLegPlaces&) = delete;
    AllTeamsLegPlaces& operator=(const AllTeamsLegPlaces&) = delete;

  private:
    struct Kept;
    OutputReads scope_;
    std::unique_ptr<Kept> kept_; // the enclosing scope's table and legs, when replaced
};

// Runner records by key, in key order.
class RunnerRecordSet {
  public:
    void Reserve(size_t count);
    // Records come in ascending key order; a key given again replaces its record.
    void Add(int key, RunnerRecord record);
    const RunnerRecord* Find(int key) const;
    // The largest REMARK of the records with keys fromKey .. toKey; 0 when there is none.
    int MaxRemark(int fromKey, int toKey) const;

  private:
    std::vector<int> keys_; // apart from the records, so a search stays in a few cache lines
    std::vector<RunnerRecord> records_;
};
// The open edition's runner records, read whole on first use inside a scope; null
// outside one.
const RunnerRecordSet* ScopedRunnerRecords();
// The work table with every field of every leg, read once inside a scope; read afresh
// on each call outside one. No rows and no legs when there is no table.
std::shared_ptr<const ResultImage> OutputWorkTable();
// Tplace of leg k of the team's work-table row; 0 when there is no such row or leg.
int WorkTablePassingPlace(int team, int leg);

// A field of a leg, as a key to order work-table rows by.
struct LegKey {
    LegField Field;
    int Leg;
};
// The rows of the image that keep accepts, ordered by the keys and then by TeamID, as
// "WHERE ... ORDER BY ..., TeamID" over the table gives them.
std::vector<int> OrderedRows(const ResultImage& img, const std::function<bool(int row)>& keep,
                             std::initializer_list<LegKey> order);

// The team's leg time when it wins the class prize of the leg, else 0.
int QueryClassLegRanking(int team, int leg);
// The best leg place of the team's group (its class when every team has one) when
// the team holds it, else 0; then the out values are set: class letter ('*' when
// not A-Z), leg time, prize kind (1 leg prize, 2 class prize) and record mark.
int QueryLegTimeRanking(int team, int leg, char& classLetter, int& legTime, int& prizeKind, int& recordMark);
// Fills the records (indexed by team number - 1) with the improvement ranking, the
// overall and class places and the record marks. True when every team has a class.
bool QueryGapRanking(std::vector<TeamWorkRec>& records);
// Appends the overall result lines of the prize data to the text.
void BuildResultLines(std::string& prizeText);
