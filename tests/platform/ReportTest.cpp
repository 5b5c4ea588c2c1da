// The layout of banded reports: forced breaks, no empty last page, bands that grow
// only for wrapped text, and a band taller than a page continued, never cut.
#include "platform/Report.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace {

Report rows(int n, int detailHeight) {
    Report r;
    r.PageHeader.Height = r.PageFooter.Height = 40;
    r.ColumnHeader.Height = 45;
    r.Detail.Height = detailHeight;
    ReportControl& d = r.Detail.Add(ControlKind::DataText, "d");
    d.DataField = "TCol_0";
    d.Width = 100;
    d.Height = detailHeight;
    d.WordWrap = d.AutoStretch = true;
    r.PageFooter.Add(ControlKind::SysData, "no").Text = "ページ ";
    r.Fields = {"TCol_0"};
    for (int i = 1; i <= n; ++i)
        r.Records.push_back({IntToStr(i)});
    return r;
}

std::vector<int> recordsPerPage(const std::vector<ReportPage>& pages) {
    std::vector<int> out;
    for (const ReportPage& p : pages)
        out.push_back(static_cast<int>(p.ItemsOf("d").size()));
    return out;
}

} // namespace

TEST(ReportLayout, ForcedBreaksLeaveNoEmptyLastPage) {
    FixedMeasure m;
    for (auto [n, expected] : {std::pair{102, std::vector<int>{51, 51}}, {105, {51, 51, 3}}, {0, {0}}}) {
        Report r = rows(n, 18);
        r.DetailAfterPrint = [&r](ReportBand&) {
            if (r.RecordNumber() % 51 == 0) r.NewColumn();
        };
        const auto pages = r.LayOut(m);
        EXPECT_EQ(recordsPerPage(pages), expected) << n;
        EXPECT_EQ(pages.back().ItemsOf("no").at(0)->Lines.at(0), "ページ " + IntToStr(pages.size()));
    }
    // Without breaks a portrait page takes what fits above the footer.
    Report r = rows(60, 18);
    EXPECT_EQ(recordsPerPage(r.LayOut(m)), (std::vector<int>{51, 9}));
}

TEST(ReportLayout, OnlyWrappedTextGrowsABand) {
    FixedMeasure m; // 9 pt: 6 px a byte, 14 px a line
    Report r = rows(0, 10);
    r.Records = {{"short"}, {std::string(40, 'x')}};
    const auto pages = r.LayOut(m);
    ASSERT_EQ(pages[0].Bands.size(), 5u);
    EXPECT_EQ(pages[0].Bands[2].Height, 10);
    EXPECT_EQ(pages[0].Bands[3].Height, 3 * 14); // 240 px of text in 100 px
    EXPECT_EQ(pages[0].ItemsOf("d").at(1)->Lines.size(), 3u);
}

TEST(ReportLayout, BandTallerThanAPageGoesOnOverThePages) {
    FixedMeasure m;
    Report r = rows(0, 10);
    ReportControl& memo = r.Detail.Controls.at(0);
    memo.Kind = ControlKind::Memo;
    memo.Top = 20;
    r.Records = {{"a"}, {"b"}};
    int lines = 0;
    r.DetailBeforePrint = [&](ReportBand&) {
        memo.Lines.clear();
        for (int i = 1; i <= 150; ++i)
            memo.Lines.push_back(IntToStr(r.RecordNumber() * 1000 + i));
    };
    const auto pages = r.LayOut(m);
    std::vector<std::string> printed;
    for (const ReportPage& p : pages)
        for (const PageItem* it : p.ItemsOf("d")) {
            lines += static_cast<int>(it->Lines.size());
            printed.insert(printed.end(), it->Lines.begin(), it->Lines.end());
            EXPECT_LE(it->Y + it->H, static_cast<int>(r.PageLengthPx() - MmToReportPx(10) - 40));
        }
    EXPECT_EQ(lines, 300);
    EXPECT_EQ(printed.front(), "1001");
    EXPECT_EQ(printed[150], "2001");
    EXPECT_EQ(printed.back(), "2150");
    EXPECT_GE(pages.size(), 4u);
}
