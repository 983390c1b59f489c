#include "framework/graphics/Gdi.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <QString>

#include "framework/core/Chars.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/BitmapPrivate.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/CanvasPrivate.h"
#include "framework/graphics/FontPrivate.h"

namespace hx {

namespace {

// One line of DrawText output: its bytes and the accelerator character's byte range.
struct TTextLine {
    std::string Text;
    int UnderlineFrom = 0;
    int UnderlineTo = 0;
};

// Splits the text into its lines, turning "&x" into an underlined x and "&&" into "&"
// unless prefixes are off. Only the first accelerator of a line is underlined.
std::vector<TTextLine> SplitLines(const char* text, int len, unsigned flags)
{
    std::vector<TTextLine> lines;
    if (len <= 0)
        return lines;
    const bool prefixes = (flags & DT_NOPREFIX) == 0;
    const bool single = (flags & DT_SINGLELINE) != 0;
    lines.emplace_back();
    for (int i = 0; i < len; ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < len && text[i + 1] == '\n')
                ++i;
            if (!single)
                lines.emplace_back();
            continue;
        }
        TTextLine& line = lines.back();
        if (prefixes && c == '&') {
            if (i + 1 >= len)
                break; // a lone trailing ampersand shows nothing
            ++i;
            if (text[i] != '&' && line.UnderlineFrom == line.UnderlineTo && text[i] != '\r' &&
                text[i] != '\n') {
                const int n = std::min(Utf8LeadLength(static_cast<unsigned char>(text[i])), len - i);
                line.UnderlineFrom = static_cast<int>(line.Text.size());
                line.UnderlineTo = line.UnderlineFrom + n;
                line.Text.append(text + i, static_cast<std::size_t>(n));
                i += n - 1;
                continue;
            }
            if (text[i] == '\r' || text[i] == '\n') {
                --i;
                continue;
            }
        }
        line.Text.push_back(text[i]);
    }
    return lines;
}

class TTextLayout {
public:
    TTextLayout(const QFontMetrics& metrics, unsigned flags)
        : FMetrics(metrics), FTabs((flags & DT_EXPANDTABS) != 0),
          FTabWidth(std::max(1, 8 * metrics.averageCharWidth()))
    {
    }

    int Advance(const std::string& text, std::size_t from, std::size_t to) const
    {
        return FMetrics.horizontalAdvance(
            QString::fromUtf8(text.data() + from, static_cast<qsizetype>(to - from)));
    }

    // Width of text[from, to) starting at a tab-stop boundary (the line's start).
    int Width(const std::string& text, std::size_t from, std::size_t to) const
    {
        if (!FTabs)
            return Advance(text, from, to);
        int x = 0;
        std::size_t start = from;
        for (std::size_t i = from; i <= to; ++i) {
            if (i == to || text[i] == '\t') {
                x += Advance(text, start, i);
                if (i < to)
                    x = (x / FTabWidth + 1) * FTabWidth;
                start = i + 1;
            }
        }
        return x;
    }

    bool Tabs() const { return FTabs; }
    int TabWidth() const { return FTabWidth; }

private:
    const QFontMetrics& FMetrics;
    bool FTabs;
    int FTabWidth;
};

// Greedy word wrap at spaces: a word that does not fit starts a new line, a word longer
// than the line stands alone; the spaces at a break belong to no line.
std::vector<TTextLine> Wrap(const std::vector<TTextLine>& lines, const TTextLayout& layout, int width)
{
    std::vector<TTextLine> out;
    for (const TTextLine& line : lines) {
        const std::string& s = line.Text;
        std::size_t start = 0;
        std::size_t end = 0; // end of the last word that fits
        std::size_t i = 0;
        auto addLine = [&](std::size_t from, std::size_t to) {
            TTextLine piece;
            piece.Text = s.substr(from, to - from);
            if (line.UnderlineFrom < line.UnderlineTo && line.UnderlineFrom >= static_cast<int>(from) &&
                line.UnderlineTo <= static_cast<int>(to)) {
                piece.UnderlineFrom = line.UnderlineFrom - static_cast<int>(from);
                piece.UnderlineTo = line.UnderlineTo - static_cast<int>(from);
            }
            out.push_back(std::move(piece));
        };
        if (s.empty()) {
            out.push_back(line);
            continue;
        }
        while (i < s.size()) {
            std::size_t wordStart = i;
            while (wordStart < s.size() && s[wordStart] == ' ')
                ++wordStart;
            std::size_t wordEnd = wordStart;
            while (wordEnd < s.size() && s[wordEnd] != ' ')
                ++wordEnd;
            if (wordStart == wordEnd) // only trailing spaces are left
                break;
            if (end > start && layout.Width(s, start, wordEnd) > width) {
                addLine(start, end);
                start = wordStart;
            }
            end = wordEnd;
            i = wordEnd;
        }
        addLine(start, std::max(start, end));
    }
    return out;
}

