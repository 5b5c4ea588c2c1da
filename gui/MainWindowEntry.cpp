// The main window's entry page: the team and runner grids with their handlers, the
// shown team's up-down, the entry buttons and the grids' pop-up menu.
#include "gui/Bindings.h"
#include "gui/MainWindow.h"
#include "gui/UpDownBox.h"
#include "mainwindow/TMainForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

QWidget* MainWindow::buildEntryPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* head = new QHBoxLayout;
    head->addWidget(buildEntryTools(page));
    const std::pair<RadioButton*, QString> radios[] = {{&form_.RadioClickEntry, QStringLiteral("ｸﾘｯｸ")},
                                                       {&form_.RadioTenkeyEntry, QStringLiteral("ﾃﾝｷｰ")}};
    for (const auto& [model, text] : radios) {
        auto* radio = named(new QRadioButton(text, page), *model);
        bind::check(radio, *model);
        head->addWidget(radio);
    }
    head->addStretch();
    layout->addLayout(head);

    auto* tabs = named(new QTabWidget(page), form_.EntryTab);
    tabs->addTab(addGrid(form_.TeamEntryGrid, tabs), {});
    tabs->addTab(buildRunnerPage(tabs), {});
    bind::pages(tabs, form_.EntryTab);
    layout->addWidget(tabs, 1);
    return page;
}

// The buttons of both tabs stand in one bar; the tab change shows the ones of its tab.
QToolBar* MainWindow::buildEntryTools(QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("EntryTools"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (Action* a : {&form_.StartListPrev, &form_.StartListExcel, &form_.startListWeb, &form_.SpeedButtonOpenCSV,
                      &form_.SpeedButtonPackEntry, &form_.SB_TeamCopy, &form_.SwapTeamRunner, &form_.SetOrder})
        bar->addAction(qaction(*a));
    return bar;
}

QWidget* MainWindow::buildRunnerPage(QWidget* parent) {
    auto* runners = new QWidget(parent);
    auto* team = named(new QLabel(runners), form_.CurrTeamName);
    bind::label(team, form_.CurrTeamName);
    auto* teamNo = named(new UpDownBox(
                             form_.TeamUpDown, [this] { form_.TeamUpDownChanging(); },
                             [this] { form_.TeamUpDownMouseDown(); }, runners),
                         form_.TeamUpDown);
    auto* head = new QHBoxLayout;
    head->addWidget(team);
    head->addWidget(teamNo);
    head->addStretch();
    auto* layout = new QVBoxLayout(runners);
    layout->addLayout(head);
    layout->addWidget(addGrid(form_.RunnerEntryGrid, runners), 1);
    return runners;
}

GridBinding MainWindow::entryBinding(StringGrid& grid) {
    GridView* view = gridFor(grid);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    addMenuActions(view, form_.EntryGridPopup);
    return {.mouseDown = [this, &grid](int c, int r, bool right) { form_.RunnerEntryGridMouseDown(grid, right, c, r); },
            .composition = [this](const std::string& reading) { form_.EntryGridComposition(reading); }};
}

void MainWindow::bindEntryGrids() {
    GridBinding teams = entryBinding(form_.TeamEntryGrid);
    teams.keyPress = [this](char32_t& key) { form_.TeamEntryGridKeyPress(key); };
    teams.setEditText = [this](int c, int r, const std::string& t) { form_.TeamEntryGridSetEditText(c, r, t); };
    teams.selectCell = [this](int c, int r) { return form_.TeamEntryGridSelectCell(c, r); };
    teams.enter = [this] { form_.TeamEntryGridEnter(); };
    teams.exit = [this] { form_.TeamEntryGridExit(); };
    teams.click = [this] { form_.TeamEntryGridClick(); };
    teams.style = [this](int c, int r) { return form_.TeamEntryGridDrawCell(c, r); };
    bindGrid(form_.TeamEntryGrid, teams);

    GridBinding runners = entryBinding(form_.RunnerEntryGrid);
    runners.keyPress = [this](char32_t& key) { form_.RunnerEntryGridKeyPress(key); };
    runners.setEditText = [this](int c, int r, const std::string& t) { form_.RunnerEntryGridSetEditText(c, r, t); };
    runners.selectCell = [this](int c, int r) { return form_.RunnerEntryGridSelectCell(c, r); };
    runners.enter = [this] { form_.RunnerEntryGridEnter(); };
    runners.exit = [this] { form_.RunnerEntryGridExit(); };
    runners.click = [this] { form_.RunnerEntryGridClick(); };
    runners.style = [this](int c, int r) { return form_.RunnerEntryGridDrawCell(c, r); };
    bindGrid(form_.RunnerEntryGrid, runners);

    // The row marks are painted in column 0.
    onSignal(form_.EntryMarksChanged, [this] {
        for (StringGrid* g : {&form_.TeamEntryGrid, &form_.RunnerEntryGrid}) gridFor(*g)->repaintColumn(0);
    });
}
