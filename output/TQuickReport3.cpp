// The result report and the result window's report action: the report work table
// rebuilt from the view, the page geometry, the columns and the page breaks after
// whole team blocks.
#include "output/TQuickReport3.h"

#include "database/ReportTables.h"
#include "mainwindow/Program.h"
#include "mainwindow/TMainForm.h"
#include "output/RecordMarks.h"
#include "output/TOutputForm.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <exception>

namespace {

constexpr int kPageBandHeight = 40; // page header and footer
constexpr int kDetailFont = 9, kLegDetailFont = 8, kTitleFont = 7, kKanaFont = 7;
constexpr int kLineShapeWidth = 2;

ReportControl& addPageTitle(ReportBand& band) {
    ReportControl& c = band.Add(ControlKind::Label, "pageTTL");
    c.AlignToBand = true;
    c.Top = 12;
    c.Height = 20;
    c.Font.Size = 9;
    return c;
}

ReportControl& addPageNumber(ReportBand& band) {
    ReportControl& c = band.Add(ControlKind::SysData, "QRSysData1");
    c.Text = "ページ ";
    c.AlignToBand = true;
    c.Alignment = ReportAlign::Center;
    c.Top = 12;
    c.Height = 20;
    c.Font.Size = 9;
    return c;
}

} // namespace

TQuickReport3::TQuickReport3()
    : pageTTL(addPageTitle(Rep.PageHeader)), QRSysData1(addPageNumber(Rep.PageFooter)) {
    Rep.TopMargin = 10;
    Rep.Orientation = ReportOrientation::Landscape;
    PageHeaderBand1.Height = kPageBandHeight;
    PageFooterBand1.Height = kPageBandHeight;
    DetailBand1.Frame.Left = DetailBand1.Frame.Right = true;
    ColumnHeaderBand1.Frame = {true, true, true, true, 1};
    Rep.DetailBeforePrint = [this](ReportBand& b) { DetailBand1BeforePrint(b); };
    Rep.DetailAfterPrint = [this](ReportBand& b) { DetailBand1AfterPrint(b); };
}

void TQuickReport3::DetailBand1BeforePrint(ReportBand& band) {
    band.ForceNewPage = false;
    band.Frame.Bottom = LegView || Rep.RecordNumber() % 3 == 0;
}

// A page ends after a whole team block.
void TQuickReport3::DetailBand1AfterPrint(ReportBand&) {
    if (!LegView && RowsPerPage > 0 && Rep.RecordNumber() % RowsPerPage == 0) Rep.NewColumn();
}

void TQuickReport3::LayOutColumns(const StringGrid& grid) {
    TextMeasure& m = ReportSvc().Measure();
    const int n = Rep.FieldCount() - (LegView ? 2 : 0);
    int gridWidth = 0;
    for (int c = 0; c < grid.ColCount(); ++c)
        gridWidth += m.ScreenWidth(grid.ColSample(c));
    const int available =
        static_cast<int>(Rep.PageWidthPx() - (MmToReportPx(Rep.LeftMargin) + MmToReportPx(Rep.RightMargin)));
    const int height = static_cast<int>(
        Rep.PageLengthPx() - (MmToReportPx(Rep.BottomMargin) + MmToReportPx(Rep.TopMargin) +
                              ColumnHeaderBand1.Height + PageHeaderBand1.Height + PageHeaderBand1.Height));
    RowsPerPage = height / DetailBand1.Height / 3 * 3;
    if (LegView)
        for (int k = 0; k < 2; ++k) {
            ReportControl& kana = DetailBand1.Add(ControlKind::DataText, Format("KanaText%d", k));
            kana.DataField = Format("KANACol_%d", k);
            kana.Font.Size = kKanaFont;
            KanaTexts[k] = &kana;
        }
    int left = 0;
    for (int i = 0; i < n; ++i) {
        const int width = gridWidth > 0 ? m.ScreenWidth(grid.ColSample(i)) * available / gridWidth : 0;
        placeColumn(i, left, width, grid);
        left += width;
    }
}

