#include "gui/Bindings.h"

#include "gui/GridView.h"
#include "gui/QtText.h"
#include "platform/Guard.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace bind {
namespace {

// Shows the model in w now and on each of its changes, while w lives. The widget's
// own signals are blocked meanwhile (actions excepted: their widgets follow signals).
template <typename W, typename M, typename Apply> void follow(W* w, M& m, Apply apply, bool block = true) {
    QPointer<W> p(w);
    auto run = [p, &m, apply, block] {
        if (!p) return;
        QSignalBlocker blocker(block ? static_cast<QObject*>(p.data()) : nullptr);
        apply(p.data(), m);
    };
    m.Changed.connect(run);
    run();
}

// Runs a model change the user caused, reporting what it throws.
template <typename F> void user(F&& f) { Guard(std::forward<F>(f)); }

// Every action reads the grids as the desk left them: what is being typed in a cell is
// completed first, exactly as leaving the cell would.
void execute(Action& m) {
    if (m.Enabled()) GridView::FinishEdits();
    m.Execute();
}

void applyColor(QWidget* w, int color) {
    if (color < 0) {
        if (w->testAttribute(Qt::WA_SetPalette)) w->setPalette(QPalette());
        return;
    }
    QPalette p = w->palette();
    p.setColor(QPalette::Base, rgb(color));
    w->setPalette(p);
}

void applyControl(QWidget* w, const Control& m) {
    w->setEnabled(m.Enabled());
    w->setHidden(!m.Visible());
    applyColor(w, m.Color());
}

// Plain-text widgets use "\n"; the memo model keeps the platform's CR LF.
QString fromModelLines(const std::string& t) { return qs(t).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
std::string toModelLines(QString t) { return ss(t.replace(u'\n', QStringLiteral("\r\n"))); }

QString actionText(const Action& m) {
    return qs(!m.Caption().empty() ? m.Caption() : !m.Hint().empty() ? m.Hint() : m.Name());
}

using ActionText = std::function<QString()>;

void applyAction(QAction* a, const Action& m, bool checkable, const ActionText& text) {
    a->setText(text ? text() : actionText(m));
    a->setToolTip(qs(m.Hint().empty() ? m.Caption() : m.Hint()));
    a->setEnabled(m.Enabled());
    a->setVisible(m.Visible());
    a->setCheckable(checkable);
    a->setChecked(m.Checked());
}

QLabel* panelLabel(QStatusBar* w, int i) {
    QLabel* l = nullptr;
    for (int k = 0; k <= i; ++k) {
        QString name = QStringLiteral("StatusPanel%1").arg(k);
        l = w->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
        if (l) continue;
        l = new QLabel(w);
        l->setObjectName(name);
        w->addWidget(l);
    }
    return l;
}

void bindAction(QAction* a, Action& m, bool checkable, ActionText text) {
    follow(a, m, [checkable, text](QAction* q, Action& m) { applyAction(q, m, checkable, text); }, false);
    if (!m.ShortCut.empty()) a->setShortcut(QKeySequence(qs(m.ShortCut)));
    QObject::connect(a, &QAction::triggered, a, [a, &m, checkable, text] {
        user([&] { execute(m); });
        // Qt toggled the check mark itself; the model decides it.
        applyAction(a, m, checkable, text);
    });
}

// Item texts in place while the count stays: a handler may rename items while the
// user's click on the list is still being delivered.
template <typename Count, typename Text, typename SetText, typename Rebuild>
void applyItems(const std::vector<std::string>& items, Count count, Text text, SetText setText, Rebuild rebuild) {
    if (count() != static_cast<int>(items.size())) {
        rebuild();
        return;
    }
    for (int i = 0; i < count(); ++i)
        if (text(i) != qs(items[i])) setText(i, qs(items[i]));
}

void applyList(QListWidget* w, ListBox& m) {
    applyControl(w, m);
    w->setSelectionMode(m.MultiSelect() ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    applyItems(
        m.Items(), [w] { return w->count(); }, [w](int i) { return w->item(i)->text(); },
        [w](int i, const QString& t) { w->item(i)->setText(t); },
        [w, &m] {
            w->clear();
            for (const std::string& t : m.Items()) w->addItem(qs(t));
        });
    if (!m.MultiSelect()) {
        if (w->currentRow() != m.ItemIndex()) w->setCurrentRow(m.ItemIndex());
        return;
    }
    // The current item of a multi-select list is only the focus: it selects nothing.
    w->selectionModel()->setCurrentIndex(w->model()->index(m.ItemIndex(), 0), QItemSelectionModel::NoUpdate);
    for (int i = 0; i < w->count(); ++i) w->item(i)->setSelected(m.Selected(i));
}

void applyCombo(QComboBox* c, ComboBox& m) {
    applyControl(c, m);
    c->setMaxVisibleItems(m.DropDownCount());
    applyItems(
        m.Items(), [c] { return c->count(); }, [c](int i) { return c->itemText(i); },
        [c](int i, const QString& t) { c->setItemText(i, t); },
        [c, &m] {
            c->clear();
            for (const std::string& t : m.Items()) c->addItem(qs(t));
        });
    if (c->currentIndex() != m.ItemIndex()) c->setCurrentIndex(m.ItemIndex());
}

// The user's acts on a list. A single-select list picks an item when it selects it
// (the view moves its current item alone, unselected, on a press and on getting the
// focus); the click handler runs once per mouse click, on the click itself.
class ListHook : public QObject {
public:
    ListHook(QListWidget* w, ListBox& m, ListEvents on) : QObject(w), w_(w), m_(m), on_(std::move(on)) {
        w->viewport()->installEventFilter(this);
        connect(w, &QListWidget::currentRowChanged, this, [this](int row) {
            if (m_.MultiSelect()) user([&] { m_.SetItemIndex(row); });
        });
        connect(w, &QListWidget::itemSelectionChanged, this, [this] {
            if (m_.MultiSelect()) selectionChanged();
            else picked();
        });
        connect(w, &QListWidget::clicked, this, [this] {
            if (!m_.MultiSelect()) run(on_.click);
        });
        connect(w, &QListWidget::doubleClicked, this, [this] { run(on_.dblClick); });
    }

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) pressing_ = true;
        if (e->type() == QEvent::MouseButtonRelease) pressing_ = false;
        return false;
    }

private:
    void run(const std::function<void()>& f) {
        if (f) user(f);
    }

    void picked() {
        const QList<QListWidgetItem*> items = w_->selectedItems();
        if (items.size() != 1) return;
        const int row = w_->row(items.front());
        user([&] { m_.SetItemIndex(row); });
        if (!pressing_) run(on_.click);
    }

    void selectionChanged() {
        // Read whole first: each model change shows the model in the list again.
        std::vector<bool> selected;
        for (int i = 0; i < w_->count(); ++i) selected.push_back(w_->item(i)->isSelected());
        user([&] {
            for (int i = 0; i < static_cast<int>(selected.size()); ++i) m_.SetSelected(i, selected[i]);
        });
        run(on_.click);
    }

    QListWidget* w_;
    ListBox& m_;
    ListEvents on_;
    bool pressing_ = false;
};

class KeyHook : public QObject {
public:
    KeyHook(QWidget* w, KeyHandler handler) : QObject(w), handler_(std::move(handler)) { w->installEventFilter(this); }

