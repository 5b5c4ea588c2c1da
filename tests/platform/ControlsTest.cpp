#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/StringGrid.h"

#include <gtest/gtest.h>

TEST(StringGridModel, OutsideCellsAndDirtyTracking) {
    StringGrid g;
    g.SetColCount(3);
    g.SetRowCount(4);
    EXPECT_EQ(g.Cells(5, 1), "");
    EXPECT_EQ(g.Cells(-1, 0), "");
    g.SetCells(3, 0, "x"); // outside: ignored
    EXPECT_FALSE(g.Modified());
    g.SetCellsQuiet(1, 1, "title");
    EXPECT_FALSE(g.Modified());
    g.SetCells(2, 3, "12345");
    EXPECT_TRUE(g.Modified());
    g.ClearModified();
    g.SetRowCount(6); // growing keeps what was typed
    g.SetColCount(5);
    EXPECT_EQ(g.Cells(2, 3), "12345");
    // Shrinking hides cells: they read empty and take no writes, and come back when
    // the count grows again, until the hidden cells are dropped.
    g.SetRowCount(3);
    g.SetColCount(2);
    EXPECT_EQ(g.Cells(2, 3), "");
    EXPECT_EQ(g.Cells(2, 1), "");
    g.SetCells(2, 3, "over");
    g.SetRowCount(4);
    g.SetColCount(3);
    EXPECT_EQ(g.Cells(2, 3), "12345");
    g.SetRowCount(3);
    g.DropHiddenCells();
    g.SetRowCount(4);
    EXPECT_EQ(g.Cells(2, 3), "");
}

TEST(StringGridModel, CurrentCellLeavesFixedCellsAndNotifies) {
    StringGrid g;
    g.SetColCount(5);
    g.SetRowCount(6);
    int layouts = 0, cells = 0;
    g.LayoutChanged.connect([&] { ++layouts; });
    g.CellChanged.connect([&](int c, int r) { cells += c * 10 + r; });
    g.SetFixedRows(2);
    EXPECT_EQ(g.CurRow(), 2);
    EXPECT_GT(layouts, 0);
    g.SetCells(1, 3, "a");
    g.SetCells(1, 3, "a"); // unchanged text: no second notice
    EXPECT_EQ(cells, 13);
    g.SetCurrent(9, 9);
    EXPECT_EQ(g.Col(), 4);
    EXPECT_EQ(g.CurRow(), 5);
}

TEST(ControlModels, SpinEditClampsAndActionsRunOnlyWhenEnabled) {
    SpinEdit s;
    s.SetRange(1, 50);
    s.SetValue(70);
    EXPECT_EQ(s.Value(), 50);
    s.SetText("");
    EXPECT_EQ(s.Text(), "");
    EXPECT_EQ(s.Value(), 50);
    s.SetText("0");
    EXPECT_EQ(s.Value(), 1);

    int runs = 0;
    Action a("A", "caption");
    a.OnExecute = [&] { ++runs; };
    EXPECT_TRUE(a.Execute());
    a.SetEnabled(false);
    EXPECT_FALSE(a.Execute());
    EXPECT_EQ(runs, 1);
}

TEST(ScriptedDialogsService, AnswersInOrderAndRefusesTheUnexpected) {
    ScriptedDialogs d;
    d.ShowMessage("notice");
    EXPECT_EQ(d.MessageDlg("only OK", MsgKind::Information, Btn::OK), mrOk);
    d.AnswerDlg(mrNo);
    d.AnswerDlg(mrYes);
    EXPECT_EQ(d.MessageDlg("q1", MsgKind::Confirmation, Btn::YesNo), mrNo);
    EXPECT_EQ(d.MessageDlg("q2", MsgKind::Confirmation, Btn::YesNo), mrYes);
    EXPECT_THROW(d.MessageDlg("q3", MsgKind::Confirmation, Btn::YesNo), UnexpectedDialog);
    EXPECT_EQ(d.Joined(), "notice|only OK|q1|q2|q3");
    d.AnswerInput(std::nullopt);
    EXPECT_EQ(d.InputBox("c", "p", "def"), "def");
    EXPECT_FALSE(d.Pending());
}
