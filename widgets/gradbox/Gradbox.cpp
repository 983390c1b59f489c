#include "widgets/gradbox/Gradbox.h"

#include "framework/streaming/ClassRegistry.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/graphics/Gdi.h"
#include "framework/core/Messages.h"

namespace hx {

const TEnumInfo& GradStyleInfo()
{
    static const TEnumInfo info{"TGradStyle", {HX_GRADSTYLE_VALUES(HX_ENUM_NAME)}};
    return info;
}

const TEnumInfo& FontStyle3DInfo()
{
    static const TEnumInfo info{"TFontStyle3D", {HX_FONTSTYLE3D_VALUES(HX_ENUM_NAME)}};
    return info;
}

TGradBox::TGradBox(TComponent* owner) : TGraphicControl(owner)
{
    // Not opaque: with gsNone the parent's background must show through.
    SetControlStyle(ControlStyle() | csReplicatable);
    FTopColor = clGreen;
    FLastColor = clLime;
    FOutLineColor = clBlack;
    FGradStyle = gsTopBottom;
    FBackFont = clYellow;
    FStyle3D = fsRaise3D;
    FFontDepth = 1;
    FCaptionLeft = 10;
    FCaptionTop = 10;
    SetWidth(200);
    SetHeight(100);
}

// --- Setters ---------------------------------------------------------------------------------
// Each stores only a real change; the outline and 3D colours repaint only while something
// draws with them.

void TGradBox::SetCaptionLeft(int value)
{
    if (value == FCaptionLeft)
        return;
    FCaptionLeft = value;
    Invalidate();
}

void TGradBox::SetCaptionTop(int value)
{
    if (value == FCaptionTop)
        return;
    FCaptionTop = value;
    Invalidate();
}

void TGradBox::SetTopColor(TColor value)
{
    if (value == FTopColor)
        return;
    FTopColor = value;
    Invalidate();
}

void TGradBox::SetLastColor(TColor value)
{
    if (value == FLastColor)
        return;
    FLastColor = value;
    Invalidate();
}

void TGradBox::SetOutLineColor(TColor value)
{
    if (value == FOutLineColor)
        return;
    FOutLineColor = value;
    if (FDrawOutLine)
        Invalidate();
}

void TGradBox::SetDrawOutLine(bool value)
{
    if (value == FDrawOutLine)
        return;
    FDrawOutLine = value;
    Invalidate();
}

void TGradBox::SetGradStyle(TGradStyle value)
{
    if (value == FGradStyle)
        return;
    FGradStyle = value;
    Invalidate();
}

void TGradBox::SetFont3D(bool value)
{
    if (value == FFont3D)
        return;
    FFont3D = value;
    Invalidate();
}

void TGradBox::SetFontDepth(std::uint8_t value)
{
    if (value == FFontDepth)
        return;
    FFontDepth = value;
    if (FFont3D)
        Invalidate();
}

void TGradBox::SetStyle3D(TFontStyle3D value)
{
    if (value == FStyle3D)
        return;
    FStyle3D = value;
    Invalidate();
}

void TGradBox::SetBackFont(TColor value)
{
    if (value == FBackFont)
        return;
    FBackFont = value;
    if (FFont3D)
        Invalidate();
}

// --- Messages --------------------------------------------------------------------------------

void TGradBox::Dispatch(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED)
        CMTextChanged(m);
    else
        TGraphicControl::Dispatch(m);
}

void TGradBox::CMTextChanged(TMessage& message)
{
    TGraphicControl::Dispatch(message);
    Invalidate();
}

// --- Colour table ----------------------------------------------------------------------------

void TGradBox::GetRGB(TColor color, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    // Indices above 24 are not looked up: their raw bits (red = index) feed the ramp.
    const auto bits = static_cast<std::uint32_t>(color);
    if (bits >= 0x80000000u && bits <= 0x80000018u)
        color = GetSysColor(static_cast<int>(bits & 0xFFu));
    red = static_cast<std::uint8_t>(GetRValue(color));
    green = static_cast<std::uint8_t>(GetGValue(color));
    blue = static_cast<std::uint8_t>(GetBValue(color));
}

