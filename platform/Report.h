#pragma once
// Banded table reports: a page model of bands holding labels, data texts, memos,
// shapes and the page number, laid out into pages over the records of a data set.
// Lengths are pixels at 96 per inch (page values in millimetres); the text measure
// is injected, so the layout runs without Qt; gui/ paints the pages, previews them
// and writes them to PDF.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

constexpr double kReportDpi = 96.0;
inline double MmToReportPx(double mm) {
    return mm * kReportDpi / 25.4;
}

enum class ReportAlign { Left, Center, Right };
enum class ReportOrientation { Portrait, Landscape };
enum class BandType { PageHeader, ColumnHeader, Detail, PageFooter };

// "ＭＳ Ｐゴシック" and "ＭＳ ゴシック" as the desk's forms name them; the painter maps them.
struct ReportFont {
    std::string Family = "ＭＳ Ｐゴシック";
    int Size = 9; // points
    bool Bold = false;
    bool operator==(const ReportFont&) const = default;
};

struct ReportFrame {
    bool Top = false, Bottom = false, Left = false, Right = false;
    int Width = 1;
};

enum class ControlKind { Label, DataText, Memo, Shape, SysData };
enum class ShapeKind { HorLine, VertLine };

struct ReportControl {
    std::string Name;
    ControlKind Kind = ControlKind::Label;
    int Left = 0, Top = 0, Width = 64, Height = 17;
    ReportAlign Alignment = ReportAlign::Left;
    bool AlignToBand = false; // placed across the whole band
    bool AutoSize = false;
    bool WordWrap = false;
    bool AutoStretch = false;
    // A one-line text wider than the control is set in smaller type until it fits.
    bool ShrinkToFit = false;
    // Printed again at the top of each page a stretching band runs on to; the band's
    // stretching texts continue below the repeated controls.
    bool RepeatOnContinuation = false;
    ReportFrame Frame;
    ReportFont Font;
    std::vector<std::string> Lines; // label caption, memo lines
    std::string DataField;          // data text: the field printed
    std::string Text;               // page number: the text before the number
    ShapeKind Shape = ShapeKind::HorLine;
    bool Dotted = false;
    // Called with the text about to be printed; may change it.
    std::function<void(std::string&)> OnPrint;
};

struct ReportBand {
    explicit ReportBand(BandType type) : Type(type) {}
    BandType Type = BandType::Detail;
    int Height = 40;
    ReportFrame Frame;
    bool ForceNewPage = false;
    // Controls keep their addresses while more are added.
    std::deque<ReportControl> Controls;
    ReportControl& Add(ControlKind kind, const std::string& name = {});
};

// What the layout needs of a font: text widths and the height of a line.
class TextMeasure {
  public:
    virtual ~TextMeasure() = default;
    virtual int Width(const std::string& text, const ReportFont& font) = 0;
    virtual int LineHeight(const ReportFont& font) = 0;
    // Width of a grid column whose width is given as a sample text, as the screen shows it.
    virtual int ScreenWidth(const std::string& sample) = 0;
};

// Fixed-pitch measure for headless runs: every character the same width.
class FixedMeasure : public TextMeasure {
  public:
    explicit FixedMeasure(int charWidth = 10) : w_(charWidth) {}
    int Width(const std::string& text, const ReportFont& font) override;
    int LineHeight(const ReportFont& font) override;
    int ScreenWidth(const std::string& sample) override;

  private:
    int w_;
};

// One printed element of a page, in page pixels (the margins included).
struct PageItem {
    enum Kind { Text, Line } Kind = Text;
    std::string Name;               // the control it comes from ("" for band frames)
    int X = 0, Y = 0, W = 0, H = 0; // a line runs from (X, Y) to (X + W, Y + H)
    std::vector<std::string> Lines;
    ReportFont Font;
    ReportAlign Align = ReportAlign::Left;
    int LineHeight = 0;
    int PenWidth = 1;
    bool Dotted = false;
};

struct PlacedBand {
    BandType Type = BandType::Detail;
    int Record = 0; // 1-based record number of a detail band
    int Y = 0, Height = 0;
    bool BottomLine = false;
};

struct ReportPage {
    std::vector<PageItem> Items;
    std::vector<PlacedBand> Bands;
    // The text items of a control (one per band printed), in order.
    std::vector<const PageItem*> ItemsOf(const std::string& name) const;
};

class Report {
  public:
    ReportOrientation Orientation = ReportOrientation::Portrait;
    double LeftMargin = 10, RightMargin = 10, TopMargin = 10, BottomMargin = 10; // mm
    std::string Title;

    ReportBand PageHeader{BandType::PageHeader};
    ReportBand ColumnHeader{BandType::ColumnHeader};
    ReportBand Detail{BandType::Detail};
    ReportBand PageFooter{BandType::PageFooter};

    // The data set: field names and one row of texts per record.
    std::vector<std::string> Fields;
    std::vector<std::vector<std::string>> Records;
    int FieldCount() const { return static_cast<int>(Fields.size()); }

    // Per detail record, before and after it is printed.
    std::function<void(ReportBand&)> DetailBeforePrint;
    std::function<void(ReportBand&)> DetailAfterPrint;

    // Page size in pixels for the orientation (A4).
    double PageWidthPx() const;
    double PageLengthPx() const;
    // 1-based number of the record being printed, and a field of it ("" when unknown).
    int RecordNumber() const { return recordNo_; }
    std::string FieldText(const std::string& field) const;
    // Ends the column; on a one-column page that ends the page after this band.
    void NewColumn() { newColumn_ = true; }

    // Lays the records out into pages. No empty page follows a break after the last record.
    std::vector<ReportPage> LayOut(TextMeasure& measure);

  private:
    friend class ReportLayout;
    int recordNo_ = 0;
    bool newColumn_ = false;
};

// Shows reports and writes them to PDF; the Qt service lives in gui/.
class ReportService {
  public:
    virtual ~ReportService() = default;
    virtual TextMeasure& Measure() = 0;
    // The modal preview, from which the user prints.
    virtual void Preview(Report& report) = 0;
    // Empty on success, else the error.
    virtual std::string ExportPdf(Report& report, const std::string& path) = 0;
};

// Headless service: lays out with a fixed measure and keeps the pages of the last preview.
class RecordingReports : public ReportService {
  public:
    FixedMeasure FixedWidths;
    std::vector<ReportPage> LastPages;
    int Previews = 0;
    TextMeasure& Measure() override { return FixedWidths; }
    void Preview(Report& report) override;
    std::string ExportPdf(Report& report, const std::string& path) override;
};
