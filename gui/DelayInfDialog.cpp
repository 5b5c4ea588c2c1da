#include "gui/DelayInfDialog.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "mainwindow/TFormDelayInf.h"
#include "platform/Guard.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

DelayInfDialog::DelayInfDialog(TFormDelayInf& form, QWidget* parent) : FormDialog(form, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QWidget(this);
    panel->setObjectName(qs(form.Panel1.Name()));
    bind::control(panel, form.Panel1);
    auto* panelLayout = new QHBoxLayout(panel);
    auto* label = new QLabel(panel);
    label->setObjectName(qs(form.Lbl_KName.Name()));
    bind::label(label, form.Lbl_KName);
    panelLayout->addWidget(label);
    layout->addWidget(panel);

    view_ = new GridView(form.DelayStringGrid, this);
    TFormDelayInf& f = form;
    // The editor is always open: Escape would only undo its typing.
    view_->setBinding({.keyPress = closingOnEscape([&f](char32_t& key) { f.DelayStringGridKeyPress(key); }),
                       .style = [&f](int c, int r) { return f.DelayStringGridDrawCell(c, r); }});
    view_->keepColumnsInSight();
    view_->setMinimumHeight(view_->fontMetrics().height() * 16);
    layout->addWidget(view_);
    keepEditorOpen();
}

// The editor is always shown: it opens again wherever the current cell goes.
void DelayInfDialog::keepEditorOpen() {
    QPointer<GridView> view(view_);
    auto open = [view] {
        QTimer::singleShot(0, view, [view] {
            if (view && view->isVisible() && !view->editor() && view->currentIndex().isValid())
                view->edit(view->currentIndex());
        });
    };
    form_.DelayStringGrid.CurrentChanged.connect(open);
    connect(view_, &GridView::layoutApplied, view_, open);
}

void DelayInfDialog::showEvent(QShowEvent* e) {
    FormDialog::showEvent(e);
    Guard([&] { form_.FormShow(); });
    view_->setFocus();
    view_->edit(view_->currentIndex());
}

void DelayInfDialog::reject() {
    bool closed = false;
    Guard([&] { closed = form_.CloseWindow(); });
    if (closed && isVisible()) done(form_.ModalResultValue());
}
