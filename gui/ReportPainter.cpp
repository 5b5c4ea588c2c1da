#include "gui/ReportPainter.h"

#include "gui/GridView.h"
#include "gui/PdfTextLayer.h"
#include "gui/QtText.h"
#include "gui/ReportPagePainter.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <QApplication>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cmath>
#include <malloc.h>

namespace {

QString family(const std::string& name) {
    if (name == "ＭＳ ゴシック") return QStringLiteral("Noto Sans Mono CJK JP");
    if (name == "ＭＳ Ｐゴシック" || name.empty()) return QStringLiteral("Noto Sans CJK JP");
    return qs(name);
}

constexpr int kPdfDpi = 1200; // what a high-resolution printer gives a PDF

QPageLayout pageLayoutOf(const Report& report) {
    const auto orientation =
        report.Orientation == ReportOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0));
}

// Pages are painted in report pixels (96 per inch) on the paper, margins included.
void setUpPrinter(QPrinter& printer, const Report& report) {
    printer.setPageLayout(pageLayoutOf(report));
    printer.setFullPage(true);
    printer.setDocName(qs(report.Title));
}

template <typename PagedDevice>
bool paintAll(PagedDevice& printer, const std::vector<ReportPage>& pages, QtTextMeasure& measure) {
    // The PDF engine allocates and frees a large buffer for every page; without these
    // the C library hands the memory back each time and takes it again (most of the time).
    static const bool heapKept = [] {
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
        return true;
    }();
    (void)heapKept;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const double scale = printer.resolution() / kReportDpi;
    painter.scale(scale, scale);
    ReportPagePainter pagePainter(painter, measure);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) return false;
        pagePainter.Paint(pages[i]);
    }
    return painter.end();
}

// The PDF engine checks none of its writes: the document is made in memory, its text
// layer named as drawn, and goes to the file through the shared writer (a temporary
// file beside it, then a rename), so a full disk reports a failure and leaves the old
// file as it was.
std::string writePdf(const std::vector<ReportPage>& pages, QPageLayout layout, int resolution,
                     const QString& title, QtTextMeasure& measure, const std::string& path) {
    const std::string failed = path + " の作成に失敗しました。";
    QByteArray pdf;
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly)) return failed;
    {
        QPdfWriter writer(&buffer);
        layout.setMode(QPageLayout::FullPageMode); // painted from the paper's corner
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setTitle(title);
        if (!paintAll(writer, pages, measure)) return failed;
    }
    if (!WriteFileBytes(path, NameDrawnCharacters(pdf).toStdString())) return failed;
    return {};
}

// "Print to file" of the preview's print dialog: a PDF file, not the preview's pages.
bool printsToPdfFile(QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           printer.paintEngine() && printer.paintEngine()->type() != QPaintEngine::Picture;
}

} // namespace

QFont ReportQFont(const ReportFont& font) {
    QFont f(family(font.Family));
    f.setPixelSize(static_cast<int>(std::lround(font.Size * kReportDpi / 72.0)));
    f.setBold(font.Bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QtTextMeasure::Font& QtTextMeasure::font(const ReportFont& f) {
    if (last_ && f == lastFont_) return *last_;
    Font& entry = fonts_[{f.Family, f.Size, f.Bold}];
    lastFont_ = f;
    last_ = &entry;
    if (!entry.metrics) {
        entry.qfont = ReportQFont(f);
        entry.metrics = std::make_unique<QFontMetricsF>(entry.qfont);
    }
    return entry;
}

// The sum of the characters' advances: the report fonts set CJK and Latin text
// without kerning, and shaping every text of a large report costs seconds.
int QtTextMeasure::Width(const std::string& text, const ReportFont& f) {
    Font& entry = font(f);
    double width = 0;
    for (char32_t c : ToU32(text)) {
        auto it = entry.advances.find(c);
        if (it == entry.advances.end())
            it = entry.advances.emplace(c, entry.metrics->horizontalAdvance(QString::fromUcs4(&c, 1))).first;
        width += it->second;
    }
    return static_cast<int>(std::ceil(width));
}

int QtTextMeasure::LineHeight(const ReportFont& f) {
    return static_cast<int>(std::ceil(font(f).metrics->lineSpacing()));
}

int QtTextMeasure::ScreenWidth(const std::string& sample) {
    return GridColumnWidth(QFontMetrics(QApplication::font()), sample);
}

void QtReportService::Preview(Report& report) {
    const std::vector<ReportPage> pages = report.LayOut(measure_);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("ReportPreview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [this, &pages](QPrinter* p) { printPages(*p, pages); });
    dialog.exec();
}

void QtReportService::printPages(QPrinter& printer, const std::vector<ReportPage>& pages) {
    if (!printsToPdfFile(printer)) {
        paintAll(printer, pages, measure_);
        return;
    }
    const std::string error = writePdf(pages, printer.pageLayout(), printer.resolution(), printer.docName(),
                                       measure_, printer.outputFileName().toStdString());
    if (!error.empty()) Dlg().ShowMessage(error);
}

std::string QtReportService::ExportPdf(Report& report, const std::string& path) {
    return writePdf(report.LayOut(measure_), pageLayoutOf(report), kPdfDpi, qs(report.Title), measure_, path);
}
