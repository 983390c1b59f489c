#include "framework/graphics/Bitmap.h"

#include <algorithm>

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>

#include "framework/graphics/BitmapPrivate.h"
#include "framework/graphics/CanvasPrivate.h"
#include "framework/core/Exception.h"
#include "framework/graphics/FontPrivate.h"

namespace hx {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFu;

int StrideWordsFor(TPixelFormat format, int width)
{
    switch (format) {
    case pf1bit:
        return (width + 31) / 32;
    case pf24bit:
        return (width * 24 + 31) / 32;
    default:
        return width;
    }
}


// Rebuilds the image in format at width x height: the common part keeps its colours (as
// the new format can hold them), new pixels are white.
void Reshape(TBitmapImage& image, TPixelFormat format, int width, int height)
{
    TBitmapImage next;
    next.Width = width;
    next.Height = height;
    next.Format = format;
    next.StrideWords = StrideWordsFor(format, width);
    if (next.Wide()) {
        // The common case (a paint's own bitmap sized once): whole rows of words, no
        // per-pixel format dispatch.
        next.Rows.assign(static_cast<std::size_t>(next.StrideWords) * height, 0xFF000000u | kWhite);
        const int keepW = std::min(width, image.Width), keepH = std::min(height, image.Height);
        for (int y = 0; y < keepH; ++y) {
            std::uint32_t* row = next.Row(y);
            for (int x = 0; x < keepW; ++x)
                row[x] = 0xFF000000u | image.Word(x, y);
        }
    } else {
        next.Rows.assign(static_cast<std::size_t>(next.StrideWords) * height, 0u);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                next.SetWord(x, y, (x < image.Width && y < image.Height) ? image.Word(x, y) : kWhite);
    }
    image.Width = width;
    image.Height = height;
    image.Format = format;
    image.StrideWords = next.StrideWords;
    image.Rows.swap(next.Rows);
    image.Shadow.clear();
}

// The canvas of a bitmap: draws straight on 32-bit rows, through the shadow on others.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : FOwner(owner) {}

protected:
    bool AcquireTarget(TCanvasTarget& target) override
    {
        TBitmapImage& image = FOwner.Image();
        if (image.Empty())
            return false;
        target.Width = image.Width;
        target.Height = image.Height;
        target.Origin = FOwner.CanvasOrigin();
        target.Clip = Rect(0, 0, image.Width, image.Height);
        if (image.Wide()) {
            target.Bits = image.Rows.data();
            target.StrideWords = image.StrideWords;
            return true;
        }
        image.Shadow.resize(static_cast<std::size_t>(image.Width) * image.Height);
        std::uint32_t* out = image.Shadow.data();
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x)
                *out++ = 0xFF000000u | image.Word(x, y);
        target.Bits = image.Shadow.data();
        target.StrideWords = image.Width;
        return true;
    }

    void Changed(const TRect& touched) override
    {
        TBitmapImage& image = FOwner.Image();
        if (!image.Wide() && image.Shadow.size() == static_cast<std::size_t>(image.Width) * image.Height) {
            for (int y = touched.Top; y < touched.Bottom; ++y)
                for (int x = touched.Left; x < touched.Right; ++x)
                    image.SetWord(x, y, image.Shadow[static_cast<std::size_t>(y) * image.Width + x] & kWhite);
        }
        FOwner.Changed();
    }

    bool IsMonochrome() const override { return FOwner.Image().Format == pf1bit; }

    // Kept only for 32-bit images, whose rows are the drawing target itself.
    void TextBegin(const TRect& limit) override
    {
        TBitmapImage& image = FOwner.Image();
        image.PendingBackdrop.clear();
        if (!BitmapTextHeld() || !image.Wide())
            return;
        for (int y = limit.Top; y < limit.Bottom; ++y)
            image.PendingBackdrop.insert(image.PendingBackdrop.end(), image.Row(y) + limit.Left,
                                         image.Row(y) + limit.Right);
    }

    void TextDrawn(const TTextDrawing& d) override
    {
        TBitmapImage& image = FOwner.Image();
        if (image.PendingBackdrop.empty())
            return;
        TBitmapText text = TextOf(d);
        text.Backdrop.swap(image.PendingBackdrop);
        image.Texts.push_back(std::move(text));
    }

private:
    TBitmap& FOwner;
};

