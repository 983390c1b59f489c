#include "framework/runtime/Buttons.h"

#include <algorithm>
#include <cstdint>

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Actions.h"
#include "framework/graphics/Gdi.h"
#include "framework/graphics/PixelWord.h"
#include "framework/runtime/WinControl.h"

namespace hx {

// --- Group member ------------------------------------------------------------------------

void TButtonGroupMember::TellGroup(TWinControl& parent, int groupIndex) const
{
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex), AsParam(this), 0};
    parent.Broadcast(m);
}

const TButtonGroupMember* TButtonGroupMember::GroupSender(const TMessage& message, int groupIndex) const
{
    if (message.Msg != CM_BUTTONPRESSED || message.WParam != static_cast<WPARAM>(groupIndex))
        return nullptr;
    const TButtonGroupMember* sender = FromParam(message.LParam);
    return sender == this ? nullptr : sender;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>())
{
    // No csClickEvents: the button decides itself when a release is a click (and latches
    // before it clicks). The second press of a double click arrives as a press.
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
}

TSpeedButton::~TSpeedButton() = default;

// --- Group -----------------------------------------------------------------------------

// A button that leaves every group comes up: outside a group it can never latch, and a down
// button without a group is a state no form description could store (Down is read after
// GroupIndex and refused without a group).
void TSpeedButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    if (value == 0 && FDown) {
        FDown = false;
        if (!FDragging)
            SetState(RestingState());
    }
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
    if (!FDragging)
        SetState(RestingState());
    if (value)
        UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    TellGroup(*Parent(), FGroupIndex);
}

// Another member of the group went down or changed its all-up switch.
void TSpeedButton::CMButtonPressed(TMessage& m)
{
    const TButtonGroupMember* sender = GroupSender(m, FGroupIndex);
    if (!sender)
        return;
    if (sender->Down() && FDown) {
        FDown = false;
        if (!FDragging)
            SetState(RestingState());
    }
    FAllowAllUp = sender->AllowAllUp();
}

// --- Input -----------------------------------------------------------------------------

// A tracked left press (FDragging):
//   press            bsDown
//   move inside      bsDown
//   move outside     the resting state (bsExclusive when latched, else bsUp)
//   release inside   in a group: SetDown(not Down) under its rules; resting state; Click()
//   release outside  resting state, no click
void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    FDragging = true;
    SetState(bsDown);
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FDragging)
        SetState(Inside(x, y) ? bsDown : RestingState());
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging || button != mbLeft)
        return;
    FDragging = false;
    const bool inside = Inside(x, y);
    if (inside && FGroupIndex != 0)
        SetDown(!FDown);
    SetState(RestingState());
    if (inside)
        Click();
}

// A double click on a latched button is worth an event of its own; the press itself has
// already been handled as a second press.
void TSpeedButton::WMLButtonDblClk(TMessage& m)
{
    TGraphicControl::Dispatch(m);
    if (FDown)
        DblClick();
}

void TSpeedButton::CMDialogChar(TMessage& m)
{
    if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
        Parent()->Showing()) {
        Click();
        m.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(m);
}

// Down survives disabling: the group still counts a disabled latched button as its down one.
void TSpeedButton::CMEnabledChanged(TMessage& /*m*/)
{
    FDragging = false;
    FState = RestingState();
    Invalidate();
}

void TSpeedButton::CMMouseEnter(TMessage& m)
{
    TGraphicControl::CMMouseEnter(m);
    FMouseInside = true;
    if (FFlat && Enabled())
        Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& m)
{
    TGraphicControl::CMMouseLeave(m);
    FMouseInside = false;
    if (FFlat && Enabled())
        Invalidate();
}

void TSpeedButton::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_BUTTONPRESSED: CMButtonPressed(m); break;
    case CM_DIALOGCHAR: CMDialogChar(m); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); break;
    case CM_MOUSEENTER: CMMouseEnter(m); break;
    case CM_MOUSELEAVE: CMMouseLeave(m); break;
    case CM_SYSCOLORCHANGE: Invalidate(); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); break;
    default: TGraphicControl::Dispatch(m); break;
    }
}

