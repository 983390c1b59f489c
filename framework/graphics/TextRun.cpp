#include "framework/graphics/TextRun.h"

#include <algorithm>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "framework/graphics/FontPrivate.h"

namespace hx {

namespace {

bool gRunsKept = true;

// Captions are few and repeat; the bound only guards against a program that draws endless
// different texts.
constexpr std::size_t kMaxRunsPerFace = 4096;

constexpr QRgb kScratchPaper = 0xFF000000u;
constexpr QRgb kScratchInk = 0xFFFFFFFFu;

// The area that can hold the text's pixels, relative to its origin: its cell and its ink
// box, with room around them so that a glyph reaching past both (an italic overhang, a
// stray accent) is still seen, and seen to reach the edge if it does.
QRect ScratchBox(const QFontMetrics& metrics, const QString& line)
{
    const QRect cell(0, -metrics.ascent(), std::max(1, metrics.horizontalAdvance(line)),
                     metrics.ascent() + metrics.descent());
    const int margin = 2 + metrics.height() / 2;
    return cell.united(metrics.boundingRect(line)).adjusted(-margin, -margin, margin, margin);
}

// Draws text as the canvas draws it (same face, same hints), white on black, and reads the
// pixels back. Anything but pure paper or pure ink, or ink at the very edge, leaves the run
// inexact.
TTextRun Render(const TFontFace& face, const std::string& text)
{
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRect box = ScratchBox(face.Metrics, line);
    QImage scratch(box.size(), QImage::Format_RGB32);
    TTextRun run;
    run.Rendered = true;
    if (scratch.isNull())
        return run;
    scratch.fill(kScratchPaper);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(face.Face);
        painter.setPen(QColor::fromRgb(kScratchInk));
        painter.drawText(QPoint(-box.left(), -box.top()), line);
    }
    for (int y = 0; y < scratch.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width();) {
            if (row[x] == kScratchPaper) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && row[x] == kScratchInk)
                ++x;
            const bool edge = start == 0 || x == scratch.width() || y == 0 || y == scratch.height() - 1;
            if (x == start || edge) {
                run.Spans.clear();
                return run;
            }
            run.Spans.push_back(TInkSpan{start + box.left(), y + box.top(), x - start});
        }
    }
    run.Exact = true;
    return run;
}

} // namespace

const TTextRun& TextRunOf(const TFont& font, const std::string& text)
{
    TFontFace& face = FaceOf(font);
    auto it = face.Runs.find(text);
    if (it == face.Runs.end()) {
        if (face.Runs.size() >= kMaxRunsPerFace)
            face.Runs.clear();
        return face.Runs.emplace(text, TTextRun{}).first->second;
    }
    if (!it->second.Rendered)
        it->second = Render(face, text);
    return it->second;
}

void DrawTextRun(const TTextRun& run, const TCanvasTarget& target, int left, int baseline, const TRect& limit,
                 std::uint32_t ink)
{
    for (const TInkSpan& span : run.Spans) {
        const long long y = static_cast<long long>(baseline) + span.Y;
        if (y < limit.Top || y >= limit.Bottom)
            continue;
        const long long start = static_cast<long long>(left) + span.X;
        const long long from = std::max<long long>(start, limit.Left);
        const long long to = std::min<long long>(start + span.Length, limit.Right);
        if (from >= to)
            continue;
        std::uint32_t* row = target.Bits + static_cast<std::ptrdiff_t>(y) * target.StrideWords;
        std::fill(row + from, row + to, ink);
    }
}

void SetTextRunsKept(bool kept)
{
    gRunsKept = kept;
}

bool TextRunsKept()
{
    return gRunsKept;
}

} // namespace hx
