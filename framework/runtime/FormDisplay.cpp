#include "framework/runtime/FormDisplay.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include <QPainter>

#include "framework/graphics/BitmapPrivate.h"
#include "framework/runtime/Form.h"

namespace hx {

namespace {

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QRect DisplayRect(const TRect& r, double scale, const QImage& display)
{
    const auto edge = [scale](int v) { return static_cast<int>(std::ceil(v * scale - 1e-9)); };
    const QRect all(0, 0, display.width(), display.height());
    return QRect(QPoint(edge(r.Left), edge(r.Top)), QPoint(edge(r.Right) - 1, edge(r.Bottom) - 1)).intersected(all);
}

} // namespace

void TFormDisplay::SetScale(double ratio, const TSurfaceView& surface, const TRect& client)
{
    const bool wasHigh = FScale > 1.0;
    FScale = ratio > 1.0 ? ratio : 1.0;
    if (wasHigh != (FScale > 1.0))
        HoldBitmapText(FScale > 1.0); // paints' own bitmaps keep their text from now on
    FImage = QImage();
    FTextBackdrop = QImage();
    if (FScale > 1.0 && surface.Bits) {
        FImage = QImage(static_cast<int>(std::ceil(surface.Width * FScale - 1e-9)),
                        static_cast<int>(std::ceil(surface.Height * FScale - 1e-9)), QImage::Format_RGB32);
        FImage.setDevicePixelRatio(FScale);
        CopyFrom(surface, client);
    }
}

TColor TFormDisplay::Pixel(int x, int y) const
{
    if (FImage.isNull() || x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height())
        return -1;
    const QRgb w = FImage.pixel(x, y);
    return RGB(qRed(w), qGreen(w), qBlue(w));
}

void TFormDisplay::CopyFrom(const TSurfaceView& surface, const TRect& r)
{
    if (FImage.isNull())
        return;
    const QRect target = DisplayRect(r, FScale, FImage);
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int sy = std::min(surface.Height - 1, static_cast<int>(y / FScale));
        const std::uint32_t* from = surface.Bits + static_cast<size_t>(sy) * surface.StrideWords;
        auto* to = reinterpret_cast<std::uint32_t*>(FImage.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            to[x] = from[std::min(surface.Width - 1, static_cast<int>(x / FScale))];
    }
}

void TFormDisplay::TextBegin(const TRect& limit)
{
    if (FImage.isNull())
        return;
    FTextBackdropRect = DisplayRect(limit, FScale, FImage);
    FTextBackdrop = FImage.copy(FTextBackdropRect);
}

bool TFormDisplay::TextDrawn(const TTextDrawing& d)
{
    if (FImage.isNull() || FTextBackdrop.isNull())
        return false;
    const QRect& area = FTextBackdropRect;
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(FImage.scanLine(area.top() + y) + area.left() * 4, FTextBackdrop.constScanLine(y),
                    static_cast<size_t>(area.width()) * 4);
    FTextBackdrop = QImage();
    DrawGlyphs(TextOf(d), 0, 0, d.Limit);
    return true;
}

bool TFormDisplay::TextCopied(const TBitmapText& text, int dx, int dy, const TRect& clip, TRect& area)
{
    if (FImage.isNull())
        return false;
    TRect limit = text.Limit;
    OffsetRect(limit, dx, dy);
    if (!IntersectRect(area, limit, clip))
        return false;
    const QRect target = DisplayRect(area, FScale, FImage);
    const int stride = text.Limit.Width();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int sy = static_cast<int>(y / FScale) - limit.Top;
        auto* to = reinterpret_cast<std::uint32_t*>(FImage.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            to[x] = text.Backdrop[static_cast<size_t>(sy) * stride + (static_cast<int>(x / FScale) - limit.Left)];
    }
    DrawGlyphs(text, dx, dy, area);
    return true;
}

void TFormDisplay::DrawGlyphs(const TBitmapText& text, int dx, int dy, const TRect& clip)
{
    const QString line = QString::fromUtf8(text.Text.data(), static_cast<qsizetype>(text.Text.size()));
    const QColor ink = QColor::fromRgb(text.Ink);
    QPainter painter(&FImage); // in surface coordinates: the image carries the ratio
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRect(ToQRect(clip));
    painter.setFont(text.Face);
    painter.setPen(ink);
    if (text.RightToLeft)
        painter.setLayoutDirection(Qt::RightToLeft);
    painter.drawText(QPoint(text.Left + dx, text.Baseline + dy), line);
    if (!text.Underline.IsEmpty()) {
        TRect underline = text.Underline;
        OffsetRect(underline, dx, dy);
        painter.fillRect(ToQRect(underline), ink);
    }
}

} // namespace hx
