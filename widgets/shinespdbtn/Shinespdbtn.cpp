#include "widgets/shinespdbtn/Shinespdbtn.h"

#include <algorithm>

#include "framework/graphics/Canvas.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/core/Exception.h"
#include "framework/runtime/Form.h"
#include "framework/streaming/FrameworkClasses.h"
#include "framework/graphics/Gdi.h"
#include "framework/core/Platform.h"
#include "framework/services/Timer.h"
#include "framework/core/TypInfo.h"

namespace hx {

namespace {

constexpr std::uint32_t kRgbMask = 0xFFFFFFu;

constexpr std::uint32_t Pack(unsigned r, unsigned g, unsigned b) { return r << 16 | g << 8 | b; }
constexpr unsigned Red(std::uint32_t p) { return (p >> 16) & 0xFFu; }
constexpr unsigned Green(std::uint32_t p) { return (p >> 8) & 0xFFu; }
constexpr unsigned Blue(std::uint32_t p) { return p & 0xFFu; }

// A pixel word back to TColor order (red in the low byte).
constexpr TColor PixelToColor(std::uint32_t p) { return RGB(static_cast<int>(Red(p)), static_cast<int>(Green(p)), static_cast<int>(Blue(p))); }

std::uint32_t* Row(TBitmap& bitmap, int y) { return static_cast<std::uint32_t*>(bitmap.ScanLine(y)); }

// Applies f to each channel of every opaque pixel; key pixels stay as they are.
template <class F>
void ForEachOpaqueChannel(TBitmap& image, std::uint32_t key, F f)
{
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint32_t* row = Row(image, y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            if ((p & kRgbMask) == key)
                continue;
            row[x] = Pack(f(Red(p), 0), f(Green(p), 1), f(Blue(p), 2));
        }
    }
}

// Opaque pixels on the odd diagonals become fill: neighbouring rows are offset by one, so
// the mesh never turns into stripes, whatever the width.
void Mesh(TBitmap& image, std::uint32_t key, std::uint32_t fill)
{
    const int w = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        std::uint32_t* row = Row(image, y);
        for (int x = 1 - (y & 1); x < w; x += 2)
            if ((row[x] & kRgbMask) != key)
                row[x] = fill;
    }
}

// The outline around the glyph's shape, painted on key pixels. Every test reads the glyph,
// never the result, so painted pixels never count as opaque and the outline cannot creep.
void Outline(TBitmap& glyph, TBitmap& result, std::uint32_t key, std::uint32_t shine, bool thick)
{
    const int w = glyph.Width();
    const int h = glyph.Height();
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* above = y > 0 ? Row(glyph, y - 1) : nullptr;
        const std::uint32_t* here = Row(glyph, y);
        const std::uint32_t* below = y + 1 < h ? Row(glyph, y + 1) : nullptr;
        std::uint32_t* outAbove = y > 0 ? Row(result, y - 1) : nullptr;
        std::uint32_t* outHere = Row(result, y);
        std::uint32_t* outBelow = y + 1 < h ? Row(result, y + 1) : nullptr;
        auto isKey = [key](std::uint32_t p) { return (p & kRgbMask) == key; };
        for (int x = 0; x < w; ++x) {
            if (!isKey(here[x]))
                continue;
            const bool edge = (x + 1 < w && !isKey(here[x + 1])) || (x > 0 && !isKey(here[x - 1])) ||
                              (below && !isKey(below[x])) || (above && !isKey(above[x]));
            if (!edge)
                continue;
            outHere[x] = shine;
            if (!thick)
                continue;
            if (x > 0 && isKey(here[x - 1]))
                outHere[x - 1] = shine;
            if (x + 1 < w && isKey(here[x + 1]))
                outHere[x + 1] = shine;
            if (above && isKey(above[x]))
                outAbove[x] = shine;
            if (below && isKey(below[x]))
                outBelow[x] = shine;
        }
    }
}

// White where a 2 x 2 block of the glyph has a colour edge across either diagonal, black
// elsewhere (the last row and column included); then one bit deep.
void EmbossMask(TBitmap& glyph, TBitmap& result)
{
    const int w = glyph.Width();
    const int h = glyph.Height();
    for (int y = 0; y < h; ++y)
        std::fill_n(Row(result, y), w, 0u);
    for (int y = 0; y + 1 < h; ++y) {
        const std::uint32_t* top = Row(glyph, y);
        const std::uint32_t* bottom = Row(glyph, y + 1);
        std::uint32_t* out = Row(result, y);
        for (int x = 0; x + 1 < w; ++x)
            if (((top[x] ^ bottom[x + 1]) & kRgbMask) || ((top[x + 1] ^ bottom[x]) & kRgbMask))
                out[x] = kRgbMask;
    }
    result.SetMonochrome(true);
}

} // namespace

