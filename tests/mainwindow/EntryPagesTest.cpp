#include "mainwindow/EntryRaceFixture.h"

class EntryPages : public EntryRace {
  protected:
    StringGrid& teams() { return form().TeamEntryGrid; }
    StringGrid& runners() { return form().RunnerEntryGrid; }
    void click(StringGrid& g, int col, int row, bool right = false) {
        form().RunnerEntryGridMouseDown(g, right, col, row);
    }
    void showRunnerTab() { form().EntryTab.SetActivePageIndex(1); }
    char32_t press(void (TMainForm::*handler)(char32_t&), char32_t key) {
        (form().*handler)(key);
        return key;
    }
};

// ---- Marks, status clicks, keys, drawing, input methods ----

TEST_F(EntryPages, ThirdMarkingsReplaceBThenAThenB) {
    openRace(3, 1, 8);
    TMainForm& f = form();
    click(teams(), 0, 2);
    EXPECT_FALSE(f.swaprows.Enabled());
    click(teams(), 0, 4);
    EXPECT_EQ(f.MarkedRowA, 2);
    EXPECT_EQ(f.MarkedRowB, 4);
    EXPECT_TRUE(f.swaprows.Enabled());
    EXPECT_TRUE(f.SwapTeamRunner.Enabled());
    EXPECT_FALSE(f.CopyRunner.Enabled()) << "copying runners belongs to the runner tab";
    EXPECT_EQ(teams().CurRow(), 4);

    click(teams(), 0, 5);
    EXPECT_EQ(f.MarkedRowB, 5);
    click(teams(), 0, 6);
    EXPECT_EQ(f.MarkedRowA, 6);
    click(teams(), 0, 7);
    EXPECT_EQ(f.MarkedRowB, 7);
    EXPECT_EQ(f.TeamEntryGridDrawCell(0, 6).Background, clGreen);
    EXPECT_EQ(f.TeamEntryGridDrawCell(0, 7).Background, clGreen);
    EXPECT_EQ(f.TeamEntryGridDrawCell(0, 2).Background, -1);

    click(teams(), 0, 7); // the same row again unmarks it
    EXPECT_EQ(f.MarkedRowB, 0);
    EXPECT_FALSE(f.swaprows.Enabled());
    click(teams(), 0, 6, true); // the right button only opens the pop-up menu
    EXPECT_EQ(f.MarkedRowA, 6);
}

TEST_F(EntryPages, StatusCellsCycleByClicks) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    teams().ClearModified();
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        click(teams(), 4, 2);
        seen.push_back(f.TeamEntryGridDrawCell(4, 2).Text);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"OP", "欠", ""}));
    EXPECT_TRUE(teams().Modified());
    teams().SetCells(4, 3, "x");
    click(teams(), 4, 3);
    EXPECT_EQ(teams().Cells(4, 3), "1") << "an unreadable cell counts as 0";

    showRunnerTab();
    click(runners(), 6, 1);
    EXPECT_EQ(runners().Cells(6, 1), "") << "the manager has no status";
    runners().SetCells(6, 3, "3");
    click(runners(), 6, 3);
    EXPECT_EQ(runners().Cells(6, 3), "0");
    click(runners(), 6, 3);
    EXPECT_EQ(f.RunnerEntryGridDrawCell(6, 3).Text, "OP");
    click(runners(), 6, 3);
    EXPECT_EQ(f.RunnerEntryGridDrawCell(6, 3).Text, "記録なし");
}

TEST_F(EntryPages, TeamGridKeys) {
    openRace(3, 1, 3);
    auto keyPress = &TMainForm::TeamEntryGridKeyPress;
    teams().SetCurrent(5, 1);
    teams().SetCells(5, 1, "A");
    EXPECT_EQ(press(keyPress, U'b'), U'B');
    EXPECT_EQ(teams().Cells(5, 1), "") << "the key replaces the class";
    teams().SetCells(5, 1, "B");
    EXPECT_EQ(press(keyPress, U'7'), Key::None);
    EXPECT_EQ(teams().Cells(5, 1), "");
    EXPECT_EQ(press(keyPress, Key::Backspace), Key::Backspace);
    teams().SetCells(5, 1, "C");
    for (char32_t key : {Key::Tab, Key::Escape}) EXPECT_EQ(press(keyPress, key), key);
    EXPECT_EQ(teams().Cells(5, 1), "C") << "Tab and Escape keep the class";

    teams().SetCurrent(3, 1);
    EXPECT_EQ(press(keyPress, U'x'), Key::None);
    EXPECT_EQ(press(keyPress, U'4'), U'4');
    teams().SetCurrent(1, 1);
    EXPECT_EQ(press(keyPress, U'x'), U'x');

    EXPECT_EQ(press(keyPress, Key::Enter), Key::None);
    EXPECT_EQ(teams().CurRow(), 2);
    teams().SetRow(3);
    press(keyPress, Key::Enter);
    EXPECT_EQ(teams().CurRow(), 3);
}

