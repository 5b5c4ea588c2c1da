#include "database/RaceFile.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "support/ProgramFixture.h"
#include "support/RaceRoadScript.h"
#include "support/WaitingRows.h"

#include <tuple>

class MainLayout : public ProgramFixture {
protected:
    void counts(int legs, int subs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().HoketuSpinNum.SetValue(subs);
        form().SankaSpinNum.SetValue(teams);
    }
    static std::vector<std::string> cells(const StringGrid& g) {
        std::vector<std::string> all;
        for (int r = 0; r < g.RowCount(); ++r)
            for (const std::string& c : g.Row(r)) all.push_back(c);
        return all;
    }
    void openRace(int taikaiNo) {
        form().DataFolder = home.path();
        form().TaikaiNo = taikaiNo;
        form().TaikaiOpen = true;
        form().TaikaiIniPending = true;
    }
};

TEST_F(MainLayout, GridsFollowTheCounts) {
    counts(5, 3, 12);
    TMainForm& f = form();
    EXPECT_EQ(f.KukanNum, 5);
    EXPECT_EQ(f.RunnerEntryGrid.RowCount(), 10);
    EXPECT_EQ(f.RunnerEntryGrid.Cells(0, 1), "監督");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(0, 2), " 1 区");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(0, 6), " 5 区");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(0, 7), "補欠");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(0, 9), "補欠");
    EXPECT_EQ(f.RunnerEntryGrid.Cells(6, 0), "OP");

    EXPECT_EQ(f.InputGrid.ColCount(), 11);
    EXPECT_EQ(f.InputGrid.RowCount(), 14);
    EXPECT_EQ(f.InputGrid.FixedRows(), 2);
    EXPECT_EQ(f.InputGrid.Tag(), 9);
    EXPECT_EQ(f.InputGrid.Cells(0, 1), "順");
    EXPECT_EQ(f.InputGrid.Cells(0, 13), "12");
    EXPECT_EQ(f.InputGrid.Cells(9, 1), "No.");
    EXPECT_EQ(f.InputGrid.Cells(10, 0), "5 区");
    EXPECT_EQ(f.InputGrid.Cells(10, 1), "通過ﾀｲﾑ");
    EXPECT_EQ(f.InputGrid.ColSample(10), "XXXXXXXXX");

    EXPECT_EQ(f.tempKukanGrid.RowCount(), 2 + 60);
    EXPECT_EQ(f.TeamEntryGrid.RowCount(), 13);
    EXPECT_EQ(f.TeamEntryGrid.Cells(6, 0), "前回のﾀｲﾑ");
    EXPECT_EQ(f.KukanInfGrid.RowCount(), 6);
    EXPECT_EQ(f.KukanInfGrid.Cells(0, 5), " 5");
    EXPECT_EQ(f.taikaiBestGrid.Cells(3, 0), "大会記録");
    EXPECT_FALSE(f.InputGrid.Modified());
}

TEST_F(MainLayout, HundredthsWidenTimeColumnsAtNextRebuild) {
    counts(2, 1, 3);
    form().chk100.SetChecked(true);
    EXPECT_EQ(form().InputGrid.ColSample(2), "XXXXXXXXX");
    form().ApplyCountsAndLayout();
    EXPECT_EQ(form().InputGrid.ColSample(2), "XXXXXXXXXXX");
}

TEST_F(MainLayout, LayoutKeepsTypedPassings) {
    counts(2, 1, 3);
    form().InputGrid.SetCells(2, 2, "12345");
    counts(3, 1, 3);
    EXPECT_EQ(form().InputGrid.Cells(2, 2), "12345");
    EXPECT_TRUE(form().InputGrid.Modified());
}

TEST_F(MainLayout, SplitCountCheck) {
    counts(3, 1, 2);
    auto set = [this](std::vector<std::string> v) {
        for (int k = 0; k < 3; ++k) form().KukanInfGrid.SetCells(4, k + 1, v[k]);
        return form().CheckSplitCounts();
    };
    EXPECT_EQ(set({"1", "3", "0"}), 2);
    EXPECT_EQ(set({"1", "3", "5"}), 1);
    EXPECT_EQ(set({"0", "", "0"}), 0);
    EXPECT_EQ(set({"2", "1", "9"}), 2);
}

