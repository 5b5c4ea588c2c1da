#include "database/RaceFile.h"
#include "mainwindow/TFormKuriage.h"
#include "platform/Files.h"
#include "support/ProgramFixture.h"

namespace {
const char* kTopGapOverStart =
    "実施タイムが既に設定されているのでトップ差変換はできません。\n実施タイムを空にしてトップ差タイムを入力してください。";
const char* kLateStart = "ﾗｽﾄ差がﾏｲﾅｽでない繰上実施ﾀｲﾑが設定されています。\n設定値は意味を持ちませんがいいですか？";
} // namespace

// Four legs, three teams; relay point 1 passed at 1:05'00", 1:10'00", 1:12'00",
// nobody has passed relay point 2 yet.
class KuriageForm : public ProgramFixture {
protected:
    TFormKuriage& k() { return *FormKuriage; }
    StringGrid& grid() { return FormKuriage->KuriageGrid; }

    void SetUp() override {
        ProgramFixture::SetUp();
        form().KukanSpinNum.SetValue(4);
        form().SankaSpinNum.SetValue(3);
        form().DataFolder = home.path() / "race";
        ASSERT_TRUE(CreateDir(form().DataFolder));
        k().FollowLegCount(4);
        passings();
    }
    void passings() {
        passing(1, 1, "5", "10500");
        passing(1, 2, "2", "11000");
        passing(1, 3, "9", "11200");
    }
    void passing(int point, int order, const std::string& number, const std::string& time) {
        form().InputGrid.SetCells(2 * point - 1, order + 1, number);
        form().InputGrid.SetCells(2 * point, order + 1, time);
    }
    // Typing into a cell as the grid's editor does: each key through the key filter,
    // the editor's text back through SetEditText, then Enter.
    void type(int col, int row, const std::string& text) {
        grid().SetCurrent(col, row);
        std::string shown;
        for (char ch : text) {
            char32_t key = static_cast<unsigned char>(ch);
            k().KuriageGridKeyPress(key);
            if (key == Key::None) continue;
            shown += static_cast<char>(key);
            k().KuriageGridSetEditText(col, row, shown);
        }
        char32_t enter = Key::Enter;
        k().KuriageGridKeyPress(enter);
        EXPECT_EQ(enter, Key::None);
    }
    std::vector<std::string> row(int r) { return {grid().Cells(1, r), grid().Cells(2, r), grid().Cells(3, r)}; }
    using Cells = std::vector<std::string>;
    std::filesystem::path csvPath() { return form().DataFolder / "DataHTML" / "csv" / "kuriage.csv"; }
};

TEST_F(KuriageForm, LayoutFollowsTheLegCountKeepingTimes) {
    EXPECT_EQ(grid().RowCount(), 4);
    EXPECT_EQ(grid().ColCount(), 4);
    EXPECT_EQ(grid().Cells(1, 0), "実施タイム");
    EXPECT_EQ(grid().Cells(0, 1), "第1中継/第2出発");
    EXPECT_EQ(grid().Cells(0, 3), "第3中継/第4出発");
    grid().SetCells(1, 2, "11500");
    k().FollowLegCount(6);
    EXPECT_EQ(grid().RowCount(), 6);
    EXPECT_EQ(grid().Cells(1, 2), "11500");
    EXPECT_EQ(grid().Cells(0, 5), "第5中継/第6出発");
    k().FollowLegCount(3);
    EXPECT_EQ(grid().RowCount(), 3);
    EXPECT_EQ(grid().Cells(1, 2), "11500");
}

TEST_F(KuriageForm, OneLegHasNoRelayPointsAndAnEmptyCsv) {
    k().FollowLegCount(1);
    EXPECT_EQ(grid().RowCount(), 1);
    EXPECT_TRUE(k().RefreshKuriageGaps());
    EXPECT_TRUE(k().ExportKuriageCsv());
    std::string bytes = "x";
    ASSERT_TRUE(ReadFileBytes(csvPath(), bytes));
    EXPECT_EQ(bytes, "");
}

TEST_F(KuriageForm, PassingTimeRangeOverTheRelayPointColumn) {
    int last = -1;
    EXPECT_EQ(form().PassingTimeRange(1, last), 10500);
    EXPECT_EQ(last, 11200);
    EXPECT_EQ(form().PassingTimeRange(2, last), 0);
    EXPECT_EQ(last, 0);
    // Out of order, with a zero among the times.
    passing(3, 1, "1", "12500");
    passing(3, 2, "2", "0");
    passing(3, 3, "3", "12400");
    EXPECT_EQ(form().PassingTimeRange(3, last), 12400);
    EXPECT_EQ(last, 12500);
}

