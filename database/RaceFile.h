#pragma once
// The race file "大会情報.db": edition row, the leg/passing/advanced-start blobs,
// and the lock file that marks a race as open.
#include <cstddef>
#include <cstdint>
#include <string>

class Database;
class Table;

constexpr const char* kLockFileName = "mylock.$$$";

// Shift-JIS bytes the race file keeps of a leg's goal name and of the start place.
constexpr int kGoalNameStoredBytes = 30, kStartPlaceBytes = 40;

// op 1 leaves the system's reason in *error when the file could not be created for
// another reason than an existing lock (error left empty when the lock exists).
bool LockFileOp(int op, std::string* error = nullptr);
bool CreateLockFile(std::string* error = nullptr);
void ReleaseLockFile();
bool CheckLockOnOpen();
void OpenTaikaiTable();
// False when nothing was written (no race open, or a cell that cannot be stored).
bool SaveTaikaiFields(bool onlyDirty);
void SaveKukanBlob();
void LoadKukanBlob();
void SaveInputBlob();
void LoadInputBlob();
void SaveKuriageBlob();
void LoadKuriageBlob();

// The counts of an edition row, each within its range (legs 1..50, substitutes 1..20,
// teams 1..200); a stored count outside it throws, naming the field and the value, before
// anything is sized from it.
struct EditionCounts {
    int legs = 0, subs = 0, teams = 0;
};
class Value;
EditionCounts CheckedEditionCounts(const Value& legs, const Value& subs, const Value& teams);

// The connection of the open race's folder (the main window's DataFolder).
Database& RaceDb();
// Rows of a SELECT on the open race's tables, read whole into a query of its own, so
// lookups made while the rows are walked cannot disturb the data module's queries.
class DataQuery;
DataQuery RaceQuery(const std::string& sql);
// Table1 on the race file, opened when it is not; TableNotFound when the file has none.
Table& RaceTable();
// Table1 on the row of the edition in use (TaikaiNo); false when there is none.
bool SeekEditionRow();
// The race name and organiser text of Table1's current row into ReceName and OrgName.
void LoadRaceNames();

// Little-endian fields of the blobs. A read past the end gives 0: a short blob
// reads as zero-padded.
void PutInt32LE(std::string& bytes, int32_t v);
void PutFloat32LE(std::string& bytes, float v);
int32_t GetInt32LE(const std::string& bytes, size_t offset);
float GetFloat32LE(const std::string& bytes, size_t offset);
