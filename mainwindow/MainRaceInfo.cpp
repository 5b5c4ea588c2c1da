// Race information page: the edition grid's edition cell, the input method of both grids.
#include "mainwindow/TMainForm.h"

#include "platform/Services.h"
#include "platform/Text.h"

bool TMainForm::RestoreTaikaiNoCell() {
    if (!TaikaiOpen) return false;
    const std::string shown = Format("%d", TaikaiNo);
    const std::string& cell = taikaiBestGrid.Cells(0, 1);
    if (cell == shown) return false;
    // A changed number would rename the row and orphan the edition's tables and settings.
    const bool changed = StrToIntDef(cell, -1) != TaikaiNo;
    taikaiBestGrid.SetCellsQuiet(0, 1, shown);
    if (changed) Dlg().ShowMessage("回数は変更できません。");
    return changed;
}

void TMainForm::taikaiBestGridExit() {
    RestoreTaikaiNoCell();
}

// Numbers, dates and times close the input method; the start place (edition grid) and
// the goal name (leg grid column 1) keep it on for kanji.
void TMainForm::SetInfoGridIme(StringGrid& grid, int col) {
    const bool text = &grid == &KukanInfGrid ? col == 1 : col == 2;
    const ImeMode m = text ? ImeMode::Hiragana : ImeMode::Close;
    grid.SetIme(m);
    SetImeMode(m);
}
