#include "platform/Report.h"

#include "platform/Text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kA4Short = 210, kA4Long = 297; // mm

// Breaks a line into pieces no wider than width, at character boundaries; a piece's
// width is the sum of its characters' widths.
std::vector<std::string> wrapLine(const std::string& line, int width, const ReportFont& font,
                                  TextMeasure& m) {
    std::vector<std::string> out;
    if (width <= 0 || m.Width(line, font) <= width) return {line};
    std::string piece;
    int used = 0;
    for (char32_t c : ToU32(line)) {
        const std::string ch = FromU32(c);
        const int w = m.Width(ch, font);
        if (!piece.empty() && used + w > width) {
            out.push_back(piece);
            piece.clear();
            used = 0;
        }
        piece += ch;
        used += w;
    }
    out.push_back(piece);
    return out;
}

// A control's printed text in lines, before wrapping.
std::vector<std::string> textLines(const ReportControl& c, const Report& r, int pageNo) {
    std::string text;
    switch (c.Kind) {
    case ControlKind::DataText:
        text = r.FieldText(c.DataField);
        break;
    case ControlKind::SysData:
        text = c.Text + IntToStr(pageNo);
        break;
    case ControlKind::Memo:
        if (!c.OnPrint) return c.Lines;
        [[fallthrough]];
    default:
        for (size_t i = 0; i < c.Lines.size(); ++i)
            text += (i ? "\n" : "") + c.Lines[i];
    }
    if (c.OnPrint) c.OnPrint(text);
    return Split(text, '\n');
}

} // namespace

ReportControl& ReportBand::Add(ControlKind kind, const std::string& name) {
    ReportControl& c = Controls.emplace_back();
    c.Kind = kind;
    c.Name = name;
    return c;
}

std::vector<const PageItem*> ReportPage::ItemsOf(const std::string& name) const {
    std::vector<const PageItem*> out;
    for (const PageItem& it : Items)
        if (it.Kind == PageItem::Text && it.Name == name) out.push_back(&it);
    return out;
}

// ---- Fixed measure ----

int FixedMeasure::Width(const std::string& text, const ReportFont& font) {
    return SjisLength(text) * font.Size * 2 / 3;
}

int FixedMeasure::LineHeight(const ReportFont& font) {
    return font.Size * 4 / 3 + 2;
}

int FixedMeasure::ScreenWidth(const std::string& sample) {
    return SjisLength(sample) * w_;
}

// ---- Report ----

double Report::PageWidthPx() const {
    return MmToReportPx(Orientation == ReportOrientation::Portrait ? kA4Short : kA4Long);
}

double Report::PageLengthPx() const {
    return MmToReportPx(Orientation == ReportOrientation::Portrait ? kA4Long : kA4Short);
}

std::string Report::FieldText(const std::string& field) const {
    if (recordNo_ < 1 || recordNo_ > static_cast<int>(Records.size())) return {};
    const auto it = std::find(Fields.begin(), Fields.end(), field);
    const auto& row = Records[recordNo_ - 1];
    const size_t i = static_cast<size_t>(it - Fields.begin());
    return it == Fields.end() || i >= row.size() ? std::string() : row[i];
}

// ---- Layout ----

class ReportLayout {
  public:
    ReportLayout(Report& r, TextMeasure& m) : r_(r), m_(m) {
        left_ = static_cast<int>(MmToReportPx(r.LeftMargin));
        top_ = static_cast<int>(MmToReportPx(r.TopMargin));
        right_ = static_cast<int>(r.PageWidthPx() - MmToReportPx(r.RightMargin));
        bottom_ = static_cast<int>(r.PageLengthPx() - MmToReportPx(r.BottomMargin));
        limit_ = bottom_ - r.PageFooter.Height;
    }

    std::vector<ReportPage> run() {
        startPage();
        const int n = static_cast<int>(r_.Records.size());
        for (int i = 0; i < n; ++i) {
            r_.recordNo_ = i + 1;
            r_.newColumn_ = false;
            r_.Detail.ForceNewPage = false;
            if (r_.DetailBeforePrint) r_.DetailBeforePrint(r_.Detail);
            if (r_.Detail.ForceNewPage && y_ > firstDetailY_) newPage();
            placeDetail();
            if (r_.DetailAfterPrint) r_.DetailAfterPrint(r_.Detail);
            if (r_.newColumn_ && i + 1 < n) newPage();
        }
        r_.recordNo_ = 0;
        finishPage();
        return std::move(pages_);
    }

  private:
    struct Prepared {
        ReportControl* c;
        std::vector<std::string> lines;
        int lineHeight;
        ReportFont font; // the control's, or smaller where it shrinks to fit
    };

