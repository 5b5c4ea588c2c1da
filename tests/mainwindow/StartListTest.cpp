// The start lists of the entry page over F1: members.csv with its keys, numbers,
// classes and failures, the head lines, the Excel start list and the order sheet.
#include "platform/Files.h"
#include "platform/Services.h"
#include "support/F1Race.h"
#include "support/ChildProcess.h"
#include "support/StatementCount.h"

class StartList : public F1Race {
  protected:
    RecordingReports reports;
    std::filesystem::path csv() { return form().DataFolder / "DataHTML" / "csv" / "members.csv"; }
    void SetUp() override {
        F1Race::SetUp();
        CurrentServices().reports = &reports;
        BuildF1();
        LoadKukanBlob();
        form().StartListExcel.SetEnabled(true);
        form().StartListPrev.SetEnabled(true);
    }
    // The Excel button: the real-time list with the order answer, then no Excel list.
    std::string Members(int order) {
        std::filesystem::remove(csv());
        dialogs.AnswerDlg(mrYes);
        dialogs.AnswerDlg(order);
        dialogs.AnswerDlg(mrNo);
        form().StartListExcel.Execute();
        std::string bytes;
        ReadFileBytes(csv(), bytes);
        return bytes;
    }
};

TEST_F(StartList, MembersCsvKeysNumbersAndClasses) {
    EXPECT_EQ(Members(mrYes), ToSjis(",distance,5km,6.1km,\r\n1,東京,鈴木  次郎,山田  太郎\r\n"
                                     "2,大阪AC,佐藤  一郎,高橋  三郎\r\n3,横浜,田中  四郎,伊藤  五郎\r\n"));
    EXPECT_EQ(dialogs.Texts().at(2), csv().string() + "を作成しました。");
    EXPECT_TRUE(StartsWith(Members(mrNo), ",distance_,5km,6.1km,\r\n"));
    form().KukanInfGrid.SetCells(4, 1, "1");
    form().KukanInfGrid.SetCells(4, 2, "2");
    EXPECT_TRUE(StartsWith(Members(mrYes), ",split,1,2,\r\n,distance,"));

    // Alias 250 is written for its team, an absent team is left out; classes on every
    // team put the letter before the name and the named classes at the end.
    Alias(1, 250);
    Op(3, 2);
    Class(1, "A"), Class(2, "B"), Class(3, "A");
    OutputForm->PrizeSettings.ClassAlias[0] = "一般"; // named in the prize settings
    const std::string text = FromSjis(Members(mrYes));
    EXPECT_NE(text.find("\r\n250,[A]東京,鈴木  次郎,山田  太郎\r\n2,[B]大阪AC,"), std::string::npos) << text;
    EXPECT_EQ(text.find("横浜"), std::string::npos);
    EXPECT_TRUE(EndsWith(text, "\r\nA,一般\r\n"));
}

TEST_F(StartList, MembersCsvRefusalsAndWriteFailures) {
    Alias(2, 3);
    dialogs.ClearLog();
    EXPECT_EQ(Members(mrYes), "");
    EXPECT_TRUE(dialogs.Saw("ｴﾘｱｽ番号(3)は参加チーム数(3)より大きくなければなりません。"))
        << dialogs.Joined();
    Alias(2, 0);
    form().TeamEntryGrid.SetCells(3, 2, "");
    // A disk that takes nothing: the failure, never the success notice.
    EXPECT_TRUE(WithFileSizeLimit(0, [&] {
        dialogs.ClearLog();
        Members(mrYes);
        return dialogs.Saw(csv().string() + "の作成に失敗しました。") && !FileExists(csv());
    }));
}