TEST_F(EntryPages, RunnerGridEnterWalksTheRow) {
    openRace(2, 1, 3); // rows 1..4
    auto keyPress = &TMainForm::RunnerEntryGridKeyPress;
    auto at = [this] { return std::pair(runners().Col(), runners().CurRow()); };
    runners().SetCurrent(1, 2);
    EXPECT_EQ(press(keyPress, Key::Enter), Key::None);
    EXPECT_EQ(at(), std::pair(2, 2));
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(1, 3)) << "after the given name the next row's family name";
    runners().SetCurrent(6, 3);
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(1, 4));
    runners().SetCurrent(2, 4);
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(3, 4)) << "no row below: on to the reading";
    runners().SetCurrent(6, 4);
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(6, 4));
    EXPECT_EQ(press(keyPress, U'a'), U'a');
    // The "OP" column cannot be selected: from the school year Enter ends the row.
    runners().SetCurrent(5, 2);
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(1, 3));
    runners().SetCurrent(5, 4);
    press(keyPress, Key::Enter);
    EXPECT_EQ(at(), std::pair(5, 4));
}

TEST_F(EntryPages, DrawingRules) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    teams().SetCells(6, 1, "12345");
    teams().SetCells(6, 2, "0");
    teams().SetCells(4, 1, "7");
    EXPECT_EQ(f.TeamEntryGridDrawCell(6, 1).Text, f.TimeToDisplayText("12345"));
    EXPECT_EQ(f.TeamEntryGridDrawCell(6, 2).Text, "");
    EXPECT_EQ(f.TeamEntryGridDrawCell(4, 1).Text, "7");

    EXPECT_EQ(f.RunnerEntryGridDrawCell(0, 0).Text, "No.1");
    runners().SetCells(6, 2, "2");
    EXPECT_EQ(f.RunnerEntryGridDrawCell(6, 2).Text, "記録なし");
    runners().SetCells(6, 2, "5");
    EXPECT_EQ(f.RunnerEntryGridDrawCell(6, 2).Text, "5");
}

// Off only where numbers, times, dates or a class letter go; on for names and places.
TEST_F(EntryPages, InputMethodFollowsTheColumn) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    using M = ImeMode;
    const std::pair<int, M> team[] = {{1, M::Hiragana}, {2, M::HalfKatakana}, {3, M::Close}, {5, M::Close}, {6, M::Close}};
    for (auto [col, mode] : team) {
        EXPECT_TRUE(f.TeamEntryGridSelectCell(col, 1));
        EXPECT_EQ(f.Ime, mode) << "team column " << col;
        EXPECT_EQ(teams().Ime(), mode) << "team column " << col;
    }
    EXPECT_TRUE(teams().Editing());
    EXPECT_FALSE(f.TeamEntryGridSelectCell(4, 1)) << "OP is set by clicks only";

    const std::pair<int, M> runner[] = {{1, M::Hiragana}, {2, M::Hiragana}, {3, M::HalfKatakana}, {4, M::HalfKatakana}, {5, M::Close}};
    for (auto [col, mode] : runner) {
        EXPECT_TRUE(f.RunnerEntryGridSelectCell(col, 2));
        EXPECT_EQ(f.Ime, mode) << "runner column " << col;
    }
    EXPECT_FALSE(f.RunnerEntryGridSelectCell(6, 2));

    const std::tuple<StringGrid*, int, M> info[] = {
        {&f.KukanInfGrid, 1, M::Hiragana},  {&f.KukanInfGrid, 2, M::Close},    {&f.KukanInfGrid, 4, M::Close},
        {&f.taikaiBestGrid, 1, M::Close},   {&f.taikaiBestGrid, 2, M::Hiragana}, {&f.taikaiBestGrid, 3, M::Close}};
    for (auto [grid, col, mode] : info) {
        f.SetInfoGridIme(*grid, col);
        EXPECT_EQ(f.Ime, mode) << grid->Name() << " column " << col;
        EXPECT_EQ(grid->Ime(), mode) << grid->Name() << " column " << col;
    }
}

