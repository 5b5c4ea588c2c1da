#include "gui/OutputWindow.h"

#include "gui/Bindings.h"
#include "gui/QtText.h"
#include "output/TOutputForm.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kRowHeight = 24;
constexpr int kTitlePixels = 18;

} // namespace

OutputWindow::OutputWindow(TOutputForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    setObjectName(qs(form.Name()));
    buildToolBar(1);
    setCentralWidget(buildResults());
    bind::status(statusBar(), form.StatusBar1);
    QPointer<OutputWindow> self(this);
    auto follow = [self] {
        if (!self) return;
        self->setWindowTitle(qs(self->form_.Caption()));
        self->scheduleFocus();
    };
    form.Changed.connect(follow);
    follow();
}

QAction* OutputWindow::qaction(Action& a) {
    QAction*& q = actions_[&a];
    if (q) return q;
    if (&a == &form_.UpDownBtn) {
        // The picture of the order toggle tells the order shown.
        q = new QAction(this);
        q->setObjectName(qs(a.Name()));
        bind::action(q, a, [this] {
            return form_.UpDownBtn.ImageIndex() == TOutputForm::kTeamOrderImage ? QStringLiteral("チーム順")
                                                                                : QStringLiteral("個人順");
        });
    } else {
        q = bind::newAction(a, this);
    }
    return q;
}

void OutputWindow::buildToolBar(int rows) {
    for (QToolBar* old : bars_) {
        removeToolBar(old);
        delete old;
    }
    bars_.clear();
    const size_t count = form_.ToolBar.size(), perRow = (count + rows - 1) / rows;
    QToolBar* bar = nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (i % perRow == 0) {
            if (bar) addToolBarBreak();
            bar = addToolBar(QStringLiteral("ToolBar"));
            bar->setObjectName(bars_.empty() ? QStringLiteral("ToolBar") : QStringLiteral("ToolBarRow2"));
            bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
            bar->setMovable(false);
            bars_.push_back(bar);
        }
        const ToolButtonDef& def = form_.ToolBar[i];
        QAction* a = qaction(*def.Target);
        bar->addAction(a);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        button->setObjectName(qs(def.Name));
        if (!def.DropDown) continue;
        // On the button, not its action: the menu holds that action too.
        button->setMenu(buildMenu(*def.DropDown, button));
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QMenu* OutputWindow::buildMenu(const MenuDef& def, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(qs(def.Caption));
    for (Action* a : def.Items) {
        if (a) menu->addAction(qaction(*a));
        else menu->addSeparator();
    }
    return menu;
}

QWidget* OutputWindow::buildResults() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* title = new QLabel(area);
    title->setObjectName(qs(form_.ResultTTL.Name()));
    QFont font = title->font();
    font.setPixelSize(kTitlePixels);
    title->setFont(font);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The label's colour is its Base; fill the whole line with it.
    title->setBackgroundRole(QPalette::Base);
    title->setAutoFillBackground(true);
    bind::label(title, form_.ResultTTL);
    layout->addWidget(title);

    TOutputForm& f = form_;
    addGrid(f.OutputTTLGrid, [&f](int c, int r) { return f.OutputTTLGridDrawCell(c, r); }, area);
    addGrid(f.OutputGrid, [&f](int c, int r) { return f.OutputGridDrawCell(c, r); }, area);
    addGrid(f.tmpDBGrid, [&f](int c, int r) { return f.tmpDBGridDrawColumnCell(c, r); }, area);
    return area;
}

void OutputWindow::addGrid(StringGrid& grid, std::function<CellStyle(int, int)> style, QWidget* parent) {
    auto* view = new GridView(grid, parent);
    view->setBinding({.style = std::move(style)});
    bind::control(view, grid);
    // GridView sizes rows by the font at each layout; these grids keep their fixed height.
    auto rows = [view] { view->verticalHeader()->setDefaultSectionSize(kRowHeight); };
    connect(view, &GridView::layoutApplied, view, rows);
    rows();
    QPointer<OutputWindow> self(this);
    grid.Changed.connect([self] {
        if (self) self->scheduleFocus();
    });
    parent->layout()->addWidget(view);
}

// The form names the control to focus while it fills the views: look once the
// handler that filled them has returned.
void OutputWindow::scheduleFocus() {
    if (focusPending_) return;
    focusPending_ = true;
    QTimer::singleShot(0, this, [this] {
        focusPending_ = false;
        if (form_.FocusedControl.empty()) return;
        auto* w = findChild<QWidget*>(qs(form_.FocusedControl));
        if (w && w->isVisible() && !w->hasFocus()) w->setFocus(Qt::OtherFocusReason);
    });
}

void OutputWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (sized_) return;
    sized_ = true;
    // After the views have taken their columns (their layout runs queued).
    QTimer::singleShot(0, this, [this] { fitToScreen(); });
}

int OutputWindow::toolBarWidth() const {
    int w = 0;
    for (QToolBar* bar : bars_)
        w = std::max(w, bar->sizeHint().width());
    return w;
}

// As wide as the shown grid needs and as its tool bar (no command behind the bar's
// arrow; two rows when one is wider than the screen), up to the screen; most of the
// screen's height. A maximise request alone is not enough: without a window manager it
// is ignored.
void OutputWindow::fitToScreen() {
    const QRect avail = screen()->availableGeometry();
    const int frame = frameGeometry().width() - width();
    if (toolBarWidth() + frame > avail.width() && bars_.size() == 1) buildToolBar(2);
    const int tools = toolBarWidth() + frame;
    int gridWidth = 0;
    for (GridView* v : findChildren<GridView*>()) {
        if (!v->isVisibleTo(this) || v->model()->columnCount() == 0) continue;
        const int w = v->columnsWidth(0, v->model()->columnCount() - 1) + v->verticalScrollBar()->sizeHint().width() +
                      2 * v->frameWidth();
        gridWidth = std::max(gridWidth, w);
    }
    const int chrome = frameGeometry().width() - width() + centralWidget()->contentsMargins().left() +
                       centralWidget()->contentsMargins().right() + 24;
    const int w = std::clamp(std::max(gridWidth + chrome, tools), std::min(800, avail.width()), avail.width());
    const int h = avail.height() * 9 / 10;
    resize(w - (frameGeometry().width() - width()), h - (frameGeometry().height() - height()));
    move(avail.left() + (avail.width() - w) / 2, avail.top());
}
