#include "gui/MainWindow.h"

#include "gui/Bindings.h"
#include "gui/FormRegistry.h"
#include "gui/KeyInput.h"
#include "gui/QtText.h"
#include "gui/TypedSpinBox.h"
#include "mainwindow/Program.h"
#include "mainwindow/TCSVEntry.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"
#include "mainwindow/TFormEnv.h"
#include "mainwindow/TFormKuriage.h"
#include "mainwindow/TKukanParamForm.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSelectDataForm.h"
#include "mainwindow/TSwapTmRunForm.h"
#include "mainwindow/TcurrTaikaiDir.h"
#include "output/TOKRightDlg.h"
#include "output/TOutputForm.h"
#include "output/TQuickReport4.h"
#include "platform/Guard.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Closing a modeless window from its title bar closes its form. The window's own
// closeEvent decides first: a window that asks its form may refuse.
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* w, FormBase& form) : QObject(w), form_(form) { w->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Close) return false;
        watched->event(e);
        if (e->isAccepted()) Guard([&] { form_.Close(); });
        return true;
    }

private:
    FormBase& form_;
};

GridView* enclosingGrid(QWidget* w) {
    for (; w; w = w->parentWidget())
        if (auto* g = qobject_cast<GridView*>(w)) return g;
    return nullptr;
}

} // namespace

MainWindow::MainWindow(TMainForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    setObjectName(qs(form.Name()));
    buildMenus();
    buildToolBar();
    bind::status(statusBar(), form_.StatusBar1);
    setCentralWidget(buildCentral());
    auto* timer = new QTimer(this);
    timer->setObjectName(qs(form_.Timer1.Name()));
    bind::timer(timer, form_.Timer1);
    bindGrids();
    followForm();
    followModelessWindows();
    resize(1100, 760);
}

MainWindow::~MainWindow() {
    alive_.reset();
    disconnect(qApp, nullptr, this, nullptr);
    // Taking the widgets down must not look like the user switching pages or ticking boxes.
    for (auto& [w, control] : controls_) w->blockSignals(true);
}

