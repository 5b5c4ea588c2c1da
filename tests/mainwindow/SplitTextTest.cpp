// The split text file "slit_text.txt" of the passings of running teams, and the
// dummy rows of the absent teams in the input grid.
#include "mainwindow/EntryRaceFixture.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"

using Cells = std::vector<std::string>;

class SplitText : public EntryRace {
  protected:
    void SetUp() override {
        EntryRace::SetUp();
        openRace(2, 1, 20);
    }
    fs::path csvDir() { return form().DataFolder / "DataHTML" / "csv"; }
    fs::path file() { return csvDir() / "slit_text.txt"; }
    // Split rows of number, time, leg; the file written and the last message.
    std::string put(const std::vector<Cells>& rows) {
        TMainForm::ClearGridData(form().tempKukanGrid, -1);
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 3; ++c)
                form().tempKukanGrid.SetCells(c + 1, 2 + static_cast<int>(r), rows[r][c]);
        form().ActionPutSlitText.Execute();
        std::string b;
        return (ReadFileBytes(file(), b) ? b : "(none)") + "|" + dialogs.Texts().back();
    }
};

TEST_F(SplitText, OneLinePerPassingOfARunningTeam) {
    form().TeamEntryGrid.SetCells(3, 6, "306"); // team 6 runs as 306
    form().TeamEntryGrid.SetCells(4, 3, "2");   // team 3 is absent
    putRunner(4, 2, "走", "者", "", "", 0, 2);  // team 4's leg 2 runner has no record
    putRunner(5, 1, "走", "者", "", "", 0, 1);  // team 5's leg 1 runner runs open
    form().ApplyCountsAndLayout();
    const std::string made = "|" + file().string() + "を作成しました。";
    EXPECT_EQ(put({{"12", "93512", "1"}}), "1,1,12,1,93512000,93512000,1\r\n" + made);
    EXPECT_EQ(put({{"12", "2150000", "1"}}), "1,1,12,1,2150000000,2150000000,1\r\n" + made);
    EXPECT_EQ(put({{"12", "93512", "1"}, {"", "", ""}, {"306", "93600", "1"}, {"99", "93700", ""},
                   {"3", "93800", "1"}, {"4", "93900", "2"}, {"5", "94000", "1"}, {"4", "94100", "1"}}),
              "1,1,12,1,93512000,93512000,1\r\n1,1,306,1,93600000,93600000,1\r\n"
              "1,1,4,1,94100000,94100000,1\r\n" + made);
}

TEST_F(SplitText, EmptyGridAndFilesThatCannotBeWritten) {
    EXPECT_EQ(put({}), "(none)|ｽﾘｯﾄｸﾞﾘｯﾄﾞは空です。");
    EXPECT_FALSE(fs::exists(form().DataFolder / "DataHTML"));
    std::vector<Cells> rows(20, Cells{"12", "93512", "1"});
    const std::string failed = "(none)|" + file().string() + "の作成に失敗しました。";
    EXPECT_EQ(RunInChild([&] { // a full disk
                  LimitFileSize(100);
                  return put(rows);
              }),
              failed);
    fs::create_directories(file()); // a folder in the file's place
    EXPECT_EQ(put(rows), failed);
    fs::remove_all(csvDir()); // a plain file in the folder's place stays as it was
    WriteFileBytes(csvDir(), "x");
    EXPECT_EQ(put(rows), "(none)|" + (csvDir() / "").string() +
                             " の作成に失敗しました。\n同じ名前のファイルがあります。");
    std::string kept;
    EXPECT_TRUE(ReadFileBytes(csvDir(), kept) && kept == "x");
}

TEST_F(SplitText, AbsentTeamDummiesFillThenClear) {
    openRace(2, 1, 8);
    form().TeamEntryGrid.SetCells(3, 4, "301");
    form().TeamEntryGrid.SetCells(4, 4, "2");
    form().TeamEntryGrid.SetCells(4, 7, "2");
    form().ApplyCountsAndLayout();
    form().MainPage.SetActivePageIndex(2);
    EXPECT_EQ(form().ActionFillDummy.Caption(), "欠場ﾀﾞﾐｰ値付加");
    StringGrid& in = form().InputGrid;
    in.SetCells(1, 2, "1");
    const Cells empty(8, ""), dummies{"301", "90001", "301", "90002", "7", "90001", "7", "90002"};
    const char* fill = "欠場チームのﾀﾞﾐｰ値を挿入してもいいですか？";
    const char* clear = "欠場チームのﾀﾞﾐｰｴﾘｱをｸﾘｱしますか？";
    const struct Step {
        int answer;
        const char* question;
        Cells rows8and9;
    } steps[] = {{mrNo, fill, empty}, {mrYes, fill, dummies}, {mrNo, clear, dummies}, {mrYes, clear, empty}};
    for (const Step& s : steps) {
        in.ClearModified();
        dialogs.AnswerDlg(s.answer);
        ASSERT_TRUE(form().ActionFillDummy.Execute());
        EXPECT_EQ(dialogs.Texts().back(), s.question);
        Cells cells;
        for (int r : {8, 9})
            for (int c = 1; c <= 4; ++c) cells.push_back(in.Cells(c, r));
        EXPECT_EQ(cells, s.rows8and9);
        EXPECT_EQ(in.Modified(), s.answer == mrYes);
    }
    EXPECT_EQ(in.Cells(1, 2), "1"); // the running teams' rows are left alone
}
