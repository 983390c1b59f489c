// A form shown at a device pixel ratio above 1: the display image shows every surface pixel
// as a solid block, text is drawn again at the display's resolution, and the surface (what
// every pixel rule is about) stays exactly what it is at ratio 1.
#include <cmath>
#include <set>

#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/runtime/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

constexpr TColor kInk = RGB(0, 0, 128);
constexpr TColor kFace = RGB(255, 255, 0);

// A label: its face, then a caption over it with a clear brush.
class TLabelProbe : public TGraphicControl {
public:
    TLabelProbe(TForm* form, TRect bounds) : TGraphicControl(form)
    {
        SetBoundsRect(bounds);
        SetParent(form);
    }
    TColor Face = kFace;
    void Paint() override
    {
        Canvas()->Brush()->SetColor(Face);
        Canvas()->FillRect(ClientRect());
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->Font()->SetHeight(-12);
        Canvas()->Font()->SetColor(kInk);
        Canvas()->TextOut(2, 2, "Hexatint #0f9");
    }
};

// The same label painted the way a paint's own bitmap is: drawn off screen, then copied.
class TBitmapLabelProbe : public TLabelProbe {
public:
    using TLabelProbe::TLabelProbe;
    bool Transparent = false;
    void Paint() override
    {
        TBitmap bitmap;
        bitmap.SetSize(Width(), Height());
        bitmap.SetTransparentColor(clWhite);
        bitmap.SetTransparent(Transparent);
        TCanvas* c = bitmap.Canvas();
        c->Brush()->SetColor(Face);
        c->FillRect(ClientRect());
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetHeight(-12);
        c->Font()->SetColor(kInk);
        c->TextOut(2, 2, "Hexatint #0f9");
        Canvas()->Draw(0, 0, &bitmap);
    }
};

class HighDpiTest : public ::testing::Test {
protected:
    HighDpiTest()
    {
        form.SetBounds(0, 0, 120, 60);
        form.SetColor(clWhite);
        form.Update();
    }

    // Display pixels that are not the surface pixel they stand for, outside skip.
    int BlockMismatches(double ratio, const TRect& skip) const
    {
        int mismatches = 0;
        const int w = static_cast<int>(std::ceil(120 * ratio)), h = static_cast<int>(std::ceil(60 * ratio));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int sx = static_cast<int>(x / ratio), sy = static_cast<int>(y / ratio);
                if (!PtInRect(skip, Point(sx, sy)))
                    mismatches += form.DisplayPixel(x, y) != form.SurfacePixel(sx, sy);
            }
        return mismatches;
    }

    // The colours of the 2 × 2 display blocks over the surface pixels of r, and how many
    // blocks hold more than one colour (detail finer than a surface pixel).
    struct TBlockScan {
        std::set<TColor> Colours;
        int SplitBlocks = 0;
    };
    TBlockScan ScanBlocks(const TRect& r) const
    {
        TBlockScan scan;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                std::set<TColor> block;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        block.insert(form.DisplayPixel(2 * x + dx, 2 * y + dy));
                scan.SplitBlocks += block.size() > 1;
                scan.Colours.insert(block.begin(), block.end());
            }
        return scan;
    }

    TPlatformScope platform;
    TForm form{nullptr};
    TLog log;
    TProbe* box = new TProbe(&form, log, "Box", Rect(4, 30, 50, 55), clRed);
    // Where the label was put: the expectations use these, not what the label reports.
    static TRect LabelBounds() { return Rect(55, 5, 115, 25); }
    TLabelProbe* label = new TLabelProbe(&form, LabelBounds());
};

TEST_F(HighDpiTest, EverySurfacePixelBecomesASolidBlockAndTheSurfaceStaysExact)
{
    std::vector<TColor> before;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            before.push_back(form.SurfacePixel(x, y));
    EXPECT_EQ(form.DisplayPixel(0, 0), -1) << "ratio 1 shows the surface itself";

    for (const double ratio : {2.0, 3.0, 1.5}) {
        SCOPED_TRACE(ratio);
        form.SetDisplayScale(ratio);
        form.Update();
        EXPECT_EQ(form.DisplayScale(), ratio);
        const int w = static_cast<int>(std::ceil(120 * ratio));
        EXPECT_NE(form.DisplayPixel(w - 1, 0), -1);
        EXPECT_EQ(form.DisplayPixel(w, 0), -1);
        EXPECT_EQ(BlockMismatches(ratio, LabelBounds()), 0);
        std::vector<TColor> after;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 120; ++x)
                after.push_back(form.SurfacePixel(x, y));
        EXPECT_EQ(after, before) << "the surface does not depend on the ratio";
    }
    form.SetDisplayScale(1);
    EXPECT_EQ(form.DisplayPixel(0, 0), -1);
}

TEST_F(HighDpiTest, TextIsDrawnAtTheDisplayResolutionWithoutBlending)
{
    form.SetDisplayScale(2);
    form.Update();
    // Inside the label only its face and its ink appear: the glyphs replaced, not blended.
    const TRect r = LabelBounds();
    const TBlockScan scan = ScanBlocks(r);
    EXPECT_EQ(scan.Colours, (std::set<TColor>{kFace, kInk}));
    EXPECT_GT(scan.SplitBlocks, 20) << "the glyphs are drawn with display pixels, not surface pixels";
    // The label's frame of face colour around the text stays whole blocks.
    for (int x = r.Left; x < r.Right; ++x)
        EXPECT_EQ(form.DisplayPixel(2 * x, 2 * r.Top), kFace) << x;
}

TEST_F(HighDpiTest, DrawingOverTextAndRepaintingKeepTheDisplayInStep)
{
    form.SetDisplayScale(2);
    form.Update();
    // A fill over the text, drawn at once outside any paint pass, wipes the fine glyphs too.
    label->Canvas()->Brush()->SetColor(clRed);
    label->Canvas()->FillRect(label->ClientRect());
    EXPECT_EQ(BlockMismatches(2, TRect{}), 0);

    // The label repaints on a new face: old glyphs and old face are gone.
    label->Face = clLime;
    form.Invalidate();
    form.Update();
    EXPECT_EQ(BlockMismatches(2, LabelBounds()), 0);
    std::set<TColor> colours;
    const TRect r = LabelBounds();
    for (int y = 2 * r.Top; y < 2 * r.Bottom; ++y)
        for (int x = 2 * r.Left; x < 2 * r.Right; ++x)
            colours.insert(form.DisplayPixel(x, y));
    EXPECT_EQ(colours, (std::set<TColor>{clLime, kInk}));
}

TEST_F(HighDpiTest, TextInACopiedBitmapIsDrawnAgainAtTheDisplayResolution)
{
    label->SetVisible(false);
    auto* copied = new TBitmapLabelProbe(&form, LabelBounds());
    form.SetDisplayScale(2);
    form.Update();
    const TRect r = LabelBounds();
    const TBlockScan scan = ScanBlocks(r);
    EXPECT_EQ(scan.Colours, (std::set<TColor>{kFace, kInk}));
    EXPECT_GT(scan.SplitBlocks, 20);
    EXPECT_EQ(BlockMismatches(2, r), 0);

    // A transparent copy shows only part of the bitmap: its text stays as copied.
    copied->Transparent = true;
    copied->Invalidate();
    form.Update();
    EXPECT_EQ(BlockMismatches(2, TRect{}), 0);
}

} // namespace
} // namespace hx::test
