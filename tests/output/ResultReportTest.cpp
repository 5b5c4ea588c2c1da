// The printed result report over F1, laid out headless with a measure of 10 px per
// character of a grid sample: page geometry, column widths and titles, the records,
// the lines closing each team block and the forced page breaks.
#include "support/F1Race.h"

#include "platform/Services.h"
#include "support/StatementCount.h"

class ResultReport : public F1Race {
  protected:
    RecordingReports reports;
    void SetUp() override {
        F1Race::SetUp();
        CurrentServices().reports = &reports;
        BuildF1();
        LoadKukanBlob();
    }
    const ReportPage& page(int i = 0) { return reports.LastPages.at(i); }
};

TEST_F(ResultReport, OverallViewGeometryTitlesAndBlockLines) {
    ShowF1(0);
    OutputForm->OpenResultRepExecute();
    ASSERT_EQ(reports.Previews, 1);
    ASSERT_EQ(reports.LastPages.size(), 1u);
    const ReportPage& p = page();
    // Titles of the three columns, over the widths 210, 130, 130 on screen.
    const auto titles = [&](int i) { return p.ItemsOf(Format("QRLabel%d", i)).at(0)->Lines; };
    EXPECT_EQ(titles(0), (std::vector<std::string>{"総合成績", "  距離 11.1km", "  大会記録 34'40\""}));
    EXPECT_EQ(titles(1), (std::vector<std::string>{"第 1 区", "5km", "15'30\""}));
    EXPECT_EQ(titles(2), (std::vector<std::string>{"第 2 区", "6.1km"}));
    std::vector<int> w, x;
    const int left = static_cast<int>(MmToReportPx(20));
    for (int i = 0; i < 3; ++i) {
        const PageItem* it = p.ItemsOf(Format("QRDBText%d", i)).at(1);
        w.push_back(it->W);
        x.push_back(it->X - left);
    }
    EXPECT_EQ(w, (std::vector<int>{303, 188, 188}));
    EXPECT_EQ(x, (std::vector<int>{0, 303, 491}));
    // Record 2: the place line of 東京, leading blanks gone.
    EXPECT_EQ(p.ItemsOf("QRDBText0").at(1)->Lines, std::vector<std::string>{"1)  東京"});
    EXPECT_EQ(p.ItemsOf("QRDBText1").at(1)->Lines, std::vector<std::string>{"[ 2] 15'45\""});
    EXPECT_EQ(p.ItemsOf("QRDBText2").at(1)->Lines, std::vector<std::string>{"[ 1] 34'40\""});
    std::vector<int> closed;
    for (const PlacedBand& b : p.Bands)
        if (b.Type == BandType::Detail && b.BottomLine) closed.push_back(b.Record);
    EXPECT_EQ(closed, (std::vector<int>{3, 6, 9}));
    EXPECT_EQ(p.ItemsOf("pageTTL").at(0)->Lines.at(0), OutputForm->ResultTTL.Caption());
    EXPECT_EQ(p.ItemsOf("QRSysData1").at(0)->Lines.at(0), "ページ 1");
}

TEST_F(ResultReport, LegViewColumnsKanaAndLines) {
    ShowF1(2);
    OutputForm->OpenResultRepExecute();
    ASSERT_EQ(reports.LastPages.size(), 1u);
    const ReportPage& p = page();
    const int left = static_cast<int>(MmToReportPx(20));
    std::vector<int> w, x;
    for (int i = 0; i < 8; ++i) {
        const PageItem* it = p.ItemsOf(Format("QRDBText%d", i)).at(0);
        w.push_back(it->W);
        x.push_back(it->X - left);
    }
    EXPECT_EQ(w, (std::vector<int>{62, 62, 156, 85, 132, 70, 70, 39}));
    EXPECT_EQ(x, (std::vector<int>{0, 62, 124, 280, 365, 497, 567, 637}));
    // 東京 first: its runner's reading above column 4, in the upper half of the row.
    const PageItem* kana = p.ItemsOf("KanaText1").at(0);
    const PageItem* runner = p.ItemsOf("QRDBText4").at(0);
    EXPECT_EQ(kana->Lines, std::vector<std::string>{"ﾔﾏﾀﾞ ﾀﾛｳ"});
    EXPECT_EQ(kana->X, runner->X);
    EXPECT_LT(kana->Y, runner->Y);
    EXPECT_EQ(runner->Align, ReportAlign::Left);
    EXPECT_EQ(p.ItemsOf("QRDBText3").at(0)->Align, ReportAlign::Center);
    int bottoms = 0;
    for (const PlacedBand& b : p.Bands)
        bottoms += b.Type == BandType::Detail && b.BottomLine;
    EXPECT_EQ(bottoms, 3);
    EXPECT_EQ(reports.LastPages.size(), 1u);
}

TEST_F(ResultReport, BrokenWorkTableReportsAndShowsNoPreview) {
    ShowF1(0);
    dialogs.ClearLog();
    // A folder where the table file belongs: the table cannot be made.
    std::filesystem::create_directories(form().DataFolder / "tempreptable.db" / "x");
    OutputForm->OpenResultRepExecute();
    EXPECT_EQ(dialogs.Joined(), "レポート出力用テーブルの作成に失敗しました。");
    EXPECT_EQ(reports.Previews, 0);
}

// A leg view prints the readings of every team (F1: only 東京's runner has one) from one
// read of the runner table.
TEST_F(ResultReport, LegViewReadsTheRunnersOnce) {
    ShowF1(2);
    EXPECT_EQ(StatementsNaming("選手情報", [] { OutputForm->OpenResultRepExecute(); }), 1);
    std::vector<std::string> kana;
    for (const PageItem* it : page().ItemsOf("KanaText1"))
        kana.push_back(it->Lines.at(0));
    EXPECT_EQ(kana, (std::vector<std::string>{"ﾔﾏﾀﾞ ﾀﾛｳ", "", ""}));
}
