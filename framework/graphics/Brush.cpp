#include "framework/graphics/Brush.h"

namespace hx {

void TBrush::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBrush::SetColor(TColor value)
{
    if (value == FColor && FStyle == bsSolid)
        return;
    FColor = value;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TBrush::CopyValuesTo(TPersistent* dest)
{
    auto* brush = dynamic_cast<TBrush*>(dest);
    if (!brush) {
        TPersistent::CopyValuesTo(dest);
        return;
    }
    brush->FColor = FColor;
    brush->FStyle = FStyle;
    brush->Changed();
}

void TBrush::CopyValuesFrom(TPersistent* source)
{
    TPersistent::CopyValuesFrom(source);
}

} // namespace hx
