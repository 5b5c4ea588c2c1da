// The main window's passing-time input page: the input grid, the split grid beside
// it and the auto-import line, with their handlers.
#include "gui/Bindings.h"
#include "gui/MainWindow.h"
#include "mainwindow/TMainForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

QWidget* MainWindow::buildInputPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* legend = named(new QLabel(page), form_.LabelBonrei);
    bind::label(legend, form_.LabelBonrei);
    layout->addWidget(legend);

    auto* split = new QSplitter(Qt::Horizontal, page);
    split->addWidget(addGrid(form_.InputGrid, split));
    auto* panel = named(new QWidget(split), form_.SlitGridPanel);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    int toolsWidth = 0;
    for (auto [row, name] : {std::pair{&form_.SlitToolBar, "SlitToolBar"},
                             std::pair{&form_.SlitFileToolBar, "SlitFileToolBar"}}) {
        QToolBar* bar = buildSplitTools(panel, *row, name);
        panelLayout->addWidget(bar);
        toolsWidth = std::max(toolsWidth, bar->sizeHint().width());
    }
    panel->setMinimumWidth(toolsWidth); // no command hidden behind the tool bar's arrow
    GridView* splits = addGrid(form_.tempKukanGrid, panel);
    splits->keepColumnsInSight(1); // every column but the team name
    panelLayout->addWidget(splits);
    split->addWidget(panel);
    split->setStretchFactor(0, 1);
    split->setSizes({600, 400}); // in proportion: the input grid keeps the larger part
    bind::control(panel, form_.SlitGridPanel);
    bind::control(split->handle(1), form_.Splitter1);
    layout->addWidget(split, 1);

    auto* path = named(new QLineEdit(page), form_.Edit1);
    bind::edit(path, form_.Edit1);
    bind::keys(path, [this](char32_t& key) { form_.Edit1KeyDown(key); });
    auto* progress = named(new QProgressBar(page), form_.ProgressBar1);
    bind::progress(progress, form_.ProgressBar1);
    auto* leftOut = named(new QLabel(page), form_.LabelAutoImport);
    bind::label(leftOut, form_.LabelAutoImport);
    // A long report must not widen the window: it takes the room there is.
    leftOut->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(path, 1);
    bottom->addWidget(progress);
    bottom->addWidget(leftOut, 1);
    layout->addLayout(bottom);
    return page;
}

// One row of the panel's commands: the grid's own, or the timing files'.
QToolBar* MainWindow::buildSplitTools(QWidget* parent, const MenuDef& row, const char* name) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (Action* a : row.Items) {
        if (a)
            bar->addAction(qaction(*a));
        else
            bar->addSeparator();
    }
    return bar;
}

// The input grid and the split grid share their typing handlers; the grid is passed.
void MainWindow::bindInputGrids() {
    auto timeGrid = [this](StringGrid& g) {
        return GridBinding{
            .keyPress = [this, &g](char32_t& key) { form_.InputGridKeyPress(g, key); },
            .setEditText = [this, &g](int c, int r,
                                      const std::string& t) { form_.InputGridSetEditText(g, c, r, t); },
            .enter = [this, &g] { form_.InputGridEnter(g); },
            .exit = [this, &g] { form_.InputGridExit(g); },
            .finishEdit = [this] { form_.CompleteEditedTime(); }};
    };
    GridBinding input = timeGrid(form_.InputGrid);
    input.selectCell = [this](int c, int r) {
        form_.InputGridSelectCell(c, r);
        return true;
    };
    input.click = [this] { form_.InputGridClick(); };
    input.dblClick = [this] { form_.InputGridDblClick(); };
    input.style = [this](int c, int r) { return form_.InputGridDrawCell(c, r); };
    // The advanced-start or restart time of a relay point, under its leg title.
    input.overlay = [this](int c, int r) {
        return r == 0 && c >= 2 && c % 2 == 0 ? form_.InputGridTitleMark(c) : CellStyle{};
    };
    bindGrid(form_.InputGrid, input);
    GridBinding splits = timeGrid(form_.tempKukanGrid);
    splits.keyPress = [this](char32_t& key) { form_.tempKukanGridKeyPress(key); };
    splits.selectCell = [this](int c, int r) { return form_.tempKukanGridSelectCell(c, r); };
    splits.style = [this](int c, int r) { return form_.tempKukanGridDrawCell(c, r); };
    bindGrid(form_.tempKukanGrid, splits);
    // The pop-up menus act on the current cell; the right button does not move it.
    for (auto [grid, menu] : {std::pair{&form_.InputGrid, &form_.PopupMenu2},
                              std::pair{&form_.tempKukanGrid, &form_.SlitGridPopup}}) {
        GridView* view = gridFor(*grid);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        addMenuActions(view, *menu);
    }
}
