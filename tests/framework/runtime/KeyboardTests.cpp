// Keyboard focus among windowless controls: which controls the ring takes, the routing of a
// key press (OnKeyDown, the focused control, clicks, moves), and a focused control that
// leaves the form.
#include <gtest/gtest.h>

#include "Probe.h"
#include "framework/core/Exception.h"
#include "framework/runtime/KeyboardFocus.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {
namespace {

// A probe that takes the keyboard and logs the key presses it is sent, using those named.
class TKeyProbe : public TProbe {
public:
    TKeyProbe(TForm* form, TLog& log, const std::string& name, TRect bounds, unsigned takes = 0)
        : TProbe(form, log, name, bounds, clRed), FTakes(takes)
    {
        SetTabStop(true);
    }
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_KEYDOWN) {
            FLog2.push_back(static_cast<unsigned>(m.WParam));
            m.Result = m.WParam == FTakes;
            return;
        }
        TProbe::Dispatch(m);
    }
    std::vector<unsigned> FLog2;

private:
    unsigned FTakes;
};

class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest() { form.SetBounds(0, 0, 200, 100); }

    TPlatformScope platform;
    TLog log;
    TForm form{nullptr};
    // a b
    // c      (d has no tab stop; e is in a panel)
    TKeyProbe* a = new TKeyProbe(&form, log, "A", Rect(0, 0, 40, 20));
    TKeyProbe* b = new TKeyProbe(&form, log, "B", Rect(40, 0, 80, 20), 'B');
    TKeyProbe* c = new TKeyProbe(&form, log, "C", Rect(0, 20, 40, 40));
    TProbe* d = new TProbe(&form, log, "D", Rect(40, 20, 80, 40), clBlue);
};

TEST_F(KeyboardTest, TheRingTakesSelectableControlsInCreationOrder)
{
    EXPECT_EQ(FocusRing(&form), (std::vector<TControl*>{a, b, c}));
    c->SetEnabled(false);
    b->Hide();
    EXPECT_EQ(FocusRing(&form), (std::vector<TControl*>{a}));
    EXPECT_TRUE(a->CanFocus()) << "the form itself need not be shown yet";
    EXPECT_FALSE(form.CanFocus());
    EXPECT_FALSE(d->CanFocus());
}

TEST_F(KeyboardTest, AKeyGoesToOnKeyDownThenTheFocusedControlThenTheForm)
{
    std::vector<unsigned> seen;
    form.OnKeyDown = TKeyEvent([&](TObject*, unsigned& key, TShiftState) {
        seen.push_back(key);
        if (key == 'X')
            key = 0;
    });
    EXPECT_FALSE(form.KeyDown('Q', 0)) << "nothing uses Q";
    EXPECT_TRUE(form.KeyDown('X', 0));
    EXPECT_TRUE(form.KeyDown(VK_TAB, 0));
    EXPECT_EQ(form.ActiveControl(), a);
    EXPECT_TRUE(form.KeyDown(VK_RIGHT, 0));
    EXPECT_EQ(form.ActiveControl(), b);
    EXPECT_TRUE(form.KeyDown('B', 0)) << "b uses B itself";
    EXPECT_TRUE(form.KeyDown(VK_DOWN, 0)) << "a key the control passes on still moves";
    EXPECT_EQ(form.ActiveControl(), b) << "nothing below b that takes the keyboard";
    EXPECT_EQ(seen, (std::vector<unsigned>{'Q', 'X', VK_TAB, VK_RIGHT, 'B', VK_DOWN}));
    EXPECT_EQ(b->FLog2, (std::vector<unsigned>{'B', VK_DOWN}));
}

TEST_F(KeyboardTest, ReturnAndSpaceClickTheFocusedControlOnceWhileHeld)
{
    EXPECT_FALSE(form.KeyDown(VK_RETURN, 0)) << "nothing focused";
    form.SetActiveControl(c);
    log.clear();
    form.KeyDown(VK_RETURN, 0);
    form.KeyDown(VK_RETURN, 0, true);
    form.KeyDown(VK_SPACE, ssShift);
    EXPECT_FALSE(form.KeyDown(VK_RETURN, ssCtrl));
    EXPECT_EQ(log, (TLog{"click C", "click C"}));
    c->SetControlStyle(c->ControlStyle() & ~csClickEvents);
    EXPECT_FALSE(form.KeyDown(VK_RETURN, 0)) << "a control without click events does not click";
}

TEST_F(KeyboardTest, TheFocusIsShownOnlyAfterAKeyAndRepaintsBothControls)
{
    form.SetActiveControl(a);
    EXPECT_TRUE(a->Focused());
    EXPECT_FALSE(a->ShowsFocus());
    form.Update();
    const int paints = a->PaintCount;
    form.MouseInput(miMove, mbLeft, 5, 5, 0);
    form.Update();
    EXPECT_FALSE(form.FocusCues());
    EXPECT_EQ(a->PaintCount, paints) << "a pointer move shows nothing";
    EXPECT_FALSE(form.KeyDown('Q', 0));
    EXPECT_TRUE(a->ShowsFocus()) << "any key shows the focus from now on";
    form.Update();
    EXPECT_EQ(a->PaintCount, paints + 1);
    form.KeyDown(VK_TAB, 0);
    form.Update();
    EXPECT_EQ(a->PaintCount, paints + 2) << "the control losing the focus repaints";
    EXPECT_EQ(b->PaintCount, 2) << "and the one gaining it: once at the first pass, once now";
}

TEST_F(KeyboardTest, AFocusedControlThatLeavesTakesTheFocusWithIt)
{
    form.SetActiveControl(b);
    delete b;
    EXPECT_EQ(form.ActiveControl(), nullptr);
    form.SetActiveControl(c);
    c->SetParent(nullptr);
    EXPECT_EQ(form.ActiveControl(), nullptr);
    delete c;

    TForm other{nullptr};
    TKeyProbe* foreign = new TKeyProbe(&other, log, "F", Rect(0, 0, 10, 10));
    EXPECT_THROW(form.SetActiveControl(foreign), EInvalidOperation);
}

} // namespace
} // namespace hx::test