QWidget* MainWindow::widgetFor(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

GridView* MainWindow::gridFor(const StringGrid& grid) const {
    auto it = grids_.find(&grid);
    return it == grids_.end() ? nullptr : it->second;
}

QAction* MainWindow::actionFor(const Action& action) const {
    auto it = actions_.find(&action);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* MainWindow::qaction(Action& a) {
    if (QAction* q = actionFor(a)) return q;
    auto* q = new QAction(this);
    q->setObjectName(qs(a.Name()));
    // Toggles show their state as a check mark.
    const bool toggle =
        &a == &form_.ToolButtonSlitPanel || &a == &form_.ActionSetAllCSV || &a == &form_.ActionGetDeamon;
    bind::action(q, a, toggle);
    actions_[&a] = q;
    return q;
}

void MainWindow::buildMenus() {
    for (const MenuDef& def : form_.MainMenu) {
        QMenu* menu = menuBar()->addMenu(qs(def.Caption));
        for (Action* a : def.Items) {
            if (!a) {
                menu->addSeparator();
            } else if (a == &form_.NGakunen) {
                // A submenu: its item stands for the whole of it.
                QMenu* sub = menu->addMenu(qs(form_.NGakunenMenu.Caption));
                for (Action* item : form_.NGakunenMenu.Items) sub->addAction(qaction(*item));
                sub->menuAction()->setObjectName(qs(a->Name()));
                bind::action(sub->menuAction(), *a);
                actions_[a] = sub->menuAction();
            } else {
                menu->addAction(qaction(*a));
            }
        }
    }
    connect(qaction(form_.Exit), &QAction::triggered, this, [this] {
        if (form_.CloseRequested()) close();
    });
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (Action* a : {&form_.OpenKeyName, &form_.MakeKeyName, &form_.saveInputData, &form_.OutputResult,
                      &form_.OpenKuriageForm, &form_.OpenClockInputForm, &form_.OpenDelayInfForm,
                      &form_.ToolButtonSlitPanel, &form_.ToolButtonInputGridCopy})
        bar->addAction(qaction(*a));
    bar->addSeparator();
    for (Action* a : {&form_.showHtml, &form_.showHtmlPC, &form_.killHtml})
        bar->addAction(qaction(*a));
}

QWidget* MainWindow::buildCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    splash_ = new QLabel(central);
    splash_->setObjectName(qs(form_.Splash.Name()));
    QFont big = splash_->font();
    big.setPointSize(20);
    big.setBold(true);
    big.setItalic(true);
    splash_->setFont(big);
    splash_->setAlignment(Qt::AlignCenter);
    layout->addWidget(splash_);

    pages_ = named(new QTabWidget(central), form_.MainPage);
    pages_->addTab(buildInfoPage(), {});
    pages_->addTab(buildEntryPage(), {});
    pages_->addTab(buildInputPage(), {});
    bind::pages(pages_, form_.MainPage);
    layout->addWidget(pages_);
    // The splash shows until the pages do; they cover it from then on.
    onSignal(form_.Splash.Changed, [this] { showSplash(); });
    onSignal(form_.MainPage.Changed, [this] { showSplash(); });
    showSplash();
    return central;
}

void MainWindow::showSplash() {
    splash_->setText(qs(form_.Splash.Caption()));
    splash_->setVisible(form_.Splash.Visible() && !form_.MainPage.Visible());
}

QWidget* MainWindow::buildInfoPage() {
    auto* page = new QWidget;
    auto* name = named(new QLineEdit(page), form_.ReceName);
    bind::edit(name, form_.ReceName);
    bind::keys(name, [this](char32_t& key) { form_.ActEnterAsTAB(key); });
    auto* organiser = named(new QPlainTextEdit(page), form_.OrgName);
    organiser->setFixedHeight(organiser->fontMetrics().lineSpacing() * 4);
    bind::memo(organiser, form_.OrgName);
    auto* folder = named(new QLabel(page), form_.KisoTaikaiText);
    bind::label(folder, form_.KisoTaikaiText);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("大会名"), name);
    fields->addRow(QStringLiteral("主催"), organiser);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(folder);
    GridView* best = addGrid(form_.taikaiBestGrid, page);
    best->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    best->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    best->setFixedHeight(2 * best->verticalHeader()->defaultSectionSize() + 2 * best->frameWidth());
    left->addWidget(best);
    left->addWidget(addGrid(form_.KukanInfGrid, page), 1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildCountPanel(page));
    right->addStretch();
    auto* row = new QHBoxLayout(page);
    row->addLayout(left, 1);
    row->addLayout(right);
    return page;
}

QWidget* MainWindow::buildCountPanel(QWidget* parent) {
    auto* box = named(new QGroupBox(parent), form_.KukanInfPanel);
    auto* layout = new QFormLayout(box);
    const std::pair<SpinEdit*, QString> spins[] = {{&form_.KukanSpinNum, QStringLiteral("区間数")},
                                                   {&form_.HoketuSpinNum, QStringLiteral("補欠数")},
                                                   {&form_.SankaSpinNum, QStringLiteral("参加ﾁｰﾑ数")}};
    for (const auto& [model, label] : spins) {
        auto* spin = named(new TypedSpinBox(box), *model);
        bind::spin(spin, *model);
        ApplyIme(spin, ImeMode::Close); // counts: no kana
        layout->addRow(label, spin);
    }
    auto* hundredths = named(new QCheckBox(box), form_.chk100);
    bind::check(hundredths, form_.chk100);
    layout->addRow(hundredths);
    bind::control(box, form_.KukanInfPanel);
    return box;
}

GridView* MainWindow::addGrid(StringGrid& grid, QWidget* parent) {
    auto* view = named(new GridView(grid, parent), grid);
    bind::control(view, grid);
    grids_[&grid] = view;
    return view;
}

// Every grid of the window: a paste stops at what the tables keep of its column.
void MainWindow::bindGrid(StringGrid& grid, GridBinding binding) {
    binding.cellBytes = [this, &grid](int c) { return form_.StoredCellBytes(grid, c); };
    grids_.at(&grid)->setBinding(std::move(binding));
}

