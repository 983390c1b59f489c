#pragma once
// Panels on an offscreen form with a recording platform: tests read the form's surface.
#include <gtest/gtest.h>

#include "framework/runtime/Form.h"
#include "framework/services/RecordingPlatform.h"
#include "widgets/gradbox/Gradbox.h"

namespace hx::test {

class GradboxTest : public ::testing::Test {
protected:
    GradboxTest()
    {
        form.SetBounds(0, 0, 448, 228);
        form.SetColor(clWhite);
        form.Update();
    }

    // A panel on the form; the form paints it at the next Update.
    TGradBox* AddPanel(int left, int top, int width, int height, TGradStyle style, TColor topColor,
                       TColor lastColor)
    {
        auto* panel = new TGradBox(&form);
        panel->SetBounds(left, top, width, height);
        panel->SetGradStyle(style);
        panel->SetTopColor(topColor);
        panel->SetLastColor(lastColor);
        panel->SetParent(&form);
        return panel;
    }

    static TColor Grey(int level) { return RGB(level, level, level); }

    TPlatformScope platform;
    TForm form{nullptr};
};

} // namespace hx::test
