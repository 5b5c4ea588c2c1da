#include "mainwindow/PendingParts.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

// Not built yet: the prize settings.
void SavePrizeParams() {}
void LoadPrizeParams() {}

// Not built yet: the report work tables, which hold the number-card check; this stand-in
// follows their rule until they land. Weak, so that their definition replaces it at link
// time without a clash; it goes when they are merged.
__attribute__((weak)) bool IsValidNumberCard(int n) {
    const TMainForm& f = *MainForm;
    if (n < 1) return false;
    if (n <= f.TeamNum && Trim(f.TeamEntryGrid.Cells(3, n)).empty()) return !f.IsAbsentTeam(n);
    for (int r = 1; r <= f.TeamNum; ++r) {
        const std::string alias = Trim(f.TeamEntryGrid.Cells(3, r));
        if (!alias.empty() && StrToIntDef(alias, -1) == n) return !f.IsAbsentTeam(r);
    }
    return false;
}
