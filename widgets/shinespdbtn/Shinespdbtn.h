#pragma once
// Shinespdbtn: a windowless speed button that paints its whole face from two colour sets,
// two fonts and one glyph. It latches down within a button group, lights up while the
// pointer is over it and derives its hover, pressed and disabled images from the single
// glyph, pixel by pixel, on every paint.
//
// The unit is split along its seams: the colour set (ShineBtnColors), the state images as
// pixel passes (ShineGlyph), the drawing state and its transitions (ShineState); the button
// itself is declared here, built and given its properties in Shinespdbtn.cpp, drawn in
// ShinespdbtnPaint.cpp, driven in ShinespdbtnInput.cpp and registered in
// ShinespdbtnRegister.cpp.
#include <cstdint>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Buttons.h" // TButtonLayout, TButtonGroupMember
#include "framework/core/Color.h"
#include "framework/core/EnumNames.h"
#include "framework/runtime/Control.h"
#include "framework/core/Events.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/PixelWord.h"
#include "framework/core/Messages.h"
#include "framework/core/Types.h"
#include "widgets/shinespdbtn/ShineBtnColors.h"
#include "widgets/shinespdbtn/ShineGlyph.h"
#include "widgets/shinespdbtn/ShineState.h"

namespace hx {

class TTimer;

#define HX_FRAMETYPE_VALUES(X) X(ftFlatFrame) X(ftNormalFrame) X(ftEnclosedFrame)
enum TFrameType : unsigned char { HX_FRAMETYPE_VALUES(HX_ENUM_VALUE) };

// The mouse buttons and shift, control and alt keys held now, as the platform reports them.
TShiftState CurrentShiftState();

class TShineSpeedButton : public TGraphicControl, public TButtonGroupMember {
public:
    explicit TShineSpeedButton(TComponent* owner);
    ~TShineSpeedButton() override;
    const char* ClassName() const override { return "TShineSpeedButton"; }

    void Loaded() override;

    // --- Drawing ------------------------------------------------------------------------------
    // Composes the face off-screen (unless Transparent) as background, image and caption,
    // then frame. A disabled control is always drawn disabled.
    void Paint() override;
    void BackDraw(TCanvas* canvas);
    void ImageDraw(TCanvas* canvas);
    void FrameDraw(TCanvas* canvas);
    // The glyph's top-left and the caption's rectangle in control coordinates, the caption
    // measured with the canvas's current font; without the pressed offset.
    void CalcDrawPosition(TCanvas* canvas, TPoint& glyphPos, TRect& textRect);

    // --- Interaction --------------------------------------------------------------------------
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;
    // Raise OnMouseEnter / OnMouseLeave on every call, then start or end the hover look.
    virtual void MouseEnter(TShiftState shift, int x, int y);
    virtual void MouseLeave(TShiftState shift, int x, int y);
    // Brings the hover in line with where the pointer really is.
    void UpdateTracking();
    void Dispatch(TMessage& message) override;

    // --- Published properties --------------------------------------------------------------
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Down() const override { return FDown; }
    void SetDown(bool value);
    bool ClickDownHook() const { return FClickDownHook; }
    void SetClickDownHook(bool value);
    bool AccelCharDown() const { return FAccelCharDown; }
    void SetAccelCharDown(bool value);
    TFrameType FrameType() const { return FFrameType; }
    void SetFrameType(TFrameType value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ActiveFrame() const { return FActiveFrame; }
    void SetActiveFrame(bool value);
    bool UpFrame() const { return FUpFrame; }
    void SetUpFrame(bool value);
    bool DownFrame() const { return FDownFrame; }
    void SetDownFrame(bool value);
    TActiveImageType ActiveImage() const { return FActiveImage; }
    void SetActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return FDisabledImage; }
    void SetDisabledImage(TDisabledImageType value);
    TColor DisabledHighlight() const { return FDisabledHighlight; }
    void SetDisabledHighlight(TColor value);
    TColor DisabledShadow() const { return FDisabledShadow; }
    void SetDisabledShadow(TColor value);
    TShineBtnColors* Colors() const { return FColors.get(); }
    void SetColors(TShineBtnColors* value);
    TShineBtnColors* PressedColors() const { return FPressedColors.get(); }
    void SetPressedColors(TShineBtnColors* value);
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor value);
    // The button's own caption font (the control base's font is neither drawn nor published).
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    TColor FontHighlight() const { return FFontHighlight; }
    void SetFontHighlight(TColor value);
    TColor FontShadow() const { return FFontShadow; }
    void SetFontShadow(TColor value);
    TFont* ActiveFont() const { return FActiveFont.get(); }
    void SetActiveFont(TFont* value);
    bool AllowAllUp() const override { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);

    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;

