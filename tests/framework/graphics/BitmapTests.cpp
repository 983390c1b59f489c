// Bitmaps: formats and rows, conversions, change notification, drawing them, files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "tests/framework/graphics/TestSurface.h"

namespace hx {
namespace {

using test::TTestSurface;
using test::WordOf;

std::uint32_t Word32(TBitmap& b, int x, int y)
{
    return static_cast<std::uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFFu;
}

TEST(Bitmap, StartsEmptyAndDeviceDependent)
{
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    EXPECT_EQ(b.HandleType(), bmDDB);
    EXPECT_FALSE(b.Monochrome());
    EXPECT_FALSE(b.Transparent());
    b.SetWidth(3);
    EXPECT_TRUE(b.Empty()); // still no height
    b.SetHeight(2);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(Word32(b, 2, 1), 0xFFFFFFu); // new pixels are white
}

TEST(Bitmap, ScanLineRowsFollowTheFormat)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    EXPECT_EQ(b.HandleType(), bmDIB);
    b.SetSize(3, 2);
    b.Canvas()->SetPixel(1, 1, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(Word32(b, 1, 1), 0x112233u); // blue in the low byte
    static_cast<std::uint32_t*>(b.ScanLine(0))[2] = 0x00AABBCC;
    EXPECT_EQ(b.Canvas()->Pixel(2, 0), RGB(0xAA, 0xBB, 0xCC));

    b.SetPixelFormat(pf24bit);
    const auto* bytes = static_cast<const std::uint8_t*>(b.ScanLine(1));
    EXPECT_EQ(bytes[3], 0x33); // B, G, R
    EXPECT_EQ(bytes[4], 0x22);
    EXPECT_EQ(bytes[5], 0x11);
    EXPECT_EQ(b.Canvas()->Pixel(2, 0), RGB(0xAA, 0xBB, 0xCC));

    EXPECT_THROW(b.ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
}

TEST(Bitmap, OneBitRowsArePackedMostSignificantFirstWithWhiteAsOne)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(10, 1);
    auto* row = static_cast<std::uint32_t*>(b.ScanLine(0));
    const std::uint32_t colours[10] = {0xFFFFFF, 0, 0xFEFEFE, 0xFFFFFF, 0xFF0000, 0xFFFFFF, 0, 0, 0xFFFFFF, 0};
    for (int x = 0; x < 10; ++x)
        row[x] = colours[x];
    b.SetMonochrome(true);
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    const auto* bits = static_cast<const std::uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(bits[0], 0b10010100); // only exactly white is 1
    EXPECT_EQ(bits[1] & 0xC0, 0b10000000);
    b.SetPixelFormat(pf32bit); // black and white survive the way back
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(Word32(b, x, 0), colours[x] == 0xFFFFFF ? 0xFFFFFFu : 0u) << x;
}

TEST(Bitmap, DrawingOnAOneBitImageStoresBits)
{
    TBitmap b;
    b.SetMonochrome(true);
    b.SetSize(8, 2);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(Rect(2, 0, 5, 1));
    const auto* bits = static_cast<const std::uint8_t*>(b.ScanLine(0));
    EXPECT_EQ(bits[0], 0b11000111);
    EXPECT_EQ(*static_cast<const std::uint8_t*>(b.ScanLine(1)), 0xFF);
}

TEST(Bitmap, HandleTypeAndFormatMoveTogether)
{
    TBitmap b;
    b.SetSize(2, 2);
    b.SetHandleType(bmDIB);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    b.SetPixelFormat(pf24bit);
    b.SetHandleType(bmDDB);
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    b.SetMonochrome(true);
    b.SetHandleType(bmDIB);
    b.SetHandleType(bmDDB);
    EXPECT_TRUE(b.Monochrome()); // a one-bit image stays one bit when made device-dependent
    b.SetMonochrome(false);
    EXPECT_EQ(b.PixelFormat(), pfDevice);
}

// OnChange: every real change, nothing for a setter given the current value.
struct ChangeCase {
    const char* Name;
    std::function<void(TBitmap&)> Act;
    int Expected;
};

class BitmapChangeTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(BitmapChangeTest, CountsOnlyRealChanges)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(4, 4);
    b.SetTransparentColor(clOlive);
    int count = 0;
    b.OnChange = TNotifyEvent([&](TObject* sender) {
        EXPECT_EQ(sender, &b);
        ++count;
    });
    GetParam().Act(b);
    EXPECT_EQ(count, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bitmap, BitmapChangeTest,
    testing::Values(
        ChangeCase{"SameSize", [](TBitmap& b) { b.SetSize(4, 4); b.SetWidth(4); }, 0},
        ChangeCase{"NewSize", [](TBitmap& b) { b.SetSize(5, 4); }, 1},
        ChangeCase{"SameFormat", [](TBitmap& b) { b.SetPixelFormat(pf32bit); b.SetHandleType(bmDIB); }, 0},
        ChangeCase{"NewFormat", [](TBitmap& b) { b.SetPixelFormat(pf24bit); }, 1},
        ChangeCase{"NewHandleType", [](TBitmap& b) { b.SetHandleType(bmDDB); }, 1},
        ChangeCase{"SameMonochrome", [](TBitmap& b) { b.SetMonochrome(false); }, 0},
        ChangeCase{"NewMonochrome", [](TBitmap& b) { b.SetMonochrome(true); }, 1},
        ChangeCase{"SameTransparentColor", [](TBitmap& b) { b.SetTransparentColor(clOlive); }, 0},
        ChangeCase{"NewTransparentColor", [](TBitmap& b) { b.SetTransparentColor(clRed); }, 1},
        ChangeCase{"TransparentTwice", [](TBitmap& b) { b.SetTransparent(true); b.SetTransparent(true); }, 1},
        ChangeCase{"DrawingThroughTheCanvas",
                   [](TBitmap& b) {
                       b.Canvas()->FillRect(Rect(0, 0, 2, 2));
                       b.Canvas()->TextOut(0, 0, "a");
                   },
                   2},
        ChangeCase{"DrawingOutsideTheImage", [](TBitmap& b) { b.Canvas()->FillRect(Rect(9, 9, 12, 12)); }, 0},
        ChangeCase{"Copy",
                   [](TBitmap& b) {
                       TBitmap other;
                       other.SetSize(1, 1);
                       b.CopyValuesFrom(&other);
                   },
                   1},
        ChangeCase{"ReleaseTwice", [](TBitmap& b) { b.ReleaseImage(); b.ReleaseImage(); }, 1}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.Name); });

TEST(Bitmap, AConvertingHandlerSeesItsNestedNotificationEndAtOnce)
{
    TBitmap glyph;
    int calls = 0;
    int depth = 0;
    int deepest = 0;
    glyph.OnChange = TNotifyEvent([&](TObject*) {
        ++calls;
        deepest = std::max(deepest, ++depth);
        glyph.SetHandleType(bmDIB);
        glyph.SetPixelFormat(pf32bit);
        --depth;
    });
    glyph.SetTransparentColor(clOlive); // the first fix of the colour is a change
    EXPECT_EQ(calls, 2);                // the change, and the conversion it made
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(glyph.PixelFormat(), pf32bit);
    EXPECT_EQ(glyph.HandleType(), bmDIB);
    EXPECT_EQ(glyph.TransparentColor(), clOlive);
}

TEST(Bitmap, TransparentColorIsTheBottomLeftPixelUntilSet)
{
    TBitmap b;
    EXPECT_EQ(b.TransparentColor(), clDefault);
    b.SetSize(2, 2);
    b.Canvas()->SetPixel(0, 1, clTeal);
    EXPECT_EQ(b.TransparentColor(), clTeal);
    b.SetTransparentColor(clRed);
    b.Canvas()->SetPixel(0, 1, clBlue);
    EXPECT_EQ(b.TransparentColor(), clRed);
}

TEST(Bitmap, CopyTakesPixelsFormatAndFlags)
{
    TBitmap source;
    source.SetPixelFormat(pf24bit);
    source.SetSize(3, 2);
    source.Canvas()->SetPixel(2, 1, clPurple);
    source.SetTransparent(true);
    source.SetTransparentColor(clFuchsia);
    TBitmap copy;
    copy.CopyValuesFrom(&source);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    EXPECT_EQ(copy.HandleType(), bmDIB);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clFuchsia);
    EXPECT_EQ(copy.Canvas()->Pixel(2, 1), clPurple);
    copy.Canvas()->SetPixel(2, 1, clWhite); // a copy, not a share
    EXPECT_EQ(source.Canvas()->Pixel(2, 1), clPurple);
    EXPECT_THROW(copy.CopyValuesFrom(nullptr), EConvertError);
    TFont font;
    EXPECT_THROW(copy.CopyValuesFrom(&font), EConvertError);
}

