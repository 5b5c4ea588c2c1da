#include "gui/SwapRunnerDialog.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "mainwindow/TSwapTmRunForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

SwapRunnerDialog::SwapRunnerDialog(TSwapTmRunForm& form, QWidget* parent) : FormDialog(form, parent), form_(form) {
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(this);
    title->setObjectName(qs(form.LabelTitle.Name()));
    bind::label(title, form.LabelTitle);
    grid->addWidget(title, 0, 0, 1, 3);
    addSide(TSwapTmRunForm::SideA, 0);
    addSide(TSwapTmRunForm::SideB, 2);

    auto* buttons = new QVBoxLayout;
    for (Action* a : {&form.SwapBtn, &form.BtnClear}) buttons->addWidget(actionButton(*a));
    buttons->addStretch();
    grid->addLayout(buttons, 2, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    bind::status(status, form.StatusBar1);
    grid->addWidget(status, 3, 0, 1, 3);
}

void SwapRunnerDialog::addSide(int side, int column) {
    TSwapTmRunForm& f = form_;
    const bool a = side == TSwapTmRunForm::SideA;
    auto* team = new QComboBox(this);
    ComboBox& teamModel = a ? f.ComboBoxKumiA : f.ComboBoxKumiB;
    team->setObjectName(qs(teamModel.Name()));
    bind::combo(team, teamModel, [&f, side] { f.ComboBoxKumiAClick(side); });

    auto* runners = new QListWidget(this);
    ListBox& runnerModel = a ? f.ListBox1 : f.ListBox2;
    runners->setObjectName(qs(runnerModel.Name()));
    bind::list(runners, runnerModel, {.click = [&f, side] { f.ListBox1Click(side); }});
    fitRows(runners, f.VisibleRows);

    auto* grid = static_cast<QGridLayout*>(layout());
    grid->addWidget(team, 1, column);
    grid->addWidget(runners, 2, column);
}
