#include "framework/Buttons.h"

#include "framework/Gdi.h"
#include "framework/WinControl.h"

namespace hx {

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    // The button raises Click itself, on a release inside after a tracked press.
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 23, 22);
    SetParentFont(true);
}

void TSpeedButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    Invalidate();
    if (value)
        UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(m);
}

void TSpeedButton::Dispatch(void* message)
{
    TMessage& m = *static_cast<TMessage*>(message);
    switch (m.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    default: TGraphicControl::Dispatch(message); break;
    }
}

// Another member of the group went down (or changed its all-up switch): come up, and share
// its AllowAllUp.
void TSpeedButton::CMButtonPressed(TMessage& m)
{
    if (m.WParam != static_cast<WPARAM>(FGroupIndex))
        return;
    auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
    if (!sender || sender == this)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::CMDialogChar(TMessage& m)
{
    if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
        Parent()->Showing()) {
        Click();
        m.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(&m);
}

// Press, move, release (left button):
//   press            tracked, drawn pressed
//   move             drawn pressed only while inside
//   release inside   a group member toggles Down (SetDown's rules), then Click()
//   release outside  nothing but the redraw
void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    FDragging = true;
    FPressed = true;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging)
        return;
    const bool pressed = Inside(x, y);
    if (pressed != FPressed) {
        FPressed = pressed;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging)
        return;
    FDragging = false;
    FPressed = false;
    Invalidate();
    if (!Inside(x, y))
        return;
    if (FGroupIndex != 0)
        SetDown(!FDown);
    Click();
}

// Face, a one-pixel bevel (raised; sunken while pressed or down; none when flat and up),
// and the caption centred, greyed when disabled.
void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    const bool sunken = FPressed || FDown;
    c->Brush()->SetColor(FDown && !FPressed ? cl3DLight : clBtnFace);
    c->FillRect(r);
    if (!FFlat || sunken) {
        const TColor topLeft = sunken ? clBtnShadow : clBtnHighlight;
        const TColor bottomRight = sunken ? clBtnHighlight : cl3DDkShadow;
        c->Pen()->SetColor(topLeft);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right - 1, r.Top);
        c->Pen()->SetColor(bottomRight);
        c->LineTo(r.Right - 1, r.Bottom - 1);
        c->LineTo(r.Left - 1, r.Bottom - 1);
    }
    if (Caption().empty())
        return;
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    TRect text = r;
    if (sunken)
        OffsetRect(text, 1, 1);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    DrawText(c, Caption().c_str(), -1, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

} // namespace hx
