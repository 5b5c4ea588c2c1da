// The web pages on race F1 as the desk publishes them: the batch of the last leg, the
// web button with and without team pages, the overall pages, the index, the start
// list, the delete action and the faults.
#include "database/RaceFile.h"
#include "output/HtmlPage.h"
#include "output/RecordMarks.h"
#include "platform/Dates.h"
#include "platform/Files.h"
#include "support/F1Race.h"
#include "support/ChildProcess.h"

#include <fstream>

namespace {

bool writeRaw(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

class WebPages : public F1Race {
  protected:
    fs::path Dir() { return form().DataFolder / "DataHTML"; }
    // The page as its reader sees it: Shift-JIS decoded, CR LF as "\n"; every line end is CR LF.
    std::string Page(const std::string& name) {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(Dir() / name, bytes)) << name;
        for (size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " bare LF at " << i;
            }
        return ReplaceAll(FromSjis(bytes), "\r\n", "\n");
    }
    void Touch(const std::string& name) {
        std::filesystem::create_directories(Dir());
        ASSERT_TRUE(writeRaw(Dir() / name, "x"));
    }
};

#define EXPECT_HAS(page, text) EXPECT_NE((page).find(text), std::string::npos) << "missing: " << (text)

TEST_F(WebPages, BatchOnTheLastLegWritesSheetLegAndTeamPages) {
    BuildF1();
    ShowF1(2);
    Touch("s01.html");
    OutputForm->MacroExecute();
    const std::string s02 = Page("s02.html");
    EXPECT_HAS(s02, "<h3>テスト駅伝</h3><h1>第 2 区</h1>\n");
    EXPECT_HAS(s02, "距離 6.1km<table><TR><TH>通過順位</TH>");
    EXPECT_HAS(s02, "<TH>繰上</TH></TR>\n");
    EXPECT_HAS(s02, "<TR><TD>1</TD><TD>1</TD><TD style=text-align:left>東京</TD><TD>▽34'40\"</TD>"
                    "<TD style=text-align:left>ﾔﾏﾀﾞ ﾀﾛｳ<br>★山田  太郎</TD><TD>1</TD><TD>18'55\"</TD>"
                    "<TD></TD></TR>\n");
    EXPECT_TRUE(EndsWith(s02, "凡例：　★=区間賞、◎=新、▽=タイ</body><br><html>\n"));
    EXPECT_EQ(Page("s01.html"), "x");
    EXPECT_HAS(
        Page("leg0_02.html"),
        "<BODY>\n第2区(最終区)<BR>\n距離6.1km<BR>\n-確定-<br>★=区間賞<br>◎=新,▽=ﾀｲ<BR>大会記録 34'40\"<br>\n"
        "チーム順<HR>\n1位 東京<BR>▽34'40\"<BR>★山田 太郎<BR>18'55\"<BR>区間1位<HR>\n");
    EXPECT_HAS(Page("leg1_02.html"), "個人順<HR>\n区間1位<BR>★山田 太郎<BR>(東京)<BR>18'55\"<HR>\n");
    // The batch always wants the team pages and reports them with the pages written,
    // in the notices it shows at its end.
    EXPECT_HAS(Page("leg2_02.html"), "↓<A HREF=\"r1.html\">東京</A><br>\n");
    const std::string m = dialogs.Texts().back();
    EXPECT_HAS(m, (Dir() / "leg0_02.html").string() + "が作成されました。\n");
    EXPECT_HAS(m, "3 個のﾁｰﾑ成績を出力しました。\n");
    EXPECT_HAS(m, (Dir() / "leg1_02.html").string() + "が作成されました。\n");
    EXPECT_FALSE(FileExists(Dir() / "leg2_01.html"));
    EXPECT_FALSE(dialogs.Saw((Dir() / "leg0_02.html").string() + "\nが作成されました。"));
    EXPECT_TRUE(dialogs.Saw("一括処理終了!"));
}

TEST_F(WebPages, TimeGapPageWithAndWithoutTeamPages) {
    BuildF1();
    ShowF1(2);
    dialogs.AnswerDlg(mrNo);
    OutputForm->PutToWeb.Execute();
    EXPECT_TRUE(dialogs.Saw((Dir() / "leg0_02.html").string() + "\nが作成されました。"));
    EXPECT_TRUE(dialogs.Saw("ﾁｰﾑ成績が必要ですか?"));
    EXPECT_FALSE(FileExists(Dir() / "r1.html"));
    std::string gap = Page("leg2_02.html");
    EXPECT_HAS(gap, "<HR>\n↓東京<br>\n15\"大阪AC<br>\n1'20\"(1'05\")横浜<br>\n<HR>\n"
                    "<A HREF=\"leg2_01.html\">→</A>1区ﾀｲﾑ差へ<BR>\n");

    dialogs.AnswerDlg(mrYes);
    OutputForm->PutToWeb.Execute();
    EXPECT_TRUE(dialogs.Saw("3 個のﾁｰﾑ成績を出力しました。"));
    gap = Page("leg2_02.html");
    EXPECT_HAS(gap, "↓<A HREF=\"r1.html\">東京</A><br>\n15\"<A HREF=\"r2.html\">大阪AC</A><br>\n");
    const std::string r1 = Page("r1.html");
    EXPECT_TRUE(EndsWith(r1,
                         "<BODY>\n東京<br>(ﾁｰﾑ成績)<br>\n[1]▽34'40\"<hr>\n1 鈴木 次郎<br>\n15'45\"(2)<hr>\n"
                         "2 山田 太郎<br>\n★18'55\"(1)<hr>\n</BODY></HTML>"))
        << r1;
    // The index lists the leg's pages; a PC placeholder stands until the overall pages exist.
    const std::string index = Page("index.html");
    EXPECT_HAS(index, "<A HREF=\"leg2_02.html\">2区(東京)</A><BR>\n<HR>ﾁｰﾑ順(距離)<BR>\n"
                      "<A HREF=\"leg0_02.html\">2区(6.1km)</A><BR>\n<HR>個人順(区間賞)<BR>\n");
    EXPECT_HAS(Page("indexPC.html"), "最終一覧表はまだ作成されていません。");
}

TEST_F(WebPages, OverallPagesFromTheOverallView) {
    BuildF1();
    LoadKukanBlob(); // the total distance, as the open road reads it
    ShowF1(0);
    OutputForm->PutToWeb.Execute();
    EXPECT_EQ(dialogs.Texts(),
              (std::vector<std::string>{(Dir() / "indexPC.html").string() + "\nが作成されました。",
                                        (Dir() / "KojinResult.html").string() + "\nが作成されました。"}));
    const std::string pc = Page("indexPC.html");
    EXPECT_HAS(pc, "主催：テスト協会<BR>とき:2024年1月14日<BR>");
    EXPECT_HAS(pc, "<TH>総合成績<BR>距離 11.1km<BR>大会記録 34'40\"</TH>\n");
    EXPECT_HAS(pc, "<TH>第 2 区<BR>6.1km<BR></TH>\n");
    EXPECT_HAS(pc, "<TR vAlign=center align=middle><TD align=left>　1)  東京<BR>　　　▽34'40\"</TD>"
                   "<TD>鈴木  次郎<BR>[ 2] 15'45\"<BR>( 2) 15'45\"</TD>");
    EXPECT_TRUE(EndsWith(pc, "<TBODY>\n</TBODY></TABLE></BODY></HTML>"));
    const std::string kojin = Page("KojinResult.html");
    EXPECT_HAS(kojin, "<TH>1区<BR>5km<BR>15'30\"</TH>\n");
    EXPECT_HAS(kojin, "<TR vAlign=center align=middle><TD>佐藤  一郎<BR>大阪AC<BR>15'20\"(1)</TD>");
    EXPECT_FALSE(FileExists(Dir() / "index.html")); // the overall view leaves the index alone
}

TEST_F(WebPages, InterimLegsLeaveEmptyCellsInTheIndividualPage) {
    BuildF1();
    Cell(2, 3, "", ""); // 横浜 not yet at the finish
    ShowF1(0);
    ASSERT_FALSE(form().ResultFinal);
    std::filesystem::create_directories(Dir());
    ASSERT_TRUE(OutputForm->PutKojinResult(Dir() / "KojinResult.html"));
    const std::string kojin = Page("KojinResult.html");
    EXPECT_HAS(kojin, "<TD>田中  四郎<BR>横浜<BR>16'10\"(3)</TD><TD></TD></TR>\n");
    EXPECT_EQ(kojin.find("999"), std::string::npos);
}

TEST_F(WebPages, DeleteAskedTwiceOnTheRaceDayAndSparesFolders) {
    BuildF1();
    form().taikaiBestGrid.SetCells(1, 1, DateToStr(Today()));
    for (const char* n : {"index.html", "leg0_01.html", "a.html.bak", "A.HTML", "notes.html.txt"})
        Touch(n);
    std::filesystem::create_directories(Dir() / "old.html");
    std::filesystem::create_directories(Dir() / "csv");
    for (const char* n : {"members.csv", "kuriage.csv", "slit_text.txt", "x.csv.txt"})
        ASSERT_TRUE(writeRaw(Dir() / "csv" / n, "x"));
    dialogs.AnswerDlg(mrYes);
    dialogs.AnswerDlg(mrYes);
    form().killHtmlExecute();
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                   "大会当日作成のHTMLﾌｧｲﾙですが削除しますか？",
                                   Dir().string() + " 内のhtmlﾌｧｲﾙを削除しても良いですか？元には戻せません?",
                                   "4 個のhtmlﾌｧｲﾙを削除しました。", "4 個のcsv, txt ﾌｧｲﾙを削除しました。"}));
    EXPECT_TRUE(FileExists(Dir() / "A.HTML"));
    EXPECT_TRUE(DirectoryExists(Dir() / "old.html"));

    // Another day: one question; No deletes nothing.
    Touch("index.html");
    form().taikaiBestGrid.SetCells(1, 1, "2024/01/14");
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrNo);
    form().killHtmlExecute();
    EXPECT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_TRUE(FileExists(Dir() / "index.html"));
}

