#pragma once
// The clock-time conversion window (TFormClockInput): its menus, the panel with the
// start-time spins, mode radios and buttons, the clock grid and the hidden import
// buffer. The close box, Escape and "閉じる" run the form's close question.
#include "gui/FormDialog.h"

class QHBoxLayout;
class QMenuBar;
class QWidget;
class TFormClockInput;

class ClockInputDialog : public FormDialog {
  public:
    ClockInputDialog(TFormClockInput& form, QWidget* parent);

  protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

  private:
    QMenuBar* buildMenus();
    QWidget* buildPanel();
    QHBoxLayout* buildTimeBoxes(QWidget* parent);
    void bindGrids();

    TFormClockInput& form_;
};
