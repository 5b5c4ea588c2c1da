#include "gui/ClockInputDialog.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "gui/TypedSpinBox.h"
#include "mainwindow/Program.h"
#include "mainwindow/TFormClockInput.h"
#include "platform/Guard.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* w, const Control& m) {
    w->setObjectName(qs(m.Name()));
    return w;
}

QLabel* newLabel(QWidget* parent, Label& m) {
    auto* l = named(new QLabel(parent), m);
    bind::label(l, m);
    return l;
}

QGroupBox* newBox(QWidget* parent, Control& m, const char* title) {
    auto* b = named(new QGroupBox(QString::fromUtf8(title), parent), m);
    bind::control(b, m);
    new QHBoxLayout(b);
    return b;
}

QSpinBox* newSpin(QGroupBox* box, SpinEdit& m) {
    auto* s = named(new TypedSpinBox(box), m);
    bind::spin(s, m);
    box->layout()->addWidget(s);
    return s;
}

} // namespace

ClockInputDialog::ClockInputDialog(TFormClockInput& form, QWidget* parent)
    : FormDialog(form, parent), form_(form) {
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addWidget(buildPanel());
    bindGrids();
}

QMenuBar* ClockInputDialog::buildMenus() {
    auto* bar = new QMenuBar(this);
    for (const MenuDef& def : form_.MainMenu1()) {
        // A menu of one item of the same caption is that item on the bar itself.
        if (def.Items.size() == 1 && def.Items[0] && def.Items[0]->Caption() == def.Caption) {
            bar->addAction(bind::newAction(*def.Items[0], bar));
            continue;
        }
        QMenu* menu = bar->addMenu(qs(def.Caption));
        if (def.Caption == form_.N1.Caption()) {
            menu->menuAction()->setObjectName(qs(form_.N1.Name()));
            bind::action(menu->menuAction(), form_.N1);
            connect(menu, &QMenu::aboutToShow, this, [this] { Guard([&] { form_.N1Click(); }); });
        }
        for (Action* a : def.Items) {
            if (a)
                menu->addAction(bind::newAction(*a, menu));
            else
                menu->addSeparator();
        }
    }
    return bar;
}

QWidget* ClockInputDialog::buildPanel() {
    TFormClockInput& f = form_;
    auto* panel = named(new QWidget(this), f.MainPanel);
    bind::control(panel, f.MainPanel);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    auto* leg = newLabel(panel, f.Lbl_KName);
    QFont big = leg->font();
    big.setPixelSize(24);
    leg->setFont(big);
    leg->setStyleSheet(QStringLiteral("color: blue"));
    top->addWidget(leg);
    top->addWidget(newLabel(panel, f.lblTimeGap));
    top->addWidget(newLabel(panel, f.Label5));
    auto* accumulate = new QPushButton(panel);
    accumulate->setObjectName(QStringLiteral("SpeedButton1"));
    accumulate->setAutoDefault(false);
    accumulate->setToolTip(qs(MainForm->accumuClc.Hint()));
    bind::button(accumulate, MainForm->accumuClc);
    top->addWidget(accumulate);
    top->addWidget(newLabel(panel, f.Label6));
    top->addStretch();
    auto* write = actionButton(f.CnvExeBtn);
    write->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    top->addWidget(write);
    top->addWidget(actionButton(f.ButtonPlus));
    top->addWidget(actionButton(f.ButtonMinus));
    rows->addLayout(top);
    rows->addLayout(buildTimeBoxes(panel));
    return panel;
}

QHBoxLayout* ClockInputDialog::buildTimeBoxes(QWidget* parent) {
    TFormClockInput& f = form_;
    auto* row = new QHBoxLayout;
    QGroupBox* start = newBox(parent, f.GroupBoxStartTime, "ｽﾀｰﾄ時間(24ｈ)");
    newSpin(start, f.StartTimeHourSpin);
    newSpin(start, f.StartTimeMinSpin);
    start->layout()->addWidget(newLabel(start, f.lblSecond));
    QGroupBox* clock = newBox(parent, f.GroupBox2, "起時間(24h)");
    newSpin(clock, f.ClockTimeHourSpin);
    newSpin(clock, f.ClockTimeMinSpin);
    QGroupBox* convert = newBox(parent, f.GroupBox3, "変換");
    convert->layout()->addWidget(actionButton(f.timCnvSpeed));
    convert->layout()->addWidget(actionButton(f.timCnvSpeed2));
    auto* kind = new QGroupBox(QStringLiteral("入力ｵﾌﾟｼｮﾝ"), parent);
    kind->setObjectName(QStringLiteral("RaceKind"));
    auto* kinds = new QHBoxLayout(kind);
    for (RadioButton* r : {&f.RadioButton1, &f.RadioButton2}) {
        auto* b = named(new QRadioButton(kind), *r);
        bind::check(b, *r);
        kinds->addWidget(b);
    }
    for (QWidget* w : {static_cast<QWidget*>(start), static_cast<QWidget*>(clock),
                       static_cast<QWidget*>(convert), static_cast<QWidget*>(kind)})
        row->addWidget(w);
    row->addStretch();
    return row;
}

void ClockInputDialog::bindGrids() {
    TFormClockInput& f = form_;
    auto* clock = new GridView(f.ClocInputStringGrid, this);
    bind::control(clock, f.ClocInputStringGrid);
    clock->setBinding(
        {.keyPress = closingOnEscape([&f](char32_t& key) { f.ClocInputStringGridKeyPress(key); }),
         .selectCell = [&f](int c, int r) { return f.ClocInputStringGridSelectCell(c, r); },
         .enter = [&f] { f.ClocInputStringGridEnter(); },
         .style = [&f](int c, int r) { return f.ClocInputStringGridDrawCell(c, r); }});
    clock->keepColumnsInSight();
    clock->setMinimumHeight(clock->fontMetrics().height() * 20);
    layout()->addWidget(clock);
    auto* buffer = new GridView(f.InputTestGrid, this);
    bind::control(buffer, f.InputTestGrid);
    layout()->addWidget(buffer);
}

void ClockInputDialog::showEvent(QShowEvent* e) {
    FormDialog::showEvent(e);
    Guard([&] { form_.FormShow(); });
    if (auto* grid = findChild<GridView*>(qs(form_.ClocInputStringGrid.Name()))) grid->setFocus();
}

void ClockInputDialog::reject() {
    bool closed = false;
    Guard([&] { closed = form_.CloseWindow(); });
    if (closed && isVisible()) done(form_.ModalResultValue());
}
