#include "mainwindow/GridOps.h"
#include "mainwindow/TFormClockInput.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "support/ChildProcess.h"
#include "support/ProgramFixture.h"

#include <fstream>

namespace {
using Cells = std::vector<std::string>;
const char* kSkipped = "いくつかのデータは取り込んでいません。";
} // namespace

// The clock-time window on a leg of a three-leg race; files read and written beside it.
class ClockCsv : public ProgramFixture {
  protected:
    void openOn(int teams, int leg) {
        form().KukanSpinNum.SetValue(3);
        form().SankaSpinNum.SetValue(teams);
        form().ApplyCountsAndLayout();
        form().InputGrid.SetCurrent(2 * leg, 2);
        c().SetupClockGrid();
        c().FormShow();
    }
    TFormClockInput& c() { return *FormClockInput; }
    StringGrid& grid() { return c().ClocInputStringGrid; }
    std::string path(const std::string& name) { return (home.path() / name).string(); }
    std::string writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // Columns 1..3 of the clock grid's data rows, "|"-joined per row.
    Cells rows() {
        Cells out;
        for (int r = 1; r < grid().RowCount(); ++r)
            out.push_back(grid().Cells(1, r) + "|" + grid().Cells(2, r) + "|" + grid().Cells(3, r));
        return out;
    }
    void openFiles(const Cells& names) {
        Cells paths;
        for (const auto& n : names) paths.push_back(path(n));
        dialogs.AnswerFiles(paths);
        form().OpenCsvData.Execute();
    }
};

TEST_F(ClockCsv, SavedFileReadsBackIntoTheSameRows) {
    openOn(4, 2);
    grid().SetCells(1, 1, "2");
    grid().SetCells(2, 1, "45312");
    grid().SetCells(3, 1, "52312");
    grid().SetCells(1, 2, "4");
    grid().SetCells(3, 4, "60000");
    dialogs.AnswerFile(path("002.csv"));
    form().SaveCsvData.Execute();
    EXPECT_EQ(dialogs.LastFileRequest().FileName, "002.csv");
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path("002.csv"), bytes));
    EXPECT_EQ(bytes, ToSjis("順,No.,経過ﾀｲﾑ,通過ﾀｲﾑ\r\n1,2,45312,52312\r\n2,4,,\r\n3,,,\r\n4,,,60000\r\n"));
    EXPECT_EQ(dialogs.Joined(), path("002.csv") + "\nを保存しました。");

    const Cells saved = rows();
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo); // the grid has data: clear it first
    openFiles({"002.csv"});
    EXPECT_EQ(rows(), saved);
    EXPECT_EQ(form().exCsvFilePath, home.path().string());

    // A full disk: no saved message, and the file that was there stays whole.
    dialogs.ClearLog();
    grid().SetCells(3, 3, "77777");
    EXPECT_TRUE(WithFileSizeLimit(40, [&] {
        dialogs.AnswerFile(path("002.csv"));
        c().SaveClockCsv();
        return dialogs.Joined() == "ファイルがオープン出来ません";
    }));
    ASSERT_TRUE(ReadFileBytes(path("002.csv"), bytes));
    EXPECT_EQ(FromSjis(bytes).find("77777"), std::string::npos);
}

