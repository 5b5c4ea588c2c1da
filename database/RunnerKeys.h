#pragma once
// Runner records by key (Team_Kukan = team * 100 + slot): reading one record, and
// re-keying records so that every field of a runner moves with it. A re-keying
// never deletes and re-inserts: records change their key only, all moves of one
// call in one transaction.
#include <optional>
#include <string>
#include <vector>

class Database;

constexpr int RunnerKey(int team, int slot) {
    return team * 100 + slot;
}

struct RunnerRecord {
    std::string Sei, Mei, SeiKana, MeiKana; // R_SEI, R_MEI, R_SEIKANA, R_MEIKANA
    int Age = 0;                            // G_AGE
    int Remark = 0;                         // REMARK
};

// The record under key, read through the engine's cached statement; nothing when
// the record or the runner table does not exist.
std::optional<RunnerRecord> ReadRunnerRecord(Database& db, const std::string& runnerFile, int key);
// The same on the open edition's runner table; nothing while no race is open. Inside
// an output's OutputReads scope the table is read once for the whole output.
std::optional<RunnerRecord> ReadRunnerRecord(int key);

// The largest REMARK of the records with keys fromKey .. toKey; 0 when there is none.
int MaxRemarkInKeyRange(Database& db, const std::string& runnerFile, int fromKey, int toKey);
int MaxRemarkInKeyRange(int fromKey, int toKey);

struct RunnerKeyMove {
    int From = 0;
    int To = 0;
};

// Gives the record under each From the key To, all at once: the records first move to
// temporary keys below the smallest key of the table (free by construction, outside
// the real keys), then to their targets. A missing source is skipped. Throws DbError,
// changing nothing, when two moves share a source or a target, or when a target is
// held by a record that does not move away.
void RekeyRunnerRecords(Database& db, const std::string& runnerFile, const std::vector<RunnerKeyMove>& moves);

// Exchanges the records of teams a and b slot by slot, slots 0 .. slotCount-1; a team
// without a record in a slot takes none.
void SwapTeamRunners(Database& db, const std::string& runnerFile, int a, int b, int slotCount);
// The same on the open edition's runner table (legs + substitutes + 1 slots).
void SwapTeamRunners(int a, int b);
