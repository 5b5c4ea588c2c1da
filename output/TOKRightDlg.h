#pragma once
// The two-button question of the scoreboard output on a leg view: only the leg shown
// ("%d区のみ", the caller sets the caption) or every leg up to it ("全て").
#include "platform/Controls.h"
#include "platform/Form.h"

class TOKRightDlg : public FormBase {
  public:
    TOKRightDlg();

    Action OKBtn{"OKBtn", "Yes"};
    Action NoBtn{"NoBtn", "全て"};

    void OKBtnClick() { SetModalResult(mrYes); }
    void NoBtnClick() { SetModalResult(mrNo); }
};