// ---- Swaps, row emptying, copies ----

TEST_F(EntryPages, SwapNeedsTwoMarks) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    click(teams(), 0, 1);
    f.swaprows.SetEnabled(true);
    f.swaprowsExecute();
    EXPECT_TRUE(dialogs.Saw("入れ替える情報が２つ指定できていません。"));
    EXPECT_FALSE(f.swaprows.Enabled());
}

TEST_F(EntryPages, TeamSwapTakesTheRunnersAlongAndIsStored) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    setRow(teams(), 1, {"東京", "ﾄｳｷｮｳ", "", "1", "A"});
    setRow(teams(), 3, {"京都", "ｷｮｳﾄ", "301", "", "B"});
    putRunner(1, 1, "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", 3, 1);
    putRunner(3, 1, "川上", "花子", "ｶﾜｶﾐ", "ﾊﾅｺ", 2, 0);
    putRunner(3, 2, "林", "一", "", "", 1, 2);
    click(teams(), 0, 1);
    click(teams(), 0, 3);
    f.swaprowsExecute();

    EXPECT_EQ(f.MarkedRowA + f.MarkedRowB, 4) << "the marks stay";
    EXPECT_EQ(teams().Cells(1, 1), "京都");
    EXPECT_EQ(teams().Cells(3, 3), "");
    EXPECT_EQ(f.RunnerNameText(1, 1, 7), "川上 花子\t2");
    EXPECT_EQ(f.RunnerNameText(1, 2, 7), "林 一\t1");
    EXPECT_EQ(f.RunnerRemark(1, 2), 2);
    EXPECT_EQ(f.RunnerKanaName(3, 1, 0), "ﾔﾏﾀﾞ ﾀﾛｳ");
    EXPECT_EQ(f.RunnerRemark(3, 1), 1);
    EXPECT_EQ(f.RunnerNameText(3, 2, 1), "");
    EXPECT_EQ(runners().Cells(1, 2), "川上") << "the runner grid shows team 1's new runners";

    // The team rows went to the table with the runners.
    teams().ClearAll();
    f.SetupTeamEntryGrid();
    LoadTeamsToGrid();
    EXPECT_EQ(teams().Cells(1, 1), "京都");
    EXPECT_EQ(teams().Cells(3, 1), "301");
    EXPECT_EQ(teams().Cells(1, 3), "東京");
}

TEST_F(EntryPages, EmptyingARowAsksFirst) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    showRunnerTab();
    setRow(runners(), 3, {"山田", "太郎", "", "", "2", "1"});
    runners().SetCurrent(2, 3);
    dialogs.AnswerDlg(mrNo);
    f.AdeleteExecute();
    EXPECT_EQ(runners().Cells(1, 3), "山田");
    dialogs.AnswerDlg(mrYes);
    f.AdeleteExecute();
    EXPECT_TRUE(dialogs.Saw(" 2 区 のテキストを消去しますか？"));
    EXPECT_EQ(runners().Row(3), (std::vector<std::string>{" 2 区", "", "", "", "", "", ""}));
}

TEST_F(EntryPages, CopyAndPasteGoThroughTheStoredRecord) {
    openRace(3, 1, 3);
    TMainForm& f = form();
    putRunner(1, 2, "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", 0, 1);
    showRunnerTab();
    EXPECT_FALSE(f.Apaste.Enabled());
    runners().SetCurrent(1, 3);
    runners().SetCells(1, 3, "未保存");
    f.AcopyExecute();
    EXPECT_EQ(f.CopiedRunnerKey, 102);
    EXPECT_TRUE(f.Apaste.Enabled());

    runners().SetCurrent(1, 5);
    runners().SetCells(6, 5, "2");
    f.ApasteExecute();
    EXPECT_EQ(runners().Row(5), (std::vector<std::string>{"補欠", "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", "", "2"}));

    f.CopiedRunnerKey = 109;
    f.ApasteExecute();
    EXPECT_TRUE(dialogs.Saw("貼付に失敗しました。"));
}