// An absent team's dummy passing (9:00:04) is no passing for the gaps and the close check.
TEST_F(KuriageForm, LastGapSkipsAbsentTeamsDummyTimes) {
    form().SankaSpinNum.SetValue(4);
    form().ApplyCountsAndLayout();
    passings();
    passing(1, 4, "4", "90004");
    for (const char* state : {"2", ""}) {
        form().TeamEntryGrid.SetCells(4, 4, state);
        type(1, 1, "11500");
        EXPECT_EQ(grid().Cells(3, 1), *state ? "300" : "-27904");
        EXPECT_EQ(k().RefreshKuriageGaps(), !*state);
    }
}

TEST_F(KuriageForm, TypedStartShowsGapsToFirstAndLastPassing) {
    type(1, 1, "11500");
    EXPECT_EQ(row(1), (Cells{"11500", "1000", "300"})); // 10'00" after the first, 3'00" after the last
    EXPECT_EQ(grid().CurRow(), 1); // kept for the sign buttons
    EXPECT_TRUE(k().Edited());
    EXPECT_TRUE(k().FTimeDirty);
    EXPECT_FALSE(k().RefreshKuriageGaps());

    type(1, 1, "11000");
    EXPECT_EQ(row(1), (Cells{"11000", "500", "-120"})); // before the last: negative seconds
    EXPECT_TRUE(k().RefreshKuriageGaps());
    type(1, 1, "11200"); // at the last passing is not late
    EXPECT_EQ(row(1), (Cells{"11200", "700", "0"}));
    EXPECT_TRUE(k().RefreshKuriageGaps());
}

TEST_F(KuriageForm, NobodyPassedGapsEqualTheStart) {
    type(1, 2, "11500");
    EXPECT_EQ(row(2), (Cells{"11500", "11500", "11500"}));
    // A start in time at a later relay point does not hide the late one.
    passing(3, 1, "1", "20000");
    type(1, 3, "15000");
    EXPECT_FALSE(k().RefreshKuriageGaps());
}

TEST_F(KuriageForm, TypedTopGapGivesTheStart) {
    type(2, 1, "500");
    EXPECT_EQ(row(1), (Cells{"11000", "500", "-120"}));
    EXPECT_TRUE(k().FTimeDirty);
    // Seconds above 59 carry over as the time codes do: 90" is 1'30".
    grid().SetCells(1, 1, "");
    type(2, 1, "90");
    EXPECT_EQ(row(1), (Cells{"10630", "130", "-330"}));
}

TEST_F(KuriageForm, TopGapOverAStartIsRefused) {
    type(1, 1, "11500");
    type(2, 1, "300");
    EXPECT_TRUE(dialogs.Saw(kTopGapOverStart));
    EXPECT_EQ(row(1), (Cells{"11500", "", "300"}));
}

TEST_F(KuriageForm, ZeroOrBackspaceEmptiesTheRow) {
    type(1, 1, "11500");
    type(1, 1, "0");
    EXPECT_EQ(row(1), (Cells{"", "", ""}));

    type(1, 1, "11500");
    k().FTimeDirty = false;
    grid().SetCurrent(1, 1);
    char32_t bs = Key::Backspace;
    k().KuriageGridKeyPress(bs);
    EXPECT_EQ(bs, Key::None);
    EXPECT_EQ(row(1), (Cells{"", "", ""}));
    EXPECT_TRUE(k().FTimeDirty);
    EXPECT_EQ(grid().CurRow(), 1);
}

TEST_F(KuriageForm, KeyFilter) {
    grid().SetCurrent(1, 1);
    for (char32_t in : {U'a', U'-', Key::Tab}) {
        char32_t key = in;
        k().KuriageGridKeyPress(key);
        EXPECT_EQ(key, Key::None) << static_cast<int>(in);
    }
    // Outside the start column Backspace is the editor's.
    grid().SetCurrent(2, 1);
    grid().SetCells(2, 1, "45");
    char32_t bs = Key::Backspace;
    k().KuriageGridKeyPress(bs);
    EXPECT_EQ(bs, Key::Backspace);
    EXPECT_EQ(grid().Cells(2, 1), "45");
    // Enter after typing keeps the row for the sign buttons; the next Enter moves on.
    type(1, 1, "11000");
    EXPECT_EQ(grid().CurRow(), 1);
    char32_t enter = Key::Enter;
    k().KuriageGridKeyPress(enter);
    EXPECT_EQ(grid().CurRow(), 2);
    // Enter on the last row stays there.
    type(1, 3, "13000");
    k().KuriageGridKeyPress(enter = Key::Enter);
    EXPECT_EQ(grid().CurRow(), 3);
}

