#pragma once
// TGlowFadeButton: a flat coloured button with a border and a centred caption. While the
// pointer is over it, its own timer steps the face from Color towards DestColor and the
// border from BorderColor towards BorderDestColor, Step channel units per tick; when the
// pointer leaves, the same timer steps them back. The caption switches to CaptionOverColor
// at the first pointer move and back at the leave.
#include <string>

#include "framework/core/Color.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/core/Events.h"
#include "framework/core/Messages.h"
#include "framework/services/Timer.h"

namespace hx {

using TCaption = std::string;

// Where the hover fade stands (the table is beside MouseMove).
enum class TFadePhase : unsigned char { Idle, FadingIn, Over, FadingOut };

class TGlowFadeButton : public TGraphicControl {
public:
    explicit TGlowFadeButton(TComponent* owner);
    ~TGlowFadeButton() override;
    const char* ClassName() const override { return "TGlowFadeButton"; }

    void Paint() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    // The pointer-left notification; replaces the framework's default (telling the parent).
    void MouseLeave(TMessage& message);
    // One fade tick (the timer's OnTimer).
    void Animate(TObject* sender);
    // Clamps three channel sums, packs them and, unless noStop, stops the fade timer when
    // the result has reached either end of the pair.
    TColor ERGB(int red, int green, int blue, bool rangeClamp, bool noStop, TColor fromColor, TColor toColor);

    void Dispatch(TMessage& message) override;
    // A push button named by its own caption, described by its hint.
    TAccessibleInfo AccessibleInfo() const override;

    // --- Published properties -----------------------------------------------------------
    // The button's own face colour and caption: not the framework control's.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const TCaption& Caption() const { return FCaption; }
    void SetCaption(const TCaption& value);
    TColor DestColor() const { return FDestColor; }
    void SetDestColor(TColor value) { FDestColor = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor BorderDestColor() const { return FBorderDestColor; }
    void SetBorderDestColor(TColor value) { FBorderDestColor = value; }
    TColor CaptionOverColor() const { return FCaptionOverColor; }
    void SetCaptionOverColor(TColor value) { FCaptionOverColor = value; }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool value);
    int BorderHeight() const { return FBorderHeight; }
    void SetBorderHeight(int value);
    bool FadeOnOver() const { return FFadeOnOver; }
    void SetFadeOnOver(bool value) { FFadeOnOver = value; }
    bool FadeOnLeave() const { return FFadeOnLeave; }
    void SetFadeOnLeave(bool value) { FFadeOnLeave = value; }
    int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    int Speed() const { return FSpeed; }
    void SetSpeed(int value);

    // Called after the button has handled a pointer leave.
    TNotifyEvent onMouseLeave;

    // --- Fade state (read-only) ----------------------------------------------------------
    TColor CurrentColor() const { return FCurrentColor; }
    TColor CurrentBorderColor() const { return FCurrentBorderColor; }
    TTimer* FadeTimer() const { return FFadeTimer; }
    int FadeDelta() const { return FFadeDelta; }
    TFadePhase FadePhase() const;
    TColor NormalCaptionColor() const { return FNormalCaptionColor; }

private:
    // One channel step of a pair: moves current towards the far end by delta.
    TColor StepPair(TColor current, TColor fromColor, TColor toColor, bool noStop);
    void RestoreCaptionColor();

    TCaption FCaption;
    bool FShowBorder = false;
    bool FFadeOnOver = false;
    TColor FDestColor = 0;
    TColor FCaptionOverColor = 0;
    TColor FBorderColor = 0;
    TColor FBorderDestColor = 0;
    TColor FCurrentBorderColor = 0;
    TColor FCurrentColor = 0;
    TTimer* FFadeTimer = nullptr; // owned (as a component) and freed first
    int FFadeDelta = 0;
    bool FHovered = false; // a move came over the button and no leave since
    int FStep = 0;
    TColor FColor = 0;
    TColor FNormalCaptionColor = 0;
    bool FCaptionColorSaved = false;
    int FBorderHeight = 0;
    bool FFadeOnLeave = false;
    int FSpeed = 0;
};

// Declares the published-property table of TGlowFadeButton and registers the class so that
// form descriptions can create it. Safe to call more than once.
void RegisterGlowfadebutton();

} // namespace hx