void TGradBox::SetColarray(TGradStyle style)
{
    TColor startColor;
    TColor endColor;
    switch (style) {
    case gsTopBottom:
    case gsLeftRight:
        startColor = FTopColor;
        endColor = FLastColor;
        break;
    case gsBottomTop:
    case gsRightLeft:
        startColor = FLastColor;
        endColor = FTopColor;
        break;
    default:
        return;
    }
    std::uint8_t start[3];
    std::uint8_t end[3];
    GetRGB(startColor, start[0], start[1], start[2]);
    GetRGB(endColor, end[0], end[1], end[2]);

    // Extended precision and repeated subtraction, not i * step: the accumulated error
    // decides which entries truncate one lower (from (0,51,255) to white, entry 5 has
    // green 54), and the backdrop's exact greys depend on it.
    long double step[3];
    long double running[3];
    for (int c = 0; c < 3; ++c) {
        step[c] = (static_cast<long double>(start[c]) - static_cast<long double>(end[c])) / 255.0L;
        running[c] = start[c];
    }
    // The ends keep the colours as given, so a system colour still paints as one.
    FColorTable[0] = startColor;
    for (int i = 1; i <= 254; ++i) {
        for (int c = 0; c < 3; ++c)
            running[c] -= step[c];
        FColorTable[i] = RGB(static_cast<int>(running[0]), static_cast<int>(running[1]), static_cast<int>(running[2]));
    }
    FColorTable[255] = endColor;
}

// --- Painting --------------------------------------------------------------------------------

// Band i is drawn where band i - 1 started, B = trunc(extent / 255 + 1) thick:
//   band 0, 1: [0, B)     band i >= 1: [trunc((i-1) * F), +B)
// Later bands cover earlier ones, so entry 0 is always hidden and the far edge always
// shows entry 255; every row or column is covered whatever the extent.
void TGradBox::FillBands(bool vertical)
{
    TCanvas* canvas = Canvas();
    const int extent = vertical ? Height() : Width();
    const long double f = static_cast<long double>(extent) / 255.0L;
    const int band = static_cast<int>(f + 1.0L);
    TRect r = Rect(0, 0, Width(), Height());
    int start = 0;
    for (int i = 0; i <= 255; ++i) {
        if (vertical) {
            r.Top = start;
            r.Bottom = start + band;
        } else {
            r.Left = start;
            r.Right = start + band;
        }
        canvas->Brush()->SetColor(FColorTable[static_cast<std::size_t>(i)]);
        canvas->FillRect(r);
        start = static_cast<int>(static_cast<long double>(i) * f);
    }
}

void TGradBox::Paint()
{
    SetColarray(FGradStyle);
    switch (FGradStyle) {
    case gsTopBottom:
    case gsBottomTop: FillBands(true); break;
    case gsLeftRight:
    case gsRightLeft: FillBands(false); break;
    default: break; // gsNone: the parent's background shows through
    }

    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(FOutLineColor);
    canvas->Pen()->SetStyle(IsDesigning() ? psDash : psSolid);
    if (IsDesigning() || FDrawOutLine)
        canvas->Rectangle(0, 0, Width(), Height());

    // The caption wraps at the panel's own right edge and is clipped at its bottom,
    // wherever the panel stands in its parent.
    DrawCaptionText(Rect(FCaptionLeft, FCaptionTop, Width(), Height()));

    if (FOnPaint)
        FOnPaint(this);
}

// --- Caption ---------------------------------------------------------------------------------

void TGradBox::DrawCaptionOnce(TRect& r)
{
    // An empty caption draws nothing; skipping the call spares the text layout's
    // allocations, so the backdrop's paints allocate nothing.
    if (Caption().empty())
        return;
    DrawText(Canvas(), Caption().c_str(), -1, r, DT_WORDBREAK | DT_EXPANDTABS);
}

