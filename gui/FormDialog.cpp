#include "gui/FormDialog.h"

#include "gui/QtText.h"
#include "platform/Guard.h"

#include <QPointer>

FormDialog::FormDialog(FormBase& form, Action& cancel, QWidget* parent) : QDialog(parent), cancel_(cancel) {
    setObjectName(qs(form.Name()));
    QPointer<FormDialog> self(this);
    auto title = [self, &form] {
        if (self) self->setWindowTitle(qs(form.Caption()));
    };
    form.Changed.connect(title);
    title();
}

void FormDialog::reject() {
    Guard([&] { cancel_.Execute(); });
    // Still up when the form did not end the showing (no modal road, action disabled).
    if (isVisible()) QDialog::reject();
}
