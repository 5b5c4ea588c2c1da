// Grid copies to the clipboard, the pasted number/time pairs, the input grid's
// pop-up commands and the clearing of whole grids.
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormKuriage.h"
#include "support/ProgramFixture.h"

#include <vector>

class GridClipboard : public ProgramFixture {
protected:
    void race(int legs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().SankaSpinNum.SetValue(teams);
        form().ApplyCountsAndLayout();
        form().EntryTeamNum = form().TeamNum;
    }
    StringGrid& in() { return form().InputGrid; }
    StringGrid& split() { return form().tempKukanGrid; }
    std::vector<std::string> column(const StringGrid& g, int col, int from, int to) {
        std::vector<std::string> out;
        for (int r = from; r <= to; ++r) out.push_back(g.Cells(col, r));
        return out;
    }
    void fillColumn(int col, const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) in().SetCells(col, 2 + static_cast<int>(i), cells[i]);
    }
};

using Cells = std::vector<std::string>;

TEST_F(GridClipboard, InputGridCopyCarriesAdvancedStartsInItsTitleRow) {
    race(2, 2);
    form().ActionInputGridToClipboardExecute();
    EXPECT_EQ(dialogs.Joined(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞは空です。");
    EXPECT_FALSE(clipboard.HasText());

    FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, 2);
    FormKuriage->KuriageGrid.SetCells(1, 1, "120000");
    const char* rows[][4] = {{"1", "10000", "2", "20000"}, {"2", "10010", "1", "20030"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) in().SetCells(1 + c, 2 + r, rows[r][c]);
    dialogs.ClearLog();
    form().ToolButtonInputGridCopy.Execute();
    EXPECT_EQ(clipboard.GetText(), "\t\t1 区\t120000\t2 区\r\n順\tNo.\t通過ﾀｲﾑ\tNo.\t通過ﾀｲﾑ\r\n"
                                   "1\t1\t10000\t2\t20000\r\n2\t2\t10010\t1\t20030\r\n");
    EXPECT_EQ(dialogs.Joined(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞをクリップボードにコピーしました。");
    EXPECT_EQ(in().Cells(3, 0), ""); // the code goes into the text only

    form().TeamEntryGrid.SetCells(1, 1, "Ａ高校");
    form().SB_TeamCopy.Execute();
    EXPECT_EQ(clipboard.GetText().rfind("Noｶｰﾄﾞ\tチーム名\t", 0), 0u);
    EXPECT_NE(clipboard.GetText().find("1\tＡ高校\t"), std::string::npos);
    EXPECT_TRUE(dialogs.Saw("クリップボードにコピーしました。"));
}

TEST_F(GridClipboard, SplitPasteReadsDigitsOfTwoFieldsPerLine) {
    race(1, 20);
    clipboard.SetText("12,9:35:12\r\n\t9:35:12\r\n12,,93512\r\n12345678901\t1000\r\n\r\n7\t1:00:00,9\n");
    form().ActionClipPaste.Execute();
    EXPECT_EQ(column(split(), 1, 2, 8), (Cells{"12", "", "12", "", "", "7", ""}));
    EXPECT_EQ(column(split(), 2, 2, 8), (Cells{"93512", "93512", "", "1000", "", "10000", ""}));
    EXPECT_EQ(split().Cells(3, 2), "1"); // legs follow the paste
    EXPECT_TRUE(in().Modified());
    EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(GridClipboard, SplitPasteAppendsOnlyBelowAnUnbrokenEnd) {
    race(1, 4); // rows 2..5
    split().SetCurrent(1, 2);
    for (int r = 2; r <= 4; ++r) split().SetCells(1, r, std::to_string(r - 1));
    clipboard.SetText("4\t400\r\n5\t500\r\n6\t600\r\n");
    dialogs.AnswerDlg(mrYes);
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 0);
    EXPECT_EQ(column(split(), 1, 2, 5), (Cells{"1", "2", "3", "4"}));
    EXPECT_EQ(dialogs.Joined(), "追加貼り付けしてもいいですか？|2 行は貼り付けできませんでした。");

    struct Case {
        int emptyRow; // 0: none
        const char* message;
    } refusals[] = {{0, "空セルがないので貼り付けできません。"}, {3, "空セルが連続してないので貼り付けできません。"}};
    for (const Case& c : refusals) {
        split().SetCells(1, 3, c.emptyRow ? "" : "2");
        dialogs.ClearLog();
        EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
        EXPECT_EQ(dialogs.Joined(), c.message);
    }
    dialogs.ClearLog();
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 3), 1);
    clipboard.SetNoText();
    TMainForm::ClearGridData(split(), -1);
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    clipboard.SetText("");
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    EXPECT_EQ(dialogs.Joined(), "只今この関数はカラム2つまでしか対応していません。|"
                                "クリップボードの中身はテキストではありません。|クリップボードは空です。");
}

TEST_F(GridClipboard, PairPasteKeepsKnownNumbersAndLeavesZeroTimes) {
    race(2, 3);
    in().SetCells(4, 4, "99");
    in().SetCurrent(3, 2);
    clipboard.SetText("1\t2:05:10\r\n5\t2:05:30\r\n3\t\r\n");
    form().PopPastePairs.Execute();
    EXPECT_EQ(column(in(), 3, 2, 4), (Cells{"1", "", "3"}));
    EXPECT_EQ(column(in(), 4, 2, 4), (Cells{"20510", "20530", "99"}));
    EXPECT_TRUE(dialogs.Texts().empty());

    // A line without digits keeps its row; lines past the last row are told.
    in().SetCurrent(1, 3);
    clipboard.SetText("2\t100\n\n3\t300\n1\t400\n");
    form().PopPastePairsClick();
    EXPECT_EQ(column(in(), 1, 3, 4), (Cells{"2", ""}));
    EXPECT_EQ(dialogs.Joined(), "2 行は貼り付けできませんでした。");

    dialogs.ClearLog();
    in().SetCurrent(2, 2);
    form().PopPastePairsClick();
    clipboard.SetNoText();
    EXPECT_EQ(form().PasteNumberTimePairs(in(), true), 1);
    EXPECT_EQ(dialogs.Joined(), "ｾﾞｯｹﾝｶﾗﾑでないと貼り付け出来ません！|クリップボードの中身はテキストではありません。");
}

TEST_F(GridClipboard, CellPasteTakesOnlyTimeCodesInRange) {
    race(1, 3);
    in().SetCurrent(2, 2);
    struct Case {
        const char* text;
        bool hundredths;
        const char* cell; // nullptr: refused
    } cases[] = {{"245959\r\n", false, "245959"}, {"250000", false, nullptr}, {"-5", false, nullptr},
                 {"abc", false, nullptr},       {"24595999", true, "24595999"}, {"24595999", false, nullptr}};
    for (const Case& c : cases) {
        in().SetCells(2, 2, "1");
        form().chk100.SetChecked(c.hundredths);
        clipboard.SetText(c.text);
        dialogs.ClearLog();
        form().PopPasteCell.Execute();
        EXPECT_EQ(in().Cells(2, 2), c.cell ? c.cell : "1") << c.text;
        EXPECT_EQ(dialogs.Texts().empty(), c.cell != nullptr) << c.text;
    }
    form().PopCopyCell.Execute();
    EXPECT_EQ(clipboard.GetText(), "1");
}

TEST_F(GridClipboard, ColumnToolsShiftClearAndAsk) {
    race(1, 4); // rows 2..5
    fillColumn(1, {"a", "b", "c", "d"});
    in().SetCurrent(1, 3);
    dialogs.AnswerDlg(mrYes);
    form().PopInsertCell.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "", "b", "c"}));
    fillColumn(1, {"a", "b", "c", "d"});
    dialogs.AnswerDlg(mrYes);
    form().PopDeleteCell.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "c", "d", ""}));
    EXPECT_EQ(dialogs.Joined(), "最後のセルが空ではありませんが挿入してもいいですか？|そのセルは空ではありませんが削除してもいいですか？");

    // The split panel's cell commands do the same on the split grid.
    split().SetCells(2, 2, "100");
    split().SetCurrent(2, 2);
    form().ActionCellInsert.Execute();
    EXPECT_EQ(column(split(), 2, 2, 3), (Cells{"", "100"}));

    dialogs.ClearLog();
    in().SetCurrent(1, 5);
    dialogs.AnswerDlg(mrYes);
    form().PopClearColumn.Execute();
    EXPECT_EQ(dialogs.Joined(), "4 行から下をｸﾘｱしてもいいですか？");
    in().SetCurrent(1, 3);
    dialogs.AnswerDlg(mrYes);
    form().PopClearColumn.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "", "", ""}));

    // Clearing a whole grid takes two Yes.
    in().ClearModified();
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerDlg(mrNo);
    form().ClearInputGrid.Execute();
    EXPECT_EQ(in().Cells(1, 2), "a");
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerDlg(mrYes);
    form().ClearInputGrid.Execute();
    EXPECT_EQ(in().Cells(1, 2), "");
    EXPECT_EQ(in().Cells(1, 1), "No.");
    EXPECT_TRUE(in().Modified());
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerDlg(mrYes);
    form().ActionClearSlitGrid.Execute();
    EXPECT_EQ(split().Cells(2, 3), "");
    EXPECT_TRUE(dialogs.Saw("ｽﾘｯﾄｸﾞﾘｯﾄﾞをｸﾘｱしてもいいですか？\n元には戻せません!"));
}

