#pragma once
// The teams of the typed numbers of one grid operation, resolved once: the same
// answers as TMainForm::FindTeamRowByAlias without a walk over the team grid per row.
#include <unordered_map>

class TMainForm;

class TeamNumberTable {
  public:
    explicit TeamNumberTable(const TMainForm& form);
    // 0 for 0, the team row, or -1 when no team runs under the number.
    int Find(int number) const;

  private:
    int teams_ = 0;
    int firstPlainRow_ = 0;                  // first team without an alias; 0 = none
    std::unordered_map<int, int> aliasRows_; // alias value -> first team row holding it
};