TEST_F(ClockCsv, KeywordsFieldsAndLineLimits) {
    openOn(4, 2);
    form().TeamEntryGrid.SetCells(1, 3, "東西大学");
    form().TeamEntryGrid.SetCells(1, 4, "南北ＡＣ");
    form().TeamEntryGrid.SetCells(3, 4, "120");
    writeFile("legs.csv", ToSjis("Leg,3\r\nInvoke,09:30\r\n1,\"東西大学\",1:02:03\r\n2,南北ac,,\r\n,9,9\r\n"
                                 "3,99999999999,12345678901\r\n4,3,,,,,,\r\n"));
    dialogs.AnswerDlg(mrYes); // change to leg 3
    dialogs.AnswerDlg(mrYes); // set 09:30
    openFiles({"legs.csv"});
    EXPECT_EQ(c().FileLeg, 3);
    EXPECT_EQ(c().FileInvoke, 930);
    EXPECT_EQ(dialogs.Texts().at(0), "2区とLeg=3が一致していません。\n区間を変更しますか？");
    EXPECT_EQ(dialogs.Texts().at(1), "Invoke 09:30 を設定してもよいですか？");
    EXPECT_EQ(c().KukanNo, 3);
    EXPECT_EQ(c().TimeCol, 6);
    EXPECT_EQ(c().Lbl_KName.Caption(), "3区");
    EXPECT_EQ(c().ClockStartTimes[3], 9 * 3600 + 30 * 60);
    EXPECT_EQ(c().lblTimeGap.Caption(), "起タイム= 9時間30分");
    // A team name gives its card, or its alias above the team count; a line without an
    // order number leaves nothing; more than ten digits are no value; an empty seventh
    // field is no column.
    EXPECT_EQ(rows(), (Cells{"3|10203|", "120||", "||", "3||"}));

    writeFile("wide.csv", "1,2,3,4,5,6,7\n");
    dialogs.ClearLog();
    openFiles({"wide.csv"});
    EXPECT_EQ(dialogs.Joined(), "ﾀｰｹﾞｯﾄﾌｧｲﾙのｶﾗﾑ数が多すぎます。|読み込みに失敗しました。");

    std::string lines;
    for (int i = 1; i <= 1200; ++i) lines += Format("%d,%d\n", i, i % 3 + 1);
    writeFile("long.csv", lines);
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo); // clear the grid first
    openFiles({"long.csv"});
    EXPECT_EQ(dialogs.Texts().front(), "行数が999 を超えました。");
    EXPECT_EQ(dialogs.Texts().back(), kSkipped) << "orders above the team count";
    EXPECT_EQ(c().InputTestGrid.RowCount(), 999);
    lines.resize(lines.find("1000,"));
    writeFile("exact.csv", lines);
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo);
    openFiles({"exact.csv"});
    EXPECT_EQ(dialogs.Joined().find("行数"), std::string::npos);

    // Damaged inputs: unreadable files fail, bad bytes keep their digits.
    std::ofstream(path("huge.csv")).close();
    std::filesystem::resize_file(path("huge.csv"), 16LL * 1024 * 1024 + 1);
    for (const char* name : {"huge.csv", "missing.csv"}) {
        dialogs.ClearLog();
        openFiles({name});
        EXPECT_EQ(dialogs.Joined(), "ファイル読み込み失敗|読み込みに失敗しました。") << name;
    }
    EXPECT_TRUE(c().ImportClockCsv(writeFile("bad.csv", "\xEF\xBB\xBF" "1,2,\x81\xFF" "45\n"), false));
    EXPECT_EQ(c().InputTestGrid.Row(0), (Cells{"1", "2", "45", "", ""}));
    EXPECT_EQ(TFormClockInput::DigitsValue("2147483648"), 0);
    EXPECT_EQ(TFormClockInput::DigitsValue("a2147483647"), 2147483647);
}

// Team names place their numbers whatever the file's encoding.
TEST_F(ClockCsv, TeamNamesPlaceTheirNumbersInShiftJisAndUtf8) {
    openOn(3, 1);
    for (int t = 1; t <= 3; ++t)
        form().TeamEntryGrid.SetCells(1, t, std::string(t == 1 ? "東" : t == 2 ? "西" : "南") + "チーム");
    const std::string text = "1,西チーム,45312\r\n2,南チーム\r\n3,東チーム\r\n";
    for (const std::string& bytes : {ToSjis(text), "\xEF\xBB\xBF" + text, text}) {
        ClearGridRange(grid(), 1, grid().RowCount());
        dialogs.ClearLog();
        writeFile("names.csv", bytes);
        openFiles({"names.csv"});
        EXPECT_EQ(rows(), (Cells{"2|45312|", "3||", "1||"})) << bytes << dialogs.Joined();
    }
}

