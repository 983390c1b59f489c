#pragma once
// TSpeedButton: the framework's windowless push and toggle button, with an optional glyph
// beside its caption.
//
// Button groups: buttons of one parent with the same non-zero GroupIndex form a group in
// which at most one is down. A member that goes down (or changes its group or its AllowAllUp)
// tells the others through its parent's CM_BUTTONPRESSED broadcast:
//   WParam = the group index, LParam = the sender as a TButtonGroupMember*, Result = 0.
// A receiver of the same group that is down comes up when the sender is down, and every
// receiver takes the sender's AllowAllUp, so a group shares one value. Any control takes
// part by implementing TButtonGroupMember.
#include <memory>
#include <string>

#include "framework/core/EnumNames.h"
#include "framework/runtime/GraphicControl.h"

namespace hx {

class TBitmap;

class TWinControl;

// One member of a button group, as the others see it during the broadcast.
class TButtonGroupMember {
public:
    virtual bool Down() const = 0;
    virtual bool AllowAllUp() const = 0;

    // The broadcast's LParam for a member, and the member it names (null for none).
    static LPARAM AsParam(const TButtonGroupMember* member) { return reinterpret_cast<LPARAM>(member); }
    static const TButtonGroupMember* FromParam(LPARAM param)
    {
        return reinterpret_cast<const TButtonGroupMember*>(param);
    }

protected:
    ~TButtonGroupMember() = default;
    // Tells the other members of group groupIndex among parent's children about this one.
    void TellGroup(TWinControl& parent, int groupIndex) const;
    // The sender of a broadcast that concerns this member of group groupIndex: another
    // member of the same group; null for any other message, group or sender.
    const TButtonGroupMember* GroupSender(const TMessage& message, int groupIndex) const;
};

// Where the glyph sits relative to the caption.
// The value list names the values for form descriptions (EnumNames.h).
#define HX_BUTTONLAYOUT_VALUES(X) X(blGlyphLeft) X(blGlyphRight) X(blGlyphTop) X(blGlyphBottom)
enum TButtonLayout : unsigned char { HX_BUTTONLAYOUT_VALUES(HX_ENUM_VALUE) };

// Where a button face's glyph (null or empty for none) and caption go in a client area of
// clientWidth × clientHeight, the caption measured with the canvas's current font: glyph and
// caption follow each other along the layout's axis in a content box (spacing between them
// only when both are there), each centred across it; the box is placed margin from the
// glyph's edge, or centred both ways for a negative margin. Every halving truncates toward
// zero, so an oversized box centres evenly (−5 gives −2).
void CalcButtonLayout(TCanvas* canvas, const TBitmap* glyph, const std::string& caption, TButtonLayout layout,
                      int margin, int spacing, int clientWidth, int clientHeight, TPoint& glyphPos,
                      TRect& textRect);

// What the button shows: bsDown is the momentary press, bsExclusive the latched Down.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl, public TButtonGroupMember {
public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;
    const char* ClassName() const override { return "TSpeedButton"; }

    // 0: a plain push button that never stays down; setting 0 raises a down button.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // Whether the down button of the group may be raised by clicking it (or SetDown(false)).
    bool AllowAllUp() const override { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    // Latched down. Going down raises the group's other down button; requests the group
    // rules forbid (no group, raising without AllowAllUp) are ignored.
    bool Down() const override { return FDown; }
    void SetDown(bool value);
    // A flat button shows its frame only while the pointer is over it or it is down.
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);

    // Owned; SetGlyph copies the image. Drawn with its bottom-left pixel's colour see-through.
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // Gap between the edge on the glyph's side and the content; negative centres both ways.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    // Gap between glyph and caption (only when both are there).
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

    TButtonState State() const { return FState; }

    // Where the glyph's top-left and the caption's rectangle go, in control coordinates,
    // for an unpressed button; the caption is measured with canvas's current font. Under
    // bdRightToLeft the layout is mirrored: a left glyph sits on the right, its margin
    // counted from the right edge.
    void CalcDrawPosition(TCanvas* canvas, TPoint& glyphPos, TRect& textRect) const;

    void Paint() override;
    void Dispatch(TMessage& message) override;

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    // Tells the siblings of the group about this button (see the header comment).
    void UpdateExclusive();
    void CMButtonPressed(TMessage& message);
    void CMDialogChar(TMessage& message);
    // The action's Checked is Down, its GroupIndex the button's.
    std::unique_ptr<TControlActionLink> CreateActionLink() override;
    void CMEnabledChanged(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void WMLButtonDblClk(TMessage& message);

private:
    void GlyphChanged(TObject* sender);
    // The resting state: latched, up or disabled.
    TButtonState RestingState() const;
    void SetState(TButtonState value);
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }
    void DrawFrame(TCanvas* canvas) const;
    void DrawGlyph(TCanvas* canvas, TPoint at) const;
    void DrawCaption(TCanvas* canvas, TRect r) const;

    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FFlat = false;
    std::unique_ptr<TBitmap> FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TButtonState FState = bsUp;
    bool FDragging = false;    // a left press is being tracked
    bool FMouseInside = false; // for the flat button's hover frame
};

} // namespace hx
