#include "gui/Bindings.h"
#include "gui/GuiTestApp.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include <stdexcept>
#include <vector>

class BindingsTest : public GuiTest {
protected:
    ScriptedDialogs dialogs;
    QWidget host;

    void SetUp() override { CurrentServices().dialogs = &dialogs; }
    void TearDown() override { CurrentServices() = Services{}; }
};

TEST_F(BindingsTest, CheckBoxClickRunsOnClickWithoutEcho) {
    CheckBox model{"box"};
    int clicks = 0;
    model.OnClick = [&] { ++clicks; };
    auto* box = new QCheckBox(&host);
    bind::check(box, model);
    box->click();
    EXPECT_TRUE(model.Checked());
    EXPECT_EQ(clicks, 1);
    model.SetChecked(false);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(BindingsTest, RadioButtonUncheckedByItsSiblingReachesItsModel) {
    RadioButton a{"a"}, b{"b"};
    a.SetChecked(true);
    auto* ra = new QRadioButton(QStringLiteral("A"), &host);
    auto* rb = new QRadioButton(QStringLiteral("B"), &host);
    bind::check(ra, a);
    bind::check(rb, b);
    EXPECT_TRUE(ra->isChecked());
    EXPECT_EQ(rb->text(), QStringLiteral("B")); // no model caption: the widget keeps its own
    rb->click();
    EXPECT_TRUE(b.Checked());
    EXPECT_FALSE(a.Checked());
}

TEST_F(BindingsTest, SpinEditFollowsRangeAndColourAndTakesTypedValuesWhenEditingEnds) {
    SpinEdit model{"spin"};
    model.SetRange(1, 50);
    model.SetValue(12);
    std::vector<int> seen;
    model.OnChange = [&] { seen.push_back(model.Value()); };
    auto* spin = new QSpinBox(&host);
    bind::spin(spin, model);
    EXPECT_EQ(spin->maximum(), 50);
    EXPECT_EQ(spin->value(), 12);

    model.SetColor(clSilver);
    EXPECT_EQ(spin->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    model.SetEnabled(false);
    EXPECT_FALSE(spin->isEnabled());
    model.SetEnabled(true);

    // Typing "15" over "12" never passes through a count of 1; Enter applies 15.
    spin->findChild<QLineEdit*>()->selectAll();
    TypeText(spin, QStringLiteral("15"));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(model.Value(), 12);
    PressEnter(spin);
    EXPECT_EQ(seen, std::vector<int>{15});

    // Leaving an emptied field puts the value back and changes nothing.
    spin->findChild<QLineEdit*>()->selectAll();
    PressKey(spin, Qt::Key_Backspace, "\b");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin, &out);
    EXPECT_EQ(seen, std::vector<int>{15});
    EXPECT_EQ(spin->value(), 15);

    model.SetValue(20);
    EXPECT_EQ(spin->value(), 20);
}

TEST_F(BindingsTest, ActionTriggerIsGuardedAndTheModelOwnsTheCheckMark) {
    Action model{"act", "結果出力(&C)"};
    model.OnExecute = [] { throw std::runtime_error("出力できません"); };
    auto* action = new QAction(&host);
    bind::action(action, model, true);
    EXPECT_EQ(action->text(), QStringLiteral("結果出力(&C)"));
    action->trigger();
    ASSERT_EQ(dialogs.Log().size(), 1u);
    EXPECT_EQ(dialogs.Log()[0].Kind, "exception");
    EXPECT_EQ(dialogs.Log()[0].Text, "出力できません");
    EXPECT_FALSE(action->isChecked());

    model.OnExecute = [&] { model.SetChecked(true); };
    action->trigger();
    EXPECT_TRUE(action->isChecked());
    model.SetEnabled(false);
    EXPECT_FALSE(action->isEnabled());
    model.SetVisible(false);
    EXPECT_FALSE(action->isVisible());
}

TEST_F(BindingsTest, TabsRunOnChangeOnlyWhenTheUserSwitches) {
    PageControl model{"pages", {"一", "二", "三"}};
    int changes = 0;
    model.OnChange = [&] { ++changes; };
    auto* tabs = new QTabWidget(&host);
    for (int i = 0; i < 3; ++i) tabs->addTab(new QWidget, {});
    bind::pages(tabs, model);
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("二"));
    tabs->setCurrentIndex(2);
    EXPECT_EQ(model.ActivePageIndex(), 2);
    EXPECT_EQ(changes, 1);
    model.ShowPage(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(BindingsTest, EditAndMemoTextBothWays) {
    Edit edit{"edit"};
    Memo memo{"memo"};
    auto* line = new QLineEdit(&host);
    auto* lines = new QPlainTextEdit(&host);
    bind::edit(line, edit);
    bind::memo(lines, memo);

    TypeText(line, "ab");
    EXPECT_EQ(edit.Text(), "ab");
    edit.SetText("名前");
    EXPECT_EQ(line->text(), QStringLiteral("名前"));

    memo.SetLines({"一行目", "二行目"});
    EXPECT_EQ(lines->toPlainText(), QStringLiteral("一行目\n二行目"));
    lines->setPlainText(QStringLiteral("x\ny"));
    EXPECT_EQ(memo.Text(), "x\r\ny");
}

TEST_F(BindingsTest, KeyHandlerDropsAndReplacesTypedCharacters) {
    auto* line = new QLineEdit(&host);
    bind::keys(line, [](char32_t& k) {
        if (k >= U'0' && k <= U'9') k = 0;
        else if (k == U'a') k = U'b';
    });
    TypeText(line, "1a2c");
    EXPECT_EQ(line->text(), QStringLiteral("bc"));
}

TEST_F(BindingsTest, InputMethodTextGoesThroughTheKeyHandlerToo) {
    auto* line = new QLineEdit(&host);
    std::u32string seen;
    bind::keys(line, [&](char32_t& k) {
        seen += k;
        if (k == U'Ａ') k = 0;
    });
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(QStringLiteral("Ａ５区"));
    QApplication::sendEvent(line, &commit);
    EXPECT_EQ(seen, U"Ａ５区");
    EXPECT_EQ(line->text(), QStringLiteral("５区"));
}

TEST_F(BindingsTest, TimerRunsWhileEnabled) {
    Timer model{"timer"};
    model.SetInterval(5);
    int fired = 0;
    model.OnTimer = [&] { ++fired; };
    auto* timer = new QTimer(&host);
    bind::timer(timer, model);
    EXPECT_EQ(timer->interval(), 5);
    EXPECT_TRUE(WaitFor([&] { return fired > 0; }));
    model.SetEnabled(false);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(BindingsTest, LabelAndStatusBarShowTheirTexts) {
    Label label{"label"};
    StatusBar status{"status"};
    auto* l = new QLabel(&host);
    auto* bar = new QStatusBar(&host);
    bind::label(l, label);
    bind::status(bar, status);
    label.SetCaption("※通過ﾀｲﾑ");
    label.SetVisible(false);
    EXPECT_EQ(l->text(), QStringLiteral("※通過ﾀｲﾑ"));
    EXPECT_TRUE(l->isHidden());
    status.SetPanel(1, "/races/大会A");
    auto* panel1 = bar->findChild<QLabel*>(QStringLiteral("StatusPanel1"));
    ASSERT_NE(panel1, nullptr);
    EXPECT_EQ(panel1->text(), QStringLiteral("/races/大会A"));
    EXPECT_NE(bar->findChild<QLabel*>(QStringLiteral("StatusPanel0")), nullptr);
}

namespace {

void ClickItem(QListWidget* w, int row) { ClickAt(w->viewport(), w->visualItemRect(w->item(row)).center()); }

} // namespace

// A click on the current item counts too: the order chooser takes a number back that way.
TEST_F(BindingsTest, ListPicksReachTheModelThenTheHandlerOnce) {
    ListBox single{"single"}, multi{"multi"};
    multi.SetMultiSelect(true);
    for (ListBox* m : {&single, &multi})
        for (const char* t : {"a", "b", "c"}) m->Add(t);
    int singleClicks = 0, multiClicks = 0;
    auto* one = new QListWidget(&host);
    auto* many = new QListWidget(&host);
    many->move(0, 200);
    bind::list(one, single, {.click = [&] { ++singleClicks; }});
    bind::list(many, multi, {.click = [&] { ++multiClicks; }});
    host.resize(200, 400);
    host.show();
    Settle();

    single.SetItemIndex(1);
    EXPECT_EQ(one->currentRow(), 1);
    ClickItem(one, 2);
    EXPECT_EQ(single.ItemIndex(), 2);
    EXPECT_EQ(singleClicks, 1);
    ClickItem(one, 2);
    EXPECT_EQ(singleClicks, 2);
    PressKey(one, Qt::Key_Up);
    EXPECT_EQ(single.ItemIndex(), 1);
    EXPECT_EQ(singleClicks, 3);
    single.SetItem(1, "B");
    EXPECT_EQ(one->item(1)->text(), QStringLiteral("B"));

    multi.SetSelected(0, true);
    EXPECT_TRUE(many->item(0)->isSelected());
    EXPECT_EQ(multiClicks, 0);
    ClickItem(many, 2); // a click adds to the selection
    EXPECT_TRUE(multi.Selected(0) && multi.Selected(2));
    EXPECT_EQ(multiClicks, 1);
    ClickItem(many, 0);
    EXPECT_FALSE(multi.Selected(0));
    EXPECT_EQ(multiClicks, 2);
}

TEST_F(BindingsTest, ComboPickSetsTheItemThenRunsTheHandler) {
    ComboBox model{"combo"};
    model.SetDropDownCount(30);
    for (const char* t : {" 1 東高校", " 2 西高校", " 3 南高校"}) model.Add(t);
    auto* box = new QComboBox(&host);
    int seen = -2, calls = 0;
    bind::combo(box, model, [&] {
        seen = model.ItemIndex();
        ++calls;
    });
    EXPECT_EQ(box->maxVisibleItems(), 30);
    EXPECT_EQ(box->count(), 3);
    model.SetItemIndex(0);
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_EQ(calls, 0);
    PressKey(box, Qt::Key_Down);
    EXPECT_EQ(model.ItemIndex(), 1);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(calls, 1);
}