std::uint32_t ColorToPixel(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return Pack(static_cast<unsigned>(GetRValue(rgb)), static_cast<unsigned>(GetGValue(rgb)),
                static_cast<unsigned>(GetBValue(rgb)));
}

// --- TShineBtnColors ---------------------------------------------------------------------------

TShineBtnColors::TShineBtnColors() = default;

TShineBtnColors::~TShineBtnColors()
{
    OnChange.Clear();
}

void TShineBtnColors::Notify()
{
    if (OnChange)
        OnChange(this);
}

template <class V>
void TShineBtnColors::Store(V& field, V value)
{
    if (field == value)
        return;
    field = value;
    Notify();
}

void TShineBtnColors::SetColor(TColor value) { Store(FColor, value); }
void TShineBtnColors::SetHighlight(TColor value) { Store(FHighlight, value); }
void TShineBtnColors::SetShadow(TColor value) { Store(FShadow, value); }
void TShineBtnColors::SetDarkShadow(TColor value) { Store(FDarkShadow, value); }
void TShineBtnColors::SetGradColor(TColor value) { Store(FGradColor, value); }
void TShineBtnColors::SetGradVertical(bool value) { Store(FGradVertical, value); }
void TShineBtnColors::SetGradation(bool value) { Store(FGradation, value); }

void TShineBtnColors::TakeValues(const TShineBtnColors& source)
{
    FColor = source.FColor;
    FHighlight = source.FHighlight;
    FShadow = source.FShadow;
    FDarkShadow = source.FDarkShadow;
    FGradColor = source.FGradColor;
    FGradVertical = source.FGradVertical;
    FGradation = source.FGradation;
}

void TShineBtnColors::CopyValuesTo(TPersistent* dest)
{
    auto* set = dynamic_cast<TShineBtnColors*>(dest);
    if (!set) {
        TPersistent::CopyValuesTo(dest); // the assignment error
        return;
    }
    set->TakeValues(*this);
    set->Notify();
}

void TShineBtnColors::CopyValuesFrom(TPersistent* source)
{
    auto* set = dynamic_cast<TShineBtnColors*>(source);
    if (!set)
        RaiseAssignError(source ? source->ClassName() : nullptr, ClassName());
    TakeValues(*set);
    // The inherited copy asks the source to write itself here, which notifies once; the
    // colour set's contract is a second notification after it.
    TPersistent::CopyValuesFrom(source);
    Notify();
}

// --- TShineSpeedButton: construction -----------------------------------------------------------

TShineSpeedButton::TShineSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    // No click events (the button raises Click itself) and no set-caption (the caption
    // does not follow the name).
    SetControlStyle(csCaptureMouse | csOpaque | csDoubleClicks);

    const TNotifyEvent fontsAndColors(this, &TShineSpeedButton::FontsAndColorsOnChange);
    FColors = std::make_unique<TShineBtnColors>();
    FColors->SetColor(clBtnFace);
    FColors->OnChange = fontsAndColors;
    FPressedColors = std::make_unique<TShineBtnColors>();
    FPressedColors->SetColor(clBtnHighlight);
    FPressedColors->OnChange = fontsAndColors;
    FFont = std::make_unique<TFont>();
    FFont->SetColor(clBtnText);
    FFont->OnChange = fontsAndColors;
    FActiveFont = std::make_unique<TFont>();
    FActiveFont->SetColor(clHighlight);
    FActiveFont->OnChange = fontsAndColors;

    // Bound before the first change, so even the empty glyph is converted to 32 bits.
    FGlyph = std::make_unique<TBitmap>();
    FGlyph->OnChange = TNotifyEvent(this, &TShineSpeedButton::GlyphOnChange);
    FGlyph->SetTransparentColor(clOlive);

    SetBounds(Left(), Top(), 25, 25);
    SetCaption(std::string());

    FActiveButtonTimer = new TTimer(this);
    FActiveButtonTimer->SetInterval(200);
    FActiveButtonTimer->SetEnabled(false);
    FActiveButtonTimer->SetOnTimer(TNotifyEvent(this, &TShineSpeedButton::ActiveButtonTimerOnTimer));
}