TEST_F(WebPages, FaultsAreReportedAndNothingIsAnnounced) {
    BuildF1();
    ShowF1(0);
    form().SetClassFilter("A");
    OutputForm->PutToWebExecute();
    EXPECT_TRUE(dialogs.Saw("ｸﾗｽﾌｨﾙﾀｰが掛っているのでWeb出力はできません。"));
    EXPECT_FALSE(std::filesystem::exists(Dir()));
    form().SetClassFilter("");

    ASSERT_TRUE(writeRaw(Dir(), "a file"));
    dialogs.ClearLog();
    OutputForm->PutToWebExecute();
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{(Dir() / "").string() +
                                       " の作成に失敗しました。\n同じ名前のファイルがあります。"});
    std::filesystem::remove(Dir());

    // A full disk keeps the published page and says which file failed.
    std::filesystem::create_directories(Dir() / "csv");
    ASSERT_TRUE(writeRaw(Dir() / "indexPC.html", "old"));
    EXPECT_TRUE(WithFileSizeLimit(200, [&] {
        dialogs.ClearLog();
        OutputForm->PutToWebExecute();
        std::string kept;
        return dialogs.Texts() ==
                   std::vector<std::string>{(Dir() / "indexPC.html").string() + "の作成に失敗しました。"} &&
               ReadFileBytes(Dir() / "indexPC.html", kept) && kept == "old";
    }));
    // Team pages that cannot be written are not counted.
    dialogs.AnswerDlg(mrYes);
    ShowF1(2);
    OutputForm->BatchMode = true;
    EXPECT_TRUE(WithFileSizeLimit(100, [&] {
        dialogs.ClearLog();
        return !OutputForm->PutTimeGapPage(Dir() / "leg2_02.html", 2) &&
               dialogs.Saw((Dir() / "r1.html").string() + "の作成に失敗しました。") &&
               dialogs.Saw((Dir() / "leg2_02.html").string() + "の作成に失敗しました。") &&
               OutputForm->BatchMessages.find("0 個のﾁｰﾑ成績を出力しました。\n") != std::string::npos;
    }));
    OutputForm->BatchMode = false;
    dialogs.AnswerDlg(mrYes);
    ShowF1(0);
    // A race date that is no date leaves the published page too.
    form().taikaiBestGrid.SetCells(1, 1, "いつか");
    dialogs.ClearLog();
    OutputForm->PutToWebExecute();
    EXPECT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(Page("indexPC.html"), "old");
}

