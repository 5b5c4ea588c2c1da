#include "gui/TaikaiDirDialog.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "platform/Guard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TaikaiDirDialog::TaikaiDirDialog(TcurrTaikaiDir& form, QWidget* parent)
    : FormDialog(form, form.CancelBtn, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(this);
    text->setObjectName(qs(form.TaikaiLbl.Name()));
    text->setWordWrap(true);
    bind::label(text, form.TaikaiLbl);
    layout->addWidget(text);

    folders_ = new QListWidget(this);
    folders_->setObjectName(QStringLiteral("currDirBox"));
    folders_->viewport()->installEventFilter(this);
    layout->addWidget(folders_, 1);
    name_ = new QLineEdit(this);
    name_->setObjectName(qs(form.TaikaiEdit.Name()));
    bind::edit(name_, form.TaikaiEdit);
    layout->addWidget(name_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (Action* a : {&form.OKBtn, &form.CancelBtn}) {
        auto* b = new QPushButton(this);
        b->setObjectName(qs(a->Name()));
        b->setAutoDefault(false);
        b->setDefault(a == &form.OKBtn);
        bind::button(b, *a);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    QPointer<TaikaiDirDialog> self(this);
    form.Changed.connect([self] {
        if (self) self->showFolders();
    });
    showFolders();
    resize(420, 360);
}

void TaikaiDirDialog::showFolders() {
    folders_->clear();
    for (const std::string& name : form_.Folders) folders_->addItem(qs(name));
}

void TaikaiDirDialog::showEvent(QShowEvent* e) {
    FormDialog::showEvent(e);
    Guard([&] { form_.FormActivate(); });
    name_->setFocus();
}

// The list only shows the races: a press never selects one, it sends the user to the name.
bool TaikaiDirDialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched != folders_->viewport() || e->type() != QEvent::MouseButtonPress)
        return FormDialog::eventFilter(watched, e);
    Guard([&] { form_.currDirBoxMouseDown(); });
    name_->setFocus();
    return true;
}