// --- Appearance ------------------------------------------------------------------------

TButtonState TSpeedButton::RestingState() const
{
    if (!Enabled())
        return bsDisabled;
    return FDown ? bsExclusive : bsUp;
}

void TSpeedButton::SetState(TButtonState value)
{
    if (value == FState)
        return;
    FState = value;
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    if (value == FFlat)
        return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* value)
{
    FGlyph->CopyValuesFrom(value); // raises for null, like any assignment
}

void TSpeedButton::GlyphChanged(TObject* /*sender*/)
{
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value)
{
    if (value == FMargin)
        return;
    FMargin = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value)
{
    if (value == FSpacing)
        return;
    FSpacing = value;
    Invalidate();
}

namespace {

TButtonLayout Mirrored(TButtonLayout layout)
{
    switch (layout) {
    case blGlyphLeft: return blGlyphRight;
    case blGlyphRight: return blGlyphLeft;
    default: return layout;
    }
}

} // namespace

void TSpeedButton::CalcDrawPosition(TCanvas* canvas, TPoint& glyphPos, TRect& textRect) const
{
    const TButtonLayout layout = UseRightToLeftAlignment() ? Mirrored(FLayout) : FLayout;
    CalcButtonLayout(canvas, FGlyph.get(), Caption(), layout, FMargin, FSpacing, ClientWidth(), ClientHeight(),
                     glyphPos, textRect);
}

std::unique_ptr<TControlActionLink> TSpeedButton::CreateActionLink()
{
    return std::make_unique<TButtonActionLink<TSpeedButton>>(this);
}

namespace {

// Half of n for centring: integer division truncating toward zero (-3 gives -1).
constexpr int Half(int n) { return n / 2; }

} // namespace

void CalcButtonLayout(TCanvas* canvas, const TBitmap* glyph, const std::string& caption, TButtonLayout layout,
                      int margin, int spacing, int clientWidth, int clientHeight, TPoint& glyphPos,
                      TRect& textRect)
{
    const int cw = clientWidth;
    const int ch = clientHeight;
    TRect measured = Rect(0, 0, cw, 0);
    DrawText(canvas, caption.c_str(), static_cast<int>(caption.size()), measured, DT_CALCRECT);
    const int tw = measured.Right - measured.Left;
    const int th = measured.Bottom - measured.Top;
    const bool hasText = !caption.empty();
    const bool hasGlyph = glyph && !glyph->Empty();
    const int gw = hasGlyph ? glyph->Width() : 0;
    const int gh = hasGlyph ? glyph->Height() : 0;

    // The content box (sx, sy) grows part by part along the layout's axis.
    int sx = 0, sy = 0, gx = 0, gy = 0, tx = 0, ty = 0;
    auto alongX = [&](int w, int h) { sx += w; sy = std::max(sy, h); };
    auto alongY = [&](int w, int h) { sy += h; sx = std::max(sx, w); };
    const int gap = hasGlyph && hasText ? spacing : 0;
    switch (layout) {
    case blGlyphLeft:
        gx = sx;
        if (hasGlyph) alongX(gw, gh);
        sx += gap;
        tx = sx;
        if (hasText) alongX(tw, th);
        break;
    case blGlyphRight:
        tx = sx;
        if (hasText) alongX(tw, th);
        sx += gap;
        gx = sx;
        if (hasGlyph) alongX(gw, gh);
        break;
    case blGlyphTop:
        gy = sy;
        if (hasGlyph) alongY(gw, gh);
        sy += gap;
        ty = sy;
        if (hasText) alongY(tw, th);
        break;
    case blGlyphBottom:
        ty = sy;
        if (hasText) alongY(tw, th);
        sy += gap;
        gy = sy;
        if (hasGlyph) alongY(gw, gh);
        break;
    }
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        if (hasGlyph) gy = Half(sy - gh);
        if (hasText) ty = Half(sy - th);
    } else {
        if (hasGlyph) gx = Half(sx - gw);
        if (hasText) tx = Half(sx - tw);
    }

    int x0 = Half(cw - sx);
    int y0 = Half(ch - sy);
    if (margin >= 0) {
        switch (layout) {
        case blGlyphLeft: x0 = margin; break;
        case blGlyphRight: x0 = cw - sx - margin; break;
        case blGlyphTop: y0 = margin; break;
        case blGlyphBottom: y0 = ch - sy - margin; break;
        }
    }
    glyphPos = Point(x0 + gx, y0 + gy);
    textRect = measured;
    OffsetRect(textRect, x0 + tx, y0 + ty);
}

