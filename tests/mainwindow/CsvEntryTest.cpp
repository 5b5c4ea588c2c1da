#include "database/RunnerKeys.h"
#include "mainwindow/CsvGrid.h"
#include "mainwindow/EntryRaceFixture.h"
#include "mainwindow/TCSVEntry.h"
#include "platform/Files.h"

#include <fstream>

class CsvEntry : public EntryRace {
  protected:
    TCSVEntry& csv() { return *program->csvEntry; }
    StringGrid& sheet() { return csv().StringGrid1; }
    std::filesystem::path writeFile(const std::string& name, const std::string& bytes) {
        auto p = home.path() / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    // Lines of UTF-8 text into the CSV grid, as a Shift-JIS file read by the window.
    void loadSheet(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        ASSERT_TRUE(LoadCsvToGrid(sheet(), writeFile("entry.csv", ToSjis(text))));
    }
    void markRange(int c0, int r0, int c1, int r1) {
        csv().StringGrid1MouseDown(false, false, false, c0, r0);
        csv().StringGrid1MouseDown(false, true, false, c1, r1);
    }
    // 姓|名|ﾌﾘｾｲ|ﾌﾘﾒｲ|学年 of a runner record, "-" when it does not exist.
    std::string runner(int team, int slot) {
        auto r = ReadRunnerRecord(RunnerKey(team, slot));
        if (!r) return "-";
        return r->Sei + "|" + r->Mei + "|" + r->SeiKana + "|" + r->MeiKana + "|" + std::to_string(r->Age);
    }
    std::vector<std::string> sheetRow(int row) {
        std::vector<std::string> out;
        for (int c = 0; c < sheet().ColCount(); ++c) out.push_back(sheet().Cells(c, row));
        return out;
    }
};

using Cells = std::vector<std::string>;

TEST_F(CsvEntry, ReaderKeepsQuotedCommasAndSurvivesDamagedFiles) {
    openRace(3, 1, 5);
    form().PackEntries();
    const std::string longName(2990, 'a');
    loadSheet({"12,\"山田 太郎,3年\",x", "a,\"b,c", " 7 , " + longName + " ", ""});
    EXPECT_EQ(sheetRow(0), (Cells{"12", "山田 太郎,3年", "x"}));
    EXPECT_EQ(sheetRow(1), (Cells{"a", "b,c", ""})) << "an unclosed quote keeps its commas, no TAB";
    EXPECT_EQ(sheetRow(2), (Cells{"7", longName, ""})) << "a long line is one row";
    EXPECT_EQ(sheet().RowCount(), 5);
    EXPECT_EQ(sheet().FixedRows(), 1);
    EXPECT_EQ(sheet().FixedCols(), 1);

    // Bad Shift-JIS bytes become U+FFFD, the digits and commas around them stay.
    ASSERT_TRUE(LoadCsvToGrid(sheet(), writeFile("bad.csv", "1,\x81,2\r\n\xA0\xFF" "3,x\n")));
    EXPECT_EQ(sheetRow(0), (Cells{"1", "\uFFFD", "2"}));
    EXPECT_EQ(sheetRow(1), (Cells{"\uFFFD\uFFFD" "3", "x", ""}));
    ASSERT_TRUE(LoadCsvToGrid(sheet(), writeFile("bom.csv", "\xEF\xBB\xBF" "5,鈴木\n")));
    EXPECT_EQ(sheetRow(0), (Cells{"5", "鈴木"}));
    ASSERT_TRUE(LoadCsvToGrid(sheet(), writeFile("empty.csv", "")));
    EXPECT_EQ(sheet().RowCount(), 2);
    EXPECT_EQ(sheetRow(0), (Cells{"", ""})) << "the earlier file is gone";

    // Folders, missing and oversized files are not read; the caller says so.
    std::ofstream(home.path() / "huge.csv").close();
    std::filesystem::resize_file(home.path() / "huge.csv", kMaxImportFileBytes + 1);
    for (const char* name : {"huge.csv", "race", "missing.csv"}) {
        dialogs.ClearLog();
        dialogs.AnswerFile((home.path() / name).string());
        form().openCSVFormExecute();
        EXPECT_EQ(dialogs.Joined(), "Cannot open file|CSVファイルが開けませんでした。") << name;
    }
}

TEST_F(CsvEntry, OneColumnGivesNamesYearsAndSlots) {
    openRace(6, 2, 10);
    form().PackEntries();
    loadSheet({"", "", ",,x", ",,山田 太郎3", ",,佐藤　花子②", ",,鈴木一郎", ",,山田 太郎10"});
    csv().editNoCard.SetText("7");
    csv().editTeamName.SetText(" 東西大学 ");
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Joined(), "範囲が指定されていません。");