TEST_F(StartList, HeadLinesAndExcelStartList) {
    EXPECT_EQ(form().StartListHeadLines(true),
              (std::vector<std::string>{"主催：テスト協会", "とき:2024年1月14日",
                                        "第1区(5km 15'30\") スタート ～ 中継所 ",
                                        "第2区(6.1km) 中継所 ～ ゴール ", "総距離 11.1km(34'40\")"}));
    // No real-time list, the Excel list, no readings, no coach, names with a blank.
    for (int a : {mrNo, mrYes, mrNo, mrYes, mrNo, mrNo})
        dialogs.AnswerDlg(a);
    form().StartListExcel.Execute();
    const std::string head = "テスト駅伝\n主催：テスト協会\nとき:2024年1月14日\n"
                             "第1区(5km 15'30\") スタート ～ 中継所 \n第2区(6.1km) 中継所 ～ ゴール \n"
                             "総距離 11.1km(34'40\")\n";
    EXPECT_TRUE(StartsWith(
        clipboard.GetText(),
        head + "ﾅﾝﾊﾞｰ\tチーム名\t第1区\t第2区\t補欠\t\n1\t東京\t鈴木 次郎\t山田 太郎\t\t\n2\t大阪AC\t"))
        << clipboard.GetText();
    // With readings a row of them goes before the team's row.
    for (int a : {mrNo, mrYes, mrYes, mrYes, mrNo, mrNo})
        dialogs.AnswerDlg(a);
    form().StartListExcel.Execute();
    EXPECT_NE(clipboard.GetText().find("補欠\t\n\t\tｽｽﾞｷ ｼﾞﾛｳ\tﾔﾏﾀﾞ ﾀﾛｳ\t\t\n1\t東京\t"), std::string::npos);
}

TEST_F(StartList, OrderSheetBlocks) {
    form().StartListPrev.Execute();
    ASSERT_EQ(reports.Previews, 1);
    const ReportPage& p = reports.LastPages.at(0);
    EXPECT_EQ(p.ItemsOf("QRLabel2").at(0)->Lines.at(0), "テスト駅伝 オーダー用紙");
    EXPECT_EQ(p.ItemsOf("QRMemo1").at(0)->Lines,
              (std::vector<std::string>{"主催：テスト協会", "とき:2024年1月14日"}));
    const std::vector<std::string>& lines = p.ItemsOf("QRMemoRunner").at(0)->Lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], " 1) [   ] 鈴木  次郎    ｽｽﾞｷ ｼﾞﾛｳ");
    EXPECT_EQ(lines[2], " 3) [   ]" + std::string(16, ' '));
    EXPECT_EQ(p.ItemsOf("QrNCard").at(0)->Lines.at(0), "  1");
    EXPECT_EQ(p.ItemsOf("QrTeam").at(0)->Lines.at(0), "東京");
}

// However many teams and slots a start list prints, it reads the runner table once (the
// Excel list asks once more whether there are readings at all).
TEST_F(StartList, EachStartListReadsTheRunnersOnce) {
    const std::string runners = "選手情報";
    // Real-time list (order decided), the Excel list with readings, no coach, not saved.
    for (int a : {mrYes, mrYes, mrYes, mrYes, mrYes, mrNo, mrNo})
        dialogs.AnswerDlg(a);
    EXPECT_EQ(StatementsNaming(runners, [&] { form().StartListExcel.Execute(); }), 2);
    std::string members;
    ReadFileBytes(csv(), members);
    EXPECT_NE(FromSjis(members).find("1,東京,鈴木  次郎,山田  太郎"), std::string::npos);
    EXPECT_NE(clipboard.GetText().find("\t\tｽｽﾞｷ ｼﾞﾛｳ\tﾔﾏﾀﾞ ﾀﾛｳ\t\t\n1\t東京\t鈴木 次郎\t"), std::string::npos)
        << clipboard.GetText();
    EXPECT_EQ(StatementsNaming(runners, [&] { form().StartListPrev.Execute(); }), 1);
    EXPECT_EQ(reports.LastPages.at(0).ItemsOf("QRMemoRunner").at(0)->Lines.at(0),
              " 1) [   ] 鈴木  次郎    ｽｽﾞｷ ｼﾞﾛｳ");
}

