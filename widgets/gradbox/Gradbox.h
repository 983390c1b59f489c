#pragma once
// TGradBox: a windowless panel that fills itself with a two-colour linear gradient in one
// of four directions, optionally outlines itself, and draws a caption plainly, greyed
// when disabled, or with a shadow or 3D effect. The main window stands two of them behind
// its swatches as the backdrop.
//
// The gradient comes from a 256-entry colour table kept inside the object and rebuilt at
// every paint, so painting never allocates.
#include <array>
#include <cstdint>

#include "framework/core/EnumNames.h"
#include "framework/core/Color.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/core/Events.h"
#include "framework/core/TypInfo.h"
#include "framework/core/Types.h"

namespace hx {

#define HX_GRADSTYLE_VALUES(X) X(gsTopBottom) X(gsBottomTop) X(gsLeftRight) X(gsRightLeft) X(gsNone)
enum TGradStyle : unsigned char { HX_GRADSTYLE_VALUES(HX_ENUM_VALUE) };
#define HX_FONTSTYLE3D_VALUES(X) X(fsLowShadow) X(fsRaiseShadow) X(fsLow3D) X(fsRaise3D)
enum TFontStyle3D : unsigned char { HX_FONTSTYLE3D_VALUES(HX_ENUM_VALUE) };

const TEnumInfo& GradStyleInfo();   // gsTopBottom … gsNone
const TEnumInfo& FontStyle3DInfo(); // fsLowShadow … fsRaise3D

class TGradBox : public TGraphicControl {
public:
    using TColorTable = std::array<TColor, 256>;

    explicit TGradBox(TComponent* owner);
    const char* ClassName() const override { return "TGradBox"; }

    void Paint() override;
    void Dispatch(TMessage& message) override;

    // Splits a colour into its channels. Only system colours 0..24 are looked up; any
    // other value (a higher system index too) is read from its low three bytes as it is.
    static void GetRGB(TColor color, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);

    // The table the last paint built (entry 0 at the starting edge).
    const TColorTable& ColorTable() const { return FColorTable; }

    // --- Published properties --------------------------------------------------------------
    int CaptionLeft() const { return FCaptionLeft; }
    void SetCaptionLeft(int value);
    int CaptionTop() const { return FCaptionTop; }
    void SetCaptionTop(int value);
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor value);
    TColor LastColor() const { return FLastColor; }
    void SetLastColor(TColor value);
    TColor OutLineColor() const { return FOutLineColor; }
    void SetOutLineColor(TColor value);
    bool DrawOutLine() const { return FDrawOutLine; }
    void SetDrawOutLine(bool value);
    TGradStyle GradStyle() const { return FGradStyle; }
    void SetGradStyle(TGradStyle value);
    bool Font3D() const { return FFont3D; }
    void SetFont3D(bool value);
    std::uint8_t FontDepth() const { return FFontDepth; }
    void SetFontDepth(std::uint8_t value);
    TFontStyle3D Style3D() const { return FStyle3D; }
    void SetStyle3D(TFontStyle3D value);
    TColor BackFont() const { return FBackFont; }
    void SetBackFont(TColor value);
    // Called with the panel as sender at the end of every paint.
    const TNotifyEvent& OnPaint() const { return FOnPaint; }
    void SetOnPaint(const TNotifyEvent& value) { FOnPaint = value; }

protected:
    // Rebuilds the table from TopColor and LastColor for style; gsNone keeps it as it is.
    void SetColarray(TGradStyle style);
    // Draws the caption in a copy of box, with the effect the properties ask for.
    void DrawCaptionText(const TRect& box);
    void CMTextChanged(TMessage& message);

private:
    void FillBands(bool vertical);
    void DrawCaptionOnce(TRect& r);

    int FCaptionLeft = 0;
    int FCaptionTop = 0;
    TColor FBackFont = 0;
    TColor FTopColor = 0;
    TColor FLastColor = 0;
    TColor FOutLineColor = 0;
    bool FFont3D = false;
    bool FDrawOutLine = false;
    std::uint8_t FFontDepth = 0;
    TFontStyle3D FStyle3D = fsLowShadow;
    TNotifyEvent FOnPaint;
    TGradStyle FGradStyle = gsTopBottom;
    TColorTable FColorTable{};
};

// Declares TGradBox's published properties and registers the class, so form descriptions
// can create it. Safe to call more than once.
void RegisterGradbox();

} // namespace hx
