#pragma once
// The scoreboard's leg question (TOKRightDlg): two buttons, the first the default.
#include "gui/FormDialog.h"

class TOKRightDlg;

class OKRightDialog : public FormDialog {
  public:
    OKRightDialog(TOKRightDlg& form, QWidget* parent);
};