TEST_F(MainLayout, PageChangeWarnsAboutSplitCounts) {
    counts(3, 1, 2);
    openRace(1);
    form().ApplyCountsAndLayout();
    form().PrevKukanNum = 3;
    form().KukanInfGrid.SetCells(4, 1, "1");
    form().KukanInfGrid.SetCells(4, 2, "3");
    form().MainPage.SetActivePageIndex(2);
    EXPECT_TRUE(dialogs.Saw("ｽﾌﾟﾘｯﾄの入力値に誤りがあります。"));
    EXPECT_FALSE(form().KukanSpinNum.Enabled());
    EXPECT_EQ(form().KukanSpinNum.Color(), clSilver);
    EXPECT_TRUE(form().LabelBonrei.Visible());
    EXPECT_EQ(form().FocusedControl, "InputGrid");
    EXPECT_TRUE(form().ClearInputGrid.Enabled());
    form().MainPage.SetActivePageIndex(0);
    EXPECT_TRUE(form().KukanSpinNum.Enabled());
    EXPECT_EQ(form().KukanSpinNum.Color(), clWhite);
    EXPECT_FALSE(form().ClearInputGrid.Enabled());
}

// The input page's tools and the commands needing the passing grids: off with no race
// open, and off every page but the input page.
TEST_F(MainLayout, PassingCommandsFollowTheInputPage) {
    form().FormShow();
    EXPECT_FALSE(form().ToolButtonSlitPanel.Execute() || form().ToolButtonInputGridCopy.Execute());
    counts(3, 1, 2);
    openRace(1);
    form().PrevKukanNum = 3;
    TMainForm& f = form();
    for (int page : {0, 1, 2}) {
        f.MainPage.SetActivePageIndex(2);
        f.InputGridEnter(f.InputGrid);
        f.MainPage.SetActivePageIndex(page);
        for (Action* a : {&f.OutputResult, &f.OpenKuriageForm, &f.OpenClockInputForm, &f.OpenDelayInfForm,
                          &f.ToolButtonSlitPanel, &f.ToolButtonInputGridCopy})
            EXPECT_EQ(a->Enabled(), page == 2) << a->Name() << " on page " << page;
    }
}

TEST_F(MainLayout, KeyFilters) {
    char32_t k = U'7';
    EXPECT_TRUE(TMainForm::FilterNumberKey(k, 1));
    k = U'.';
    EXPECT_TRUE(TMainForm::FilterNumberKey(k, 0));
    k = U'.';
    EXPECT_FALSE(TMainForm::FilterNumberKey(k, 1));
    EXPECT_EQ(k, Key::None);
    k = U'/';
    EXPECT_TRUE(TMainForm::FilterDateKey(k));
    k = U'a';
    EXPECT_FALSE(TMainForm::FilterDateKey(k));
    // Tab and Escape type nothing: every filter lets them through to move and restore.
    for (char32_t passing : {Key::Tab, Key::Escape}) {
        char32_t keys[3] = {passing, passing, passing};
        EXPECT_TRUE(TMainForm::FilterNumberKey(keys[0], 0) && TMainForm::FilterNumberKey(keys[1], 1) &&
                    TMainForm::FilterDateKey(keys[2]));
        EXPECT_EQ(std::u32string(keys, 3), std::u32string(3, passing));
    }

    counts(3, 1, 2);
    StringGrid& legs = form().KukanInfGrid;
    legs.SetCurrent(2, 1);
    k = U'a';
    form().KukanInfGridKeyPress(legs, k);
    EXPECT_EQ(k, Key::None);
    k = Key::Enter;
    form().KukanInfGridKeyPress(legs, k);
    EXPECT_EQ(legs.CurRow(), 2);
    EXPECT_EQ(k, Key::None);
    legs.SetCurrent(1, 1);
    k = U'a';
    form().KukanInfGridKeyPress(legs, k);
    EXPECT_EQ(k, U'a'); // goal names are free text
}

TEST_F(MainLayout, InfoGridPainters) {
    counts(2, 1, 2);
    form().KukanInfGrid.SetCells(3, 1, "2345");
    CellStyle s = form().KukanInfGridDrawCell(form().KukanInfGrid, 3, 1);
    EXPECT_EQ(s.Align, CellAlign::Right);
    EXPECT_EQ(s.Text, "23'45\"");
    EXPECT_EQ(form().KukanInfGridDrawCell(form().KukanInfGrid, 1, 1).Align, CellAlign::Left);
    EXPECT_EQ(form().KukanInfGridDrawCell(form().KukanInfGrid, 4, 1).Align, CellAlign::Center);
    EXPECT_EQ(form().KukanInfGridDrawCell(form().KukanInfGrid, 1, 0).Align, CellAlign::Center);
    EXPECT_EQ(form().KukanInfGridDrawCell(form().taikaiBestGrid, 2, 1).Align, CellAlign::Left);
    EXPECT_EQ(form().KukanInfGridDrawCell(form().taikaiBestGrid, 1, 1).Align, CellAlign::Right);
}

