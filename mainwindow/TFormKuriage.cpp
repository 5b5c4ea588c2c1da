#include "mainwindow/TFormKuriage.h"

#include "platform/Text.h"

TFormKuriage::TFormKuriage() : FormBase("TFormKuriage") { SetCaption("繰上/再出発"); }

void TFormKuriage::SetupKuriageGrid(StringGrid& grid, int legs) {
    grid.SetColCount(4);
    grid.SetRowCount(legs < 1 ? 1 : legs);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetCellsQuiet(0, 0, "地点名");
    grid.SetCellsQuiet(1, 0, "実施タイム");
    grid.SetCellsQuiet(2, 0, "ﾄｯﾌﾟ差");
    grid.SetCellsQuiet(3, 0, "ﾗｽﾄ差");
    grid.SetColSample(0, std::string(17, 'X'));
    grid.SetColSample(1, std::string(11, 'X'));
    for (int k = 1; k < legs; ++k) grid.SetCellsQuiet(0, k, Format("第%d中継/第%d出発", k, k + 1));
}