TEST_F(KuriageForm, SignButtons) {
    grid().SetCurrent(1, 1);
    grid().SetCells(1, 1, "-11500");
    EXPECT_TRUE(k().ToolButton2.Execute());
    EXPECT_EQ(row(1), (Cells{"11500", "1000", "300"}));
    EXPECT_TRUE(k().FTimeDirty);
    EXPECT_TRUE(k().N1.Execute()); // already an advanced start
    EXPECT_EQ(grid().Cells(1, 1), "11500");
    EXPECT_TRUE(k().ToolButton3.Execute()); // a restart shows no gaps
    EXPECT_EQ(row(1), (Cells{"-11500", "", ""}));
    EXPECT_TRUE(k().N2.Execute()); // already a restart
    EXPECT_EQ(grid().Cells(1, 1), "-11500");
    EXPECT_TRUE(k().N1.Execute());
    EXPECT_EQ(grid().Cells(1, 1), "11500");

    k().FTimeDirty = false;
    grid().SetCurrent(1, 2);
    k().ToolButton2.Execute();
    k().N2.Execute();
    EXPECT_EQ(row(2), (Cells{"", "", ""}));
    EXPECT_FALSE(k().FTimeDirty);
}

TEST_F(KuriageForm, RefreshButtonsRecomputeEveryRow) {
    grid().SetCellsQuiet(1, 1, "11500");
    grid().SetCellsQuiet(2, 2, "999"); // stale gap of an empty row
    grid().SetCellsQuiet(1, 3, "0");
    EXPECT_TRUE(k().ToolButton4.Execute());
    EXPECT_EQ(row(1), (Cells{"11500", "1000", "300"}));
    EXPECT_EQ(row(2), (Cells{"", "", ""}));
    EXPECT_EQ(row(3), (Cells{"", "", ""}));
    passing(1, 3, "9", "11600");
    k().N3.Execute();
    EXPECT_EQ(row(1), (Cells{"11500", "1000", "-60"}));
}

TEST_F(KuriageForm, CopyFromTheInputGrid) {
    form().InputGrid.SetCurrent(2, 3); // relay point 1, second passing: number 2 at 1:10'00"
    grid().SetCurrent(1, 1);
    EXPECT_TRUE(k().CanCopyFromInputGrid());
    EXPECT_TRUE(k().ToolButtonCopy.Enabled());
    EXPECT_TRUE(k().MenuGetFromInputG.Enabled());

    dialogs.AnswerDlg(mrNo);
    k().ToolButtonCopy.Execute();
    EXPECT_EQ(grid().Cells(1, 1), "");
    EXPECT_FALSE(k().FTimeDirty);

    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    k().MenuGetFromInputG.Execute();
    EXPECT_EQ(dialogs.Joined(),
              "第1中継点、\n通過順位2位、ｾﾞｯｹﾝ2番の通過ﾀｲﾑ数値\n 11000 を\n実施ﾀｲﾑにｺﾋﾟｰしてもいいですか？");
    EXPECT_EQ(row(1), (Cells{"11000", "500", "-120"}));
    EXPECT_TRUE(k().FTimeDirty);
    EXPECT_TRUE(k().Edited());
    // The target is filled now.
    EXPECT_FALSE(k().CanCopyFromInputGrid());
    EXPECT_FALSE(k().ToolButtonCopy.Enabled());
    EXPECT_FALSE(k().ToolButtonCopy.Execute());
}

