// The reports painted by Qt: the result report of F1 and of larger races written to
// PDF and read back with poppler's tools, the order sheet, and the modal preview.
#include "gui/GuiTestApp.h"
#include "gui/PdfTextLayer.h"
#include "gui/ReportPagePainter.h"
#include "platform/Files.h"
#include "support/ChildProcess.h"
#include "support/F1Race.h"

#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <regex>

namespace {

// Shows nothing: every preview goes to a PDF file instead.
struct PdfReports : QtReportService {
    std::string path, error;
    rlim_t fullAt = 0; // when set, files stop growing there from the PDF's write on
    void Preview(Report& r) override {
        if (fullAt) LimitFileSize(fullAt);
        error = ExportPdf(r, path);
    }
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

// pdftotext's text: what a search or a copy of the PDF finds.
std::string pdfText(const std::string& path) {
    return command("pdftotext -layout '" + path + "' -");
}

int pdfPages(const std::string& path) {
    const std::string info = command("pdfinfo '" + path + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

struct Word {
    int page;
    std::string text;
    double xMin, yMin, xMax;
};

// pdftotext's words with their boxes, in report pixels (96 per inch, not 72).
std::vector<Word> pdfWords(const std::string& path) {
    const std::string html = command("pdftotext -bbox '" + path + "' -");
    static const std::regex word(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)"[^>]*>([^<]*))re");
    std::vector<Word> out;
    int page = 0;
    for (std::sregex_iterator it(html.begin(), html.end(), word), end; it != end; ++it) {
        const auto& m = *it;
        if (!m[1].matched)
            ++page;
        else
            out.push_back(
                {page, m[4], std::stod(m[1]) * 4 / 3, std::stod(m[2]) * 4 / 3, std::stod(m[3]) * 4 / 3});
    }
    return out;
}

// A page rendered in grey at 192 per inch (two pixels a report pixel), 0 black.
struct Grey {
    int width = 0, height = 0;
    std::string pixels;
    int at(int x, int y) const {
        return static_cast<unsigned char>(pixels.at(static_cast<size_t>(y * width + x)));
    }
};
Grey pdfGrey(const std::string& path, int page) {
    const std::string pgm =
        command(Format("pdftoppm -gray -r 192 -f %d -l %d '%s'", page, page, path.c_str()));
    Grey g;
    int max = 0, used = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &g.width, &g.height, &max, &used) == 3)
        g.pixels = pgm.substr(static_cast<size_t>(used) + 1);
    return g;
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
    // Column 0 ("1) 東京", its time) keeps off the frame line at the left margin.
    const double frame = static_cast<int>(MmToReportPx(20));
    int column0 = 0;
    for (const Word& w : pdfWords(reports.path))
        if (w.yMin > 120 && w.xMin < frame + 30) {
            EXPECT_GE(w.xMin, frame + 1.5) << w.text;
            ++column0;
        }
    EXPECT_GE(column0, 6);
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

// A PDF is written whole or not at all: on a full disk the old file stays and the failure
// is told, for the report, the order sheet and the preview's "print to file" alike.
TEST_F(ReportPdf, FullDiskKeepsTheOldPdfAndSaysSo) {
    BuildF1();
    form().StartListPrev.SetEnabled(true);
    const std::string failed = reports.path + " の作成に失敗しました。";
    const std::function<void()> prints[] = {[] { OutputForm->OpenResultRepExecute(); },
                                            [this] { form().StartListPrev.Execute(); }};
    for (const auto& print : prints) {
        if (&print != prints) dialogs.AnswerDlg(mrYes); // recompute on this showing
        ShowF1(0);
        ASSERT_TRUE(WriteFileBytes(reports.path, "old report"));
        const std::string told = RunInChild([&] {
            reports.fullAt = 4096; // the report's tables are written, its PDF is not
            print();
            return reports.error;
        });
        EXPECT_EQ(told, failed);
        std::string kept;
        EXPECT_TRUE(ReadFileBytes(reports.path, kept) && kept == "old report") << kept;
        for (const std::string& name : ListDir(home.path()))
            EXPECT_FALSE(StartsWith(name, ".report.pdf")) << name; // no temporary file left
        print();                                                   // with room the new file replaces it
        EXPECT_EQ(reports.error, "");
        EXPECT_GE(pdfPages(reports.path), 1);
    }

    // The real preview, printed to a PDF file: a folder that is missing is told, an
    // existing one gets the file.
    QtReportService qt;
    CurrentServices().reports = &qt;
    const fs::path missing = home.path() / "none" / "printed.pdf", printed = home.path() / "printed.pdf";
    for (const auto& [target, told] : {std::pair{missing, missing.string() + " の作成に失敗しました。"},
                                       std::pair{printed, std::string()}}) {
        QTimer::singleShot(100, [&] {
            auto* w = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            w->printer()->setOutputFormat(QPrinter::PdfFormat);
            w->printer()->setOutputFileName(QString::fromStdString(target.string()));
            emit w->paintRequested(w->printer());
            w->reject();
        });
        dialogs.ClearLog();
        OutputForm->OpenResultRepExecute();
        EXPECT_EQ(dialogs.Joined(), told);
    }
    EXPECT_EQ(pdfPages(printed.string()), 1);
    EXPECT_NE(pdfText(printed.string()).find("テスト駅伝 総合成績"), std::string::npos);
}

// Into PDF every text is set once and drawn again wherever it recurs, and the lines of
// consecutive bands are drawn as one: each text keeps its place on every page, aligned
// in its box, and the lines run on without a gap.
TEST_F(ReportPdf, TextsKeepTheirPlacesAndLinesRunOn) {
    Report r;
    r.PageHeader.Height = r.PageFooter.Height = 40;
    const std::pair<const char*, ReportAlign> labels[] = {
        {"左", ReportAlign::Left}, {"中央", ReportAlign::Center}, {"右端", ReportAlign::Right}};
    for (int i = 0; i < 3; ++i) {
        ReportControl& c = r.PageHeader.Add(ControlKind::Label, Format("h%d", i));
        c.Lines = {labels[i].first};
        c.Alignment = labels[i].second;
        c.Left = 200 * i, c.Width = 200;
    }
    ReportControl& d = r.Detail.Add(ControlKind::DataText, "d");
    d.DataField = "f";
    d.Alignment = ReportAlign::Right;
    d.Width = 300, d.Height = r.Detail.Height = 18;
    d.Frame = {false, false, true, false, 1};
    r.Fields = {"f"};
    for (int i = 1; i <= 120; ++i)
        r.Records.push_back({i % 2 ? "12'34\"" : "[ 7]"});
    ASSERT_EQ(reports.ExportPdf(r, reports.path), "");
    ASSERT_EQ(pdfPages(reports.path), 3);

    const double left = MmToReportPx(10);
    std::map<std::string, std::vector<Word>> byText;
    for (const Word& w : pdfWords(reports.path))
        byText[w.text].push_back(w);
    for (const char* t : {"左", "中央", "右端"})
        ASSERT_EQ(byText[t].size(), 3u) << t;
    // Left and right a small inset from the box's edges, where a frame line may stand.
    EXPECT_NEAR(byText["左"][2].xMin, left + 2, 1);
    EXPECT_NEAR((byText["中央"][2].xMin + byText["中央"][2].xMax) / 2, left + 300, 1);
    EXPECT_NEAR(byText["右端"][2].xMax, left + 598, 1);
    // The same record text on every page ends at its box's right, its rows 18 px apart.
    const std::vector<Word>& times = byText["12&apos;34&quot;"]; // as the HTML writes them
    ASSERT_EQ(times.size(), 60u);
    for (const Word& w : times) {
        EXPECT_NEAR(w.xMax, left + 298, 1.5);
        EXPECT_NEAR(std::remainder(w.yMin - times[0].yMin, 18), 0, 0.01) << w.page;
    }
    // The frame line left of the details runs on through the bands' borders of page 2.
    const Grey g = pdfGrey(reports.path, 2);
    ASSERT_EQ(g.width, 1587);
    const int x = 2 * static_cast<int>(left);
    for (int y = 240; y < 2000; y += 7) // below the page and column headers
        EXPECT_LT(g.at(x, y), 64) << y;
    EXPECT_GT(g.at(x + 4, 400), 200);
}

// On the screen, zoomed out, a line one pixel wide still shows across its whole length.
TEST_F(ReportPdf, PreviewLinesShowWhenZoomedOut) {
    ReportPage page;
    for (int y : {100, 141, 183}) {
        PageItem line;
        line.Kind = PageItem::Line;
        line.X = 20, line.Y = y, line.W = 600;
        page.Items.push_back(line);
    }
    QImage image(400, 150, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.623, 0.623);
    QtTextMeasure measure;
    ReportPagePainter(painter, measure).Paint(page);
    painter.end();
    for (int y : {100, 141, 183}) {
        const int row = static_cast<int>(y * 0.623);
        int darkest = 255;
        for (int r = row - 1; r <= row + 1; ++r)
            darkest = std::min(darkest, qGray(image.pixel(200, r)));
        EXPECT_LT(darkest, 128) << y;
    }
}

// The PDF's text layer holds what is printed: searched or copied, a saved report gives
// its distances (the total as the leg grid holds it, no edition loaded) and times as
// they stand on the paper.
TEST_F(ReportPdf, TextLayerHoldsThePrintedText) {
    BuildF1();
    ShowF1(0);
    OutputForm->OpenResultRepExecute();
    ASSERT_EQ(reports.error, "");
    const std::string text = pdfText(reports.path);
    for (const char* s : {"距離 11.1km", "5km", "6.1km", "15'30\"", "大会記録 34'40\""})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
}

// The fonts draw 大 山 田 日 月 with the glyphs of the radicals ⼤ ⼭ ⽥ ⽇ ⽉.
TEST_F(ReportPdf, SearchFindsTheKanjiAsPrinted) {
    BuildF1();
    form().TeamEntryGrid.SetCells(1, 1, "東京大学");
    form().taikaiBestGrid.SetCells(1, 1, "2024/12/09");
    ASSERT_TRUE(SaveTaikaiFields(false));
    ShowF1(0);
    OutputForm->OpenResultRepExecute();
    ASSERT_EQ(reports.error, "");
    const std::string report = pdfText(reports.path);
    form().StartListPrev.SetEnabled(true);
    form().StartListPrev.Execute();
    ASSERT_EQ(reports.error, "");
    const std::string sheet = pdfText(reports.path);
    for (const char* s : {"東京大学", "山田"}) // 大会記録 as the text layer test finds it
        EXPECT_NE(report.find(s), std::string::npos) << s << "\n" << report;
    for (const char* s : {"東京大学", "山田", "12月9日"})
        EXPECT_NE(sheet.find(s), std::string::npos) << s << "\n" << sheet;
}

// Radicals and compatibility ideographs become the characters drawn; the rest stays.
TEST_F(ReportPdf, ToUnicodeMapsNameTheDrawnCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"1 beginbfchar\n<0003> <2F24>\n<0004> <30C6>\nendbfchar",
         "1 beginbfchar\n<0003> <5927>\n<0004> <30C6>\nendbfchar"},
        {"1 beginbfrange\n<0001> <0003> [<2F2D> <65E5> <F9A8>]\nendbfrange",
         "1 beginbfrange\n<0001> <0003> [<5C71> <65E5> <4EE4>]\nendbfrange"},
        {"2 beginbfrange\n<0010> <0012> <2F64>\n<0020> <0021> <0041>\nendbfrange",
         "2 beginbfrange\n<0010> <0012> [<7528> <7530> <758B>]\n<0020> <0021> <0041>\nendbfrange"},
        {"1 beginbfchar\n<0005> <D842DFB7>\nendbfchar", nullptr}};
    for (const auto& [in, out] : cases) {
        std::string cmap = in;
        EXPECT_EQ(RenameCMapDestinations(cmap), out != nullptr) << in;
        EXPECT_EQ(cmap, out ? out : in);
    }
}
