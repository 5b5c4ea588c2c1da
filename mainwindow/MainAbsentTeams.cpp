// The last rows of the input grid are kept for the absent teams. Filled with dummy
// numbers and times they make every leg column complete, so the results can be final.
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

namespace {

constexpr int kAliasCol = 3, kOpCol = 4;
constexpr int kAbsent = 2;
// 9:00:00 as a time code, in whole seconds and in hundredths.
constexpr int kDummyBase = 90000, kDummyBase100 = 9000000;

} // namespace

bool TMainForm::AbsentTeamRowsEmpty() const {
    const int absent = CountAbsentTeams();
    return absent > 0 && IsGridRangeEmpty(InputGrid, TeamNum - absent + InputGrid.FixedRows());
}

void TMainForm::FillAbsentTeamRows() {
    const int base = chk100.Checked() ? kDummyBase100 : kDummyBase;
    int row = TeamNum - CountAbsentTeams() + InputGrid.FixedRows();
    for (int t = 1; t <= TeamNum && row < InputGrid.RowCount(); ++t) {
        if (StrToIntDef(TeamEntryGrid.Cells(kOpCol, t), 0) != kAbsent) continue;
        const std::string alias = Trim(TeamEntryGrid.Cells(kAliasCol, t));
        const int number = StrToIntDef(alias.empty() ? TeamEntryGrid.Cells(0, t) : alias, 0);
        if (number == 0) continue;
        for (int leg = 1; leg <= KukanNum; ++leg) {
            InputGrid.SetCells(2 * leg - 1, row, IntToStr(number));
            InputGrid.SetCells(2 * leg, row, IntToStr(base + leg));
        }
        ++row;
    }
}

// Fills the rows when they are all empty, otherwise offers to empty them.
void TMainForm::ActionFillDummyExecute() {
    if (AbsentTeamRowsEmpty()) {
        if (Dlg().MessageDlg("欠場チームのﾀﾞﾐｰ値を挿入してもいいですか？", MsgKind::Confirmation,
                             Btn::YesNo) == mrYes)
            FillAbsentTeamRows();
        return;
    }
    if (Dlg().MessageDlg("欠場チームのﾀﾞﾐｰｴﾘｱをｸﾘｱしますか？", MsgKind::Confirmation, Btn::YesNo) == mrYes)
        ClearGridRowsFrom(InputGrid, TeamNum - CountAbsentTeams() + InputGrid.FixedRows());
}
