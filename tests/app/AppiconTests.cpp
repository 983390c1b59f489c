// The application icon at every size the desktop's icon theme gets: each is the 32-pixel
// window icon scaled exactly (so the installed PNGs, drawn by the same code at build time,
// match the window's icon), and the scalable image holds the same cells.
#include <string>

#include <gtest/gtest.h>

#include "app/Appicon.h"
#include "framework/core/Exception.h"

namespace hx::test {
namespace {

// The pixel as the desktop sees it: its colour, or -1 where the icon is transparent.
long long IconPixel(const TBitmap& icon, int x, int y)
{
    const std::uint32_t word = icon.PixelWord(x, y) & 0xFFFFFFu;
    const TColor key = ColorToRGB(icon.TransparentColor());
    const std::uint32_t keyWord = static_cast<std::uint32_t>(GetRValue(key)) << 16 |
                                  static_cast<std::uint32_t>(GetGValue(key)) << 8 | GetBValue(key);
    return word == keyWord ? -1 : static_cast<long long>(word);
}

TEST(AppIcon, EverySizeIsTheWindowIconScaledExactly)
{
    TBitmap base;
    DrawApplicationIcon(base);
    ASSERT_EQ(base.Width(), 32);
    EXPECT_EQ(IconPixel(base, 0, 0), -1) << "the corner lies outside the hexagon";
    EXPECT_EQ(IconPixel(base, 2, 8), 0x0000ff) << "the first cell is the first swatch, #0000ff";
    EXPECT_EQ(IconPixel(base, 16, 16), 0xffffff) << "the centre is the palette's centre, #ffffff";

    constexpr int kFine = 128; // a grid every size divides
    for (const int size : {16, 32, 48, 64, 128}) {
        TBitmap icon;
        DrawApplicationIcon(icon, size);
        ASSERT_EQ(icon.Width(), size);
        ASSERT_EQ(icon.Height(), size);
        ASSERT_TRUE(icon.Transparent());
        int mismatches = 0;
        for (int y = 0; y < kFine; ++y)
            for (int x = 0; x < kFine; ++x)
                mismatches += IconPixel(icon, x * size / kFine, y * size / kFine) !=
                              IconPixel(base, x * 32 / kFine, y * 32 / kFine);
        EXPECT_EQ(mismatches, 0) << size << " px";
    }
}

TEST(AppIcon, ScalableImageHoldsTheSameCells)
{
    const std::string svg = ApplicationIconSvg();
    const auto cells = ApplicationIconCells();
    ASSERT_EQ(cells.size(), 37u); // columns of 4, 5, 6, 7, 6, 5, 4
    size_t from = 0;
    for (const TAppIconCell& cell : cells) {
        char rect[96];
        std::snprintf(rect, sizeof rect, "<rect x=\"%d\" y=\"%d\" width=\"4\" height=\"4\" fill=\"#%02x%02x%02x\"/>",
                      cell.Bounds.Left, cell.Bounds.Top, GetRValue(cell.Color), GetGValue(cell.Color),
                      GetBValue(cell.Color));
        const size_t at = svg.find(rect, from);
        ASSERT_NE(at, std::string::npos) << rect;
        from = at + 1;
    }
    int rects = 0; // every one of them, and nothing more
    for (size_t at = svg.find("<rect"); at != std::string::npos; at = svg.find("<rect", at + 1))
        ++rects;
    EXPECT_EQ(rects, 37);
    EXPECT_NE(svg.find("viewBox=\"0 0 32 32\""), std::string::npos);
}

TEST(AppIcon, SizesOffTheGridAreRefused)
{
    for (const int size : {0, 24, 33, -16}) {
        TBitmap icon;
        EXPECT_THROW(DrawApplicationIcon(icon, size), EInvalidOperation) << size;
    }
}

} // namespace
} // namespace hx::test
