#include "gui/ReportPagePainter.h"

#include "gui/QtText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <tuple>

namespace {

// Report pixels between a left- or right-aligned text and its box's edge.
constexpr int kTextInset = 2;

int alignFlags(ReportAlign a) {
    switch (a) {
    case ReportAlign::Center:
        return Qt::AlignHCenter;
    case ReportAlign::Right:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

std::string fontKey(const ReportFont& f, const std::string& text) {
    return f.Family + '\0' + std::to_string(f.Size) + (f.Bold ? 'b' : 'r') + '\0' + text;
}

} // namespace

ReportPagePainter::ReportPagePainter(QPainter& painter, QtTextMeasure& measure)
    : painter_(painter), measure_(measure),
      pdf_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf) {}

void ReportPagePainter::Paint(const ReportPage& page) {
    font_ = nullptr;
    painter_.setPen(Qt::black);
    for (const PageItem& it : page.Items)
        it.Kind == PageItem::Line ? line(it) : text(it);
    flushText();
    flushLines();
}

void ReportPagePainter::useFont(const ReportFont& font) {
    if (font_ && *font_ == font) return;
    painter_.setFont(measure_.QFontOf(font));
    font_ = &font;
}

// A text narrower than its box is drawn at its own place, without a layout of its box;
// a wider one is centred or aligned in its box and cut at its edges.
void ReportPagePainter::text(const PageItem& it) {
    const int lh = std::max(it.LineHeight, 1);
    const double ascent = measure_.Ascent(it.Font), descent = measure_.Descent(it.Font);
    for (size_t i = 0; i < it.Lines.size(); ++i) {
        const std::string& s = it.Lines[i];
        if (s.empty()) continue;
        const QRectF box(it.X, it.Y + static_cast<double>(i) * lh, it.W, lh);
        const Shaped* glyphs = pdf_ ? &shaped(s, it.Font) : nullptr;
        const int w = glyphs ? glyphs->width : measure_.Width(s, it.Font);
        if (w > it.W) {
            glyphs ? clipped(it, box, s, *glyphs) : drawClipped(it, box, s);
            continue;
        }
        // Off the frame lines on the box's edges, as far as the box has room for it.
        const double inset = std::min(kTextInset, std::max(0, it.W - w));
        const double x = it.Align == ReportAlign::Left    ? box.left() + inset
                         : it.Align == ReportAlign::Right ? box.right() - w - inset
                                                          : box.left() + (it.W - w) / 2.0;
        const QPointF origin(x, box.top() + (lh - ascent - descent) / 2 + ascent);
        if (glyphs) {
            addGlyphs(*glyphs, origin);
        } else {
            useFont(it.Font);
            painter_.drawText(origin, qs(s));
        }
    }
}

void ReportPagePainter::drawClipped(const PageItem& it, const QRectF& box, const std::string& s) {
    useFont(it.Font);
    painter_.drawText(box, alignFlags(it.Align) | Qt::AlignVCenter | Qt::TextSingleLine, qs(s));
}

// Where the painter would set the text in its box (the same in every box of that size),
// found once; the glyphs cut at the box as the painter cuts them.
void ReportPagePainter::clipped(const PageItem& it, const QRectF& box, const std::string& s,
                                const Shaped& glyphs) {
    const int flags = alignFlags(it.Align) | Qt::AlignVCenter | Qt::TextSingleLine;
    const std::string key = fontKey(it.Font, s) + '\0' + std::to_string(it.W) + ' ' +
                            std::to_string(box.height()) + ' ' + std::to_string(flags);
    auto [at, added] = clippedAt_.try_emplace(key);
    if (added) {
        useFont(it.Font);
        const QRectF bounds = painter_.boundingRect(QRectF(QPointF(0, 0), box.size()), flags, qs(s));
        at->second = bounds.topLeft() + QPointF(0, glyphs.ascent);
    }
    flushText();
    painter_.save();
    painter_.setClipRect(box, Qt::IntersectClip);
    addGlyphs(glyphs, box.topLeft() + at->second);
    flushText();
    painter_.restore();
}

// Each character as the font's character map gives it, one after another: what the
// layout measured, and glyphs the PDF writer can map back to their characters (a
// shaped "5km" takes a digit form outside the map, which the text layer then drops).
// A text with a character the font lacks is shaped, so a fallback font draws it.
const ReportPagePainter::Shaped& ReportPagePainter::shaped(const std::string& text, const ReportFont& font) {
    auto [it, added] = shaped_.try_emplace(fontKey(font, text));
    if (!added) return it->second;
    Shaped& s = it->second;
    s.width = measure_.Width(text, font);
    const QFont& qfont = measure_.QFontOf(font);
    s.ascent = QFontMetricsF(qfont, painter_.device()).ascent();
    auto [cached, first] = raw_.try_emplace(fontKey(font, {}));
    if (first) cached->second = QRawFont::fromFont(qfont);
    const QRawFont& raw = cached->second;
    const QString chars = qs(text);
    QList<quint32> glyphs(chars.size());
    int count = static_cast<int>(glyphs.size());
    if (raw.isValid() &&
        raw.glyphIndexesForChars(chars.constData(), static_cast<int>(chars.size()), glyphs.data(), &count)) {
        glyphs.resize(count);
        if (!glyphs.contains(0u)) {
            Piece p{rawFontIndex(raw), glyphs, raw.advancesForGlyphIndexes(glyphs)};
            double x = 0;
            for (QPointF& at : p.positions) {
                const double advance = at.x();
                at = QPointF(x, 0);
                x += advance;
            }
            s.pieces.push_back(std::move(p));
            return s;
        }
    }
    shapeWithFallback(s, chars, qfont);
    return s;
}

void ReportPagePainter::shapeWithFallback(Shaped& s, const QString& text, const QFont& font) {
    QTextLayout layout(text, font, painter_.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    s.ascent = line.ascent();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        Piece p{rawFontIndex(run.rawFont()), run.glyphIndexes(), run.positions()};
        for (QPointF& at : p.positions)
            at.ry() -= line.ascent();
        s.pieces.push_back(std::move(p));
    }
}

int ReportPagePainter::rawFontIndex(const QRawFont& font) {
    const auto it = std::find(rawFonts_.begin(), rawFonts_.end(), font);
    if (it != rawFonts_.end()) return static_cast<int>(it - rawFonts_.begin());
    rawFonts_.push_back(font);
    return static_cast<int>(rawFonts_.size()) - 1;
}

void ReportPagePainter::addGlyphs(const Shaped& s, QPointF origin) {
    for (const Piece& p : s.pieces) {
        if (p.font != run_.font) {
            flushText();
            run_.font = p.font;
        }
        run_.glyphs.append(p.glyphs);
        for (const QPointF& at : p.positions)
            run_.positions.append(origin + at);
    }
}

void ReportPagePainter::flushText() {
    if (run_.glyphs.isEmpty()) return;
    QGlyphRun glyphs;
    glyphs.setRawFont(rawFonts_[static_cast<size_t>(run_.font)]);
    glyphs.setGlyphIndexes(run_.glyphs);
    glyphs.setPositions(run_.positions);
    painter_.drawGlyphRun(QPointF(0, 0), glyphs);
    run_.glyphs.clear();
    run_.positions.clear();
}

// Dotted, slanting and zero-length lines are stroked as they are, and every line on
// the screen, where a thin rectangle could fall between the pixels when zoomed out.
void ReportPagePainter::line(const PageItem& it) {
    const bool vertical = it.W == 0, horizontal = it.H == 0;
    if (!pdf_ || it.Dotted || vertical == horizontal) {
        painter_.setPen(QPen(Qt::black, it.PenWidth, it.Dotted ? Qt::DotLine : Qt::SolidLine));
        painter_.drawLine(QPointF(it.X, it.Y), QPointF(it.X + it.W, it.Y + it.H));
        painter_.setPen(Qt::black);
        return;
    }
    const double a = vertical ? it.Y : it.X, b = a + (vertical ? it.H : it.W);
    segments_.push_back(
        {vertical, it.PenWidth, static_cast<double>(vertical ? it.X : it.Y), std::min(a, b), std::max(a, b)});
}

// A solid line with square caps covers its length and half its width beyond either end:
// lines that meet or overlap cover the same as one line over both.
void ReportPagePainter::flushLines() {
    std::sort(segments_.begin(), segments_.end(), [](const Segment& l, const Segment& r) {
        return std::tie(l.vertical, l.width, l.across, l.from) <
               std::tie(r.vertical, r.width, r.across, r.from);
    });
    std::vector<QRectF> rects;
    for (size_t i = 0; i < segments_.size();) {
        Segment s = segments_[i++];
        for (; i < segments_.size(); ++i) {
            const Segment& n = segments_[i];
            if (n.vertical != s.vertical || n.width != s.width || n.across != s.across || n.from > s.to)
                break;
            s.to = std::max(s.to, n.to);
        }
        const double half = s.width / 2.0, length = s.to - s.from + s.width;
        rects.push_back(s.vertical ? QRectF(s.across - half, s.from - half, s.width, length)
                                   : QRectF(s.from - half, s.across - half, length, s.width));
    }
    segments_.clear();
    if (rects.empty()) return;
    painter_.save();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(Qt::black);
    painter_.drawRects(rects.data(), static_cast<int>(rects.size()));
    painter_.restore();
}
