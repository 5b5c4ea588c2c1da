#pragma once
// The settings dialog (TFormEnv): one page of scoreboard file, macro workbook, help
// address and switches. OK, Escape and the close box all close it through the form,
// which takes the edits back into the main window.
#include "gui/FormDialog.h"

class TFormEnv;

class EnvDialog : public FormDialog {
  public:
    EnvDialog(TFormEnv& form, QWidget* parent);

  protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

  private:
    QWidget* optionPage();

    TFormEnv& form_;
};