    static constexpr int kSmallestFitSize = 6; // points

    void shrinkToFit(Prepared& p) {
        const int width = controlWidth(*p.c);
        auto widest = [&] {
            int w = 0;
            for (const std::string& l : p.lines)
                w = std::max(w, m_.Width(l, p.font));
            return w;
        };
        for (int w = widest(); w > width && p.font.Size > kSmallestFitSize; w = widest())
            p.font.Size = std::max(kSmallestFitSize, std::min(p.font.Size - 1, p.font.Size * width / w));
        p.lineHeight = m_.LineHeight(p.font);
    }

    void startPage() {
        const size_t items = pages_.empty() ? 0 : pages_.back().Items.size();
        pages_.emplace_back().Items.reserve(items); // pages hold about as many items as the one before
        y_ = top_;
        place(r_.PageHeader);
        place(r_.ColumnHeader);
        firstDetailY_ = y_;
    }
    void finishPage() {
        y_ = limit_;
        place(r_.PageFooter);
    }
    void newPage() {
        finishPage();
        startPage();
    }
    int pageNo() const { return static_cast<int>(pages_.size()); }

    std::vector<Prepared> prepare(ReportBand& band) {
        std::vector<Prepared> out;
        for (ReportControl& c : band.Controls) {
            Prepared p{&c, {}, m_.LineHeight(c.Font), c.Font};
            if (c.Kind != ControlKind::Shape) {
                std::vector<std::string> raw = textLines(c, r_, pageNo());
                if (c.AutoSize && c.Kind == ControlKind::Label) {
                    int w = 0;
                    for (const std::string& l : raw)
                        w = std::max(w, m_.Width(l, c.Font));
                    c.Width = w;
                }
                for (const std::string& l : raw) {
                    if (!c.WordWrap)
                        p.lines.push_back(l);
                    else
                        for (std::string& piece : wrapLine(l, controlWidth(c), c.Font, m_))
                            p.lines.push_back(std::move(piece));
                }
                if (c.ShrinkToFit && !c.WordWrap) shrinkToFit(p);
            }
            out.push_back(std::move(p));
        }
        return out;
    }

    int controlWidth(const ReportControl& c) const { return c.AlignToBand ? right_ - left_ : c.Width; }

    // One line always counts as fitting the control: only wrapped or further lines grow it,
    // so a band of one-line texts keeps its height and page breaks stay where they are forced.
    static int stretchedHeight(const Prepared& p) {
        const ReportControl& c = *p.c;
        if (!c.AutoStretch || p.lines.size() <= 1) return c.Height;
        return std::max(c.Height, static_cast<int>(p.lines.size()) * p.lineHeight);
    }

    // Only stretching texts grow a band; other controls keep to it as placed.
    int fullHeight(ReportBand& band, const std::vector<Prepared>& prepared) const {
        int h = band.Height;
        for (const Prepared& p : prepared)
            if (p.c->AutoStretch) h = std::max(h, p.c->Top + stretchedHeight(p));
        return h;
    }

    // A header or footer band: placed whole at y_.
    void place(ReportBand& band) {
        std::vector<Prepared> prepared = prepare(band);
        const int h = fullHeight(band, prepared);
        emitSlice(band, prepared, true, 0, -1, h);
        y_ += h;
    }

    // A detail band: moved to a new page when it does not fit; one taller than a whole
    // page goes on over the following pages, its stretching texts continued line by line.
    void placeDetail() {
        ReportBand& band = r_.Detail;
        std::vector<Prepared> prepared = prepare(band);
        int h = fullHeight(band, prepared);
        if (y_ + h > limit_ && y_ > firstDetailY_) newPage();
        const int cont = continuationTop(prepared);
        bool first = true;
        int skip = 0;
        while (y_ + h > limit_ && stretches(prepared)) {
            int n = -1;
            for (const Prepared& p : prepared)
                if (p.c->AutoStretch) {
                    const int fit = (limit_ - y_ - (first ? p.c->Top : cont)) / p.lineHeight;
                    n = n < 0 ? fit : std::min(n, fit);
                }
            n = std::max(n, 1); // at least one line a page, so the band always ends
            emitSlice(band, prepared, first, skip, n, limit_ - y_);
            skip += n;
            first = false;
            h = 0;
            for (const Prepared& p : prepared)
                if (p.c->AutoStretch)
                    h = std::max(h, std::max(0, static_cast<int>(p.lines.size()) - skip) * p.lineHeight);
            h += cont;
            newPage();
        }
        emitSlice(band, prepared, first, skip, -1, h);
        y_ += h;
    }