TEST_F(ClockCsv, NumberCheckPlacesByNumberOrByOrder) {
    openOn(5, 1);
    form().TeamEntryGrid.SetCells(4, 5, "2"); // team 5 absent
    form().TeamEntryGrid.SetCells(3, 3, "120");
    const std::string buffer = "1,2\n2,3\n3,120\n7,1\n";
    for (int answer : {mrYes, mrNo}) {
        ClearGridRange(grid(), 1, grid().RowCount());
        dialogs.ClearLog();
        clipboard.SetText(buffer);
        dialogs.AnswerDlg(mrYes); // the preview
        dialogs.AnswerDlg(answer);
        form().clippeek.Execute();
        EXPECT_EQ(dialogs.Texts().at(1), "利用できないNoか、エリアスNoを使用していないデータが含まれています。\n"
                                         "これらのデータは取り込まなくていいですか？");
        EXPECT_EQ(dialogs.Texts().back(), kSkipped);
        const Cells want = answer == mrYes ? Cells{"2||", "120||", "1||", "||"} : Cells{"2||", "3||", "120||", "||"};
        EXPECT_EQ(rows(), (Cells{want[0], want[1], want[2], want[3], "||"})) << answer;
    }
    EXPECT_EQ(dialogs.Texts().at(0), "1,2\n2,3\n3,120\n7,1\n\n\nｸﾘｯﾌﾟﾎﾞｰﾄﾞの中身です。\n取り込みを試みますか？");

    // Several files fill the free rows in turn; the first may clear the grid.
    writeFile("a.csv", "1,4\n2,,5000\n");
    writeFile("b.csv", "1,1\n9,2\n");
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes); // clear the grid
    openFiles({"a.csv", "b.csv"});
    EXPECT_EQ(rows(), (Cells{"4||", "|5000|", "1||", "||", "||"}));
    EXPECT_EQ(dialogs.Joined(), "ｸﾞﾘｯﾄﾞにﾃﾞｰﾀが存在します。ｸﾘｱして取り込んでもいいですか？|" + std::string(kSkipped));

    for (auto [text, message] : {std::pair{"", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞは空です。"}, {"1\t2", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞはCSVではありません。"}}) {
        clipboard.SetText(text);
        dialogs.ClearLog();
        form().clippeek.Execute();
        EXPECT_EQ(dialogs.Joined(), message);
    }
    clipboard.SetText(std::string(30, 'x') + "," + std::string(40, 'y') + "あいうえおか");
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo);
    form().clippeek.Execute();
    EXPECT_EQ(dialogs.Joined(), std::string(30, 'x') + "," + std::string(40, 'y') + "あいうえ....." +
                                    "\n\nｸﾘｯﾌﾟﾎﾞｰﾄﾞの中身です。\n取り込みを試みますか？");
}

// A file of another leg brings that leg's cells: "書込" puts nothing of the old leg into it.
TEST_F(ClockCsv, ChangingToTheFilesLegShowsThatLegsCells) {
    openOn(4, 2);
    StringGrid& in = form().InputGrid;
    in.SetCells(3, 2, "3"), in.SetCells(4, 2, "52312"), in.SetCells(5, 2, "1"); // leg 2 "3", leg 3 "1"
    c().SetupClockGrid();
    writeFile("leg3.csv", "Leg,3\n2,3,1:02:03\n");
    for (int answer : {mrYes, mrYes, mrNo}) dialogs.AnswerDlg(answer); // add, change the leg, write unconverted
    openFiles({"leg3.csv"});
    EXPECT_EQ(rows(), (Cells{"1||", "3|10203|", "||", "||"}));
    c().CnvExeBtn.Execute();
    EXPECT_EQ(in.Row(2), (Cells{"1", "", "", "3", "52312", "1", ""}));
    EXPECT_EQ(in.Cells(5, 3), "3");
}

// Imported times keep their minus for the minus checks; a clipboard without text is told.
TEST_F(ClockCsv, ImportedTimesKeepTheirSign) {
    openOn(4, 1);
    writeFile("minus.csv", "1,2,-0:00:05,\"-1:00:00\"\n-2,-3,5-\n");
    openFiles({"minus.csv"});
    EXPECT_EQ(rows(), (Cells{"2|-5|-10000", "|5|", "||", "||"})); // an order number: its digits
    clipboard.SetNoText();
    dialogs.ClearLog();
    for (Action* a : {&c().timCnvSpeed2, &form().clippeek}) a->Execute();
    EXPECT_EQ(dialogs.Joined(), "ﾏｲﾅｽﾃﾞｰﾀがあります。\n処理を中止します。|ｸﾘｯﾌﾟﾎﾞｰﾄﾞはテキストではありません。");
}