TEST_F(GridClipboard, ClockMenuOffersTheImportOfTheClipboardsSeparator) {
    race(2, 3);
    TFormClockInput& clock = *FormClockInput;
    struct Case {
        const char* text; // nullptr: no text
        int kind;
    } cases[] = {{nullptr, -1}, {"1,2", 0}, {"1\t2", 1}, {"12", 2}};
    for (const Case& c : cases) {
        if (c.text) clipboard.SetText(c.text);
        else clipboard.SetNoText();
        EXPECT_EQ(TMainForm::ClipboardSeparatorKind(), c.kind);
        clock.N1Click();
        EXPECT_EQ(form().clippeek.Enabled(), c.kind == 0);
        EXPECT_EQ(clock.TSV1.Enabled(), c.kind == 1);
    }
    clock.ClocInputStringGrid.SetRowCount(5);
    clock.ClocInputStringGrid.SetCurrent(2, 3);
    clipboard.SetText("2\t1:02:03\r\n3\t1:02:09\r\n");
    clock.N1Click();
    EXPECT_TRUE(clock.TSV1.Execute());
    EXPECT_EQ(column(clock.ClocInputStringGrid, 1, 1, 2), (Cells{"2", "3"}));
    EXPECT_EQ(column(clock.ClocInputStringGrid, 2, 1, 2), (Cells{"10203", "10209"}));
}
