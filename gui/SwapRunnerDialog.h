#pragma once
// The runner exchange between the two marked teams (TSwapTmRunForm): a team chooser
// and a multi-select runner list per side, the exchange and clear buttons. The
// caller fills the lists and runs FormShow before the showing; the close box ends it.
#include "gui/FormDialog.h"

class TSwapTmRunForm;

class SwapRunnerDialog : public FormDialog {
public:
    SwapRunnerDialog(TSwapTmRunForm& form, QWidget* parent);

private:
    void addSide(int side, int column);

    TSwapTmRunForm& form_;
};