TEST(Bitmap, DrawingAnEmptyBitmapTouchesNothing)
{
    TTestSurface surface(4, 4);
    TBitmap empty;
    surface.Draw(0, 0, &empty);
    surface.StretchDraw(Rect(0, 0, 4, 4), &empty);
    surface.Draw(0, 0, nullptr);
    EXPECT_EQ(surface.ChangedCount, 0);
    int changes = 0;
    empty.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    empty.Canvas()->FillRect(Rect(0, 0, 4, 4));
    empty.Canvas()->TextOut(0, 0, "x");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(empty.Canvas()->Pixel(0, 0), -1);
}

TEST(Bitmap, TransparentDrawSkipsExactlyTheKeyColour)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(4, 1);
    auto* row = static_cast<std::uint32_t*>(b.ScanLine(0));
    row[0] = 0xFF0000; // the key: bottom-left
    row[1] = 0xFE0000; // one step off the key: drawn
    row[2] = 0x00FF00;
    row[3] = 0xFF0000;
    TTestSurface opaque(4, 1, clBlue);
    opaque.Draw(0, 0, &b);
    EXPECT_EQ(opaque.Picture()[0], "R?GR");
    b.SetTransparent(true);
    TTestSurface surface(4, 1, clBlue);
    surface.Draw(0, 0, &b);
    EXPECT_EQ(surface.At(0, 0), 0x0000FFu);
    EXPECT_EQ(surface.At(1, 0), 0xFE0000u);
    EXPECT_EQ(surface.At(2, 0), 0x00FF00u);
    EXPECT_EQ(surface.At(3, 0), 0x0000FFu);
}

