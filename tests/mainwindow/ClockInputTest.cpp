#include "mainwindow/GridOps.h"
#include "mainwindow/TFormClockInput.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"

namespace {
const char* kClockBeforeStart = "起時間がｽﾀｰﾄ時間より早く設定されています。";
const char* kClearTarget = "書き込み先をクリアしないと書き込みできません？\nクリアして書き込みますか？";
using Cells = std::vector<std::string>;
} // namespace

// Three legs, five teams; the window opened on a leg of the input grid.
class ClockInput : public ProgramFixture {
  protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        form().KukanSpinNum.SetValue(3);
        form().SankaSpinNum.SetValue(5);
        form().ApplyCountsAndLayout();
    }
    TFormClockInput& c() { return *FormClockInput; }
    StringGrid& grid() { return c().ClocInputStringGrid; }
    StringGrid& input() { return form().InputGrid; }
    void setUp(int leg) {
        input().SetCurrent(2 * leg, 2);
        c().SetupClockGrid();
        c().FormShow();
    }
    void setTime(SpinEdit& hour, SpinEdit& minute, int h, int m) {
        hour.SetValue(h);
        minute.SetValue(m);
    }
    void startAt(int h, int m) { setTime(c().StartTimeHourSpin, c().StartTimeMinSpin, h, m); }
    void clockAt(int h, int m) { setTime(c().ClockTimeHourSpin, c().ClockTimeMinSpin, h, m); }
    Cells column(int col) {
        Cells out;
        for (int r = 1; r < grid().RowCount(); ++r)
            out.push_back(grid().Cells(col, r));
        return out;
    }
    void setColumn(int col, const Cells& cells) {
        for (size_t i = 0; i < cells.size(); ++i)
            grid().SetCells(col, static_cast<int>(i) + 1, cells[i]);
    }
};

TEST_F(ClockInput, TimesOfDayBecomePassingTimesAndBack) {
    setUp(2);
    EXPECT_EQ(c().Lbl_KName.Caption(), "2区");
    EXPECT_EQ(grid().RowCount(), 6);
    c().RadioButton2.SetChecked(true);
    EXPECT_FALSE(c().RadioButton1.Checked());
    EXPECT_EQ(grid().Cells(2, 0), "通過時刻");
    EXPECT_FALSE(c().GroupBox2.Visible());
    startAt(9, 0);
    clockAt(8, 0); // ignored for times of day
    setColumn(2, {"1000", "102345", "", "-5"});
    c().timCnvSpeed2.Execute();
    EXPECT_EQ(column(3), (Cells{"151000", "12345", "", "", ""}));
    EXPECT_EQ(dialogs.Joined(), "ﾏｲﾅｽﾃﾞｰﾀがあります。\n処理を中止します。");
    EXPECT_EQ(c().ClocInputStringGridDrawCell(2, 2).Text,
              form().SecondsToClockText(10 * 3600 + 23 * 60 + 45));
    setColumn(2, {"", "", "", ""});
    c().timCnvSpeed.Execute();
    EXPECT_EQ(column(2), (Cells{"241000", "102345", "", "", ""})) << "back: no day taken off";
}

TEST_F(ClockInput, ElapsedTimesAddTheClockGapUnlessTheClockStartsEarly) {
    setUp(3);
    startAt(9, 0);
    clockAt(9, 30);
    EXPECT_EQ(c().lblTimeGap.Caption(), "起タイム= 0時間30分");
    setColumn(2, {"45312"});
    c().timCnvSpeed2.Execute();
    EXPECT_EQ(grid().Cells(3, 1), "52312");
    form().chk100.SetChecked(true);
    setColumn(2, {"4531200"});
    c().timCnvSpeed2.Execute();
    EXPECT_EQ(grid().Cells(3, 1), "5231200");
    form().chk100.SetChecked(false);

    clockAt(8, 50);
    EXPECT_EQ(c().lblTimeGap.Caption(), "起タイム未完了");
    setColumn(3, {"52312"});
    c().timCnvSpeed2.Execute();
    c().timCnvSpeed.Execute();
    EXPECT_EQ(dialogs.Texts(), (Cells{kClockBeforeStart, kClockBeforeStart}));
    EXPECT_EQ(grid().Cells(3, 1), "52312");
    EXPECT_EQ(c().ClockStartTimes[3], 8 * 3600 + 50 * 60);
    EXPECT_EQ(c().ClockStartTimes[0], 9 * 3600);
}

