#include "mainwindow/TeamNumberTable.h"

#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

namespace {
constexpr int kAliasCol = 3;
}

TeamNumberTable::TeamNumberTable(const TMainForm& form) : teams_(form.TeamNum) {
    for (int r = 1; r <= teams_; ++r) {
        const std::string alias = Trim(form.TeamEntryGrid.Cells(kAliasCol, r));
        if (alias.empty()) {
            if (firstPlainRow_ == 0) firstPlainRow_ = r;
        } else {
            aliasRows_.try_emplace(StrToIntDef(alias, -1), r);
        }
    }
}

// The lookup walks the teams in order and takes the first that answers: a team
// without an alias answers every number within the team count with that number.
int TeamNumberTable::Find(int number) const {
    if (number == 0) return 0;
    int row = 0, answer = -1;
    if (firstPlainRow_ > 0 && number >= 1 && number <= teams_) {
        row = firstPlainRow_;
        answer = number;
    }
    auto it = aliasRows_.find(number);
    if (it != aliasRows_.end() && (row == 0 || it->second < row)) answer = it->second;
    return answer;
}
