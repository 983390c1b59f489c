#include "framework/core/Color.h"

#include "framework/core/Platform.h"

namespace hx {

TColor GetSysColor(int index)
{
    return Platform().GetSysColor(index);
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(SystemColorIndex(color));
    if (color == clNone)
        return clBlack;
    if (color == clDefault)
        return clWhite;
    return color & 0x00FFFFFF;
}

} // namespace hx