void DrawLine(TCanvas& canvas, const TRect* clip, int x, int y, const TTextLine& line, const TTextLayout& layout)
{
    if (!layout.Tabs()) {
        TCanvasAccess::DrawTextCell(canvas, clip, x, y, line.Text, line.UnderlineFrom, line.UnderlineTo);
        return;
    }
    int pen = 0;
    std::size_t start = 0;
    const std::string& s = line.Text;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i < s.size() && s[i] != '\t')
            continue;
        const std::string piece = s.substr(start, i - start);
        const int from = line.UnderlineFrom - static_cast<int>(start);
        const int to = line.UnderlineTo - static_cast<int>(start);
        const bool inside = from >= 0 && to <= static_cast<int>(piece.size());
        if (!piece.empty())
            TCanvasAccess::DrawTextCell(canvas, clip, x + pen, y, piece, inside ? from : 0, inside ? to : 0);
        pen += layout.Advance(s, start, i);
        if (i < s.size())
            pen = (pen / layout.TabWidth() + 1) * layout.TabWidth();
        start = i + 1;
    }
}

std::uint32_t Rop3(unsigned index, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    // Bit i of the index is the result for pattern = bit 2 of i, source = bit 1, dest = bit 0.
    std::uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (index & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return 0xFF000000u | (r & 0xFFFFFFu);
}

// Where BitBlt reads its source: another canvas's image or a bitmap's pixels.
struct TBlitSource {
    const TCanvasTarget* Target = nullptr;
    const TBitmapImage* Image = nullptr;
    bool Mono = false;

    // The pixel at source canvas (x, y) as 0x00RRGGBB; false outside the source.
    bool Read(int x, int y, std::uint32_t& word) const
    {
        if (Target) {
            x += Target->Origin.X;
            y += Target->Origin.Y;
            if (!PtInRect(Target->Clip, TPoint{x, y}))
                return false;
            word = Target->Bits[static_cast<std::ptrdiff_t>(y) * Target->StrideWords + x] & 0xFFFFFFu;
            return true;
        }
        if (x < 0 || y < 0 || x >= Image->Width || y >= Image->Height)
            return false;
        word = Image->Word(x, y);
        return true;
    }
};

bool Blit(TCanvas* dest, int x, int y, int w, int h, const TBlitSource* source, int sx, int sy, std::uint32_t rop)
{
    if (!dest || w <= 0 || h <= 0)
        return false;
    TCanvasTarget t;
    if (!TCanvasAccess::Acquire(*dest, t) || !t.Bits ||
        !IntersectRect(t.Clip, t.Clip, Rect(0, 0, t.Width, t.Height)))
        return false;
    TRect area = Bounds(x + t.Origin.X, y + t.Origin.Y, w, h);
    TRect clipped;
    if (!IntersectRect(clipped, area, t.Clip))
        return true;
    const unsigned index = (rop >> 16) & 0xFFu;
    const std::uint32_t pattern = ColorToPixel(dest->Brush()->Color());
    const std::uint32_t zero = ColorToPixel(dest->DeviceTextColor());
    const std::uint32_t one = ColorToPixel(dest->DeviceBkColor());
    const bool destMono = TCanvasAccess::IsMonochrome(*dest);
    for (int py = clipped.Top; py < clipped.Bottom; ++py) {
        std::uint32_t* row = t.Bits + static_cast<std::ptrdiff_t>(py) * t.StrideWords;
        for (int px = clipped.Left; px < clipped.Right; ++px) {
            std::uint32_t s = 0;
            if (source) {
                if (!source->Read(sx + px - area.Left, sy + py - area.Top, s))
                    continue;
                if (source->Mono && !destMono)
                    s = s ? one : zero;
                else if (destMono && !source->Mono)
                    s = s == 0xFFFFFFu ? 0xFFFFFFu : 0u;
            }
            row[px] = Rop3(index, pattern, s, row[px] & 0xFFFFFFu);
        }
    }
    TCanvasAccess::Touched(*dest, clipped);
    return true;
}

} // namespace