    markRange(2, 3, 2, 6);
    dialogs.ClearLog();
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Joined(), "4 人の選手を取り込みました。");
    EXPECT_EQ(runner(7, 1), "山田|太郎|||3");
    EXPECT_EQ(runner(7, 2), "佐藤|花子|||2");
    EXPECT_EQ(runner(7, 3), "鈴木一郎||||0");
    EXPECT_EQ(runner(7, 4), "山田|太郎|||10") << "10 is a whole year, not 1";
    EXPECT_EQ(form().TeamEntryGrid.Cells(1, 7), "東西大学");
    EXPECT_TRUE(form().TeamEntryGrid.Modified());

    csv().getOpt.SetChecked(true); // "監督含む": the first name is the coach
    markRange(2, 5, 2, 3);         // marked upwards
    dialogs.ClearLog();
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(runner(7, 0), "山田|太郎|||3");
    EXPECT_EQ(runner(7, 2), "鈴木一郎||||0");
    csv().closeExecute();
    EXPECT_TRUE(form().CSVEntryGetOpt);

    // Team 0 would be the title row; a team without records says what to do.
    for (const char* no : {"0", "11"}) {
        csv().editNoCard.SetText(no);
        dialogs.ClearLog();
        csv().getRunnerNameExeExecute();
        EXPECT_EQ(dialogs.Joined(), "ﾁｰﾑNoが参加ﾁｰﾑ数を超えています。");
    }
    RaceDb().Exec("DELETE FROM " + RunnerTableName(1) + " WHERE Team_Kukan >= 500 AND Team_Kukan < 600");
    csv().editNoCard.SetText("5");
    dialogs.ClearLog();
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Joined(), "0 人の選手を取り込みました。|選手ﾃｰﾌﾞﾙが存在しない可能性があります。\n"
                                "『ｴﾝﾄﾘｰ情報の整理』を実行して下さい。");
    EXPECT_EQ(runner(5, 1), "-") << "nothing is created";
}

TEST_F(CsvEntry, BlockImportsTeamsReadingsAndAliases) {
    openRace(3, 1, 200);
    form().PackEntries();
    form().TeamEntryGrid.SetCells(3, 9, "250"); // team 9 gives the alias up
    loadSheet({"No,チーム,1区,2区,3区",
               ",ﾄｳｻﾞｲ,ﾔﾏﾀﾞ ﾀﾛｳ,ｽｽﾞｷ ｲﾁﾛｳ,",
               "1,東西大学,山田 太郎2,鈴木 一郎,川上　三郎",
               "2,南北高校,a b,,",
               "250,別府クラブ,別府 一,,",
               "1000,多すぎ,x y,,",
               "x,数字でない,z,,"});
    markRange(0, 0, 4, 6);
    dialogs.AnswerDlg(mrYes); // the block question
    dialogs.AnswerDlg(mrYes); // alias 250 for team 3
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Joined(),
              "複数ﾁｰﾑを取り込もうとしています。\n範囲セルは　No、ﾁｰﾑ、選手1、選手2... \n"
              "の横並びﾌｫｰﾏｯﾄでなければなりません。\n(Noが空白の行はﾌﾘｶﾞﾅとします。)\n\n実行しますか?|"
              "250 を Noｶｰﾄﾞ3 の ｴﾘｱｽNo として取込みますか？|1000 はｴﾘｱｽNoの値を超えています。|"
              "3 ﾁｰﾑ、9 人の選手を取り込みました。"); // empty names count: they clear the slot
    const StringGrid& t = form().TeamEntryGrid;
    EXPECT_EQ(t.Row(1), (Cells{"1", "東西大学", "ﾄｳｻﾞｲ", "", t.Cells(4, 1), t.Cells(5, 1), t.Cells(6, 1)}));
    EXPECT_EQ(t.Cells(1, 3), "別府クラブ");
    EXPECT_EQ(t.Cells(3, 3), "250");
    EXPECT_EQ(t.Cells(3, 9), "") << "one alias names one team";
    EXPECT_EQ(t.Cells(2, 2), "") << "no reading row above team 2";
    EXPECT_EQ(runner(1, 1), "山田|太郎|ﾔﾏﾀﾞ|ﾀﾛｳ|2");
    EXPECT_EQ(runner(1, 2), "鈴木|一郎|ｽｽﾞｷ|ｲﾁﾛｳ|0");
    EXPECT_EQ(runner(1, 3), "川上|三郎|||0");
    EXPECT_EQ(runner(2, 1), "a|b|||0");
    EXPECT_EQ(runner(3, 1), "別府|一|||0");
    EXPECT_EQ(runner(4, 1), "||||0");

    // Refused: the block question answered No, a range without runner columns.
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo);
    csv().getRunnerNameExeExecute();
    markRange(0, 0, 1, 3);
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Texts().back(), "選手が指定範囲内に入っていません。");
}

