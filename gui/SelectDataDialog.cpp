#include "gui/SelectDataDialog.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "mainwindow/TSelectDataForm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

SelectDataDialog::SelectDataDialog(TSelectDataForm& form, QWidget* parent) : FormDialog(form, form.cmdCancel, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* list = new GridView(form.getDataGrid, this);
    list->setBinding({.click = [&form] { form.getDataGridCellClick(form.getDataGrid.CurRow()); },
                      .dblClick = [&form] { form.getDataGridDblClick(); }});
    list->keepColumnsInSight();
    layout->addWidget(list, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (Action* a : {&form.cmdSelect, &form.cmdNew, &form.cmdKillRec, &form.cmdCancel}) {
        auto* b = new QPushButton(this);
        b->setObjectName(qs(a->Name()));
        b->setAutoDefault(false);
        bind::button(b, *a);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    resize(minimumSizeHint().width(), 320);
}
