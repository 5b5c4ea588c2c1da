#include "gui/KuriageWindow.h"

#include "gui/Bindings.h"
#include "gui/GridView.h"
#include "gui/QtText.h"
#include "mainwindow/TFormKuriage.h"
#include "platform/Guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

KuriageWindow::KuriageWindow(TFormKuriage& form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName(qs(form.Name()));
    setWindowFlags(windowFlags() | Qt::Window | Qt::WindowStaysOnTopHint);
    QPointer<KuriageWindow> self(this);
    auto title = [self] {
        if (self) self->setWindowTitle(qs(self->form_.Caption()));
    };
    form.Changed.connect(title);
    title();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (Action* a : {&form.ToolButtonCopy, &form.ToolButton2, &form.ToolButton3, &form.ToolButton4, &form.ToolButton6,
                      &form.ToolButton5})
        bar->addAction(bind::newAction(*a, this));
    layout->addWidget(bar);
    bindGrid();
    auto* status = new QStatusBar(this);
    bind::status(status, form.StatusBar1);
    layout->addWidget(status);
}

void KuriageWindow::bindGrid() {
    TFormKuriage& f = form_;
    auto* view = new GridView(f.KuriageGrid, this);
    view->setBinding({.keyPress = [&f](char32_t& key) { f.KuriageGridKeyPress(key); },
                      .setEditText = [&f](int c, int r, const std::string& t) { f.KuriageGridSetEditText(c, r, t); },
                      .selectCell = [&f](int c, int r) { return f.KuriageGridSelectCell(c, r); },
                      .click = [&f] { f.KuriageGridClick(); },
                      .style = [&f](int c, int r) { return f.KuriageGridDrawCell(c, r); },
                      .mouseDown = [&f](int c, int r, bool) { f.KuriageGridMouseDown(c, r); }});
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (Action* a : {&f.MenuGetFromInputG, &f.N1, &f.N2, &f.N3}) view->addAction(bind::newAction(*a, view));
    view->keepColumnsInSight();
    layout()->addWidget(view);
}

void KuriageWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (placed_) return;
    placed_ = true;
    centre();
}

void KuriageWindow::centre() {
    adjustSize();
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void KuriageWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    if (isActiveWindow()) Guard([&] { form_.FormActivate(); });
    else Guard([&] { form_.FormDeactivate(); });
}

// The close box closes as the form says: its question may keep the window open.
void KuriageWindow::closeEvent(QCloseEvent* e) {
    if (!form_.Visible()) {
        e->accept(); // the form closed itself (its close button) and hid the window
        return;
    }
    bool closed = false;
    Guard([&] { closed = form_.CloseWindow(); });
    if (closed) e->accept();
    else e->ignore();
}