TEST_F(EntryPages, RunnerCopyNeverOverwritesARunner) {
    openRace(3, 2, 3);
    TMainForm& f = form();
    showRunnerTab();
    setRow(runners(), 2, {"山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", "3", "0"});
    setRow(runners(), 5, {"", "", "", "", "0", "0"});
    setRow(runners(), 6, {"佐藤"});
    click(runners(), 0, 2);
    click(runners(), 0, 6);
    f.CopyRunnerClick();
    EXPECT_TRUE(dialogs.Saw("コピー先が空ではありません。"));
    EXPECT_EQ(runners().Cells(1, 6), "佐藤") << "a name is data even though it is no number";

    click(runners(), 0, 6);
    click(runners(), 0, 5); // zeros leave a row free
    f.CopyRunnerClick();
    EXPECT_EQ(runners().Row(5), (std::vector<std::string>{"補欠", "山田", "太郎", "ﾔﾏﾀﾞ", "ﾀﾛｳ", "3", "0"}));

    click(runners(), 0, 2);
    click(runners(), 0, 5);
    click(runners(), 0, 3); // A = 3, empty: nothing to copy
    click(runners(), 0, 6);
    dialogs.ClearLog();
    f.CopyRunnerClick();
    EXPECT_TRUE(dialogs.Log().empty()) << dialogs.Joined();
    EXPECT_EQ(runners().Cells(1, 6), "佐藤");
}

// ---- Table statements and the shown team ----

TEST_F(EntryPages, SchoolYearsMoveUpAndDown) {
    openRace(2, 1, 2);
    TMainForm& f = form();
    putRunner(1, 1, "a", "", "", "", 1);
    putRunner(1, 2, "b", "", "", "", 0);
    putRunner(2, 1, "c", "", "", "", 3);
    showRunnerTab();
    dialogs.AnswerDlg(mrNo);
    f.N14.Execute();
    EXPECT_EQ(f.RunnerFieldText(1, 1, 0), "1");

    runners().SetCells(1, 2, "山田"); // typed, not yet saved
    dialogs.AnswerDlg(mrYes);
    f.N14.Execute();
    EXPECT_TRUE(dialogs.Saw("学年を繰り上げますか？"));
    EXPECT_EQ(runners().Cells(1, 2), "山田") << "the typed rows are saved first";
    EXPECT_EQ(f.RunnerFieldText(1, 1, 0), "2");
    EXPECT_EQ(f.RunnerFieldText(1, 2, 0), "0");
    EXPECT_EQ(f.RunnerFieldText(2, 1, 0), "4");
    EXPECT_EQ(runners().Cells(5, 2), "2") << "the grid is rebuilt from the table";

    for (int i = 0; i < 3; ++i) {
        dialogs.AnswerDlg(mrYes);
        f.N15.Execute();
    }
    EXPECT_TRUE(dialogs.Saw("学年を繰り下げますか？"));
    EXPECT_EQ(f.RunnerFieldText(1, 1, 0), "0") << "a year down to 0 stays there";
    EXPECT_EQ(f.RunnerFieldText(2, 1, 0), "1");
    EXPECT_EQ(runners().Cells(5, 2), "");
}

// Leaving team row 3 shows team 3's runners, so the shift saves them under team 3.
TEST_F(EntryPages, SchoolYearShiftAfterLeavingATeamRowKeepsThatTeamsRunners) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    putRunner(1, 1, "一番", "", "", "", 1);
    putRunner(3, 1, "三番", "", "", "", 2);
    f.ShowRunnerTeam(1);
    teams().SetRow(3);
    f.TeamEntryGridExit();
    EXPECT_EQ(f.CurrTeamNo, 3);
    EXPECT_EQ(runners().Cells(1, 2), "三番");
    dialogs.AnswerDlg(mrYes);
    f.N14.Execute();
    EXPECT_EQ(f.RunnerNameText(3, 1, 6), "三番");
    EXPECT_EQ(f.RunnerFieldText(3, 1, 0), "3");
    EXPECT_EQ(f.RunnerNameText(1, 1, 6), "一番");
    EXPECT_EQ(f.RunnerFieldText(1, 1, 0), "2");
}

