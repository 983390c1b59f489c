// The palette from the keyboard: the focus ring and the arrow map over the real layout,
// Return / Space against a click, Ctrl+C, the context menu keys, the focus indicator's
// contrast on every swatch, and that nothing changes on screen until a key is pressed.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainFormFixture.h"
#include "framework/graphics/FocusRing.h"
#include "framework/runtime/Accessibility.h"
#include "framework/runtime/KeyboardFocus.h"

namespace hx::test {
namespace {

constexpr int kPanels = 2;

std::vector<TColor> Snapshot(const TForm& form)
{
    std::vector<TColor> pixels;
    for (int y = 0; y < form.ClientHeight(); ++y)
        for (int x = 0; x < form.ClientWidth(); ++x)
            pixels.push_back(form.SurfacePixel(x, y));
    return pixels;
}

class KeyboardTest : public MainFormTest {
protected:
    // The swatch the keyboard is on (0: none).
    int Focused() const { return Form->FocusedSwatch(); }
    int Press(unsigned key, TShiftState shift = 0)
    {
        Form->KeyDown(key, shift);
        return Focused();
    }
    // Focuses swatch n as a keyboard user would: Home, then Tab along the ring.
    void Reach(int n)
    {
        Press(VK_HOME);
        for (int i = 1; i < n; ++i)
            Press(VK_TAB);
        ASSERT_EQ(Focused(), n);
    }
    int Move(int from, unsigned key)
    {
        Form->SetActiveControl(Form->GlowFadeButton(from));
        return Press(key);
    }
    TRect SwatchRect(int n) const { return Form->GlowFadeButton(n)->BoundsRect(); }
};

TEST_F(KeyboardTest, TheFirstKeyFocusesTheFirstSwatchExceptEndAndShiftTab)
{
    const struct {
        unsigned Key;
        TShiftState Shift;
        int Expected;
    } cases[] = {
        {VK_TAB, 0, 1}, {VK_TAB, ssShift, 91}, {VK_HOME, 0, 1}, {VK_END, 0, 91},
        {VK_LEFT, 0, 1}, {VK_RIGHT, 0, 1}, {VK_UP, 0, 1}, {VK_DOWN, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.Key) + " shift " + std::to_string(c.Shift));
        Create();
        EXPECT_EQ(Focused(), 0) << "no swatch has focus at start";
        EXPECT_EQ(Press(c.Key, c.Shift), c.Expected);
    }
}

TEST_F(KeyboardTest, TabWalksTheRingInSwatchOrderBothWays)
{
    Create();
    for (int n = 1; n <= kSwatchCount; ++n)
        ASSERT_EQ(Press(VK_TAB), n);
    EXPECT_EQ(Press(VK_TAB), 1) << "round from the last to the first";
    EXPECT_EQ(Press(VK_TAB, ssShift), 91);
    for (int n = 90; n >= 1; --n)
        ASSERT_EQ(Press(VK_TAB, ssShift), n);
    EXPECT_EQ(Press(VK_END), 91);
    EXPECT_EQ(Press(VK_HOME), 1);
    EXPECT_EQ(Press(VK_TAB, ssCtrl), 1) << "Ctrl+Tab is not a move";
}

// Columns of 6, 7 … 11 … 7, 6 swatches, 40 px apart, each offset by half a swatch.
TEST_F(KeyboardTest, ArrowsFollowTheHexagonAndStayPutAtItsEdges)
{
    Create();
    const struct {
        int From;
        unsigned Key;
        int To;
    } cases[] = {
        {1, VK_DOWN, 2}, {2, VK_UP, 1}, {1, VK_UP, 1}, {6, VK_DOWN, 6},       // column ends
        {41, VK_UP, 41}, {51, VK_DOWN, 51}, {46, VK_DOWN, 47},
        {1, VK_RIGHT, 7}, {7, VK_LEFT, 1}, {1, VK_LEFT, 1}, {6, VK_LEFT, 6},  // left edge
        {7, VK_RIGHT, 14}, {13, VK_LEFT, 6}, {13, VK_RIGHT, 20},
        {46, VK_RIGHT, 56}, {56, VK_LEFT, 46},                                 // past the middle
        {41, VK_RIGHT, 52}, {52, VK_LEFT, 42}, {51, VK_RIGHT, 61},             // one overlap only
        {86, VK_RIGHT, 86}, {91, VK_RIGHT, 91}, {86, VK_UP, 86}, {91, VK_DOWN, 91}, // right edge
        {91, VK_LEFT, 85}, {86, VK_LEFT, 80},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Move(c.From, c.Key), c.To) << "from " << c.From << " key " << c.Key;
}

// Swatches overlapping swatch n in the column right (dx = 40) or left (dx = -40) of it.
int Overlapping(const TMainForm1& form, int n, int dx)
{
    const TRect r = form.GlowFadeButton(n)->BoundsRect();
    int count = 0;
    for (int m = 1; m <= kSwatchCount; ++m) {
        const TRect s = form.GlowFadeButton(m)->BoundsRect();
        count += s.Left == r.Left + dx && s.Top < r.Bottom && r.Top < s.Bottom;
    }
    return count;
}

TEST_F(KeyboardTest, EveryMoveIsUndoneByTheOppositeKeyWhereTheLayoutAllows)
{
    Create();
    std::set<int> reached = {1};
    std::vector<int> todo = {1};
    int pairsChecked = 0;
    while (!todo.empty()) {
        const int n = todo.back();
        todo.pop_back();
        for (unsigned key : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
            const int m = Move(n, key);
            if (reached.insert(m).second)
                todo.push_back(m);
        }
        SCOPED_TRACE("swatch " + std::to_string(n));
        if (const int down = Move(n, VK_DOWN); down != n) {
            EXPECT_EQ(Move(down, VK_UP), n);
            ++pairsChecked;
        }
        if (Overlapping(*Form, n, 40) == 2) {
            EXPECT_EQ(Move(Move(n, VK_RIGHT), VK_LEFT), n);
            ++pairsChecked;
        }
        if (Overlapping(*Form, n, -40) == 2) {
            EXPECT_EQ(Move(Move(n, VK_LEFT), VK_RIGHT), n);
            ++pairsChecked;
        }
    }
    EXPECT_EQ(reached.size(), static_cast<size_t>(kSwatchCount)) << "the arrows reach every swatch";
    EXPECT_EQ(pairsChecked, 80 + 75 + 75) << "Up/Down in 11 columns, Right and Left each 40 + 35 times";
}

TEST_F(KeyboardTest, ReturnAndSpaceDoWhatAClickDoes)
{
    TMainForm1& clicked = Create();
    clicked.Update();
    const TRect r = SwatchRect(89);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    clicked.MouseInput(miDown, mbLeft, cx, cy, ssLeft);
    clicked.MouseInput(miUp, mbLeft, cx, cy, 0);
    clicked.Update();
    const std::vector<TColor> byPointer = Snapshot(clicked);
    ASSERT_EQ(Platform.ClipboardTexts(), std::vector<std::string>{"#ff9900"});
    ASSERT_EQ(Platform.Beeps(), std::vector<unsigned>{0});

    for (unsigned key : {VK_RETURN, VK_SPACE}) {
        SCOPED_TRACE("key " + std::to_string(key));
        const size_t copies = Platform.ClipboardTexts().size();
        const size_t beeps = Platform.Beeps().size();
        TMainForm1& form = Create();
        form.Update();
        Reach(89);
        form.KeyDown(key, 0);
        form.KeyDown(key, 0, true); // held: the system's repeats do not click again
        form.Update();
        ASSERT_EQ(Platform.ClipboardTexts().size(), copies + 1);
        EXPECT_EQ(Platform.ClipboardTexts().back(), "#ff9900");
        ASSERT_EQ(Platform.Beeps().size(), beeps + 1) << "one beep";
        EXPECT_EQ(Platform.Beeps().back(), 0u);
        EXPECT_STREQ(form.ColorCode, "#ff9900");
        const std::vector<TColor> byKey = Snapshot(form);
        // Every pixel but the focus indicator's two rings on swatch 89.
        const TRect face = Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
        int differing = 0;
        for (int y = 0; y < form.ClientHeight(); ++y)
            for (int x = 0; x < form.ClientWidth(); ++x) {
                const size_t i = static_cast<size_t>(y) * form.ClientWidth() + x;
                const bool ring = PtInRect(r, Point(x, y)) && !PtInRect(face, Point(x, y));
                if (!ring && byKey[i] != byPointer[i])
                    ++differing;
            }
        EXPECT_EQ(differing, 0) << "the same wash as the click";
    }
}

TEST_F(KeyboardTest, CtrlCCopiesTheFocusedCodeWithoutWashOrBeep)
{
    TMainForm1& form = Create();
    form.Update();
    form.KeyDown('C', ssCtrl);
    EXPECT_TRUE(Platform.ClipboardTexts().empty()) << "nothing focused, nothing copied";
    Reach(89);
    form.Update();
    const std::vector<TColor> before = Snapshot(form);
    form.KeyDown('C', ssCtrl);
    form.Update();
    EXPECT_EQ(Platform.ClipboardTexts(), std::vector<std::string>{"#ff9900"});
    EXPECT_TRUE(Platform.Beeps().empty());
    EXPECT_EQ(form.GradBox1->TopColor(), clBlack);
    EXPECT_EQ(Snapshot(form), before);
    form.KeyDown('C', ssCtrl | ssShift);
    form.KeyDown('C', 0);
    EXPECT_EQ(Platform.ClipboardTexts().size(), 1u) << "only Ctrl+C copies";
}

// The keys copy through the same path as a click, so they follow the chosen copy format;
// ColorCode keeps the code itself.
TEST_F(KeyboardTest, KeysCopyInTheChosenFormat)
{
    TMainForm1& form = Create();
    form.SetCopyFormat(TCopyFormat::Rgb);
    Reach(89);
    form.KeyDown('C', ssCtrl);
    form.KeyDown(VK_RETURN, 0);
    form.KeyDown(VK_SPACE, 0);
    form.SetCopyFormat(TCopyFormat::ShortHex);
    form.KeyDown('C', ssCtrl);
    EXPECT_EQ(Platform.ClipboardTexts(),
              (std::vector<std::string>{"rgb(255, 153, 0)", "rgb(255, 153, 0)", "rgb(255, 153, 0)", "#f90"}));
    EXPECT_STREQ(form.ColorCode, "#ff9900");
}

TEST_F(KeyboardTest, ShiftF10AndTheMenuKeyOpenTheMenuAtTheFocusedSwatch)
{
    struct Opened {
        TPopupMenu* Menu;
        TPoint At;
    };
    std::vector<Opened> opened;
    TPopupRunner previous = SetPopupRunner([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        opened.push_back({m, Point(x, y)});
        return nullptr;
    });
    TMainForm1& form = Create();
    form.KeyDown(VK_F10, ssShift);
    Reach(46);
    form.KeyDown(VK_APPS, 0);
    form.KeyDown(VK_APPS, 0, true);
    form.KeyDown(VK_F10, 0);
    SetPopupRunner(previous);

    ASSERT_EQ(opened.size(), 2u) << "plain F10 and a held key open nothing";
    EXPECT_EQ(opened[0].Menu, form.PopupMenu1);
    EXPECT_EQ(opened[0].At, form.ClientToScreen(Point(0, 0))) << "nothing focused: the window's corner";
    EXPECT_EQ(opened[1].Menu, form.PopupMenu1);
    const TRect r = SwatchRect(46);
    EXPECT_EQ(opened[1].At, form.ClientToScreen(Point(r.Left, r.Bottom)));
}

// Whichever ring touches the face contrasts with it by 3:1 at least; against every pixel
// just outside the swatch at least one of the rings does (their own contrast is 21:1).
void ExpectVisibleIndicator(const TMainForm1& form, int n, double& worstFace, double& worstBackdrop)
{
    const TGlowFadeButton* swatch = form.GlowFadeButton(n);
    const TRect r = swatch->BoundsRect();
    const TColor face = swatch->Color();
    ASSERT_EQ(form.SurfacePixel(r.Left + 3, r.Top + 3), face);
    const TColor outer = form.SurfacePixel(r.Left, r.Top + 10);
    const TColor inner = form.SurfacePixel(r.Left + 1, r.Top + 10);
    for (int x = r.Left; x < r.Right; ++x) {
        ASSERT_EQ(form.SurfacePixel(x, r.Top), outer);
        ASSERT_EQ(form.SurfacePixel(x, r.Bottom - 1), outer);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        ASSERT_EQ(form.SurfacePixel(r.Right - 2, y), inner);
        ASSERT_EQ(form.SurfacePixel(r.Left + 1, y), inner);
    }
    EXPECT_EQ(ContrastRatio(outer, inner), 21.0);
    const double onFace = ContrastRatio(inner, face);
    EXPECT_GE(onFace, 3.0) << "swatch " << n;
    worstFace = std::min(worstFace, onFace);
    std::vector<TPoint> around;
    for (int x = r.Left - 1; x <= r.Right; ++x)
        around.insert(around.end(), {Point(x, r.Top - 1), Point(x, r.Bottom)});
    for (int y = r.Top; y < r.Bottom; ++y)
        around.insert(around.end(), {Point(r.Left - 1, y), Point(r.Right, y)});
    for (const TPoint& p : around) {
        const TColor backdrop = form.SurfacePixel(p.X, p.Y);
        if (backdrop < 0)
            continue;
        const double best = std::max(ContrastRatio(outer, backdrop), ContrastRatio(inner, backdrop));
        EXPECT_GE(best, 3.0) << "swatch " << n << " at " << p.X << "," << p.Y;
        worstBackdrop = std::min(worstBackdrop, best);
    }
}

TEST_F(KeyboardTest, TheFocusIndicatorStandsOutOnEveryFaceAndBackdrop)
{
    TMainForm1& form = Create();
    Press(VK_HOME);
    double worstFace = 21, worstBackdrop = 21;
    for (int wash : {0, 89, 46}) { // at start, then over orange and white panels
        if (wash)
            form.GlowFadeButton(wash)->Click();
        for (int n = 1; n <= kSwatchCount; ++n) {
            form.SetActiveControl(form.GlowFadeButton(n));
            form.Update();
            ExpectVisibleIndicator(form, n, worstFace, worstBackdrop);
        }
    }
    RecordProperty("WorstContrastOnFace", std::to_string(worstFace));
    RecordProperty("WorstContrastOnBackdrop", std::to_string(worstBackdrop));
    EXPECT_GE(worstFace, 4.58);
}

TEST_F(KeyboardTest, TheIndicatorRidesOverTheHoverFadeInTheFacesColours)
{
    TMainForm1& form = Create();
    Reach(46); // a white face: the inner ring is black
    form.Update();
    TGlowFadeButton* swatch = form.GlowFadeButton(46);
    const TRect r = SwatchRect(46);
    EXPECT_EQ(form.SurfacePixel(r.Left + 1, r.Top + 5), clBlack);
    swatch = form.GlowFadeButton(1); // blue, fading towards white under the pointer
    form.SetActiveControl(swatch);
    const TRect b = SwatchRect(1);
    form.MouseInput(miMove, mbLeft, b.Left + 5, b.Top + 5, 0);
    for (int tick = 0; tick < 200 && swatch->FadeTimer()->Enabled(); ++tick) {
        swatch->Animate(nullptr);
        const TColor inner = form.SurfacePixel(b.Left + 1, b.Top + 5);
        EXPECT_GE(ContrastRatio(inner, swatch->CurrentColor()), 3.0) << "tick " << tick;
        EXPECT_EQ(ContrastRatio(inner, form.SurfacePixel(b.Left, b.Top + 5)), 21.0) << "tick " << tick;
    }
    EXPECT_EQ(swatch->CurrentColor(), clWhite);
}

TEST_F(KeyboardTest, WithoutAKeyNoPixelChanges)
{
    TMainForm1& form = Create();
    form.Update();
    const std::vector<TColor> start = Snapshot(form);
    form.SetActiveControl(form.GlowFadeButton(89)); // focus given, but no key pressed yet
    const TRect r = SwatchRect(5);
    form.MouseInput(miMove, mbLeft, r.Left + 5, r.Top + 5, 0);
    form.MouseInput(miMove, mbLeft, 224, 2, 0);
    form.MouseInput(miDown, mbLeft, 224, 2, ssLeft);
    form.MouseInput(miUp, mbLeft, 224, 2, 0);
    form.Update();
    EXPECT_FALSE(form.FocusCues()) << "the pointer never shows the focus";
    TGlowFadeButton* hovered = form.GlowFadeButton(5);
    TMessage leave{CM_MOUSELEAVE};
    hovered->Dispatch(leave);
    while (hovered->FadeTimer()->Enabled())
        hovered->Animate(nullptr);
    form.Update();
    EXPECT_EQ(Snapshot(form), start);

    form.KeyDown(VK_ESCAPE, 0); // any key: the focused swatch shows it from now on
    form.Update();
    EXPECT_TRUE(form.FocusCues());
    EXPECT_NE(Snapshot(form), start);
}

TEST_F(KeyboardTest, TheFocusedSwatchIsTheAccessibleFocus)
{
    TMainForm1& form = Create();
    EXPECT_TRUE(AccessibleFocusPath(&form).empty());
    Reach(89);
    EXPECT_EQ(AccessibleFocusPath(&form), std::vector<int>{kPanels + 88});
    const TAccessibleNode root = AccessibleTree(&form);
    EXPECT_TRUE(root.Children[kPanels + 88].Focusable);
    EXPECT_TRUE(root.Children[kPanels + 88].Focused);
    EXPECT_FALSE(root.Children[0].Focusable) << "the panels are not keyboard stops";
    Press(VK_RIGHT);
    EXPECT_EQ(AccessibleFocusPath(&form), std::vector<int>{kPanels + Focused() - 1});
}

} // namespace
} // namespace hx::test
