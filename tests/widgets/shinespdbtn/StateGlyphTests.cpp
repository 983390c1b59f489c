// State images derived from the glyph: the arithmetic tints and blends, the outline, the
// meshes and the disabled emboss mask, as tables of exact pixels, plus invariants checked
// over random small glyphs.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/services/RecordingPlatform.h"
#include "tests/widgets/shinespdbtn/ShinePaintSupport.h"
#include "widgets/shinespdbtn/Shinespdbtn.h"

namespace hx {
namespace {

using Pixels = std::vector<std::vector<std::uint32_t>>; // rows of 0x00RRGGBB

constexpr std::uint32_t Px(unsigned r, unsigned g, unsigned b) { return r << 16 | g << 8 | b; }

// A button whose drawing state a test may set, as the interaction does.
class TStateButton : public TShineSpeedButton {
public:
    using TShineSpeedButton::TShineSpeedButton;
    void ForceState(TShineState state) { FState = state; }
};

using shinetest::SetGlyphPixels;

Pixels PixelsOf(const TBitmap& bitmap)
{
    Pixels out(static_cast<size_t>(bitmap.Height()), std::vector<std::uint32_t>(static_cast<size_t>(bitmap.Width())));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            out[static_cast<size_t>(y)][static_cast<size_t>(x)] = bitmap.PixelWord(x, y);
    return out;
}

std::string Show(const Pixels& p)
{
    std::string out;
    char buf[16];
    for (const auto& row : p) {
        for (std::uint32_t v : row) {
            std::snprintf(buf, sizeof buf, " %06X", v);
            out += buf;
        }
        out += "\n";
    }
    return out;
}

class StateGlyph : public testing::Test {
protected:
    // The state image of glyph in state, the mode set by prepare.
    std::unique_ptr<TBitmap> Image(const Pixels& glyph, TShineState state)
    {
        SetGlyphPixels(button, glyph);
        button.ForceState(state);
        std::unique_ptr<TBitmap> image(button.CreateStateGlyph());
        EXPECT_NE(image, nullptr);
        return image;
    }