    // --- Change handlers bound to the owned objects ------------------------------------------
    void GlyphOnChange(TObject* sender);
    void FontsAndColorsOnChange(TObject* sender);

    // --- State --------------------------------------------------------------------------------
    TShineState State() const { return FState; }
    bool MouseInside() const { return FMouseInside; }
    bool Tracking() const { return FTracking; }
    TTimer* ActiveButtonTimer() const { return FActiveButtonTimer; }

    // The image the current state shows, derived from Glyph: a new bitmap the caller frees,
    // transparent in the glyph's bottom-left colour (black for the disabled emboss mask);
    // null when Glyph is empty. Reads the glyph and the properties, changes neither.
    TBitmap* CreateStateGlyph();

    // The poll that ends the hover when no pointer-left notification comes.
    void ActiveButtonTimerOnTimer(TObject* sender);

protected:
    // Stores the group index and tells the siblings of the group (the parent's
    // CM_BUTTONPRESSED broadcast, as every group member does).
    void GroupUpdateStatus(int value);

    void WMLButtonDblClick(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMButtonPressed(TMessage& message);
    void CMSysColorChange(TMessage& message);
    // A linked action's Checked is Down, its GroupIndex the button's.
    std::unique_ptr<TControlActionLink> CreateActionLink() override;

    bool FDown = false;
    TFrameType FFrameType = ftNormalFrame;
    bool FAllowAllUp = false;
    bool FClickDownHook = false;
    bool FAccelCharDown = false;
    int FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FTransparent = false;
    bool FActiveFrame = true;
    bool FUpFrame = true;
    bool FDownFrame = true;
    TActiveImageType FActiveImage = aiFrameLight;
    TDisabledImageType FDisabledImage = diDefault;
    TColor FDisabledShadow = clBtnShadow;
    TColor FDisabledHighlight = clBtnHighlight;
    std::unique_ptr<TShineBtnColors> FColors;
    std::unique_ptr<TShineBtnColors> FPressedColors;
    TColor FShineColor = clYellow;
    std::unique_ptr<TFont> FFont;
    TColor FFontHighlight = clNone;
    TColor FFontShadow = clNone;
    std::unique_ptr<TFont> FActiveFont;
    std::unique_ptr<TBitmap> FGlyph;
    bool FMouseInside = false;
    bool FTracking = false;
    TShineState FState = ssUp;
    TTimer* FActiveButtonTimer = nullptr; // owned as a component, freed first

private:
    template <class V>
    void StoreAndInvalidate(V& field, V value);
    void CopyIntoColorSet(TShineBtnColors& own, TShineBtnColors* value);
    void CopyIntoFont(TFont& own, TFont* value);
    bool IsPressedLook() const { return FState == ssPressed || FState == ssDown; }
    const TShineBtnColors& StateColors() const { return IsPressedLook() ? *FPressedColors : *FColors; }
    bool FrameSwitch() const;
    void DrawEmbossMask(TCanvas* canvas, TBitmap* mask, TPoint p);
    void DrawCaption(TCanvas* canvas, TRect r);
    // Every change of FState goes through here (the table is ShineTransition's); true when
    // the state changed. before is read by HookEnd only.
    bool Go(TShineEvent event, TShineState before = ssUp);
    bool Inside(int x, int y) const;
};

// Declares the published properties of TShineBtnColors and TShineSpeedButton and registers
// the button for form descriptions; later calls do nothing.
void RegisterShinespdbtn();

namespace Shinespdbtn {
// Design time only: lists TShineSpeedButton on the "Hexatint" palette page.
void Register();
} // namespace Shinespdbtn

} // namespace hx
