#pragma once
// Per-edition team, runner and waiting tables, and their transfer to the entry grids.
#include "database/RunnerKeys.h"

#include <string>

constexpr const char* kTeamCopyFile = "cpytemptable.db";

// Shift-JIS bytes the text fields of the team and runner tables keep; longer texts are cut.
namespace EntryFieldBytes {
constexpr int TeamName = 40, TeamKana = 40, TeamAlias = 3, TeamClass = 1, RunnerText = 20;
}

std::string TeamTableName(int taikaiNo);
std::string RunnerTableName(int taikaiNo);
std::string DelayTableName(int taikaiNo);

// Waiting key: leg * 1000 + number as typed (0..999); the number comes back as key - leg * 1000.
inline int WaitingKey(int leg, int number) {
    return leg * 1000 + number;
}
inline int WaitingNumber(int key, int leg) {
    return key - leg * 1000;
}

void OpenTeamTable();
void CreateTeamTableDefs();
void OpenRunnerTable();
void OpenDelayTable();
void SaveTeamRows();
void SaveTeamThisTime(int team, int value);
void PurgeTeamsAboveCount();
void ClearTeamRecords();
void LoadTeamsToGrid();
void LoadRunnersToGrid();
void SaveRunnerRows();
// The teams that have runner records; -1 while no edition is in use.
int RunnerTeamCount();
void EnsureTeamRunnerRecords(int team);
void DeleteTeamRunners(int team);
void ClearRunnerRecords();
