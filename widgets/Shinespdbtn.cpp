#include "widgets/Shinespdbtn.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "framework/ClassRegistry.h"
#include "framework/Exception.h"
#include "framework/FrameworkClasses.h"
#include "framework/Timer.h"
#include "framework/TypInfo.h"

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

// Stand-in face until the full drawing arrives: the state's face colour. The disabled
// state is settled here because every paint must show a disabled control as disabled.
void TShineSpeedButton::Paint()
{
    if (!Enabled()) {
        FState = ssDisabled;
        FTracking = false;
    }
    if (FTransparent)
        return;
    const TShineBtnColors& set = (FState == ssPressed || FState == ssDown) ? *FPressedColors : *FColors;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(set.Color());
    canvas->FillRect(Rect(0, 0, Width(), Height()));
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

void TShineSpeedButton::GroupUpdateStatus(int value)
{
    FGroupIndex = value;
}

void TShineSpeedButton::ActiveButtonTimerOnTimer(TObject* /*sender*/)
{
    // The poll only matters while an enabled, untracked button counts as hovered.
    if (!FMouseInside || !Enabled() || FTracking)
        FActiveButtonTimer->SetEnabled(false);
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

// The framework's TButtonLayout, named for this table.
const TEnumInfo& LayoutInfo()
{
    static const TEnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
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
        .Enum("Layout", LayoutInfo(), &B::Layout, &B::SetLayout, blGlyphLeft)
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