TShineSpeedButton::~TShineSpeedButton()
{
    delete FActiveButtonTimer; // leaves this component's list as it goes
    FActiveButtonTimer = nullptr;
    FGlyph.reset();
    FColors.reset();
    FPressedColors.reset();
    FFont.reset();
    FActiveFont.reset();
}

void TShineSpeedButton::Loaded()
{
    TGraphicControl::Loaded();
}

// --- Setters ----------------------------------------------------------------------------------

template <class V>
void TShineSpeedButton::StoreAndInvalidate(V& field, V value)
{
    if (field == value)
        return;
    field = value;
    Invalidate();
}

void TShineSpeedButton::SetGroupIndex(int value)
{
    if (value != FGroupIndex)
        GroupUpdateStatus(value);
}

// Down latches only inside a group; without AllowAllUp the down button is raised only by
// another button of its group going down.
void TShineSpeedButton::SetDown(bool value)
{
    if (value == FDown || FGroupIndex == 0)
        return;
    if (!FAllowAllUp && FDown)
        return;
    FDown = value;
    GroupUpdateStatus(FGroupIndex);
    FState = FDown ? ssDown : ssUp;
    Repaint();
}

void TShineSpeedButton::SetClickDownHook(bool value) { StoreAndInvalidate(FClickDownHook, value); }
void TShineSpeedButton::SetAccelCharDown(bool value) { StoreAndInvalidate(FAccelCharDown, value); }
void TShineSpeedButton::SetFrameType(TFrameType value) { StoreAndInvalidate(FFrameType, value); }

void TShineSpeedButton::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    SetControlStyle(value ? (ControlStyle() & ~csOpaque) : (ControlStyle() | csOpaque));
    Invalidate();
}

void TShineSpeedButton::SetActiveFrame(bool value) { StoreAndInvalidate(FActiveFrame, value); }
void TShineSpeedButton::SetUpFrame(bool value) { StoreAndInvalidate(FUpFrame, value); }
void TShineSpeedButton::SetDownFrame(bool value) { StoreAndInvalidate(FDownFrame, value); }
void TShineSpeedButton::SetActiveImage(TActiveImageType value) { StoreAndInvalidate(FActiveImage, value); }
void TShineSpeedButton::SetDisabledImage(TDisabledImageType value) { StoreAndInvalidate(FDisabledImage, value); }
void TShineSpeedButton::SetDisabledHighlight(TColor value) { StoreAndInvalidate(FDisabledHighlight, value); }
void TShineSpeedButton::SetDisabledShadow(TColor value) { StoreAndInvalidate(FDisabledShadow, value); }

// The owned sets are never replaced: a pointer to Colors stays valid for the button's life.
void TShineSpeedButton::CopyIntoColorSet(TShineBtnColors& own, TShineBtnColors* value)
{
    own.CopyValuesFrom(value);
}

void TShineSpeedButton::SetColors(TShineBtnColors* value) { CopyIntoColorSet(*FColors, value); }
void TShineSpeedButton::SetPressedColors(TShineBtnColors* value) { CopyIntoColorSet(*FPressedColors, value); }
void TShineSpeedButton::SetShineColor(TColor value) { StoreAndInvalidate(FShineColor, value); }

void TShineSpeedButton::CopyIntoFont(TFont& own, TFont* value)
{
    if (!value)
        return;
    own.CopyValuesFrom(value);
    Invalidate();
}

void TShineSpeedButton::SetFont(TFont* value) { CopyIntoFont(*FFont, value); }
void TShineSpeedButton::SetActiveFont(TFont* value) { CopyIntoFont(*FActiveFont, value); }

// The caption passes always ask for a repaint, even for the colour they already have.
void TShineSpeedButton::SetFontHighlight(TColor value)
{
    FFontHighlight = value;
    Invalidate();
}

void TShineSpeedButton::SetFontShadow(TColor value)
{
    FFontShadow = value;
    Invalidate();
}

void TShineSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    GroupUpdateStatus(FGroupIndex);
}

void TShineSpeedButton::SetLayout(TButtonLayout value) { StoreAndInvalidate(FLayout, value); }
void TShineSpeedButton::SetMargin(int value) { StoreAndInvalidate(FMargin, value); }
void TShineSpeedButton::SetSpacing(int value) { StoreAndInvalidate(FSpacing, value); }

