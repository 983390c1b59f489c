#include "widgets/glowfadebutton/Glowfadebutton.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/core/TypInfo.h"

namespace hx {

namespace {

// A channel plus a step, kept inside int so that an extreme Step cannot overflow.
int AddSaturated(int value, long long delta)
{
    return static_cast<int>(std::clamp<long long>(value + delta, INT_MIN, INT_MAX));
}

// Whether every channel of rgb lies at end or past it, "past" meaning away from the other
// end of the pair. Clamped values can only sit on the end, so this is "has arrived".
bool AtOrPast(TColor rgb, TColor end, TColor other)
{
    for (int i = 0; i < 3; ++i) {
        const int v = GetChannel(rgb, i), e = GetChannel(end, i);
        if (e >= GetChannel(other, i) ? v < e : v > e)
            return false;
    }
    return true;
}

} // namespace

// Construction order matters: SetColor paints while the size is still 0 x 0, which draws
// nothing, and the timer is created disabled so that handing it Animate starts nothing.
TGlowFadeButton::TGlowFadeButton(TComponent* owner) : TGraphicControl(owner)
{
    FBorderColor = 0xC0C0C0;
    FBorderDestColor = 0xFFFFFF;
    SetColor(0x008000);
    FDestColor = 0x00FF00;
    FFadeOnOver = true;
    FShowBorder = true;
    FCaptionOverColor = 0x00FF00;
    FFadeOnLeave = true;
    Font()->SetColor(0xFFFFFF);
    FCurrentColor = FColor;
    FCurrentBorderColor = FBorderColor;
    SetWidth(150);
    SetHeight(30);
    FBorderHeight = 1;
    FFadeTimer = new TTimer(this);
    FFadeTimer->SetEnabled(false);
    FFadeTimer->SetOnTimer(TNotifyEvent(this, &TGlowFadeButton::Animate));
    FStep = 2;
    SetSpeed(10);
}

// The timer goes first, so no tick can reach a half-destroyed button.
TGlowFadeButton::~TGlowFadeButton()
{
    delete FFadeTimer;
    FFadeTimer = nullptr;
}

TAccessibleInfo TGlowFadeButton::AccessibleInfo() const
{
    return TAccessibleInfo{arPushButton, FCaption, Hint(), true};
}

void TGlowFadeButton::Dispatch(TMessage& m)
{
    if (m.Msg == CM_MOUSELEAVE)
        return MouseLeave(m);
    TGraphicControl::Dispatch(m);
}

// --- Setters -------------------------------------------------------------------------------

// Always repaints, even with the current value; a running fade goes on from the new colour.
void TGlowFadeButton::SetColor(TColor value)
{
    FColor = value;
    FCurrentColor = value;
    Paint();
}

void TGlowFadeButton::SetCaption(const TCaption& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Paint();
}

void TGlowFadeButton::SetBorderColor(TColor value)
{
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    FCurrentBorderColor = value;
    Paint();
}

void TGlowFadeButton::SetShowBorder(bool value)
{
    if (value == FShowBorder)
        return;
    FShowBorder = value;
    Paint();
}

void TGlowFadeButton::SetBorderHeight(int value)
{
    FBorderHeight = value;
    Paint();
}

void TGlowFadeButton::SetSpeed(int value)
{
    FSpeed = value;
    FFadeTimer->SetInterval(value);
}

// --- Pointer -------------------------------------------------------------------------------

// Fade states (timer, FadeDelta, face):
//   Idle        off  any    Color      move: FadeOnOver ? Fading in : Over (set at once)
//   Fading in   on   +Step  between    face reaches DestColor: Over; leave: Fading out / Idle
//   Over        off  +Step  DestColor  move: one more tick (ends at once); leave: Fading out / Idle
//   Fading out  on   -Step  between    face reaches Color: Idle; moves do not reverse it
// The caption colour is separate: the hover colour from the first move, the saved one at
// the leave.
void TGlowFadeButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    // Later moves find the hover colour in place, so the saved colour is never overwritten.
    if (Font()->Color() != FCaptionOverColor) {
        FNormalCaptionColor = Font()->Color();
        FCaptionColorSaved = true;
        Font()->SetColor(FCaptionOverColor);
    }
    if (!FFadeTimer->Enabled() && FFadeOnOver) {
        FHovered = true;
        FFadeDelta = FStep;
        FFadeTimer->SetEnabled(true);
    }
    if (!FFadeOnOver) {
        FHovered = FHovered || !FFadeTimer->Enabled(); // a fade-out keeps running
        FCurrentBorderColor = FBorderDestColor;
        FCurrentColor = FDestColor;
        Paint();
    }
}

