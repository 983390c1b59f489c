#include "framework/graphics/Pen.h"

#include "framework/core/Exception.h"

namespace hx {

void TPen::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPen::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    if (value < 1)
        value = 1;
    if (value == FWidth)
        return;
    FWidth = value;
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == FMode)
        return;
    FMode = value;
    Changed();
}

void TPen::CopyValuesTo(TPersistent* dest)
{
    auto* pen = dynamic_cast<TPen*>(dest);
    if (!pen) {
        TPersistent::CopyValuesTo(dest);
        return;
    }
    pen->FColor = FColor;
    pen->FStyle = FStyle;
    pen->FWidth = FWidth;
    pen->FMode = FMode;
    pen->Changed();
}

void TPen::CopyValuesFrom(TPersistent* source)
{
    TPersistent::CopyValuesFrom(source);
}

} // namespace hx
