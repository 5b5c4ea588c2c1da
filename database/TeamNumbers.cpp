#include "database/TeamNumbers.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

namespace {

constexpr int kCardCol = 0;
constexpr int kAliasCol = 3;

int aliasOfCard(const StringGrid& teams, int card) {
    if (StrToIntDef(teams.Cells(kCardCol, card), -1) != card) return -1;
    return StrToIntDef(teams.Cells(kAliasCol, card), -1); // empty: no alias
}

int cardOfAlias(const StringGrid& teams, int teamNum, int alias) {
    for (int r = 1; r <= teamNum; ++r)
        if (StrToIntDef(teams.Cells(kAliasCol, r), -1) == alias) return StrToIntDef(teams.Cells(kCardCol, r), -1);
    return -1;
}

} // namespace

// 0 and negative numbers name no team in either direction (an empty cell reads as 0).
int ConvertTeamNumber(int number, bool toAlias) {
    if (number < 1) return -1;
    const int teamNum = MainForm->TeamNum;
    const StringGrid& teams = MainForm->TeamEntryGrid;
    if (toAlias) return number > teamNum ? number : aliasOfCard(teams, number);
    return number <= teamNum ? number : cardOfAlias(teams, teamNum, number);
}

std::vector<Value> TeamIdKey(int team) { return {Value(team)}; }
