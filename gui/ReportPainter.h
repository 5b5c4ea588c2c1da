#pragma once
// The Qt side of the reports: text measured in the fonts the pages are painted in,
// the pages painted for the modal print preview and into PDF files.
#include "platform/Report.h"

#include <QFont>
#include <QFontMetricsF>

#include <map>
#include <memory>
#include <tuple>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

// "ＭＳ Ｐゴシック" -> Noto Sans CJK JP, "ＭＳ ゴシック" -> Noto Sans Mono CJK JP.
QFont ReportQFont(const ReportFont& font);

// Metrics are kept per font: a report measures thousands of texts in a few fonts.
class QtTextMeasure : public TextMeasure {
  public:
    int Width(const std::string& text, const ReportFont& font) override;
    int LineHeight(const ReportFont& font) override;
    int ScreenWidth(const std::string& sample) override;
    double Ascent(const ReportFont& f) { return font(f).metrics->ascent(); }
    double Descent(const ReportFont& f) { return font(f).metrics->descent(); }
    const QFont& QFontOf(const ReportFont& f) { return font(f).qfont; }

  private:
    struct Font {
        QFont qfont;
        std::unique_ptr<QFontMetricsF> metrics;
        std::map<char32_t, double> advances;
    };
    Font& font(const ReportFont& f);
    std::map<std::tuple<std::string, int, bool>, Font> fonts_;
    // The font asked for last: looked up without building a key.
    ReportFont lastFont_;
    Font* last_ = nullptr;
};

class QtReportService : public ReportService {
  public:
    TextMeasure& Measure() override { return measure_; }
    void Preview(Report& report) override;
    std::string ExportPdf(Report& report, const std::string& path) override;

  private:
    // What the preview's print button asks for: the printer, or a PDF file.
    void printPages(QPrinter& printer, const std::vector<ReportPage>& pages);
    QtTextMeasure measure_;
};