void MainWindow::bindGrids() {
    // The edition grid and the leg grid share their handlers; Tag tells them apart.
    auto infoGrid = [this](StringGrid& g) {
        auto ime = [this, &g] { form_.SetInfoGridIme(g, g.Col()); };
        return GridBinding{.keyPress = [this, &g](char32_t& key) { form_.KukanInfGridKeyPress(g, key); },
                           .selectCell = [this, &g](int c, int) { form_.SetInfoGridIme(g, c); return true; },
                           .enter = ime,
                           .exit = [this] { form_.taikaiBestGridExit(); },
                           .click = ime,
                           .style = [this, &g](int c, int r) { return form_.KukanInfGridDrawCell(g, c, r); }};
    };
    GridBinding legs = infoGrid(form_.KukanInfGrid);
    legs.setEditText = [this](int c, int r, const std::string& t) { form_.KukanInfGridSetEditText(c, r, t); };
    bindGrid(form_.KukanInfGrid, legs);
    bindGrid(form_.taikaiBestGrid, infoGrid(form_.taikaiBestGrid));
    bindInputGrids();
    bindEntryGrids();
}

void MainWindow::addMenuActions(QWidget* w, const MenuDef& menu) {
    for (Action* a : menu.Items) {
        if (a) {
            w->addAction(qaction(*a));
            continue;
        }
        auto* separator = new QAction(w);
        separator->setSeparator(true);
        w->addAction(separator);
    }
}

void MainWindow::followForm() {
    setWindowTitle(qs(form_.Caption()));
    onSignal(form_.Changed, [this] { setWindowTitle(qs(form_.Caption())); });
    onSignal(form_.FocusChanged, [this] { focusModelControl(); });
    onSignal(form_.ImeChanged, [this] { applyIme(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { trackFocus(now); });
}

void MainWindow::focusModelControl() {
    QWidget* w = widgetFor(form_.FocusedControl);
    if (!w) return;
    QWidget* focus = QApplication::focusWidget();
    if (focus != w && !w->isAncestorOf(focus)) w->setFocus(Qt::OtherFocusReason);
    // The input method state stays as it was set, whichever control gets the focus.
    applyIme();
}

void MainWindow::applyIme() {
    for (QWidget* w : {widgetFor(form_.FocusedControl), QApplication::focusWidget()}) {
        if (!w || !isAncestorOf(w)) continue;
        // A grid's editor takes the state from its grid, now and when it next opens.
        if (GridView* grid = enclosingGrid(w)) grid->applyIme(form_.Ime);
        else ApplyIme(w, form_.Ime);
    }
}

// The control the user put the focus on becomes the form's focused control.
void MainWindow::trackFocus(QWidget* now) {
    for (QWidget* w = now; w && w != this; w = w->parentWidget()) {
        auto it = controls_.find(w);
        if (it == controls_.end()) continue;
        Guard([&] { form_.SetFocus(*it->second); });
        return;
    }
}

void MainWindow::followModelessWindows() {
    Program& p = form_.program();
    for (FormBase* f : std::initializer_list<FormBase*>{
             p.currTaikaiDir.get(), p.selectDataForm.get(), p.outputForm.get(), p.kukanParamForm.get(),
             p.formKuriage.get(), p.quickReport4.get(), p.swapTmRunForm.get(), p.csvEntry.get(),
             p.formClockInput.get(), p.formDelayInf.get(), p.formEnv.get(), p.okRightDlg.get()}) {
        if (!f) continue;
        onSignal(f->VisibleChanged, [this, f](bool visible) { showModeless(*f, visible); });
    }
}

// The window is looked up when first shown, so it may be registered after this one is built.
void MainWindow::showModeless(FormBase& form, bool visible) {
    QPointer<QWidget>& w = windows_[&form];
    if (!w) {
        const WindowFactory* make = visible ? FindWindow(form.Name()) : nullptr;
        if (!make) return;
        w = (*make)(form);
        w->setParent(this, w->windowFlags() | Qt::Window);
        new CloseWatcher(w, form);
    }
    w->setVisible(visible);
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (shown_) return;
    shown_ = true;
    // Without its data root the window could open no race: the program ends after the message.
    if (!Guard([&] { form_.FormShow(); })) QTimer::singleShot(0, this, &QWidget::close);
    focusModelControl();
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    // The automatic import polls only while the desk works in this window.
    form_.MainWindowActive = isActiveWindow();
    if (shown_ && isActiveWindow()) Guard([&] { form_.FormActivate(); });
}

void MainWindow::closeEvent(QCloseEvent* e) {
    bool mayClose = false;
    Guard([&] { mayClose = form_.FormClose(); });
    if (mayClose) e->accept();
    else e->ignore();
}
