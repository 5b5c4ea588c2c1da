#include "gui/KukanParamDialog.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "mainwindow/TKukanParamForm.h"

#include <QListWidget>
#include <QVBoxLayout>

KukanParamDialog::KukanParamDialog(TKukanParamForm& form, QWidget* parent) : FormDialog(form, form.CancelBtn, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* list = new QListWidget(this);
    list->setObjectName(qs(form.KukanListBox.Name()));
    bind::list(list, form.KukanListBox,
               {.click = [&form] { form.KukanListBoxClick(); }, .dblClick = [&form] { form.KukanListBoxDblClick(); }});
    // Escape stays the dialog's own key (its cancel): dialog keys come before the list's.
    bind::keys(list, [&form](char32_t& key) {
        if (key != Key::Escape) form.KukanListBoxKeyPress(key);
    });
    fitRows(list, form.VisibleRows);
    layout->addWidget(list);
    layout->addLayout(buttonRow({&form.OKBtn, &form.CancelBtn}));
    list->setFocus();
}
