#include "framework/core/Types.h"

#include <algorithm>

namespace hx {

void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        out = TRect{};
        return false;
    }
    out = r;
    return true;
}

TRect UnionRect(const TRect& a, const TRect& b)
{
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                 std::max(a.Bottom, b.Bottom)};
}

} // namespace hx