// The import names the rows and runners it could not place; opening a CSV file packs
// only on Yes, and slots kept beyond a lowered leg count need no packing.
TEST_F(CsvEntry, ImportNamesWhatItLeftOutAndOpeningAsksBeforePacking) {
    openRace(4, 1, 3); // slots 1..5
    form().PackEntries();
    loadSheet({"No,x,1,2,3,4,5,6", "1,東,a b,,,,,k l", "2,西,m n", "3,南,o p", "501,北,q r", "502,中,s t"});
    markRange(0, 0, 7, 5);
    dialogs.AnswerDlg(mrYes);
    csv().getRunnerNameExeExecute();
    EXPECT_EQ(dialogs.Texts().back(), "3 ﾁｰﾑ、15 人の選手を取り込みました。\n空きのNoｶｰﾄﾞがなく取り込めなかった"
                                      "No：501、502\n選手枠を超えた選手を取り込めなかったNo：1");
    for (auto [legs, teams, answer, runner31] :
         {std::tuple{1, 3, 0, "o|p|||0"}, {1, 2, int(mrNo), "o|p|||0"}, {1, 2, int(mrYes), "-"}}) {
        form().KukanSpinNum.SetValue(legs), form().KukanSpinNumChange();
        form().SankaSpinNum.SetValue(teams), form().SankaSpinNumChange();
        if (answer) dialogs.AnswerDlg(answer);
        if (answer != mrNo) dialogs.AnswerFile(std::nullopt); // no question: the file dialog comes
        form().openCSVForm.Execute();
        EXPECT_EQ(runner(3, 1), runner31) << teams << "/" << answer;
    }
}

TEST_F(CsvEntry, MouseMarksRangeAndFillsTheBoxes) {
    openRace(3, 1, 20);
    loadSheet({"No,チーム", "12,  中央走友会  ", "25,x"});
    TCSVEntry& w = csv();
    w.StringGrid1MouseDown(false, false, true, 0, 1);
    EXPECT_EQ(w.editNoCard.Text(), "12");
    w.StringGrid1MouseDown(false, false, true, 0, 2);
    EXPECT_EQ(w.editNoCard.Text(), "ﾅﾝﾊﾞｰｶｰﾄﾞ範囲外");
    w.StringGrid1MouseDown(true, false, true, 1, 1);
    EXPECT_EQ(w.editTeamName.Text(), "中央走友会");
    EXPECT_EQ(w.StringGrid1DrawCell(0, 0).Background, 0xA6CAF0) << "no range: light blue everywhere";
    markRange(1, 2, 0, 1);
    EXPECT_EQ(w.StringGrid1DrawCell(0, 2).Background, 0xA6CAF0);
    EXPECT_EQ(w.StringGrid1DrawCell(1, 0).Background, 0x808080);
    EXPECT_EQ(w.StringGrid1DrawCell(1, 1).Align, CellAlign::Center);
    w.StringGrid1MouseDown(true, true, false, 1, 1); // the right button clears the range
    EXPECT_FALSE(w.RangeSet);
    EXPECT_EQ(w.RangeC1, 0);
    w.initTeamParaExecute();
    EXPECT_EQ(w.editNoCard.Text() + w.editTeamName.Text(), "");
}

TEST_F(CsvEntry, PackingMatchesRunnerRecordsToTheTeamCount) {
    openRace(6, 2, 12);
    form().PackEntries();
    putRunner(150, 0, "残り", "");
    form().SankaSpinNum.SetValue(10);
    form().SankaSpinNumChange();
    RaceDb().Exec("DELETE FROM " + RunnerTableName(1) + " WHERE Team_Kukan BETWEEN 1000 AND 1008");
    dialogs.AnswerDlg(mrYes);
    form().SpeedButtonPackEntry.Execute();
    EXPECT_EQ(dialogs.Joined(), "エントリー情報を整理しますか?|エントリー情報を整理しましました。");
    Query q = RaceDb().Prepare("SELECT MIN(Team_Kukan), MAX(Team_Kukan), COUNT(*) FROM " + RunnerTableName(1));
    ASSERT_TRUE(q.Step());
    EXPECT_EQ(q.Column(0).AsInteger(), 100);
    EXPECT_EQ(q.Column(1).AsInteger(), 1008);
    EXPECT_EQ(q.Column(2).AsInteger(), 90);
    q.Reset();
    EXPECT_EQ(RunnerTeamCount(), 10);

    // The CSV road packs first when the runner table does not match the teams.
    form().SankaSpinNum.SetValue(11);
    form().SankaSpinNumChange();
    RaceDb().Exec("DELETE FROM " + RunnerTableName(1) + " WHERE Team_Kukan >= 1100");
    dialogs.ClearLog();
    dialogs.AnswerModal([this](FormBase&) {
        form().openCSVForm.Execute();
        return int(mrOk);
    });
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerFile(std::nullopt);
    EXPECT_TRUE(form().SpeedButtonOpenCSV.Execute()) << "CSV entry is enabled";
    EXPECT_EQ(dialogs.Joined(), "エントリー情報を整理しますか?|エントリー情報を整理しましました。");
    EXPECT_EQ(RunnerTeamCount(), 11);
}