void TGlowFadeButton::MouseLeave(TMessage&)
{
    FHovered = false;
    if (FFadeOnLeave) {
        // A running fade-in simply reverses; the next tick paints.
        FFadeDelta = FStep == INT_MIN ? INT_MAX : -FStep;
        FFadeTimer->SetEnabled(true);
        RestoreCaptionColor();
    } else {
        FFadeTimer->SetEnabled(false);
        FCurrentBorderColor = FBorderColor;
        FCurrentColor = FColor;
        RestoreCaptionColor();
        Paint();
    }
    if (onMouseLeave)
        onMouseLeave(this);
}

// A running timer fades towards the end of the last pointer event (in after a move that
// started it, out after a leave); a stopped one rests there.
TFadePhase TGlowFadeButton::FadePhase() const
{
    if (FFadeTimer->Enabled())
        return FHovered ? TFadePhase::FadingIn : TFadePhase::FadingOut;
    return FHovered ? TFadePhase::Over : TFadePhase::Idle;
}

// Without a saved colour (no move has come over the button yet) the font keeps its colour
// rather than turning black.
void TGlowFadeButton::RestoreCaptionColor()
{
    if (FCaptionColorSaved)
        Font()->SetColor(FNormalCaptionColor);
}

// --- Fade ----------------------------------------------------------------------------------

// The border never stops the timer: it moves only while the face does and stays at its own
// end once there. The stopping tick still moves the border and paints.
void TGlowFadeButton::Animate(TObject*)
{
    const TColor before = FCurrentColor;
    FCurrentColor = StepPair(FCurrentColor, FColor, FDestColor, false);
    FCurrentBorderColor = StepPair(FCurrentBorderColor, FBorderColor, FBorderDestColor, true);
    // A tick that cannot move the face (Step set to 0 in the middle of a fade) would tick
    // for ever; at either end the stop test above has already stopped the timer.
    if (FCurrentColor == before)
        FFadeTimer->SetEnabled(false);
    Paint();
}

// A positive FadeDelta moves each channel towards toColor's, whichever side that lies on,
// so pairs with a darker target (or system colours, resolved first) still arrive and stop.
TColor TGlowFadeButton::StepPair(TColor current, TColor fromColor, TColor toColor, bool noStop)
{
    const TColor rgb = ColorToRGB(current);
    const TColor from = ColorToRGB(fromColor);
    const TColor to = ColorToRGB(toColor);
    int sums[3];
    for (int i = 0; i < 3; ++i) {
        const long long delta = GetChannel(to, i) >= GetChannel(from, i) ? FFadeDelta : -static_cast<long long>(FFadeDelta);
        sums[i] = AddSaturated(GetChannel(rgb, i), delta);
    }
    return ERGB(sums[0], sums[1], sums[2], true, noStop, fromColor, toColor);
}

TColor TGlowFadeButton::ERGB(int red, int green, int blue, bool rangeClamp, bool noStop, TColor fromColor,
                             TColor toColor)
{
    const TColor from = ColorToRGB(fromColor);
    const TColor to = ColorToRGB(toColor);
    int channels[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i) {
        int& v = channels[i];
        if (!rangeClamp) {
            v = std::clamp(v, 0, 255);
        } else {
            const int a = GetChannel(from, i), b = GetChannel(to, i);
            v = std::clamp(v, std::min(a, b), std::max(a, b));
        }
    }
    const TColor result = RGB(channels[0], channels[1], channels[2]);
    if (!noStop && (AtOrPast(result, from, to) || AtOrPast(result, to, from)))
        FFadeTimer->SetEnabled(false);
    return result;
}

