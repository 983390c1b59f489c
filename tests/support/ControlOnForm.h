#pragma once
// One control on an offscreen form of its own, with a recording platform standing in for the
// desktop: the starting point of the suites that drive and read a single widget. The control
// is created owned by the form, placed on it and given its bounds; At reads the form's surface
// relative to the control's top-left corner.
#include <gtest/gtest.h>

#include "framework/core/Types.h"
#include "framework/runtime/Form.h"
#include "framework/services/RecordingPlatform.h"

namespace hx::test {

template <class TWidget>
class ControlOnFormTest : public ::testing::Test {
protected:
    ControlOnFormTest(TRect formBounds, TColor formColor, TRect controlBounds)
        : FOrigin{controlBounds.Left, controlBounds.Top}
    {
        form.SetBounds(formBounds.Left, formBounds.Top, formBounds.Width(), formBounds.Height());
        form.SetColor(formColor);
        button->SetParent(&form);
        button->SetBounds(controlBounds.Left, controlBounds.Top, controlBounds.Width(), controlBounds.Height());
    }

    // The form's surface at (x, y) of the control.
    TColor At(int x, int y) const { return form.SurfacePixel(FOrigin.X + x, FOrigin.Y + y); }

    TPlatformScope platform;
    TForm form{nullptr};
    TWidget* button = new TWidget(&form);

private:
    TPoint FOrigin;
};

} // namespace hx::test