int DrawText(TCanvas* canvas, const char* text, int len, TRect& r, unsigned flags)
{
    if (!canvas)
        return 0;
    if (!text)
        len = 0;
    else if (len < 0)
        len = static_cast<int>(std::strlen(text));
    const QFontMetrics& metrics = QtMetricsOf(*canvas->Font());
    const TTextLayout layout(metrics, flags);
    std::vector<TTextLine> lines = SplitLines(text, len, flags);
    const bool single = (flags & DT_SINGLELINE) != 0;
    if ((flags & DT_WORDBREAK) && !single)
        lines = Wrap(lines, layout, r.Width());
    const int lineHeight = metrics.ascent() + metrics.descent();
    const int height = lineHeight * static_cast<int>(lines.size());

    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const TTextLine& line : lines)
            widest = std::max(widest, layout.Width(line.Text, 0, line.Text.size()));
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }

    int top = r.Top;
    if (single && (flags & DT_VCENTER))
        top = r.Top + (r.Height() - lineHeight) / 2;
    else if (single && (flags & DT_BOTTOM))
        top = r.Bottom - lineHeight;
    const TRect* clip = (flags & DT_NOCLIP) ? nullptr : &r;
    const unsigned textFlags = canvas->TextFlags();
    if (flags & DT_RTLREADING)
        canvas->SetTextFlags(textFlags | ETO_RTLREADING);
    int y = top;
    for (const TTextLine& line : lines) {
        const int width = layout.Width(line.Text, 0, line.Text.size());
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - width) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - width;
        if (!line.Text.empty()) {
            try {
                DrawLine(*canvas, clip, x, y, line, layout);
            } catch (...) {
                canvas->SetTextFlags(textFlags);
                throw;
            }
        }
        y += lineHeight;
    }
    canvas->SetTextFlags(textFlags);
    return (single && (flags & (DT_VCENTER | DT_BOTTOM))) ? top - r.Top + height : height;
}

bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TCanvas* source, int sx, int sy, std::uint32_t rop)
{
    if (!source)
        return Blit(dest, x, y, w, h, nullptr, sx, sy, rop);
    TCanvasTarget from;
    if (!TCanvasAccess::Acquire(*source, from) || !from.Bits ||
        !IntersectRect(from.Clip, from.Clip, Rect(0, 0, from.Width, from.Height)))
        return false;
    TBlitSource reader;
    reader.Target = &from;
    reader.Mono = TCanvasAccess::IsMonochrome(*source);
    return Blit(dest, x, y, w, h, &reader, sx, sy, rop);
}

bool BitBlt(TCanvas* dest, int x, int y, int w, int h, TBitmap* source, int sx, int sy, std::uint32_t rop)
{
    if (!source)
        return Blit(dest, x, y, w, h, nullptr, sx, sy, rop);
    if (source->Empty())
        return false;
    TBlitSource reader;
    reader.Image = &source->Image();
    reader.Mono = source->Monochrome();
    return Blit(dest, x, y, w, h, &reader, sx, sy, rop);
}

TColor SetTextColor(TCanvas* canvas, TColor color)
{
    if (!canvas)
        return -1;
    const TColor previous = canvas->DeviceTextColor();
    TCanvasAccess::SetTextColor(*canvas, color);
    return previous;
}

TColor SetBkColor(TCanvas* canvas, TColor color)
{
    if (!canvas)
        return -1;
    const TColor previous = canvas->DeviceBkColor();
    TCanvasAccess::SetBkColor(*canvas, color);
    return previous;
}

} // namespace hx