    TPlatformScope platform;
    TStateButton button{nullptr};
};

TEST_F(StateGlyph, EmptyGlyphGivesNoImage)
{
    for (TShineState s : {ssPressed, ssDown, ssActive, ssUp, ssDisabled}) {
        button.ForceState(s);
        EXPECT_EQ(button.CreateStateGlyph(), nullptr);
    }
}

TEST_F(StateGlyph, UpAndDownShowTheGlyphUnchangedTransparentInItsBottomLeftColour)
{
    const std::uint32_t k = Px(1, 2, 3), c = Px(250, 0, 9);
    const Pixels glyph = {{c, k, c}, {k, c, c}};
    for (TShineState s : {ssUp, ssDown}) {
        SetGlyphPixels(button, glyph);
        button.Glyph()->SetTransparentColor(clOlive);
        button.ForceState(s);
        std::unique_ptr<TBitmap> image(button.CreateStateGlyph());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(PixelsOf(*image), glyph);
        EXPECT_EQ(image->HandleType(), bmDDB);
        EXPECT_EQ(image->PixelFormat(), pfDevice);
        EXPECT_TRUE(image->Transparent());
        EXPECT_EQ(image->TransparentColor(), RGB(1, 2, 3)); // not the glyph's own clOlive
    }
    EXPECT_EQ(button.Glyph()->TransparentColor(), clOlive);
    EXPECT_EQ(button.Glyph()->Transparent(), false);
    EXPECT_EQ(PixelsOf(*button.Glyph()), glyph); // the glyph is only read
}

// One opaque test pixel per row next to key pixels: the formula's result, and the key
// pixels untouched even when they are black or white.
TEST_F(StateGlyph, ArithmeticModesGiveTheTabledChannels)
{
    struct Case {
        const char* name;
        TShineState state;
        int mode; // TActiveImageType in ssActive/ssPressed, else TDisabledImageType
        TColor tint; // ShineColor, or the face colour of Colors
        std::uint32_t key, in, out;
    };
    const std::uint32_t black = 0, white = 0xFFFFFF;
    const Case cases[] = {
        {"half", ssActive, aiHalfLight, clYellow, black, Px(0, 0, 255), Px(127, 127, 127)},
        {"quarter", ssActive, aiQuaterLight, clYellow, white, Px(0, 0, 255), Px(191, 191, 63)},
        {"add", ssPressed, aiAddLight, clYellow, black, Px(0, 0, 255), Px(255, 255, 255)},
        {"xor", ssActive, aiXorLight, clYellow, white, Px(0, 0, 255), Px(255, 255, 255)},
        {"add clamps", ssActive, aiAddLight, clYellow, black, Px(100, 200, 50), Px(255, 255, 50)},
        {"normal", ssPressed, aiNormal, clYellow, black, Px(100, 200, 50), Px(100, 200, 50)},
        {"grey", ssDisabled, diGrayscale, clBtnFace, white, Px(10, 20, 31), Px(20, 20, 20)},
        {"alpha half", ssDisabled, diAlphaHalfTrans, RGB(212, 208, 200), white, black, Px(106, 104, 100)},
        {"alpha quarter", ssDisabled, diAlphaQuaterTrans, RGB(212, 208, 200), white, black, Px(159, 156, 150)},
    };
    for (const Case& c : cases) {
        if (c.state == ssDisabled) {
            button.SetDisabledImage(static_cast<TDisabledImageType>(c.mode));
            button.Colors()->SetColor(c.tint);
        } else {
            button.SetActiveImage(static_cast<TActiveImageType>(c.mode));
            button.SetShineColor(c.tint);
        }
        auto image = Image({{c.key, c.in}, {c.key, c.in}}, c.state);
        EXPECT_EQ(PixelsOf(*image), (Pixels{{c.key, c.out}, {c.key, c.out}})) << c.name;
        EXPECT_EQ(image->TransparentColor(), c.key == white ? clWhite : clBlack) << c.name;
        EXPECT_FALSE(image->Monochrome()) << c.name;
    }
}

TEST_F(StateGlyph, SystemColoursAreResolvedBeforeTheArithmetic)
{
    platform.SetSysColor(COLOR_HIGHLIGHT, RGB(0, 0, 128));
    button.SetShineColor(clHighlight);
    button.SetActiveImage(aiAddLight);
    auto image = Image({{0, Px(10, 10, 10)}, {0, 0}}, ssActive);
    EXPECT_EQ(image->PixelWord(1, 0), Px(10, 10, 138));
    EXPECT_EQ(ColorToPixel(clHighlight), Px(0, 0, 128));
    EXPECT_EQ(ColorToPixel(RGB(1, 2, 3)), Px(1, 2, 3));
}

TEST_F(StateGlyph, OutlineSurroundsTheShapeOnKeyPixels)
{
    const std::uint32_t K = Px(0, 128, 128), c = Px(10, 20, 30), S = Px(0, 255, 255);
    button.SetShineColor(clAqua);
    struct Case {
        const char* name;
        TActiveImageType mode;
        Pixels glyph, expected;
    };
    const Case cases[] = {
        {"3x3 thin", aiFrameLight, {{K, K, K}, {K, c, K}, {K, K, K}}, {{K, S, K}, {S, c, S}, {K, S, K}}},
        {"3x3 thick", aiFrameLight2, {{K, K, K}, {K, c, K}, {K, K, K}}, {{S, S, S}, {S, c, S}, {S, S, S}}},
        // the outline never feeds itself: one step (thin) or two (thick) from the shape
        {"5x1 thin", aiFrameLight, {{K, K, K, K, c}}, {{K, K, K, S, c}}},
        {"5x1 thick", aiFrameLight2, {{K, K, K, K, c}}, {{K, K, S, S, c}}},
        {"1x4 thin", aiFrameLight, {{c}, {K}, {K}, {K}}, {{c}, {S}, {K}, {K}}},
        {"1x4 thick", aiFrameLight2, {{c}, {K}, {K}, {K}}, {{c}, {S}, {S}, {K}}},
        {"all key", aiFrameLight2, {{K, K}, {K, K}}, {{K, K}, {K, K}}},
        {"no key but the corner", aiFrameLight, {{c, c}, {K, c}}, {{c, c}, {S, c}}},
    };
    for (const Case& t : cases) {
        button.SetActiveImage(t.mode);
        auto image = Image(t.glyph, ssPressed);
        EXPECT_EQ(PixelsOf(*image), t.expected) << t.name << "\n" << Show(PixelsOf(*image));
        EXPECT_EQ(image->TransparentColor(), RGB(0, 128, 128)) << t.name; // K, even where painted over
    }
}

TEST_F(StateGlyph, MeshesRunDiagonallyWhateverTheSize)
{
    const std::uint32_t K = Px(9, 9, 9), c = Px(200, 100, 0), S = Px(255, 255, 0);
    struct Case {
        const char* name;
        TShineState state;
        Pixels glyph, expected;
    };
    const Case cases[] = {
        {"4x2 light", ssActive, {{c, c, c, c}, {K, c, c, c}}, {{c, S, c, S}, {K, c, S, c}}},
        {"5x2 light", ssActive, {{c, c, c, c, c}, {K, c, c, c, c}}, {{c, S, c, S, c}, {K, c, S, c, S}}},
        {"4x3 light", ssPressed, {{c, c, c, c}, {c, c, c, c}, {K, c, c, c}},
         {{c, S, c, S}, {S, c, S, c}, {K, S, c, S}}},
        {"4x2 trans", ssDisabled, {{c, c, c, c}, {K, c, c, c}}, {{c, K, c, K}, {K, c, K, c}}},
        {"key stays key", ssActive, {{c, K, K}, {K, K, c}}, {{c, K, K}, {K, K, S}}},
        {"one pixel", ssActive, {{K}}, {{K}}},
    };
    button.SetActiveImage(aiMaskLight);
    button.SetDisabledImage(diMaskTrans);
    for (const Case& t : cases) {
        auto image = Image(t.glyph, t.state);
        EXPECT_EQ(PixelsOf(*image), t.expected) << t.name << "\n" << Show(PixelsOf(*image));
        EXPECT_EQ(image->TransparentColor(), RGB(9, 9, 9)) << t.name; // the replaced pixels vanish when drawn
    }
}

TEST_F(StateGlyph, EmbossMaskMarksEveryColourEdgeAndLeavesTheLastRowAndColumnBlack)
{
    const std::uint32_t K = Px(0, 128, 128), a = Px(255, 0, 0), b = Px(0, 0, 255), W = 0xFFFFFF;
    struct Case {
        const char* name;
        Pixels glyph, expected;
    };
    const Case cases[] = {
        // edges between key and opaque and between two opaque colours alike
        {"columns", {{K, a, b, b}, {K, a, b, b}, {K, a, b, b}}, {{W, W, 0, 0}, {W, W, 0, 0}, {0, 0, 0, 0}}},
        {"centre", {{K, K, K}, {K, a, K}, {K, K, K}}, {{W, W, 0}, {W, W, 0}, {0, 0, 0}}},
        {"diagonal", {{a, K}, {K, K}}, {{W, 0}, {0, 0}}},
        {"anti-diagonal", {{K, a}, {K, K}}, {{W, 0}, {0, 0}}},
        {"equal diagonals", {{a, K}, {K, a}}, {{0, 0}, {0, 0}}},
        {"checker of equals", {{a, b}, {b, a}}, {{0, 0}, {0, 0}}},
        {"one pixel wide", {{a}, {K}, {a}}, {{0}, {0}, {0}}},
        {"one pixel high", {{a, K, a}}, {{0, 0, 0}}},
        {"all key", {{K, K}, {K, K}}, {{0, 0}, {0, 0}}},
    };
    button.SetDisabledImage(diDefault);
    for (const Case& t : cases) {
        auto image = Image(t.glyph, ssDisabled);
        EXPECT_EQ(PixelsOf(*image), t.expected) << t.name << "\n" << Show(PixelsOf(*image));
        EXPECT_TRUE(image->Monochrome()) << t.name;
        EXPECT_TRUE(image->Transparent()) << t.name;
        EXPECT_EQ(image->TransparentColor(), clBlack) << t.name;
    }
}

TEST_F(StateGlyph, ArithmeticAndMeshModesLeaveAnAllKeyGlyphAsItIs)
{
    const std::uint32_t K = Px(5, 6, 7);
    const Pixels glyph = {{K, K, K}, {K, K, K}};
    for (int mode = aiNormal; mode <= aiMaskLight; ++mode) {
        button.SetActiveImage(static_cast<TActiveImageType>(mode));
        EXPECT_EQ(PixelsOf(*Image(glyph, ssActive)), glyph) << "active " << mode;
    }
    for (int mode = diGrayscale; mode <= diMaskTrans; ++mode) {
        button.SetDisabledImage(static_cast<TDisabledImageType>(mode));
        EXPECT_EQ(PixelsOf(*Image(glyph, ssDisabled)), glyph) << "disabled " << mode;
    }
}

// --- Invariants over random small glyphs --------------------------------------------------

// An opaque pixel whose value a check leaves open.
constexpr std::uint32_t kUnchecked = 0x1000000u;

bool HasOpaqueWithin(const Pixels& g, std::uint32_t key, int x, int y, int steps)
{
    const int h = static_cast<int>(g.size()), w = static_cast<int>(g[0].size());
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) {
            const int d = std::abs(u - x) + std::abs(v - y);
            if (d >= 1 && d <= steps && g[static_cast<size_t>(v)][static_cast<size_t>(u)] != key)
                return true;
        }
    return false;
}

TEST_F(StateGlyph, RandomGlyphsKeepKeyPixelsAndOutlineExactlyTheShapesNeighbours)
{
    std::mt19937 random(91);
    const std::uint32_t palette[] = {Px(10, 20, 30), Px(200, 100, 50), 0, 0xFFFFFF};
    const std::uint32_t S = Px(255, 255, 0); // clYellow, never in the palette
    button.SetShineColor(clYellow);
    button.Colors()->SetColor(RGB(212, 208, 200));
    for (int round = 0; round < 200; ++round) {
        const int w = 1 + static_cast<int>(random() % 6), h = 1 + static_cast<int>(random() % 6);
        const int colours = 2 + static_cast<int>(random() % 3);
        Pixels g(static_cast<size_t>(h), std::vector<std::uint32_t>(static_cast<size_t>(w)));
        for (auto& row : g)
            for (auto& p : row)
                p = palette[random() % static_cast<unsigned>(colours)];
        const std::uint32_t key = g.back().front();
        SCOPED_TRACE("round " + std::to_string(round) + "\n" + Show(g));

        auto check = [&](TShineState state, const char* mode, auto expectedAt) {
            const Pixels out = PixelsOf(*Image(g, state));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t in = g[static_cast<size_t>(y)][static_cast<size_t>(x)];
                    const std::uint32_t got = out[static_cast<size_t>(y)][static_cast<size_t>(x)];
                    const std::uint32_t want = expectedAt(x, y, in);
                    if (want != kUnchecked) {
                        EXPECT_EQ(got, want) << mode << (in == key ? " key" : " opaque") << " pixel " << x
                                             << "," << y;
                    }
                }
        };
        for (TActiveImageType m : {aiNormal, aiXorLight, aiHalfLight, aiQuaterLight, aiAddLight}) {
            button.SetActiveImage(m);
            check(ssActive, "active arithmetic", [&](int, int, std::uint32_t in) { return in == key ? in : kUnchecked; });
        }
        for (TDisabledImageType m : {diGrayscale, diAlphaHalfTrans, diAlphaQuaterTrans}) {
            button.SetDisabledImage(m);
            check(ssDisabled, "disabled arithmetic", [&](int, int, std::uint32_t in) { return in == key ? in : kUnchecked; });
        }
        button.SetActiveImage(aiMaskLight);
        check(ssPressed, "mask light",
              [&](int x, int y, std::uint32_t in) { return in == key ? in : ((x + y) % 2 ? S : in); });
        button.SetDisabledImage(diMaskTrans);
        check(ssDisabled, "mask trans",
              [&](int x, int y, std::uint32_t in) { return in == key ? in : ((x + y) % 2 ? key : in); });
        button.SetActiveImage(aiFrameLight);
        check(ssActive, "outline", [&](int x, int y, std::uint32_t in) {
            return in != key ? in : (HasOpaqueWithin(g, key, x, y, 1) ? S : in);
        });
        button.SetActiveImage(aiFrameLight2);
        check(ssActive, "thick outline", [&](int x, int y, std::uint32_t in) {
            return in != key ? in : (HasOpaqueWithin(g, key, x, y, 2) ? S : in);
        });
    }
}

} // namespace
} // namespace hx