TEST_F(WebPages, ShowPagesOpensThemOrNamesTheMissingOne) {
    BuildF1();
    form().showHtmlPCExecute();
    EXPECT_TRUE(dialogs.Saw((Dir() / "s01.html").string() + " が見つかりません"));
    Touch("index.html");
    form().showHtmlExecute();
    EXPECT_EQ(shell.Opened, std::vector<std::string>{(Dir() / "index.html").string()});
}

TEST_F(WebPages, IndexListsTheLegPagesInTheFolderNewestFirst) {
    form().DataFolder = home.path() / "race";
    std::filesystem::create_directories(form().DataFolder);
    DataMdl->SetFolder(form().DataFolder);
    form().TaikaiNo = 1;
    OpenTaikaiTable();
    OpenRace(5, 3, 1);
    form().ReceName.SetText("テスト駅伝");
    for (int k = 1; k <= 5; ++k)
        LegInfo(k, "", IntToStr(k + 4), "");
    TeamRow(1, "東京", "");
    TeamRow(2, "大阪AC", "");
    TeamRow(3, "横浜", "");
    PutRunner(1, 2, {"山田", "太郎", "", ""});
    Leg(1, {{2, 1520}, {1, 1545}, {3, 1610}});
    Leg(2, {{1, 3440}, {2, 3455}, {3, 3600}});
    Leg(3, {{1, 5000}, {2, 5100}}); // 横浜 not yet at point 3
    OutputForm->Tag = 3;
    OutputForm->ShowResults();
    ASSERT_FALSE(form().ResultFinal);
    for (const char* n : {"leg0_01.html", "leg0_02.html", "leg0_03.html", "leg1_02.html", "leg2_03.html",
                          "leg5_99.html", "leg0_06.html"})
        Touch(n);
    dialogs.ClearLog();
    ASSERT_TRUE(OutputForm->WriteHtmlIndexPages(Dir(), 3));
    const std::string late = "<font color=\"red\">途</font>";
    EXPECT_HAS(Page("index.html"),
               "テスト駅伝<BR><HR>ﾀｲﾑ差(先頭ﾁｰﾑ)<BR>" + late +
                   "<A HREF=\"leg2_03.html\">3区(東京)</A><BR>\n" + "<HR>ﾁｰﾑ順(距離)<BR>\n" + late +
                   "<A HREF=\"leg0_03.html\">3区(7km)</A><BR>\n" +
                   "<A HREF=\"leg0_02.html\">2区(6km)</A><BR>\n<A HREF=\"leg0_01.html\">1区(5km)</A><BR>\n" +
                   "<HR>個人順(ﾄｯﾌﾟ)<BR>\n<A HREF=\"leg1_02.html\">2区(山田 太郎)</A><BR>\n</BODY></HTML>");
    EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Joined();

    ASSERT_TRUE(OutputForm->WriteHtmlIndexPages(Dir(), 2));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"3区まで処理済みです。\n再処理して下さい。"});
    EXPECT_EQ(Page("index.html").find("3区("), std::string::npos);
}