    bool eventFilter(QObject* target, QEvent* e) override {
        if (e->type() == QEvent::InputMethod)
            return FilterInputMethod(target, *static_cast<QInputMethodEvent*>(e), handler_);
        if (e->type() != QEvent::KeyPress || KeyReplay::Active()) return false;
        const auto& k = *static_cast<QKeyEvent*>(e);
        auto key = AskKey(handler_, k);
        if (!key || *key == KeyCharOf(k)) return false;
        if (*key != 0) SendKey(target, *key, k);
        return true;
    }

private:
    KeyHandler handler_;
};

} // namespace

void control(QWidget* w, Control& m) { follow(w, m, applyControl); }

void label(QLabel* w, Label& m) {
    follow(w, m, [](QLabel* l, Label& m) {
        applyControl(l, m);
        if (l->text() != qs(m.Caption())) l->setText(qs(m.Caption()));
    });
}

void edit(QLineEdit* w, Edit& m) {
    follow(w, m, [](QLineEdit* e, Edit& m) {
        applyControl(e, m);
        if (e->text() != qs(m.Text())) e->setText(qs(m.Text()));
    });
    QObject::connect(w, &QLineEdit::textEdited, w, [&m](const QString& t) { user([&] { m.SetText(ss(t)); }); });
}

void memo(QPlainTextEdit* w, Memo& m) {
    follow(w, m, [](QPlainTextEdit* e, Memo& m) {
        applyControl(e, m);
        if (e->toPlainText() != fromModelLines(m.Text())) e->setPlainText(fromModelLines(m.Text()));
    });
    QObject::connect(w, &QPlainTextEdit::textChanged, w,
                     [w, &m] { user([&] { m.SetText(toModelLines(w->toPlainText())); }); });
}

