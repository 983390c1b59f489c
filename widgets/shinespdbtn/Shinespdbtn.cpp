#include "widgets/shinespdbtn/Shinespdbtn.h"

#include "framework/runtime/Actions.h"
#include "framework/services/Timer.h"

namespace hx {

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
    Go(TShineEvent::Latch);
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

std::unique_ptr<TControlActionLink> TShineSpeedButton::CreateActionLink()
{
    return std::make_unique<TButtonActionLink<TShineSpeedButton>>(this);
}

} // namespace hx