// --- Drawing -------------------------------------------------------------------------------

// Everything is drawn into a fresh bitmap and copied in one operation, so the face, border
// and caption never flicker during a fade. Without a pen the rectangle covers one pixel less
// each way, leaving the bitmap's initial white in the last row and column.
void TGlowFadeButton::Paint()
{
    TCanvas* target = Canvas();
    if (!target)
        return;
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FCurrentColor);
    canvas->Pen()->SetStyle(FShowBorder ? psSolid : psClear);
    canvas->Pen()->SetColor(FCurrentBorderColor);
    canvas->Pen()->SetWidth(FBorderHeight);
    canvas->Rectangle(0, 0, Width(), Height());
    canvas->SetFont(Font());
    // Each half is truncated on its own, which may differ by a pixel from halving the gap.
    const int x = Width() / 2 - canvas->TextWidth(FCaption) / 2;
    const int y = Height() / 2 - canvas->TextHeight(FCaption) / 2;
    canvas->TextOut(x, y, FCaption);
    target->Draw(0, 0, &bitmap);
}

// --- Type information ----------------------------------------------------------------------

void RegisterGlowfadebutton()
{
    RegisterFrameworkClasses();
    using B = TGlowFadeButton;
    // No property declares a default: a saved form lists every one.
    const TClassInfo* info =
        TClassInfo::Of<B>("TGlowFadeButton", "TGraphicControl")
            .Inherit("Name", "Left", "Top", "Width", "Height", "Cursor")
            .Enum("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign)
            .Set("Anchors", "TAnchors", AnchorKindInfo(), &TControl::Anchors, &TControl::SetAnchors)
            .Object("Font", &TControl::Font, "TFont")
            .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .String("Hint", &TControl::Hint, &TControl::SetHint)
            .Color("Color", &B::Color, &B::SetColor)
            .Bool("FadeOnLeave", &B::FadeOnLeave, &B::SetFadeOnLeave)
            .String("Caption", &B::Caption, &B::SetCaption)
            .Int("Step", &B::Step, &B::SetStep)
            .Color("BorderColor", &B::BorderColor, &B::SetBorderColor)
            .Color("BorderDestColor", &B::BorderDestColor, &B::SetBorderDestColor)
            .Color("DestColor", &B::DestColor, &B::SetDestColor)
            .Bool("ShowBorder", &B::ShowBorder, &B::SetShowBorder)
            .Color("CaptionOverColor", &B::CaptionOverColor, &B::SetCaptionOverColor)
            .Bool("FadeOnOver", &B::FadeOnOver, &B::SetFadeOnOver)
            .Int("BorderHeight", &B::BorderHeight, &B::SetBorderHeight)
            .Int("Speed", &B::Speed, &B::SetSpeed)
            .Event<TNotifyEvent>("onMouseLeave", &B::onMouseLeave, FieldSetter<&B::onMouseLeave>{}, "TNotifyEvent")
            .Event<TMouseEvent>("onMouseDown", &TControl::OnMouseDown, FieldSetter<&TControl::OnMouseDown>{},
                                "TMouseEvent")
            .Event<TMouseEvent>("onMouseUp", &TControl::OnMouseUp, FieldSetter<&TControl::OnMouseUp>{}, "TMouseEvent")
            .Event<TMouseMoveEvent>("onMouseMove", &TControl::OnMouseMove, FieldSetter<&TControl::OnMouseMove>{},
                                    "TMouseMoveEvent")
            .Event<TNotifyEvent>("OnClick", &TControl::OnClick, FieldSetter<&TControl::OnClick>{}, "TNotifyEvent");
    RegisterClass<B>(info);
}

} // namespace hx
