// TControl's messages: delivery and dispatch, mouse messages turned into clicks and mouse
// events, parent notifications, and the event methods.
#include "framework/runtime/Control.h"

#include "framework/runtime/Actions.h"
#include "framework/runtime/WinControl.h"

namespace hx {

// --- Messages ----------------------------------------------------------------------------

LRESULT TControl::Perform(unsigned msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WindowProc(TMessage& message)
{
    // A control that does not want double clicks sees the second press as a plain press.
    if (!(FControlStyle & csDoubleClicks)) {
        switch (message.Msg) {
        case WM_LBUTTONDBLCLK:
            message.Msg = WM_LBUTTONDOWN;
            break;
        case WM_RBUTTONDBLCLK:
            message.Msg = WM_RBUTTONDOWN;
            break;
        case WM_MBUTTONDBLCLK:
            message.Msg = WM_MBUTTONDOWN;
            break;
        default:
            break;
        }
    }
    Dispatch(message);
}

void TControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case WM_LBUTTONDOWN: WMLButtonDown(m); break;
    case WM_LBUTTONUP: WMLButtonUp(m); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: WMRButtonDown(m); break;
    case WM_RBUTTONUP: WMRButtonUp(m); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: WMMButtonDown(m); break;
    case WM_MBUTTONUP: WMMButtonUp(m); break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED: Invalidate(); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(m); break;
    case CM_BIDIMODECHANGED: Invalidate(); break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseDown(button, KeysToShiftState(m.WParam) | extra, PointParamX(m.LParam), PointParamY(m.LParam));
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseUp(button, KeysToShiftState(m.WParam), PointParamX(m.LParam), PointParamY(m.LParam));
}

void TControl::WMMouseMove(TMessage& m)
{
    if (!(FControlStyle & csNoStdEvents))
        MouseMove(KeysToShiftState(m.WParam), PointParamX(m.LParam), PointParamY(m.LParam));
}

// Left button, per message:
//   press       capture (csCaptureMouse), mark csClicked (csClickEvents), MouseDown
//   release     free capture; if marked: unmark, Click() when inside; then MouseUp
//   double      capture, DblClick() (csClickEvents), MouseDown with ssDouble, no mark
void TControl::WMLButtonDown(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(true);
    if (FControlStyle & csClickEvents)
        FControlState |= csClicked;
    DoMouseDown(m, mbLeft, 0);
}

void TControl::WMLButtonUp(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(false);
    if (FControlState & csClicked) {
        FControlState &= ~csClicked;
        if (PtInRect(ClientRect(), Point(PointParamX(m.LParam), PointParamY(m.LParam))))
            Click();
    }
    DoMouseUp(m, mbLeft);
}

void TControl::WMLButtonDblClk(TMessage& m)
{
    if (FControlStyle & csCaptureMouse)
        SetMouseCapture(true);
    if (FControlStyle & csClickEvents)
        DblClick();
    DoMouseDown(m, mbLeft, ssDouble);
}

void TControl::WMRButtonDown(TMessage& m)
{
    DoMouseDown(m, mbRight, m.Msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{0});
}

void TControl::WMRButtonUp(TMessage& m)
{
    DoMouseUp(m, mbRight);
}

void TControl::WMMButtonDown(TMessage& m)
{
    DoMouseDown(m, mbMiddle, m.Msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{0});
}

void TControl::WMMButtonUp(TMessage& m)
{
    DoMouseUp(m, mbMiddle);
}

void TControl::CMMouseEnter(TMessage& m)
{
    if (FParent)
        FParent->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& m)
{
    if (FParent)
        FParent->Perform(m.Msg, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!FParentFont || !FParent)
        return;
    FTakingParentFont = true;
    try {
        FFont->CopyValuesFrom(FParent->Font());
    } catch (...) {
        FTakingParentFont = false;
        throw;
    }
    FTakingParentFont = false;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!FParentColor || !FParent)
        return;
    SetColor(FParent->Color());
    FParentColor = true;
}

TAccessibleInfo TControl::AccessibleInfo() const
{
    return TAccessibleInfo{arPane, Caption(), Hint(), false};
}

// A handler of its own wins over the action.
void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

} // namespace hx