QImage ToQImage(const TBitmapImage& image)
{
    QImage out(image.Width, image.Height, QImage::Format_RGB32);
    for (int y = 0; y < image.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < image.Width; ++x)
            row[x] = 0xFF000000u | image.Word(x, y);
    }
    if (image.Format == pf1bit)
        return out.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::AvoidDither);
    return out;
}

void FromQImage(TBitmapImage& image, const QImage& source)
{
    TPixelFormat format = pf32bit;
    if (source.depth() == 1)
        format = pf1bit;
    else if (source.depth() == 24)
        format = pf24bit;
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    TBitmapImage next;
    next.Width = rgb.width();
    next.Height = rgb.height();
    next.Format = format;
    next.HandleType = bmDIB;
    next.StrideWords = StrideWordsFor(format, next.Width);
    next.Rows.assign(static_cast<std::size_t>(next.StrideWords) * next.Height, 0u);
    for (int y = 0; y < next.Height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < next.Width; ++x)
            next.SetWord(x, y, row[x] & kWhite);
    }
    next.Canvas = std::move(image.Canvas);
    image = std::move(next);
}

} // namespace

void TBitmapImage::SetWord(int x, int y, std::uint32_t word)
{
    std::uint32_t* row = Row(y);
    switch (Format) {
    case pf1bit: {
        auto* bytes = reinterpret_cast<std::uint8_t*>(row);
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
        if ((word & kWhite) == kWhite)
            bytes[x >> 3] |= bit;
        else
            bytes[x >> 3] &= static_cast<std::uint8_t>(~bit);
        break;
    }
    case pf24bit: {
        auto* p = reinterpret_cast<std::uint8_t*>(row) + x * 3;
        p[0] = static_cast<std::uint8_t>(word);
        p[1] = static_cast<std::uint8_t>(word >> 8);
        p[2] = static_cast<std::uint8_t>(word >> 16);
        break;
    }
    default:
        row[x] = 0xFF000000u | (word & kWhite);
        break;
    }
}

TBitmap::TBitmap() : FImage(std::make_unique<TBitmapImage>()) {}

TBitmap::~TBitmap() = default;

namespace {
int gBitmapTextHolders = 0;
} // namespace

// The underline as the canvas draws it: from the underlined bytes' advance, one line width
// thick, at the font's underline position below the baseline.
TBitmapText TextOf(const TTextDrawing& d)
{
    TBitmapText text;
    text.Face = QtFontOf(*d.Font);
    text.Ink = ColorToOpaquePixel(d.Font->Color());
    text.Text = *d.Text;
    text.Left = d.Left;
    text.Baseline = d.Baseline;
    text.Limit = d.Limit;
    text.RightToLeft = d.RightToLeft;
    if (d.UnderlineFrom < d.UnderlineTo) {
        const QFontMetrics& metrics = QtMetricsOf(*d.Font);
        const int from = d.Left + metrics.horizontalAdvance(QString::fromUtf8(d.Text->data(), d.UnderlineFrom));
        const int to = d.Left + metrics.horizontalAdvance(QString::fromUtf8(d.Text->data(), d.UnderlineTo));
        const int top = d.Baseline + std::max(1, metrics.underlinePos());
        IntersectRect(text.Underline, Rect(from, top, to, top + std::max(1, metrics.lineWidth())), d.Limit);
    }
    return text;
}

void HoldBitmapText(bool hold)
{
    gBitmapTextHolders += hold ? 1 : -1;
}

bool BitmapTextHeld()
{
    return gBitmapTextHolders > 0;
}

void TBitmap::Changed()
{
    FImage->Texts.clear(); // the pixels under them may have changed
    if (OnChange)
        OnChange(this);
}

int TBitmap::Width() const { return FImage->Width; }
int TBitmap::Height() const { return FImage->Height; }
bool TBitmap::Empty() const { return FImage->Empty(); }
void TBitmap::SetWidth(int value) { SetSize(value, FImage->Height); }
void TBitmap::SetHeight(int value) { SetSize(FImage->Width, value); }

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FImage->Width && height == FImage->Height)
        return;
    Reshape(*FImage, FImage->Format, width, height);
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const { return FImage->Format; }

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == FImage->Format)
        return;
    Reshape(*FImage, value, FImage->Width, FImage->Height);
    FImage->HandleType = value == pfDevice ? bmDDB : bmDIB;
    Changed();
}

TBitmapHandleType TBitmap::HandleType() const { return FImage->HandleType; }

