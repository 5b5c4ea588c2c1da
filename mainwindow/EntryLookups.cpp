// Lookups on the entry grids and the runner table that every output asks.
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

int TMainForm::CountAbsentTeams() const {
    int n = 0;
    for (int r = 1; r < TeamEntryGrid.RowCount(); ++r)
        if (StrToIntDef(TeamEntryGrid.Cells(4, r), 0) == 2) ++n;
    return n;
}

// Not built yet: the runner states come with the runner lookups.
int TMainForm::TeamStateByAlias(int, int) const { return 0; }