void TQuickReport3::placeColumn(int i, int left, int width, const StringGrid& grid) {
    ReportControl& d = DetailBand1.Add(ControlKind::DataText, Format("QRDBText%d", i));
    ReportControl& t = ColumnHeaderBand1.Add(ControlKind::Label, Format("QRLabel%d", i));
    d.DataField = Format("TCol_%d", i);
    d.WordWrap = d.AutoStretch = true;
    d.Frame = {false, false, i >= 1 && !LegView, false, 1};
    d.Font.Size = LegView ? kLegDetailFont : kDetailFont;
    t.Height = ColumnHeaderBand1.Height;
    t.Alignment = ReportAlign::Center;
    t.Font.Size = kTitleFont;
    if (LegView) {
        d.Height = DetailBand1.Height / 2;
        d.Top += d.Height - d.Height / 10;
        t.Top += ColumnHeaderBand1.Height / 3;
        t.Frame = {false, false, false, false, 0};
    } else {
        d.Height = DetailBand1.Height;
        t.Frame = {false, false, i >= 1, false, 1};
    }
    const bool leftAligned = LegView ? i == 2 || i == 4 : i == 0;
    d.Alignment = leftAligned ? ReportAlign::Left : ReportAlign::Center;
    d.Left = t.Left = left;
    d.Width = t.Width = width;
    t.Lines = titleLines(i, grid);
    DataTexts.push_back(&d);
    Titles.push_back(&t);
    if (!LegView || i < 1 || i > 7) return;
    const int shift = i == 2 || i == 4 ? 5 : 0;
    for (ReportBand* band : {&ColumnHeaderBand1, &DetailBand1}) {
        ReportControl& s = band->Add(ControlKind::Shape, Format("QRShape%d", i));
        s.Shape = ShapeKind::VertLine;
        s.Width = kLineShapeWidth;
        s.Height = band->Height;
        s.Left = left - s.Width / 2 - shift;
        (band == &DetailBand1 ? DetailLines : HeaderLines).push_back(&s);
    }
    if (i == 2 || i == 4) {
        ReportControl& kana = *KanaTexts[i == 2 ? 0 : 1];
        kana.Left = left;
        kana.Width = width;
        kana.Height = d.Top;
        kana.Top = d.Top - kana.Height;
    }
}

std::vector<std::string> TQuickReport3::titleLines(int i, const StringGrid& grid) const {
    std::vector<std::string> lines{grid.Cells(i, 0)};
    if (LegView) return lines;
    TMainForm& f = *MainForm;
    if (i == 0) {
        if (f.TotalDistance() > 0)
            lines.push_back(f.chk100.Checked()
                                ? Format("  距離 %dm", KmToMetres(static_cast<float>(f.TotalDistance())))
                                : Format("  距離 %gkm", f.TotalDistance()));
        // A record of 0 is no record, as an empty cell.
        const std::string record = f.TimeToDisplayText(f.taikaiBestGrid.Cells(3, 1));
        if (!record.empty()) lines.push_back("  大会記録 " + record);
        return lines;
    }
    lines.push_back(f.KukanInfGrid.Cells(2, i) + "km");
    const std::string record = f.TimeToDisplayText(f.KukanInfGrid.Cells(3, i));
    if (!record.empty()) lines.push_back(record);
    return lines;
}

// ---- The result window's report action ----

void TOutputForm::OpenResultRepExecute() {
    TQuickReport3 rep;
    const bool overall = Tag == 0;
    const StringGrid& grid = overall ? OutputTTLGrid : OutputGrid;
    rep.LegView = !overall;
    rep.ColumnHeaderBand1.Height = overall ? 45 : 30;
    rep.DetailBand1.Height = overall ? 18 : 30;
    rep.Rep.Orientation =
        overall && grid.ColCount() - 1 > 5 ? ReportOrientation::Landscape : ReportOrientation::Portrait;
    ReportTableData data;
    try {
        if (BuildReportTable(Tag) != 0) throw std::runtime_error("report table");
        data = LoadReportTable();
    } catch (const std::exception&) {
        Dlg().ShowMessage("レポート出力用テーブルの作成に失敗しました。");
        return;
    }
    rep.Rep.Fields = std::move(data.Fields);
    rep.Rep.Records = std::move(data.Records);
    rep.Rep.LeftMargin = 20;
    rep.Rep.RightMargin = 10;
    rep.Rep.BottomMargin = 7;
    rep.pageTTL.Lines = {ResultTTL.Caption()};
    rep.LayOutColumns(grid);
    ReportSvc().Preview(rep.Rep);
}