// The runner tab stays shown through layouts and runner loads, and the actions act
// on the grid that is shown.
TEST_F(EntryPages, RunnerTabStaysWithItsGridThroughLayoutsAndLoads) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    putRunner(1, 1, "甲", "");
    putRunner(1, 2, "乙", "");
    f.MainPage.ShowPage(1);
    showRunnerTab();
    f.ApplyCountsAndLayout();
    LoadRunnersToGrid();
    EXPECT_EQ(f.EntryTab.ActivePageIndex(), 1);
    EXPECT_TRUE(runners().Visible());
    EXPECT_FALSE(teams().Visible());
    f.KukanSpinDisable(1);
    EXPECT_EQ(f.FocusedControl, "RunnerEntryGrid");
    click(runners(), 0, 2);
    click(runners(), 0, 3);
    f.swaprows.Execute();
    EXPECT_EQ(runners().Cells(1, 2), "乙");
    EXPECT_EQ(runners().Cells(1, 3), "甲");
    EXPECT_EQ(teams().Cells(0, 2), "2");
}

// The exchange between teams takes the two marked rows of the team grid only.
TEST_F(EntryPages, TeamExchangeFollowsTheTeamGridMarks) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.MainPage.ShowPage(1);
    EXPECT_FALSE(f.SwapTmRunnr.Enabled());
    click(teams(), 0, 1);
    click(teams(), 0, 3);
    EXPECT_TRUE(f.SwapTmRunnr.Enabled());
    EXPECT_TRUE(f.SwapTeamRunner.Enabled());
    showRunnerTab();
    click(runners(), 0, 2);
    click(runners(), 0, 3);
    EXPECT_FALSE(f.SwapTmRunnr.Enabled());
    EXPECT_FALSE(f.SwapTmRunnr.Execute());
}

// A tab click never takes the focus from the team grid: the runner tab takes the team
// grid's team itself. A runner grid of no team takes no typing.
TEST_F(EntryPages, TheRunnerTabShowsTheTeamGridsTeam) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    putRunner(2, 1, "川上", "花子");
    f.MainPage.ShowPage(1);
    teams().SetCurrent(1, 2);
    showRunnerTab();
    EXPECT_EQ(f.RunnerGridTeam, 2);
    EXPECT_EQ(f.TeamUpDown.Value(), 2);
    EXPECT_EQ(runners().Cells(0, 0), "2");
    EXPECT_EQ(runners().Cells(1, 2), "川上");

    f.RunnerGridTeam = 0;
    EXPECT_EQ(press(&TMainForm::RunnerEntryGridKeyPress, U'a'), Key::None);
    EXPECT_EQ(press(&TMainForm::RunnerEntryGridKeyPress, Key::Tab), Key::Tab);
    f.RunnerEntryGridSetEditText(1, 2, "x");
    EXPECT_EQ(runners().Cells(1, 2), "川上");
}

TEST_F(EntryPages, ChangingTheShownTeamSavesTheOldOne) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    putRunner(2, 1, "川上", "花子");
    showRunnerTab();
    setRow(runners(), 2, {"山田", "太郎"});
    click(runners(), 0, 2);
    click(runners(), 0, 3);
    f.TeamUpDownChanging();
    f.TeamUpDown.SetValue(2);
    f.TeamUpDownMouseDown();
    EXPECT_EQ(f.CurrTeamNo, 2);
    EXPECT_EQ(teams().CurRow(), 2);
    EXPECT_EQ(runners().Cells(1, 2), "川上");
    EXPECT_EQ(f.MarkedRowA + f.MarkedRowB, 0);
    EXPECT_FALSE(f.swaprows.Enabled());
    EXPECT_EQ(f.RunnerNameText(1, 1, 6), "山田 太郎");
}

