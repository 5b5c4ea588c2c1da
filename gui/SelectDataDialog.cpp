#include "gui/SelectDataDialog.h"

#include "gui/GridView.h"
#include "mainwindow/TSelectDataForm.h"

#include <QVBoxLayout>

SelectDataDialog::SelectDataDialog(TSelectDataForm& form, QWidget* parent) : FormDialog(form, form.cmdCancel, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* list = new GridView(form.getDataGrid, this);
    list->setBinding({.click = [&form] { form.getDataGridCellClick(form.getDataGrid.CurRow()); },
                      .dblClick = [&form] { form.getDataGridDblClick(); }});
    list->keepColumnsInSight();
    layout->addWidget(list, 1);

    layout->addLayout(buttonRow({&form.cmdSelect, &form.cmdNew, &form.cmdKillRec, &form.cmdCancel}));
    resize(minimumSizeHint().width(), 320);
}
