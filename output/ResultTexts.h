#pragma once
// Small lookups the text outputs of the result window share (clipboard texts,
// prize data, scoreboard and the later pages).
#include <string>

// The text after "部門：" in the first line of the organiser memo that has it; empty
// when no line has it.
std::string GetDivisionName();
// Tplace of leg k of the team's work-table row; 0 when there is none.
int GetTeamPlace(int team, int leg);
// The leg distance of the leg grid as the writers print it: whole metres ("%d") while
// the hundredths setting is on, otherwise km ("%g").
std::string LegDistanceText(int leg);
bool DistanceInMetres();
