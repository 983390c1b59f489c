// The caption: plain, disabled, and the four shadow and 3D effects, checked pixel by pixel
// against copies of the plain caption composed at the expected offsets.
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "GradboxFixture.h"

namespace hx::test {
namespace {

constexpr TColor kBackground = RGB(0, 0, 128);
constexpr TColor kText = clRed;
constexpr TColor kBack = clYellow;
constexpr int kW = 120, kH = 60;

class GradboxCaptionTest : public GradboxTest {
protected:
    GradboxCaptionTest()
    {
        form.SetColor(kBackground);
        panel = AddPanel(0, 0, kW, kH, gsNone, clBlack, clWhite); // the form's colour behind
        panel->Font()->SetHeight(-16);
        panel->Font()->SetColor(kText);
        panel->SetCaption("Hx");
        form.Update();
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (form.SurfacePixel(x, y) == kText)
                    plain.insert({x, y});
    }

    // The panel area after drawing the caption's mask at each offset in turn, in its colour.
    std::map<std::pair<int, int>, TColor> Compose(const std::vector<std::pair<TPoint, TColor>>& copies) const
    {
        std::map<std::pair<int, int>, TColor> image;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                image[{x, y}] = kBackground;
        for (const auto& [offset, colour] : copies)
            for (const auto& [x, y] : plain)
                if (image.count({x + offset.X, y + offset.Y}))
                    image[{x + offset.X, y + offset.Y}] = colour;
        return image;
    }

    void ExpectSurface(const std::map<std::pair<int, int>, TColor>& expected, const std::string& what)
    {
        int wrong = 0;
        for (const auto& [p, colour] : expected)
            if (form.SurfacePixel(p.first, p.second) != colour && ++wrong <= 3)
                ADD_FAILURE() << what << ": pixel " << p.first << "," << p.second << " is "
                              << form.SurfacePixel(p.first, p.second) << ", expected " << colour;
        EXPECT_EQ(wrong, 0) << what;
    }

    TGradBox* panel = nullptr;
    std::set<std::pair<int, int>> plain; // caption pixels drawn plainly at (CaptionLeft, CaptionTop)
};

TEST_F(GradboxCaptionTest, PlainCaptionStartsAtTheCaptionBox)
{
    ASSERT_GT(plain.size(), 20u);
    int minX = kW, minY = kH;
    for (const auto& [x, y] : plain) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
    }
    EXPECT_GE(minX, 10);
    EXPECT_GE(minY, 10);
    EXPECT_LT(minX, 14);
    EXPECT_LT(minY, 20);

    // Moving the box moves the caption by as much.
    panel->SetCaptionLeft(13);
    panel->SetCaptionTop(8);
    form.Update();
    ExpectSurface(Compose({{TPoint{3, -2}, kText}}), "moved box");
}

TEST_F(GradboxCaptionTest, EffectsDrawBackFontCopiesThenTheCaption)
{
    struct Case {
        TFontStyle3D style;
        int depth;
        std::vector<TPoint> copies;
    };
    const std::vector<Case> cases{
        {fsLowShadow, 0, {{0, 0}}},   {fsLowShadow, 1, {{1, 1}}},   {fsLowShadow, 3, {{3, 3}}},
        {fsRaiseShadow, 0, {{0, 0}}}, {fsRaiseShadow, 1, {{-1, -1}}}, {fsRaiseShadow, 3, {{-3, -3}}},
        {fsLow3D, 0, {}},             {fsLow3D, 1, {{1, 1}}},       {fsLow3D, 3, {{1, 1}, {2, 2}, {3, 3}}},
        {fsRaise3D, 0, {}},           {fsRaise3D, 1, {{-1, -1}}},   {fsRaise3D, 3, {{-1, -1}, {-2, -2}, {-3, -3}}},
    };
    panel->SetFont3D(true);
    panel->SetBackFont(kBack);
    for (const Case& c : cases) {
        panel->SetStyle3D(c.style);
        panel->SetFontDepth(static_cast<std::uint8_t>(c.depth));
        panel->Invalidate();
        form.Update();
        std::vector<std::pair<TPoint, TColor>> layers;
        for (const TPoint& offset : c.copies)
            layers.push_back({offset, kBack});
        layers.push_back({TPoint{0, 0}, kText});
        ExpectSurface(Compose(layers), "style " + std::to_string(c.style) + " depth " + std::to_string(c.depth));
        // The canvas was left with the caption's own colour.
        EXPECT_EQ(panel->Canvas()->Font()->Color(), kText);
    }
}

TEST_F(GradboxCaptionTest, DisabledCaptionIsWhiteUnderGreyWhateverTheEffect)
{
    panel->SetEnabled(false);
    panel->SetFont3D(true);
    panel->SetStyle3D(fsLow3D);
    panel->SetFontDepth(3);
    panel->Invalidate();
    form.Update();
    ExpectSurface(Compose({{TPoint{1, 1}, clWhite}, {TPoint{0, 0}, clGray}}), "disabled 3D");

    panel->SetFont3D(false);
    form.Update();
    ExpectSurface(Compose({{TPoint{1, 1}, clWhite}, {TPoint{0, 0}, clGray}}), "disabled plain");
}

TEST_F(GradboxCaptionTest, CaptionWrapsAtThePanelsOwnRightEdgeWhereverItStands)
{
    // Two words that fit the panel side by side only if the box ran on past its edge.
    const int wordWidth = panel->Canvas()->TextWidth("Hx");
    const int lineHeight = panel->Canvas()->TextHeight("Hx");
    panel->SetBounds(200, 100, 10 + wordWidth + wordWidth / 2, 3 * lineHeight + 20);
    panel->SetCaption("Hx Hx");
    form.Update();
    int below = 0;
    for (int y = 100 + 10 + lineHeight; y < 100 + 10 + 2 * lineHeight; ++y)
        for (int x = 200; x < panel->Left() + panel->Width(); ++x)
            below += form.SurfacePixel(x, y) == kText;
    EXPECT_GT(below, 10) << "the second word did not wrap onto the second line";
}

TEST_F(GradboxCaptionTest, TabsExpandAndLineBreaksStartNewLines)
{
    const int lineHeight = panel->Canvas()->TextHeight("Hx");
    auto textPixels = [&](int fromX, int fromY, int toY) {
        int n = 0;
        for (int y = fromY; y < toY; ++y)
            for (int x = fromX; x < kW; ++x)
                n += form.SurfacePixel(x, y) == kText;
        return n;
    };
    panel->SetCaption("\tHx");
    form.Update();
    // The caption moved on to the first tab stop: nothing left of where "Hx" used to end.
    int plainRight = 0;
    for (const auto& [x, y] : plain)
        plainRight = std::max(plainRight, x);
    EXPECT_EQ(textPixels(0, 0, kH) - textPixels(plainRight + 1, 0, kH), 0);
    EXPECT_EQ(textPixels(0, 0, kH), static_cast<int>(plain.size()));

    panel->SetCaption("Hx\nHx");
    form.Update();
    EXPECT_EQ(textPixels(0, 10, 10 + lineHeight), static_cast<int>(plain.size()));
    EXPECT_EQ(textPixels(0, 10 + lineHeight, 10 + 2 * lineHeight), static_cast<int>(plain.size()));
}

} // namespace
} // namespace hx::test