TEST_F(ClockInput, SpinsWrapRoundAtBothEnds) {
    setUp(1);
    struct Case {
        SpinEdit* spin;
        int typed, kept;
    } cases[] = {{&c().StartTimeHourSpin, 24, 0}, {&c().StartTimeHourSpin, -1, 23},
                 {&c().StartTimeMinSpin, 60, 0},  {&c().StartTimeMinSpin, -1, 59},
                 {&c().ClockTimeHourSpin, 24, 0}, {&c().ClockTimeMinSpin, -1, 59}};
    for (const Case& k : cases) {
        k.spin->SetValue(5);
        k.spin->SetValue(k.typed);
        EXPECT_EQ(k.spin->Value(), k.kept) << k.spin->Name() << " " << k.typed;
    }
    EXPECT_EQ(c().ClockStartTimes[0], 23 * 3600 + 59 * 60);
    EXPECT_EQ(c().ClockStartTimes[1], 59 * 60);
}

TEST_F(ClockInput, LegTimesAddThePreviousPassingOfTheSameCard) {
    input().SetCells(1, 4, "12");
    input().SetCells(2, 4, "10512");
    input().SetCells(1, 3, "8");
    input().SetCells(2, 3, "10000");
    input().SetCells(1, 2, "7"); // passed relay point 1 without a time: no match
    setUp(2);
    setColumn(1, {"12", "8", "", "7"});
    setColumn(2, {"3512", "3000", "2000", "100"});
    form().accumuClc.Execute();
    EXPECT_EQ(column(1), (Cells{"8", "12", "", "7", ""})) << "sorted up to the first row without a match";
    EXPECT_EQ(column(3), (Cells{"13000", "14024", "", "", ""}));
    EXPECT_TRUE(c().GridSorted);

    dialogs.AnswerDlg(mrNo);
    form().accumuClc.Execute();
    EXPECT_EQ(dialogs.Joined(),
              "通過ﾀｲﾑｸﾞﾘｯﾄﾞが空でなければこの処理はできません|通過ﾀｲﾑｸﾞﾘｯﾄﾞをｸﾘｱしますか？");
    EXPECT_EQ(grid().Cells(3, 2), "14024");
}

TEST_F(ClockInput, SortsByTheColumnThenByTheOrder) {
    setUp(1);
    setColumn(1, {"7", "3", "5", "3"});
    setColumn(2, {"10", "20", "30", "40"});
    c().SortbyZekken1.Execute();
    EXPECT_EQ(column(1), (Cells{"3", "3", "5", "7", ""}));
    EXPECT_EQ(column(2), (Cells{"20", "40", "30", "10", ""}));
    EXPECT_EQ(column(0), (Cells{"1", "2", "3", "4", "5"}));
    setColumn(2, {"9", "x", "", "1"});
    c().SortbyPastTime1.Execute(); // up to the first empty cell; a non-number last
    EXPECT_EQ(column(2), (Cells{"9", "x", "", "1", ""}));
}

TEST_F(ClockInput, StepKeysAndButtonsMoveTypedTimesBySeconds) {
    setUp(1);
    setColumn(2, {"45959", "0", ""});
    struct Case {
        int row;
        char32_t key;
        const char* after;
    } cases[] = {{1, U'+', "50000"}, {2, U'-', "0"}, {3, U'+', ""}, {2, U'+', "1"}};
    for (const Case& k : cases) {
        grid().SetCurrent(2, k.row);
        char32_t key = k.key;
        c().ClocInputStringGridKeyPress(key);
        EXPECT_EQ(key, Key::None);
        EXPECT_EQ(grid().Cells(2, k.row), k.after) << k.row;
    }
    dialogs.AnswerDlg(mrYes);
    c().ButtonMinus.Execute();
    EXPECT_EQ(column(2), (Cells{"45959", "0", "", "", ""}));
    EXPECT_EQ(dialogs.Joined(), "値を全て1秒繰り下げすか？");
    form().chk100.SetChecked(true);
    grid().SetCurrent(2, 1);
    char32_t plus = U'+';
    c().ClocInputStringGridKeyPress(plus);
    EXPECT_EQ(grid().Cells(2, 1), "50059") << "one second in hundredths";
}

