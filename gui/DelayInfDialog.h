#pragma once
// The waiting information window (TFormDelayInf): the relay point's label and its
// grid, whose editor stays open on the current cell. The close box, Escape and the
// window's close run the form's close handler, whose No keeps the window open.
#include "gui/FormDialog.h"

class GridView;
class TFormDelayInf;

class DelayInfDialog : public FormDialog {
  public:
    DelayInfDialog(TFormDelayInf& form, QWidget* parent);

  protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

  private:
    void keepEditorOpen();

    TFormDelayInf& form_;
    GridView* view_;
};
