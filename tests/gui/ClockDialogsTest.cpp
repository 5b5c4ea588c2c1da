#include "gui/GridView.h"
#include "gui/MainWindowFixture.h"
#include "gui/QtDialogs.h"
#include "gui/SpinTyping.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormDelayInf.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>

// The waiting and clock-time windows over their forms, offscreen.
class ClockDialogsTest : public MainWindowTest {
protected:
    QtDialogs qt; // the forms' own questions still answer through the scripted service

    void SetUp() override {
        MainWindowTest::SetUp();
        form().KukanSpinNum.SetValue(3);
        form().SankaSpinNum.SetValue(4);
        form().ApplyCountsAndLayout();
    }
    template <typename W> static W* child(QWidget* w, const char* name) {
        W* c = w->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
};

TEST_F(ClockDialogsTest, TheWaitingWindowClosesOnlyAsItsCloseQuestionSays) {
    TFormDelayInf& d = *program->formDelayInf;
    d.DelayLeg = 2;
    d.Lbl_KName.SetCaption("2区待機情報");
    d.DelayStringGrid.SetColCount(2);
    d.DelayStringGrid.SetRowCount(2);
    d.DelayStringGrid.SetFixedCols(0);
    d.DelayStringGrid.SetCurrent(0, 1);
    bool stayed = false;
    QString label;
    WhenModal([&](QWidget* w) {
        label = child<QLabel>(w, "Lbl_KName")->text();
        auto* view = child<GridView>(w, "DelayStringGrid");
        WaitFor([view] { return view->editor() != nullptr; });
        ASSERT_NE(view->editor(), nullptr) << "the editor is always shown";
        TypeText(view->editor(), "7"); // typed nowhere in the input grid
        PressEnter(view->editor());
        dialogs.AnswerDlg(mrNo);
        PressKey(view->editor() ? view->editor() : view, Qt::Key_Escape);
        Settle();
        stayed = w->isVisible();
        shot(w, "waiting-window.png");
        dialogs.AnswerDlg(mrYes);
        w->close();
    });
    qt.ShowModal(d);
    EXPECT_EQ(label, QStringLiteral("2区待機情報"));
    EXPECT_EQ(d.DelayStringGrid.Cells(0, 1), "7");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(dialogs.Texts().size(), 2u) << dialogs.Joined();
}

TEST_F(ClockDialogsTest, TheClockWindowShowsItsLegMenusAndWrappingSpins) {
    form().InputGrid.SetCurrent(4, 2);
    form().InputGrid.SetCells(3, 2, "4");
    FormClockInput->SetupClockGrid();
    QStringList menus;
    int hourAfter24 = -1;
    QString leg, gap;
    WhenModal([&](QWidget* w) {
        for (QAction* a : child<QMenuBar>(w, "")->actions()) menus << a->text();
        auto* hour = child<QSpinBox>(w, "StartTimeHourSpin");
        hour->setValue(24);
        hourAfter24 = hour->value();
        leg = child<QLabel>(w, "Lbl_KName")->text();
        gap = child<QLabel>(w, "lblTimeGap")->text();
        shot(w, "clock-window.png");
        dialogs.AnswerDlg(mrYes); // the number from the input grid is not written
        form().close_clockInput.Execute();
    });
    EXPECT_EQ(qt.ShowModal(*FormClockInput), mrCancel);
    EXPECT_EQ(menus, (QStringList{"CSV変換", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ取込", "画面ｸﾘｱ", "閉じる"}));
    EXPECT_EQ(hourAfter24, 0);
    EXPECT_EQ(FormClockInput->StartTimeHourSpin.Value(), 0);
    EXPECT_EQ(leg, QStringLiteral("2区"));
    EXPECT_EQ(gap, QStringLiteral("起タイム= 0時間0分"));
    EXPECT_TRUE(dialogs.Saw("フォームを閉じますか?\n書き込みはしません"));
}

// A clock time typed past a spin's end wraps round to the other end, no keystroke lost.
TEST_F(ClockDialogsTest, TypedClockTimesWrapRound) {
    form().InputGrid.SetCurrent(4, 2);
    TFormClockInput& c = *FormClockInput;
    c.SetupClockGrid();
    std::vector<int> values;
    WhenModal([&](QWidget* w) {
        for (auto [spin, typed] : {std::pair{"StartTimeHourSpin", "25"}, {"StartTimeHourSpin", "-5"},
                                   {"StartTimeMinSpin", "75"}, {"ClockTimeHourSpin", "12"}}) {
            TypeSpinValue(child<QSpinBox>(w, spin), typed);
            values.push_back(c.ClockStartTimes[QString(spin).startsWith("Start") ? 0 : 2]);
        }
        form().close_clockInput.Execute();
    });
    qt.ShowModal(c);
    EXPECT_EQ(values, (std::vector<int>{0, 23 * 3600, 23 * 3600, 12 * 3600}));
}
