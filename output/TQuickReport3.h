#pragma once
// The printed result report: the view of the result window as a table on A4, its
// columns laid out at run time in the proportions of the on-screen columns.
#include "platform/Report.h"

#include <vector>

class StringGrid;

class TQuickReport3 {
  public:
    TQuickReport3();
    Report Rep;
    ReportBand& DetailBand1 = Rep.Detail;
    ReportBand& PageHeaderBand1 = Rep.PageHeader;
    ReportBand& PageFooterBand1 = Rep.PageFooter;
    ReportBand& ColumnHeaderBand1 = Rep.ColumnHeader;
    ReportControl& pageTTL;
    ReportControl& QRSysData1;

    // Run-time controls: one data text and one title per column; in a leg view the two
    // kana texts and the vertical lines of columns 1..7 (header band, detail band).
    std::vector<ReportControl*> DataTexts, Titles, HeaderLines, DetailLines;
    ReportControl* KanaTexts[2] = {nullptr, nullptr};
    int RowsPerPage = 0;
    bool LegView = false;

    void QuickRepBeforePrint() {}
    void DetailBand1BeforePrint(ReportBand& band);
    void DetailBand1AfterPrint(ReportBand& band);

    // Lays the columns out over the report table for the view's grid and titles.
    void LayOutColumns(const StringGrid& grid);

  private:
    void placeColumn(int i, int left, int width, const StringGrid& grid);
    std::vector<std::string> titleLines(int i, const StringGrid& grid) const;
};
