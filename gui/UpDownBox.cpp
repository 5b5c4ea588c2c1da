#include "gui/UpDownBox.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "platform/Guard.h"

#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>

#include <algorithm>

UpDownBox::UpDownBox(SpinEdit& model, std::function<void()> changing, std::function<void()> changed,
                     QWidget* parent)
    : QSpinBox(parent), model_(model), changing_(std::move(changing)), changed_(std::move(changed)) {
    setObjectName(qs(model.Name()));
    lineEdit()->setReadOnly(true);
    bind::control(this, model);
    QPointer<UpDownBox> self(this);
    auto show = [self] {
        if (!self) return;
        QSignalBlocker blocker(self);
        self->setRange(std::min(self->model_.MinValue(), self->model_.Value()),
                       std::max(self->model_.MaxValue(), self->model_.Value()));
        self->setValue(self->model_.Value());
    };
    model.Changed.connect(show);
    show();
}

void UpDownBox::stepBy(int steps) {
    const int next = std::clamp(model_.Value() + steps, model_.MinValue(), model_.MaxValue());
    if (next == model_.Value()) return;
    Guard([&] {
        if (changing_) changing_();
        model_.SetValue(next);
        if (changed_) changed_();
    });
}

QAbstractSpinBox::StepEnabled UpDownBox::stepEnabled() const {
    if (!isEnabled()) return StepNone;
    StepEnabled can = StepNone;
    if (model_.Value() > model_.MinValue()) can |= StepDownEnabled;
    if (model_.Value() < model_.MaxValue()) can |= StepUpEnabled;
    return can;
}
