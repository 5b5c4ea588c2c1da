#pragma once
// Sort orders of the passing records and the team ranking lines, and the
// default-printer switch used before a document goes to an outside program.
#include "database/TeamWorkRec.h"

#include <cstdint>
#include <string>
#include <vector>

// One passing between the input grid and the split grid (16 bytes).
struct PassingRec {
    int32_t leg = 0;
    int32_t order = 0;  // passing order "順"
    int32_t number = 0; // number card
    int32_t time = 0;   // passing-time code
};
static_assert(sizeof(PassingRec) == 16);

// Stands for an empty (0) time or number, so that empty values sort last.
constexpr int32_t EmptyTimeKey = 99999999;

// By time, then leg, then order, then number; negative, 0 or positive.
int CompareInputCells(const PassingRec& a, const PassingRec& b);
void SortPassingRecs(std::vector<PassingRec>& recs);

// Sort modes of the result window: 0 overall place, 1 class place,
// 2 improvement place, 3 alias number; any other mode sorts by overall place.
int TeamCompareByMode(const TeamWorkRec& a, const TeamWorkRec& b, int mode);
// Stable, with the team number as the last key.
void SortTeamWorkRecs(std::vector<TeamWorkRec>& recs, int mode);

std::string CurrentPrinterName();
// Index in the printer list, -1 when absent.
int PrinterIndexOf(const std::string& name);
// True only when name is a known printer other than the default and the switch succeeded.
bool SetDefaultPrinter(const std::string& name);