TEST_F(MainLayout, EditionSettingsRoundTripAndCopyOnlyOnce) {
    counts(3, 1, 2);
    openRace(1);
    form().ApplyCountsAndLayout();
    form().chk100.SetChecked(true);
    form().KukanInfGrid.SetCells(4, 1, "2");
    form().KukanInfGrid.SetCells(4, 3, "x");
    form().WriteTaikaiIni();
    IniFile one(home.path() / "ini1.INI");
    EXPECT_TRUE(one.ReadBool("Params", "chk100", false));
    EXPECT_EQ(one.ReadInteger("Params", "s_1", -1), 2);
    EXPECT_EQ(one.ReadInteger("Params", "s_3", -1), 0);
    EXPECT_FALSE(one.ValueExists("Params", "s_4"));

    // A new edition copies edition 1's settings file only when it has none.
    form().SourceTaikaiNo = 1;
    form().TaikaiNo = 2;
    form().CopyTaikaiIni();
    EXPECT_TRUE(FileExists(home.path() / "ini2.INI"));
    IniFile(home.path() / "ini2.INI").WriteBool("Params", "chk100", false);
    form().CopyTaikaiIni();
    EXPECT_FALSE(IniFile(home.path() / "ini2.INI").ReadBool("Params", "chk100", true));
}

TEST_F(MainLayout, EditionSettingsAreReadOnceNotOnEveryRebuild) {
    IniFile(home.path() / "ini1.INI").WriteBool("Params", "chk100", true);
    IniFile(home.path() / "ini1.INI").WriteInteger("Params", "s_2", 4);
    counts(2, 1, 2);
    openRace(1);
    form().ApplyCountsAndLayout();
    EXPECT_TRUE(form().chk100.Checked());
    EXPECT_EQ(form().KukanInfGrid.Cells(4, 2), "4");
    // An unsaved untick survives a spinner change.
    form().chk100.SetChecked(false);
    form().KukanInfGrid.SetCells(4, 2, "2");
    form().SankaSpinNum.SetValue(3);
    EXPECT_FALSE(form().chk100.Checked());
    EXPECT_EQ(form().KukanInfGrid.Cells(4, 2), "2");
}

// Rows are passing order: a lower count cuts the last passings of each leg and the split stream.
TEST_F(MainLayout, LoweringTheTeamCountOverPassingsAsks) {
    form().FormShow();
    ScriptRaceFolder(dialogs, "駅伝");
    form().MakeKeyNameExecute();
    ScriptOpenEdition(dialogs, home.path() / "tvnData" / "駅伝" / "大会情報.db", 1);
    form().OpenKeyNameExecute();
    AddWaitingRow(2, 6, 30); // team 6 passes point 2 in row 6 below
    AddWaitingRow(2, 3, 20); // team 3 in row 1: its passing stays
    TMainForm& f = form();
    using Cell = std::tuple<StringGrid&, int, int, const char*>; // grid, column, row, text
    const std::pair<std::vector<Cell>, std::string> cases[] = { // cells typed, the cut told
        {{{f.InputGrid, 1, 6, "4"}, {f.InputGrid, 2, 6, "1005"}}, "\n1区：4 行目より後に 1 件"},
        {{{f.InputGrid, 3, 7, "6"}, {f.InputGrid, 3, 2, "3"}}, "\n2区：4 行目より後に 1 件\n待機情報：1 件"},
        {{{f.tempKukanGrid, 2, 14, "1014"}}, "\nｽﾌﾟﾘｯﾄｸﾞﾘｯﾄﾞ：12 行目より後に 1 件"},
        {{{f.InputGrid, 1, 5, "2"}, {f.tempKukanGrid, 1, 13, "2"}}, ""}, // within 4 rows, 12 split rows
    };
    for (const auto& [typed, told] : cases) {
        f.KukanSpinNum.SetValue(3);
        f.SankaSpinNum.SetValue(6);
        TMainForm::ClearGridData(f.InputGrid, -1);
        TMainForm::ClearGridData(f.tempKukanGrid, -1);
        for (const auto& [g, col, row, text] : typed) g.SetCells(col, row, text);
        const auto input = cells(f.InputGrid), split = cells(f.tempKukanGrid);
        dialogs.ClearLog();
        if (!told.empty()) {
            dialogs.AnswerDlg(mrNo);
            f.SankaSpinNum.SetValue(4);
            EXPECT_EQ(dialogs.Joined(), "参加ﾁｰﾑ数を 4 にすると、次の通過ﾃﾞｰﾀが範囲外になり保存されません。" + told +
                                            "\n\n参加ﾁｰﾑ数を 4 にしますか？");
            EXPECT_EQ(std::tuple(f.SankaSpinNum.Text(), f.TeamNum, cells(f.tempKukanGrid)),
                      std::tuple("6", 6, split));
            f.saveInputDataExecute();
            TMainForm::ClearGridData(f.InputGrid, -1);
            LoadInputBlob();
            EXPECT_EQ(cells(f.InputGrid), input) << told;
            dialogs.AnswerDlg(mrYes);
        }
        f.SankaSpinNum.SetValue(4);
        EXPECT_EQ(f.InputGrid.RowCount(), 2 + 4) << told;
    }
}