TEST_F(ClockInput, WritesIntoTheInputGridAndClosing) {
    form().TeamEntryGrid.SetCells(4, 5, "2"); // team 5 absent
    input().SetCells(3, 3, "4");
    input().SetCells(4, 3, "60000");
    setUp(2);
    setColumn(1, {"3", ""});
    setColumn(2, {"45312", ""});
    setColumn(3, {"52312", ""});
    input().ClearModified();
    dialogs.AnswerModal([&](FormBase&) {
        c().CnvExeBtn.Execute();
        return c().ModalResultValue();
    });
    Dlg().ShowModal(c());
    EXPECT_TRUE(c().DataWritten);
    EXPECT_EQ(c().ModalResultValue(), mrOk);
    EXPECT_EQ((Cells{input().Cells(3, 2), input().Cells(4, 2), input().Cells(3, 3), input().Cells(4, 3)}),
              (Cells{"3", "52312", "4", "60000"}));
    EXPECT_TRUE(input().Modified());
    EXPECT_EQ(c().ClocInputStringGridDrawCell(1, 5).Background, clSilver) << "the absent team's row";

    // After a sort the rows in use are cleared first, or nothing is written.
    input().SetCells(4, 5, "70000");
    setUp(2);
    c().SortbyZekken1.Execute();
    dialogs.AnswerDlg(mrNo);
    c().CnvExeBtn.Execute();
    EXPECT_EQ(dialogs.Texts().back(), kClearTarget);
    EXPECT_FALSE(c().DataWritten);
    dialogs.AnswerDlg(mrNo);
    EXPECT_FALSE(c().CloseWindow()) << "unwritten numbers: No keeps the window";
    dialogs.AnswerDlg(mrYes);
    c().CnvExeBtn.Execute();
    EXPECT_EQ((Cells{input().Cells(3, 2), input().Cells(4, 3), input().Cells(4, 5), input().Cells(4, 6)}),
              (Cells{"3", "60000", "70000", ""}));
}

TEST_F(ClockInput, OrderColumnIsNoLeg) {
    input().SetCurrent(0, 2);
    form().OpenClockInputForm.SetEnabled(true);
    form().OpenClockInputForm.Execute();
    EXPECT_EQ(dialogs.Joined(), "区間の列を選択して下さい。");
}

TEST(GridOps, EmptinessPairsAndRanges) {
    StringGrid g;
    g.SetColCount(3);
    g.SetRowCount(5);
    g.SetCells(0, 1, "順"); // fixed: never counts
    EXPECT_TRUE(GridIsEmpty(g));
    EXPECT_EQ(GridRowsCheck(g), 0);
    g.SetCells(1, 2, "5");
    EXPECT_FALSE(GridIsEmpty(g));
    EXPECT_TRUE(GridRowsEmpty(g, 2));
    EXPECT_FALSE(GridRowsEmpty(g, 3));
    EXPECT_FALSE(GridColumnsPaired(g, 1, 2));
    EXPECT_EQ(GridRowsCheck(g), 2) << "row 1 empty above row 2";
    g.SetCells(1, 1, "4");
    g.SetCells(2, 1, "100");
    g.SetCells(2, 2, " 200 ");
    EXPECT_TRUE(GridColumnsPaired(g, 1, 2));
    EXPECT_EQ(GridRowsCheck(g), 1);
    g.SetCells(2, 3, " ");
    EXPECT_TRUE(GridColumnsPaired(g, 1, 2)) << "a blank is empty once trimmed";
    ClearGridRange(g, 2, 3);
    EXPECT_EQ(
        (Cells{g.Cells(1, 1), g.Cells(2, 1), g.Cells(1, 2), g.Cells(2, 2), g.Cells(2, 3), g.Cells(0, 1)}),
        (Cells{"4", "100", "5", "", " ", "順"}));
}
