// The tab text of grid copies: trimmed cells, CR LF after every row, and the
// advanced-start code in the title row of a passing-time grid only.
#include "mainwindow/GridText.h"
#include "mainwindow/TFormKuriage.h"
#include "support/ProgramFixture.h"

TEST_F(ProgramFixture, GridToTabTextLaysOutRowsAndAdvancedStarts) {
    form().KukanSpinNum.SetValue(2);
    form().ApplyCountsAndLayout();
    FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, 2);
    FormKuriage->KuriageGrid.SetCells(1, 1, "120000");
    StringGrid g;
    g.SetColCount(5);
    g.SetRowCount(3);
    g.SetCells(1, 0, "No.");
    g.SetCells(1, 1, " 12 ");
    g.SetCells(4, 2, "93512");
    EXPECT_EQ(GridToTabText(g, 0), "\tNo.\t\t\t\r\n\t12\t\t\t\r\n\t\t\t\t93512\r\n");
    g.SetTag(9);
    EXPECT_EQ(GridToTabText(g, 0), "\tNo.\t\t120000\t\r\n\t12\t\t\t\r\n\t\t\t\t93512\r\n");
    EXPECT_EQ(GridToTabText(g, 2), "\t\t\t\t93512\r\n");
}
