#pragma once
// TShineBtnColors: one face look of the shine button (face, bevel and gradient colours).
#include "framework/core/Color.h"
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

// The colours of one face look. Every real change raises OnChange once.
class TShineBtnColors : public TPersistent {
public:
    TShineBtnColors();
    ~TShineBtnColors() override;
    const char* ClassName() const override { return "TShineBtnColors"; }

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor Highlight() const { return FHighlight; }
    void SetHighlight(TColor value);
    TColor Shadow() const { return FShadow; }
    void SetShadow(TColor value);
    TColor DarkShadow() const { return FDarkShadow; }
    void SetDarkShadow(TColor value);
    TColor GradColor() const { return FGradColor; }
    void SetGradColor(TColor value);
    bool GradVertical() const { return FGradVertical; }
    void SetGradVertical(bool value);
    bool Gradation() const { return FGradation; }
    void SetGradation(bool value);

    // Between two colour sets. Taking values notifies twice (once through the source's
    // CopyValuesTo, once more here), whether or not anything differed. Anything other than
    // a colour set, or null, raises the assignment error and changes nothing.
    void CopyValuesTo(TPersistent* dest) override;
    void CopyValuesFrom(TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    template <class V>
    void Store(V& field, V value);
    void Notify();
    void TakeValues(const TShineBtnColors& source);

    TColor FColor = clBtnFace;
    TColor FHighlight = clBtnHighlight;
    TColor FShadow = clBtnShadow;
    TColor FDarkShadow = clWindowFrame;
    TColor FGradColor = clBlue;
    bool FGradVertical = false;
    bool FGradation = false;
};

} // namespace hx
