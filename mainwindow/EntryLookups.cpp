#include "mainwindow/EntryLookups.h"

#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Text.h"

int CountAbsentTeams() {
    const StringGrid& g = MainForm->TeamEntryGrid;
    int n = 0;
    for (int r = 1; r <= MainForm->TeamNum; ++r)
        if (StrToIntDef(g.Cells(4, r), 0) == 2) ++n;
    return n;
}
