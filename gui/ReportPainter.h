#pragma once
// The Qt side of the reports: text measured in the fonts the pages are painted in,
// the pages painted for the modal print preview and into PDF files.
#include "platform/Report.h"

#include <QFont>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// "ＭＳ Ｐゴシック" -> Noto Sans CJK JP, "ＭＳ ゴシック" -> Noto Sans Mono CJK JP.
QFont ReportQFont(const ReportFont& font);

class QtTextMeasure : public TextMeasure {
  public:
    int Width(const std::string& text, const ReportFont& font) override;
    int LineHeight(const ReportFont& font) override;
    int ScreenWidth(const std::string& sample) override;
};

void PaintReportPage(QPainter& painter, const ReportPage& page);

class QtReportService : public ReportService {
  public:
    TextMeasure& Measure() override { return measure_; }
    void Preview(Report& report) override;
    std::string ExportPdf(Report& report, const std::string& path) override;

  private:
    QtTextMeasure measure_;
};
