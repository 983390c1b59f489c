#pragma once
// TSpeedButton: the framework's flat push and toggle button. Buttons with the same parent and
// GroupIndex form a group: the one going down tells the others through the parent's
// CM_BUTTONPRESSED broadcast (WParam = group index, LParam = the sender, a TSpeedButton*),
// and any of them that is down comes up. Other controls (the shine button) take part in the
// same protocol by reading the sender as a TSpeedButton.
#include "framework/Control.h"

namespace hx {

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    const char* ClassName() const override { return "TSpeedButton"; }

    // 0: a plain push button that never stays down.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // Whether the down button of the group may be raised by clicking it again.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    // Down: latched. Setting it down tells the group; a down button of a group without
    // AllowAllUp cannot be raised directly.
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);

    void Paint() override;
    void Dispatch(void* message) override;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void UpdateExclusive();
    void CMButtonPressed(TMessage& message);
    void CMDialogChar(TMessage& message);
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FFlat = false;
    bool FDragging = false; // a left press is being tracked
    bool FPressed = false;  // drawn pressed while tracked and inside
};

} // namespace hx
