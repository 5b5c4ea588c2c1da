// The split text file "slit_text.txt" of the passings of running teams, and the
// dummy rows of the absent teams in the input grid.
#include "mainwindow/EntryRaceFixture.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"

#include <array>

using Row = std::array<std::string, 3>; // number, time, leg
using Cells = std::vector<std::string>;

class SplitText : public EntryRace {
  protected:
    void SetUp() override {
        EntryRace::SetUp();
        openRace(2, 1, 20);
    }
    fs::path csvDir() { return form().DataFolder / "DataHTML" / "csv"; }
    fs::path file() { return csvDir() / "slit_text.txt"; }
    void fill(const std::vector<Row>& rows) {
        TMainForm::ClearGridData(form().tempKukanGrid, -1);
        for (size_t i = 0; i < rows.size(); ++i)
            for (int c = 0; c < 3; ++c)
                form().tempKukanGrid.SetCells(c + 1, 2 + static_cast<int>(i), rows[i][c]);
    }
    std::string written() {
        std::string b;
        return ReadFileBytes(file(), b) ? b : "(none)";
    }
};

TEST_F(SplitText, OneLinePerPassingOfARunningTeam) {
    form().TeamEntryGrid.SetCells(3, 6, "306"); // team 6 runs as 306
    form().TeamEntryGrid.SetCells(4, 3, "2");   // team 3 is absent
    putRunner(4, 2, "走", "者", "", "", 0, 2);  // team 4's leg 2 runner has no record
    putRunner(5, 1, "走", "者", "", "", 0, 1);  // team 5's leg 1 runner runs open
    form().ApplyCountsAndLayout();
    struct Case {
        std::vector<Row> rows;
        std::string file;
    } cases[] = {
        {{{"12", "93512", "1"}}, "1,1,12,1,93512000,93512000,1\r\n"},
        {{{"12", "2150000", "1"}}, "1,1,12,1,2150000000,2150000000,1\r\n"},
        {{{"12", "93512", "1"}, {"", "", ""}, {"306", "93600", "1"}, {"12", "101010", "2"}},
         "1,1,12,1,93512000,93512000,1\r\n1,1,306,1,93600000,93600000,1\r\n1,1,12,2,101010000,101010000,1\r\n"},
        {{{"99", "93512", ""}, {"3", "93600", "1"}, {"4", "93700", "2"}, {"5", "93800", "1"},
          {"4", "93900", "1"}},
         "1,1,4,1,93900000,93900000,1\r\n"},
    };
    for (const Case& c : cases) {
        fill(c.rows);
        dialogs.ClearLog();
        form().ActionPutSlitText.Execute();
        EXPECT_EQ(written(), c.file);
        EXPECT_EQ(dialogs.Joined(), file().string() + "を作成しました。");
    }
}

TEST_F(SplitText, EmptyGridAndFilesThatCannotBeWritten) {
    form().ActionPutSlitText.Execute();
    EXPECT_EQ(dialogs.Joined(), "ｽﾘｯﾄｸﾞﾘｯﾄﾞは空です。");
    EXPECT_FALSE(fs::exists(form().DataFolder / "DataHTML"));

    std::vector<Row> rows;
    for (int t = 1; t <= 20; ++t) rows.push_back({std::to_string(t), std::to_string(90000 + t), "1"});
    fill(rows);
    // A full disk.
    const std::string shown = RunInChild([&] {
        LimitFileSize(100);
        form().doPutSlitText();
        return dialogs.Texts().back();
    });
    EXPECT_EQ(shown, file().string() + "の作成に失敗しました。");
    EXPECT_EQ(written(), "(none)");

    // The file's place taken by a folder.
    fs::create_directories(file());
    dialogs.ClearLog();
    form().doPutSlitText();
    EXPECT_EQ(dialogs.Joined(), file().string() + "の作成に失敗しました。");

    // The csv folder's place taken by a plain file, which stays as it was.
    fs::remove_all(csvDir());
    ASSERT_TRUE(WriteFileBytes(csvDir(), "x"));
    dialogs.ClearLog();
    form().doPutSlitText();
    EXPECT_EQ(dialogs.Joined(), "Cannot create" + csvDir().string());
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(csvDir(), bytes) && bytes == "x");
}

using AbsentDummies = EntryRace;

TEST_F(AbsentDummies, FillThenClearTheAbsentTeamsRows) {
    openRace(2, 1, 8);
    form().TeamEntryGrid.SetCells(3, 4, "301");
    form().TeamEntryGrid.SetCells(4, 4, "2");
    form().TeamEntryGrid.SetCells(4, 7, "2");
    form().ApplyCountsAndLayout();
    form().MainPage.SetActivePageIndex(2);
    ASSERT_TRUE(form().ActionFillDummy.Enabled());
    EXPECT_EQ(form().ActionFillDummy.Caption(), "欠場ﾀﾞﾐｰ値付加");
    StringGrid& in = form().InputGrid;
    auto dataCells = [&in](int row) {
        const Cells all = in.Row(row);
        return Cells(all.begin() + 1, all.begin() + 5);
    };
    in.SetCells(1, 2, "1");
    in.ClearModified();

    struct Step {
        int answer;
        const char* question;
        Cells row8, row9;
    } steps[] = {
        {mrNo, "欠場チームのﾀﾞﾐｰ値を挿入してもいいですか？", {"", "", "", ""}, {"", "", "", ""}},
        {mrYes, "欠場チームのﾀﾞﾐｰ値を挿入してもいいですか？", {"301", "90001", "301", "90002"},
         {"7", "90001", "7", "90002"}},
        {mrNo, "欠場チームのﾀﾞﾐｰｴﾘｱをｸﾘｱしますか？", {"301", "90001", "301", "90002"}, {"7", "90001", "7", "90002"}},
        {mrYes, "欠場チームのﾀﾞﾐｰｴﾘｱをｸﾘｱしますか？", {"", "", "", ""}, {"", "", "", ""}},
    };
    for (const Step& s : steps) {
        dialogs.ClearLog();
        dialogs.AnswerDlg(s.answer);
        form().ActionFillDummy.Execute();
        EXPECT_EQ(dialogs.Joined(), s.question);
        EXPECT_EQ(dataCells(8), s.row8);
        EXPECT_EQ(dataCells(9), s.row9);
        EXPECT_EQ(in.Modified(), s.answer == mrYes);
        in.ClearModified();
    }
    EXPECT_EQ(in.Cells(1, 2), "1"); // the running teams' rows are left alone
}