TEST_F(KuriageForm, CopyNeedsMatchingCells) {
    grid().SetCurrent(1, 1);
    form().InputGrid.SetCurrent(1, 3); // a number column
    EXPECT_FALSE(k().CanCopyFromInputGrid());
    form().InputGrid.SetCurrent(4, 3); // relay point 2
    passing(2, 2, "3", "20000");
    EXPECT_FALSE(k().CanCopyFromInputGrid());
    grid().SetCurrent(1, 2);
    EXPECT_TRUE(k().CanCopyFromInputGrid());
    form().InputGrid.SetCurrent(4, 4); // empty cell
    EXPECT_FALSE(k().CanCopyFromInputGrid());
    form().InputGrid.SetCurrent(2, 3);
    grid().SetCurrent(2, 1); // gap column
    EXPECT_FALSE(k().CanCopyFromInputGrid());
    EXPECT_FALSE(k().MenuGetFromInputG.Enabled());
}

TEST_F(KuriageForm, MouseDownSelectsADataRowAndUpdatesCopy) {
    form().InputGrid.SetCurrent(2, 3);
    grid().SetCurrent(1, 2);
    k().KuriageGridMouseDown(1, 1);
    EXPECT_EQ(grid().CurRow(), 1);
    EXPECT_TRUE(k().ToolButtonCopy.Enabled());
    k().KuriageGridMouseDown(1, 0); // title row
    EXPECT_EQ(grid().CurRow(), 1);
    k().KuriageGridMouseDown(1, 2);
    EXPECT_FALSE(k().ToolButtonCopy.Enabled());
}

TEST_F(KuriageForm, CsvExport) {
    grid().SetCells(1, 1, "11500");
    grid().SetCells(1, 3, "-13000");
    EXPECT_TRUE(k().ExportKuriageCsv());
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(csvPath(), bytes));
    EXPECT_EQ(bytes, "1,11500\r\n2,0\r\n3,-13000\r\n");
    EXPECT_TRUE(dialogs.Saw(csvPath().string() + "\nを保存しました。"));
}

TEST_F(KuriageForm, CsvExportFailures) {
    ASSERT_TRUE(ForceDirectories(csvPath() / "in-the-way"));
    EXPECT_FALSE(k().ExportKuriageCsv());
    EXPECT_TRUE(dialogs.Saw("ファイルがオープン出来ません"));

    dialogs.ClearLog();
    form().DataFolder = home.path() / "gone";
    EXPECT_FALSE(k().ExportKuriageCsv());
    EXPECT_EQ(dialogs.Joined(),
              (home.path() / "gone" / "DataHTML" / "").string() + " の作成に失敗しました。");
}

TEST_F(KuriageForm, DrawCell) {
    grid().SetCellsQuiet(1, 1, "-11500");
    grid().SetCellsQuiet(2, 1, "1000");
    grid().SetCellsQuiet(3, 1, "-120");
    grid().SetCellsQuiet(1, 2, "0");
    grid().SetCellsQuiet(2, 2, "0");
    grid().SetCellsQuiet(1, 3, "12x");
    grid().SetCellsQuiet(2, 3, "");
    EXPECT_EQ(k().KuriageGridDrawCell(1, 1).Text, "(RS)  1ﾟ15'00\"");
    EXPECT_EQ(k().KuriageGridDrawCell(1, 1).Align, CellAlign::Right);
    EXPECT_EQ(k().KuriageGridDrawCell(2, 1).Text, "10'00\"");
    EXPECT_EQ(k().KuriageGridDrawCell(3, 1).Text, "- 2'00\"");
    EXPECT_EQ(k().KuriageGridDrawCell(1, 2).Text, "");
    EXPECT_EQ(k().KuriageGridDrawCell(2, 2).Text, " 0\"");
    EXPECT_EQ(k().KuriageGridDrawCell(1, 3).Text, "");
    EXPECT_EQ(k().KuriageGridDrawCell(2, 3).Text, "");
    EXPECT_EQ(k().KuriageGridDrawCell(0, 1).Text, "第1中継/第2出発");
    EXPECT_EQ(k().KuriageGridDrawCell(0, 1).Align, CellAlign::Center);
    EXPECT_EQ(k().KuriageGridDrawCell(2, 0).Align, CellAlign::Center);
    form().chk100.SetChecked(true);
    grid().SetCellsQuiet(1, 2, "1150050");
    EXPECT_EQ(k().KuriageGridDrawCell(1, 2).Text, " 1ﾟ15'00\"50");
}

