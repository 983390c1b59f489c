// The shine button's drawing: background, state image and caption, frame.
#include "widgets/shinespdbtn/Shinespdbtn.h"

#include <memory>

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Gdi.h"
#include "framework/graphics/PixelWord.h"
#include "widgets/shinespdbtn/ShineGlyph.h"

namespace hx {

namespace {

// The face is composed off-screen so that background, image, caption and frame reach the
// screen in one copy; a transparent button draws straight over its parent instead.
class TPaintTarget {
public:
    TPaintTarget(TCanvas* own, bool direct, int width, int height) : FOwn(own)
    {
        if (direct)
            return;
        FBitmap = std::make_unique<TBitmap>();
        FBitmap->SetHandleType(bmDDB);
        FBitmap->SetSize(width, height);
    }
    TCanvas* Canvas() const { return FBitmap ? FBitmap->Canvas() : FOwn; }
    void Finish()
    {
        if (FBitmap)
            FOwn->Draw(0, 0, FBitmap.get());
    }

private:
    TCanvas* FOwn;
    std::unique_ptr<TBitmap> FBitmap;
};

// 256 steps from start to end along one row (or column): step i is
// c0 + i * (c1 - c0) / 255 per channel, truncated toward zero, so both ends are exact.
std::unique_ptr<TBitmap> GradientStrip(TColor start, TColor end, bool vertical)
{
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(pf32bit);
    strip->SetHandleType(bmDIB);
    strip->SetSize(vertical ? 1 : 256, vertical ? 256 : 1);
    const std::uint32_t a = ColorToPixel(start);
    const std::uint32_t b = ColorToPixel(end);
    auto step = [](unsigned c0, unsigned c1, int i) {
        const int from = static_cast<int>(c0);
        return static_cast<unsigned>(from + i * (static_cast<int>(c1) - from) / 255);
    };
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t word =
            PackPixel(step(PixelRed(a), PixelRed(b), i), step(PixelGreen(a), PixelGreen(b), i), step(PixelBlue(a), PixelBlue(b), i));
        if (vertical)
            GlyphRow(*strip, i)[0] = word;
        else
            GlyphRow(*strip, 0)[i] = word;
    }
    return strip;
}

// A pen line from one point to another; the platform's rule leaves the end point unpainted.
void Line(TCanvas* canvas, int x0, int y0, int x1, int y1)
{
    canvas->MoveTo(x0, y0);
    canvas->LineTo(x1, y1);
}

// The corner pairs of the bevels: two lines from one corner each.
void OuterTopLeft(TCanvas* c, int w, int h) { Line(c, 0, 0, w - 1, 0); Line(c, 0, 0, 0, h - 1); }
void OuterBottomRight(TCanvas* c, int w, int h) { Line(c, w - 1, h - 1, 0, h - 1); Line(c, w - 1, h - 1, w - 1, 0); }
void SecondTopLeft(TCanvas* c, int w, int h) { Line(c, 1, 1, w - 1, 1); Line(c, 1, 1, 1, h - 1); }
void SecondBottomRight(TCanvas* c, int w, int h) { Line(c, w - 2, h - 2, 0, h - 2); Line(c, w - 2, h - 2, w - 2, 0); }
void InsetTopLeft(TCanvas* c, int w, int h) { Line(c, 1, 1, w - 2, 1); Line(c, 1, 1, 1, h - 2); }
void InsetBottomRight(TCanvas* c, int w, int h) { Line(c, w - 2, h - 2, 1, h - 2); Line(c, w - 2, h - 2, w - 2, 1); }

} // namespace

void TShineSpeedButton::Paint()
{
    if (!Enabled()) {
        Go(TShineEvent::Disable);
        FTracking = false;
    }
    TPaintTarget target(Canvas(), FTransparent, Width(), Height());
    BackDraw(target.Canvas());
    ImageDraw(target.Canvas());
    FrameDraw(target.Canvas());
    target.Finish();
}

void TShineSpeedButton::BackDraw(TCanvas* canvas)
{
    if (FTransparent)
        return;
    const TShineBtnColors& set = StateColors();
    const TRect client = Rect(0, 0, Width(), Height());
    if (!set.Gradation()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(set.Color());
        canvas->FillRect(client);
        return;
    }
    const std::unique_ptr<TBitmap> strip = GradientStrip(set.Color(), set.GradColor(), set.GradVertical());
    canvas->StretchDraw(client, strip.get());
}

// The emboss mask marks the glyph's edges in white: drawn once in the light colour one
// pixel down-right, then in the dark colour in place. Text and background colours black
// and white make the one-bit mask read as all-zero and all-one pixels.
void TShineSpeedButton::DrawEmbossMask(TCanvas* canvas, TBitmap* mask, TPoint p)
{
    const struct {
        TColor Color;
        int Offset;
    } passes[] = {{FDisabledHighlight, 1}, {FDisabledShadow, 0}};
    for (const auto& pass : passes) {
        canvas->Brush()->SetColor(pass.Color);
        SetTextColor(canvas, clBlack);
        SetBkColor(canvas, clWhite);
        BitBlt(canvas, p.X + pass.Offset, p.Y + pass.Offset, mask->Width(), mask->Height(), mask, 0, 0,
               ROP_PSDPXAX);
    }
}