// Copies in BackFont, then the caption in its own colour on top:
//   fsLowShadow    one copy at (+d, +d)      fsLow3D    copies at +1 .. +d
//   fsRaiseShadow  one copy at (-d, -d)      fsRaise3D  copies at -1 .. -d
// A disabled panel ignores all that: white at (+1, +1) under grey.
void TGradBox::DrawCaptionText(const TRect& box)
{
    TCanvas* canvas = Canvas();
    TRect r = box;
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());

    if (!Enabled()) {
        OffsetRect(r, 1, 1);
        canvas->Font()->SetColor(clWhite);
        DrawCaptionOnce(r);
        OffsetRect(r, -1, -1);
        canvas->Font()->SetColor(clGray);
        DrawCaptionOnce(r);
        return;
    }
    if (!FFont3D) {
        DrawCaptionOnce(r);
        return;
    }

    const int d = FFontDepth;
    canvas->Font()->SetColor(FBackFont);
    switch (FStyle3D) {
    case fsLowShadow:
        OffsetRect(r, d, d);
        DrawCaptionOnce(r);
        OffsetRect(r, -d, -d);
        break;
    case fsRaiseShadow:
        OffsetRect(r, -d, -d);
        DrawCaptionOnce(r);
        OffsetRect(r, d, d);
        break;
    case fsLow3D:
        for (int k = 0; k < d; ++k) {
            OffsetRect(r, 1, 1);
            DrawCaptionOnce(r);
        }
        OffsetRect(r, -d, -d);
        break;
    case fsRaise3D:
        for (int k = 0; k < d; ++k) {
            OffsetRect(r, -1, -1);
            DrawCaptionOnce(r);
        }
        OffsetRect(r, d, d);
        break;
    }
    canvas->SetFont(Font());
    DrawCaptionOnce(r);
}

// --- Registration ----------------------------------------------------------------------------

void RegisterGradbox()
{
    RegisterFrameworkClasses();
    const TClassInfo* info =
        TClassInfo::Of<TGradBox>("TGradBox", "TGraphicControl")
            .Inherit("Name", "Left", "Top", "Width", "Height")
            .Int("CaptionLeft", &TGradBox::CaptionLeft, &TGradBox::SetCaptionLeft, 10)
            .Int("CaptionTop", &TGradBox::CaptionTop, &TGradBox::SetCaptionTop, 10)
            .Color("TopColor", &TGradBox::TopColor, &TGradBox::SetTopColor, clGreen)
            .Color("LastColor", &TGradBox::LastColor, &TGradBox::SetLastColor, clLime)
            .Color("OutLineColor", &TGradBox::OutLineColor, &TGradBox::SetOutLineColor, clBlack)
            .Bool("DrawOutLine", &TGradBox::DrawOutLine, &TGradBox::SetDrawOutLine)
            .Enum("GradStyle", GradStyleInfo(), &TGradBox::GradStyle, &TGradBox::SetGradStyle, gsTopBottom)
            .Bool("Font3D", &TGradBox::Font3D, &TGradBox::SetFont3D)
            .Int("FontDepth", &TGradBox::FontDepth, &TGradBox::SetFontDepth, 1)
            .Enum("Style3D", FontStyle3DInfo(), &TGradBox::Style3D, &TGradBox::SetStyle3D, fsRaise3D)
            .Color("BackFont", &TGradBox::BackFont, &TGradBox::SetBackFont, clYellow)
            .Inherit("Align", "Caption", "DragCursor", "DragMode", "Enabled", "Font", "ParentFont",
                     "ParentShowHint", "PopupMenu", "ShowHint", "Visible", "OnClick", "OnDblClick",
                     "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp")
            .Event<TNotifyEvent>("OnPaint", &TGradBox::OnPaint, &TGradBox::SetOnPaint, "TNotifyEvent")
            .Inherit("OnStartDrag");
    RegisterClass<TGradBox>(info);
}

} // namespace hx
