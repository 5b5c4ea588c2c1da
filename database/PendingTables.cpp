// Temporary bodies until the race file and entry tables land.
#include "database/EntryTables.h"
#include "database/RaceFile.h"

bool LockFileOp(int) { return false; }
bool CreateLockFile() { return false; }
void ReleaseLockFile() {}
bool CheckLockOnOpen() { return false; }
void OpenTaikaiTable() {}
bool SaveTaikaiFields(bool) { return true; }
void SaveKukanBlob() {}
void LoadKukanBlob() {}
void SaveInputBlob() {}
void LoadInputBlob() {}
void SaveKuriageBlob() {}
void LoadKuriageBlob() {}
std::string TeamTableName(int) { return {}; }
std::string RunnerTableName(int) { return {}; }
std::string DelayTableName(int) { return {}; }
void OpenTeamTable() {}
void CreateTeamTableDefs() {}
void OpenRunnerTable() {}
void OpenDelayTable() {}
void SaveTeamRows() {}
void SaveTeamThisTime(int, int) {}
void PurgeTeamsAboveCount() {}
void ClearTeamRecords() {}
void LoadTeamsToGrid() {}
void LoadRunnersToGrid() {}
void SaveRunnerRows() {}
int RunnerTeamCount() { return -1; }
void EnsureTeamRunnerRecords(int) {}
void DeleteTeamRunners(int) {}
void ClearRunnerRecords() {}
