// Size constraints: every size a control takes is clamped to them, whoever sets it (code,
// the parent's alignment, anchors), and a changed limit takes effect at once.
#include <gtest/gtest.h>

#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/runtime/SizeConstraints.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

struct TClampCase {
    const char* Name;
    int MinWidth, MinHeight, MaxWidth, MaxHeight;
    int Width, Height;            // asked for
    int WantWidth, WantHeight;    // taken
};

class ConstraintsClampTest : public ::testing::TestWithParam<TClampCase> {
protected:
    TPlatformScope platform;
    TForm form{nullptr};
    TGraphicControl* control = new TGraphicControl(&form);
};

TEST_P(ConstraintsClampTest, SetBoundsTakesTheNearestAllowedSize)
{
    const TClampCase& c = GetParam();
    control->SetParent(&form);
    TSizeConstraints* k = control->Constraints();
    k->SetMaxWidth(c.MaxWidth);
    k->SetMaxHeight(c.MaxHeight);
    k->SetMinWidth(c.MinWidth);
    k->SetMinHeight(c.MinHeight);
    control->SetBounds(7, 9, c.Width, c.Height);
    EXPECT_EQ(control->BoundsRect(), Bounds(7, 9, c.WantWidth, c.WantHeight));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConstraintsClampTest,
    ::testing::Values(
        TClampCase{"NoLimits", 0, 0, 0, 0, 300, 1, 300, 1},
        TClampCase{"BelowMinimum", 40, 30, 0, 0, 10, 5, 40, 30},
        TClampCase{"AboveMaximum", 0, 0, 50, 20, 80, 90, 50, 20},
        TClampCase{"WithinBoth", 10, 10, 100, 100, 60, 70, 60, 70},
        TClampCase{"OnTheLimits", 10, 10, 100, 100, 100, 10, 100, 10},
        TClampCase{"OneDimensionOnly", 0, 25, 0, 0, 3, 3, 3, 25},
        TClampCase{"ZeroSizeUnderMinimum", 1, 1, 0, 0, 0, 0, 1, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

class ConstraintsTest : public ::testing::Test {
protected:
    ConstraintsTest()
    {
        form.SetBounds(0, 0, 200, 100);
        control->SetParent(&form);
    }
    TPlatformScope platform;
    TForm form{nullptr};
    TGraphicControl* control = new TGraphicControl(&form);
};

TEST_F(ConstraintsTest, ChangingALimitResizesAtOnce)
{
    control->SetBounds(5, 5, 80, 40);
    control->Constraints()->SetMaxWidth(60);
    EXPECT_EQ(control->Width(), 60);
    control->Constraints()->SetMinHeight(50);
    EXPECT_EQ(control->Height(), 50);
    EXPECT_EQ(control->Left(), 5);
    // The limits stay; a wider request is cut again, and lifting the limit lets it through.
    control->SetWidth(90);
    EXPECT_EQ(control->Width(), 60);
    control->Constraints()->SetMaxWidth(0);
    control->SetWidth(90);
    EXPECT_EQ(control->Width(), 90);
}

TEST_F(ConstraintsTest, AlignmentIsClampedToo)
{
    control->SetAlign(alClient);
    EXPECT_EQ(control->BoundsRect(), Rect(0, 0, 200, 100));
    control->Constraints()->SetMaxWidth(120);
    control->Constraints()->SetMaxHeight(70);
    EXPECT_EQ(control->BoundsRect(), Rect(0, 0, 120, 70)) << "re-applied through the alignment at once";

    // A top band narrower than the client area; the next band starts below its real height.
    auto* top = new TGraphicControl(&form);
    top->SetParent(&form);
    top->SetBounds(0, 0, 10, 10);
    top->Constraints()->SetMaxWidth(150);
    top->Constraints()->SetMinHeight(30);
    top->SetAlign(alTop);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 150, 30));
    EXPECT_EQ(control->BoundsRect(), Rect(0, 30, 120, 100));

    form.SetBounds(0, 0, 100, 60);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 100, 30));
    EXPECT_EQ(control->BoundsRect(), Rect(0, 30, 100, 60));
}

TEST_F(ConstraintsTest, AnchorsStretchNoFurtherThanTheLimits)
{
    control->SetBounds(10, 10, 50, 30);
    control->SetAnchors(akLeft | akTop | akRight | akBottom);
    control->Constraints()->SetMaxWidth(70);
    control->Constraints()->SetMinHeight(25);
    form.SetBounds(0, 0, 260, 90);
    EXPECT_EQ(control->BoundsRect(), Bounds(10, 10, 70, 25));
    // Shrinking back gives the size it had: the stretch counts from what it asked for.
    form.SetBounds(0, 0, 200, 100);
    EXPECT_EQ(control->BoundsRect(), Bounds(10, 10, 50, 30));
}

// Crossing limits move the other end along; a negative limit is refused.
TEST_F(ConstraintsTest, LimitsStayConsistent)
{
    TSizeConstraints k;
    int changes = 0;
    k.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    k.SetMaxWidth(50);
    k.SetMinWidth(80);
    EXPECT_EQ(k.MaxWidth(), 80);
    k.SetMaxHeight(20);
    k.SetMinHeight(10);
    k.SetMaxHeight(5);
    EXPECT_EQ(k.MinHeight(), 5);
    k.SetMaxHeight(0);
    EXPECT_EQ(k.MinHeight(), 5) << "0 is no limit and crosses nothing";
    EXPECT_THROW(k.SetMinWidth(-1), EInvalidOperation);
    EXPECT_EQ(k.MinWidth(), 80);
    k.SetMinWidth(80);
    EXPECT_EQ(changes, 6) << "one notification per effective change, none for the same value or a refusal";

    // A copy is one change, and takes effect on the control.
    k.SetMinWidth(0);
    k.SetMaxWidth(30);
    control->SetBounds(0, 0, 50, 50);
    control->SetConstraints(&k);
    EXPECT_EQ(control->Constraints()->MaxWidth(), 30);
    EXPECT_EQ(control->Width(), 30);
    EXPECT_EQ(control->Height(), 50);
}

} // namespace
} // namespace hx::test