TEST_F(WebPages, StartListEscapesNamesAndWritesThePreparingIndexOnce) {
    BuildF1();
    TeamRow(1, "<東&西>", "");
    TeamRow(2, "𠮷田AC", "");
    Alias(3, 101);
    dialogs.AnswerDlg(mrNo); // entry list
    form().startListWebClick();
    const std::string s01 = (Dir() / "s01.html").string();
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"ｵｰﾀﾞｰ決定ですか?", s01 + "\nを作成しました。",
                                                         "ｴﾝﾄﾘｰWebファイルを作成しました。",
                                                         "準備中ｲﾝﾃﾞｯｸｽﾌｧｲﾙを作成しました。"}));
    EXPECT_HAS(Page("startlist.html"), "<BODY alink=\"red\" vlink=\"blue\">\n"
                                       "<A HREF=\"teams.html#01\">1 &lt;東&amp;西&gt;</A><br>\n"
                                       "<A HREF=\"teams.html#02\">2 &#x20BB7;田AC</A><br>\n"
                                       "<A HREF=\"teams.html#03\">101 横浜</A><br>\n</BODY></HTML>");
    EXPECT_HAS(Page("teams.html"), "<hr><a name=\"01\">\n1 &lt;東&amp;西&gt;<br>(ｴﾝﾄﾘｰ)<br><br>\n"
                                   "鈴木 次郎<br>山田 太郎<br><hr>");
    EXPECT_HAS(Page("index.html"),
               "テスト駅伝<BR><center>只今準備中<br>\n<hr><a href=\"startlist.html\">ｽﾀｰﾄﾘｽﾄ</a>\n"
               "<hr><a href=\"s01.html\">[PC・スマホ]</a>\n<br><br><br><br>");
    EXPECT_HAS(Page("s01.html"),
               "[第 1 区] [第 2 区] <a href='indexPC.html'>[一覧表]</a><hr>\n<br><center>只今準備中です。");
    EXPECT_EQ(OutputForm->Tag, 0);

    // Order list: numbered runners; the index stays as it was.
    ASSERT_TRUE(writeRaw(Dir() / "index.html", "kept"));
    dialogs.ClearLog();
    dialogs.AnswerDlg(mrYes);
    form().startListWebClick();
    EXPECT_FALSE(dialogs.Saw("準備中ｲﾝﾃﾞｯｸｽﾌｧｲﾙを作成しました。"));
    EXPECT_EQ(Page("index.html"), "kept");
    EXPECT_HAS(Page("teams.html"), "(ｵｰﾀﾞｰ)<br><br>\n1 鈴木 次郎<br>\n2 山田 太郎<br>\n<hr>");
}

