#include "framework/graphics/Canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "framework/graphics/BitmapPrivate.h"
#include "framework/graphics/CanvasPrivate.h"
#include "framework/graphics/FontPrivate.h"
#include "framework/graphics/TextRun.h"

namespace hx {

namespace {

// How the pen colour P meets the pixel D already there (the platform's binary raster modes).
std::uint32_t ApplyMode(TPenMode mode, std::uint32_t d, std::uint32_t p)
{
    std::uint32_t r = p;
    switch (mode) {
    case pmBlack: r = 0; break;
    case pmWhite: r = kPixelRgbMask; break;
    case pmNop: r = d; break;
    case pmNot: r = ~d; break;
    case pmCopy: r = p; break;
    case pmNotCopy: r = ~p; break;
    case pmMergePenNot: r = p | ~d; break;
    case pmMaskPenNot: r = p & ~d; break;
    case pmMergeNotPen: r = ~p | d; break;
    case pmMaskNotPen: r = ~p & d; break;
    case pmMerge: r = p | d; break;
    case pmNotMerge: r = ~(p | d); break;
    case pmMask: r = p & d; break;
    case pmNotMask: r = ~(p & d); break;
    case pmXor: r = p ^ d; break;
    case pmNotXor: r = ~(p ^ d); break;
    }
    return kPixelOpaque | (r & kPixelRgbMask);
}

// Styled pens: runs of on and off pixels, starting with on, repeating along each line.
bool DashOn(TPenStyle style, int position)
{
    struct Pattern {
        int Runs[6];
        int Count;
        int Period;
    };
    static constexpr Pattern kDash{{18, 6}, 2, 24};
    static constexpr Pattern kDot{{3, 3}, 2, 6};
    static constexpr Pattern kDashDot{{9, 6, 3, 6}, 4, 24};
    static constexpr Pattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};
    const Pattern* pattern = nullptr;
    switch (style) {
    case psDash: pattern = &kDash; break;
    case psDot: pattern = &kDot; break;
    case psDashDot: pattern = &kDashDot; break;
    case psDashDotDot: pattern = &kDashDotDot; break;
    default: return true;
    }
    int at = position % pattern->Period;
    for (int i = 0; i < pattern->Count; ++i) {
        if (at < pattern->Runs[i])
            return (i % 2) == 0;
        at -= pattern->Runs[i];
    }
    return true;
}

std::uint32_t* RowOf(const TCanvasTarget& t, int y)
{
    return t.Bits + static_cast<std::ptrdiff_t>(y) * t.StrideWords;
}

void FillWords(const TCanvasTarget& t, const TRect& r, std::uint32_t word)
{
    if (r.Width() == 1) {
        // A one-pixel column (a gradient band, an outline): one store per row.
        std::uint32_t* p = RowOf(t, r.Top) + r.Left;
        for (int y = r.Top; y < r.Bottom; ++y, p += t.StrideWords)
            *p = word;
        return;
    }
    for (int y = r.Top; y < r.Bottom; ++y) {
        std::uint32_t* row = RowOf(t, y);
        std::fill(row + r.Left, row + r.Right, word);
    }
}

bool Inside(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// Acquires the target and keeps its clip inside the image, so that no caller can write
// outside the bits whatever its owner reported.
template <class Acquire>
bool Prepare(Acquire&& acquire, TCanvasTarget& t)
{
    if (!acquire(t) || !t.Bits)
        return false;
    return IntersectRect(t.Clip, t.Clip, Rect(0, 0, t.Width, t.Height));
}

} // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>())
{
}

TCanvas::~TCanvas() = default;

void TCanvas::SetFont(TFont* value) { FFont->CopyValuesFrom(value); }
void TCanvas::SetPen(TPen* value) { FPen->CopyValuesFrom(value); }
void TCanvas::SetBrush(TBrush* value) { FBrush->CopyValuesFrom(value); }

void TCanvas::Touched(const TRect& touched)
{
    if (touched.IsEmpty())
        return;
    Changed(touched);
    if (OnChange)
        OnChange(this);
}

void TCanvas::FillRect(const TRect& r)
{
    if (FBrush->Style() == bsClear)
        return;
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    TRect area = r;
    OffsetRect(area, t.Origin.X, t.Origin.Y);
    TRect clipped;
    if (!IntersectRect(clipped, area, t.Clip))
        return;
    FillWords(t, clipped, ColorToOpaquePixel(FBrush->Color()));
    Touched(clipped);
}

// One edge of an outline, [left,right) x [top,bottom) in image coordinates. A styled pen
// counts its pattern along the edge; its gaps take the brush colour unless the brush is clear.
void TCanvas::PenBand(const TCanvasTarget& t, int left, int top, int right, int bottom, std::uint32_t pen,
                      unsigned& dashPhase, bool horizontal)
{
    const TPenStyle style = FPen->Style();
    const TPenMode mode = FPen->Mode();
    if (style == psSolid && mode == pmCopy) {
        // Every pixel of the band takes the pen (every swatch's border): a plain fill.
        TRect band;
        if (IntersectRect(band, Rect(left, top, right, bottom), t.Clip))
            FillWords(t, band, kPixelOpaque | (pen & kPixelRgbMask));
        return;
    }
    const bool opaqueGaps = FBrush->Style() != bsClear;
    const std::uint32_t gap = opaqueGaps ? ColorToOpaquePixel(FBrush->Color()) : 0;
    for (int y = std::max(top, t.Clip.Top); y < std::min(bottom, t.Clip.Bottom); ++y) {
        std::uint32_t* row = RowOf(t, y);
        for (int x = std::max(left, t.Clip.Left); x < std::min(right, t.Clip.Right); ++x) {
            const int along = static_cast<int>(dashPhase) + (horizontal ? x - left : y - top);
            if (DashOn(style, along))
                row[x] = ApplyMode(mode, row[x], pen);
            else if (opaqueGaps)
                row[x] = gap;
        }
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    x1 += t.Origin.X;
    x2 += t.Origin.X;
    y1 += t.Origin.Y;
    y2 += t.Origin.Y;
    const bool fill = FBrush->Style() != bsClear;
    const std::uint32_t brush = ColorToOpaquePixel(FBrush->Color());
    TRect touched;
    if (FPen->Style() == psClear) {
        // Without a pen the figure is one pixel smaller each way.
        if (fill && IntersectRect(touched, Rect(x1, y1, x2 - 1, y2 - 1), t.Clip))
            FillWords(t, touched, brush);
        Touched(touched);
        return;
    }
    const int w = FPen->Width();
    const int lead = (w - 1) / 2;
    const TRect outer = Rect(x1 - lead, y1 - lead, x2 - 1 - lead + w, y2 - 1 - lead + w);
    const TRect inner = Rect(x1 - lead + w, y1 - lead + w, x2 - 1 - lead, y2 - 1 - lead);
    TRect area;
    if (fill && IntersectRect(area, inner, t.Clip))
        FillWords(t, area, brush);
    // The four bands never overlap, so a combining pen mode touches each pixel once.
    const std::uint32_t pen = ColorToOpaquePixel(FPen->Color());
    const int topEnd = std::min(inner.Top, outer.Bottom);
    const int bottomStart = std::max(inner.Bottom, topEnd);
    const int leftEnd = std::min(inner.Left, outer.Right);
    const int rightStart = std::max(inner.Right, leftEnd);
    unsigned phase = 0;
    PenBand(t, outer.Left, outer.Top, outer.Right, topEnd, pen, phase, true);
    PenBand(t, outer.Left, bottomStart, outer.Right, outer.Bottom, pen, phase, true);
    PenBand(t, outer.Left, topEnd, leftEnd, bottomStart, pen, phase, false);
    PenBand(t, rightStart, topEnd, outer.Right, bottomStart, pen, phase, false);
    if (IntersectRect(touched, outer, t.Clip))
        Touched(touched);
}

void TCanvas::MoveTo(int x, int y)
{
    FPenPos = TPoint{x, y};
}

void TCanvas::LineTo(int x, int y)
{
    const TPoint from = FPenPos;
    FPenPos = TPoint{x, y};
    if (FPen->Style() == psClear)
        return;
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    DrawLine(t, from.X + t.Origin.X, from.Y + t.Origin.Y, x + t.Origin.X, y + t.Origin.Y);
}

// Bresenham from (x0,y0) towards (x1,y1), the end point left out. A pen wider than one
// pixel stamps a w x w square starting (w-1)/2 before each point.
//
// Only the steps whose stamp can meet the clip are drawn: a horizontal or vertical line
// (every frame and bevel) starts right at the first such step, any line stops once it has
// passed the clip (both coordinates only ever move one way), so a line across a control far
// larger than the screen costs what is seen. The pixels drawn are those of the whole line,
// and the dash pattern still counts from its start. 64-bit arithmetic: the ends may be any
// two ints.
void TCanvas::DrawLine(const TCanvasTarget& t, int x0, int y0, int x1, int y1)
{
    using I = std::int64_t;
    const I dx = std::abs(I{x1} - x0);
    const I dy = -std::abs(I{y1} - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    const I steps = std::max(dx, -dy);
    const int w = FPen->Width();
    const int lead = (w - 1) / 2;
    // The stamp at (x, y) meets the clip only for x in [xLow, xHigh) and y in [yLow, yHigh).
    const I xLow = I{t.Clip.Left} + lead - w + 1, xHigh = I{t.Clip.Right} + lead;
    const I yLow = I{t.Clip.Top} + lead - w + 1, yHigh = I{t.Clip.Bottom} + lead;
    I err = dx + dy;
    I x = x0, y = y0;
    I first = 0, last = steps;
    if (dx == 0 || dy == 0) {
        // Along one axis the error never changes: step i stands at start + i * direction.
        const bool horizontal = dy == 0;
        const I across = horizontal ? y : x;
        if (across < (horizontal ? yLow : xLow) || across >= (horizontal ? yHigh : xHigh))
            return;
        const I from = horizontal ? x : y;
        const int dir = horizontal ? sx : sy;
        const I low = horizontal ? xLow : yLow, high = horizontal ? xHigh : yHigh;
        first = std::max<I>(0, dir > 0 ? low - from : from - high + 1);
        last = std::min<I>(steps, dir > 0 ? high - from : from - low + 1);
        (horizontal ? x : y) += dir * first;
    }
    const TPenStyle style = FPen->Style();
    const TPenMode mode = FPen->Mode();
    const std::uint32_t pen = ColorToOpaquePixel(FPen->Color());
    const bool opaqueGaps = FBrush->Style() != bsClear;
    const std::uint32_t gap = ColorToOpaquePixel(FBrush->Color());
    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (I i = first; i < last; ++i) {
        const bool xMeets = x >= xLow && x < xHigh, yMeets = y >= yLow && y < yHigh;
        if (xMeets && yMeets) {
            // Every dash pattern repeats within 24 pixels.
            const bool on = DashOn(style, static_cast<int>(i % 24));
            for (int py = static_cast<int>(y) - lead; py < static_cast<int>(y) - lead + w; ++py) {
                for (int px = static_cast<int>(x) - lead; px < static_cast<int>(x) - lead + w; ++px) {
                    if (!Inside(t.Clip, px, py) || (!on && !opaqueGaps))
                        continue;
                    std::uint32_t& word = RowOf(t, py)[px];
                    word = on ? ApplyMode(mode, word, pen) : gap;
                    left = std::min(left, px);
                    top = std::min(top, py);
                    right = std::max(right, px + 1);
                    bottom = std::max(bottom, py + 1);
                }
            }
        } else if ((sx > 0 ? x >= xHigh : x < xLow) || (sy > 0 ? y >= yHigh : y < yLow)) {
            break;  // past the clip for good
        }
        const I e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    if (left < right)
        Touched(Rect(left, top, right, bottom));
}

int TCanvas::TextWidth(const std::string& text) const
{
    return TextMetricsOf(*FFont, text).Advance;
}

int TCanvas::TextHeight(const std::string&) const
{
    const QFontMetrics& metrics = QtMetricsOf(*FFont);
    return metrics.ascent() + metrics.descent();
}

TSize TCanvas::TextExtent(const std::string& text) const
{
    return TSize{TextWidth(text), TextHeight(text)};
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    DrawTextCell(nullptr, x, y, text, 0, 0);
    FPenPos = TPoint{x + TextMetricsOf(*FFont, text).Advance, y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    DrawTextCell(&r, x, y, text, 0, 0);
}

void TCanvas::DrawTextCell(const TRect* clip, int x, int y, const std::string& text, int underlineFrom,
                           int underlineTo)
{
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    TRect limit = t.Clip;
    if (clip) {
        TRect box = *clip;
        OffsetRect(box, t.Origin.X, t.Origin.Y);
        if (!IntersectRect(limit, limit, box))
            return;
    }
    const QFontMetrics& metrics = QtMetricsOf(*FFont);
    const TTextMetrics measured = TextMetricsOf(*FFont, text); // a copy: the cache may be trimmed
    const int left = x + t.Origin.X;
    const int top = y + t.Origin.Y;
    const int baseline = top + metrics.ascent();
    const TRect cell = Rect(left, top, left + measured.Advance, baseline + metrics.descent());
    TRect part;
    if (FBrush->Style() != bsClear && IntersectRect(part, cell, limit))
        FillWords(t, part, ColorToOpaquePixel(FBrush->Color()));
    TextBegin(limit);
    const std::uint32_t ink = ColorToOpaquePixel(FFont->Color());
    // Kept runs are laid out left to right; right-to-left reading goes through the toolkit.
    const bool rightToLeft = (FTextFlags & ETO_RTLREADING) != 0;
    const TTextRun* run = TextRunsKept() && !rightToLeft ? &TextRunOf(*FFont, text) : nullptr;
    if (run && run->Exact) {
        DrawTextRun(*run, t, left, baseline, limit, ink);
    } else {
        const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        QImage image(reinterpret_cast<uchar*>(t.Bits), t.Width, t.Height, t.StrideWords * 4,
                     QImage::Format_RGB32);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setClipRect(QRect(limit.Left, limit.Top, limit.Width(), limit.Height()));
        painter.setFont(QtFontOf(*FFont));
        painter.setPen(QColor::fromRgb(ink));
        if (rightToLeft)
            painter.setLayoutDirection(Qt::RightToLeft);
        painter.drawText(QPoint(left, baseline), line);
    }
    if (underlineFrom < underlineTo) {
        const int from = left + metrics.horizontalAdvance(QString::fromUtf8(text.data(), underlineFrom));
        const int to = left + metrics.horizontalAdvance(QString::fromUtf8(text.data(), underlineTo));
        const int lineTop = baseline + std::max(1, metrics.underlinePos());
        if (IntersectRect(part, Rect(from, lineTop, to, lineTop + std::max(1, metrics.lineWidth())), limit))
            FillWords(t, part, ink);
    }
    // Glyphs may overhang their cell (italics, accents): report what they cover as well.
    const QRect ink_box = measured.Ink.translated(left, baseline);
    const TRect drawn = UnionRect(
        cell, Rect(ink_box.left(), ink_box.top(), ink_box.right() + 2, ink_box.bottom() + 2));
    if (IntersectRect(part, drawn, limit))
        Touched(part);
    TextDrawn(TTextDrawing{FFont.get(), &text, left, baseline, limit, underlineFrom, underlineTo,
                           rightToLeft});
}

void TCanvas::Draw(int x, int y, TBitmap* graphic)
{
    if (!graphic)
        return;
    CopyBitmap(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
    BitmapDrawn(*graphic, x, y);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* graphic)
{
    CopyBitmap(r, graphic);
}

// Each target pixel takes the source pixel it falls on: column i of the target reads column
// i * srcW / dstW, rows likewise; there is no blending.
void TCanvas::CopyBitmap(const TRect& dest, TBitmap* graphic)
{
    if (!graphic || graphic->Empty() || dest.IsEmpty())
        return;
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    TRect area = dest;
    OffsetRect(area, t.Origin.X, t.Origin.Y);
    TRect clipped;
    if (!IntersectRect(clipped, area, t.Clip))
        return;
    const TBitmapImage& source = graphic->Image();
    const long long sw = source.Width, sh = source.Height;
    const long long dw = area.Width(), dh = area.Height();
    const bool mono = source.Format == pf1bit;
    const std::uint32_t zero = ColorToOpaquePixel(FTextColor);
    const std::uint32_t one = ColorToOpaquePixel(FBkColor);
    const bool transparent = graphic->Transparent();
    const std::uint32_t key = ColorToOpaquePixel(graphic->TransparentColor()) & kPixelRgbMask;
    if (sw == dw && sh == dh && source.Wide()) {
        // An unscaled copy of 32-bit words (every Draw of a paint's own bitmap): each
        // target pixel reads its own source pixel, with no scaling or format dispatch.
        for (int y = clipped.Top; y < clipped.Bottom; ++y) {
            std::uint32_t* row = RowOf(t, y);
            const std::uint32_t* from = source.Row(y - area.Top) + (clipped.Left - area.Left);
            std::uint32_t* to = row + clipped.Left;
            const int n = clipped.Right - clipped.Left;
            if (!transparent) {
                // Branch-free, so the compiler copies whole vectors of words.
                for (int i = 0; i < n; ++i)
                    to[i] = kPixelOpaque | from[i];
                continue;
            }
            for (int x = clipped.Left; x < clipped.Right; ++x) {
                const std::uint32_t word = source.Row(y - area.Top)[x - area.Left] & kPixelRgbMask;
                if (word != key)
                    row[x] = kPixelOpaque | word;
            }
        }
        Touched(clipped);
        return;
    }
    for (int y = clipped.Top; y < clipped.Bottom; ++y) {
        const int sy = static_cast<int>((y - area.Top) * sh / dh);
        std::uint32_t* row = RowOf(t, y);
        for (int x = clipped.Left; x < clipped.Right; ++x) {
            const int sx = static_cast<int>((x - area.Left) * sw / dw);
            const std::uint32_t word = source.Word(sx, sy);
            if (transparent && word == key)
                continue;
            row[x] = mono ? (word ? one : zero) : (kPixelOpaque | word);
        }
    }
    Touched(clipped);
}

TColor TCanvas::Pixel(int x, int y)
{
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return -1;
    x += t.Origin.X;
    y += t.Origin.Y;
    if (!Inside(t.Clip, x, y))
        return -1;
    return PixelToColor(RowOf(t, y)[x]);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return;
    x += t.Origin.X;
    y += t.Origin.Y;
    if (!Inside(t.Clip, x, y))
        return;
    RowOf(t, y)[x] = ColorToOpaquePixel(color);
    Touched(Rect(x, y, x + 1, y + 1));
}

TRect TCanvas::ClipRect()
{
    TCanvasTarget t;
    if (!Prepare([this](TCanvasTarget& target) { return AcquireTarget(target); }, t))
        return TRect{};
    TRect clip = t.Clip;
    OffsetRect(clip, -t.Origin.X, -t.Origin.Y);
    return clip;
}

} // namespace hx