TEST(Bitmap, OneBitImagesDrawInTheCanvasTextAndBackgroundColours)
{
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(2, 1);
    mask.Canvas()->SetPixel(0, 0, clBlack);
    TTestSurface surface(2, 1, clBlue);
    surface.Draw(0, 0, &mask);
    EXPECT_EQ(surface.Picture()[0], "K.");
}

// Stretching takes, for target column i, source column i * srcW / dstW: no blending.
class StretchTest : public testing::TestWithParam<int> {};

TEST_P(StretchTest, EachTargetColumnTakesTheSourceColumnItFallsOn)
{
    const int width = GetParam();
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(256, 1);
    auto* row = static_cast<std::uint32_t*>(strip.ScanLine(0));
    for (int i = 0; i < 256; ++i)
        row[i] = static_cast<std::uint32_t>(i) << 8 | static_cast<std::uint32_t>(255 - i);
    TTestSurface surface(width, 3);
    surface.StretchDraw(Rect(0, 0, width, 3), &strip);
    for (int x = 0; x < width; ++x) {
        const std::uint32_t i = static_cast<std::uint32_t>(x * 256 / width);
        for (int y = 0; y < 3; ++y)
            ASSERT_EQ(surface.At(x, y), i << 8 | (255 - i)) << "x=" << x << " y=" << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Bitmap, StretchTest, testing::Values(100, 256, 300));

TEST(Bitmap, StretchDownRowsTooAndClips)
{
    TBitmap column;
    column.SetPixelFormat(pf32bit);
    column.SetSize(1, 4);
    for (int y = 0; y < 4; ++y)
        static_cast<std::uint32_t*>(column.ScanLine(y))[0] = static_cast<std::uint32_t>(y);
    TTestSurface surface(2, 6);
    surface.Clip = Rect(0, 1, 2, 5);
    surface.StretchDraw(Rect(0, 0, 2, 8), &column);
    EXPECT_EQ(surface.At(0, 0), 0xFFFFFFu);
    for (int y = 1; y < 5; ++y)
        EXPECT_EQ(surface.At(1, y), static_cast<std::uint32_t>(y * 4 / 8));
    EXPECT_EQ(surface.At(0, 5), 0xFFFFFFu);
}

std::string TempPath(const char* name)
{
    return testing::TempDir() + name;
}

TEST(Bitmap, AFileThatCannotBeReadRaisesInvalidGraphicNamingIt)
{
    const std::string garbage = TempPath("hx_not_an_image.png");
    std::ofstream(garbage) << "this is not an image";
    TBitmap b;
    b.SetSize(2, 2);
    for (const std::string& path : {garbage, TempPath("hx_missing_file.bmp")}) {
        try {
            b.LoadFromFile(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
        }
    }
    EXPECT_EQ(b.Width(), 2); // left as it was
    EXPECT_THROW(b.LoadFromData({1, 2, 3}), EInvalidGraphic);
    std::remove(garbage.c_str());
}

TEST(Bitmap, SavedImagesLoadBackWithTheirPixels)
{
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(3, 2);
    b.Canvas()->SetPixel(0, 0, RGB(1, 2, 3));
    b.Canvas()->SetPixel(2, 1, clNavy);
    const std::string path = TempPath("hx_saved.png");
    b.SaveToFile(path);
    TBitmap fromFile;
    int changes = 0;
    fromFile.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    fromFile.LoadFromFile(path);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fromFile.Width(), 3);
    EXPECT_EQ(fromFile.HandleType(), bmDIB);
    EXPECT_EQ(fromFile.Canvas()->Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(fromFile.Canvas()->Pixel(2, 1), clNavy);
    std::remove(path.c_str());

    const std::vector<std::uint8_t> png = b.SaveToData();
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');
    TBitmap fromData;
    fromData.LoadFromData(png);
    EXPECT_EQ(fromData.Canvas()->Pixel(0, 0), RGB(1, 2, 3));

    b.SetMonochrome(true);
    TBitmap mono;
    mono.LoadFromData(b.SaveToData());
    EXPECT_TRUE(mono.Monochrome());
    EXPECT_EQ(mono.Canvas()->Pixel(0, 1), clWhite);
    EXPECT_EQ(mono.Canvas()->Pixel(0, 0), clBlack);

    TBitmap empty;
    EXPECT_TRUE(empty.SaveToData().empty());
    mono.LoadFromData({});
    EXPECT_TRUE(mono.Empty());
}

// A 24-bit BMP whose header claims width x height but which carries a single row.
std::vector<std::uint8_t> ShortBmp(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    std::vector<std::uint8_t> d(54 + stride, 0);
    const auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    d[0] = 'B';
    d[1] = 'M';
    put(2, static_cast<std::uint32_t>(d.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return d;
}

// PNG holds at most a million rows and columns; data beyond that would read but never write.
TEST(Bitmap, ImageDataLargerThanPngHoldsIsRefused)
{
    const struct {
        std::uint32_t Width, Height;
        bool Reads;
    } cases[] = {{2, 1000000, true}, {2, 1000001, false}, {1000001, 2, false}, {2, 2097154, false}};
    for (const auto& c : cases) {
        TBitmap b;
        b.SetSize(3, 3);
        try {
            b.LoadFromData(ShortBmp(c.Width, c.Height));
            EXPECT_TRUE(c.Reads) << c.Width << " x " << c.Height;
            EXPECT_EQ(b.Height(), static_cast<int>(c.Height));
            EXPECT_FALSE(b.SaveToData().empty());
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(c.Reads) << c.Width << " x " << c.Height << ": " << e.Message();
            EXPECT_NE(e.Message().find(std::to_string(c.Width) + " x " + std::to_string(c.Height)), std::string::npos);
            EXPECT_EQ(b.Width(), 3); // left as it was
        }
    }
}

TEST(Bitmap, ReleaseImageLeavesAnEmptyBitmap)
{
    TBitmap b;
    b.SetSize(5, 5);
    b.ReleaseImage();
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
}

} // namespace
} // namespace hx