TEST_F(WebPages, StartListClosesOnlyWhenEveryPageWasWritten) {
    BuildF1();
    std::filesystem::create_directories(Dir());
    const auto failed = [&](const char* page) { return (Dir() / page).string() + "の作成に失敗しました。|"; };
    const std::string s01 = (Dir() / "s01.html").string();
    const std::pair<std::function<void()>, std::string> faults[] = { // each page told, then the close
        {[] { LimitFileSize(100); }, failed("startlist.html") + failed("teams.html") + s01 +
                                         " の作成に失敗しました。|" + (Dir() / "index.html").string() +
                                         "が作れませんでした。ここ"},
        {[&] { std::filesystem::create_directory(Dir() / "teams.html"); },
         failed("teams.html") + s01 + "\nを作成しました。|準備中ｲﾝﾃﾞｯｸｽﾌｧｲﾙを作成しました。"},
    };
    for (const auto& [make, told] : faults) {
        EXPECT_EQ(RunInChild([&] {
                      make();
                      dialogs.ClearLog();
                      dialogs.AnswerDlg(mrYes); // order list
                      form().startListWebClick();
                      return dialogs.Joined();
                  }),
                  "ｵｰﾀﾞｰ決定ですか?|" + told);
    }
}

TEST_F(WebPages, InterimLegPagesAndAdvancedStartMarks) {
    BuildF1();
    TeamRow(3, "横浜100%", "");
    Kuriage(1, "1600"); // 横浜 starts leg 2 at 16'00"
    Cell(2, 3, "", ""); // and has not finished yet
    ShowF1(2);
    ASSERT_FALSE(form().ResultFinal);
    EXPECT_EQ(OutputForm->FindFirstKuriageLeg(1), 1);
    EXPECT_EQ(OutputForm->FindFirstKuriageLeg(2), 1);
    OutputForm->PutToWebExecute();
    EXPECT_HAS(Page("leg0_02.html"),
               "距離6.1km<BR>\n<font color=\"red\">-途中情報-</font><br>\n◎=新,▽=ﾀｲ<BR>"
               "大会記録 34'40\"<br>\nチーム順<HR>\n1着 東京<BR>▽34'40\"<BR>山田 太郎<BR>"
               "18'55\"<BR>着内1位<HR>\n2着 大阪AC<BR>34'55\"<BR>高橋 三郎<BR>19'35\"<BR>着内2位<HR>\n"
               "<A HREF");
    const std::string gap = Page("leg2_02.html");
    EXPECT_HAS(
        gap,
        "<font color=\"red\">-途中情報-</font><br>\n*印は繰上補正済<HR>\n↓東京<br>\n15\"大阪AC<br>\n<HR>");
    EXPECT_FALSE(dialogs.Saw("ﾁｰﾑ成績が必要ですか?")); // no team pages before the results are final

    // A restart is no advanced start; on its own relay point's leg it is an advanced start.
    Kuriage(1, "-1600");
    EXPECT_EQ(OutputForm->FindFirstKuriageLeg(2), 0);
    Kuriage(1, "1600");
    ShowF1(1);
    OutputForm->PutToWebExecute();
    EXPECT_HAS(Page("leg2_01.html"), "*印は繰上出発<HR>\n");
    EXPECT_HAS(Page("leg0_01.html"), "3位 横浜100%<BR>16'10\"<BR>田中 四郎<HR>\n");
}

