#include "gui/EnvDialog.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "mainwindow/TFormEnv.h"
#include "platform/Guard.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit* lineEdit(Edit& m, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(qs(m.Name()));
    e->setMinimumWidth(320);
    bind::edit(e, m);
    return e;
}

QLabel* label(Label& m, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(qs(m.Name()));
    bind::label(l, m);
    return l;
}

QCheckBox* checkBox(CheckBox& m, QWidget* parent) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(qs(m.Name()));
    bind::check(c, m);
    return c;
}

} // namespace

EnvDialog::EnvDialog(TFormEnv& form, QWidget* parent) : FormDialog(form, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(qs(form.PageControl1.Name()));
    tabs->addTab(optionPage(), qs(form.PageControl1.PageCaption(0)));
    bind::pages(tabs, form.PageControl1);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow({&form.OKBtn}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* EnvDialog::optionPage() {
    TFormEnv& f = form_;
    auto* page = new QWidget(this);
    auto* rows = new QFormLayout(page);
    auto* path = new QHBoxLayout;
    path->addWidget(lineEdit(f.EditLogFilePath, page), 1);
    path->addWidget(actionButton(f.bGetPath));
    rows->addRow(label(f.Label1, page), path);
    rows->addRow(label(f.Label2, page), lineEdit(f.DenkoFileName, page));
    rows->addRow(checkBox(f.CheckDenkoOpt, page));
    rows->addRow(checkBox(f.CheckFurigana, page));
    rows->addRow(label(f.Label3, page), lineEdit(f.EMacroFileName, page));
    rows->addRow(label(f.Label4, page), lineEdit(f.EHelpURL, page));
    for (CheckBox* c : {&f.CheckAutoClose, &f.CheckChgPrt, &f.CheckOleFont})
        rows->addRow(checkBox(*c, page));
    return page;
}

void EnvDialog::showEvent(QShowEvent* e) {
    FormDialog::showEvent(e);
    // Not again when the window comes back from being minimised: that would drop the edits.
    if (!e->spontaneous()) Guard([&] { form_.FormShow(); });
}

void EnvDialog::reject() {
    Guard([&] { form_.CloseWindow(); });
    if (isVisible()) done(form_.ModalResultValue());
}