void check(QAbstractButton* w, CheckBox& m) {
    follow(w, m, [](QAbstractButton* b, CheckBox& m) {
        applyControl(b, m);
        if (!m.Caption().empty()) b->setText(qs(m.Caption()));
        b->setChecked(m.Checked());
    });
    // toggled, not clicked: a radio button unchecked by its sibling must reach its model too.
    QObject::connect(w, &QAbstractButton::toggled, w, [&m](bool on) { user([&] { m.SetChecked(on); }); });
}

void spin(QSpinBox* w, SpinEdit& m) {
    follow(w, m, [](QSpinBox* s, SpinEdit& m) {
        applyControl(s, m);
        s->setRange(m.MinValue(), m.MaxValue());
        if (s->value() != m.Value()) s->setValue(m.Value());
        // A value set again after the user emptied the field: show it.
        else if (!m.Text().empty() && s->cleanText().isEmpty())
            if (auto* e = s->findChild<QLineEdit*>()) e->setText(qs(m.Text()));
    });
    // A typed value counts when editing ends (Enter, focus out, an arrow): typing "15"
    // must not pass through a count of 1. Leaving an emptied field puts the value back.
    w->setKeyboardTracking(false);
    QObject::connect(w, &QSpinBox::valueChanged, w, [&m](int v) { user([&] { m.SetValue(v); }); });
}

void action(QAction* a, Action& m, bool checkable) { bindAction(a, m, checkable, {}); }

void action(QAction* a, Action& m, std::function<QString()> text) { bindAction(a, m, false, std::move(text)); }

QAction* newAction(Action& m, QObject* owner) {
    auto* a = new QAction(owner);
    a->setObjectName(qs(m.Name()));
    action(a, m);
    return a;
}

void button(QAbstractButton* w, Action& m) {
    follow(w, m, [](QAbstractButton* b, Action& m) {
        applyControl(b, m);
        b->setText(actionText(m));
    });
    QObject::connect(w, &QAbstractButton::clicked, w, [&m] { user([&] { execute(m); }); });
}

void pages(QTabWidget* w, PageControl& m) {
    follow(w, m, [](QTabWidget* t, PageControl& m) {
        applyControl(t, m);
        for (int i = 0; i < m.PageCount() && i < t->count(); ++i) t->setTabText(i, qs(m.PageCaption(i)));
        t->setCurrentIndex(m.ActivePageIndex());
    });
    QObject::connect(w, &QTabWidget::currentChanged, w, [&m](int i) { user([&] { m.SetActivePageIndex(i); }); });
}

void timer(QTimer* t, Timer& m) {
    follow(t, m, [](QTimer* q, Timer& m) {
        q->setInterval(m.Interval());
        if (m.Enabled() && !q->isActive()) q->start();
        if (!m.Enabled() && q->isActive()) q->stop();
    });
    QObject::connect(t, &QTimer::timeout, t, [&m] { user([&] { m.Fire(); }); });
}

void progress(QProgressBar* w, ProgressBar& m) {
    follow(w, m, [](QProgressBar* p, ProgressBar& m) {
        applyControl(p, m);
        p->setMaximum(m.Max());
        p->setValue(m.Position());
    });
}

void status(QStatusBar* w, StatusBar& m) {
    follow(w, m, [](QStatusBar* s, StatusBar& m) {
        applyControl(s, m);
        for (int i = 0; i < m.PanelCount(); ++i) panelLabel(s, i)->setText(qs(m.Panel(i)));
    });
}

void keys(QWidget* w, KeyHandler handler) { new KeyHook(w, std::move(handler)); }

void list(QListWidget* w, ListBox& m, ListEvents on) {
    follow(w, m, applyList);
    new ListHook(w, m, std::move(on));
}

void combo(QComboBox* w, ComboBox& m, std::function<void()> change) {
    follow(w, m, applyCombo);
    QObject::connect(w, &QComboBox::activated, w, [&m, change](int i) {
        user([&] { m.SetItemIndex(i); });
        if (change) user(change);
    });
}

} // namespace bind