// The copy is made with the notification unbound, then converted once; an empty glyph
// needs no conversion. The caller's bitmap is neither kept nor changed.
void TShineSpeedButton::SetGlyph(TBitmap* value)
{
    const TNotifyEvent handler(this, &TShineSpeedButton::GlyphOnChange);
    FGlyph->OnChange.Clear();
    if (value) {
        FGlyph->CopyValuesFrom(value);
        FGlyph->OnChange = handler;
        GlyphOnChange(FGlyph.get());
    } else {
        FGlyph->ReleaseImage();
        FGlyph->SetWidth(0);
        FGlyph->SetHeight(0);
        FGlyph->OnChange = handler;
    }
    Invalidate();
}

// The state images read the glyph as rows of 32-bit words. The conversions notify again;
// the nested call finds nothing left to convert.
void TShineSpeedButton::GlyphOnChange(TObject* /*sender*/)
{
    FGlyph->SetHandleType(bmDIB);
    FGlyph->SetPixelFormat(pf32bit);
    Invalidate();
}

void TShineSpeedButton::FontsAndColorsOnChange(TObject* /*sender*/)
{
    Invalidate();
}

// --- Drawing ----------------------------------------------------------------------------------

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
            Pack(step(Red(a), Red(b), i), step(Green(a), Green(b), i), step(Blue(a), Blue(b), i));
        if (vertical)
            Row(*strip, i)[0] = word;
        else
            Row(*strip, 0)[i] = word;
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
        FState = ssDisabled;
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

// --- Interaction ------------------------------------------------------------------------------
//
// FState moves (hover = MouseEnter/MouseLeave whose checks pass):
//   ssUp       --enter--> ssActive    --leave--> ssUp
//   ssDown     --enter--> ssPressed   --leave--> ssDown
//   any enabled --left press / tracked move inside--> ssPressed
//   tracked move outside --> ssDown if Down, else ssUp
//   SetDown --> ssDown / ssUp;  another group member going down --> ssUp (Down cleared)
//   disabled (enabled change or paint) --> ssDisabled;  enabled again --> ssUp, then hover
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

bool TShineSpeedButton::Inside(int x, int y) const
{
    return x >= 0 && x < ClientWidth() && y >= 0 && y < ClientHeight();
}

void TShineSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    FState = ssPressed;
    if (!FDown) // a latched button already looks sunken
        Invalidate();
    FTracking = true;
}

void TShineSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (FTracking) {
        const TShineState now = Inside(x, y) ? ssPressed : (FDown ? ssDown : ssUp);
        if (now != FState) {
            FState = now;
            Invalidate();
        }
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
        FState = ssUp;
        FMouseInside = false;
        FDown = false;
        if (inside)
            Repaint();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        FState = FDown ? ssPressed : ssActive;
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
        FState = ssPressed;
        Repaint();
    }
    TGraphicControl::Click();
    if (FClickDownHook) {
        FState = before;
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
    if (FState == ssUp)
        FState = ssActive;
    else if (FState == ssDown)
        FState = ssPressed;
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
    if (FState == ssActive)
        FState = ssUp;
    else if (FState == ssPressed)
        FState = ssDown;
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
    TellGroup();
}

// For the length of one broadcast a framework speed button, owned by the parent and
// invisible so that it paints nothing, speaks for this button: shine buttons and framework
// speed buttons of one parent read every sender as a TSpeedButton. Setting its values may
// make it broadcast by itself; this button ignores its own proxy.
void TShineSpeedButton::TellGroup()
{
    TWinControl* parent = Parent();
    struct TProxyRelease {
        TShineSpeedButton* Button;
        TWinControl* Parent;
        ~TProxyRelease()
        {
            Parent->RemoveControl(Button->FGroupProxy);
            delete Button->FGroupProxy;
            Button->FGroupProxy = nullptr;
        }
    };
    FGroupProxy = new TSpeedButton(parent);
    const TProxyRelease release{this, parent};
    FGroupProxy->SetVisible(false);
    parent->InsertControl(FGroupProxy);
    FGroupProxy->SetGroupIndex(FGroupIndex);
    FGroupProxy->SetAllowAllUp(FAllowAllUp);
    FGroupProxy->SetDown(FDown);
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(FGroupProxy), 0};
    parent->Broadcast(m);
}

