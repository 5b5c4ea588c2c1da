#pragma once
// The main window over TMainForm: menus, tool bar, status bar, the splash and the
// three pages with their grids. It shows the form's models and hands what the user
// does to the form's handlers.
#include "gui/GridView.h"
#include "gui/QtText.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>
#include <string>

class FormBase;
class QAction;
class QToolBar;
class TMainForm;
struct MenuDef;
class QLabel;
class QTabWidget;
class Action;
class Control;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(TMainForm& form, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The widget showing the control of that name; nullptr when there is none.
    QWidget* widgetFor(const std::string& name) const;
    GridView* gridFor(const StringGrid& grid) const;
    QAction* actionFor(const Action& action) const;

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget* buildCentral();
    QWidget* buildInfoPage();
    QWidget* buildCountPanel(QWidget* parent);
    QWidget* buildEntryPage();
    QToolBar* buildEntryTools(QWidget* parent);
    QWidget* buildRunnerPage(QWidget* parent);
    QWidget* buildInputPage();
    QToolBar* buildSplitTools(QWidget* parent, const MenuDef& row, const char* name);
    void bindGrids();
    void bindInputGrids();
    void bindEntryGrids();
    // What the two entry grids share: the mouse, the reading and the pop-up menu.
    GridBinding entryBinding(StringGrid& grid);
    void addMenuActions(QWidget* w, const MenuDef& menu);
    void followForm();
    void followModelessWindows();
    void showModeless(FormBase& form, bool visible);

    // Registers w as the view of m (name map, focus) and returns it.
    template <typename W> W* named(W* w, Control& m);
    GridView* addGrid(StringGrid& grid, QWidget* parent);
    void bindGrid(StringGrid& grid, GridBinding binding);
    QAction* qaction(Action& a);
    // Runs f on each s(), while this window lives.
    template <typename... A, typename F> void onSignal(Signal<A...>& s, F f);

    void showSplash();
    void focusModelControl();
    void applyIme();
    void trackFocus(QWidget* now);

    TMainForm& form_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true); // reset when the window goes
    std::map<std::string, QWidget*> widgets_;
    std::map<QWidget*, Control*> controls_;
    std::map<const Action*, QAction*> actions_;
    std::map<const StringGrid*, GridView*> grids_;
    std::map<const FormBase*, QPointer<QWidget>> windows_;
    QLabel* splash_ = nullptr;
    QTabWidget* pages_ = nullptr;
    bool shown_ = false;
};

// The window's parts are built in several files (MainWindowEntry.cpp, MainWindowInput.cpp).
template <typename... A, typename F> void MainWindow::onSignal(Signal<A...>& s, F f) {
    std::weak_ptr<bool> alive = alive_;
    s.connect([alive, f](A... args) {
        if (!alive.expired()) f(args...);
    });
}

template <typename W> W* MainWindow::named(W* w, Control& m) {
    w->setObjectName(qs(m.Name()));
    widgets_[m.Name()] = w;
    controls_[w] = &m;
    return w;
}
