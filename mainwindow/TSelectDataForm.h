#pragma once
// Edition selection: open an edition of the race, add a new one, or delete one.
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

class TSelectDataForm : public FormBase {
public:
    // Modal results of this dialog.
    static constexpr int mrAddEdition = 1, mrOpenEdition = 2, mrCancelSelect = 3;

    TSelectDataForm();

    StringGrid getDataGrid{"getDataGrid"}; // row 0 titles; columns IDN, OP_DATE, R_NAME
    Action cmdSelect{"cmdSelect", "開く"};
    Action cmdNew{"cmdNew", "新規追加"};
    Action cmdKillRec{"cmdKillRec", "削除"};
    Action cmdCancel{"cmdCancel", "キャンセル"};
    int OpenTaikaiNo = -1;
    int ChosenTaikaiNo = -2;

    void FormShow();
    void FormClose();
    void cmdSelectClick();
    void getDataGridDblClick();
    void getDataGridCellClick(int row);
    void cmdNewClick();
    void cmdKillRecClick();
    void cmdCancelClick() { SetModalResult(mrCancelSelect); }

private:
    int currentEdition() const;
    int lastEdition() const;
};
