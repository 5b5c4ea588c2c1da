#pragma once
// Per-edition team, runner and waiting tables, and their transfer to the entry grids.
#include <string>

std::string TeamTableName(int taikaiNo);
std::string RunnerTableName(int taikaiNo);
std::string DelayTableName(int taikaiNo);

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
int RunnerTeamCount();
void EnsureTeamRunnerRecords(int team);
void DeleteTeamRunners(int team);
void ClearRunnerRecords();
