// The advanced-start and restart times of the relay points, as the computation
// and the input grid's painter read them from the advanced-start window; the
// passing range its gaps are measured from, and the opening of the window.
#include "mainwindow/Program.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TeamNumberTable.h"
#include "platform/Text.h"

#include <cstdlib>

int TMainForm::GetKuriageKind(int row) const {
    const std::string& cell = FormKuriage->KuriageGrid.Cells(1, row);
    if (cell.empty()) return 0;
    int v = StrToIntDef(cell, 0);
    return v == 0 ? 0 : v < 0 ? 2 : 1;
}

// The finish has no row below KukanNum, so it never corrects.
int TMainForm::KuriageTimeGap(int row, int passing, int kind) const {
    const StringGrid& g = FormKuriage->KuriageGrid;
    if (row >= g.RowCount() || row >= KukanNum) return 0;
    int code = StrToIntDef(g.Cells(1, row), 0);
    if (code == 0) return 0;
    int t = TimeDigitsToSeconds(std::abs(code));
    return t < passing || kind == 2 ? passing - t : 0;
}

int TMainForm::KuriageTimeCode(int row) const {
    if (row >= KukanNum) return 0;
    return StrToIntDef(FormKuriage->KuriageGrid.Cells(1, row), 0);
}

// An absent team never passed: its dummy times would set the range's ends.
int TMainForm::PassingTimeRange(int leg, int& last) const {
    const TeamNumberTable teams(*this);
    int first = 0;
    last = 0;
    for (int r = InputGrid.FixedRows(); r < InputGrid.RowCount(); ++r) {
        if (TeamOpValue(teams.Find(StrToIntDef(InputGrid.Cells(2 * leg - 1, r), 0))) == 2) continue;
        const int v = StrToIntDef(InputGrid.Cells(2 * leg, r), 0);
        if (v >= 1 && (first == 0 || v < first)) first = v;
        if (v > last) last = v;
    }
    return first;
}

// Modeless: a second call while it is open only brings it up, its flags untouched.
void TMainForm::OpenKuriageFormExecute() {
    if (!FormKuriage->Visible()) FormKuriage->FormShow();
    FormKuriage->Show();
}