void TShineSpeedButton::CMButtonPressed(TMessage& message)
{
    if (message.WParam != static_cast<WPARAM>(FGroupIndex))
        return;
    auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
    if (!sender || sender == FGroupProxy)
        return;
    if (sender->Down() && FDown) {
        FDown = false;
        FState = ssUp;
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
    FState = Enabled() ? ssUp : ssDisabled;
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

// --- State images -------------------------------------------------------------------------------

void TShineSpeedButton::ApplyActiveImage(TBitmap& result, std::uint32_t key)
{
    const std::uint32_t shine = ColorToPixel(FShineColor);
    const unsigned s[3] = {Red(shine), Green(shine), Blue(shine)};
    switch (FActiveImage) {
    case aiNormal:
        break;
    case aiXorLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return c ^ s[i]; });
        break;
    case aiHalfLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return (c + s[i]) / 2; });
        break;
    case aiQuaterLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return (c + 3 * s[i]) / 4; });
        break;
    case aiAddLight:
        ForEachOpaqueChannel(result, key, [&s](unsigned c, int i) { return std::min(c + s[i], 255u); });
        break;
    case aiFrameLight:
    case aiFrameLight2:
        Outline(*FGlyph, result, key, shine, FActiveImage == aiFrameLight2);
        break;
    case aiMaskLight:
        Mesh(result, key, shine);
        break;
    }
}

bool TShineSpeedButton::ApplyDisabledImage(TBitmap& result, std::uint32_t key)
{
    const std::uint32_t face = ColorToPixel(FColors->Color());
    const unsigned f[3] = {Red(face), Green(face), Blue(face)};
    switch (FDisabledImage) {
    case diDefault:
        EmbossMask(*FGlyph, result);
        return true;
    case diGrayscale: {
        const int w = result.Width();
        for (int y = 0; y < result.Height(); ++y) {
            std::uint32_t* row = Row(result, y);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = row[x];
                if ((p & kRgbMask) == key)
                    continue;
                const unsigned grey = (Red(p) + Green(p) + Blue(p)) / 3;
                row[x] = Pack(grey, grey, grey);
            }
        }
        break;
    }
    case diAlphaHalfTrans:
        ForEachOpaqueChannel(result, key, [&f](unsigned c, int i) { return (c + f[i]) / 2; });
        break;
    case diAlphaQuaterTrans:
        ForEachOpaqueChannel(result, key, [&f](unsigned c, int i) { return (c + 3 * f[i]) / 4; });
        break;
    case diMaskTrans:
        Mesh(result, key, key);
        break;
    }
    return false;
}