TEST_F(EntryPages, TabChangeShowsTheTabsControls) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.MainPage.ShowPage(1);
    click(teams(), 0, 1);
    click(teams(), 0, 2);
    showRunnerTab();
    EXPECT_EQ(f.MarkedRowA, 0);
    EXPECT_FALSE(f.swaprows.Enabled());
    EXPECT_TRUE(f.RunnerEntryGrid.Visible());
    EXPECT_TRUE(f.TeamUpDown.Visible());
    EXPECT_FALSE(f.TeamEntryGrid.Visible());
    EXPECT_FALSE(f.StartListPrev.Visible());
    EXPECT_TRUE(f.SB_TeamCopy.Visible());
    EXPECT_TRUE(f.Acopy.Enabled());
    EXPECT_TRUE(f.Adelete.Enabled());
    EXPECT_EQ(f.EntryTab.ActivePageIndex(), 1);
    EXPECT_EQ(f.FocusedControl, "RunnerEntryGrid");

    f.EntryTab.SetActivePageIndex(0);
    EXPECT_TRUE(f.TeamEntryGrid.Visible());
    EXPECT_FALSE(f.RadioClickEntry.Visible());
    EXPECT_FALSE(f.SwapTeamRunner.Enabled());
    EXPECT_FALSE(f.Acopy.Enabled());
}

TEST_F(EntryPages, ReadingCopyAppendsHalfWidthKatakana) {
    openRace(2, 1, 3);
    TMainForm& f = form();
    f.TeamEntryGridEnter();
    teams().SetCurrent(1, 2);
    f.EntryGridComposition("とうきょう");
    EXPECT_EQ(teams().Cells(2, 2), "") << "off unless the setting is on";

    f.useFuriganaCTR = true;
    f.EntryGridComposition("とうきょう");
    f.EntryGridComposition("100%");
    EXPECT_EQ(teams().Cells(2, 2), "ﾄｳｷｮｳ100%");
    teams().SetCurrent(3, 2);
    f.EntryGridComposition("か");
    EXPECT_EQ(teams().Cells(4, 2), "");

    showRunnerTab();
    f.RunnerEntryGridEnter();
    runners().SetCurrent(2, 3);
    f.EntryGridComposition("はなこ");
    EXPECT_EQ(runners().Cells(4, 3), "ﾊﾅｺ");
}

// ---- The whole entry road ----

TEST_F(EntryPages, EntriesSurviveAReopen) {
    openRace(2, 1, 10);
    TMainForm& f = form();
    for (int t = 1; t <= 10; ++t)
        setRow(teams(), t, {Format("チーム%d", t), "", "", t == 4 ? "2" : "0"});
    SaveTeamRows();
    showRunnerTab();
    for (int t = 1; t <= 10; ++t) {
        f.TeamUpDownChanging();
        f.TeamUpDown.SetValue(t);
        f.TeamUpDownMouseDown();
        setRow(runners(), 2, {Format("走者%d", t), "一", "", "", "1"});
        setRow(runners(), 3, {Format("走者%d", t), "二", "", "", "2"});
    }
    f.RunnerEntryGridExit();
    // Runner rows 2 and 3 of team 10 swapped, row 3 copied into the substitute row, row 2 emptied.
    click(runners(), 0, 2);
    click(runners(), 0, 3);
    f.swaprowsExecute();
    click(runners(), 0, 2);
    click(runners(), 0, 3);
    click(runners(), 0, 3);
    click(runners(), 0, 4);
    f.CopyRunnerClick();
    dialogs.AnswerDlg(mrYes);
    runners().SetCurrent(1, 2);
    f.AdeleteExecute();
    f.RunnerEntryGridExit();
    // Teams 1 and 2 swapped on the team tab.
    f.EntryTab.SetActivePageIndex(0);
    click(teams(), 0, 1);
    click(teams(), 0, 2);
    f.swaprowsExecute();

    Start();
    openRace(2, 1, 10);
    LoadTeamsToGrid();
    TMainForm& g = form();
    EXPECT_EQ(g.TeamFieldText(1, 0), "チーム2");
    EXPECT_EQ(g.TeamFieldText(2, 0), "チーム1");
    EXPECT_TRUE(g.IsAbsentTeam(4));
    EXPECT_EQ(g.RunnerNameText(1, 1, 1), "走者2 一①");
    EXPECT_EQ(g.RunnerNameText(2, 2, 1), "走者1 二②");
    EXPECT_EQ(g.RunnerNameText(10, 1, 1), "");
    EXPECT_EQ(g.RunnerNameText(10, 2, 1), "走者10 一①");
    EXPECT_EQ(g.RunnerNameText(10, 3, 1), "走者10 一①");
    EXPECT_EQ(runnerCount(), 10 * 4);
}
