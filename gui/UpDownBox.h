#pragma once
// A spin box the user only steps (arrows, wheel, Up and Down keys), for an up-down
// control whose form must act before the position changes: each step runs
// `changing`, then the model takes the new value, then `changed`. The model's own
// OnChange is not the way the step is told.
#include "platform/Controls.h"

#include <QSpinBox>

#include <functional>

class UpDownBox : public QSpinBox {
public:
    UpDownBox(SpinEdit& model, std::function<void()> changing, std::function<void()> changed,
              QWidget* parent = nullptr);
    void stepBy(int steps) override;

protected:
    // From the model's range: SetRange alone does not signal a change.
    StepEnabled stepEnabled() const override;

private:
    SpinEdit& model_;
    std::function<void()> changing_;
    std::function<void()> changed_;
};