    // Where a band's stretching texts continue on a following page: below the controls
    // repeated there, or at its top.
    static int continuationTop(const std::vector<Prepared>& prepared) {
        int top = 0;
        for (const Prepared& p : prepared)
            if (p.c->RepeatOnContinuation && !p.c->AutoStretch) top = std::max(top, p.c->Top + p.c->Height);
        return top;
    }

    static bool stretches(const std::vector<Prepared>& prepared) {
        return std::any_of(prepared.begin(), prepared.end(),
                           [](const Prepared& p) { return p.c->AutoStretch; });
    }

    // The band, or a slice of it, at y_ with height h: the stretching texts print count
    // lines (-1 all) from line skip; a slice after the first holds only those texts, at its top.
    // The last slice hands its lines over to the page.
    void emitSlice(ReportBand& band, std::vector<Prepared>& prepared, bool first, int skip, int count,
                   int h) {
        ReportPage& page = pages_.back();
        const int cont = continuationTop(prepared);
        for (Prepared& p : prepared) {
            const ReportControl& c = *p.c;
            if (!c.AutoStretch) {
                // A control printed on the pages to come keeps its lines for them.
                if (first || c.RepeatOnContinuation)
                    emitControl(page, c, p.font,
                                c.RepeatOnContinuation ? std::vector<std::string>(p.lines) : std::move(p.lines),
                                p.lineHeight, c.Top, c.Height);
                continue;
            }
            const int size = static_cast<int>(p.lines.size());
            const int from = std::min(skip, size), to = count < 0 ? size : std::min(size, from + count);
            const int top = first ? c.Top : cont;
            const int height = first && count < 0 ? stretchedHeight(p) : (to - from) * p.lineHeight;
            std::vector<std::string> lines =
                count < 0 && from == 0
                    ? std::move(p.lines)
                    : std::vector<std::string>(p.lines.begin() + from, p.lines.begin() + to);
            emitControl(page, c, p.font, std::move(lines), p.lineHeight, top,
                        std::min(height, std::max(0, h - top)));
        }
        frameLines(page, band.Frame, left_, y_, right_ - left_, h, "");
        page.Bands.push_back(
            {band.Type, band.Type == BandType::Detail ? r_.recordNo_ : 0, y_, h, band.Frame.Bottom});
    }

    void emitControl(ReportPage& page, const ReportControl& c, const ReportFont& font,
                     std::vector<std::string> lines, int lh, int top, int height) {
        const int x = left_ + (c.AlignToBand ? 0 : c.Left), w = controlWidth(c), y = y_ + top;
        if (c.Kind == ControlKind::Shape) {
            PageItem line;
            line.Kind = PageItem::Line;
            line.Name = c.Name;
            if (c.Shape == ShapeKind::HorLine) {
                line.X = x, line.Y = y + c.Height / 2, line.W = w;
            } else {
                line.X = x + c.Width / 2, line.Y = y, line.H = c.Height;
            }
            line.PenWidth = std::max(1, c.Frame.Width);
            line.Dotted = c.Dotted;
            page.Items.push_back(std::move(line));
            return;
        }
        PageItem t;
        t.Name = c.Name;
        t.X = x, t.Y = y, t.W = w, t.H = height;
        t.Lines = std::move(lines);
        t.Font = font;
        t.Align = c.Alignment;
        t.LineHeight = lh;
        page.Items.push_back(std::move(t));
        frameLines(page, c.Frame, x, y, w, height, c.Name);
    }

    static void frameLines(ReportPage& page, const ReportFrame& f, int x, int y, int w, int h,
                           const std::string& name) {
        if (f.Width <= 0) return;
        auto line = [&](int x0, int y0, int dx, int dy) {
            PageItem l;
            l.Kind = PageItem::Line;
            l.Name = name;
            l.X = x0, l.Y = y0, l.W = dx, l.H = dy;
            l.PenWidth = f.Width;
            page.Items.push_back(std::move(l));
        };
        if (f.Top) line(x, y, w, 0);
        if (f.Bottom) line(x, y + h, w, 0);
        if (f.Left) line(x, y, 0, h);
        if (f.Right) line(x + w, y, 0, h);
    }

    Report& r_;
    TextMeasure& m_;
    std::vector<ReportPage> pages_;
    int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0, limit_ = 0;
    int y_ = 0, firstDetailY_ = 0;
};

std::vector<ReportPage> Report::LayOut(TextMeasure& measure) {
    return ReportLayout(*this, measure).run();
}

// ---- Headless service ----

void RecordingReports::Preview(Report& report) {
    ++Previews;
    LastPages = report.LayOut(FixedWidths);
}

std::string RecordingReports::ExportPdf(Report& report, const std::string&) {
    LastPages = report.LayOut(FixedWidths);
    return "PDF は画面のある環境でのみ作成できます。";
}