void TBitmap::SetHandleType(TBitmapHandleType value)
{
    if (value == FImage->HandleType)
        return;
    if (value == bmDDB && FImage->Format != pf1bit && FImage->Format != pfDevice)
        Reshape(*FImage, pfDevice, FImage->Width, FImage->Height);
    if (value == bmDIB && FImage->Format == pfDevice)
        FImage->Format = pf32bit; // the same words
    FImage->HandleType = value;
    Changed();
}

bool TBitmap::Monochrome() const { return FImage->Format == pf1bit; }

void TBitmap::SetMonochrome(bool value)
{
    if (value == Monochrome())
        return;
    const TPixelFormat format = value ? pf1bit : (FImage->HandleType == bmDDB ? pfDevice : pf32bit);
    Reshape(*FImage, format, FImage->Width, FImage->Height);
    Changed();
}

void* TBitmap::ScanLine(int y)
{
    if (y < 0 || y >= FImage->Height)
        throw EInvalidGraphic("Scan line index out of range");
    return FImage->Row(y);
}

TCanvas* TBitmap::Canvas()
{
    if (!FImage->Canvas)
        FImage->Canvas = std::make_unique<TBitmapCanvas>(*this);
    return FImage->Canvas.get();
}

void TBitmap::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (FTransparentFixed)
        return FTransparentColor;
    if (FImage->Empty())
        return clDefault;
    return PixelToColor(FImage->Word(0, FImage->Height - 1));
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (FTransparentFixed && value == FTransparentColor)
        return;
    FTransparentFixed = true;
    FTransparentColor = value;
    Changed();
}

std::uint32_t TBitmap::PixelWord(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FImage->Width || y >= FImage->Height)
        return 0;
    return FImage->Word(x, y);
}

void TBitmap::CopyValuesTo(TPersistent* dest)
{
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    if (!bitmap) {
        TPersistent::CopyValuesTo(dest);
        return;
    }
    if (bitmap != this) {
        TBitmapImage& target = *bitmap->FImage;
        target.Width = FImage->Width;
        target.Height = FImage->Height;
        target.Format = FImage->Format;
        target.HandleType = FImage->HandleType;
        target.StrideWords = FImage->StrideWords;
        target.Rows = FImage->Rows;
        target.Shadow.clear();
        bitmap->FTransparent = FTransparent;
        bitmap->FTransparentFixed = FTransparentFixed;
        bitmap->FTransparentColor = FTransparentColor;
    }
    bitmap->Changed();
}

void TBitmap::CopyValuesFrom(TPersistent* source)
{
    TPersistent::CopyValuesFrom(source);
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    QImage image;
    if (!image.load(QString::fromStdString(fileName)) || image.isNull())
        throw EInvalidGraphic("Cannot read the image file '" + fileName + "'");
    FromQImage(*FImage, image);
    Changed();
}

void TBitmap::SaveToFile(const std::string& fileName) const
{
    const QString path = QString::fromStdString(fileName);
    const bool plain = QFileInfo(path).suffix().isEmpty();
    if (!ToQImage(*FImage).save(path, plain ? "PNG" : nullptr))
        throw EInvalidGraphic("Cannot write the image file '" + fileName + "'");
}

void TBitmap::LoadFromData(const std::vector<std::uint8_t>& data)
{
    if (data.empty()) {
        ReleaseImage(); // an empty image is written as no bytes
        return;
    }
    QImage image;
    if (!image.loadFromData(data.data(), static_cast<int>(data.size())) || image.isNull())
        throw EInvalidGraphic("Cannot read the image data (" + std::to_string(data.size()) + " bytes)");
    // A truncated header can claim millions of rows that the reader fills in.
    if (image.width() > kMaxDataSide || image.height() > kMaxDataSide)
        throw EInvalidGraphic("Cannot read the image data (" + std::to_string(data.size()) + " bytes): " +
                              std::to_string(image.width()) + " x " + std::to_string(image.height()) +
                              " pixels is more than " + std::to_string(kMaxDataSide) + " on a side");
    FromQImage(*FImage, image);
    Changed();
}

std::vector<std::uint8_t> TBitmap::SaveToData() const
{
    if (FImage->Empty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!ToQImage(*FImage).save(&buffer, "PNG"))
        throw EInvalidGraphic("Cannot encode the image");
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

void TBitmap::ReleaseImage()
{
    if (FImage->Width == 0 && FImage->Height == 0 && FImage->Rows.empty())
        return;
    FImage->Width = 0;
    FImage->Height = 0;
    FImage->StrideWords = 0;
    FImage->Rows.clear();
    FImage->Shadow.clear();
    Changed();
}

} // namespace hx