TBitmap* TShineSpeedButton::CreateStateGlyph()
{
    if (FGlyph->Empty())
        return nullptr;
    auto result = std::make_unique<TBitmap>();
    result->CopyValuesFrom(FGlyph.get());
    result->SetPixelFormat(pf32bit); // the glyph is held so already; the rows below rely on it
    const std::uint32_t key = Row(*FGlyph, FGlyph->Height() - 1)[0] & kRgbMask;
    bool mask = false;
    switch (FState) {
    case ssPressed:
    case ssActive:
        ApplyActiveImage(*result, key);
        break;
    case ssDisabled:
        mask = ApplyDisabledImage(*result, key);
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

// --- Published properties and registration -------------------------------------------------------

namespace {

const TEnumInfo& FrameTypeInfo()
{
    static const TEnumInfo info{"TFrameType", {"ftFlatFrame", "ftNormalFrame", "ftEnclosedFrame"}};
    return info;
}

const TEnumInfo& ActiveImageTypeInfo()
{
    static const TEnumInfo info{"TActiveImageType",
                                {"aiNormal", "aiXorLight", "aiHalfLight", "aiQuaterLight", "aiAddLight",
                                 "aiFrameLight", "aiFrameLight2", "aiMaskLight"}};
    return info;
}

const TEnumInfo& DisabledImageTypeInfo()
{
    static const TEnumInfo info{"TDisabledImageType",
                                {"diDefault", "diGrayscale", "diAlphaHalfTrans", "diAlphaQuaterTrans", "diMaskTrans"}};
    return info;
}

void DeclareColorSet()
{
    using C = TShineBtnColors;
    TClassInfo::Of<C>("TShineBtnColors")
        .Color("Highlight", &C::Highlight, &C::SetHighlight, clBtnHighlight)
        .Color("Shadow", &C::Shadow, &C::SetShadow, clBtnShadow)
        .Color("DarkShadow", &C::DarkShadow, &C::SetDarkShadow, clWindowFrame)
        .Color("GradColor", &C::GradColor, &C::SetGradColor, clBlue)
        .Bool("GradVertical", &C::GradVertical, &C::SetGradVertical, false)
        .Bool("Gradation", &C::Gradation, &C::SetGradation, false)
        .Color("Color", &C::Color, &C::SetColor); // no default: always written
}

// Inherited properties first (the framework's rule for published lists), then the
// button's own in their order: GroupIndex before Down, so that a description can latch a
// button down. The control base has no Action, BiDiMode, Constraints or ParentBiDiMode.
void DeclareButton()
{
    using B = TShineSpeedButton;
    TClassInfo::Of<B>("TShineSpeedButton", "TGraphicControl")
        .Inherit("Align", "Anchors", "Caption", "Cursor", "Enabled", "Height", "Hint", "Left", "Name",
                 "ParentShowHint", "ShowHint", "Tag", "Top", "Visible", "Width", "OnClick", "OnDblClick",
                 "OnMouseDown", "OnMouseMove", "OnMouseUp")
        .Int("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .Bool("Down", &B::Down, &B::SetDown, false)
        .Bool("ClickDownHook", &B::ClickDownHook, &B::SetClickDownHook, false)
        .Bool("AccelCharDown", &B::AccelCharDown, &B::SetAccelCharDown, false)
        .Enum("FrameType", FrameTypeInfo(), &B::FrameType, &B::SetFrameType, ftNormalFrame)
        .Bool("Transparent", &B::Transparent, &B::SetTransparent, false)
        .Bool("ActiveFrame", &B::ActiveFrame, &B::SetActiveFrame, true)
        .Bool("UpFrame", &B::UpFrame, &B::SetUpFrame, true)
        .Bool("DownFrame", &B::DownFrame, &B::SetDownFrame, true)
        .Enum("ActiveImage", ActiveImageTypeInfo(), &B::ActiveImage, &B::SetActiveImage, aiFrameLight)
        .Enum("DisabledImage", DisabledImageTypeInfo(), &B::DisabledImage, &B::SetDisabledImage, diDefault)
        .Color("DisabledHighlight", &B::DisabledHighlight, &B::SetDisabledHighlight, clBtnHighlight)
        .Color("DisabledShadow", &B::DisabledShadow, &B::SetDisabledShadow, clBtnShadow)
        .Object("Colors", &B::Colors, "TShineBtnColors")
        .Object("PressedColors", &B::PressedColors, "TShineBtnColors")
        .Color("ShineColor", &B::ShineColor, &B::SetShineColor, clYellow)
        .Object("Font", &B::Font, "TFont")
        .Color("FontHighlight", &B::FontHighlight, &B::SetFontHighlight, clNone)
        .Color("FontShadow", &B::FontShadow, &B::SetFontShadow, clNone)
        .Object("ActiveFont", &B::ActiveFont, "TFont")
        .Bool("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Enum("Layout", ButtonLayoutInfo(), &B::Layout, &B::SetLayout, blGlyphLeft)
        .Int("Margin", &B::Margin, &B::SetMargin, -1)
        .Int("Spacing", &B::Spacing, &B::SetSpacing, 4)
        .Object("Glyph", &B::Glyph, "TBitmap")
        .Event<TMouseMoveEvent>("OnMouseEnter", &B::OnMouseEnter, FieldSetter<&B::OnMouseEnter>{}, "TMouseMoveEvent")
        .Event<TMouseMoveEvent>("OnMouseLeave", &B::OnMouseLeave, FieldSetter<&B::OnMouseLeave>{}, "TMouseMoveEvent");
}

} // namespace

void RegisterShinespdbtn()
{
    static bool registered = false;
    if (registered)
        return;
    RegisterFrameworkClasses();
    DeclareColorSet();
    DeclareButton();
    RegisterClass<TShineSpeedButton>(TClassInfo::Find("TShineSpeedButton"));
    registered = true;
}

namespace Shinespdbtn {

void Register()
{
    RegisterShinespdbtn();
    RegisterComponents("Hexatint", {"TShineSpeedButton"});
}

} // namespace Shinespdbtn

} // namespace hx
