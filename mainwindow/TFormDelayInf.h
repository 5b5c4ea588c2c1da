#pragma once
// The waiting times (待機) of one relay point: one row per team, the number as typed
// in the input grid's "No." column and the waiting time code. Modal; the main window
// loads and saves the rows (MainDelay.cpp).
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/StringGrid.h"

class TFormDelayInf : public FormBase {
  public:
    TFormDelayInf();

    Control Panel1{"Panel1"};
    Label Lbl_KName{"Lbl_KName"};
    // Row 0 titles; column 0 the number, column 1 the time code; one empty row last.
    StringGrid DelayStringGrid{"DelayStringGrid"};
    int DelayLeg = 0; // the relay point being edited

    void FormShow();
    // Check, then save or ask; true when the window may close.
    bool FormClose();
    // Closing as the close box, Escape and the close button do: ends the modal showing
    // unless the close question kept the window open.
    bool CloseWindow();
    void DelayStringGridKeyPress(char32_t& key);
    CellStyle DelayStringGridDrawCell(int col, int row) const;
};
