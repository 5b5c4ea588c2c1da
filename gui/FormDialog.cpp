#include "gui/FormDialog.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "platform/Guard.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

FormDialog::FormDialog(FormBase& form, Action& cancel, QWidget* parent) : FormDialog(form, parent) {
    cancel_ = &cancel;
}

FormDialog::FormDialog(FormBase& form, QWidget* parent) : QDialog(parent) {
    setObjectName(qs(form.Name()));
    QPointer<FormDialog> self(this);
    auto title = [self, &form] {
        if (self) self->setWindowTitle(qs(form.Caption()));
    };
    form.Changed.connect(title);
    title();
}

void FormDialog::reject() {
    if (cancel_) Guard([&] { cancel_->Execute(); });
    // Still up when the form did not end the showing (no modal road, action disabled).
    if (isVisible()) QDialog::reject();
}

QPushButton* FormDialog::actionButton(Action& a) {
    auto* b = new QPushButton(this);
    b->setObjectName(qs(a.Name()));
    b->setAutoDefault(false);
    bind::button(b, a);
    return b;
}

QHBoxLayout* FormDialog::buttonRow(std::initializer_list<Action*> actions) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (Action* a : actions) row->addWidget(actionButton(*a));
    return row;
}

KeyHandler FormDialog::closingOnEscape(KeyHandler handler) {
    QPointer<FormDialog> self(this);
    return [self, handler](char32_t& key) {
        if (key != Key::Escape) {
            handler(key);
            return;
        }
        key = Key::None;
        // After the key's own delivery has ended: closing may ask a question.
        if (self) QTimer::singleShot(0, self, [self] { self->reject(); });
    };
}

void FormDialog::fitRows(QListWidget* list, int rows) {
    const int row = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().lineSpacing();
    list->setFixedHeight(rows * row + 2 * list->frameWidth());
}
