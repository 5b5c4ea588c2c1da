#include "gui/CsvEntryDialog.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "mainwindow/TCSVEntry.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

CsvEntryDialog::CsvEntryDialog(TCSVEntry& form, QWidget* parent) : FormDialog(form, form.close, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("MainMenu1"));
    for (Action* a : form.MenuItems()) menu->addAction(bind::newAction(*a, menu));
    layout->setMenuBar(menu);
    layout->addWidget(buildPanel());
    bindGrid();
    layout->addWidget(grid_, 1);
    resize(760, 520);
}

QWidget* CsvEntryDialog::buildPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    const std::pair<Label*, Edit*> boxes[] = {{&form_.Label1, &form_.editTeamName}, {&form_.Label3, &form_.editNoCard}};
    for (const auto& [labelModel, editModel] : boxes) {
        auto* label = new QLabel(panel);
        label->setObjectName(qs(labelModel->Name()));
        bind::label(label, *labelModel);
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(qs(editModel->Name()));
        bind::edit(edit, *editModel);
        row->addWidget(label);
        row->addWidget(edit, editModel == &form_.editTeamName ? 3 : 1);
    }
    auto* coach = new QCheckBox(panel);
    coach->setObjectName(qs(form_.getOpt.Name()));
    bind::check(coach, form_.getOpt);
    row->addWidget(coach);
    row->addStretch();
    return panel;
}

void CsvEntryDialog::bindGrid() {
    TCSVEntry& f = form_;
    grid_ = new GridView(f.StringGrid1, this);
    grid_->setBinding({.style = [&f](int c, int r) { return f.StringGrid1DrawCell(c, r); },
                       .mouseDown =
                           [this, &f](int c, int r, bool right) {
                               const Qt::KeyboardModifiers m = pressModifiers_;
                               f.StringGrid1MouseDown(right, m.testFlag(Qt::ShiftModifier),
                                                      m.testFlag(Qt::ControlModifier), c, r);
                           }});
    grid_->viewport()->installEventFilter(this);
    QPointer<GridView> view(grid_);
    f.RangeChanged.connect([view] {
        if (view) view->viewport()->update();
    });
}

bool CsvEntryDialog::eventFilter(QObject* watched, QEvent* e) {
    if (grid_ && watched == grid_->viewport() && e->type() == QEvent::MouseButtonPress)
        pressModifiers_ = static_cast<QMouseEvent*>(e)->modifiers();
    return FormDialog::eventFilter(watched, e);
}