void TShineSpeedButton::ImageDraw(TCanvas* canvas)
{
    const bool active = FState == ssPressed || FState == ssActive;
    canvas->SetFont(active ? FActiveFont.get() : FFont.get());
    const std::unique_ptr<TBitmap> image(CreateStateGlyph());
    TPoint p;
    TRect r;
    CalcDrawPosition(canvas, p, r);
    if (image) {
        if (IsPressedLook())
            p = Point(p.X + 1, p.Y + 1);
        if (FState == ssDisabled && FDisabledImage == diDefault) {
            DrawEmbossMask(canvas, image.get(), p);
        } else {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Draw(p.X, p.Y, image.get());
        }
    }
    if (Caption().empty())
        return;
    if (IsPressedLook())
        OffsetRect(r, 1, 1);
    canvas->Brush()->SetStyle(bsClear);
    DrawCaption(canvas, r);
}

// Caption passes. Disabled: light one pixel down-right, then dark in place. Otherwise the
// optional shadow (down-right) and highlight (up-left) passes, then the font's own colour.
void TShineSpeedButton::DrawCaption(TCanvas* canvas, TRect r)
{
    const std::string& text = Caption();
    const int len = static_cast<int>(text.size());
    TFont* font = canvas->Font();
    auto pass = [&](TColor color, int dx, int dy) {
        font->SetColor(color);
        OffsetRect(r, dx, dy);
        DrawText(canvas, text.c_str(), len, r, DT_CENTER | DT_VCENTER);
        OffsetRect(r, -dx, -dy);
    };
    if (FState == ssDisabled) {
        pass(FDisabledHighlight, 1, 1);
        pass(FDisabledShadow, 0, 0);
        return;
    }
    const TColor own = font->Color();
    if (FFontShadow != clNone)
        pass(FFontShadow, 1, 1);
    if (FFontHighlight != clNone)
        pass(FFontHighlight, -1, -1);
    pass(own, 0, 0);
}

// Layout: the framework's button layout, the same for every speed button.
void TShineSpeedButton::CalcDrawPosition(TCanvas* canvas, TPoint& glyphPos, TRect& textRect)
{
    CalcButtonLayout(canvas, FGlyph.get(), Caption(), FLayout, FMargin, FSpacing, ClientWidth(), ClientHeight(),
                     glyphPos, textRect);
}

bool TShineSpeedButton::FrameSwitch() const
{
    switch (FState) {
    case ssPressed:
    case ssActive: return FActiveFrame;
    case ssDown: return FDownFrame;
    case ssUp:
    case ssDisabled: return FUpFrame;
    }
    return false;
}

// The ring of the enclosed frame is an outline only: its interior is never filled,
// whatever brush the earlier passes left behind.
void TShineSpeedButton::FrameDraw(TCanvas* canvas)
{
    TPen* pen = canvas->Pen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
    if (!FrameSwitch())
        return;
    const bool sunken = IsPressedLook();
    const TShineBtnColors& set = StateColors();
    // Raised: light top-left, dark bottom-right; sunken swaps them.
    const TColor topLeft = sunken ? set.Shadow() : set.Highlight();
    const TColor bottomRight = sunken ? set.Highlight() : set.Shadow();
    const int w = Width();
    const int h = Height();
    switch (FFrameType) {
    case ftFlatFrame:
        pen->SetColor(topLeft);
        OuterTopLeft(canvas, w, h);
        pen->SetColor(bottomRight);
        OuterBottomRight(canvas, w, h);
        break;
    case ftNormalFrame:
        if (sunken) {
            pen->SetColor(set.Shadow());
            SecondTopLeft(canvas, w, h);
            pen->SetColor(set.DarkShadow());
            OuterTopLeft(canvas, w, h);
            pen->SetColor(set.Highlight());
            OuterBottomRight(canvas, w, h);
        } else {
            pen->SetColor(set.Shadow());
            SecondBottomRight(canvas, w, h);
            pen->SetColor(set.DarkShadow());
            OuterBottomRight(canvas, w, h);
            pen->SetColor(set.Highlight());
            OuterTopLeft(canvas, w, h);
        }
        break;
    case ftEnclosedFrame:
        pen->SetColor(topLeft);
        InsetTopLeft(canvas, w, h);
        pen->SetColor(bottomRight);
        InsetBottomRight(canvas, w, h);
        pen->SetColor(FColors->DarkShadow());
        canvas->Brush()->SetStyle(bsClear); // the ring is an outline only
        canvas->Rectangle(0, 0, w, h);
        break;
    }
}


// --- State images ---------------------------------------------------------------------------

TBitmap* TShineSpeedButton::CreateStateGlyph()
{
    if (FGlyph->Empty())
        return nullptr;
    auto result = std::make_unique<TBitmap>();
    result->CopyValuesFrom(FGlyph.get());
    result->SetPixelFormat(pf32bit); // the glyph is held so already; the rows below rely on it
    const std::uint32_t key = GlyphRow(*FGlyph, FGlyph->Height() - 1)[0] & kPixelRgbMask;
    bool mask = false;
    switch (FState) {
    case ssPressed:
    case ssActive:
        ApplyActiveImage(FActiveImage, *FGlyph, *result, key, ColorToPixel(FShineColor));
        break;
    case ssDisabled:
        mask = ApplyDisabledImage(FDisabledImage, *FGlyph, *result, key, ColorToPixel(FColors->Color()));
        break;
    case ssDown:
    case ssUp:
        break;
    }
    result->SetHandleType(bmDDB);
    result->SetTransparent(true);
    result->SetTransparentColor(mask ? clBlack : PixelToColor(key));
    return result.release();
}

} // namespace hx
