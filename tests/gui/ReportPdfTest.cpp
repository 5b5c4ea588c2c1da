// The reports painted by Qt: the result report of F1 and of larger races written to
// PDF and read back with poppler's tools, the order sheet, and the modal preview.
#include "gui/GuiTestApp.h"
#include "gui/ReportPainter.h"
#include "support/F1Race.h"

#include <QPrintPreviewDialog>

namespace {

// Shows nothing: every preview goes to a PDF file instead.
struct PdfReports : QtReportService {
    std::string path, error;
    void Preview(Report& r) override { error = ExportPdf(r, path); }
};

std::string command(const std::string& cmd) {
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[4096];
    for (size_t n; p && (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    if (p) ::pclose(p);
    return out;
}

// pdftotext's text; the viewer's copy of some kanji comes out as the look-alike Kangxi
// radicals of the same glyph (鈴⽊ for 鈴木), folded back here.
std::string pdfText(const std::string& path) {
    return command("pdftotext -layout '" + path +
                   "' - | python3 -c \"import sys, unicodedata; "
                   "t = sys.stdin.read(); sys.stdout.write(''.join(unicodedata.normalize('NFKC', c) "
                   "if 0x2E80 <= ord(c) <= 0x2FDF else c for c in t))\"");
}

int pdfPages(const std::string& path) {
    const std::string info = command("pdfinfo '" + path + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

} // namespace

class ReportPdf : public F1Race {
  protected:
    PdfReports reports;
    static void SetUpTestSuite() { TestApp(); }
    void SetUp() override {
        F1Race::SetUp();
        reports.path = (home.path() / "report.pdf").string();
        CurrentServices().reports = &reports;
    }
    // 3 legs and n teams, every team through every relay point.
    void Race(int teams) {
        OpenRace(3, teams);
        for (int t = 1; t <= teams; ++t)
            form().TeamEntryGrid.SetCells(1, t, Format("チーム%d", t));
        for (int k = 1; k <= 3; ++k) {
            std::vector<std::pair<int, int>> passings;
            for (int t = 1; t <= teams; ++t)
                passings.push_back({t, k * 10000 + t});
            Leg(k, passings);
        }
        ShowF1(0);
    }
};

TEST_F(ReportPdf, F1OverallReportIsOnePageWithItsTexts) {
    BuildF1();
    ShowF1(0);
    OutputForm->OpenResultRepExecute();
    ASSERT_EQ(reports.error, "");
    EXPECT_EQ(pdfPages(reports.path), 1);
    const std::string text = pdfText(reports.path);
    for (const char* s : {"テスト駅伝 総合成績", "鈴木", "ページ 1", "[ 2] 15'45\""})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
}

TEST_F(ReportPdf, PagesBreakAfterWholeTeamBlocks) {
    for (auto [teams, pages] : {std::pair{34, 2}, {35, 3}}) {
        Race(teams);
        OutputForm->OpenResultRepExecute();
        ASSERT_EQ(reports.error, "");
        EXPECT_EQ(pdfPages(reports.path), pages) << teams;
        if (teams == 34) dialogs.AnswerDlg(mrYes); // recompute on the next showing
    }
    // A folder where the PDF goes that is a plain file: the failure comes back.
    Report empty;
    EXPECT_NE(reports.ExportPdf(empty, (home.path() / "report.pdf" / "x.pdf").string()), "");
}

TEST_F(ReportPdf, OrderSheetPdfAndPreviewOpensAndCloses) {
    BuildF1();
    form().StartListPrev.SetEnabled(true);
    form().StartListPrev.Execute();
    ASSERT_EQ(reports.error, "");
    EXPECT_EQ(pdfPages(reports.path), 2); // two team blocks a page
    const std::string text = pdfText(reports.path);
    EXPECT_NE(text.find("テスト駅伝 オーダー用紙"), std::string::npos) << text;
    EXPECT_NE(text.find("ｽｽﾞｷ ｼﾞﾛｳ"), std::string::npos) << text;

    // The real preview: modal, closed by the user.
    QtReportService qt;
    CurrentServices().reports = &qt;
    bool seen = false;
    QTimer::singleShot(300, [&] {
        auto* w = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        seen = w != nullptr;
        if (w) w->reject();
    });
    form().StartListPrev.Execute();
    EXPECT_TRUE(seen);
}
