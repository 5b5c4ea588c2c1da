#pragma once
// Paints laid-out report pages. A large report repeats a few hundred short texts
// (times, ranks, captions) tens of thousands of times, and the PDF writer spends
// per text drawn and per line stroked: so into PDF every distinct text is shaped
// once and the texts that follow each other in one font go out as one glyph run (in
// the page's order, which text extraction follows; the glyphs those of the font's
// character map, which the text layer maps back), and solid lines go out as filled
// rectangles, those continuing each other joined into one.
#include "gui/ReportPainter.h"

#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRectF>

#include <string>
#include <unordered_map>
#include <vector>

class ReportPagePainter {
  public:
    ReportPagePainter(QPainter& painter, QtTextMeasure& measure);
    void Paint(const ReportPage& page);

  private:
    // Glyphs of one font, placed from the start of the text's baseline.
    struct Piece {
        int font = 0;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    struct Shaped {
        int width = 0;     // as measured for the layout
        double ascent = 0; // of the line the painter sets it in
        std::vector<Piece> pieces;
    };
    struct Run {
        int font = -1;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    // A solid horizontal or vertical line: along runs from "from" to "to" at across.
    struct Segment {
        bool vertical;
        int width;
        double across, from, to;
    };

    void text(const PageItem& item);
    void clipped(const PageItem& item, const QRectF& box, const std::string& s, const Shaped& glyphs);
    void drawClipped(const PageItem& item, const QRectF& box, const std::string& s);
    void line(const PageItem& item);
    void useFont(const ReportFont& font);
    const Shaped& shaped(const std::string& text, const ReportFont& font);
    void shapeWithFallback(Shaped& s, const QString& text, const QFont& font);
    int rawFontIndex(const QRawFont& font);
    void addGlyphs(const Shaped& s, QPointF origin);
    void flushText();
    void flushLines();

    QPainter& painter_;
    QtTextMeasure& measure_;
    const bool pdf_; // glyph runs and rectangles; the preview keeps plain texts and lines
    const ReportFont* font_ = nullptr;
    std::unordered_map<std::string, Shaped> shaped_;     // by font and text
    std::unordered_map<std::string, QPointF> clippedAt_; // by font, text, box and alignment
    std::unordered_map<std::string, QRawFont> raw_; // by font
    std::vector<QRawFont> rawFonts_;
    Run run_; // the glyphs not drawn yet
    std::vector<Segment> segments_;
};
