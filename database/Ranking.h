#pragma once
// The ranking passes over the result work table: the total place after each leg
// (Tplace_k) and the leg place (Kplace_k). They run after BuildResultTable, in the
// order LoadPassingData, RankLegTimes, RankAdjustedLegs, CountRankedTeams.
#include "database/ResultTable.h"

#include <string>

// Sets one field of a team's row; a team without a row is reported.
void SetTempField(int team, const std::string& field, int value);
// Total places at relay point k in passing order, OP, absent, no-record and
// filtered-out teams left out. Returns 0.
int RankLegPlaces(int leg);
// RankLegPlaces and the leg places of legs 1..n. 1 when some leg had nobody to rank.
int RankLegTimes(int legs);
// From leg 2 on, total places by total time. Returns 0.
int RankAdjustedLegs(int legs);
// The work table with the leg places (Kplace) every team gets from a computation
// without the class filter, from a table computed under one: the teams of other
// classes keep their passing orders and leg times there, only their places are left out.
ResultImage LegPlacesOfAllTeams(const ResultImage& table);
// Teams in the ranking (total place at relay point 1 below 1000).
int CountRankedTeams();
// Checks the input grid again as the computation reads it: 0, or 1 after an input error.
int LoadPassingData(int legs);
