// The form surface: the paint pass (coalesced, in creation order, over the form colour),
// repaint now, and the canvas of a windowless control.
#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/runtime/Application.h"
#include "framework/core/Exception.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

class PaintTest : public ::testing::Test {
protected:
    PaintTest()
    {
        form.SetBounds(0, 0, 100, 60);
        form.SetColor(clWhite);
        form.Update();
        log.clear();
    }

    TPlatformScope platform;
    TLog log;
    TForm form{nullptr};
    TProbe* a = new TProbe(&form, log, "A", Rect(10, 10, 50, 50), clRed);
    TProbe* b = new TProbe(&form, log, "B", Rect(30, 20, 70, 40), clBlue);
};

TEST_F(PaintTest, TwoInvalidationsBeforeThePassCostOnePaint)
{
    form.Update(); // the construction's own invalidations
    log.clear();
    const int passes = form.PaintPassCount();
    a->Invalidate();
    a->Invalidate();
    EXPECT_TRUE(log.empty()); // later, not now
    EXPECT_EQ(form.InvalidRect(), Rect(10, 10, 50, 50));
    Application->ProcessMessages(); // the posted pass
    EXPECT_EQ(form.PaintPassCount(), passes + 1);
    EXPECT_EQ(log, (TLog{"paint A", "paint B"})); // B overlaps the region, so it repaints too
    form.Update();
    Application->ProcessMessages();
    EXPECT_EQ(form.PaintPassCount(), passes + 1); // nothing left to do
}

TEST_F(PaintTest, PassFillsTheRegionWithTheFormColourThenPaintsInCreationOrder)
{
    b->SetVisible(false);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(40, 30), clRed);
    EXPECT_EQ(form.SurfacePixel(60, 30), clWhite); // where B was: the form colour
    b->SetVisible(true);
    form.Update();
    struct Probe {
        int x, y;
        TColor expected;
    };
    for (const Probe& p : {Probe{5, 5, clWhite}, Probe{10, 10, clRed}, Probe{29, 25, clRed},
                           Probe{30, 20, clBlue}, Probe{69, 39, clBlue}, Probe{70, 39, clWhite},
                           Probe{49, 49, clRed}, Probe{50, 49, clWhite}, Probe{99, 59, clWhite}})
        EXPECT_EQ(form.SurfacePixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    EXPECT_EQ(form.SurfacePixel(100, 0), -1);

    form.SetColor(clYellow);
    log.clear();
    form.Update();
    EXPECT_EQ(log, (TLog{"paint A", "paint B"}));
    EXPECT_EQ(form.SurfacePixel(5, 5), clYellow);
}

TEST_F(PaintTest, ControlOutsideTheRegionIsNotPaintedAndPaintIsClippedToIt)
{
    auto* far = new TProbe(&form, log, "F", Rect(80, 0, 100, 10), clLime);
    form.Update();
    log.clear();
    form.InvalidateRect(Rect(0, 0, 20, 20)); // meets A only
    form.Update();
    EXPECT_EQ(log, (TLog{"paint A"}));
    EXPECT_EQ(far->PaintCount, 1);
}

class TSpill : public TGraphicControl {
public:
    explicit TSpill(TForm* f) : TGraphicControl(f)
    {
        SetBounds(20, 20, 10, 10);
        SetParent(f);
    }
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clGreen);
        Canvas()->FillRect(Rect(-100, -100, 100, 100));
    }
};

TEST_F(PaintTest, CanvasDrawsAtTheControlsPlaceClippedToItsBounds)
{
    auto* spill = new TSpill(&form);
    form.Update();
    EXPECT_EQ(form.SurfacePixel(20, 20), clGreen);
    EXPECT_EQ(form.SurfacePixel(29, 29), clGreen);
    EXPECT_EQ(form.SurfacePixel(19, 20), clRed);
    EXPECT_EQ(form.SurfacePixel(30, 25), clBlue);

    // Painting at once, outside any pass: the same place, the same clip.
    spill->Canvas()->Brush()->SetColor(clNavy);
    spill->Canvas()->FillRect(Rect(-5, -5, 5, 5));
    EXPECT_EQ(form.SurfacePixel(20, 20), clNavy);
    EXPECT_EQ(form.SurfacePixel(19, 19), clRed);
}

TEST_F(PaintTest, RepaintOfAnOpaqueControlRepaintsItAndTheLaterControlsOverIt)
{
    a->SetControlStyle(a->ControlStyle() | csOpaque);
    const int passes = form.PaintPassCount();
    a->Repaint();
    EXPECT_EQ(log, (TLog{"paint A", "paint B"}));
    EXPECT_EQ(form.PaintPassCount(), passes); // no pass: painted in place
    EXPECT_EQ(form.SurfacePixel(40, 30), clBlue);

    log.clear();
    b->SetControlStyle(b->ControlStyle() | csOpaque);
    b->Repaint(); // nothing later than B
    EXPECT_EQ(log, (TLog{"paint B"}));
}

TEST_F(PaintTest, RepaintOfATransparentControlRunsThePassNow)
{
    const int passes = form.PaintPassCount();
    b->Repaint();
    EXPECT_EQ(form.PaintPassCount(), passes + 1);
    EXPECT_EQ(log, (TLog{"paint A", "paint B"}));
    EXPECT_TRUE(form.InvalidRect().IsEmpty());
}

TEST_F(PaintTest, PropertyChangesInvalidateTheControl)
{
    // B stands at (30, 20, 70, 40); a move invalidates where it was and where it is.
    struct Case {
        const char* what;
        std::function<void()> change;
        TRect invalid;
    };
    const Case cases[] = {
        {"enabled", [this] { b->SetEnabled(false); }, Rect(30, 20, 70, 40)},
        {"font", [this] { b->Font()->SetHeight(-20); }, Rect(30, 20, 70, 40)},
        {"text", [this] { b->SetCaption("new"); }, Rect(30, 20, 70, 40)},
        {"colour", [this] { b->SetColor(clGreen); }, Rect(30, 20, 70, 40)},
        {"moved", [this] { b->SetLeft(31); }, Rect(30, 20, 71, 40)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        form.Update();
        k.change();
        EXPECT_EQ(form.InvalidRect(), k.invalid);
    }
    form.Update();
    b->SetCaption("new"); // no change, no repaint
    EXPECT_TRUE(form.InvalidRect().IsEmpty());
}

TEST(ControlCanvasTest, DrawingWithoutAParentWindowRaises)
{
    TLog log;
    struct TLoose : TGraphicControl {
        using TGraphicControl::TGraphicControl;
    } loose(nullptr);
    loose.SetName("Swatch1");
    loose.SetBounds(0, 0, 10, 10);
    try {
        loose.Canvas()->FillRect(Rect(0, 0, 5, 5));
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Control 'Swatch1' has no parent window");
    }
}

} // namespace
} // namespace hx::test
