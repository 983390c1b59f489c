#pragma once
// TSizeConstraints: the smallest and largest size a control may take. 0 means no limit.
// The control clamps every bounds change to them (its own, its parent's alignment and
// anchors alike) and applies them again whenever one of them changes.
//
// The four values stay consistent: raising a minimum above its maximum raises the maximum
// with it, lowering a maximum below its minimum lowers the minimum. A negative value is
// refused with EInvalidOperation and nothing changes.
#include "framework/core/Events.h"
#include "framework/core/Object.h"

namespace hx {

class TSizeConstraints : public TPersistent {
public:
    TSizeConstraints() = default;
    const char* ClassName() const override { return "TSizeConstraints"; }

    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int value) { SetLimits(FMinWidth, FMaxWidth, value, true); }
    void SetMinHeight(int value) { SetLimits(FMinHeight, FMaxHeight, value, true); }
    void SetMaxWidth(int value) { SetLimits(FMaxWidth, FMinWidth, value, false); }
    void SetMaxHeight(int value) { SetLimits(FMaxHeight, FMinHeight, value, false); }

    // The size (width, height) brought within the limits.
    int ConstrainWidth(int width) const { return Constrain(width, FMinWidth, FMaxWidth); }
    int ConstrainHeight(int height) const { return Constrain(height, FMinHeight, FMaxHeight); }

    // Raised once per effective change, and once after a copy.
    TNotifyEvent OnChange;

    void CopyValuesTo(TPersistent* dest) override;

private:
    static int Constrain(int value, int least, int most);
    // Stores value into own; other is the opposite limit of the same dimension, moved along
    // where the two would cross.
    void SetLimits(int& own, int& other, int value, bool isMinimum);
    void Changed();

    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};

} // namespace hx
