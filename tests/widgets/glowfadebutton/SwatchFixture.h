#pragma once
// A fade button set up as a palette swatch (Step 2, Speed 16, white targets, silver border)
// on an offscreen form, driven through the messages the form sends and ticked through the
// recording platform's virtual timers.
#include <gtest/gtest.h>

#include "framework/runtime/Form.h"
#include "framework/core/Messages.h"
#include "framework/services/RecordingPlatform.h"
#include "tests/support/ControlOnForm.h"
#include "widgets/glowfadebutton/Glowfadebutton.h"

namespace hx::test {

// Counts its paints; everything else is the button's own.
class TCountingButton : public TGlowFadeButton {
public:
    using TGlowFadeButton::TGlowFadeButton;
    int Paints = 0;
    void Paint() override
    {
        ++Paints;
        TGlowFadeButton::Paint();
    }
};

// Web code #rrggbb as a TColor.
constexpr TColor Web(unsigned rrggbb)
{
    return static_cast<TColor>((rrggbb >> 16 & 0xFF) | (rrggbb & 0xFF00) | (rrggbb & 0xFF) << 16);
}

constexpr TColor Grey(int level)
{
    return static_cast<TColor>(level | level << 8 | level << 16);
}

class SwatchTest : public ControlOnFormTest<TCountingButton> {
protected:
    static constexpr int kLeft = 10, kTop = 10, kWidth = 40, kHeight = 20;

    SwatchTest() : ControlOnFormTest(Rect(0, 0, 120, 60), clBlack, Rect(kLeft, kTop, kLeft + kWidth, kTop + kHeight))
    {
        button->Font()->SetColor(clWhite);
        button->SetColor(Web(0x0033ff));
        button->SetCaption("#0033ff");
        button->SetStep(2);
        button->SetBorderColor(clSilver);
        button->SetBorderDestColor(clWhite);
        button->SetDestColor(clWhite);
        button->SetCaptionOverColor(Web(0xff3300));
        button->SetSpeed(16);
        form.Update();
        button->Paints = 0;
    }

    // A pointer move at (x, y) of the button, routed by the form.
    void Move(int x = 3, int y = 3) { form.MouseInput(miMove, mbLeft, kLeft + x, kTop + y, 0); }
    // What the form's pointer tracking sends when the pointer has gone.
    void Leave() { button->Perform(CM_MOUSELEAVE, 0, 0); }

    int TimerId() const
    {
        const auto ids = platform.RunningTimers();
        return ids.empty() ? 0 : ids.front();
    }
    bool Running() const { return TimerId() != 0; }
    // One tick of the button's timer; false when none runs.
    bool Tick()
    {
        const int id = TimerId();
        if (id == 0)
            return false;
        platform.FireTimer(id);
        return true;
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(Tick()) << "timer stopped before tick " << i + 1;
    }
    // Ticks until the timer stops; the number of ticks (the stopping one included).
    int RunOut(int limit = 1000)
    {
        int n = 0;
        while (n < limit && Tick())
            ++n;
        return n;
    }

    // The face just inside the top-left border pixel (the caption is lower), and the border.
    TColor Face() const { return form.SurfacePixel(kLeft + 1, kTop + 1); }
    TColor Border() const { return form.SurfacePixel(kLeft, kTop); }
};

} // namespace hx::test
