#pragma once
// The result output window (TOutputForm): modeless and maximised, with its tool bar,
// the yellow title line, the three result grids (each shown while its model is
// visible) and the status bar. The result action shows the form and then fills it
// (FormShow); this window never runs FormShow, so restoring it recomputes nothing.
#include "gui/GridView.h"

#include <QMainWindow>

#include <map>
#include <vector>

class Action;
class QMenu;
class QToolBar;
struct MenuDef;
class TOutputForm;

class OutputWindow : public QMainWindow {
public:
    explicit OutputWindow(TOutputForm& form, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    // The commands in one row, or split over two rows when one is wider than the screen.
    void buildToolBar(int rows);
    int toolBarWidth() const;
    QAction* qaction(Action& a);
    QMenu* buildMenu(const MenuDef& def, QWidget* parent);
    QWidget* buildResults();
    void addGrid(StringGrid& grid, std::function<CellStyle(int, int)> style, QWidget* parent);
    void scheduleFocus();

    TOutputForm& form_;
    std::map<const Action*, QAction*> actions_;
    std::vector<QToolBar*> bars_;
    void fitToScreen();
    bool sized_ = false;
    bool focusPending_ = false;
};
