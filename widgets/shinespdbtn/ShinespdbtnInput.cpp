// The shine button's input and state: press, hover, poll timer, keyboard, button group.
#include "widgets/shinespdbtn/Shinespdbtn.h"

#include "framework/core/Platform.h"
#include "framework/graphics/Gdi.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/WinControl.h"
#include "framework/services/Timer.h"

namespace hx {

// Every state change is an event handed to Go, which applies ShineTransition's table.
// Paint sends Disable for a button found disabled.
// A release of a tracked press (final state after UpdateTracking, pointer still there):
//   group 0: Down false, inside clicks (ssActive), outside ssUp
//   group, inside: SetDown(not Down) under the group rules, click; outside: no click

TShiftState CurrentShiftState()
{
    static constexpr struct {
        int Key;
        TShiftState Flag;
    } keys[] = {{VK_LBUTTON, ssLeft}, {VK_RBUTTON, ssRight}, {VK_MBUTTON, ssMiddle},
                {VK_SHIFT, ssShift},  {VK_CONTROL, ssCtrl},  {VK_MENU, ssAlt}};
    TShiftState shift = 0;
    for (const auto& k : keys)
        if (Platform().GetKeyState(k.Key) < 0) // high bit: held down
            shift |= k.Flag;
    return shift;
}

bool TShineSpeedButton::Go(TShineEvent event, TShineState before)
{
    const TShineState next = ShineTransition(FState, event, TShineFacts{FDown, before});
    const bool changed = next != FState;
    FState = next;
    return changed;
}

bool TShineSpeedButton::Inside(int x, int y) const
{
    return x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
}

void TShineSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    Go(TShineEvent::Press);
    if (!FDown) // a latched button already looks sunken
        Invalidate();
    FTracking = true;
}

void TShineSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FTracking) {
        if (Go(Inside(x, y) ? TShineEvent::TrackInside : TShineEvent::TrackOutside))
            Invalidate();
    } else if (!FMouseInside) {
        UpdateTracking(); // the pointer-entered notification may have been missed
    }
}

// Any mouse button's release ends a tracked press, at the point it reports.
void TShineSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FTracking)
        return;
    const bool inside = Inside(x, y);
    if (FGroupIndex == 0) {
        Go(TShineEvent::ReleaseUngrouped);
        FMouseInside = false;
        FDown = false;
        if (inside)
            Repaint();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        Go(TShineEvent::ReleaseOutside);
        Repaint();
    }
    FTracking = false;
    if (inside)
        Click();
    UpdateTracking();
}

// With ClickDownHook the handler sees the button pressed, whatever it does meanwhile.
void TShineSpeedButton::Click()
{
    const TShineState before = FState;
    if (FClickDownHook) {
        Go(TShineEvent::HookBegin);
        Repaint();
    }
    TGraphicControl::Click();
    if (FClickDownHook) {
        Go(TShineEvent::HookEnd, before);
        Repaint();
    }
}

void TShineSpeedButton::MouseEnter(TShiftState shift, int x, int y)
{
    if (OnMouseEnter)
        OnMouseEnter(this, shift, x, y);
    if (FMouseInside || !Enabled() || DragMode() == dmAutomatic || Platform().GetCapture())
        return;
    FMouseInside = true;
    Go(TShineEvent::Enter);
    Repaint();
    FActiveButtonTimer->SetEnabled(true);
}

// While a press is tracked the leave belongs to MouseMove and the release.
void TShineSpeedButton::MouseLeave(TShiftState shift, int x, int y)
{
    if (OnMouseLeave)
        OnMouseLeave(this, shift, x, y);
    if (!FMouseInside || !Enabled() || FTracking)
        return;
    FActiveButtonTimer->SetEnabled(false);
    FMouseInside = false;
    Go(TShineEvent::Leave);
    Repaint();
}

// FMouseInside is set to the opposite of the finding first, so that the enter or leave
// that follows passes its first check and does its work.
void TShineSpeedButton::UpdateTracking()
{
    if (!Enabled())
        return;
    const bool over = FindDragTarget(Platform().GetCursorPos(), true) == this;
    FMouseInside = !over;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

// The framework's pointer-left notification is not relied on alone: overlapping windows
// aside, a pointer outside the client rectangle ends the hover.
void TShineSpeedButton::ActiveButtonTimerOnTimer(TObject* /*sender*/)
{
    if (!FMouseInside || !Enabled() || FTracking) {
        FActiveButtonTimer->SetEnabled(false);
        return;
    }
    const TPoint p = ScreenToClient(Platform().GetCursorPos());
    if (PtInRect(ClientRect(), p))
        return;
    MouseLeave(CurrentShiftState(), p.X, p.Y);
}

void TShineSpeedButton::GroupUpdateStatus(int value)
{
    FGroupIndex = value;
    if (value == 0 || !Parent())
        return;
    TellGroup(*Parent(), FGroupIndex);
}

void TShineSpeedButton::CMButtonPressed(TMessage& message)
{
    const TButtonGroupMember* sender = GroupSender(message, FGroupIndex);
    if (!sender)
        return;
    if (sender->Down() && FDown) {
        FDown = false;
        Go(TShineEvent::GroupRaise);
        Invalidate();
    }
    FAllowAllUp = sender->AllowAllUp(); // shared by the group; not told on
}

void TShineSpeedButton::WMLButtonDblClick(TMessage& message)
{
    TGraphicControl::Dispatch(message); // the second press: MouseDown with ssDouble
    if (FDown)
        DblClick();
}

void TShineSpeedButton::CMDialogChar(TMessage& message)
{
    const bool accel = IsAccel(static_cast<unsigned>(message.WParam), Caption()) && Enabled() && Visible() &&
                       Parent() && Parent()->Showing();
    if (!accel) {
        TGraphicControl::Dispatch(message);
        return;
    }
    if (FAccelCharDown)
        SetDown(!FDown);
    Click();
    message.Result = 1;
}

void TShineSpeedButton::CMEnabledChanged(TMessage& /*message*/)
{
    FDown = false; // the group is not told
    Go(Enabled() ? TShineEvent::Enable : TShineEvent::Disable);
    UpdateTracking();
    Invalidate();
}

void TShineSpeedButton::CMFontChanged(TMessage& /*message*/) { Invalidate(); }
void TShineSpeedButton::CMTextChanged(TMessage& /*message*/) { Invalidate(); }
void TShineSpeedButton::CMSysColorChange(TMessage& /*message*/) { Invalidate(); }

// The pointer position comes from the platform, not from the message.
void TShineSpeedButton::CMMouseEnter(TMessage& /*message*/)
{
    const TPoint p = ScreenToClient(Platform().GetCursorPos());
    MouseEnter(CurrentShiftState(), p.X, p.Y);
}

void TShineSpeedButton::CMMouseLeave(TMessage& /*message*/)
{
    const TPoint p = ScreenToClient(Platform().GetCursorPos());
    MouseLeave(CurrentShiftState(), p.X, p.Y);
}

// Enter and leave are handled here and not passed on: the parent is not told.
void TShineSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDBLCLK: WMLButtonDblClick(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_FONTCHANGED: CMFontChanged(m); break;
    case CM_TEXTCHANGED: CMTextChanged(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_SYSCOLORCHANGE: CMSysColorChange(m); break;
    default: TGraphicControl::Dispatch(m); break;
    }
}

} // namespace hx
