#pragma once
// Lookups on the entry grids that every part of the program asks.

// Teams whose state ("OP" column) is 2, absent.
int CountAbsentTeams();
