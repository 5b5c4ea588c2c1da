#include "database/EntryTables.h"
#include "database/RaceFile.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"
#include "platform/Text.h"
#include "support/ProgramFixture.h"
#include "support/RaceRoadScript.h"
#include "support/WaitingRows.h"

#include <functional>

class MainLayout : public ProgramFixture {
protected:
    void counts(int legs, int subs, int teams) {
        form().KukanSpinNum.SetValue(legs);
        form().HoketuSpinNum.SetValue(subs);
        form().SankaSpinNum.SetValue(teams);
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

// A race made and opened through the menus, as the desk has it on race day.
class LayoutOnARace : public ProgramFixture {
protected:
    std::filesystem::path race;
    void SetUp() override {
        ProgramFixture::SetUp();
        openNewRace("駅伝");
    }
    void openNewRace(const std::string& name) {
        form().FormShow();
        race = home.path() / "tvnData" / name;
        ScriptRaceFolder(dialogs, name);
        form().MakeKeyNameExecute();
        ScriptOpenEdition(dialogs, race / "大会情報.db", 1);
        form().OpenKeyNameExecute();
        ASSERT_TRUE(form().TaikaiOpen) << dialogs.Joined();
    }
    // A fresh program on the same folder after a kill: the lock is released as the desk
    // does it (無視, Yes), then the edition is opened.
    void reopenAfterKill() {
        Start();
        form().FormShow();
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerFile((race / "大会情報.db").string());
        dialogs.AnswerDlg(mrIgnore);
        dialogs.AnswerDlg(mrYes);
        form().OpenKeyNameExecute();
        ASSERT_TRUE(dialogs.Saw("ロックを解除しました。")) << dialogs.Joined();
        ScriptOpenEdition(dialogs, race / "大会情報.db", 1);
        form().OpenKeyNameExecute();
        ASSERT_TRUE(form().TaikaiOpen) << dialogs.Joined();
    }
    std::vector<std::string> splitCounts() {
        std::vector<std::string> v;
        for (int k = 1; k <= form().KukanNum; ++k) v.push_back(form().KukanInfGrid.Cells(4, k));
        return v;
    }
    static std::vector<std::string> cells(const StringGrid& g) {
        std::vector<std::string> all;
        for (int r = 0; r < g.RowCount(); ++r)
            for (const std::string& c : g.Row(r)) all.push_back(c);
        return all;
    }
    static void passing(TMainForm& f, int leg, int order, int number, int time) {
        f.InputGrid.SetCells(2 * leg - 1, order + 1, IntToStr(number));
        f.InputGrid.SetCells(2 * leg, order + 1, IntToStr(time));
    }
};

// Whichever road runs the input save, the settings the timing import reads are written
// with it: a program killed afterwards starts with them.
TEST_F(LayoutOnARace, SettingsComeBackAfterASaveAndAKill) {
    const auto timing = home.path() / "000.csv";
    ASSERT_TRUE(WriteFileBytes(timing, "1,1,100000\r\n"));
    struct Road {
        const char* name;
        std::function<void(TMainForm&)> save;
        std::vector<std::string> counts;
    };
    const Road roads[] = {
        {"ｲﾝﾌﾟｯﾄﾃﾞｰﾀ保存", [](TMainForm& f) { f.saveInputData.Execute(); }, {"2", "4", "6"}},
        {"activation with input typed",
         [](TMainForm& f) {
             f.InputGrid.SetCells(2, 2, "100000");
             f.FormActivate();
         },
         {"2", "4", "6"}},
        {"page change after a new leg count",
         [](TMainForm& f) {
             f.MainPage.SetActivePageIndex(0);
             f.KukanSpinNum.SetValue(4);
             f.KukanInfGrid.SetCells(4, 4, "8");
             f.MainPage.SetActivePageIndex(2);
         },
         {"2", "4", "6", "8"}},
    };
    int n = 0;
    for (const Road& road : roads) {
        if (n++ > 0) {
            std::filesystem::remove(program->IniPath()); // each road starts without one
            Start();
            openNewRace(Format("駅伝%d", n));
        }
        TMainForm& f = form();
        f.KukanSpinNum.SetValue(3);
        f.SankaSpinNum.SetValue(2);
        f.PrevKukanNum = 3;
        for (int k = 1; k <= 3; ++k) f.KukanInfGrid.SetCells(4, k, IntToStr(2 * k));
        f.chk100.SetChecked(true);
        f.MainPage.SetActivePageIndex(2);
        dialogs.AnswerFile(timing.string());
        f.ActionOpenAllCSVExecute();
        ASSERT_TRUE(f.ToolButtonSlitPanel.Execute());
        f.InputGridEnter(f.InputGrid);
        road.save(f);
        reopenAfterKill();
        EXPECT_EQ(splitCounts(), road.counts) << road.name;
        EXPECT_TRUE(form().chk100.Checked()) << road.name;
        EXPECT_EQ(form().FromPath, timing.string()) << road.name;
        EXPECT_EQ(form().Edit1.Text(), timing.string()) << road.name;
        EXPECT_TRUE(form().SlitGridPanel.Visible()) << road.name;
        EXPECT_EQ(form().InputGrid.ColSample(2), "XXXXXXXXXXX") << road.name; // 1/100 widths
    }
}

// Rows are passing order: a lower team count cuts the last rows of every leg and of the
// split stream. Each cut asks; No keeps the count and every row, Yes lowers it.
TEST_F(LayoutOnARace, LoweringTheTeamCountOverPassingsAsks) {
    struct Case {
        const char* name;
        std::function<void(TMainForm&)> fill;
        std::string told; // "" = no question
    };
    const Case cases[] = {
        {"team 4's passings in row 5",
         [](TMainForm& f) {
             const int numbers[] = {1, 2, 3, 5, 4};
             for (int leg = 1; leg <= 3; ++leg)
                 for (int order = 1; order <= 5; ++order) passing(f, leg, order, numbers[order - 1], 1000 * leg + order);
         },
         "\n1区：4 行目より後に 1 件\n2区：4 行目より後に 1 件\n3区：4 行目より後に 1 件"},
        {"a number without its time, last row",
         [](TMainForm& f) { f.InputGrid.SetCells(3, 7, "6"); }, "\n2区：4 行目より後に 1 件"},
        {"split stream beyond 4 × 3 rows",
         [](TMainForm& f) {
             for (int r = 2; r <= 14; ++r) f.tempKukanGrid.SetCells(2, r, IntToStr(1000 + r));
         },
         "\nｽﾌﾟﾘｯﾄｸﾞﾘｯﾄﾞ：12 行目より後に 1 件"},
        {"a waiting time of a cut passing",
         [](TMainForm& f) {
             passing(f, 2, 6, 6, 2000);
             passing(f, 2, 1, 3, 1900);
             AddWaitingRow(2, 6, 30);
             AddWaitingRow(2, 3, 20); // its passing stays
         },
         "\n2区：4 行目より後に 1 件\n待機情報：1 件"},
        {"passings within the new count", [](TMainForm& f) { passing(f, 1, 4, 2, 1000); }, ""},
    };
    for (const Case& c : cases) {
        TMainForm& f = form();
        f.KukanSpinNum.SetValue(3);
        f.SankaSpinNum.SetValue(6);
        TMainForm::ClearGridData(f.InputGrid, -1);
        TMainForm::ClearGridData(f.tempKukanGrid, -1);
        OpenDelayTable();
        RaceDb().Exec("DELETE FROM " + DelayTableName(1));
        c.fill(f);
        const auto inputBefore = cells(f.InputGrid), splitBefore = cells(f.tempKukanGrid);
        dialogs.ClearLog();
        if (!c.told.empty()) {
            dialogs.AnswerDlg(mrNo);
            f.SankaSpinNum.SetValue(4);
            EXPECT_EQ(dialogs.Joined(), "参加ﾁｰﾑ数を 4 にすると、次の通過ﾃﾞｰﾀが範囲外になり保存されません。" + c.told +
                                            "\n\n参加ﾁｰﾑ数を 4 にしますか？")
                << c.name;
            EXPECT_EQ(f.SankaSpinNum.Value(), 6) << c.name;
            EXPECT_EQ(f.SankaSpinNum.Text(), "6") << c.name;
            EXPECT_EQ(f.TeamNum, 6) << c.name;
            EXPECT_EQ(f.InputGrid.RowCount(), 8) << c.name;
            EXPECT_EQ(f.tempKukanGrid.RowCount(), 2 + 18) << c.name;
            EXPECT_EQ(cells(f.InputGrid), inputBefore) << c.name;
            EXPECT_EQ(cells(f.tempKukanGrid), splitBefore) << c.name;
            dialogs.AnswerDlg(mrYes);
        }
        f.SankaSpinNum.SetValue(4);
        EXPECT_EQ(f.TeamNum, 4) << c.name;
        EXPECT_EQ(f.InputGrid.RowCount(), 6) << c.name;
    }
}

// No keeps the rows through a save: the passings beyond 4 are in the stored input.
TEST_F(LayoutOnARace, DecliningTheLowerCountSavesEveryPassing) {
    form().KukanSpinNum.SetValue(1);
    form().SankaSpinNum.SetValue(6);
    for (int order = 1; order <= 6; ++order) passing(form(), 1, order, order, 1000 + order);
    dialogs.AnswerDlg(mrNo);
    form().SankaSpinNum.SetValue(4);
    form().saveInputDataExecute();
    TMainForm::ClearGridData(form().InputGrid, -1);
    LoadInputBlob();
    EXPECT_EQ(form().InputGrid.Cells(1, 7), "6");
    EXPECT_EQ(form().InputGrid.Cells(2, 7), "1006");
}
