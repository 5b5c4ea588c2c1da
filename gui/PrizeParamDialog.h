#pragma once
// The prize settings dialog (TFormPrizeParam): four pages of fonts, printer, awarders,
// team and individual certificate sizes and margins, and the class display names.
// The form fills itself before the showing and stores everything when it ends.
#include "gui/FormDialog.h"

class QGroupBox;
class QSpinBox;
class RadioGroup;
class SpinEdit;
class TFormPrizeParam;

class PrizeParamDialog : public FormDialog {
  public:
    PrizeParamDialog(TFormPrizeParam& form, QWidget* parent);

  private:
    QWidget* generalPage();
    QWidget* teamPage();
    QWidget* kojinPage();
    QWidget* aliasPage();
    QSpinBox* spin(SpinEdit& m);
    QGroupBox* radios(RadioGroup& m, bool vertical = true);

    TFormPrizeParam& form_;
};
