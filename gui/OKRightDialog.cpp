#include "gui/OKRightDialog.h"

#include "output/TOKRightDlg.h"

#include <QHBoxLayout>
#include <QPushButton>

OKRightDialog::OKRightDialog(TOKRightDlg& form, QWidget* parent) : FormDialog(form, parent) {
    auto* row = new QHBoxLayout(this);
    QPushButton* ok = actionButton(form.OKBtn);
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(actionButton(form.NoBtn));
    ok->setFocus();
}