TEST_F(KuriageForm, OpeningShowsTheWindowWithFreshGaps) {
    grid().SetCellsQuiet(1, 1, "11500");
    form().OpenKuriageFormExecute();
    EXPECT_TRUE(k().Visible());
    EXPECT_EQ(row(1), (Cells{"11500", "1000", "300"}));
    EXPECT_FALSE(k().Edited());
    type(1, 2, "20000");
    form().OpenKuriageFormExecute(); // already open: brought up, nothing reset
    EXPECT_TRUE(k().Edited());
}

TEST_F(KuriageForm, CloseQuestionForALateAdvancedStart) {
    form().OpenKuriageFormExecute();
    grid().SetCellsQuiet(1, 1, "11500");
    dialogs.AnswerDlg(mrCancel);
    EXPECT_TRUE(k().ToolButton5.Execute());
    EXPECT_TRUE(k().Visible());
    EXPECT_TRUE(dialogs.Saw(kLateStart));
    dialogs.AnswerDlg(mrOk);
    k().ToolButton5Click();
    EXPECT_FALSE(k().Visible());
}

TEST_F(KuriageForm, CloseWithoutEditsWritesNothing) {
    form().OpenKuriageFormExecute();
    bool repainted = false;
    form().InputGrid.Changed.connect([&] { repainted = true; });
    EXPECT_TRUE(k().CloseWindow());
    EXPECT_FALSE(k().Visible());
    EXPECT_EQ(dialogs.Joined(), "");
    EXPECT_FALSE(FileExists(csvPath()));
    EXPECT_TRUE(repainted);
}

TEST_F(KuriageForm, BlobThatCannotBeWrittenStaysDirty) {
    // No race file in the folder: the save fails, is shown, and the export still runs.
    form().OpenKuriageFormExecute();
    type(1, 1, "11000");
    EXPECT_TRUE(k().CloseWindow());
    EXPECT_TRUE(k().FTimeDirty);
    ASSERT_FALSE(dialogs.Log().empty());
    EXPECT_EQ(dialogs.Log().front().Kind, "exception");
    EXPECT_TRUE(dialogs.Saw(csvPath().string() + "\nを保存しました。"));
}

TEST_F(KuriageForm, FolderFailureOnCloseIsReportedNotThrown) {
    form().OpenKuriageFormExecute();
    type(1, 1, "11000");
    form().DataFolder = home.path() / "gone";
    EXPECT_NO_THROW(k().ToolButton5.Execute());
    EXPECT_FALSE(k().Visible());
    EXPECT_TRUE(dialogs.Saw((home.path() / "gone" / "DataHTML" / "").string() + " の作成に失敗しました。"));
}

TEST_F(KuriageForm, FailedExportButtonReportsOnceAndStaysOpen) {
    form().OpenKuriageFormExecute();
    type(1, 1, "11000");
    form().DataFolder = home.path() / "gone";
    k().ToolButton6.Execute();
    EXPECT_TRUE(k().Visible());
    EXPECT_EQ(dialogs.Joined(),
              (home.path() / "gone" / "DataHTML" / "").string() + " の作成に失敗しました。");
}

// With a race file: the close writes F_TIME, the next open of the edition reads it back.
class KuriageFormRace : public KuriageForm {
protected:
    void SetUp() override {
        KuriageForm::SetUp();
        form().TaikaiNo = 1;
        form().TaikaiOpen = true;
        OpenTaikaiTable(); // a new race file: its first edition has one leg and one team
        form().KukanSpinNum.SetValue(4);
        form().SankaSpinNum.SetValue(3);
        ASSERT_TRUE(SaveTaikaiFields(false));
        k().FollowLegCount(4);
        passings();
        dialogs.ClearLog();
    }
};

TEST_F(KuriageFormRace, CloseSavesTheTimesAndExportsOnce) {
    form().OpenKuriageFormExecute();
    type(1, 1, "11000");
    type(1, 3, "13000");
    k().ToolButton3.Execute(); // a restart of the row just typed: only the sign button makes one
    EXPECT_TRUE(k().ToolButton6.Execute()); // export, then close
    EXPECT_FALSE(k().Visible());
    EXPECT_FALSE(k().FTimeDirty);
    EXPECT_EQ(dialogs.Joined(), csvPath().string() + "\nを保存しました。");

    for (int r = 1; r < 4; ++r) grid().SetCellsQuiet(1, r, "");
    LoadKuriageBlob();
    EXPECT_EQ(grid().Cells(1, 1), "11000");
    EXPECT_EQ(grid().Cells(1, 2), "");
    EXPECT_EQ(grid().Cells(1, 3), "-13000");
}