// Frame colours, outer ring then inner ring, as (top-left, bottom-right):
//   raised   highlight / dark shadow, then none / shadow
//   sunken   shadow / highlight, then dark shadow / none
//   flat     one ring: raised highlight / shadow while hovered, sunken shadow / highlight
//            while pressed or latched, nothing otherwise
void TSpeedButton::DrawFrame(TCanvas* c) const
{
    const int w = Width();
    const int h = Height();
    auto ring = [&](int inset, TColor topLeft, TColor bottomRight) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        if (topLeft != clNone) {
            c->Pen()->SetColor(topLeft);
            c->MoveTo(l, b);
            c->LineTo(l, t);
            c->LineTo(r, t);
        }
        if (bottomRight != clNone) {
            c->Pen()->SetColor(bottomRight);
            c->MoveTo(r, t);
            c->LineTo(r, b);
            c->LineTo(l - 1, b);
        }
    };
    const bool sunken = FState == bsDown || FState == bsExclusive;
    if (FFlat) {
        if (sunken)
            ring(0, clBtnShadow, clBtnHighlight);
        else if (FMouseInside && FState == bsUp)
            ring(0, clBtnHighlight, clBtnShadow);
        return;
    }
    if (sunken) {
        ring(0, clBtnShadow, clBtnHighlight);
        ring(1, cl3DDkShadow, clNone);
    } else {
        ring(0, clBtnHighlight, cl3DDkShadow);
        ring(1, clNone, clBtnShadow);
    }
}

// The glyph is drawn from a 32-bit copy whose see-through colour is the glyph's own
// transparent colour; a disabled button shows the glyph's shape in the shadow colour.
void TSpeedButton::DrawGlyph(TCanvas* c, TPoint at) const
{
    if (FGlyph->Empty())
        return;
    TBitmap image;
    image.CopyValuesFrom(FGlyph.get());
    image.SetPixelFormat(pf32bit);
    const TColor see = FGlyph->TransparentColor();
    image.SetTransparentColor(see);
    image.SetTransparent(true);
    if (FState == bsDisabled) {
        const std::uint32_t seeWord = ColorToPixel(see);
        const std::uint32_t shadow = ColorToPixel(clBtnShadow);
        for (int y = 0; y < image.Height(); ++y) {
            auto* row = static_cast<std::uint32_t*>(image.ScanLine(y));
            for (int x = 0; x < image.Width(); ++x)
                if ((row[x] & kPixelRgbMask) != seeWord)
                    row[x] = shadow;
        }
    }
    c->Draw(at.X, at.Y, &image);
}

// A disabled caption is engraved: highlight one pixel down-right, shadow on top.
void TSpeedButton::DrawCaption(TCanvas* c, TRect r) const
{
    if (Caption().empty())
        return;
    c->Brush()->SetStyle(bsClear);
    const unsigned flags = DrawTextBiDiModeFlags(DT_CENTER);
    if (FState == bsDisabled) {
        TRect lit = r;
        OffsetRect(lit, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        DrawText(c, Caption().c_str(), -1, lit, flags);
        c->Font()->SetColor(clBtnShadow);
    }
    DrawText(c, Caption().c_str(), -1, r, flags);
}

void TSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(ClientRect());
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetMode(pmCopy);
    DrawFrame(c);

    c->SetFont(Font());
    TPoint glyphPos;
    TRect textRect;
    CalcDrawPosition(c, glyphPos, textRect);
    if (FState == bsDown || FState == bsExclusive) {
        glyphPos = TPoint{glyphPos.X + 1, glyphPos.Y + 1};
        OffsetRect(textRect, 1, 1);
    }
    DrawGlyph(c, glyphPos);
    DrawCaption(c, textRect);
}

} // namespace hx
