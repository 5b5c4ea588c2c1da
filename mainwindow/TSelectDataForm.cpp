#include "mainwindow/TSelectDataForm.h"

#include "database/Editions.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>

TSelectDataForm::TSelectDataForm() : FormBase("TSelectDataForm") {
    SetCaption("実施大会選択");
    getDataGrid.SetEditing(false);
    getDataGrid.SetRowSelect(true);
    cmdSelect.OnExecute = [this] { cmdSelectClick(); };
    cmdNew.OnExecute = [this] { cmdNewClick(); };
    cmdKillRec.OnExecute = [this] { cmdKillRecClick(); };
    cmdCancel.OnExecute = [this] { cmdCancelClick(); };
}

void TSelectDataForm::FormShow() {
    OpenEditionList(getDataGrid);
    OpenTaikaiNo = MainForm->TaikaiNo;
    ChosenTaikaiNo = -2;
    SetModalResult(mrNone);
}

void TSelectDataForm::FormClose() { CloseEditionQuery(); }

int TSelectDataForm::currentEdition() const {
    int row = getDataGrid.CurRow();
    if (row < 1 || row >= getDataGrid.RowCount()) return 0;
    return StrToIntDef(getDataGrid.Cells(0, row), 0);
}

int TSelectDataForm::lastEdition() const {
    int last = getDataGrid.RowCount() - 1;
    return last >= 1 ? StrToIntDef(getDataGrid.Cells(0, last), 0) : 0;
}

void TSelectDataForm::cmdSelectClick() {
    ChosenTaikaiNo = currentEdition();
    if (ChosenTaikaiNo < 1) {
        Dlg().ShowMessage("実施大会が選択されていません。");
        return;
    }
    if (Dlg().MessageDlg(Format("%d 回大会を開きますか？", ChosenTaikaiNo), MsgKind::Confirmation, Btn::YesNo) != mrYes)
        return;
    MainForm->TaikaiNo = MainForm->SourceTaikaiNo = MainForm->SelectedTaikaiNo = ChosenTaikaiNo;
    SetModalResult(mrOpenEdition);
}

void TSelectDataForm::getDataGridDblClick() { cmdSelectClick(); }

void TSelectDataForm::getDataGridCellClick(int row) {
    if (row >= 1 && row < getDataGrid.RowCount()) getDataGrid.SetRow(row);
}

void TSelectDataForm::cmdNewClick() {
    TMainForm& f = *MainForm;
    if (getDataGrid.RowCount() > 1) f.TaikaiNo = f.SourceTaikaiNo = f.AddedTaikaiNo = lastEdition();
    f.SetImeMode(ImeMode::Close);
    // The list is in date order: the proposal follows the largest number, never below 1.
    int largest = f.TaikaiNo;
    for (int r = 1; r < getDataGrid.RowCount(); ++r) largest = std::max(largest, StrToIntDef(getDataGrid.Cells(0, r), 0));
    const int proposal = largest + 1 < 1 ? 1 : largest + 1;
    auto text = Dlg().InputQuery("実施大会の追加", "回数を入力して下さい。", Format("%d", proposal));
    if (!text || text->empty()) return;
    int number = StrToIntDef(*text, 0);
    for (int r = 1; r < getDataGrid.RowCount(); ++r) {
        if (number >= 1 && StrToIntDef(getDataGrid.Cells(0, r), 0) == number) {
            Dlg().ShowMessage(Format("%d 回大会はすでに存在します。", number));
            return;
        }
    }
    f.SelectedTaikaiNo = number;
    SetModalResult(mrAddEdition);
}

void TSelectDataForm::cmdKillRecClick() {
    ChosenTaikaiNo = currentEdition();
    if (ChosenTaikaiNo >= 1 && ChosenTaikaiNo == OpenTaikaiNo) {
        Dlg().ShowMessage("その大会は現在開いています。\n削除できません。");
        return;
    }
    if (ChosenTaikaiNo < 1) {
        Dlg().ShowMessage("実施大会が選択されていません。");
        return;
    }
    MainForm->TaikaiNo = ChosenTaikaiNo;
    DeleteEdition(ChosenTaikaiNo);
    OpenEditionList(getDataGrid);
}
