#pragma once
// Number cards and alias numbers ("ｴﾘｱｽNo") of the teams on the team entry grid.
#include "platform/TableEngine.h"

#include <vector>

// toAlias: number card -> the team's alias; else typed number -> number card.
// Numbers up to the team count are number cards, larger ones aliases; -1 = no such team.
int ConvertTeamNumber(int number, bool toAlias);
// Key of the result work table's TeamID for FindKey.
std::vector<Value> TeamIdKey(int team);