// Where the pages print a time whole, it keeps its padded form: " 9'30\"", " 5ﾟ12'30\"".
TEST_F(WebPages, TimesPrintedWholeKeepTheirPadding) {
    BuildF1();
    LegInfo(1, "中継所", "5", "930");
    Leg(1, {{2, 930}, {1, 945}, {3, 1010}});
    Leg(2, {{1, 51230}, {2, 51240}, {3, 51300}});
    ShowF1(0);
    OutputForm->PutToWeb.Execute();
    dialogs.AnswerDlg(mrYes); // "再計算しますか ?"
    ShowF1(1);
    OutputForm->PutToWeb.Execute();
    OutputForm->UpDownBtn.Execute(); // individual order
    OutputForm->PutToWeb.Execute();
    ShowF1(2); // other legs: no recompute question
    dialogs.AnswerDlg(mrYes); // ﾁｰﾑ成績が必要ですか?
    OutputForm->PutToWeb.Execute();
    const std::pair<const char*, const char*> expected[] = {
        {"KojinResult.html", "<BR> 9'30\"(1)</TD>"},
        {"leg0_01.html", "区間記録 9'30\"<BR>\n"},
        {"leg1_01.html", "<BR>▽ 9'30\"<HR>\n"},
        {"r1.html", "[1] 5ﾟ12'30\"<hr>\n"},
        {"r1.html", "1 鈴木 次郎<br>\n 9'45\"(2)<hr>\n2 山田 太郎<br>\n★ 5ﾟ02'45\"(1)<hr>\n"}};
    for (auto [page, text] : expected)
        EXPECT_HAS(Page(page), text) << page;
}
