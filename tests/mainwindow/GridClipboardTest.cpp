// Grid copies to the clipboard, the pasted number/time pairs, the input grid's
// pop-up commands and the clearing of whole grids.
#include "mainwindow/PassingGridFixture.h"
#include "mainwindow/TFormClockInput.h"
#include "mainwindow/TFormKuriage.h"

using GridClipboard = PassingGridFixture;

TEST_F(GridClipboard, InputGridCopyCarriesAdvancedStartsInItsTitleRow) {
    race(2, 2);
    form().ActionInputGridToClipboardExecute();
    EXPECT_EQ(dialogs.Joined(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞは空です。");
    EXPECT_FALSE(clipboard.HasText());

    FormKuriage->SetupKuriageGrid(FormKuriage->KuriageGrid, 2);
    FormKuriage->KuriageGrid.SetCells(1, 1, "120000");
    const char* rows[][4] = {{"1", "10000", "2", "20000"}, {"2", "10010", "1", "20030"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            in().SetCells(1 + c, 2 + r, rows[r][c]);
    dialogs.ClearLog();
    form().ToolButtonInputGridCopy.Execute();
    EXPECT_EQ(clipboard.GetText(), "\t\t1 区\t120000\t2 区\r\n順\tNo.\t通過ﾀｲﾑ\tNo.\t通過ﾀｲﾑ\r\n"
                                   "1\t1\t10000\t2\t20000\r\n2\t2\t10010\t1\t20030\r\n");
    EXPECT_EQ(dialogs.Joined(), "ｲﾝﾌﾟｯﾄｸﾞﾘｯﾄﾞをクリップボードにコピーしました。");
    EXPECT_EQ(in().Cells(3, 0), ""); // the code goes into the text only

    form().TeamEntryGrid.SetCells(1, 1, "Ａ高校");
    form().SB_TeamCopy.Execute();
    EXPECT_EQ(clipboard.GetText().rfind("Noｶｰﾄﾞ\tチーム名\t", 0), 0u);
    EXPECT_NE(clipboard.GetText().find("\r\n1\tＡ高校\t"), std::string::npos);
}

TEST_F(GridClipboard, SplitPasteReadsTwoFieldsPerLineAndAppendsBelowAnUnbrokenEnd) {
    race(1, 8); // rows 2..9
    clipboard.SetText("12,9:35:12\r\t9:35:12\r\n12,,93512\r\n12345678901\t1000\r\n\r\n7\t1:00:00,9\n");
    form().ActionClipPaste.Execute();
    EXPECT_EQ(column(split(), 1, 2, 8), (Cells{"12", "", "12", "", "", "7", ""}));
    EXPECT_EQ(column(split(), 2, 2, 8), (Cells{"93512", "93512", "", "1000", "", "10000", ""}));
    EXPECT_TRUE(in().Modified());
    EXPECT_TRUE(dialogs.Texts().empty());

    TMainForm::ClearGridData(split(), -1);
    fillSplit({{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}, {"6", ""}});
    split().SetCurrent(1, 2);
    clipboard.SetText("7\t700\r\n8\t800\r\n9\t900\r\n");
    dialogs.AnswerDlg(mrYes);
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 0);
    EXPECT_EQ(column(split(), 1, 7, 9), (Cells{"6", "7", "8"}));
    EXPECT_EQ(dialogs.Joined(), "追加貼り付けしてもいいですか？|1 行は貼り付けできませんでした。");

    // Full, broken, too many columns, no text, empty text.
    dialogs.ClearLog();
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    split().SetCells(1, 3, "9");
    split().SetCells(1, 4, "");
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 3), 1);
    TMainForm::ClearGridData(split(), -1);
    clipboard.SetNoText();
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    clipboard.SetText("");
    EXPECT_EQ(form().PasteIntoSplitGrid(split(), 2), 1);
    EXPECT_EQ(dialogs.Joined(),
              "空セルがないので貼り付けできません。|空セルが連続してないので貼り付けできません。|"
              "只今この関数はカラム2つまでしか対応していません。|"
              "クリップボードの中身はテキストではありません。|クリップボードは空です。");
}

// An append starts below every row holding a number or a time, from either column.
TEST_F(GridClipboard, AppendPasteStartsBelowEveryTypedRow) {
    race(1, 6);
    for (int col : {1, 2}) {
        TMainForm::ClearGridData(split(), -1);
        fillSplit({{"12", ""}, {"", "700"}});
        split().SetCurrent(col, 2);
        clipboard.SetText("5\t100\r\n");
        dialogs.AnswerDlg(mrYes);
        form().ActionClipPaste.Execute();
        EXPECT_EQ(column(split(), 1, 2, 5), (Cells{"12", "", "5", ""})) << col;
        EXPECT_EQ(column(split(), 2, 2, 5), (Cells{"", "700", "100", ""})) << col;
    }
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
    in().SetCurrent(2, 2);
    form().PopPastePairsClick();
    clipboard.SetNoText();
    EXPECT_EQ(form().PasteNumberTimePairs(in(), true), 1);
    EXPECT_EQ(dialogs.Joined(), "2 行は貼り付けできませんでした。|ｾﾞｯｹﾝｶﾗﾑでないと貼り付け出来ません！|"
                                "クリップボードの中身はテキストではありません。");

    // The clock window offers the import that fits the separator and pastes tab text from its top.
    TFormClockInput& clock = *FormClockInput;
    const std::pair<const char*, int> kinds[] = {{nullptr, -1}, {"1,2", 0}, {"12", 2}, {"2\t1:02:03\r\n", 1}};
    for (auto [text, kind] : kinds) {
        if (text) clipboard.SetText(text);
        EXPECT_EQ(TMainForm::ClipboardSeparatorKind(), kind);
        clock.N1Click();
        EXPECT_EQ(form().clippeek.Enabled(), kind == 0);
        EXPECT_EQ(clock.TSV1.Enabled(), kind == 1);
    }
    clock.ClocInputStringGrid.SetCurrent(2, 3);
    EXPECT_TRUE(clock.TSV1.Execute());
    EXPECT_EQ(clock.ClocInputStringGrid.Row(1)[1] + "/" + clock.ClocInputStringGrid.Row(1)[2], "2/10203");
}

TEST_F(GridClipboard, CellPasteTakesOnlyTimeCodesInRange) {
    race(1, 3);
    in().SetCurrent(2, 2);
    struct Case {
        const char* text;
        bool hundredths;
        const char* cell; // nullptr: refused
    } cases[] = {{"245959\r\n", false, "245959"}, {"250000", false, nullptr},
                 {"-5", false, nullptr},          {"abc", false, nullptr},
                 {"24595999", true, "24595999"},  {"24595999", false, nullptr}};
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
    auto abcd = [this] {
        for (int r = 2; r <= 5; ++r)
            in().SetCells(1, r, std::string(1, static_cast<char>('a' + r - 2)));
    };
    abcd();
    in().SetCurrent(1, 3);
    dialogs.AnswerDlg(mrYes);
    form().PopInsertCell.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "", "b", "c"}));
    abcd();
    dialogs.AnswerDlg(mrYes);
    form().PopDeleteCell.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "c", "d", ""}));
    EXPECT_EQ(dialogs.Joined(), "最後のセルが空ではありませんが挿入してもいいですか？|"
                                "そのセルは空ではありませんが削除してもいいですか？");

    // The split panel's cell commands do the same on the split grid.
    split().SetCells(2, 2, "100");
    split().SetCurrent(2, 2);
    form().ActionCellInsert.Execute();
    EXPECT_EQ(column(split(), 2, 2, 3), (Cells{"", "100"}));

    dialogs.ClearLog();
    in().SetCurrent(1, 5);
    dialogs.AnswerDlg(mrNo);
    form().PopClearColumn.Execute();
    EXPECT_EQ(dialogs.Joined(), "4 行から下をｸﾘｱしてもいいですか？");
    in().SetCurrent(1, 3);
    dialogs.AnswerDlg(mrYes);
    form().PopClearColumn.Execute();
    EXPECT_EQ(column(in(), 1, 2, 5), (Cells{"a", "", "", ""}));

    // Clearing a whole grid takes two Yes.
    in().ClearModified();
    for (int answer : {mrNo, mrYes, mrYes})
        dialogs.AnswerDlg(answer);
    form().ClearInputGrid.Execute();
    EXPECT_EQ(in().Cells(1, 2), "a");
    form().ClearInputGrid.Execute();
    EXPECT_EQ(in().Cells(1, 2), "");
    EXPECT_EQ(in().Cells(1, 1), "No.");
    EXPECT_TRUE(in().Modified());
    for (int answer : {mrYes, mrYes})
        dialogs.AnswerDlg(answer);
    form().ActionClearSlitGrid.Execute();
    EXPECT_EQ(split().Cells(2, 3), "");
    EXPECT_TRUE(dialogs.Saw("ｽﾘｯﾄｸﾞﾘｯﾄﾞをｸﾘｱしてもいいですか？\n元には戻せません!"));
}
