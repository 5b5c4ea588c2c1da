#pragma once
// One team's line of the improvement and overall ranking, filled by the ranking
// queries and sorted for the outputs.
#include <cstdint>

struct TeamWorkRec {
    int32_t TeamNo = 0;     // NOCD
    int32_t AliasNo = 0;    // alias number, or the number shown
    int32_t State = 0;      // OP value: 0 normal, 1 OP, 2 absent
    int32_t GapTime = 0;    // improvement in seconds, this time - last time (negative = faster)
    int32_t GapPlace = 0;   // improvement place, 0 = none
    int32_t TotalPlace = 0; // overall place: the total place after the last leg
    char ClassLetter = ' '; // blank when the team has no class
    int32_t ClassPlace = 0; // 0 for a team with an OP value
    int32_t TotalTime = 0;  // total time after the last leg (time value)
    int32_t RecordMark = 0; // tournament record: 0 none, 1 new, 2 equalled
};