// A comma, a double quote or a line end in a name would shift the columns: such a field
// is quoted (its quotes doubled), every other field stays bare.
TEST_F(StartList, MembersCsvQuotesFieldsThatWouldBreakTheColumns) {
    const std::pair<const char*, const char*> names[] = {
        {"大阪,AC", "\"大阪,AC\""}, {"東京\"A\"", "\"東京\"\"A\"\"\""}, {"横浜", "横浜"}};
    for (int t = 1; t <= 3; ++t)
        form().TeamEntryGrid.SetCells(1, t, names[t - 1].first);
    const std::vector<std::string> lines = Split(FromSjis(Members(mrYes)), '\n');
    ASSERT_EQ(lines.size(), 5u);
    for (int t = 1; t <= 3; ++t)
        EXPECT_TRUE(StartsWith(lines[t], IntToStr(t) + "," + names[t - 1].second + ",")) << lines[t];
    EXPECT_EQ(lines[1], "1,\"大阪,AC\",鈴木  次郎,山田  太郎\r");
}

// The order sheet: a long team name is set smaller to fit its box whole, a team whose
// runner lines run on over a page has its number and name again there, and the names
// are padded by the columns they take, so a name holding 𠮷 keeps the readings in line.
TEST_F(StartList, OrderSheetNamesFitAndBlocksRunOnWithTheirTeam) {
    const std::string longName = "東西南北選抜駅伝クラブ長距離部Ａチーム";
    form().TeamEntryGrid.SetCells(1, 1, longName);
    PutRunner(1, 1, {"𠮷田", "次郎", "ｽｽﾞｷ", "ｼﾞﾛｳ"});
    form().HoketuNum = 30; // 32 runner lines: more than a page
    form().StartListPrev.Execute();
    const std::vector<ReportPage>& pages = reports.LastPages;
    ASSERT_GE(pages.size(), 3u);
    const PageItem& team1 = *pages[0].ItemsOf("QrTeam").at(0);
    EXPECT_EQ(team1.Lines.at(0), longName);
    EXPECT_LT(team1.Font.Size, 26);
    EXPECT_LE(reports.FixedWidths.Width(longName, team1.Font), team1.W);
    const std::vector<std::string>& lines = pages[0].ItemsOf("QRMemoRunner").at(0)->Lines;
    EXPECT_EQ(lines.at(0), " 1) [   ] 𠮷田   次郎   ｽｽﾞｷ ｼﾞﾛｳ");
    EXPECT_EQ(DisplayWidth(lines.at(0).substr(0, lines.at(0).find("ｽｽﾞｷ"))),
              DisplayWidth(lines.at(1).substr(0, lines.at(1).find("ﾔﾏﾀﾞ"))));
    // Page 2 goes on with team 1's lines under its number and name (a short name keeps its size).
    const PageItem& cont = *pages[1].ItemsOf("QRMemoRunner").at(0);
    EXPECT_EQ(cont.Lines.at(0).substr(0, 4), Format("%2d) ", static_cast<int>(lines.size()) + 1));
    for (const char* name : {"QrNCard", "QrTeam"}) {
        ASSERT_FALSE(pages[1].ItemsOf(name).empty()) << name;
        EXPECT_LE(pages[1].ItemsOf(name).at(0)->Y + pages[1].ItemsOf(name).at(0)->H, cont.Y) << name;
    }
    EXPECT_EQ(pages[1].ItemsOf("QrNCard").at(0)->Lines.at(0), "  1");
    EXPECT_EQ(pages[1].ItemsOf("QrTeam").at(0)->Lines.at(0), longName);
    EXPECT_EQ(pages[1].ItemsOf("QRLabel3").size(), 0u); // the coach only where the block starts
    const PageItem* team2 = nullptr;
    for (const ReportPage& p : pages)
        for (const PageItem* it : p.ItemsOf("QrTeam"))
            if (it->Lines.at(0) == "大阪AC" && !team2) team2 = it;
    ASSERT_NE(team2, nullptr);
    EXPECT_EQ(team2->Font.Size, 26);
}
